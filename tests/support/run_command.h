#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace trellic::testing {

// Runs a shell command and returns what it printed on standard output; status, when given,
// receives its exit code (-1 when it did not exit normally).
inline std::string RunCommand(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    char buffer[4096];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, read);
    }
    const int raw = pclose(pipe);
    if (status != nullptr) {
        *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return out;
}

} // namespace trellic::testing
