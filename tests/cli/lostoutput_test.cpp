// The window program and the skin painter report lost standard output as the
// command-line tools do: every mode that prints, into a full device and into a closed
// descriptor, exits 74.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process.h"

namespace {

using namespace zd7240::test;

TEST(LostStandardOutput, WindowProgramAndSkinPainterExit74) {
    TempDir dir;
    const std::string full = MakeDevice(dir, "full", 7);
    const std::vector<std::vector<std::string>> runs = {
        {ZD7240_HELPER, "--help"},           {ZD7240_HELPER, "--version"},
        {ZD7240_HELPER, "--describe"},       {ZD7240_SKINPAINTER, "--help"},
        {ZD7240_SKINPAINTER, "--catalogue"},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run[0] + " " + run[1]);
        const std::vector<std::string> args(run.begin() + 1, run.end());
        Launch launch;
        launch.cwd = dir.path().string();
        Result r = RunProcess(run[0], args, launch);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_FALSE(r.out.empty());
        const int fd = open(full.c_str(), O_WRONLY);
        launch.stdoutFd = fd;
        r = RunProcess(run[0], args, launch);
        close(fd);
        EXPECT_EQ(r.status, 74);
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
        launch.stdoutFd = -1;
        launch.closeStdout = true;
        r = RunProcess(run[0], args, launch);
        EXPECT_EQ(r.status, 74);
        EXPECT_NE(r.err.find("Bad file descriptor"), std::string::npos) << r.err;
    }
}

} // namespace
