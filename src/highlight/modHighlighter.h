#pragma once
// The process-wide table of loaded highlighters: reads the highlighter files of a folder, finds
// a highlighter by name or by file extension, and applies one to an editing window.

#include "highlight/HighlighterRecord.h"

#include <QString>
#include <vector>

class clsScintilla;

namespace modHighlighter {

// Shared by every highlighter manager and by the HTML export.
extern std::vector<HighlighterRecord> HighlighterTable;
// The index of the highlighter applied last; read by the HTML export.
extern int CurrentHighlighterIndex;

inline int HighlighterCount() { return static_cast<int>(HighlighterTable.size()); }
void ClearHighlighters();

// Appends every file of the folder whose name ends in "bin" (in any case), sorted by name so
// that the fallback highlighter 0 is the same on every machine. A file that cannot be read
// ends the load; the records before it stay.
void LoadHighlighterFiles(const QString &folder);
// Appends the file's record; false, leaving the table as it was, when it cannot be read.
bool LoadHighlighterFile(const QString &path);

// The first record whose name equals it without regard to case; 0 when none does.
int FindHighlighter(const QString &name);
// False, sending nothing, when no highlighter is loaded.
bool ApplyHighlighter(clsScintilla &editor, const QString &name);

// The text after the last "." lower-cased; " " when there is no ".".
QString FileExtension(const QString &fileName);
// The name of the last record whose extensions contain it; empty when none does.
QString HighlighterForExtension(const QString &extension);

} // namespace modHighlighter
