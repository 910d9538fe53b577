// frmMain: opening, dropping, saving to local files, and the escape and restore commands.

#include "app/EscapeInBackground.h"
#include "app/LaunchParams.h"
#include "app/frmMain.h"
#include "document/ByteForm.h"
#include "document/DefineEscaping.h"
#include "platform/AtomicWrite.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

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

void frmMain::openPath(const QString &path, bool clearUndo)
{
    if (m_obj->wrapper().LoadDocument(path) == clsScintilla::LoadResult::Declined)
        return;
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
    checkDocumentNow();
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
    const EscapeOutcome stored = escapeInBackground(wrapper().GetText(), m_prompt, busyAfter);
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
    const std::optional<QByteArray> bytes = storedFormBytes(kFailureSuffix);
    if (!bytes)
        return -1;

    QString error;
    if (!platform::writeFileAtomically(strFileName, *bytes, &error)) {
        m_prompt.inform(platform::appTitle(), error + kFailureSuffix, Icon::Information);
        return -1;
    }
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
    const EscapeOutcome stored = escapeInBackground(wrapper().GetText(), m_prompt, busyAfter);
    if (stored.cancelled)
        return;
    if (!stored.ok()) {
        m_prompt.inform(platform::appTitle(), stored.error, Icon::Information);
        return;
    }
    m_obj->wrapper().LetText(stored.text);
}

void frmMain::restoreCommand() { wrapper().LetText(UnescapeDefineText(m_obj->wrapper().GetText())); }
