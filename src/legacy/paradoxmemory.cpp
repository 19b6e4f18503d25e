#include "legacy/paradoxmemory.h"

#include <QtGlobal>

#include <cstdlib>

namespace {

thread_local ParadoxMemory *inUse = nullptr;

ParadoxMemory &current()
{
    Q_ASSERT_X(inUse != nullptr, "ParadoxMemory", "pxlib called outside a ParadoxMemory::Use");
    return *inUse;
}

} // namespace

ParadoxMemory::~ParadoxMemory()
{
    release();
}

void ParadoxMemory::release()
{
    for (void *block : m_blocks) {
        std::free(block);
    }
    m_blocks.clear();
}

ParadoxMemory::Use::Use(ParadoxMemory &memory)
    : m_previous(inUse)
{
    inUse = &memory;
}

ParadoxMemory::Use::~Use()
{
    inUse = m_previous;
}

void *ParadoxMemory::allocate(px_doc *, std::size_t size, const char *)
{
    void *block = std::malloc(size);
    if (block != nullptr) {
        current().m_blocks.insert(block);
    }
    return block;
}

void *ParadoxMemory::reallocate(px_doc *, void *block, std::size_t size, const char *)
{
    ParadoxMemory &memory = current();
    if (block != nullptr && memory.m_blocks.erase(block) == 0) {
        return nullptr; // not a block of this document: refuse rather than corrupt
    }
    void *moved = std::realloc(block, size);
    void *kept = moved != nullptr ? moved : block; // a failed realloc leaves the block
    if (kept != nullptr) {
        memory.m_blocks.insert(kept);
    }
    return moved;
}

void ParadoxMemory::keepUntilRelease(px_doc *, void *)
{
}
