#pragma once
// The program's version, set in one place: project(... VERSION ...) of the top CMakeLists.txt.

#include <QString>

namespace platform {

QString programVersion(); // e.g. "0.1"

} // namespace platform
