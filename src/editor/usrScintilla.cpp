#include "editor/usrScintilla.h"

#include "platform/Twips.h"

usrScintilla::usrScintilla(platform::Hwnd form, QObject *parent)
    : QObject(parent), m_form(form), m_twipsX(platform::twipsPerPixelX()), m_twipsY(platform::twipsPerPixelY())
{
}

usrScintilla::~usrScintilla() { CloseScintilla(); }


QString usrScintilla::Text() const { return sciMain ? sciMain->Text() : QString(); }
void usrScintilla::setText(const QString &text)
{
    if (sciMain)
        sciMain->LetText(text);
}
QString usrScintilla::SelText() const { return sciMain ? sciMain->SelText() : QString(); }
void usrScintilla::setSelText(const QString &text)
{
    if (sciMain)
        sciMain->LetSelText(text);
}

// Each setter stores the option, then sets the wrapper's property of the same name.
#define FORWARD_OPTION(setter, field, wrapperCall) \
    void usrScintilla::setter(bool on)              \
    {                                               \
        m_options.field = on;                       \
        if (sciMain)                                \
            sciMain->wrapperCall(on);               \
    }
FORWARD_OPTION(setShowCallTips, ShowCallTips, LetShowCallTips)
FORWARD_OPTION(setViewWhiteSpace, ViewWhiteSpace, SetViewWhiteSpace)
FORWARD_OPTION(setWordWrap, WordWrap, LetWordWrap)
FORWARD_OPTION(setReadOnly, ReadOnly, SetReadOnly)
FORWARD_OPTION(setContextMenu, ContextMenu, LetContextMenu)
FORWARD_OPTION(setAutoIndent, AutoIndent, LetAutoIndent)
FORWARD_OPTION(setIgnoreAutoCCase, IgnoreAutoCCase, LetIgnoreAutoCCase)
#undef FORWARD_OPTION

bool usrScintilla::Modified() const { return sciMain && sciMain->Modified(); }

void usrScintilla::InitScintilla()
{
    sciMain = std::make_unique<clsScintilla>();
    sciMain->CreateScintilla(m_form);
    sciMain->Attach(m_form);

    clsScintilla &s = *sciMain;
    s.ApplyOptions(m_options);

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
    sciMain->LetText(QString());
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
