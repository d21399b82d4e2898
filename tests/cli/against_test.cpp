// zd7240-gen against what a device already holds (--against) and saying what a run
// would do (--plan, --report). Run as a process.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "genrun.h"
#include "process.h"

namespace {

using zd7240::test::Contains;
using zd7240::test::Launch;
using zd7240::test::ReadFile;
using zd7240::test::Result;
using zd7240::test::TempDir;
using zd7240::test::WriteFile;

Result Gen(const std::vector<std::string>& args, const std::filesystem::path& cwd,
           const std::string& shellPrefix = {}) {
    Launch launch;
    launch.cwd = cwd.string();
    launch.shellPrefix = shellPrefix;
    return zd7240::test::RunProcess(ZD7240_GEN, args, launch);
}

std::size_t FilesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

// The example shelf run once; its scripts, after a line of the device's own, are the
// running configuration "running.txt": the Lan lines from line 2, the Adsl-Mmx lines
// from 66, the Adsl-Lan lines from 226.
class Against : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(std::string(ZD7240_EXAMPLES) + "/chassis-0.json",
                                   dir.File("shelf.json"));
        const Result first = Gen({"--job", "shelf.json"}, dir.path());
        ASSERT_EQ(first.status, 0) << first.err;
        WriteFile(dir.File("running.txt"),
                  "hostname shelf-0\r\n" + ReadFile(dir.File("lan-0-5.txt")) +
                      ReadFile(dir.File("adsl-0.txt")) + ReadFile(dir.File("adsl-lan-0.txt")));
        std::filesystem::create_directory(dir.File("next"));
    }
    TempDir dir;
};

TEST_F(Against, TheNextShelfIsHeldAgainstTheFirst) {
    const std::vector<std::string> nextBoard = {"--set", "start-board=1", "--set", "end-board=1"};
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::string shellPrefix;
        int status;
        std::vector<std::string> err;
    };
    const Case cases[] = {
        {"the shelf itself: every line already configured",
         {"--against", "running.txt"},
         "",
         0,
         {}},
        {"the next board on the same Lan and Mmx cards",
         {"--against", "running.txt", "--output-dir", "next"},
         "",
         65,
         {"conflict: job 2 (Adsl 0/1-0/4 to Mmx) binds VPI 1 VCI 200 on card 0/7 IMA group 0, "
          "which running.txt line 66 binds already",
          "conflict: job 4 (Adsl 0/9-0/15 to Lan) binds VLAN id 200 on Lan card 0/5, which "
          "running.txt line 226 binds already",
          "nothing written"}},
        {"the same, the running lines from standard input",
         {"--against", "-", "--output-dir", "next"},
         "cat running.txt |",
         65,
         {"which - line 66 binds already"}},
        {"the next board on cards of its own",
         {"--against", "running.txt", "--output-dir", "next", "--set", "lan-board=1", "--set",
          "mmx-board=1"},
         "",
         0,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"--job", "shelf.json"};
        if (c.status != 0 || c.options.size() > 2)
            args.insert(args.end(), nextBoard.begin(), nextBoard.end());
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Result r = Gen(args, dir.path(), c.shellPrefix);
        EXPECT_EQ(r.status, c.status) << r.err;
        for (const std::string& part : c.err)
            EXPECT_TRUE(Contains(r.err, part)) << r.err;
        EXPECT_EQ(FilesIn(dir.File("next")), c.status == 0 && c.options.size() > 2 ? 3u : 0u);
        std::filesystem::remove_all(dir.File("next"));
        std::filesystem::create_directory(dir.File("next"));
    }
}

