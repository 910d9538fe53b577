// The picker's pop-up: a frameless top-level tool window that draws the box's entries and hands
// its mouse events (grabbed while it is open) back to the box.
#pragma once

#include <QWidget>

class MireloColorBox;

class MireloColorPopup : public QWidget {
    Q_OBJECT
public:
    explicit MireloColorPopup(MireloColorBox &box);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    MireloColorBox &m_box;
};
