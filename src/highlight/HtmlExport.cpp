#include "highlight/HtmlExport.h"

#include "editor/usrScintilla.h"
#include "highlight/modHighlighter.h"
#include "platform/AnsiCodec.h"
#include "platform/AtomicWrite.h"

#include <Qsci/qsciscintillabase.h>
#include <array>
#include <cstring>
#include <unordered_map>

using Sci = QsciScintillaBase;

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
constexpr char kGenerator[] = "Plendor HtmlExport - https://plendor.invalid/";

int utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1; // a stray byte stands for itself
}

QByteArray charsetName(int codePage)
{
    switch (codePage) {
    case 936: return "GBK";
    case 950: return "Big5";
    case 932: return "Shift_JIS";
    case 65001: return "UTF-8";
    default: return "windows-" + QByteArray::number(codePage);
    }
}

// Output written through a pointer: the body is made of millions of small pieces, and
// QByteArray's per-append checks would dominate. In memory it grows by doubling; to a device
// it is written a buffer at a time, so that a large export never exists whole in memory.
class Sink {
public:
    explicit Sink(qsizetype expected, QIODevice *device = nullptr)
        : m_bytes(qMax<qsizetype>(expected, 256), Qt::Uninitialized), m_device(device)
    {
    }

    char *room(qsizetype n)
    {
        if (m_used + n > m_bytes.size()) {
            if (m_device)
                flush();
            if (m_used + n > m_bytes.size())
                m_bytes.resize(qMax(m_bytes.size() * 2, m_used + n));
        }
        return m_bytes.data() + m_used;
    }
    // False once a write to the device failed.
    bool flush()
    {
        if (m_device && m_used > 0 && m_device->write(m_bytes.constData(), m_used) != m_used)
            m_failed = true;
        m_used = 0;
        return !m_failed;
    }
    void put(const char *p, qsizetype n)
    {
        std::memcpy(room(n), p, static_cast<size_t>(n));
        m_used += n;
    }
    void put(QByteArrayView v) { put(v.data(), v.size()); }
    // A piece of at most 16 bytes stored with 16 readable bytes: one fixed-size copy, no call.
    void putShort(const char *padded, qsizetype n)
    {
        std::memcpy(room(16), padded, 16);
        m_used += n;
    }
    void repeat(QByteArrayView v, int times)
    {
        char *at = room(v.size() * times);
        for (int i = 0; i < times; ++i, at += v.size())
            std::memcpy(at, v.data(), static_cast<size_t>(v.size()));
        m_used += v.size() * times;
    }
    QByteArray take()
    {
        m_bytes.truncate(m_used);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    qsizetype m_used = 0;
    QIODevice *m_device;
    bool m_failed = false;
};

enum class ByteKind : unsigned char { Plain, Replaced, CarriageReturn, LineFeed, Tab, NonAscii };

// A replacement text padded to 16 bytes, for Sink::putShort.
struct ShortPiece {
    char text[16] = {};
    qsizetype size = 0;
    ShortPiece() = default;
    explicit ShortPiece(QByteArrayView v) : size(v.size()) { std::memcpy(text, v.data(), static_cast<size_t>(size)); }
};

// What each byte of the text becomes in one form of the export.
struct ByteTable {
    std::array<ByteKind, 256> kind{};
    std::array<ShortPiece, 128> replacement;

    explicit ByteTable(HtmlForm form)
    {
        const bool file = form == HtmlForm::File;
        for (int c = 0x80; c < 256; ++c)
            kind[c] = ByteKind::NonAscii;
        kind['\r'] = ByteKind::CarriageReturn;
        kind['\n'] = ByteKind::LineFeed;
        kind['\t'] = file ? ByteKind::Tab : ByteKind::Plain;
        const auto replace = [this](char c, QByteArrayView with) {
            kind[static_cast<unsigned char>(c)] = ByteKind::Replaced;
            replacement[static_cast<unsigned char>(c)] = ShortPiece(with);
        };
        replace(' ', "&nbsp;");
        if (file) {
            replace('<', "&LT;");
            replace('>', "&GT;");
            replace('&', "&amp;");
        }
    }
};

// Writes the characters of the text, each whole; in the file form non-ASCII characters become
// the code page's bytes (remembered per character), or character references where it has none.
const ShortPiece kBr{QByteArrayView("<BR>")};

class BodyWriter {
public:
    BodyWriter(Sink &out, HtmlForm form, int codePage, int tabWidth)
        : m_out(out), m_table(form), m_file(form == HtmlForm::File), m_codec(codePage), m_tabWidth(qMax(1, tabWidth))
    {
    }

