#pragma once
// Where the program's own files live (highlighters, "KeyWord.txt", "findList.txt"):
// the executable's folder, unless a test points it elsewhere.

#include <QString>

namespace platform {

QString programFolder();
void setProgramFolder(const QString &folder); // empty restores the executable's folder
QString executableName();                      // without extension, e.g. "plendor"

} // namespace platform
