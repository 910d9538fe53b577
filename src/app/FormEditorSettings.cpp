#include "app/FormEditorSettings.h"

#include "editor/clsScintilla.h"

void applyFormEditorSettings(clsScintilla &editor)
{
    using Sci = QsciScintillaBase;
    editor.SendEditor(Sci::SCI_SETCODEPAGE, 936);
    editor.SendEditor(Sci::SCI_SETTABWIDTH, 5);
    const int widths[] = {40, 5, 0, 0, 0};
    for (int margin = 0; margin < 5; ++margin)
        editor.SendEditor(Sci::SCI_SETMARGINWIDTHN, static_cast<platform::WParam>(margin), widths[margin]);
}
