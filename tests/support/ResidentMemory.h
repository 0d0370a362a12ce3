#pragma once
// What the process holds: its resident size as the system reports it (Linux), and the
// bytes of heap it has been given and not handed back.
#include <malloc.h>

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

// In kilobytes; 0 where it cannot be read.
inline long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

// Without the noise of pages the allocator has not handed back. Under the address
// sanitizer every block comes from its own allocator, which the C library's figures never
// see (they stay at 0), so its count is read instead.
inline size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}
