// A named interval timer with the picker's vocabulary. It runs on the event loop's timer, so
// enabling it returns at once; OnTimer fires every Interval milliseconds while Enabled.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class MireloTimer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
    Q_PROPERTY(QString Name READ Name WRITE setName)

public:
    static constexpr int kDefaultInterval = 400;

    explicit MireloTimer(QObject *parent = nullptr);
    ~MireloTimer() override;

    bool Enabled() const { return m_enabled; }
    // Restarts the interval. An enabled timer with an interval of 0 stays quiet.
    void setEnabled(bool enabled);
    int Interval() const { return m_interval; }
    // Below 1 sets 0 and disables the timer; otherwise stores the value and restarts the interval.
    void setInterval(int milliseconds);
    QString Name() const { return m_name; }
    // An empty name is ignored.
    void setName(const QString &name);

signals:
    void OnTimer();

private:
    void restart();

    bool m_enabled = false;
    int m_interval = kDefaultInterval;
    QString m_name = QStringLiteral("HoverTimer");
    QTimer m_timer;
};
