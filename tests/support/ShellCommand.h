// Runs a shell command for a test and collects what it prints.
#pragma once

#include <cstdio>
#include <string>

#include <sys/wait.h>

// Standard output of the command; its exit status in *status (-1 when it could
// not run or did not exit normally).
inline std::string runCommand(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) {
        if (status) *status = -1;
        return out;
    }
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int rc = pclose(p);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}
