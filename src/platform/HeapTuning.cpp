#include "platform/HeapTuning.h"

#include <malloc.h>

namespace
{
// Blocks up to the largest size the C library allows come from the heap,
// never from a mapping of their own that is unmapped again when freed.
constexpr int LARGEST_HEAP_BLOCK = 32 * 1024 * 1024;
// The heap gives memory back only when this much lies free at its top.
constexpr int KEPT_FREE_MEMORY = 64 * 1024 * 1024;
} // namespace

void keepFreedMemoryForReuse()
{
    mallopt(M_MMAP_THRESHOLD, LARGEST_HEAP_BLOCK);
    mallopt(M_TRIM_THRESHOLD, KEPT_FREE_MEMORY);
}
