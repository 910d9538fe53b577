#include "platform/Version.h"

// PLENDOR_VERSION comes from project(... VERSION ...) of the top CMakeLists.txt.
namespace platform {

QString programVersion() { return QStringLiteral(PLENDOR_VERSION); }

} // namespace platform