TEST_F(Against, RunningFilesThatCannotBeUsedWriteNothing) {
    std::string many;
    for (int i = 0; i < 150; ++i)
        many += "pvc lan 0/5 vlanid " + std::to_string(i) + " off\n";
    WriteFile(dir.File("bad.txt"), "! saved\npvc lan 0/5 vlanid 200 off atm\r\n");
    WriteFile(dir.File("many.txt"), many);
    WriteFile(dir.File("huge.txt"),
              "pvc lan 0/5 vlanid 1 off atm 0/7/0 optic 1 184467440737095516160 1 1 000 000\n");
    std::filesystem::create_directory(dir.File("folder"));
    struct Case {
        const char* file;
        int status;
        std::vector<std::string> err;
    };
    const Case cases[] = {
        {"missing.txt", 66, {"--against missing.txt: No such file or directory"}},
        {"folder", 66, {"--against folder: is a folder"}},
        {"bad.txt",
         65,
         {"bad.txt line 2: no page writes a \"pvc\" line like this: pvc lan 0/5 vlanid 200 off atm",
          "1 \"pvc\" line(s) of --against in no known format; nothing written"}},
        {"many.txt", 65, {"many.txt line 100:", "\u2026 and 50 more unknown \"pvc\" lines"}},
        {"huge.txt", 65, {"huge.txt line 1: a number beyond 64 bits"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"--job", "shelf.json", "--output-dir", "next"},
              std::vector<std::string>{"lan-mmx", "lan-board=0", "lan-slot=5", "start-vlan=300",
                                       "end-vlan=301", "vpi=1", "start-vci=40", "-o",
                                       "next/lan.txt"}}) {
            std::vector<std::string> args = command;
            args.insert(args.end(), {"--against", "running.txt", "--against", c.file});
            const Result r = Gen(args, dir.path());
            EXPECT_EQ(r.status, c.status) << r.err;
            for (const std::string& part : c.err)
                EXPECT_TRUE(Contains(r.err, part)) << r.err;
            EXPECT_FALSE(Contains(r.err, "many.txt line 101:"));
            EXPECT_EQ(FilesIn(dir.File("next")), 0u);
        }
    }
}

TEST_F(Against, OnePageIsHeldAgainstTheRunningLines) {
    const std::vector<std::string> page = {
        "lan-mmx", "lan-board=0", "lan-slot=5",   "start-vlan=150", "end-vlan=170",
        "vpi=1",   "-o",          "next/lan.txt", "--against",      "running.txt"};
    std::vector<std::string> clash = page;
    clash.push_back("start-vci=1000");
    const Result refused = Gen(clash, dir.path());
    EXPECT_EQ(refused.status, 65);
    EXPECT_TRUE(Contains(refused.err, "conflict: job 1 (next/lan.txt) binds VLAN id 150 on Lan "
                                      "card 0/5, which running.txt line 52 binds already"))
        << refused.err;
    EXPECT_EQ(FilesIn(dir.File("next")), 0u);

    // VLANs 150..163 to the VCIs the shelf gave them are the device's own lines.
    std::vector<std::string> alike = page;
    alike.insert(alike.end(), {"start-vci=90", "--plan"});
    const Result plan = Gen(alike, dir.path());
    EXPECT_EQ(plan.status, 0) << plan.err;
    EXPECT_TRUE(Contains(plan.out, "job 1 (next/lan.txt): 21 line(s) to write, 14 already "
                                   "configured, 0 conflict(s)"))
        << plan.out;
    EXPECT_TRUE(Contains(plan.out, "next/lan.txt: new (+21 lines)")) << plan.out;
    alike.pop_back();
    EXPECT_EQ(Gen(alike, dir.path()).status, 0);
    EXPECT_EQ(FilesIn(dir.File("next")), 1u);
}

