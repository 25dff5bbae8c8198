#include "model/simulation/SharedMemory.h"

#include <gtest/gtest.h>
#include <sys/shm.h>

#include "model/data/Matrix.h"

TEST(SharedMemory, SegmentHoldsHeaderAndPlaneAndIsMarkedForRemoval) {
    Matrix plane(40, 3); // two words a row: 24 bytes
    sm_struct* segment = nullptr;
    const int id = CreateSharedSegment(plane, segment);
    ASSERT_GE(id, 0);
    ASSERT_NE(segment, nullptr);
    EXPECT_EQ(segment->buf_size, 24u);
    EXPECT_EQ(SharedBufferSize(segment), 24u);
    EXPECT_EQ(segment->buf, SharedBuffer(segment));
    EXPECT_EQ(static_cast<char*>(SharedBuffer(segment)),
              reinterpret_cast<char*>(&segment->buf + 1));

    shmid_ds info;
    ASSERT_EQ(shmctl(id, IPC_STAT, &info), 0);
    EXPECT_EQ(info.shm_segsz, 24u + sizeof(sm_struct));
    EXPECT_NE(info.shm_perm.mode & SHM_DEST, 0);
    EXPECT_EQ(info.shm_perm.mode & 0777, 0600);

    // Another attachment is still allowed, as clients need.
    void* second = shmat(id, nullptr, 0);
    ASSERT_NE(second, reinterpret_cast<void*>(-1));
    EXPECT_EQ(static_cast<sm_struct*>(second)->buf_size, 24u);
    shmdt(second);
    shmdt(segment);
    // Gone with the last attachment.
    EXPECT_EQ(shmctl(id, IPC_STAT, &info), -1);
}

TEST(SharedMemory, OperationCodesAreFixed) {
    const int codes[] = {INIT,          INIT_OK, SIMULATE,   SIMULATED,   CHANGE_DIM,
                         CHANGE_DIM_OK, NEW_SHM, NEW_SHM_OK, EXIT_REQUEST};
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(codes[i], -100 + i);
    EXPECT_EQ(sizeof(COMMUNICATE_OPS), 4u);
}
