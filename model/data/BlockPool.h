#pragma once

// The memory of the many small objects a large architecture is made of (elements, planes,
// connections), taken from large slabs instead of one heap block each. A block costs no header
// and its free is one push: at 100 000 elements clearing an architecture gave back half a million
// heap blocks, and the allocator's sorting of them was most of quitting. A freed block waits on a
// list of its size for the next object of that size; slabs are kept for the process's life, and
// their pages are only used once written.
//
// Blocks up to kLargestPooledBlock bytes come from the pool, larger ones from the heap. When no
// slab can be had, the block comes from the heap, whose failure takes the program's low-memory
// path. Under AddressSanitizer every block is a heap block, so that its checks see each object.
// Single-threaded, as the program is.

#include <cstddef>

const std::size_t kLargestPooledBlock = 1024; // bytes

// False where every block is a heap block (under AddressSanitizer).
bool PoolsBlocks();
// A block of at least size bytes, aligned for any object.
void* AllocatePooledBlock(std::size_t size);
// Gives back a block of AllocatePooledBlock with the size it was asked for.
void FreePooledBlock(void* block, std::size_t size) noexcept;

// A class derives from this to have its objects' memory from the pool. Deleting through a base
// with a virtual destructor passes the size of the object's own class.
class PooledObject {
public:
    static void* operator new(std::size_t size) { return AllocatePooledBlock(size); }
    static void operator delete(void* block, std::size_t size) noexcept {
        FreePooledBlock(block, size);
    }
};
