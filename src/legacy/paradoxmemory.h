#pragma once

#include <cstddef>
#include <unordered_set>

struct px_doc;

// Every block pxlib takes for one table document. pxlib gives some blocks back
// twice when an open fails, and forgets others; so its own frees are ignored and
// every block is given back once, by release() (the document is gone by then).
// A document reads without taking memory, so nothing piles up meanwhile.
class ParadoxMemory
{
public:
    ParadoxMemory() = default;
    ~ParadoxMemory();
    ParadoxMemory(const ParadoxMemory &) = delete;
    ParadoxMemory &operator=(const ParadoxMemory &) = delete;

    void release();

    // pxlib's allocators find the blocks of the document being worked on through
    // the Use in scope around every call into pxlib.
    class Use
    {
    public:
        explicit Use(ParadoxMemory &memory);
        ~Use();
        Use(const Use &) = delete;
        Use &operator=(const Use &) = delete;

    private:
        ParadoxMemory *m_previous;
    };

    static void *allocate(px_doc *, std::size_t size, const char *caller);
    static void *reallocate(px_doc *, void *block, std::size_t size, const char *caller);
    static void keepUntilRelease(px_doc *, void *block);

private:
    std::unordered_set<void *> m_blocks;
};
