#pragma once
// Where the program's own files live (highlighters, "KeyWord.txt", "findList.txt"):
// the executable's folder, unless a test points it elsewhere. An installed program also has a
// shared data folder, PREFIX/share/plendor beside PREFIX/bin, for the files it only reads, and
// reads the site's files (the rule file an administrator edits) from /etc/plendor.

#include <QString>

namespace platform {

QString programFolder();
void setProgramFolder(const QString &folder); // empty restores the executable's folder
QString executableName();                      // without extension, e.g. "plendor"

// <executable's folder>/../share/plendor, computed from where the executable is, so that a
// moved installation still finds its files.
QString sharedDataFolder();
void setSharedDataFolder(const QString &folder); // empty restores the computed folder

// An installed program: one whose shared data folder exists. It never writes beside itself.
bool isInstalledProgram();

// The site's configuration folder of an installed program, /etc/plendor.
QString siteConfigFolder();
void setSiteConfigFolder(const QString &folder); // empty restores /etc/plendor

// A file or folder the program reads ("KeyWord.txt", "highlighters"): its path in the program
// folder when it is there; for an installed program, else in the site's folder, else in the
// shared data folder, when it is there; else the program folder's path (which then does not
// exist). A program run from its build folder never reads the machine's /etc.
QString findProgramFile(const QString &name);

} // namespace platform