    // Writes the characters that start in [p, end); returns where the last one ended.
    qsizetype write(const char *bytes, qsizetype p, qsizetype end, qsizetype size)
    {
        while (p < end) {
            const auto c = static_cast<unsigned char>(bytes[p]);
            switch (m_table.kind[c]) {
            case ByteKind::Plain: {
                qsizetype q = p + 1;
                while (q < end && m_table.kind[static_cast<unsigned char>(bytes[q])] == ByteKind::Plain)
                    ++q;
                m_out.put(bytes + p, q - p);
                m_column += static_cast<int>(q - p);
                m_lastWasCr = false;
                p = q;
                continue;
            }
            case ByteKind::Replaced:
                m_out.putShort(m_table.replacement[c].text, m_table.replacement[c].size);
                ++m_column;
                break;
            case ByteKind::CarriageReturn:
                m_out.putShort(kBr.text, kBr.size);
                m_column = 0;
                break;
            case ByteKind::LineFeed:
                // A bare line feed is a line end too, or a file with such line ends shows as one line.
                if (m_file && !m_lastWasCr)
                    m_out.put("<BR>", 4);
                m_out.put("\n", 1);
                m_column = 0;
                break;
            case ByteKind::Tab: {
                const int spaces = m_tabWidth - m_column % m_tabWidth;
                m_out.repeat("&nbsp;", spaces);
                m_column += spaces;
                break;
            }
            case ByteKind::NonAscii: {
                const qsizetype length = qMin<qsizetype>(utf8Length(c), size - p);
                nonAscii(bytes + p, length);
                m_column += 2;
                m_lastWasCr = false;
                p += length;
                continue;
            }
            }
            m_lastWasCr = c == '\r';
            ++p;
        }
        return p;
    }

private:
    void nonAscii(const char *p, qsizetype length)
    {
        if (!m_file) {
            m_out.put(p, length);
            return;
        }
        std::uint32_t key = 0;
        for (qsizetype i = 0; i < length; ++i)
            key = (key << 8) | static_cast<unsigned char>(p[i]);
        auto it = m_encoded.find(key);
        if (it == m_encoded.end())
            it = m_encoded.emplace(key, encode(QString::fromUtf8(p, length))).first;
        m_out.put(it->second);
    }

    // Characters the code page lacks become character references, so that nothing is lost.
    QByteArray encode(const QString &character) const
    {
        bool lossless = true;
        const QByteArray bytes = m_codec.encode(character, &lossless);
        if (lossless)
            return bytes;
        QByteArray references;
        for (const char32_t u : character.toUcs4())
            references += "&#x" + QByteArray::number(static_cast<uint>(u), 16).toUpper() + ';';
        return references;
    }

    Sink &m_out;
    const ByteTable m_table;
    const bool m_file;
    const platform::AnsiCodec m_codec;
    const int m_tabWidth;
    std::unordered_map<std::uint32_t, QByteArray> m_encoded;
    int m_column = 0;
    bool m_lastWasCr = false;
};

std::array<bool, 256> stylesInUse(const StyledText &text)
{
    std::array<bool, 256> used{};
    for (const char s : text.styles)
        used[static_cast<unsigned char>(s)] = true;
    return used;
}

QByteArray styleRule(const HighlighterRecord &r, int s, HtmlForm form, const platform::AnsiCodec &codec)
{
    QByteArray rule = ".c" + QByteArray::number(s) + " {" + kCrLf;
    if (!r.Font[s].isEmpty())
        rule += "font-family: '" + (form == HtmlForm::File ? codec.encode(r.Font[s]) : r.Font[s].toUtf8()) + "';" + kCrLf;
    if (r.Fore[s] != 0)
        rule += "color: " + ColourToHex(r.Fore[s]).toLatin1() + ";" + kCrLf;
    if (r.Back[s] != 0)
        rule += "background: " + ColourToHex(r.Back[s]).toLatin1() + ";" + kCrLf;
    if (r.Size[s] != 0)
        rule += "font-size: " + QByteArray::number(r.Size[s]) + "pt;" + kCrLf;
    rule += (r.Bold[s] != 0 ? "font-weight: 700;" : "font-weight: 400;") + kCrLf;
    if (form == HtmlForm::File) {
        // What browsers understand: a slant is a font style, not a decoration.
        if (r.Italic[s] != 0)
            rule += "font-style: italic;" + kCrLf;
        if (r.Underline[s] != 0)
            rule += "text-decoration: underline;" + kCrLf;
    } else {
        QByteArray decoration;
        if (r.Italic[s] != 0)
            decoration = "text-decoration: italic;";
        if (r.Underline[s] != 0)
            decoration = decoration.isEmpty() ? QByteArray("text-decoration: underline;") : decoration + ", underline;";
        if (!decoration.isEmpty())
            rule += decoration + kCrLf;
    }
    return rule + "}" + kCrLf;
}

const HighlighterRecord *currentRecord()
{
    const int i = modHighlighter::CurrentHighlighterIndex;
    return i >= 0 && i < modHighlighter::HighlighterCount() ? &modHighlighter::HighlighterTable[i] : nullptr;
}

StyledText styledView(const EditorStyledText &text, clsScintilla &editor)
{
    return {.utf8 = text.utf8,
            .styles = text.styles,
            .tabWidth = static_cast<int>(editor.SendEditor(Sci::SCI_GETTABWIDTH)),
            .codePage = editor.codec().codePage()};
}

} // namespace

