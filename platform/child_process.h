// Running a helper program in a child process that may misbehave: bounded in time, memory and output.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nonari {

struct ChildLimits {
    int cpuSeconds = 2;
    int wallMilliseconds = 4000;     // then the child is killed
    std::size_t outputBytes = 1 << 20;  // more on its standard output and the child is killed
    // Address space; 0 for none. A program built with a sanitizer reserves terabytes at start and
    // cannot run under any such limit.
    std::uint64_t memoryBytes = 256u << 20;
};

struct ChildOutput {
    // Set only when the child ended by itself within every limit.
    std::optional<int> exitCode;
    std::vector<unsigned char> output;
};

// Runs program with the arguments, its standard input and error on /dev/null, no other descriptor
// of ours, no core file. Returns when the child has ended and been reaped.
[[nodiscard]] ChildOutput runLimitedChild(const std::string& program, const std::vector<std::string>& arguments,
                                          const ChildLimits& limits);

}  // namespace nonari
