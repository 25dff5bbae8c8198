#ifndef QUIRAN_SEGMENT_HEADER_H
#define QUIRAN_SEGMENT_HEADER_H

// The header of the shared segment through which QUIRAN and the clients of its C++ elements
// exchange planes, and the operation codes in it. QUIRAN compiles this file, and every client's
// source holds a copy of it word for word, so both sides agree on the layout; the plane words
// follow right after the last field.

#include <stddef.h>
#include <stdint.h>

// NOTE: the values are fixed; both sides write and read them as 32-bit integers.
enum COMMUNICATE_OPS : int32_t {
    INIT = -100,
    INIT_OK = -99,
    SIMULATE = -98,
    SIMULATED = -97,
    CHANGE_DIM = -96,
    CHANGE_DIM_OK = -95,
    NEW_SHM = -94,
    NEW_SHM_OK = -93,
    EXIT_REQUEST = -92
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
    void* buf;       // the address of the plane words in QUIRAN's own attachment
};

static_assert(sizeof(COMMUNICATE_OPS) == 4, "operation codes are 32-bit");
static_assert(offsetof(sm_struct, dim) == 4 && offsetof(sm_struct, new_shm_id) == 4,
              "dimensions and the new segment's id follow the operation code");
static_assert(offsetof(sm_struct, buf) + sizeof(void*) == sizeof(sm_struct),
              "the plane words follow right after buf");
static_assert(sizeof(void*) != 8 || sizeof(sm_struct) == 32, "the 64-bit header is 32 bytes");

#endif
