// The demo window: one colour box, a chooser for its palette mode, the PopupEnabled switch and a
// line that shows the last event with the selected colour.
#pragma once

#include <QWidget>

class MireloColorBox;
class QCheckBox;
class QComboBox;
class QLabel;

class ColorBoxDemo : public QWidget {
    Q_OBJECT
public:
    explicit ColorBoxDemo(QWidget *parent = nullptr);

private:
    void report(const QString &event, const QString &detail = {});

    MireloColorBox *m_box;
    QComboBox *m_palette;
    QCheckBox *m_popupEnabled;
    QLabel *m_lastEvent;
};
