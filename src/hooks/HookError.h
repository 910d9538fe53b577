#pragma once
// The numbered errors that registering with the message hook raises.

#include <QString>
#include <stdexcept>

constexpr int kErrCantSubclass = 13081;
constexpr int kErrAlreadyHandled = 13082;
constexpr int kErrInvalidWindow = 13083;
constexpr int kErrExternalWindow = 13084;
constexpr int kErrInvalidArgument = 5;
constexpr long kApplicationErrorBase = 0x80040000L;

class HookError : public std::runtime_error {
public:
    explicit HookError(int number);

    int number() const { return m_number; }         // 13081..13084 or 5
    long errorCode() const { return m_errorCode; }  // as raised: application errors carry the base
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }

private:
    int m_number;
    long m_errorCode;
    QString m_source;
    QString m_description;
};
