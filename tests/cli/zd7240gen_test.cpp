// zd7240-gen run as a process: outputs, messages and every exit status.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "../generator/tempdir.h"

namespace {

using zd7240::test::ReadFile;
using zd7240::test::TempDir;
using zd7240::test::WriteFile;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs zd7240-gen in `cwd`; `prefix` may put a shell in front (for ulimit).
pid_t Spawn(const std::vector<std::string>& args, const TempDir& cwd, const std::string& outPath,
            const std::string& errPath, const std::string& shellPrefix = "") {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.path().c_str()) != 0)
            _exit(127);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<std::string> full;
        if (!shellPrefix.empty()) {
            std::string command = shellPrefix + " exec \"$0\" \"$@\"";
            full = {"/bin/sh", "-c", command};
        }
        full.push_back(ZD7240_GEN);
        full.insert(full.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : full)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

Result Gen(const std::vector<std::string>& args, const TempDir& cwd,
           const std::string& shellPrefix = "") {
    TempDir io;
    const pid_t pid = Spawn(args, cwd, io.File("out"), io.File("err"), shellPrefix);
    int status = 0;
    waitpid(pid, &status, 0);
    Result r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = ReadFile(io.File("out"));
    r.err = ReadFile(io.File("err"));
    return r;
}

const std::vector<std::string> kLanMmx = {"Lan--Mmx",       "lan-board=0",  "lan-slot=5",
                                          "suiEdit403=100", "end-vlan=103", "vpi=1",
                                          "start-vci=40"};

