#pragma once
// What both forms send to their editor after creating it: the code page of the document's
// bytes, the tab width, and the margins (line numbers, a narrow flags margin, no fold margin).

class clsScintilla;

void applyFormEditorSettings(clsScintilla &editor);
