#include "highlight/usrHighlighters.h"

#include "editor/usrScintilla.h"
#include "highlight/modHighlighter.h"

usrHighlighters::~usrHighlighters() { modHighlighter::ClearHighlighters(); }

void usrHighlighters::LoadHighlighters() { modHighlighter::LoadHighlighterFiles(m_dir); }

void usrHighlighters::SetHighlighterEditor(usrScintilla &editor, const QString &name)
{
    modHighlighter::ApplyHighlighter(*editor.sciMain, name);
    editor.setCurHighlighter(name);
}

void usrHighlighters::SetHighlighterExt(usrScintilla &editor, const QString &fileName)
{
    const QString name = modHighlighter::HighlighterForExtension(modHighlighter::FileExtension(fileName));
    modHighlighter::ApplyHighlighter(*editor.sciMain, name);
    editor.setCurHighlighter(name);
}

void usrHighlighters::DoOptions()
{
    // A copy: a host's handler may load or clear the table.
    const std::vector<HighlighterRecord> table = modHighlighter::HighlighterTable;
    for (const HighlighterRecord &r : table)
        emit GetHighlighters(r.Name, r.Extensions);
}