std::vector<std::string> With(std::vector<std::string> base, std::vector<std::string> more) {
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

const std::string kLanMmxScript = "pvc lan 0/5 vlanid 100 off atm 0/7/0 optic 1 40 1 1 000 000\r\n"
                                  "pvc lan 0/5 vlanid 101 off atm 0/7/0 optic 1 41 1 1 000 000\r\n"
                                  "pvc lan 0/5 vlanid 102 off atm 0/7/0 optic 1 42 1 1 000 000\r\n"
                                  "pvc lan 0/5 vlanid 103 off atm 0/7/0 optic 1 43 1 1 000 000\r\n";

TEST(Zd7240Gen, WritesTheDefaultFileAndPrintsTheEndField) {
    TempDir dir;
    const Result r = Gen(kLanMmx, dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "End Vci: 43\n");
    EXPECT_EQ(ReadFile(dir.File("zd7240.txt")), kLanMmxScript);
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(Zd7240Gen, WritesToStandardOutputOrANamedFile) {
    TempDir dir;
    Result r = Gen(With(kLanMmx, {"-o", "-"}), dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kLanMmxScript);
    r = Gen({"adsl-lan", "start-board=0", "start-slot=6", "end-board=1", "end-slot=1",
             "port-number=2", "lan-board=0", "lan-slot=5", "start-vlan=100", "--output=v.txt"},
            dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "End Vlan id: 119\n");
    const std::string bytes = ReadFile(dir.File("v.txt"));
    EXPECT_TRUE(bytes.starts_with("pvc adsl 0/6/0 vpi 0 35 lan 0/5 vlanid 100 off 1 1\r\n"));
    EXPECT_TRUE(bytes.ends_with("pvc adsl 1/1/1 vpi 0 35 lan 0/5 vlanid 119 off 1 1\r\n"));
}

TEST(Zd7240Gen, CardTypesByItemTextOrIndex) {
    TempDir dir;
    for (const char* value : {"ima", "Ima", "1"}) {
        const Result r =
            Gen(With(kLanMmx, {std::string("card-type=") + value, "mmx-port=1", "-o", "-"}), dir);
        EXPECT_EQ(r.status, 0) << value;
        EXPECT_TRUE(r.out.starts_with("pvc lan 0/5 vlanid 100 off atm 0/7/1 ima 1 40 ")) << value;
    }
    const Result r =
        Gen({"aiu-mmx", "aiu-board=0", "aiu-slot=3", "aiu-port=1", "aiu-vpi=1", "aiu-start-vci=50",
             "aiu-end-vci=50", "mmx-vpi=2", "mmx-start-vci=60", "suiComboBox5=Ima", "-o", "-"},
            dir);
    EXPECT_EQ(r.out, "pvc aiu 0/3/1 ima 1 50 atm 0/7/0 optic 2 60 1 1 000 000\r\n");
}

TEST(Zd7240Gen, InputCheckFailureNamesTheFirstFailingField) {
    TempDir dir;
    WriteFile(dir.File("zd7240.txt"), "old");
    const Result r =
        Gen({"lan-mmx", "lan-board=0", "lan-slot=5", "start-vlan=1 0", "end-vlan=x"}, dir);
    EXPECT_EQ(r.status, 65);
    EXPECT_NE(r.err.find("Warning: The input must be integer! Please check it!"),
              std::string::npos);
    EXPECT_NE(r.err.find("suiEdit403"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Start Vlan id:"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(dir.File("zd7240.txt")), "old");
}

TEST(Zd7240Gen, ConversionFailureWritesNothing) {
    TempDir dir;
    const Result r = Gen(With(kLanMmx, {"end-vlan=99999999999"}), dir);
    EXPECT_EQ(r.status, 65);
    EXPECT_NE(r.err.find("'99999999999' is not a valid integer value"), std::string::npos) << r.err;
    EXPECT_EQ(dir.EntryCount(), 0u);
}

TEST(Zd7240Gen, FileFailuresKeepTheOldFile) {
    TempDir dir;
    Result r = Gen(With(kLanMmx, {"-o", "missing/out.txt"}), dir);
    EXPECT_EQ(r.status, 73);
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;

    if (access("/dev/full", W_OK) == 0) {
        r = Gen(With(kLanMmx, {"-o", "/dev/full"}), dir);
        EXPECT_EQ(r.status, 74);
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    }

    // A file size limit stands in for a full disk: the old script survives whole.
    WriteFile(dir.File("zd7240.txt"), "old script\r\n");
    r = Gen(With(kLanMmx, {"end-vlan=500000"}), dir, "ulimit -f 64;");
    EXPECT_EQ(r.status, 74) << r.err;
    EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(dir.File("zd7240.txt")), "old script\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(Zd7240Gen, InterruptKeepsTheOldFile) {
    TempDir dir, io;
    WriteFile(dir.File("zd7240.txt"), "old script\r\n");
    const pid_t pid =
        Spawn(With(kLanMmx, {"start-vlan=0", "end-vlan=2147483647", "-o", dir.File("zd7240.txt")}),
              dir, io.File("out"), io.File("err"));
    // Wait until the job is under way (its temporary file exists), then interrupt it.
    for (int i = 0; i < 500 && dir.EntryCount() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(ReadFile(dir.File("zd7240.txt")), "old script\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(Zd7240Gen, DryRunWritesNothing) {
    TempDir dir;
    const Result r = Gen(With(kLanMmx, {"--dry-run"}), dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "End Vci: 43\nLines: 4\n"
                     "First: pvc lan 0/5 vlanid 100 off atm 0/7/0 optic 1 40 1 1 000 000\n"
                     "Last: pvc lan 0/5 vlanid 103 off atm 0/7/0 optic 1 43 1 1 000 000\n");
    EXPECT_EQ(dir.EntryCount(), 0u);
}

TEST(Zd7240Gen, BadUsageExits64) {
    TempDir dir;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"no-such-page"},
        {"lan-mmx", "--bogus"},
        {"lan-mmx", "nosuchfield=1"},
        {"lan-mmx", "card-type=Ces-uni"},
        {"lan-mmx", "end-vci=5"}, // the computed End field
        {"lan-mmx", "stray"},
        {"lan-mmx", "-o"},
    };
    for (const auto& args : cases) {
        const Result r = Gen(args, dir);
        EXPECT_EQ(r.status, 64) << (args.empty() ? "" : args.back());
        EXPECT_NE(r.err.find("zd7240-gen --help"), std::string::npos);
    }
    EXPECT_EQ(dir.EntryCount(), 0u);
}

TEST(Zd7240Gen, HelpVersionAndLists) {
    TempDir dir;
    Result r = Gen({"--help"}, dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage: zd7240-gen PAGE"), std::string::npos);
    r = Gen({"--version"}, dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("2.1"), std::string::npos);
    r = Gen({"--list"}, dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("aiu-mmx\tAiu-Mmx"), std::string::npos);
    r = Gen({"LAN--MMX", "--list"}, dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("lan-board\tBoard id:\tLan card information\t\"\"\tsuiEdit401"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("mmx-slot\tSlot id:\tMmx card information\t\"7\"\tsuiEdit406"),
              std::string::npos);
}

} // namespace
