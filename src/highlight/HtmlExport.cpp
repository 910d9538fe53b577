#include "highlight/HtmlExport.h"

#include "editor/usrScintilla.h"
#include "highlight/HtmlBodyStream.h"
#include "highlight/HtmlSink.h"
#include "highlight/modHighlighter.h"
#include "platform/AnsiCodec.h"
#include "platform/AtomicWrite.h"

#include <Qsci/qsciscintillabase.h>
#include <array>

using Sci = QsciScintillaBase;

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
constexpr char kGenerator[] = "Plendor HtmlExport - https://plendor.invalid/";

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

// Styles are read a quarter of a MiB at a time: less fresh memory to touch than a MiB.
constexpr int kStylePiece = 1 << 18;

// The component's message (of this build's patches) that copies a range's style bytes alone.
constexpr unsigned kGetStyleRange = 2990;

// The styles of [start, end), at most kStylePiece, read in bulk into styles.
void readStyles(QsciScintillaBase &widget, int start, int end, char *styles)
{
    if (widget.SendScintilla(kGetStyleRange, static_cast<long>(start), static_cast<long>(end), styles) == end - start)
        return;
    // The system's component, built without that message: styles come between the characters.
    QByteArray cells(2 * (end - start) + 2, Qt::Uninitialized);
    widget.SendScintilla(Sci::SCI_GETSTYLEDTEXT, static_cast<long>(start), static_cast<long>(end), cells.data());
    for (int i = 0; i < end - start; ++i)
        styles[i] = cells[2 * i + 1];
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
    for (int start = 0; start < length; start += kStylePiece)
        readStyles(*widget, start, qMin(length, start + kStylePiece), result.styles.data() + start);
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

void writeBody(HtmlSink &out, const StyledText &text, HtmlForm form)
{
    const qsizetype n = qMin(text.utf8.size(), text.styles.size());
    HtmlBodyStream body(out, form, text.codePage, text.tabWidth);
    body.write(text.utf8.data(), n, 0, n, reinterpret_cast<const unsigned char *>(text.styles.data()));
    body.finish();
}

// Room for the usual growth of a define document (spaces become "&nbsp;", each token a span):
// untouched room costs nothing, a copy of hundreds of megabytes does.
qsizetype expectedBodySize(const StyledText &text) { return text.utf8.size() * 12 + 4096; }

} // namespace

QByteArray htmlBody(const StyledText &text, HtmlForm form)
{
    HtmlSink out(expectedBodySize(text));
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

void writeDocument(HtmlSink &out, const StyledText &text, const HighlighterRecord *record)
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
    QByteArray styles(kStylePiece, Qt::Uninitialized);
    const auto *styleBytes = reinterpret_cast<const unsigned char *>(styles.constData());
    std::array<bool, 256> used{};
    for (int start = 0; start < length; start += kStylePiece) {
        const int end = qMin(length, start + kStylePiece);
        readStyles(*widget, start, end, styles.data());
        for (int i = 0; i < end - start; ++i)
            used[styleBytes[i]] = true;
    }
    HtmlSink out(1 << 20, &device);
    out.put(documentHead(used, codePage, currentRecord()));
    HtmlBodyStream body(out, HtmlForm::File, codePage, static_cast<int>(editor.SendEditor(Sci::SCI_GETTABWIDTH)));
    for (qsizetype p = 0; p < length;) {
        const int end = static_cast<int>(qMin<qsizetype>(length, p + kStylePiece));
        readStyles(*widget, static_cast<int>(p), end, styles.data());
        p = body.write(text.data(), length, p, end, styleBytes);
    }
    body.finish();
    out.put(kDocumentTail);
    return out.flush();
}

} // namespace

bool writeHtmlDocument(QIODevice &device, const StyledText &text, const HighlighterRecord *record)
{
    HtmlSink out(1 << 20, &device);
    writeDocument(out, text, record);
    return out.flush();
}

QByteArray htmlDocument(const StyledText &text, const HighlighterRecord *record)
{
    HtmlSink out(expectedBodySize(text) + 4096);
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
