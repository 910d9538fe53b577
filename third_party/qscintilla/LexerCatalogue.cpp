// The lexers this program can select. Scintilla's own catalogue links every lexer it ships;
// the editor colours define files with the SQL lexer only (and falls back to the null lexer),
// so the library carries just those two.

#include <cstring>
#include <stdexcept>
#include <vector>

#include "ILexer.h"
#include "SciLexer.h"
#include "Scintilla.h"

// LexerModule.h must come before Catalogue.h, which does not include it.
#include "LexerModule.h"
#include "Catalogue.h"

using namespace Scintilla;

extern LexerModule lmNull;
extern LexerModule lmSQL;

namespace {
const LexerModule *const lexers[] = {&lmNull, &lmSQL};
}

const LexerModule *Catalogue::Find(int language)
{
    for (const LexerModule *lm : lexers)
        if (lm->GetLanguage() == language)
            return lm;
    return nullptr;
}

const LexerModule *Catalogue::Find(const char *languageName)
{
    if (!languageName)
        return nullptr;
    for (const LexerModule *lm : lexers)
        if (lm->languageName && std::strcmp(lm->languageName, languageName) == 0)
            return lm;
    return nullptr;
}

// Lexers added at run time (external lexer libraries) are not supported.
void Catalogue::AddLexerModule(LexerModule *) {}

int Scintilla_LinkLexers()
{
    return 0;
}
