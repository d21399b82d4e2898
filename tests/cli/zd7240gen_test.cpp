// zd7240-gen run as a process: outputs, messages and every exit status.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "targets.h"

namespace {

using namespace zd7240::test;

Result Gen(const std::vector<std::string>& args, const TempDir& cwd,
           const std::string& shellPrefix = "") {
    Launch launch;
    launch.cwd = cwd.path().string();
    launch.shellPrefix = shellPrefix;
    return RunProcess(ZD7240_GEN, args, launch);
}

const std::vector<std::string> kLanMmx = {"Lan--Mmx",       "lan-board=0",  "lan-slot=5",
                                          "suiEdit403=100", "end-vlan=103", "vpi=1",
                                          "start-vci=40"};

// `base` followed by `more`; a NAME=VALUE in `more` replaces the same NAME in `base`
// (the program refuses a field given twice).
std::vector<std::string> With(std::vector<std::string> base, std::vector<std::string> more) {
    for (const std::string& item : more) {
        const auto eq = item.find('=');
        auto same = std::find_if(base.begin(), base.end(), [&](const std::string& b) {
            return eq != std::string::npos && b.compare(0, eq + 1, item, 0, eq + 1) == 0;
        });
        if (same != base.end())
            *same = item;
        else
            base.push_back(item);
    }
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

// Every refused field at once, by the key an operator types and the window's name.
TEST(Zd7240Gen, InputCheckFailureNamesEveryFailingField) {
    TempDir dir;
    WriteFile(dir.File("zd7240.txt"), "old");
    const Result r = Gen({"lan-mmx", "lan-board=0", "lan-slot=5", "start-vlan=1 0",
                          "end-vlan=99999999999", "start-vci=40"},
                         dir);
    EXPECT_EQ(r.status, 65);
    EXPECT_EQ(r.err, "zd7240-gen: start-vlan (\"Start Vlan id:\" in \"Lan card information\"): "
                     "'1 0' is not a number: digits only, no sign or spaces\n"
                     "zd7240-gen: end-vlan (\"End Vlan id:\" in \"Lan card information\"): "
                     "'99999999999' is above 2147483647\n"
                     "zd7240-gen: vpi (\"Vpi:\" in \"Mmx card information / Card type is "
                     "Optic\") is empty\n");
    EXPECT_EQ(ReadFile(dir.File("zd7240.txt")), "old");
}

TEST(Zd7240Gen, MistypedNamesGetTheNearestSuggested) {
    TempDir dir;
    const struct {
        std::vector<std::string> args;
        std::string said;
    } cases[] = {
        {{"lan-mmx", "start-valn=1"},
         "page Lan--Mmx has no field 'start-valn'; did you mean 'start-vlan'? (see"},
        {{"lan-mcx"}, "unknown page 'lan-mcx'; did you mean 'lan-mmx'?"},
        {{"lan-mmx", "--dry-rn"}, "unknown option '--dry-rn'; did you mean '--dry-run'?"},
        {{"lan-mmx", "--ouptut=a"}, "unknown option '--ouptut=a'; did you mean '--output'?"},
    };
    for (const auto& c : cases) {
        const Result r = Gen(c.args, dir);
        EXPECT_EQ(r.status, 64);
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    }
}

// Values and names from outside reach a message escaped and cut short: characters that
// would turn the rest of the line around on a terminal are shown byte by byte, and a
// huge value is cut after 80 characters with its length, so the message stays readable.
TEST(Zd7240Gen, ValuesInMessagesAreEscapedAndCutShort) {
    const std::string big(20 << 20, '7');
    const std::string x80(80, 'x');
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string jobFile; // jobs.json, when given
        std::string said;
    };
    const Case cases[] = {
        {"a long field value", With(kLanMmx, {"lan-board=" + std::string(100000, 'x')}), "",
         "lan-board (\"Board id:\" in \"Lan card information\"): '" + x80 +
             "... (100000 bytes)' is not a number"},
        {"a long card type", With(kLanMmx, {"card-type=" + std::string(100000, 'x')}), "",
         "'" + x80 + "... (100000 bytes)' is not a card type of suiComboBox401"},
        {"a field given twice", With(kLanMmx, {"vpi=1", "suiEdit408=" + std::string(100000, 'x')}),
         "",
         "suiEdit408 is given twice: 'vpi=1' and 'suiEdit408=" + std::string(69, 'x') +
             "... (100011 bytes)'"},
        {"a value turning the line around",
         With(kLanMmx, {"lan-board=1\xe2\x80\xae"
                        "0"}),
         "", "'1\\xe2\\x80\\xae0' is not a number"},
        {"20 MB of digits in a job file",
         {"--job", "jobs.json"},
         R"({"version": 1, "jobs": [{"page": "lan-mmx", "output": "a.txt", "fields": {
             "lan-board": "0", "lan-slot": "5", "start-vlan": "1", "vpi": "1", "start-vci": "40",
             "end-vlan": ")" +
             big + "\"}}]}",
         "job 1 (a.txt): end-vlan (\"End Vlan id:\" in \"Lan card information\"): '" +
             std::string(80, '7') + "... (20971520 bytes)' is above 2147483647\n"},
        {"20 MB of digits in a copied field",
         {"--job", "jobs.json", "--dry-run"},
         R"({"version": 1, "jobs": [{"page": "lan-mmx", "output": "a.txt", "fields": {
             "lan-board": "0", "lan-slot": "5", "start-vlan": "1", "end-vlan": "1",
             "start-vci": "40", "vpi": ")" +
             big + "\"}}]}",
         "VPI " + std::string(80, '7') + "... (20971520 bytes) is above 255\n"},
        {"20 MB read before a syntax error",
         {"--job", "jobs.json"},
         R"({"version": 1, "comment": ")" + big + "\n",
         "; last read: '\"" + std::string(79, '7') + "... (20971529 bytes)'\n"},
        {"an output turning the line around",
         {"--job", "jobs.json"},
         R"({"version": 1, "jobs": [{"page": "lan-mmx", "output": "b\u2067.txt"}]})",
         "job 1 (b\\xe2\\x81\\xa7.txt): lan-board"},
        {"a job's name turning the line around",
         {"--job", "jobs.json"},
         R"({"version": 1, "jobs": [{"page": "lan-mmx", "name": "\u200fx\u202a", "output": "c.txt"}]})",
         "job 1 (\\xe2\\x80\\x8fx\\xe2\\x80\\xaa): lan-board"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (!c.jobFile.empty())
            WriteFile(dir.File("jobs.json"), c.jobFile);
        const Result r = Gen(c.args, dir);
        if (c.args.back() == "--dry-run")
            EXPECT_EQ(r.status, 0) << "a warning only";
        else
            EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err.substr(0, 2000);
        EXPECT_LT(r.err.size(), 4000u) << r.err.substr(0, 2000);
    }
}

TEST(Zd7240Gen, ConversionFailureWritesNothing) {
    TempDir dir;
    const Result r = Gen(With(kLanMmx, {"end-vlan=99999999999"}), dir);
    EXPECT_EQ(r.status, 65);
    EXPECT_NE(r.err.find("end-vlan (\"End Vlan id:\" in \"Lan card information\"): "
                         "'99999999999' is above 2147483647"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(dir.EntryCount(), 0u);
}

TEST(Zd7240Gen, FileFailuresKeepTheOldFile) {
    TempDir dir;
    Result r = Gen(With(kLanMmx, {"-o", "missing/out.txt"}), dir);
    EXPECT_EQ(r.status, 73);
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;

    // A file size limit stands in for a full disk: the old script survives whole.
    WriteFile(dir.File("zd7240.txt"), "old script\r\n");
    r = Gen(With(kLanMmx, {"end-vlan=500000"}), dir, "ulimit -f 64;");
    EXPECT_EQ(r.status, 74) << r.err;
    EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(dir.File("zd7240.txt")), "old script\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(Zd7240Gen, EveryKindOfTarget) {
    CheckTargets(
        ZD7240_GEN,
        [](const std::string& path) {
            return With(kLanMmx, {"-o", path});
        },
        kLanMmxScript);
}

// An interrupt ends the program at once, wherever it is blocked, and leaves the old file
// and no temporary: while writing a file, while waiting in open() for a FIFO reader,
// and while writing to a pipe nobody reads.
TEST(Zd7240Gen, SignalsEndTheProgramWhereverItWaits) {
    const std::vector<std::string> huge = With(kLanMmx, {"suiEdit403=0", "end-vlan=2147483647"});
    struct Case {
        const char* name;
        int signal;
        int status;
        bool fifo; // else a regular file (pipe: true with stdout to a pipe)
        bool pipe;
    };
    const Case cases[] = {
        {"file, SIGINT", SIGINT, 130, false, false},
        {"file, SIGTERM", SIGTERM, 143, false, false},
        {"FIFO without a reader, SIGINT", SIGINT, 130, true, false},
        {"FIFO without a reader, SIGTERM", SIGTERM, 143, true, false},
        {"stalled pipe, SIGINT", SIGINT, 130, false, true},
        {"stalled pipe, SIGHUP", SIGHUP, 129, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = dir.File(c.fifo ? "fifo" : "zd7240.txt");
        if (c.fifo)
            mkfifo(target.c_str(), 0644);
        else if (!c.pipe)
            WriteFile(target, "old script\r\n");
        int fds[2] = {-1, -1};
        Launch launch;
        launch.cwd = dir.path().string();
        if (c.pipe) {
            const bool piped = pipe(fds) == 0;
            EXPECT_TRUE(piped);
            if (!piped)
                continue;
            launch.stdoutFd = fds[1];
        }
        Process gen(ZD7240_GEN, With(huge, {"-o", c.pipe ? "-" : target}), launch);
        if (c.pipe)
            close(fds[1]);
        // Wait until it is under way: it writes its temporary (named or not), or it sleeps
        // in open()/write(). Waiting longer than needed would let the script grow by
        // gigabytes, whose release then counts against the time to end.
        bool underWay = false;
        for (int i = 0; i < 1000 && !underWay; ++i) {
            underWay = c.fifo || c.pipe ? gen.Blocked() : gen.HoldsFileIn(dir.path());
            if (!underWay)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(underWay);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto start = std::chrono::steady_clock::now();
        gen.Signal(c.signal);
        const Result r = gen.Wait(std::chrono::seconds(10));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find("zd7240-gen: interrupted"), std::string::npos) << r.err;
        if (c.pipe) {
            close(fds[0]);
            EXPECT_EQ(dir.EntryCount(), 0u);
        } else {
            EXPECT_EQ(dir.EntryCount(), 1u);
        }
        if (c.fifo) {
            EXPECT_TRUE(std::filesystem::is_fifo(target));
        } else if (!c.pipe) {
            EXPECT_EQ(ReadFile(target), "old script\r\n");
        }
    }
}

// Output that did not arrive is a failure, for every mode that prints.
TEST(Zd7240Gen, LostStandardOutputExits74) {
    TempDir dir;
    const std::string full = MakeDevice(dir, "full", 7);
    const std::vector<std::vector<std::string>> modes = {
        {"--help"},
        {"-V"},
        {"--list"},
        {"lan-mmx", "--list"},
        With(kLanMmx, {"--dry-run"}),
        With(kLanMmx, {"-o", "-"}),
    };
    for (const auto& args : modes) {
        SCOPED_TRACE(args.back());
        const int fd = open(full.c_str(), O_WRONLY);
        Launch launch;
        launch.cwd = dir.path().string();
        launch.stdoutFd = fd;
        Result r = RunProcess(ZD7240_GEN, args, launch);
        close(fd);
        EXPECT_EQ(r.status, 74);
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
        launch.stdoutFd = -1;
        launch.closeStdout = true;
        r = RunProcess(ZD7240_GEN, args, launch);
        EXPECT_EQ(r.status, 74);
        EXPECT_NE(r.err.find("Bad file descriptor"), std::string::npos) << r.err;
    }
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
        {"lan-mmx", "lan-board=0", "lan-board=1"},
        {"lan-mmx", "lan-board=0", "suiEdit401=1"}, // the same field by both its names
        {"lan-mmx", "-o", "a", "--output=b"},
        {"lan-mmx", "--", "--list"},
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

TEST(Zd7240Gen, RepeatsAreNamedAndFieldTextIsEscaped) {
    TempDir dir;
    Result r = Gen({"lan-mmx", "start-vlan=1", "suiEdit403=2\x1b[2J"}, dir);
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("suiEdit403 is given twice: 'start-vlan=1' and 'suiEdit403=2\\x1b[2J'"),
              std::string::npos)
        << r.err;
    r = Gen({"lan-mmx", "lan-board=0", "lan-slot=5", "start-vlan=1\n\x1b[2J", "end-vlan=3"}, dir);
    EXPECT_EQ(r.status, 65);
    EXPECT_NE(r.err.find("'1\\n\\x1b[2J' is not a number"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
    r = Gen({"lan-mmx", "-o", "a", "-o", "b\tc"}, dir);
    EXPECT_NE(r.err.find("'-o a' and '-o b\\tc'"), std::string::npos) << r.err;
    EXPECT_EQ(dir.EntryCount(), 0u);
}

TEST(Zd7240Gen, DoubleDashEndsTheOptionsAndProgressEndsWithTheFinalCount) {
    TempDir dir;
    const Result r = Gen(With({"--progress", "-o", "-", "--"}, kLanMmx), dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, kLanMmxScript);
    EXPECT_EQ(r.err, "\r4 lines\nEnd Vci: 43\n");
    const Result big = Gen({"lan-mmx", "lan-board=0", "lan-slot=5", "start-vlan=0",
                            "end-vlan=1100000", "vpi=1", "start-vci=40", "--progress"},
                           dir);
    EXPECT_EQ(big.status, 0);
    // After the warnings about VLAN ids and VCIs the device does not take.
    EXPECT_TRUE(big.err.ends_with("VCI 1100040 is above 65535\n"
                                  "\r1048576 lines\r1100001 lines\nEnd Vci: 1100040\n"))
        << big.err;
}

} // namespace