namespace {

// Styles the text to its end; the length of the text.
int styleToEnd(clsScintilla &editor)
{
    const int length = editor.GetLen();
    const int endStyled = static_cast<int>(editor.SendEditor(Sci::SCI_GETENDSTYLED));
    if (endStyled < length)
        editor.SendEditor(Sci::SCI_COLOURISE, static_cast<platform::WParam>(endStyled), -1);
    return length;
}

constexpr int kStylePiece = 1 << 20;

// The styles of [start, end), at most kStylePiece, read in bulk into styles; cells is room for
// the component's pairs of character and style.
void readStyles(QsciScintillaBase &widget, int start, int end, QByteArray &cells, char *styles)
{
    widget.SendScintilla(Sci::SCI_GETSTYLEDTEXT, static_cast<long>(start), static_cast<long>(end), cells.data());
    const char *cell = cells.constData() + 1;
    for (int i = 0; i < end - start; ++i)
        styles[i] = cell[2 * i];
}

} // namespace

EditorStyledText readStyledText(clsScintilla &editor)
{
    const int length = styleToEnd(editor);
    EditorStyledText result;
    // The component's own bytes: the export reads them before anything can change them.
    const QByteArrayView text = editor.TextBytesView();
    result.utf8 = QByteArray::fromRawData(text.data(), text.size());
    result.styles.resize(length);
    QsciScintillaBase *widget = editor.widget();
    if (!widget)
        return {};
    QByteArray cells(2 * kStylePiece + 2, Qt::Uninitialized);
    for (int start = 0; start < length; start += kStylePiece)
        readStyles(*widget, start, qMin(length, start + kStylePiece), cells, result.styles.data() + start);
    return result;
}

