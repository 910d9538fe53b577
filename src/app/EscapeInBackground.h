#pragma once
// The save's conversion to the stored form, run beside the window so that it keeps painting: a
// conversion that takes more than a moment shows a busy dialog whose "取消" stops it.

#include "document/DefineEscaping.h"

#include <chrono>
#include <memory>

namespace platform {
class IPrompt;
}

// How long a conversion runs before the busy dialog appears.
inline constexpr std::chrono::milliseconds kBusyAfter{1000};

// Escapes the text with the rules (none given: the rule file read now) on a worker thread; the
// user's input to the windows waits until the busy dialog appears. A cancelled outcome has
// `cancelled` set.
EscapeOutcome escapeInBackground(const QString &readable, platform::IPrompt &prompt,
                                 std::chrono::milliseconds busyAfter = kBusyAfter,
                                 std::shared_ptr<const KeyWordRules> rules = nullptr);
