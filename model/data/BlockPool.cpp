#include "model/data/BlockPool.h"

#include <sys/mman.h>

#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define QUIRAN_HEAP_BLOCKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUIRAN_HEAP_BLOCKS 1
#endif
#endif

#ifdef QUIRAN_HEAP_BLOCKS

bool PoolsBlocks() {
    return false;
}

void* AllocatePooledBlock(std::size_t size) {
    return ::operator new(size);
}

// Unsized: not every compiler has sized deallocation on.
void FreePooledBlock(void* block, std::size_t) noexcept {
    ::operator delete(block);
}

#else

namespace {

const std::size_t kGrain = 16; // bytes: block sizes are multiples of it, blocks aligned to it
const std::size_t kClasses = kLargestPooledBlock / kGrain;
// Slabs double from the first size up to the last, so a small architecture maps little and a
// large one few slabs. (Huge pages were tried for them: where the kernel cannot give them at once,
// its attempts cost more than the page faults they save.)
const std::size_t kFirstSlab = 256 * 1024;
const std::size_t kLastSlab = 32 * 1024 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

struct Pool {
    FreeBlock* free[kClasses] = {};
    char* next = nullptr; // the unused rest of the newest slab
    char* end = nullptr;
    std::size_t slabSize = kFirstSlab;
};

// Nothing to destroy, so objects may still be freed while the program exits.
Pool thePool;

Pool& ThePool() {
    return thePool;
}

std::size_t ClassOf(std::size_t size) {
    return size == 0 ? 0 : (size - 1) / kGrain;
}

// A new slab; false when none can be had.
bool MapSlab(Pool& pool) {
    void* address =
        mmap(nullptr, pool.slabSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED) return false;
    pool.next = static_cast<char*>(address);
    pool.end = pool.next + pool.slabSize;
    if (pool.slabSize < kLastSlab) pool.slabSize *= 2;
    return true;
}

} // namespace

bool PoolsBlocks() {
    return true;
}

void* AllocatePooledBlock(std::size_t size) {
    if (size > kLargestPooledBlock) return ::operator new(size);
    Pool& pool = ThePool();
    const std::size_t index = ClassOf(size);
    if (FreeBlock* block = pool.free[index]) {
        pool.free[index] = block->next;
        return block;
    }
    const std::size_t bytes = (index + 1) * kGrain;
    if (static_cast<std::size_t>(pool.end - pool.next) < bytes && !MapSlab(pool)) {
        // The heap's failure takes the low-memory path; its block is pooled when it is freed.
        return ::operator new(bytes);
    }
    void* block = pool.next;
    pool.next += bytes;
    return block;
}

void FreePooledBlock(void* block, std::size_t size) noexcept {
    if (block == nullptr) return;
    if (size > kLargestPooledBlock) {
        ::operator delete(block);
        return;
    }
    Pool& pool = ThePool();
    FreeBlock* freed = static_cast<FreeBlock*>(block);
    const std::size_t index = ClassOf(size);
    freed->next = pool.free[index];
    pool.free[index] = freed;
}

#endif
