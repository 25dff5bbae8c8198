#pragma once

// The host's side of the one System V shared memory segment through which C++ elements exchange
// planes with their client processes: the making of a segment and its plane words. The header
// and the operation codes are those of client/SegmentHeader.h, which every client's source
// holds word for word.

#include <cstddef>
#include <cstdint>

#include "client/SegmentHeader.h"

class Matrix;

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
