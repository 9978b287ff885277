// A helper program that misbehaves: crashes, hangs, spins, floods its output or grabs memory; the caller gets no output and goes on.
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

// Every child has been reaped: none is left as a zombie or still running.
bool noChildLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

TEST(ChildProcess, AWellBehavedChildHandsOverItsOutputAndStatusAndSeesNothingOfOurs) {
    const int ours = open("/dev/null", O_RDONLY);  // not closed on exec: the child must not get it anyway
    ASSERT_GE(ours, 3);
    // Standard input and error are /dev/null; no other descriptor is open in the child.
    ChildOutput out = shell("read line; echo \"[$line]\"; echo fehler >&2; ls /proc/$$/fd; exit 3");
    close(ours);
    ASSERT_TRUE(out.exitCode.has_value());
    EXPECT_EQ(*out.exitCode, 3);
    EXPECT_EQ(text(out), "[]\n0\n1\n2\n");
    out = shell("head -c 100000 /dev/zero");  // more than one pipe's worth
    EXPECT_EQ(out.exitCode, std::optional<int>(0));
    EXPECT_EQ(out.output.size(), 100000u);
    EXPECT_TRUE(noChildLeft());
}

TEST(ChildProcess, CrashHangSpinFloodAndMissingProgramAllEndWithoutOutput) {
    ChildLimits quick;
    quick.wallMilliseconds = 300;
    quick.cpuSeconds = 1;
    quick.outputBytes = 4096;
    const struct {
        const char* what;
        std::string script;
        ChildLimits limits;
    } cases[] = {
        {"killed by a signal", "echo halb; kill -SEGV $$", quick},
        {"never ends", "echo halb; exec sleep 60", quick},
        {"ends its output but not itself", "exec >&-; exec sleep 60", quick},
        {"floods its output", "exec cat /dev/zero", quick},
        {"spins past its processor time", "while :; do :; done", ChildLimits{1, 20000, 4096, 256u << 20}},
    };
    for (const auto& c : cases) {
        const ChildOutput out = shell(c.script, c.limits);
        EXPECT_FALSE(out.exitCode.has_value()) << c.what;
        EXPECT_TRUE(out.output.empty()) << c.what;
    }
    // A program that is not there cannot be started: status 127 from the child, no output.
    const ChildOutput missing = runLimitedChild("/nonexistent/nonari-manual-page", {}, quick);
    EXPECT_EQ(missing.exitCode, std::optional<int>(127));
    EXPECT_TRUE(noChildLeft());
}

TEST(ChildProcess, AChildDoesNotGetMoreMemoryThanItsLimit) {
    ChildLimits small;
    small.memoryBytes = 64u << 20;
    const std::string grab = "dd if=/dev/zero bs=200M count=1 of=/dev/null status=none && echo ok";  // a 200 MB buffer
    EXPECT_NE(text(shell(grab, small)), "ok\n");
    small.memoryBytes = 1u << 30;
    EXPECT_EQ(text(shell(grab, small)), "ok\n");
}

}  // namespace
}  // namespace nonari
