#include "app/DocumentRecovery.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

DocumentRecovery::DocumentRecovery(clsScintilla &editor, QString folder, std::function<void(RecoveryRecord &)> origin,
                                   QObject *parent)
    : QObject(parent), m_editor(editor), m_folder(std::move(folder)), m_origin(std::move(origin))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &DocumentRecovery::writeNow);
    QString error;
    m_session = recovery::RecoverySession::start(m_folder, &error);
    if (!m_session) {
        // Said once the window is up, where the status bar can show it.
        QMetaObject::invokeMethod(this, [this, error] { reportOnce(error); }, Qt::QueuedConnection);
        return;
    }
    m_session->onWriteFailed = [this](const QString &cause) {
        QMetaObject::invokeMethod(this, [this, cause] { reportOnce(cause); }, Qt::QueuedConnection);
    };
    connect(editor.widget(), &Sci::SCN_MODIFIED, this,
            [this](int, int type, const char *, int, int, int, int, int, int, int) { textChanged(type); });
}

DocumentRecovery::~DocumentRecovery()
{
    // The session's end removes the file: a window that goes away ends the program cleanly.
    m_session.reset();
}

void DocumentRecovery::textChanged(int modificationType)
{
    // Large changes announce themselves only before they are made (BulkChange.h).
    constexpr int kTextChanges = Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT | Sci::SC_MOD_BEFOREINSERT |
                                 Sci::SC_MOD_BEFOREDELETE;
    if (!(modificationType & kTextChanges))
        return;
    m_dirty = true;
    m_timer.start(pause);
}

void DocumentRecovery::writeNow()
{
    m_timer.stop();
    if (!m_session || !m_dirty)
        return;
    RecoveryRecord record;
    m_origin(record);
    record.text = m_editor.TextBytesView().toByteArray();
    m_session->save(std::move(record));
}

void DocumentRecovery::clean()
{
    m_timer.stop();
    m_dirty = false;
    if (m_session)
        m_session->discard();
}

void DocumentRecovery::waitIdle()
{
    if (m_session)
        m_session->waitIdle();
}

void DocumentRecovery::reportOnce(const QString &cause)
{
    if (m_reported)
        return;
    m_reported = true;
    emit unavailable(QStringLiteral("无法保存恢复文件(%1),未保存的修改在程序意外退出时将会丢失").arg(cause));
}
