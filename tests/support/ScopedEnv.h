#pragma once
// Sets (or, given nullptr, removes) an environment variable for one scope and puts back what was
// there when the scope ends, even when a failed assertion leaves the test early.

#include <QByteArray>
#include <QtGlobal>

class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        value ? qputenv(name, value) : qunsetenv(name);
    }
    ScopedEnv(const char *name, const QByteArray &value) : ScopedEnv(name, value.constData()) {}
    ~ScopedEnv() { m_wasSet ? qputenv(m_name, m_old) : qunsetenv(m_name); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    bool m_wasSet;
    QByteArray m_old;
};
