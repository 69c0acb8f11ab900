#pragma once

#include <QByteArray>
#include <memory>

// A block of memory that the picture routines fill and hand around.
using TGlobalMemory = std::unique_ptr<QByteArray>;
TGlobalMemory GLB_allocate_global_memory(qsizetype size, bool zeroFilled);
void GLB_free_global_memory(TGlobalMemory& block);
