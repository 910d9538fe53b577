// A drop-down colour picker: a closed box showing the selected colour and its name, and a pop-up
// grid of named colours generated from the palette mode's tables. Colours are colour values
// (0x00BBGGRR; 0x800000nn names a system colour).
#pragma once

#include "controls/ColorPalette.h"
#include "controls/MireloTimer.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>
#include <memory>
#include <vector>

class MireloColorPopup;

class MireloColorBox : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("Palette", "Sets/Returns the palette mode, which determines the no of hue, luminescence and "
                           "saturation combinations")
    // The platform's properties by their names; Designer shows Qt's own font and enabled rows and
    // the colours as colours (the Q-named rows) instead of the integer colour values.
    Q_PROPERTY(QFont Font READ font WRITE setFont DESIGNABLE false)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor DESIGNABLE false)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor DESIGNABLE false)
    Q_PROPERTY(int Palette READ Palette WRITE setPaletteMode)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled DESIGNABLE false)
    Q_PROPERTY(bool PopupEnabled READ PopupEnabled WRITE setPopupEnabled)
    Q_PROPERTY(uint SelectedColor READ SelectedColor WRITE setSelectedColor DESIGNABLE false)
    Q_PROPERTY(QColor BackQColor READ BackQColor WRITE setBackQColor)
    Q_PROPERTY(QColor ForeQColor READ ForeQColor WRITE setForeQColor)
    Q_PROPERTY(QColor SelectedQColor READ SelectedQColor WRITE setSelectedQColor)
    Q_PROPERTY(uint ActiveColor READ ActiveColor DESIGNABLE false STORED false)
    Q_PROPERTY(QString ActiveText READ ActiveText DESIGNABLE false STORED false)
    Q_PROPERTY(QString Text READ Text DESIGNABLE false STORED false)

public:
    static constexpr ColorValue kDefaultBackColor = 0x80000005u;
    static constexpr ColorValue kDefaultForeColor = 0x80000012u;

    explicit MireloColorBox(QWidget *parent = nullptr);
    ~MireloColorBox() override;

    ColorValue BackColor() const { return m_backColor; }
    void setBackColor(ColorValue colour);
    ColorValue ForeColor() const { return m_foreColor; }
    void setForeColor(ColorValue colour);
    int Palette() const { return m_mode; }
    // A mode outside 0-11 is refused: the palette stays as it was.
    void setPaletteMode(int mode);
    // Forms compiled from Designer set the Palette property through setPalette(int); Qt's own
    // setPalette stays visible beside it, and a Qt::GlobalColor still means a QPalette.
    using QWidget::setPalette;
    void setPalette(int mode) { setPaletteMode(mode); }
    void setPalette(Qt::GlobalColor button) { QWidget::setPalette(QPalette(button)); }
    bool PopupEnabled() const { return m_popupEnabled; }
    void setPopupEnabled(bool enabled);
    ColorValue SelectedColor() const { return m_selectedColor; }
    // Does not raise Click; the name comes from the palette entry of that colour, if any.
    void setSelectedColor(ColorValue colour);

    // The colours as QColor, for Designer: system colours read as what they show; a colour set
    // this way is a plain colour value.
    QColor BackQColor() const;
    void setBackQColor(const QColor &colour);
    QColor ForeQColor() const;
    void setForeQColor(const QColor &colour);
    QColor SelectedQColor() const;
    void setSelectedQColor(const QColor &colour);

    ColorValue ActiveColor() const;
    QString ActiveText() const;
    QString Text() const { return m_selectedName; }

    Q_INVOKABLE void Refresh();
    Q_INVOKABLE void PaintMain();

    // For hosts and tests: the pop-up, its entries with their cells (pop-up coordinates).
    bool isPopupOpen() const;
    QWidget *popupWidget() const;
    const std::vector<PaletteEntry> &entries() const { return m_entries; }
    const std::vector<PaletteEntry> &luminanceStrip() const { return m_strip; }
    MireloTimer &hoverTimer() { return m_hoverTimer; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Click();
    void Change(uint activeColor);
    void DblClick();
    void Popup();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    friend class MireloColorPopup;
    struct EntryRef {
        enum Where { None, Grid, Strip } where = None;
        int index = -1;
        friend bool operator==(const EntryRef &, const EntryRef &) = default;
    };

    void clickBox();
    void openPopup();
    void closePopup();
    void buildPalette();
    void findSelectedEntry();
    void selectEntry(const PaletteEntry &entry);
    void rebuildStrip(const PaletteEntry &around);
    const PaletteEntry *entry(const EntryRef &ref) const;
    EntryRef entryAt(const QPoint &popupPoint) const;
    void onHoverTick();

    // Mouse in the pop-up, in its coordinates.
    void popupPressed(const QPoint &point);
    void popupReleased(const QPoint &point);

    int m_mode = 0;
    ColorValue m_backColor = kDefaultBackColor;
    ColorValue m_foreColor = kDefaultForeColor;
    bool m_popupEnabled = true;
    ColorValue m_selectedColor = 0;
    QString m_selectedName;
    std::vector<PaletteEntry> m_entries;
    std::vector<PaletteEntry> m_strip;
    EntryRef m_active;
    bool m_pressedInBox = false;
    MireloTimer m_hoverTimer;
    std::unique_ptr<MireloColorPopup> m_popup;
};
