#include "tests/support/ToolCheck.h"

#include <cstdlib>

#include "tests/support/ShellCommand.h"

bool haveTool(const std::string& tool) {
    std::string quoted = "'";
    for (char c : tool) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    int status = 0;
    runCommand("command -v " + quoted + " >/dev/null 2>&1", &status);
    return status == 0;
}

bool toolsRequired() {
    const char* ci = std::getenv("CI");
    return ci && *ci;
}
