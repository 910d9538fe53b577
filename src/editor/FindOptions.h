#pragma once
// The options of one search, as the engine remembers them for find-next and find-previous.

#include <QString>

struct FindOptions {
    bool FindReverse = false;
    bool findinrng = false;
    bool WrapDocument = false;
    bool CaseSensative = false;
    bool WordStart = false;
    bool WholeWord = false;
    bool RegExp = false;
};
