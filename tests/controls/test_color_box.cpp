#include "controls/MireloColorBox.h"
#include "ui_ColorBoxForm.h"

#include <QApplication>
#include <QAction>
#include <QDialog>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct ColorBox : testing::Test {
    std::unique_ptr<QWidget> host;
    MireloColorBox *box = nullptr;

    void SetUp() override { makeHost(QPoint(100, 100)); }

    void makeHost(const QPoint &at, const QSize &hostSize = QSize(200, 60))
    {
        host = std::make_unique<QWidget>();
        host->setWindowFlags(Qt::FramelessWindowHint);
        host->setGeometry(QRect(at, hostSize));
        box = new MireloColorBox(host.get());
        box->setGeometry(0, hostSize.height() - 24, 140, 24);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        box->setFocus();
    }
    QWidget *popup() const { return box->popupWidget(); }
    QRect boxOnScreen() const { return QRect(box->mapToGlobal(QPoint(0, 0)), box->size()); }
    // Mouse events straight to the pop-up, as its grab delivers them.
    void mouse(QEvent::Type type, const QPoint &at, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(at), QPointF(popup()->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(popup(), &e);
    }
    void press(const QPoint &at) { mouse(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void drag(const QPoint &at) { mouse(QEvent::MouseMove, at, Qt::LeftButton); }
    void release(const QPoint &at) { mouse(QEvent::MouseButtonRelease, at, Qt::NoButton); }
    PaletteEntry entryOf(const QString &name) const
    {
        for (const PaletteEntry &e : box->entries())
            if (e.Name == name)
                return e;
        ADD_FAILURE() << "no entry " << name.toStdString();
        return {};
    }
    QPoint cellOf(const QString &name) const { return entryOf(name).Cell.center(); }
    void openByClick()
    {
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(box->isPopupOpen());
    }
    // Another host window for a box of its own: shown, active, and the box opened from the keyboard.
    void openWithSpace(QWidget &top, MireloColorBox *inside)
    {
        host.reset();
        top.show();
        QApplication::setActiveWindow(&top);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&top));
        inside->setFocus();
        QTest::keyClick(inside, Qt::Key_Space);
        ASSERT_TRUE(inside->isPopupOpen());
    }
};

