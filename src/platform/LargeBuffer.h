#pragma once
// Room for a large result that one pass fills from start to end. Where the system allows, its
// memory is asked for in huge pages: fresh memory otherwise costs a page fault every 4 KiB, which
// on a virtual machine can cost ten times the pass that fills it.

#include <QByteArray>

namespace platform {

// size bytes, uninitialised.
QByteArray largeBuffer(qsizetype size);

} // namespace platform
