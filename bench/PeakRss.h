#pragma once
// Peak resident memory of a running process, as the kernel counts it (VmHWM); -1 if unreadable.
#include <sys/types.h>

#include <cstdlib>
#include <fstream>
#include <string>

inline long peakRssKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}
