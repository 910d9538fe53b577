// The find history "findList.txt": whatever the file holds, reading it never fails, and one
// more search puts the new text first and keeps the first 51 old lines as they read.

#include "FuzzSupport.h"
#include "dialogs/FindHistory.h"
#include "platform/AnsiCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    fuzz::expect("write the history file", file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                                               file.write(bytes) == bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::unique_ptr<QTemporaryDir> scratch = fuzz::newScratchFolder();
    const QTemporaryDir &folder = *scratch;
    const QByteArray input = fuzz::bytes(data, size);
    const QString historyPath = QDir(folder.path()).filePath(QStringLiteral("findList.txt"));
    writeFile(historyPath, input);

    const QStringList before = FindHistory::LoadFindList(folder.path());
    for (const QString &line : before)
        fuzz::expect("an entry holds no line end", !line.contains(u'\n'));
    // A last line without its line end still counts, unless nothing but a CR follows the last LF.
    const qsizetype lineEnds = input.count('\n');
    fuzz::expect("every line is an entry", before.size() == lineEnds || before.size() == lineEnds + 1);

    const QString searched = QStringLiteral("select 查找");
    fuzz::expect("adding to the history succeeds", FindHistory::AddToFindList(folder.path(), searched));
    const QStringList after = FindHistory::LoadFindList(folder.path());
    fuzz::expect("the history holds at most 52 entries", after.size() == std::min<qsizetype>(before.size() + 1, FindHistory::kMaxEntries));
    fuzz::expectEqual("the new text comes first", after.value(0), searched);
    const platform::AnsiCodec codec;
    for (qsizetype i = 1; i < after.size(); ++i) {
        // An entry that the code page cannot read reads back as its replacement characters do.
        const QString old = before.at(i - 1);
        fuzz::expectEqual("old entries follow in order", after.at(i), codec.decode(codec.encode(old)));
    }
    fuzz::expect("no rewrite file is left", !QFile::exists(QDir(folder.path()).filePath(QStringLiteral("findlist.bak"))));
    return 0;
}
