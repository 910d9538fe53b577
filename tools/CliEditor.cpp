#include "CliEditor.h"

#include "document/DefineEscaping.h"
#include "document/GbkBytes.h"
#include "highlight/modHighlighter.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowSystem.h"

#include <QApplication>
#include <algorithm>

using platform::WindowSystem;

bool cliCanDraw() { return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr; }

CliEditor::CliEditor()
{
    m_hwnd = WindowSystem::instance().createWindow(&platform::defWindowProc, &m_form, &m_form);
    m_form.resize(800, 600);
    m_control = std::make_unique<usrScintilla>(m_hwnd);
    m_control->InitScintilla();
    wrapper().SendEditor(QsciScintillaBase::SCI_SETCODEPAGE, 936);
    wrapper().SendEditor(QsciScintillaBase::SCI_SETTABWIDTH, 5);
    m_highlighters.setHighlighterDir(platform::findProgramFile(QStringLiteral("highlighters")));
    m_highlighters.LoadHighlighters();
}

CliEditor::~CliEditor()
{
    m_control->CloseScintilla();
    m_control.reset();
    WindowSystem::instance().destroyWindow(m_hwnd);
}

bool CliEditor::open(QByteArray readable, QString &error)
{
    const platform::AnsiCodec &codec = wrapper().codec();
    if (codec.codePage() == 936) {
        const qsizetype invalid = firstInvalidGbkByte(readable);
        if (invalid >= 0) {
            error = QStringLiteral("the input holds bytes that are not valid in the ANSI code page (first at byte "
                                   "offset %1)")
                        .arg(invalid);
            return false;
        }
    }
    unescapeDefineInPlace(readable);
    // Decoded a piece of whole lines at a time (no code page hides a line feed inside a
    // character). The room made at once is an upper bound of the UTF-8 length: a GBK pair is at
    // most three bytes of UTF-8, another code page's byte at most three.
    const auto high = static_cast<qsizetype>(
        std::count_if(readable.cbegin(), readable.cend(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    const qsizetype room = readable.size() + (codec.codePage() == 936 ? (high + 1) / 2 : 2 * high);
    constexpr qsizetype kPieceBytes = qsizetype(1) << 20;
    qsizetype at = 0;
    wrapper().LoadTextPieces(room, [&]() -> QByteArray {
        if (at >= readable.size())
            return {};
        qsizetype end = qMin(readable.size(), at + kPieceBytes);
        if (end < readable.size()) {
            const qsizetype lineEnd = readable.indexOf('\n', end - 1);
            end = lineEnd < 0 ? readable.size() : lineEnd + 1;
        }
        const QByteArray piece = codec.decode(QByteArray::fromRawData(readable.constData() + at, end - at)).toUtf8();
        at = end;
        return piece;
    });
    readable = QByteArray();
    if (modHighlighter::HighlighterCount() == 0) {
        error = QStringLiteral("no highlighter in %1").arg(m_highlighters.HighlighterDir());
        return false;
    }
    m_highlighters.SetHighlighterEditor(*m_control, QStringLiteral("SQL"));
    return true;
}