TEST_F(ColorBox, ClickOpensBelowAndClickClosesAgain)
{
    openByClick();
    EXPECT_EQ(popup()->geometry().topLeft(), boxOnScreen().bottomLeft() + QPoint(0, 1));
    EXPECT_EQ(popup()->size(), QSize(156, 48));
    EXPECT_TRUE(popup()->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(popup()->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(popup()->parentWidget(), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), popup());
    EXPECT_TRUE(box->hoverTimer().Enabled());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(box->isPopupOpen());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_FALSE(box->hoverTimer().Enabled());

    // A press on the box while the pop-up holds the grab reaches the pop-up, which closes; the
    // release left over reaches the box and must not open it again.
    openByClick();
    press(popup()->mapFromGlobal(boxOnScreen().center()));
    EXPECT_FALSE(box->isPopupOpen());
    QTest::mouseRelease(box, Qt::LeftButton);
    EXPECT_FALSE(box->isPopupOpen()) << "the release left over from the closing press does not reopen it";
}

struct SpaceRow {
    const char *name;
    Qt::KeyboardModifiers modifiers;
    bool toggles;
};

const SpaceRow kSpaces[] = {
    {"Plain", Qt::NoModifier, true},
    {"Shift", Qt::ShiftModifier, false},
    {"Control", Qt::ControlModifier, false},
    {"Alt", Qt::AltModifier, false},
    {"KeypadStillPlain", Qt::KeypadModifier, true},
};

struct Space : ColorBox, testing::WithParamInterface<SpaceRow> {};

TEST_P(Space, ActsLikeAClickOnlyWithoutModifiers)
{
    QTest::keyClick(box, Qt::Key_Space, GetParam().modifiers);
    EXPECT_EQ(box->isPopupOpen(), GetParam().toggles);
    QTest::keyClick(box, Qt::Key_Space, GetParam().modifiers);
    EXPECT_FALSE(box->isPopupOpen());
}

INSTANTIATE_TEST_SUITE_P(Modifiers, Space, testing::ValuesIn(kSpaces),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ColorBox, EscapeInsideADialogClosesOnlyThePopup)
{
    QDialog dialog;
    (new QPushButton(QStringLiteral("取消"), &dialog))->setGeometry(150, 0, 60, 24);
    auto *inDialog = new MireloColorBox(&dialog);
    inDialog->setGeometry(0, 0, 140, 24);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    openWithSpace(dialog, inDialog);
    QTest::keyClick(inDialog, Qt::Key_Escape);
    EXPECT_FALSE(inDialog->isPopupOpen());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(rejected.count(), 0);
    // With the pop-up closed, Escape belongs to the dialog again.
    QTest::keyClick(inDialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(rejected.count(), 1);
}

// Hosts that bind Escape as a shortcut: while the pop-up is open Escape closes only the pop-up.
TEST_F(ColorBox, EscapeShortcutOfAMainWindowWaitsWhileThePopupIsOpen)
{
    QMainWindow window;
    auto *inWindow = new MireloColorBox(&window);
    window.setCentralWidget(inWindow);
    QAction *close = window.addAction(QStringLiteral("关闭"));
    close->setShortcut(Qt::Key_Escape);
    QObject::connect(close, &QAction::triggered, &window, &QWidget::close);
    openWithSpace(window, inWindow);
    QTest::keyClick(inWindow, Qt::Key_Escape);
    EXPECT_FALSE(inWindow->isPopupOpen());
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(inWindow, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ColorBox, CancelButtonBoundToEscapeAndTabAway)
{
    QDialog dialog;
    auto *inDialog = new MireloColorBox(&dialog);
    inDialog->setGeometry(0, 0, 140, 24);
    auto *cancel = new QPushButton(QStringLiteral("取消"), &dialog);
    cancel->setGeometry(150, 0, 60, 24);
    cancel->setShortcut(Qt::Key_Escape);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    openWithSpace(dialog, inDialog);
    QTest::keyClick(inDialog, Qt::Key_Escape);
    EXPECT_FALSE(inDialog->isPopupOpen());
    EXPECT_TRUE(dialog.isVisible());
    // A button's shortcut presses it at once and clicks it a moment later.
    EXPECT_FALSE(cancel->isDown());
    EXPECT_EQ(rejected.count(), 0);

    // Tab takes the focus away: the pop-up closes and lets the mouse go.
    QTest::keyClick(inDialog, Qt::Key_Space);
    ASSERT_TRUE(inDialog->isPopupOpen());
    QTest::keyClick(inDialog, Qt::Key_Tab);
    EXPECT_FALSE(inDialog->hasFocus());
    EXPECT_FALSE(inDialog->isPopupOpen());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(rejected.count(), 0);
    QTest::keyClick(cancel, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rejected.count() == 1; }, 5000));
}

TEST_F(ColorBox, QtPaletteAndDesignerColoursBesideTheModeAndTheColourValues)
{
    box->setPaletteMode(3);
    QPalette red = box->palette();
    red.setColor(QPalette::Window, Qt::red);
    box->setPalette(red);
    EXPECT_EQ(box->palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_EQ(box->Palette(), 3);
    box->setPalette(5); // as a form compiled from Designer sets the Palette property
    EXPECT_EQ(box->Palette(), 5);
    box->setPalette(Qt::green);
    EXPECT_EQ(box->Palette(), 5);
    EXPECT_EQ(box->palette().color(QPalette::Button), QColor(Qt::green));

    EXPECT_EQ(box->property("BackQColor").value<QColor>(), box->palette().color(QPalette::Active, QPalette::Base));
    EXPECT_TRUE(box->setProperty("BackQColor", QColor(1, 2, 3)));
    EXPECT_EQ(box->BackColor(), 0x030201u);
    EXPECT_TRUE(box->setProperty("SelectedQColor", QColor(0, 0, 128)));
    EXPECT_EQ(box->SelectedColor(), 0x800000u);
    EXPECT_EQ(box->Text(), QStringLiteral("Dark Blue"));
    box->setForeColor(0x00FF00u);
    EXPECT_EQ(box->ForeQColor(), QColor(0, 255, 0));
}

TEST(ColorBoxForm, DesignerFormSetsQtsPaletteAndTheMode)
{
    QWidget form;
    Ui::ColorBoxForm ui;
    ui.setupUi(&form);
    EXPECT_EQ(ui.box->palette().color(QPalette::Active, QPalette::Window), QColor(Qt::red));
    EXPECT_EQ(ui.box->Palette(), 5);
    EXPECT_FALSE(ui.box->PopupEnabled());
    EXPECT_EQ(ui.box->BackColor(), 0x030201u);
    EXPECT_EQ(ui.box->SelectedColor(), 0x0000FFu);
    EXPECT_EQ(ui.box->Text(), QStringLiteral("Red"));
}

TEST_F(ColorBox, NameOfAStripColourStays)
{
    box->setPaletteMode(9);
    openByClick();
    press(cellOf(QStringLiteral("Lavender")));
    const PaletteEntry deep = box->luminanceStrip()[5];
    ASSERT_EQ(deep.Name, QStringLiteral("Deep Lavender"));
    drag(deep.Cell.center());
    release(deep.Cell.center());
    ASSERT_EQ(box->Text(), QStringLiteral("Deep Lavender"));
    EXPECT_EQ(box->SelectedColor(), deep.Color);
    // The host writes the colour back, the palette is built again, the strip moves on.
    box->setSelectedColor(box->SelectedColor());
    EXPECT_EQ(box->Text(), QStringLiteral("Deep Lavender"));
    box->setPaletteMode(9);
    EXPECT_EQ(box->Text(), QStringLiteral("Deep Lavender"));
    openByClick();
    press(cellOf(QStringLiteral("Red")));
    emit box->hoverTimer().OnTimer();
    release(QPoint(-5, -5));
    EXPECT_EQ(box->Text(), QStringLiteral("Deep Lavender"));
    // A strip shade set from outside is named too.
    MireloColorBox other(host.get());
    other.setPaletteMode(9);
    other.setSelectedColor(deep.Color);
    EXPECT_EQ(other.Text(), QStringLiteral("Deep Lavender"));
}

TEST_F(ColorBox, PressDragReleaseSelectsTheEntryUnderThePointer)
{
    QSignalSpy clicks(box, &MireloColorBox::Click);
    QSignalSpy changes(box, &MireloColorBox::Change);
    const PaletteEntry green = entryOf(QStringLiteral("Dark Green"));
    openByClick();
    press(cellOf(QStringLiteral("Red")));
    EXPECT_EQ(box->ActiveText(), QStringLiteral("Red"));
    drag(green.Cell.center() + QPoint(1, 1));
    drag(green.Cell.center());
    EXPECT_EQ(box->ActiveText(), QStringLiteral("Dark Green"));
    ASSERT_EQ(changes.count(), 2) << "a second move over the same cell is not a change";
    EXPECT_EQ(changes.at(0).at(0).toUInt(), 0x0000FFu);
    EXPECT_EQ(changes.at(1).at(0).toUInt(), green.Color);
    EXPECT_EQ(box->ActiveColor(), green.Color);
    release(green.Cell.center());
    EXPECT_FALSE(box->isPopupOpen());
    EXPECT_EQ(box->Text(), QStringLiteral("Dark Green"));
    EXPECT_EQ(box->SelectedColor(), green.Color);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ColorBox, NoClickUnlessTheColourChanges)
{
    QSignalSpy clicks(box, &MireloColorBox::Click);
    openByClick();
    press(cellOf(QStringLiteral("Black")));
    release(cellOf(QStringLiteral("Black")));
    EXPECT_FALSE(box->isPopupOpen()) << "black was already selected";
    openByClick();
    press(cellOf(QStringLiteral("Blue")));
    drag(QPoint(2, 2));
    release(QPoint(2, 2));
    EXPECT_FALSE(box->isPopupOpen()) << "released in the margin";
    openByClick();
    press(QPoint(-5, popup()->height() + 3));
    EXPECT_FALSE(box->isPopupOpen()) << "pressed outside";
    EXPECT_EQ(box->Text(), QStringLiteral("Black"));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ColorBox, PopupRaisedWhenPopupIsDisabled)
{
    QSignalSpy popups(box, &MireloColorBox::Popup);
    openByClick();
    box->setPopupEnabled(false);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isPopupOpen()) << "the click closes an open pop-up";
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(box->isPopupOpen());
    EXPECT_EQ(popups.count(), 2);
}

TEST_F(ColorBox, DoubleClickRaisesDblClick)
{
    // Without the pop-up, whose grab would take the second press.
    box->setPopupEnabled(false);
    QSignalSpy doubles(box, &MireloColorBox::DblClick);
    QTest::mouseDClick(box, Qt::LeftButton);
    EXPECT_EQ(doubles.count(), 1);
}

TEST_F(ColorBox, PaletteOutOfRangeIsRefused)
{
    box->setPaletteMode(3);
    for (int bad : {-1, 12, 32767, -32768}) {
        box->setProperty("Palette", bad);
        EXPECT_EQ(box->Palette(), 3) << bad;
        EXPECT_EQ(box->entries().size(), 128u) << bad;
    }
}

TEST_F(ColorBox, SystemColoursAreAcceptedAtTheInterface)
{
    box->setProperty("BackColor", 0x8000000Fu);
    box->setProperty("ForeColor", 0x80FFFFFFu);
    box->setProperty("SelectedColor", 0x80000008u);
    EXPECT_EQ(box->BackColor(), 0x8000000Fu);
    EXPECT_EQ(box->ForeColor(), 0x80FFFFFFu);
    EXPECT_EQ(box->SelectedColor(), 0x80000008u);
    EXPECT_EQ(box->Text(), QString());
    box->grab();
    QSignalSpy clicks(box, &MireloColorBox::Click);
    openByClick();
    press(cellOf(QStringLiteral("Black")));
    release(cellOf(QStringLiteral("Black")));
    EXPECT_EQ(box->SelectedColor(), 0u);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ColorBox, PaletteChangeResizesThePopupAndRenamesTheSelection)
{
    box->setSelectedColor(0x808080);
    EXPECT_EQ(box->Text(), QStringLiteral("Grey"));
    box->setPaletteMode(6);
    EXPECT_EQ(box->Text(), QString()) << "no grey in mode 6";
    EXPECT_EQ(box->SelectedColor(), 0x808080u);
    EXPECT_EQ(popup()->size(), QSize(63, 133));
    box->setPaletteMode(2);
    EXPECT_EQ(box->Text(), QStringLiteral("Grey"));
}

TEST_F(ColorBox, StripFollowsThePressedHueAndTheHoverTick)
{
    box->setPaletteMode(9);
    openByClick();
    ASSERT_EQ(box->luminanceStrip().size(), 8u);
    EXPECT_EQ(box->luminanceStrip().front().Name, QStringLiteral("Faint Red"));
    press(cellOf(QStringLiteral("Lavender")));
    EXPECT_EQ(box->luminanceStrip().front().Name, QStringLiteral("Faint Lavender"));
    release(cellOf(QStringLiteral("Lavender")));
    EXPECT_EQ(box->Text(), QStringLiteral("Lavender"));

    // It opens again on the selected hue. White is not a hue: pressing leaves the strip, the
    // hover tick turns it to the greys.
    openByClick();
    EXPECT_EQ(box->luminanceStrip().front().Name, QStringLiteral("Faint Lavender"));
    press(cellOf(QStringLiteral("White")));
    EXPECT_EQ(box->luminanceStrip().front().Name, QStringLiteral("Faint Lavender"));
    emit box->hoverTimer().OnTimer();
    EXPECT_EQ(box->luminanceStrip().back().Name, QStringLiteral("Black"));
}

TEST_F(ColorBox, CellsArePaintedInTheirColours)
{
    for (int mode : {0, 5, 11}) {
        box->setPaletteMode(mode);
        openByClick();
        const QImage shot = popup()->grab().toImage();
        for (const PaletteEntry &e : box->entries()) {
            const QColor c = shot.pixelColor(e.Cell.center());
            ASSERT_EQ(MireloLibColor::RGB(c.red(), c.green(), c.blue()), e.Color) << mode << e.Name.toStdString();
            ASSERT_EQ(shot.pixelColor(e.Cell.topLeft()), c) << "the whole cell";
        }
        QTest::keyClick(box, Qt::Key_Escape);
    }
}

struct PlacementRow {
    const char *name;
    bool nearBottom, nearRight;
};

const PlacementRow kPlacements[] = {
    {"AboveNearTheBottom", true, false},
    {"ShiftedAtTheRightEdge", false, true},
    {"CornerStaysOnScreen", true, true},
};

struct Placement : ColorBox, testing::WithParamInterface<PlacementRow> {};

TEST_P(Placement, OnTheBoxScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize hostSize(140, 24);
    const QPoint at(GetParam().nearRight ? screen.right() + 1 - hostSize.width() : screen.left() + 100,
                    GetParam().nearBottom ? screen.bottom() + 1 - hostSize.height() : screen.top() + 100);
    makeHost(at, hostSize);
    box->setPaletteMode(5);
    openByClick();
    const QRect shown = popup()->geometry();
    const QRect b = boxOnScreen();
    EXPECT_TRUE(screen.contains(shown));
    if (GetParam().nearBottom)
        EXPECT_EQ(shown.bottom(), b.top() - 1);
    else
        EXPECT_EQ(shown.top(), b.bottom() + 1);
    if (GetParam().nearRight)
        EXPECT_EQ(shown.right(), screen.right());
    else
        EXPECT_EQ(shown.left(), b.left());
}

INSTANTIATE_TEST_SUITE_P(Screen, Placement, testing::ValuesIn(kPlacements),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ColorBox, HidingOrDisablingTheBoxClosesThePopup)
{
    openByClick();
    box->setEnabled(false);
    EXPECT_FALSE(box->isPopupOpen());
    box->setEnabled(true);
    openByClick();
    host->hide();
    EXPECT_FALSE(box->isPopupOpen());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

} // namespace
