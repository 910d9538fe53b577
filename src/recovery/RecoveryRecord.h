#pragma once
// What a recovery file holds: the readable text of a document with unsaved changes and what is
// needed to save it where the document belongs. A header line, one line of JSON and the text's
// bytes: a truncated or foreign file is told apart from ours before anything is offered.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <optional>

struct RecoveryRecord {
    QString owner;   // the token of the editor that wrote it (its file names)
    qint64 pid = 0;  // that editor's process, for the log
    QDateTime writtenAt;
    QString localPath;              // the local file; empty for an untitled or a server document
    QMap<QString, QString> server;  // a server document's launch values; empty otherwise
    QByteArray text;                // the readable text, UTF-8

    bool isServer() const { return !server.isEmpty(); }
};

// The header line and the JSON line, without the text.
QByteArray recoveryHeader(const RecoveryRecord &record);
QByteArray serializeRecovery(const RecoveryRecord &record);
// Nothing, with the reason in *why, for anything but a complete file of ours.
std::optional<RecoveryRecord> parseRecovery(QByteArrayView bytes, QString *why = nullptr);
