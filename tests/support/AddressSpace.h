#pragma once

// For a test's child process that must show a read or an allocation within a memory budget.

#include <sys/resource.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <fstream>

// Limits the process's address space to what it holds now plus extra bytes; exits with 3 when
// the limit cannot be set.
inline void LimitAddressSpaceToHeldPlus(std::size_t extra) {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    statm >> pages;
    const rlim_t limit = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE)) + extra;
    const rlimit space = {limit, limit};
    if (setrlimit(RLIMIT_AS, &space) != 0) std::exit(3);
}
