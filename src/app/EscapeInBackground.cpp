#include "app/EscapeInBackground.h"

#include "platform/Prompt.h"

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <memory>
#include <optional>
#include <new>
#include <thread>

EscapeOutcome escapeInBackground(const QString &readable, platform::IPrompt &prompt,
                                 std::chrono::milliseconds busyAfter, std::shared_ptr<const KeyWordRules> rules)
{
    if (!rules)
        rules = std::make_shared<const KeyWordRules>(KeyWordRules::fromProgramFolder());
    std::atomic<bool> cancel{false};
    std::optional<EscapeOutcome> outcome;
    QEventLoop loop;
    std::thread worker([&readable, &rules, &cancel, &outcome, &loop] {
        EscapeOutcome done;
        try {
            done = EscapeDefineText(readable, *rules,
                                    RuleLimits::forConversion(readable, &cancel));
        } catch (const std::bad_alloc &) {
            // An exception must not leave the thread: the process, and the user's text, would end.
            done.error = QStringLiteral("内存不足,无法转换文本。");
        }
        // Handed over on the window's thread, where the loop below reads it.
        QMetaObject::invokeMethod(
            &loop, [&outcome, done = std::move(done)]() mutable { outcome = std::move(done); }, Qt::QueuedConnection);
    });

    std::unique_ptr<platform::IBusy> busy;
    QTimer showBusy;
    showBusy.setSingleShot(true);
    QObject::connect(&showBusy, &QTimer::timeout, &loop, [&] {
        busy = prompt.showBusy(platform::appTitle(), QStringLiteral("正在转换文本,请稍候…"));
    });
    showBusy.start(busyAfter);
    // The dialog's button is read often enough to feel immediate.
    QTimer pollCancel;
    QObject::connect(&pollCancel, &QTimer::timeout, &loop, [&] {
        if (busy && busy->cancelRequested())
            cancel = true;
    });
    pollCancel.start(50);

    while (!outcome) {
        // Until the dialog shows, typing would change the text being saved: it waits.
        const auto flags = busy ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
        loop.processEvents(flags | QEventLoop::WaitForMoreEvents);
    }
    worker.join();
    return std::move(*outcome);
}
