#pragma once

// The host's side of the one System V shared memory segment through which C++ elements exchange
// planes with their client processes: the operation codes, the segment's header and the making
// of a segment. The header is declared exactly as in the client program's prologue
// (client/ClientProgram.cpp); both sides are built for the same machine, so they agree on its
// layout, and the plane words follow right after the header's last field.

#include <cstddef>
#include <cstdint>

class Matrix;

// NOTE: the values are fixed; host and client read and write them as 32-bit integers.
enum COMMUNICATE_OPS : int32_t {
    INIT = -100,         // host: make the planes of dim.x x dim.y
    INIT_OK = -99,       // client
    SIMULATE = -98,      // host: the buffer holds the input plane
    SIMULATED = -97,     // client: the buffer holds the output plane
    CHANGE_DIM = -96,    // never sent by the host
    CHANGE_DIM_OK = -95, // client
    NEW_SHM = -94,       // host: move to the segment new_shm_id
    NEW_SHM_OK = -93,    // client, written into the old segment
    EXIT_REQUEST = -92,  // never sent by the host
};

struct sm_dim {
    int32_t x;
    int32_t y;
};

struct sm_struct {
    COMMUNICATE_OPS op;
    union {
        sm_dim dim;
        int32_t new_shm_id;
    };
    size_t buf_size; // bytes of plane words after the header
    void* buf;       // the host's address of the plane words; clients use their own
};

// The client takes the words at the address right after buf.
static_assert(offsetof(sm_struct, buf) + sizeof(void*) == sizeof(sm_struct),
              "the plane words must follow the header's last field");

// The plane words of an attached segment.
inline void* SharedBuffer(sm_struct* segment) {
    return reinterpret_cast<char*>(segment) + sizeof(sm_struct);
}

// The buffer size as the matrix copies take it (they check it against the plane's size).
uint32_t SharedBufferSize(const sm_struct* segment);

// Makes a private segment with room for the plane's words behind the header (permissions 0600),
// attaches it, fills in buf_size and buf, and marks it for removal at once, so that the system
// frees it when the last attached process detaches or ends. The segment's id, or -1 (with a
// perror) when it could not be made or attached; attachment is set only on success.
int CreateSharedSegment(const Matrix& plane, sm_struct*& attachment);