TEST_F(Against, ThePlanSaysWhatTheRunWouldDo) {
    // One output changed by hand (a line gone, a line of its own), one gone.
    std::string lan = ReadFile(dir.File("lan-0-5.txt"));
    lan.erase(0, lan.find('\n') + 1);
    lan += "pvc lan 0/5 vlanid 999 off atm 0/7/0 optic 1 999 1 1 000 000\r\n";
    WriteFile(dir.File("lan-0-5.txt"), lan);
    std::filesystem::remove(dir.File("adsl-lan-0.txt"));
    const auto before = std::filesystem::last_write_time(dir.File("adsl-0.txt"));
    const std::size_t files = FilesIn(dir.path());

    const Result plan =
        Gen({"--job", "shelf.json", "--plan", "--against", "running.txt"}, dir.path());
    EXPECT_EQ(plan.status, 0) << plan.err;
    for (const char* part :
         {"Running configuration: 280 pvc line(s) in 13 run(s), 1 other line(s) ignored\n",
          "job 2 (Adsl 0/1-0/4 to Mmx): 128 line(s) to write, 128 already configured, 0 "
          "conflict(s)\n",
          "lan-0-5.txt: changed (+1 -1 lines)\n", "adsl-0.txt: unchanged\n",
          "adsl-lan-0.txt: new (+56 lines)\n"})
        EXPECT_TRUE(Contains(plan.out, part)) << part << "\n" << plan.out;

    const Result report = Gen({"--job", "shelf.json", "--report", "-"}, dir.path());
    EXPECT_EQ(report.status, 0) << report.err;
    const nlohmann::json json = nlohmann::json::parse(report.out);
    EXPECT_EQ(json["version"], 1);
    ASSERT_EQ(json["jobs"].size(), 4u);
    EXPECT_EQ(json["jobs"][1]["name"], "Adsl 0/1-0/4 to Mmx");
    EXPECT_EQ(json["jobs"][1]["lines"], 128);
    // The Adsl walk of 0/1..0/4 as one box, 32 ports, modem VPI/VCI 0/35.
    EXPECT_EQ(json["jobs"][1]["endpoints"][0][0]["slot"], nlohmann::json::parse("[1, 4]"));
    EXPECT_EQ(json["jobs"][1]["endpoints"][0][0]["port"], nlohmann::json::parse("[0, 31]"));
    EXPECT_EQ(json["outputs"][0]["state"], "changed");
    EXPECT_EQ(json["outputs"][0]["added"], 1);
    EXPECT_EQ(json["outputs"][2]["state"], "new");

    // The plan of a run that would be refused says so, and says the rest too.
    const Result refused = Gen({"--job", "shelf.json", "--set", "start-board=1", "--set",
                                "end-board=1", "--against", "running.txt", "--report", "r.json"},
                               dir.path());
    EXPECT_EQ(refused.status, 65);
    EXPECT_TRUE(Contains(refused.err, "the run would write nothing")) << refused.err;
    EXPECT_TRUE(Contains(refused.out, "adsl-1.txt: new (+160 lines)")) << refused.out;
    const nlohmann::json written = nlohmann::json::parse(ReadFile(dir.File("r.json")));
    EXPECT_EQ(written["status"], 65);
    EXPECT_EQ(written["conflicts"][0]["running"]["line"], 66);

    // A report is never written over a script of the run.
    const Result over = Gen({"--job", "shelf.json", "--report", "adsl-0.txt"}, dir.path());
    EXPECT_EQ(over.status, 73);
    EXPECT_TRUE(Contains(over.err, "--report adsl-0.txt is the output of job 2")) << over.err;

    // Nothing but the report was written.
    EXPECT_EQ(FilesIn(dir.path()), files + 1);
    EXPECT_EQ(std::filesystem::last_write_time(dir.File("adsl-0.txt")), before);
    EXPECT_EQ(ReadFile(dir.File("lan-0-5.txt")), lan);
}

TEST_F(Against, OptionsThatDoNotGoTogether) {
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"--job", "shelf.json", "--against", "running.txt", "--against", "running.txt"},
         "--against running.txt is given twice"},
        {{"--job", "-", "--against", "-"}, "standard input is given twice"},
        {{"--job", "shelf.json", "--against", "running.txt", "--no-check"},
         "--against is a check and --no-check skips the checks"},
        {{"--job", "shelf.json", "--plan", "--dry-run"}, "--plan says more than --dry-run"},
        {{"lan-mmx", "--plan", "--dry-run"}, "--plan says more than --dry-run"},
        {{"--job", "shelf.json", "--report"}, "option --report needs a file name"},
        {{"--job", "shelf.json", "--report", "a.json", "--report", "b.json"},
         "option --report is given twice"},
        {{"--job", "shelf.json", "--against"}, "option --against needs a file name"},
        {{"lan-mmx", "--save-job", "j.json", "--plan"}, "it does not go with --save-job"},
        {{"--job", "shelf.json", "--against", "running.txt", "--report", "running.txt"},
         "--report running.txt is also a running file"},
    };
    for (const Case& c : cases) {
        const Result r = Gen(c.args, dir.path());
        EXPECT_EQ(r.status, 64) << c.err;
        EXPECT_TRUE(Contains(r.err, c.err)) << r.err;
    }
}

} // namespace
