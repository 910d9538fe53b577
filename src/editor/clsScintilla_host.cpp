// clsScintilla: creating the editing window, sending it messages, and dispatching its notifications.

#include "editor/clsScintilla.h"

#include "hooks/MSubclass.h"

#include <Qsci/qsciscintillabase.h>
#include <QUrl>
#include <QWidget>

using namespace platform;
using Sci = QsciScintillaBase;

namespace {

// The editing window's procedure: every message becomes a Scintilla message.
LResult editorWindowProc(Hwnd hwnd, std::uint32_t msg, WParam wParam, LParam lParam)
{
    if (msg == WM_DESTROY)
        return 0;
    auto *editor = static_cast<Sci *>(WindowSystem::instance().userData(hwnd));
    if (!editor)
        return 0;
    return editor->SendScintilla(msg, static_cast<unsigned long>(wParam), static_cast<long>(lParam));
}

constexpr int kCtrl = 2;

} // namespace

clsScintilla::clsScintilla(QObject *parent) : QObject(parent) {}

clsScintilla::~clsScintilla()
{
    if (m_parentHwnd)
        Detach(m_parentHwnd);
}

void clsScintilla::CreateScintilla(Hwnd frm)
{
    m_search.reset();
    m_callTips.unload();

    QWidget *parentWidget = WindowSystem::instance().widget(frm);
    auto *editor = new Sci(parentWidget); // owned by the form, as the editing window goes with it
    editor->setObjectName(QStringLiteral("SciMain"));
    editor->setGeometry(0, 0, 200, 200);
    editor->show();
    m_editor = editor;
    m_parentHwnd = frm;
    m_hwnd = WindowSystem::instance().createWindow(&editorWindowProc, editor, editor);
    const Hwnd hwnd = m_hwnd;
    QObject::connect(editor, &QObject::destroyed, [hwnd] { WindowSystem::instance().destroyWindow(hwnd); });
    connect(editor, &QObject::destroyed, this, [this] { m_hwnd = 0; });

    // The host's own commands receive these keys.
    for (const char letter : {'V', 'C', 'X', 'Z', 'Y'})
        ClearCmdKey(LShift(kCtrl, 16) + letter);

    // The platform's files end lines with CR LF: Enter types what LineBreak reports (0) from the start.
    // Only new line ends follow the mode; the text is never converted here.
    m_lineBreak = Sci::SC_EOL_CRLF;
    SendEditor(Sci::SCI_SETEOLMODE, static_cast<WParam>(Sci::SC_EOL_CRLF));

    connectNotifications();
    SetFocus();
}

void clsScintilla::Attach(Hwnd frm)
{
    Detach(frm);
    MSubclass::AttachMessage(this, frm, WM_NOTIFY);
    m_parentHwnd = frm;
}

void clsScintilla::Detach(Hwnd frm) { MSubclass::DetachMessage(this, frm, WM_NOTIFY); }

void clsScintilla::SizeScintilla(int Left, int Top, int Width, int Height)
{
    if (!m_editor)
        return;
    m_editor->setGeometry(Left, Top, qMax(0, Width), qMax(0, Height));
    m_editor->raise();
}

LResult clsScintilla::SendEditor(unsigned int Msg, WParam wParam, LParam lParam)
{
    // The component edits UTF-8; a double-byte code page becomes the code page of the byte form.
    if (Msg == Sci::SCI_SETCODEPAGE && wParam != Sci::SC_CP_UTF8) {
        m_codec = AnsiCodec(static_cast<int>(wParam));
        wParam = Sci::SC_CP_UTF8;
    }
    return WindowSystem::instance().sendMessage(m_hwnd, Msg, wParam, lParam);
}

LResult clsScintilla::SendEditor(unsigned int Msg, WParam wParam, const QString &lParam)
{
    const QByteArray bytes = lParam.toUtf8(); // zero-terminated, alive for the call
    return SendEditor(Msg, wParam, reinterpret_cast<LParam>(bytes.constData()));
}

void clsScintilla::SetFocus()
{
    if (m_editor)
        m_editor->setFocus(Qt::OtherFocusReason);
}

void clsScintilla::SetProperty(const QString &key, const QString &value)
{
    const QByteArray k = key.toUtf8();
    const QByteArray v = value.toUtf8();
    SendEditor(Sci::SCI_SETPROPERTY, reinterpret_cast<WParam>(k.constData()), reinterpret_cast<LParam>(v.constData()));
}

void clsScintilla::notifyParent(SCNotification record)
{
    record.nmhdr.hwndFrom = m_hwnd;
    record.nmhdr.idFrom = 0;
    WindowSystem::instance().sendMessage(m_parentHwnd, WM_NOTIFY, 0, reinterpret_cast<LParam>(&record));
}

