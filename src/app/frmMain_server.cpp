// frmMain: saving the document to the platform's servlet in server mode.

#include "app/DocumentRecovery.h"
#include "app/LaunchParams.h"
#include "app/frmMain.h"
#include "link/ServletClient.h"

#include <QStringDecoder>

using platform::Icon;

namespace {
// A message box shows at most this much of an answer; the rest is counted, not shown.
constexpr qsizetype kShownAnswer = 4000;

// The servlet's answer as text: UTF-8 when it is valid UTF-8, the ANSI code page otherwise.
QString answerText(const QByteArray &body)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(body);
    return utf8.hasError() ? platform::AnsiCodec().decode(body) : text;
}
} // namespace

bool frmMain::SaveDefineToServer()
{
    const std::optional<QByteArray> body = storedFormBytes(QString());
    if (!body)
        return false;
    ServletClient client(servletSessionFrom(launchParams()), servletTimeout);
    const HttpResponse answer = client.PostToServletWithCookie(
        QStringLiteral("saveDefineFile"), *body, QStringLiteral("&fileName=") + launchParams().UpLoadFileName,
        QString());
    showUploadAnswer(answer);
    if (answer.isSuccess())
        m_recovery->clean();
    checkDocumentNow();
    // A failed transfer or an error status must never let the window close as if saved.
    return answer.isSuccess();
}

void frmMain::showUploadAnswer(const HttpResponse &answer)
{
    if (!answer.ok) {
        m_prompt.inform(platform::appTitle(), QStringLiteral("上传失败,文件没有保存到服务器: ") + answer.error,
                        Icon::Critical);
        return;
    }
    QString text = answerText(answer.body);
    if (text.size() > kShownAnswer) {
        const qsizetype rest = text.size() - kShownAnswer;
        text.truncate(kShownAnswer);
        text += QStringLiteral("\n…(其余 %1 个字符未显示)").arg(rest);
    }
    if (!answer.isSuccess()) {
        // Whatever the body says, the file was not saved: the message must say so first.
        QString failed = QStringLiteral("上传失败,服务器返回 HTTP %1").arg(answer.status);
        if (!text.isEmpty())
            failed += QLatin1Char('\n') + text;
        m_prompt.inform(QStringLiteral("Sarvent"), failed, Icon::Critical);
        return;
    }
    bTextChanged = false;
    m_prompt.inform(QStringLiteral("Sarvent"), text, Icon::Information);
}
