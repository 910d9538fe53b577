#include "highlight/modHighlighter.h"

#include "editor/clsScintilla.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace modHighlighter {

std::vector<HighlighterRecord> HighlighterTable;
int CurrentHighlighterIndex = 0;

void ClearHighlighters() { HighlighterTable.clear(); }

namespace {
// A FIFO, device, socket or folder: passed over. A file that cannot be read at all is not, so
// that it ends the load as any unreadable file does.
bool isSpecialFile(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}
} // namespace

void LoadHighlighterFiles(const QString &folder)
{
    const QDir dir(folder);
    QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    names.sort(Qt::CaseSensitive);
    for (const QString &name : std::as_const(names)) {
        // Only regular files: opening a FIFO would wait for a writer for ever.
        if (!name.endsWith(QLatin1String("bin"), Qt::CaseInsensitive) || isSpecialFile(dir.filePath(name)))
            continue;
        if (!LoadHighlighterFile(dir.filePath(name)))
            return;
    }
}

bool LoadHighlighterFile(const QString &path)
{
    // Opened without waiting, and read only when it is a regular file.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    // Bytes after the record are ignored, so a huge file is never read whole.
    const QByteArray bytes = file.read(kMaxHighlighterRecordBytes);
    if (file.error() != QFileDevice::NoError)
        return false;
    HighlighterRecord record = readHighlighterRecord(bytes);
    record.FilePath = path;
    HighlighterTable.push_back(std::move(record));
    return true;
}

int FindHighlighter(const QString &name)
{
    const QString wanted = name.toUpper();
    for (int i = 0; i < HighlighterCount(); ++i) {
        if (HighlighterTable[i].Name.toUpper() == wanted)
            return i;
    }
    return 0;
}

bool ApplyHighlighter(clsScintilla &editor, const QString &name)
{
    if (HighlighterTable.empty())
        return false;
    const int i = FindHighlighter(name);
    const HighlighterRecord &r = HighlighterTable[i];
    editor.StyleClearAll();
    editor.StartStyle();
    editor.lHighlighterNum = i;
    for (int s = 0; s < kHighlighterStyles; ++s) {
        editor.SetStyleBold(s, r.Bold[s] != 0);
        editor.SetStyleItalic(s, r.Italic[s] != 0);
        editor.SetStyleUnderline(s, r.Underline[s] != 0);
        editor.SetStyleVisible(s, r.Visible[s]);
        if (!r.Font[s].isEmpty())
            editor.SetStyleFont(s, r.Font[s]);
        editor.SetStyleFore(s, r.Fore[s]);
        editor.SetStyleBack(s, r.Back[s]);
        editor.SetStyleSize(s, r.Size[s]);
        editor.SetStyleEOLFilled(s, r.EOLFilled[s] != 0);
    }
    for (int k = 0; k < kHighlighterKeywordLists; ++k) {
        if (!r.Keywords[k].isEmpty())
            editor.SetKeywords(k, r.Keywords[k]);
    }
    editor.SetStyleBits(name.toLower() == QLatin1String("html") ? 7 : 5);
    editor.SetLexer(r.Lexer);
    editor.Colourise();
    CurrentHighlighterIndex = i;
    return true;
}

QString FileExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QStringLiteral(" ") : fileName.mid(dot + 1).toLower();
}

QString HighlighterForExtension(const QString &extension)
{
    const qsizetype dot = extension.lastIndexOf(QLatin1Char('.'));
    const QString wanted = (dot < 0 ? extension : extension.mid(dot + 1)).toLower();
    QString found;
    for (const HighlighterRecord &r : HighlighterTable) {
        if (!r.Extensions.isEmpty() && r.Extensions.contains(wanted))
            found = r.Name;
    }
    return found;
}

} // namespace modHighlighter
