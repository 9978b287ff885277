// A helper program that misbehaves: crashes, hangs, spins, floods its output or grabs memory; the caller gets no output and goes on.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/child_process.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace nonari {
namespace {

ChildOutput shell(const std::string& script, ChildLimits limits = {}) {
    return runLimitedChild("/bin/sh", {"-c", script}, limits);
}

std::string text(const ChildOutput& out) { return {out.output.begin(), out.output.end()}; }

TEST(ChildProcess, AWellBehavedChildHandsOverItsOutputAMisbehavingOneNothingAndNoneIsLeftOver) {
    const int ours = open("/dev/null", O_RDONLY);  // not closed on exec: the child must not get it anyway
    ASSERT_GE(ours, 3);
    // Standard input and error are /dev/null; no other descriptor is open in the child.
    ChildOutput out = shell("read line; echo \"[$line]\"; echo fehler >&2; ls /proc/$$/fd; exit 3");
    close(ours);
    EXPECT_EQ(out.exitCode, std::optional<int>(3));
    EXPECT_EQ(text(out), "[]\n0\n1\n2\n");
    out = shell("head -c 100000 /dev/zero");  // more than one pipe's worth
    EXPECT_EQ(out.exitCode, std::optional<int>(0));
    EXPECT_EQ(out.output.size(), 100000u);

    const ChildLimits quick{.cpuSeconds = 1, .wallMilliseconds = 300, .outputBytes = 4096};
    const std::pair<const char*, ChildLimits> misbehaving[] = {
        {"echo halb; kill -SEGV $$", quick},                   // killed by a signal
        {"echo halb; exec sleep 60", quick},                   // never ends
        {"exec >&-; exec sleep 60", quick},                    // ends its output but not itself
        {"head -c 5000 /dev/zero", quick},                     // ends, but wrote more than it may
        // Spins for many processor seconds, well within its wall time, then would end by itself.
        {"i=0; while [ $i -lt 10000000 ]; do i=$((i+1)); done; echo fertig",
         {.cpuSeconds = 1, .wallMilliseconds = 60000}},
    };
    for (const auto& [script, limits] : misbehaving) {
        out = shell(script, limits);
        EXPECT_FALSE(out.exitCode.has_value()) << script;
        EXPECT_TRUE(out.output.empty()) << script;
    }
    // A program that is not there cannot be started: status 127 from the child, no output.
    EXPECT_EQ(runLimitedChild("/nonexistent/nonari-manual-page", {}, quick).exitCode, std::optional<int>(127));
    EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD) << "a child left as a zombie or running";
}

TEST(ChildProcess, AChildDoesNotGetMoreMemoryThanItsLimit) {
    const std::string grab = "dd if=/dev/zero bs=200M count=1 of=/dev/null status=none && echo ok";  // a 200 MB buffer
    EXPECT_NE(text(shell(grab, {.memoryBytes = 64u << 20})), "ok\n");
    // Ample time: on a busy machine the copy may take seconds, and a child stopped for time gives no output either.
    EXPECT_EQ(text(shell(grab, {.wallMilliseconds = 60000, .memoryBytes = 1u << 30})), "ok\n");
}

}  // namespace
}  // namespace nonari
