#include "editor/usrScintilla.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
double twipsPerPixel(bool horizontal)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY()) : 96.0;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}
} // namespace

usrScintilla::usrScintilla(platform::Hwnd form, QObject *parent)
    : QObject(parent), m_form(form), m_twipsX(twipsPerPixelX()), m_twipsY(twipsPerPixelY())
{
}

usrScintilla::~usrScintilla() { CloseScintilla(); }

double usrScintilla::twipsPerPixelX() { return twipsPerPixel(true); }
double usrScintilla::twipsPerPixelY() { return twipsPerPixel(false); }

QString usrScintilla::Text() const { return sciMain ? sciMain->Text() : QString(); }
void usrScintilla::setText(const QString &text)
{
    if (sciMain)
        sciMain->setText(text);
}
QString usrScintilla::SelText() const { return sciMain ? sciMain->SelText() : QString(); }
void usrScintilla::setSelText(const QString &text)
{
    if (sciMain)
        sciMain->setSelText(text);
}

#define FORWARD_OPTION(setter, member, wrapperSetter) \
    void usrScintilla::setter(bool on)                \
    {                                                 \
        member = on;                                  \
        if (sciMain)                                  \
            sciMain->wrapperSetter(on);               \
    }
FORWARD_OPTION(setShowCallTips, m_showCallTips, setShowCallTips)
FORWARD_OPTION(setViewWhiteSpace, m_viewWhiteSpace, setViewWhiteSpace)
FORWARD_OPTION(setWordWrap, m_wordWrap, setWordWrap)
FORWARD_OPTION(setReadOnly, m_readOnly, setReadOnly)
FORWARD_OPTION(setContextMenu, m_contextMenu, setContextMenu)
FORWARD_OPTION(setAutoIndent, m_autoIndent, setAutoIndent)
FORWARD_OPTION(setIgnoreAutoCCase, m_ignoreAutoCCase, setIgnoreAutoCCase)
#undef FORWARD_OPTION

bool usrScintilla::Modified() const { return sciMain && sciMain->Modified(); }

void usrScintilla::InitScintilla()
{
    sciMain = std::make_unique<clsScintilla>();
    sciMain->CreateScintilla(m_form);
    sciMain->Attach(m_form);

    clsScintilla &s = *sciMain;
    s.setFolding(m_folding);
    s.setAutoIndent(m_autoIndent);
    s.setMatchBraces(m_bracematch);
    s.setShowCallTips(m_showCallTips);
    s.setViewWhiteSpace(m_viewWhiteSpace);
    s.setScrollWidth(m_scrollWidth);
    s.setIgnoreAutoCCase(m_ignoreAutoCCase);
    s.setWordWrap(m_wordWrap);
    s.setReadOnly(m_readOnly);
    s.setContextMenu(m_contextMenu);
    s.setLineNumbers(m_lineNumbers);
    s.setShowFlags(m_showFlags);
    s.setAutoCompleteStart(m_autoCompleteStart);
    s.setAutoCompleteString(m_autoCompleteString);
    s.setAutoShowAutoComplete(m_autoShowAutoComplete);

    connect(&s, &clsScintilla::CharAdded, this, &usrScintilla::CharAdded);
    connect(&s, &clsScintilla::OnModified, this, &usrScintilla::OnModified);
    connect(&s, &clsScintilla::StyleNeeded, this, &usrScintilla::StyleNeeded);
    connect(&s, &clsScintilla::SavePointReached, this, &usrScintilla::SavePointReached);
    connect(&s, &clsScintilla::SavePointLeft, this, &usrScintilla::SavePointLeft);
    connect(&s, &clsScintilla::DoubleClick, this, &usrScintilla::DoubleClick);
    connect(&s, &clsScintilla::UpdateUI, this, &usrScintilla::UpdateUI);
    connect(&s, &clsScintilla::MarginClick, this, &usrScintilla::MarginClick);
    connect(&s, &clsScintilla::UserListSelection, this, &usrScintilla::UserListSelection);
    // A file dropped onto the editing area opens like one dropped onto the window.
    connect(&s, &clsScintilla::UriDropped, this, &usrScintilla::OpenFileUrl);
}

void usrScintilla::CloseScintilla()
{
    if (!sciMain)
        return;
    sciMain->Detach(m_form);
    sciMain.reset();
}

void usrScintilla::MoveIt(int lLeft, int lTop, int lWidth, int lHeight)
{
    if (sciMain)
        sciMain->SizeScintilla(lLeft, lTop, static_cast<int>(lWidth / m_twipsX), static_cast<int>(lHeight / m_twipsY));
}

void usrScintilla::DoNew()
{
    if (!sciMain)
        return;
    sciMain->setText(QString());
    sciMain->ClearUndoBuffer();
    sciMain->SetSavePoint();
}

bool usrScintilla::DoOpen(const QString &strFile)
{
    if (!sciMain)
        return false;
    const bool ok = sciMain->LoadFile(strFile);
    SetFocusEx();
    return ok;
}

bool usrScintilla::DoSave(const QString &strFile) { return sciMain && sciMain->SaveToFile(strFile); }

void usrScintilla::SetFocusEx()
{
    if (sciMain)
        sciMain->SetFocus();
}

#define FORWARD(method)        \
    void usrScintilla::method() \
    {                           \
        if (sciMain)            \
            sciMain->method();  \
    }
FORWARD(Cut)
FORWARD(Copy)
FORWARD(Paste)
FORWARD(Undo)
FORWARD(Redo)
FORWARD(SetSavePoint)
FORWARD(ClearUndoBuffer)
FORWARD(ClearFlags)
FORWARD(NextFlag)
FORWARD(PrevFlag)
FORWARD(ToggleFlag)
FORWARD(DeleteLine)
#undef FORWARD

void usrScintilla::SetPos(int lStart, int lEnd)
{
    if (sciMain)
        sciMain->SetSel(lStart, lEnd);
}

QByteArray usrScintilla::GetTextRange(int lStart, int lEnd)
{
    return sciMain ? sciMain->GetTextRange(lStart, lEnd) : QByteArray();
}

void usrScintilla::DoFind(const QString &strFindText)
{
    if (sciMain)
        sciMain->DoFind(strFindText);
}

void usrScintilla::DoReplace()
{
    if (sciMain)
        sciMain->DoReplace();
}

bool usrScintilla::FindNext() { return sciMain && sciMain->FindNext(); }
bool usrScintilla::FindPrev() { return sciMain && sciMain->FindPrev(); }

void usrScintilla::DoGoto()
{
    if (sciMain)
        sciMain->DoGoto();
}