void clsScintilla::connectNotifications()
{
    Sci *e = m_editor;
    const auto header = [](std::uint32_t code) { return NotifyHeader{0, 0, code}; };
    const auto simple = [this, header](std::uint32_t code) {
        return [this, header, code] { notifyParent({.nmhdr = header(code)}); };
    };
    connect(e, &Sci::SCN_STYLENEEDED, this, [this, header](int position) {
        notifyParent({.nmhdr = header(scn::StyleNeeded), .position = position});
    });
    connect(e, &Sci::SCN_CHARADDED, this,
            [this, header](int ch) { notifyParent({.nmhdr = header(scn::CharAdded), .ch = ch}); });
    connect(e, &Sci::SCN_SAVEPOINTREACHED, this, simple(scn::SavePointReached));
    connect(e, &Sci::SCN_SAVEPOINTLEFT, this, simple(scn::SavePointLeft));
    connect(e, &Sci::SCN_DOUBLECLICK, this, [this, header](int position, int line, int modifiers) {
        notifyParent({.nmhdr = header(scn::DoubleClick), .position = position, .modifiers = modifiers, .line = line});
    });
    connect(e, &Sci::SCN_UPDATEUI, this, [this, header](int updated) {
        notifyParent({.nmhdr = header(scn::UpdateUI), .updated = updated});
    });
    connect(e, &Sci::SCN_MODIFIED, this,
            [this, header](int position, int type, const char *text, int length, int linesAdded, int line,
                           int foldNow, int foldPrev, int, int) {
                notifyParent({.nmhdr = header(scn::Modified),
                              .position = position,
                              .modificationType = type,
                              .text = text,
                              .length = length,
                              .linesAdded = linesAdded,
                              .line = line,
                              .foldLevelNow = foldNow,
                              .foldLevelPrev = foldPrev});
            });
    connect(e, &Sci::SCN_MARGINCLICK, this, [this, header](int position, int modifiers, int margin) {
        notifyParent(
            {.nmhdr = header(scn::MarginClick), .position = position, .modifiers = modifiers, .margin = margin});
    });
    connect(e, &Sci::SCN_PAINTED, this, simple(scn::Painted));
    connect(e, QOverload<const char *, int>::of(&Sci::SCN_USERLISTSELECTION), this,
            [this, header](const char *text, int id) {
                notifyParent({.nmhdr = header(scn::UserListSelection), .text = text, .listType = id});
            });
    connect(e, QOverload<const char *, int>::of(&Sci::SCN_AUTOCSELECTION), this,
            [this, header](const char *text, int position) {
                notifyParent({.nmhdr = header(scn::AutoCSelection), .position = position, .text = text});
            });
    connect(e, &Sci::SCN_URIDROPPED, this, [this, header](const QUrl &url) {
        const QByteArray text = (url.isLocalFile() ? url.toLocalFile() : url.toString()).toUtf8();
        notifyParent({.nmhdr = header(scn::UriDropped), .text = text.constData()});
    });
}

LResult clsScintilla::ISubclass_WindowProc(Hwnd, std::uint32_t iMsg, WParam, LParam lParam)
{
    if (iMsg != WM_NOTIFY || lParam == 0)
        return 0;
    const SCNotification record = *reinterpret_cast<const SCNotification *>(lParam);
    const NotifyHeader header = record.nmhdr;
    if (header.hwndFrom != m_hwnd || m_hwnd == 0 || header.code < 2000 || header.code > 2022)
        return 0;
    for (EditorPart *part : m_parts)
        part->notify(record);
    raiseEvent(record);
    return 0;
}

void clsScintilla::raiseEvent(const SCNotification &record)
{
    switch (record.nmhdr.code) {
    case scn::Modified: emit OnModified(record.ch); break;
    case scn::StyleNeeded: emit StyleNeeded(); break;
    case scn::CharAdded: emit CharAdded(record.ch); break;
    case scn::SavePointReached: emit SavePointReached(); break;
    case scn::SavePointLeft: emit SavePointLeft(); break;
    case scn::DoubleClick: emit DoubleClick(); break;
    case scn::UpdateUI: emit UpdateUI(); break;
    case scn::MarginClick: emit MarginClick(); break;
    case scn::Painted: emit Painted(); break;
    case scn::UserListSelection:
    case scn::AutoCSelection: emit UserListSelection(); break;
    case scn::UriDropped: emit UriDropped(record.text ? QString::fromUtf8(record.text) : QString()); break;
    default: break;
    }
}

std::int32_t Shift(std::int32_t value, int bits, bool left)
{
    const std::int64_t factor = std::int64_t{1} << bits;
    if (!left)
        return static_cast<std::int32_t>(value / factor);
    const std::int64_t result = std::int64_t{value} * factor;
    if (result > INT32_MAX || result < INT32_MIN)
        throw std::overflow_error("Overflow");
    return static_cast<std::int32_t>(result);
}

std::int32_t LShift(std::int32_t lValue, int lNumberOfBitsToShift) { return Shift(lValue, lNumberOfBitsToShift, true); }
