#include "hooks/HookError.h"

#include "platform/ProgramFolder.h"

namespace {
QString describe(int number)
{
    switch (number) {
    case kErrCantSubclass: return QStringLiteral("Can't subclass window");
    case kErrAlreadyHandled: return QStringLiteral("Message already handled by another class");
    case kErrInvalidWindow: return QStringLiteral("Invalid window");
    case kErrExternalWindow: return QStringLiteral("Can't modify external window");
    default: return QStringLiteral("Invalid procedure call or argument");
    }
}
} // namespace

HookError::HookError(int number)
    : std::runtime_error(describe(number).toStdString()),
      m_number(number),
      m_errorCode(number > 1000 ? kApplicationErrorBase + number : number),
      m_source(number > 1000 ? platform::executableName() + QStringLiteral(".WindowProc") : platform::executableName()),
      m_description(describe(number))
{
}
