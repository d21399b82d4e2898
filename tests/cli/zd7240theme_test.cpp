// zd7240-theme run as a process: the same targets, signals and lost output as
// zd7240-gen.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "targets.h"

namespace {

using namespace zd7240::test;

// What `export MacOS` writes, taken once from a regular file.
const std::string& MacOSTheme() {
    static const std::string bytes = [] {
        TempDir dir;
        const Result r = RunProcess(ZD7240_THEME, {"export", "MacOS", dir.File("m.theme")});
        EXPECT_EQ(r.status, 0) << r.err;
        return ReadFile(dir.File("m.theme"));
    }();
    return bytes;
}

TEST(Zd7240Theme, EveryKindOfTarget) {
    ASSERT_TRUE(MacOSTheme().starts_with("ZD7240 THEME"));
    CheckTargets(
        ZD7240_THEME,
        [](const std::string& path) {
            return std::vector<std::string>{"export", "MacOS", path};
        },
        MacOSTheme());
}

TEST(Zd7240Theme, PackAndStandardOutputUseTheSameWriter) {
    TempDir dir;
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", "/dev/null", dir.File("u")}).status, 65);
    WriteFile(dir.File("m.theme"), MacOSTheme());
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", dir.File("m.theme"), dir.File("u")}).status, 0);
    // pack into a full device fails as export does, and "-" is standard output.
    const std::string full = MakeDevice(dir, "full", 7);
    Result r = RunProcess(ZD7240_THEME, {"pack", dir.File("u"), full});
    EXPECT_EQ(r.status, 74);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    r = RunProcess(ZD7240_THEME, {"pack", dir.File("u"), "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, MacOSTheme());
}

TEST(Zd7240Theme, SignalsEndTheProgramWhileWaitingForAFifoReader) {
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        TempDir dir;
        const std::string fifo = dir.File("fifo");
        mkfifo(fifo.c_str(), 0644);
        Process theme(ZD7240_THEME, {"export", "MacOS", fifo});
        for (int i = 0; i < 1000 && !theme.Blocked(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        theme.Signal(signal);
        const Result r = theme.Wait(std::chrono::seconds(10));
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find("zd7240-theme: interrupted"), std::string::npos) << r.err;
        EXPECT_TRUE(std::filesystem::is_fifo(fifo));
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

TEST(Zd7240Theme, LostStandardOutputExits74) {
    TempDir dir;
    WriteFile(dir.File("m.theme"), MacOSTheme());
    const std::string full = MakeDevice(dir, "full", 7);
    const std::vector<std::vector<std::string>> modes = {
        {"--help"},
        {"--version"},
        {"dump", dir.File("m.theme")},
        {"export", "MacOS", "-"},
    };
    for (const auto& args : modes) {
        SCOPED_TRACE(args.back());
        const int fd = open(full.c_str(), O_WRONLY);
        Launch launch;
        launch.stdoutFd = fd;
        Result r = RunProcess(ZD7240_THEME, args, launch);
        close(fd);
        EXPECT_EQ(r.status, 74);
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
        launch.stdoutFd = -1;
        launch.closeStdout = true;
        r = RunProcess(ZD7240_THEME, args, launch);
        EXPECT_EQ(r.status, 74);
    }
}

} // namespace
