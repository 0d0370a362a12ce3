#pragma once
// The process's resident size as the system reports it (Linux), in kilobytes; 0 where
// it cannot be read.
#include <cstdlib>
#include <fstream>
#include <string>

inline long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}