QString ColourToHex(int colour)
{
    const auto v = static_cast<unsigned>(colour);
    return QStringLiteral("#%1%2%3")
        .arg(v & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((v >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((v >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

namespace {

QByteArray styleSheetFor(const std::array<bool, 256> &used, int codePage, const HighlighterRecord *record,
                         HtmlForm form)
{
    QByteArray sheet = "<style type=\"text/css\">" + kCrLf;
    if (record) {
        const platform::AnsiCodec codec(codePage);
        for (int s = 0; s < kHighlighterStyles; ++s) {
            if (used[s])
                sheet += styleRule(*record, s, form, codec);
        }
    }
    return sheet + "</style>" + kCrLf;
}

} // namespace

QByteArray htmlStyleSheet(const StyledText &text, const HighlighterRecord *record, HtmlForm form)
{
    return styleSheetFor(stylesInUse(text), text.codePage, record, form);
}

namespace {

// The spans of a text whose styles come a piece at a time; a span stays open across pieces.
class BodyStream {
public:
    BodyStream(Sink &out, HtmlForm form, int codePage, int tabWidth)
        : m_out(out), m_writer(out, form, codePage, tabWidth)
    {
        for (int s = 0; s < 256; ++s)
            m_opening[s] = ShortPiece("<span class=c" + QByteArray::number(s) + ">");
    }

    // Writes the characters of bytes[0, size) that start in [from, to), styles[0] being the style
    // of byte `from`; returns where the last one ended (a character is written whole, in the
    // style of its first byte, so this may be past `to`).
    qsizetype write(const char *bytes, qsizetype size, qsizetype from, qsizetype to, const unsigned char *styles)
    {
        qsizetype p = from;
        while (p < to) {
            const int style = styles[p - from];
            qsizetype end = p + 1;
            while (end < to && styles[end - from] == style)
                ++end;
            if (style != m_open) {
                if (m_open >= 0)
                    m_out.put("</span>", 7);
                m_out.putShort(m_opening[style].text, m_opening[style].size);
                m_open = style;
            }
            p = m_writer.write(bytes, p, end, size);
        }
        return p;
    }

    void finish()
    {
        if (m_open >= 0)
            m_out.put("</span>", 7);
        m_open = -1;
    }

private:
    Sink &m_out;
    BodyWriter m_writer;
    std::array<ShortPiece, 256> m_opening;
    int m_open = -1;
};

void writeBody(Sink &out, const StyledText &text, HtmlForm form)
{
    const qsizetype n = qMin(text.utf8.size(), text.styles.size());
    BodyStream body(out, form, text.codePage, text.tabWidth);
    body.write(text.utf8.data(), n, 0, n, reinterpret_cast<const unsigned char *>(text.styles.data()));
    body.finish();
}

// Room for the usual growth of a define document (spaces become "&nbsp;", each token a span):
// untouched room costs nothing, a copy of hundreds of megabytes does.
qsizetype expectedBodySize(const StyledText &text) { return text.utf8.size() * 12 + 4096; }

} // namespace

QByteArray htmlBody(const StyledText &text, HtmlForm form)
{
    Sink out(expectedBodySize(text));
    writeBody(out, text, form);
    return out.take();
}

namespace {

QByteArray documentHead(const std::array<bool, 256> &used, int codePage, const HighlighterRecord *record)
{
    QByteArray head = "<HTML>" + kCrLf + "  <HEAD>" + kCrLf + "    <Meta Generator=\"" + kGenerator + "\">" + kCrLf;
    head += "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charsetName(codePage) + "\">" +
            kCrLf;
    head += styleSheetFor(used, codePage, record, HtmlForm::File);
    return head + "  </HEAD>" + kCrLf + "  <BODY BGCOLOR=#FFFFFF TEXT=#000000>";
}

const QByteArray kDocumentTail = kCrLf + "  </BODY>" + kCrLf + "</HTML>" + kCrLf;

void writeDocument(Sink &out, const StyledText &text, const HighlighterRecord *record)
{
    out.put(documentHead(stylesInUse(text), text.codePage, record));
    writeBody(out, text, HtmlForm::File);
    out.put(kDocumentTail);
}

// The editor's document written with its styles read a piece at a time, twice (for the style
// sheet, then for the spans), so that they never exist whole beside the component's own.
bool writeEditorDocument(QIODevice &device, clsScintilla &editor)
{
    QsciScintillaBase *widget = editor.widget();
    if (!widget)
        return false;
    const int length = styleToEnd(editor);
    const QByteArrayView text = editor.TextBytesView();
    const int codePage = editor.codec().codePage();
    QByteArray cells(2 * kStylePiece + 2, Qt::Uninitialized);
    QByteArray styles(kStylePiece, Qt::Uninitialized);
    const auto *styleBytes = reinterpret_cast<const unsigned char *>(styles.constData());
    std::array<bool, 256> used{};
    for (int start = 0; start < length; start += kStylePiece) {
        const int end = qMin(length, start + kStylePiece);
        readStyles(*widget, start, end, cells, styles.data());
        for (int i = 0; i < end - start; ++i)
            used[styleBytes[i]] = true;
    }
    Sink out(1 << 20, &device);
    out.put(documentHead(used, codePage, currentRecord()));
    BodyStream body(out, HtmlForm::File, codePage, static_cast<int>(editor.SendEditor(Sci::SCI_GETTABWIDTH)));
    for (qsizetype p = 0; p < length;) {
        const int end = static_cast<int>(qMin<qsizetype>(length, p + kStylePiece));
        readStyles(*widget, static_cast<int>(p), end, cells, styles.data());
        p = body.write(text.data(), length, p, end, styleBytes);
    }
    body.finish();
    out.put(kDocumentTail);
    return out.flush();
}

} // namespace

bool writeHtmlDocument(QIODevice &device, const StyledText &text, const HighlighterRecord *record)
{
    Sink out(1 << 20, &device);
    writeDocument(out, text, record);
    return out.flush();
}

QByteArray htmlDocument(const StyledText &text, const HighlighterRecord *record)
{
    Sink out(expectedBodySize(text) + 4096);
    writeDocument(out, text, record);
    return out.take();
}

bool ExportHTMLFile(const QString &path, clsScintilla &editor, QString *error)
{
    platform::AtomicFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const bool written = writeEditorDocument(file, editor);
    if (!file.commit() || !written) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool ExportHTMLTo(QIODevice &device, clsScintilla &editor) { return writeEditorDocument(device, editor); }

QString ExportHTMLFragment(clsScintilla &editor)
{
    const EditorStyledText text = readStyledText(editor);
    const StyledText view = styledView(text, editor);
    return QString::fromUtf8(htmlStyleSheet(view, currentRecord(), HtmlForm::Fragment) +
                             htmlBody(view, HtmlForm::Fragment));
}

bool ExportToHTML(usrScintilla &control, const QString &strFile, QString *error)
{
    return ExportHTMLFile(strFile, *control.sciMain, error);
}

QString ExportPartialHTML(usrScintilla &control) { return ExportHTMLFragment(*control.sciMain); }
