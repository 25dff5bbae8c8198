// A LOGIC step on a large plane runs for every PE of every step of a simulation: once its
// scratch has grown, it allocates nothing. Every heap allocation of this test program is counted.
#include "model/elements/ALogicElem.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <new>

#include "model/data/Matrix.h"

namespace {

uint64_t allocations = 0;

} // namespace

// The compiler takes the free below, once inlined into a delete expression, for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
    allocations++;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

// The library's temporary buffers (stable_sort) take the nothrow form and give it back through
// the plain delete: it must come from the same heap.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    allocations++;
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, size_t) noexcept {
    std::free(block);
}

TEST(ALogicElemAllocation, StepsAllocateNothingOnceTheirScratchHasGrown) {
    ALogicElem logic(nullptr, 0, 0);
    logic.SetInputPlaneSize(0, 64, 64);
    logic.SetOutputPlaneSize(0, 64, 64);
    logic.CreateData();
    D_LogicElem& data = logic.GetData();
    ASSERT_EQ(data.SetPEDimension(2, 2), 1);
    data.SetPEDataNames({"d[0,0]", "d[1,0]", "d[0,1]", "d[1,1]"});
    data.SetInternalNames({"s"});
    data.SetEquations({"d[0,0] = d[1,0] & s", "d[1,0] = d[0,1] | d[1,1]", "d[0,1] = d[0,0] ^ s",
                       "s = d[1,1] ^ s"});
    ASSERT_EQ(data.CompileEquations(), 0);
    Matrix* in = logic.GetInputPlane(0);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++)
            in->SetBit(x, y, (x * 5 + y * 3) % 7 < 3);
    for (int parallel : {1, 0}) {
        SCOPED_TRACE(parallel);
        data.SetComputeParallel(parallel);
        logic.Simulate();
        const uint64_t before = allocations;
        for (int k = 0; k < 3; k++)
            logic.Simulate();
        EXPECT_EQ(allocations - before, 0u);
    }
    EXPECT_NE(*logic.GetOutputPlane(0), Matrix(64, 64)); // the equations did set something
}
