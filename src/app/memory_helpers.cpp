#include "app/memory_helpers.h"

#include "app/messages.h"
#include "platform/dialog_service.h"

#include <new>

using platform::box::IconStop;

TGlobalMemory GLB_allocate_global_memory(qsizetype size, bool zeroFilled) {
    try {
        auto block = std::make_unique<QByteArray>();
        if (zeroFilled) {
            block->fill('\0', size);
        } else {
            block->resize(size);
        }
        if (block->size() != size) throw std::bad_alloc();
        return block;
    } catch (const std::bad_alloc&) {
        GLB_show_message(QStringLiteral("Could not globally allocate!"), IconStop);
        return nullptr;
    }
}

void GLB_free_global_memory(TGlobalMemory& block) {
    if (!block) {
        GLB_show_message(QStringLiteral("GlobalFree with parameter = 0!"), IconStop);
        return;
    }
    block.reset();
}
