#include "controls/MireloTimer.h"

MireloTimer::MireloTimer(QObject *parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &MireloTimer::OnTimer);
}

MireloTimer::~MireloTimer() { setEnabled(false); }

void MireloTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    restart();
}

void MireloTimer::setInterval(int milliseconds)
{
    if (milliseconds < 1) {
        m_interval = 0;
        setEnabled(false);
        return;
    }
    m_interval = milliseconds;
    restart();
}

void MireloTimer::setName(const QString &name)
{
    if (!name.isEmpty())
        m_name = name;
}

void MireloTimer::restart()
{
    m_timer.stop();
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
}
