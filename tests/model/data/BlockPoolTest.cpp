#include "model/data/BlockPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Blocks of every size up to beyond the pooled ones, each filled with its own byte, live together
// and are given back in a mixed order: none overlaps another or is misaligned.
TEST(BlockPool, BlocksOfEverySizeHoldTheirBytes) {
    struct Held {
        unsigned char* block;
        std::size_t size;
    };
    std::vector<Held> held;
    for (int round = 0; round < 3; round++) {
        for (std::size_t size = 1; size <= kLargestPooledBlock + 100; size += 7) {
            auto* block = static_cast<unsigned char*>(AllocatePooledBlock(size));
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u) << size;
            std::memset(block, static_cast<int>(held.size() % 251), size);
            held.push_back({block, size});
        }
        // Every other block goes, and as many new ones come, before the next round.
        for (size_t i = held.size(); i-- > 0;) {
            if (i % 2 == 0) continue;
            FreePooledBlock(held[i].block, held[i].size);
            held.erase(held.begin() + static_cast<long>(i));
        }
    }
    for (size_t i = 0; i < held.size(); i++) {
        for (std::size_t k = 0; k < held[i].size; k++) {
            ASSERT_EQ(held[i].block[k], held[i].block[0]) << i;
        }
    }
    for (const Held& h : held)
        FreePooledBlock(h.block, h.size);
}

struct Base : PooledObject {
    virtual ~Base() = default;
    char small[24];
};
struct Derived : Base {
    char large[400];
};

// Deleting through the base gives the pool the derived class's size: the block comes back for the
// next derived object, never for a smaller one that would be handed a block of the wrong size.
TEST(BlockPool, DeletingThroughTheBaseFreesTheObjectsOwnSize) {
    if (!PoolsBlocks()) GTEST_SKIP() << "every block is a heap block here";
    Base* object = new Derived;
    void* address = object;
    delete object;
    std::unique_ptr<Base> small(new Base);
    EXPECT_NE(static_cast<void*>(small.get()), address);
    std::unique_ptr<Base> again(new Derived);
    EXPECT_EQ(static_cast<void*>(again.get()), address);
}

} // namespace
