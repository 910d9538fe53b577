#include "CliEditor.h"

#include "CliInputLimit.h"

#include "document/DefineEscaping.h"
#include "document/GbkBytes.h"
#include "document/GbkToUtf8.h"
#include "highlight/modHighlighter.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowSystem.h"

#include <QApplication>
#include <algorithm>
#include <cstring>

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

// A quarter of a MiB: the buffers a piece passes through are touched once each, and fresh memory
// is dear on first touch (a MiB measured slower on the whole run).
constexpr qsizetype kPieceBytes = qsizetype(1) << 18;

QString invalidBytesAt(qint64 offset)
{
    return QStringLiteral("the input holds bytes that are not valid in the ANSI code page (first at byte offset %1)")
        .arg(offset);
}

// Readable bytes of the code page decoded into out (emptied first), its room used again for
// each piece. GBK goes straight to UTF-8; anything the fast way does not take, the codec decodes.
class PieceDecoder {
public:
    explicit PieceDecoder(const platform::AnsiCodec &codec) : m_codec(codec) {}

    QByteArrayView decode(QByteArrayView bytes)
    {
        m_out.truncate(0);
        if (m_codec.codePage() == 936 && m_gbk.append(bytes, m_out))
            return m_out;
        m_out = m_codec.decode(bytes.toByteArray()).toUtf8();
        return m_out;
    }

private:
    const platform::AnsiCodec &m_codec;
    GbkToUtf8 m_gbk;
    QByteArray m_out;
};

} // namespace

qsizetype CliEditor::roomFor(qsizetype size)
{
    // A GBK pair is at most three bytes of UTF-8, another code page's byte at most three. Room
    // the text does not fill is never touched, so it costs nothing to reckon every byte high.
    return size + (wrapper().codec().codePage() == 936 ? (size + 1) / 2 : 2 * size);
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
    PieceDecoder decoder(codec);
    qsizetype at = 0;
    wrapper().LoadTextPieces(roomFor(readable.size()), [&]() -> QByteArray {
        if (at >= readable.size())
            return {};
        qsizetype end = qMin(readable.size(), at + kPieceBytes);
        if (end < readable.size()) {
            const qsizetype lineEnd = readable.indexOf('\n', end - 1);
            end = lineEnd < 0 ? readable.size() : lineEnd + 1;
        }
        const QByteArrayView piece = decoder.decode(QByteArrayView(readable).sliced(at, end - at));
        at = end;
        return QByteArray::fromRawData(piece.data(), piece.size());
    });
    readable = QByteArray();
    return highlight(error);
}

bool CliEditor::openFile(QFile &file, qint64 maxInput, const QString &what, QString &error)
{
    const platform::AnsiCodec &codec = wrapper().codec();
    // The size the file has now makes the component's room; it is read to its end all the same
    // (a file of the kernel's says 0 and still has text), stopping at the limit.
    const qint64 size = file.size();
    cli::checkInputSize(size, maxInput, what);

    // Pieces of whole lines: an entity and a character of any code page end before a line feed,
    // so each piece is checked, unescaped and decoded as the whole file would be. The file is
    // read once, through buffers used again for every piece.
    PieceDecoder decoder(codec);
    QByteArray read(kPieceBytes, Qt::Uninitialized); // read, not yet handed over
    qsizetype pending = 0;
    QByteArray piece;
    qint64 done = 0;
    qint64 offset = 0;
    bool invalid = false;
    bool failed = false;
    wrapper().LoadTextPieces(roomFor(size), [&]() -> QByteArray {
        if (invalid || failed)
            return {};
        for (;;) {
            if (read.size() < pending + kPieceBytes)
                read.resize(pending + kPieceBytes);
            const qint64 got = file.read(read.data() + pending, kPieceBytes);
            if (got < 0) {
                failed = true;
                return {};
            }
            done += got;
            cli::checkInputSize(done, maxInput, what);
            const qsizetype had = pending;
            pending += got;
            const bool atEnd = got == 0;
            const qsizetype end =
                atEnd ? pending : QByteArrayView(read.constData() + had, got).lastIndexOf('\n') + 1 + had;
            if (end == had && !atEnd)
                continue; // no line end in what came: read on
            if (end == 0)
                return {};
            piece.resize(end);
            std::memcpy(piece.data(), read.constData(), static_cast<size_t>(end));
            std::memmove(read.data(), read.constData() + end, static_cast<size_t>(pending - end));
            pending -= end;
            if (codec.codePage() == 936) {
                if (const qsizetype bad = firstInvalidGbkByte(piece); bad >= 0) {
                    error = invalidBytesAt(offset + bad);
                    invalid = true;
                    return {};
                }
            }
            offset += piece.size();
            unescapeDefineInPlace(piece);
            const QByteArrayView utf8 = decoder.decode(piece);
            return QByteArray::fromRawData(utf8.data(), utf8.size());
        }
    });
    if (invalid)
        return false;
    if (failed || file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read %1: %2").arg(what, file.errorString());
        return false;
    }
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
