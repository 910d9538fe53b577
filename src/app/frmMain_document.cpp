// frmMain: opening, dropping, saving to local files, and the escape and restore commands.

#include "app/DefineCheckRunner.h"
#include "app/DocumentRecovery.h"
#include "app/EscapeInBackground.h"
#include "app/LaunchParams.h"
#include "app/frmMain.h"
#include "document/ByteForm.h"
#include "document/DefineEscaping.h"
#include "platform/AtomicWrite.h"
#include "platform/FileStamp.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <string_view>

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {
const QString kFilter = QStringLiteral("*.xml (*.xml);;*.txt (*.txt)");
const QString kDefaultSuffix = QStringLiteral("xml");
const QString kFailureSuffix = QStringLiteral("文件只读或被占用");

QStringList localFiles(const QMimeData *mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

// Whether the stored text has a defineSqls element anywhere (a plain XML or SQL file has none).
bool holdsDefineSqls(QByteArrayView stored)
{
    static constexpr QByteArrayView kOpening("<defineSqls");
    for (qsizetype at = stored.indexOf(kOpening); at >= 0; at = stored.indexOf(kOpening, at + 1)) {
        const qsizetype next = at + kOpening.size();
        if (next >= stored.size() || std::string_view(" \t\r\n/>").find(stored[next]) != std::string_view::npos)
            return true;
    }
    return false;
}
} // namespace

void frmMain::setTitleFromFileName(const QString &name)
{
    setWindowTitle(strBaseCaption + QLatin1Char('[') + name + QLatin1Char(']'));
}

bool frmMain::askSaveBeforeOpen()
{
    if (!bTextChanged)
        return false;
    const Answer answer = m_prompt.ask(platform::appTitle(), QStringLiteral("内容已被修改,是否保存?"), Buttons::YesNo,
                                       Icon::Information, Answer::Yes);
    if (answer != Answer::Yes)
        return false;
    SaveLocal();
    return true;
}

bool frmMain::askOpenUnreadableBytes(qsizetype offset)
{
    return m_prompt.ask(platform::appTitle(),
                        QStringLiteral("文件中有 GBK 编码无法识别的字节(从第 %1 个字节起),保存后这些字节将被改变。"
                                       "是否仍然打开?")
                            .arg(offset + 1),
                        Buttons::YesNo, Icon::Warning, Answer::No) == Answer::Yes;
}

bool frmMain::askOpenNulBytes(qsizetype offset)
{
    return m_prompt.ask(platform::appTitle(),
                        QStringLiteral("文件中有 NUL 字符(第 %1 个字节),这通常不是文本文件,NUL 字符将原样保存。"
                                       "是否仍然打开?")
                            .arg(offset + 1),
                        Buttons::YesNo, Icon::Warning, Answer::No) == Answer::Yes;
}

void frmMain::offerInterruptedSave(const QString &path)
{
    const QString copy = platform::interruptedSaveCopy(path);
    if (copy.isEmpty())
        return;
    if (m_prompt.ask(platform::appTitle(),
                     QStringLiteral("上次保存该文件时被中断,文件可能不完整,原来的内容保存在 %1。是否恢复原来的内容?")
                         .arg(copy),
                     Buttons::YesNo, Icon::Warning, Answer::Yes) != Answer::Yes)
        return;
    QString error;
    if (!platform::restoreInterruptedSave(path, &error))
        m_prompt.inform(platform::appTitle(), QStringLiteral("原来的内容无法恢复: ") + error, Icon::Warning);
}

bool frmMain::confirmSaveNotDefine()
{
    if (!m_askNotDefineBeforeSave)
        return true;
    if (m_prompt.ask(platform::appTitle(), QStringLiteral("该文件不像定义文件,保存时将按定义文件转义。是否继续保存?"),
                     Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes)
        return false;
    m_askNotDefineBeforeSave = false;
    return true;
}

bool frmMain::confirmOverwriteChanged()
{
    if (m_stampPath != strFileName || !platform::changedSince(m_diskStamp, strFileName))
        return true;
    return m_prompt.ask(platform::appTitle(), QStringLiteral("文件已被其他程序修改。是否覆盖?"), Buttons::YesNo,
                        Icon::Warning, Answer::No) == Answer::Yes;
}

void frmMain::openPath(const QString &path, bool clearUndo)
{
    offerInterruptedSave(path);
    if (m_obj->wrapper().LoadDocument(path) == clsScintilla::LoadResult::Declined)
        return;
    m_diskStamp = platform::FileStamp::of(path);
    m_stampPath = path;
    m_askNotDefineBeforeSave = false;
    m_obj->editor().SetFocusEx();
    strFileName = path;
    // Unescaped from the object window's own bytes: a large file has no copies to spare.
    const QByteArrayView stored = m_obj->wrapper().TextBytesView();
    if (clearUndo) {
        UnescapingReader readable(stored);
        wrapper().LoadTextPieces(readable.readableSize(), [&readable] { return readable.next(); });
    } else {
        wrapper().SetTextBytes(unescapeDefineUtf8(QByteArray::fromRawData(stored.data(), stored.size())));
    }
    wrapper().SetFocus();
    if (clearUndo) {
        sciMain->ClearUndoBuffer();
        m_obj->editor().ClearUndoBuffer();
    }
    setTitleFromFileName(strFileName);
    bTextChanged = false;
    m_recovery->clean();
    rememberRecentFile(path);
    checkDocumentNow();
}

void frmMain::openFromCommandLine(const QString &path)
{
    openPath(path);
    // A file that is not a define file (a plain XML or SQL file) would be escaped by a save,
    // so its first save asks.
    const QByteArrayView stored = m_obj->wrapper().TextBytesView();
    if (m_stampPath == path && m_diskStamp.known && !stored.isEmpty() && !holdsDefineSqls(stored))
        m_askNotDefineBeforeSave = true;
}

void frmMain::openCommand()
{
    if (askSaveBeforeOpen())
        return;
    const QString path = m_prompt.chooseOpenFile(QString(), kFilter, kDefaultSuffix);
    if (path.isEmpty())
        return;
    openPath(path);
}

void frmMain::openDropped(const QStringList &paths)
{
    if (paths.isEmpty() || askSaveBeforeOpen())
        return;
    openPath(paths.first());
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!ServerMode() && !localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent *event)
{
    if (filesDropped(event->mimeData()))
        event->acceptProposedAction();
}

bool frmMain::filesDropped(const QMimeData *mime)
{
    if (ServerMode())
        return false;
    const QStringList files = localFiles(mime);
    if (files.isEmpty())
        return false;
    openDropped(files);
    return true;
}

void frmMain::sciMain_OpenFileUrl(const QString &file)
{
    // The server document stays the one named at start.
    if (ServerMode() || file.isEmpty() || askSaveBeforeOpen())
        return;
    openPath(file, false);
}

bool frmMain::confirmOverwrite(const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    return m_prompt.ask(platform::appTitle(), QStringLiteral("文件已存在,是否覆盖?"), Buttons::YesNo, Icon::Question,
                        Answer::No) == Answer::Yes;
}

bool frmMain::refuseReadOnly(const QString &path)
{
    const QFileInfo info(path);
    // The owner's write bit is the read-only attribute here (root may write anything).
    if (!info.exists() || (info.permissions() & QFileDevice::WriteOwner))
        return false;
    m_prompt.inform(platform::appTitle(), QStringLiteral("只读文件,不能保存"), Icon::Information);
    return true;
}

std::optional<QByteArray> frmMain::storedFormBytes(const QString &failureSuffix)
{
    const EscapeOutcome stored = escapeInBackground(wrapper().GetText(), m_prompt, busyAfter, m_checkRunner->ruleFile());
    if (stored.cancelled)
        return std::nullopt;
    if (!stored.ok()) {
        m_prompt.inform(platform::appTitle(), stored.error + failureSuffix, Icon::Information);
        return std::nullopt;
    }
    m_obj->wrapper().SetText(stored.text);

    const ByteForm form = toByteForm(m_obj->wrapper().GetText(), m_obj->wrapper().codec());
    if (!form.lossless &&
        m_prompt.ask(platform::appTitle(), lossyByteFormQuestion(form), Buttons::YesNo, Icon::Warning, Answer::No) !=
            Answer::Yes)
        return std::nullopt;
    return form.bytes;
}

int frmMain::writeStoredForm()
{
    setTitleFromFileName(strFileName);
    if (!confirmSaveNotDefine())
        return -1;
    const std::optional<QByteArray> bytes = storedFormBytes(kFailureSuffix);
    if (!bytes || !confirmOverwriteChanged())
        return -1;

    QString error;
    if (!platform::writeFileAtomically(strFileName, *bytes, &error)) {
        m_prompt.inform(platform::appTitle(), error + kFailureSuffix, Icon::Information);
        return -1;
    }
    m_diskStamp = platform::FileStamp::afterWrite(strFileName, *bytes);
    m_stampPath = strFileName;
    m_recovery->clean();
    rememberRecentFile(strFileName);
    checkDocumentNow();
    return 1;
}

int frmMain::SaveLocal()
{
    bool chosenNow = false;
    if (strFileName.isEmpty()) {
        const QString path = m_prompt.chooseSaveFile(QString(), kFilter, kDefaultSuffix, QString());
        if (path.isEmpty())
            return -1;
        strFileName = path;
        chosenNow = true;
    }
    if (chosenNow && !confirmOverwrite(strFileName))
        return -1;
    if (refuseReadOnly(strFileName))
        return -1;
    if (writeStoredForm() != 1)
        return -1;
    bTextChanged = false;
    return 1;
}

void frmMain::SaveLocalAs()
{
    const QString path = m_prompt.chooseSaveFile(QString(), kFilter, kDefaultSuffix, strFileName);
    if (path.isEmpty())
        return;
    strFileName = path;
    if (!confirmOverwrite(strFileName) || refuseReadOnly(strFileName))
        return;
    if (writeStoredForm() == 1)
        bTextChanged = false;
}

void frmMain::escapeCommand()
{
    const EscapeOutcome stored = escapeInBackground(wrapper().GetText(), m_prompt, busyAfter, m_checkRunner->ruleFile());
    if (stored.cancelled)
        return;
    if (!stored.ok()) {
        m_prompt.inform(platform::appTitle(), stored.error, Icon::Information);
        return;
    }
    m_obj->wrapper().LetText(stored.text);
}

void frmMain::restoreCommand() { wrapper().LetText(UnescapeDefineText(m_obj->wrapper().GetText())); }
