#pragma once
// Call tips from an API file of signatures, one per line: typing "(" after a name shows its
// signature, each "," moves the highlight to the next parameter, ")" or "(" closes the tip.
// Entries are kept as UTF-8, so highlight offsets are offsets in the tip as the component shows it.

#include "editor/EditorPart.h"

#include <QByteArray>
#include <QString>
#include <vector>

class clsScintilla;

class CallTips : public EditorPart {
public:
    explicit CallTips(clsScintilla &editor) : m_editor(editor) {}

    void notify(const SCNotification &record) override;

    // Replaces the signatures with the file's lines (split at CR, as stored); false when the
    // file cannot be read, which leaves no file loaded.
    bool load(const QString &path);
    void unload();
    bool loaded() const { return m_loaded; }

    void show(const QString &tip);
    void stop();
    bool active() const;
    void highlight(int start, int end);

private:
    void charAdded(int ch);
    void startTip();
    void followParameters();
    void highlightParameter(std::size_t parameter);

    clsScintilla &m_editor;
    std::vector<QByteArray> m_api;
    bool m_loaded = false;
    std::size_t m_current = 0;
};
