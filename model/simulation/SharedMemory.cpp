#include "model/simulation/SharedMemory.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdio>

#include "model/data/Matrix.h"

uint32_t SharedBufferSize(const sm_struct* segment) {
    if (segment == nullptr) return 0;
    return segment->buf_size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(segment->buf_size);
}

int CreateSharedSegment(const Matrix& plane, sm_struct*& attachment) {
    const size_t bufferSize = plane.GetBufferSize();
    const int id = shmget(IPC_PRIVATE, bufferSize + sizeof(sm_struct), IPC_CREAT | 0600);
    if (id == -1) {
        std::perror("Server: cannot create shared memory segment!");
        return -1;
    }
    void* address = shmat(id, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        std::perror("Server: cannot attach shared memory segment!");
        // Not attached anywhere: nothing else would ever free it.
        if (shmctl(id, IPC_RMID, nullptr) == -1) {
            std::perror("Server: cannot delete shared memory segment!");
        }
        return -1;
    }
    sm_struct* segment = static_cast<sm_struct*>(address);
    segment->buf_size = bufferSize;
    segment->buf = SharedBuffer(segment);
    // A crash of the host or a client leaves nothing behind: the segment goes with the last
    // process attached to it. Clients may still attach it (Linux allows that).
    if (shmctl(id, IPC_RMID, nullptr) == -1) {
        std::perror("Server: cannot delete shared memory segment!");
    }
    attachment = segment;
    return id;
}
