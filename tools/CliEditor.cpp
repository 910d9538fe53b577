#include "CliEditor.h"

#include "CliInputLimit.h"

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

namespace {

constexpr qsizetype kPieceBytes = qsizetype(1) << 20;

qsizetype highBytes(QByteArrayView bytes)
{
    return static_cast<qsizetype>(
        std::count_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

QString invalidBytesAt(qint64 offset)
{
    return QStringLiteral("the input holds bytes that are not valid in the ANSI code page (first at byte offset %1)")
        .arg(offset);
}

} // namespace

qsizetype CliEditor::roomFor(qsizetype size, qsizetype high)
{
    // A GBK pair is at most three bytes of UTF-8, another code page's byte at most three.
    return size + (wrapper().codec().codePage() == 936 ? (high + 1) / 2 : 2 * high);
}

bool CliEditor::open(QByteArray readable, QString &error)
{
    const platform::AnsiCodec &codec = wrapper().codec();
    if (codec.codePage() == 936) {
        const qsizetype invalid = firstInvalidGbkByte(readable);
        if (invalid >= 0) {
            error = invalidBytesAt(invalid);
            return false;
        }
    }
    unescapeDefineInPlace(readable);
    // Decoded a piece of whole lines at a time: no code page hides a line feed inside a character.
    qsizetype at = 0;
    wrapper().LoadTextPieces(roomFor(readable.size(), highBytes(readable)), [&]() -> QByteArray {
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
    return highlight(error);
}

bool CliEditor::openFile(QFile &file, qint64 maxInput, const QString &what, QString &error)
{
    const platform::AnsiCodec &codec = wrapper().codec();
    const auto readError = [&] {
        error = QStringLiteral("cannot read %1: %2").arg(what, file.errorString());
        return false;
    };
    qint64 size = 0;
    qsizetype high = 0;
    for (QByteArray piece = file.read(kPieceBytes); !piece.isEmpty(); piece = file.read(kPieceBytes)) {
        size += piece.size();
        cli::checkInputSize(size, maxInput, what);
        high += highBytes(piece);
    }
    if (file.error() != QFileDevice::NoError || !file.seek(0))
        return readError();

    // Pieces of whole lines: an entity and a character of any code page end before a line feed,
    // so each piece is checked, unescaped and decoded as the whole file would be.
    QByteArray rest;
    qint64 offset = 0;
    bool invalid = false;
    wrapper().LoadTextPieces(roomFor(size, high), [&]() -> QByteArray {
        for (;;) {
            const QByteArray more = invalid ? QByteArray() : file.read(kPieceBytes);
            rest += more;
            const qsizetype end = more.isEmpty() ? rest.size() : rest.lastIndexOf('\n') + 1;
            if (end == 0 && !more.isEmpty())
                continue;
            if (end == 0 || invalid)
                return {};
            QByteArray piece = rest.left(end);
            rest.remove(0, end);
            if (codec.codePage() == 936) {
                if (const qsizetype bad = firstInvalidGbkByte(piece); bad >= 0) {
                    error = invalidBytesAt(offset + bad);
                    invalid = true;
                    return {};
                }
            }
            offset += piece.size();
            unescapeDefineInPlace(piece);
            return codec.decode(piece).toUtf8();
        }
    });
    if (invalid)
        return false;
    if (file.error() != QFileDevice::NoError)
        return readError();
    return highlight(error);
}

bool CliEditor::highlight(QString &error)
{
    if (modHighlighter::HighlighterCount() == 0) {
        error = QStringLiteral("no highlighter in %1").arg(m_highlighters.HighlighterDir());
        return false;
    }
    m_highlighters.SetHighlighterEditor(*m_control, QStringLiteral("SQL"));
    return true;
}
