#include "CliEditor.h"

#include "document/DefineEscaping.h"
#include "document/GbkBytes.h"
#include "highlight/modHighlighter.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowSystem.h"

#include <QApplication>

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

bool CliEditor::open(const QByteArray &storedBytes, QString &error)
{
    const platform::AnsiCodec &codec = wrapper().codec();
    QByteArray readable = storedBytes;
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
    wrapper().LoadTextBytes(codec.decode(readable).toUtf8());
    if (modHighlighter::HighlighterCount() == 0) {
        error = QStringLiteral("no highlighter in %1").arg(m_highlighters.HighlighterDir());
        return false;
    }
    m_highlighters.SetHighlighterEditor(*m_control, QStringLiteral("SQL"));
    return true;
}
