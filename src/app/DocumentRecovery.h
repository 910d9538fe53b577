#pragma once
// Keeps a copy of the document's unsaved text in the recovery folder: about two seconds after
// the last change the text is taken from the component (one copy of its bytes) and written on
// the session's worker, with where the document belongs. A save, a load or a clean end removes
// it. A folder that cannot be written is reported once; editing goes on without it.

#include "recovery/RecoveryRecord.h"
#include "recovery/RecoverySession.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

class clsScintilla;

class DocumentRecovery : public QObject {
    Q_OBJECT
public:
    // origin fills a record's localPath or server values for the document as it is now.
    DocumentRecovery(clsScintilla &editor, QString folder, std::function<void(RecoveryRecord &)> origin,
                     QObject *parent = nullptr);
    ~DocumentRecovery() override;

    // The text now matches where it is kept (opened, saved, or given up): no recovery file.
    void clean();
    // The text differs from where it is kept, whatever the component reported.
    void markChanged() { m_dirty = true; }
    // Writes the text as it is now, without waiting for the pause.
    void writeNow();
    // Waits until the worker has nothing left to do (tests, the end of the program).
    void waitIdle();

    bool available() const { return m_session != nullptr; }
    QString filePath() const { return m_session ? m_session->filePath() : QString(); }
    const QString &folder() const { return m_folder; }

    std::chrono::milliseconds pause{2000};

signals:
    // The first failure of this run, in the program's words.
    void unavailable(const QString &message);

private:
    void textChanged(int modificationType);
    void reportOnce(const QString &cause);

    clsScintilla &m_editor;
    QString m_folder;
    std::function<void(RecoveryRecord &)> m_origin;
    std::unique_ptr<recovery::RecoverySession> m_session;
    QTimer m_timer;
    bool m_dirty = false;
    bool m_reported = false;
};
