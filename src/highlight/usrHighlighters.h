#pragma once
// The highlighter manager a window places beside its editor control: knows the highlighter
// folder, loads it into the shared table, applies a highlighter by name or by file extension,
// and lists the loaded highlighters to its host. Destroying any manager empties the table.

#include <QObject>
#include <QString>

class usrScintilla;

class usrHighlighters : public QObject {
    Q_OBJECT
public:
    explicit usrHighlighters(QObject *parent = nullptr) : QObject(parent) {}
    ~usrHighlighters() override;

    QString HighlighterDir() const { return m_dir; }
    void setHighlighterDir(const QString &dir) { m_dir = dir; }

    // Never fails; what could be read stays loaded.
    void LoadHighlighters();
    // With no highlighter loaded nothing is applied and the editor keeps its styles.
    void SetHighlighterEditor(usrScintilla &editor, const QString &name);
    void SetHighlighterExt(usrScintilla &editor, const QString &fileName);
    // Raises GetHighlighters once per loaded highlighter, in table order.
    void DoOptions();

signals:
    void GetHighlighters(const QString &HighlighterName, const QString &HighlighterExt);

private:
    QString m_dir;
};
