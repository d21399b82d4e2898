// zd7240-gen keeping a shelf: the chassis in the job file, defaults, --set, outputs
// named by fields, shared outputs, the pre-pass that writes nothing on any refusal, and
// --save-job with an existing file. Run as a process.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "genrun.h"
#include "process.h"

namespace {

using zd7240::test::Launch;
using zd7240::test::ReadFile;
using zd7240::test::Result;
using zd7240::test::TempDir;
using zd7240::test::WriteFile;

using zd7240::test::Contains;

Result Gen(const std::vector<std::string>& args, const std::filesystem::path& cwd) {
    return zd7240::test::GenIn(cwd, args);
}

// The Adsl cards of 0/1 to 0/6 to the Mmx card in 0/7, and the Adsl card in 0/9 to the
// Ces card in 0/10 unless `cesSlot` says otherwise.
std::string Shelf(const std::string& chassis, const std::string& cesSlot = "10") {
    return R"({"version": 1, "chassis": )" + chassis + R"(,
  "jobs": [
    {"page": "adsl-mmx", "fields": {"start-board": 0, "start-slot": 1, "end-board": 0,
     "end-slot": 6, "mmx-vpi": 1, "start-vci": 200}, "output": "adsl-0.txt"},
    {"page": "adsl-ces", "fields": {"start-board": 0, "start-slot": 9, "end-board": 0,
     "end-slot": 9, "ces-board": 0, "ces-slot": )" +
           cesSlot + R"(, "ces-port": 0, "ces-vpi": 1, "start-vci": 40},
     "output": "ces-0.txt"}]})";
}

TEST(Shelf, TheChassisIsCheckedBeforeAnythingIsWritten) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::string> options;
        int status;
        std::vector<std::string> err;
    };
    const Case cases[] = {
        {"an Adsl walk across the Lan card",
         Shelf(R"({"0/5": "lan", "0/7": "mmx"})"),
         {},
         65,
         {"job 1 (adsl-0.txt): the Adsl walk from 0/1 to 0/6 passes slot 0/5, which holds a "
          "Lan card\n"}},
        {"a far-side card on a slot that holds another card",
         Shelf(R"({"0/7": "mmx"})", "7"),
         {},
         65,
         {"job 2 (ces-0.txt): ces-slot 0/7 holds an Mmx card, not a Ces card\n"}},
        {"slots by value: 0/05 is 0/5, named twice",
         Shelf(R"({"0/5": "lan", "0/05": "ces"})"),
         {},
         65,
         {R"(chassis: slot 0/5 is named twice ("0/5" and "0/05"))"}},
        {"an unknown card and a slot that is not one",
         Shelf(R"({"0/5": "lna", "zero/6": "ces"})"),
         {},
         65,
         {"chassis: \"0/5\": 'lna' is not a card: use adsl, lan, mmx, ces or aiu; did you mean "
          "'Lan'?",
          "chassis: \"zero/6\" is not a slot"}},
        {"a shelf that agrees with its chassis",
         Shelf(R"({"0/10": "ces", "0/7": "mmx"})"),
         {},
         0,
         {}},
        {"--strict: a slot the chassis does not name",
         Shelf(R"({"0/10": "ces", "0/7": "mmx"})"),
         {"--strict"},
         65,
         {"job 1 (adsl-0.txt): the Adsl walk from 0/1 to 0/6 passes slot 0/1, which the chassis "
          "does not name",
          "job 2 (ces-0.txt): the Adsl walk from 0/9 to 0/9 passes slot 0/9"}},
        {"--no-check skips the chassis",
         Shelf(R"({"0/5": "lan", "0/7": "mmx"})"),
         {"--no-check"},
         0,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteFile(dir.File("shelf.json"), c.file);
        std::vector<std::string> args = {"--job", "shelf.json"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        // A dry run passes and fails exactly as the real run does.
        for (const char* run : {"--dry-run", "--progress"}) {
            std::vector<std::string> withRun = args;
            withRun.push_back(run);
            const Result r = Gen(withRun, dir.path());
            EXPECT_EQ(r.status, c.status) << run << ": " << r.err;
            for (const std::string& part : c.err)
                EXPECT_TRUE(Contains(r.err, part)) << run << ": " << r.err;
            if (c.status != 0) {
                EXPECT_EQ(dir.EntryCount(), 1u) << "nothing written";
            }
        }
        EXPECT_EQ(dir.EntryCount(), c.status == 0 ? 3u : 1u);
    }
}

TEST(Shelf, AnOutputThatCannotBeCreatedWritesNothing) {
    TempDir dir;
    const std::string lan = R"({"page": "lan-mmx", "fields": {"lan-board": 0, "lan-slot": 5,
        "start-vlan": 100, "end-vlan": 163, "vpi": 1, "start-vci": 40}, "output": "lan.txt"})";
    WriteFile(dir.File("jobs.json"),
              R"({"version": 1, "jobs": [)" + lan + R"(, {"page": "lan-mmx", "fields":
        {"lan-board": 0, "lan-slot": 6, "start-vlan": 1, "end-vlan": 2, "vpi": 1,
         "start-vci": 300}, "output": "out/lan-6.txt"}]})");
    for (const char* run : {"--dry-run", "--progress"}) {
        const Result r = Gen({"--job", "jobs.json", run}, dir.path());
        EXPECT_EQ(r.status, 73) << run;
        EXPECT_TRUE(Contains(r.err, "job 2 (out/lan-6.txt): cannot create \"out/lan-6.txt\": its "
                                    "folder \"out\": No such file or directory"))
            << r.err;
        EXPECT_EQ(dir.EntryCount(), 1u) << run;
    }
    std::filesystem::create_directory(dir.File("out"));
    EXPECT_EQ(Gen({"--job", "jobs.json"}, dir.path()).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("out/lan-6.txt")));
}

// One file serves every shelf: defaults shared by the jobs, --set for the shelf, outputs
// named by fields, and two jobs filling one file in job order.
TEST(Shelf, DefaultsSetsNamesAndSharedOutputs) {
    TempDir dir;
    WriteFile(dir.File("shelf.json"), R"({"version": 1,
  "defaults": {"start-board": 0, "end-board": 0, "mmx-vpi": 1, "card-type": "Ima"},
  "jobs": [
    {"name": "first cards", "page": "adsl-mmx", "fields": {"start-slot": 1, "end-slot": 1,
     "start-vci": 200}, "output": "adsl-{start-board}.txt"},
    {"name": "second cards", "page": "adsl-mmx", "fields": {"start-slot": 2, "end-slot": 2,
     "start-vci": 232, "mmx-vpi": "2"}, "output": "adsl-{start-board}.txt"}]})");
    WriteFile(dir.File("adsl-1.txt"), "old");
    Result r =
        Gen({"--job", "shelf.json", "--set", "start-board=1", "--set=end-board=1"}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "job 1 (first cards): End Vci: 231\njob 2 (second cards): End Vci: 263\n");
    const std::string script = ReadFile(dir.File("adsl-1.txt"));
    EXPECT_TRUE(script.starts_with("pvc adsl 1/1/0 vpi 0 35 atm 0/7/0 ima 1 200 "));
    EXPECT_TRUE(Contains(script, "pvc adsl 1/1/31 vpi 0 35 atm 0/7/0 ima 1 231 1 1 000 000\r\n"
                                 "pvc adsl 1/2/0 vpi 0 35 atm 0/7/0 ima 2 232 "))
        << "the job's own field wins over the default, the jobs in order";
    EXPECT_EQ(dir.EntryCount(), 2u);

    // Names that no job's page has are refused, with the nearest name.
    r = Gen({"--job", "shelf.json", "--set", "lan-board=1", "--set", "start-bord=1"}, dir.path());
    EXPECT_EQ(r.status, 65);
    EXPECT_TRUE(Contains(r.err, "--set: no job's page has a field 'lan-board'\n")) << r.err;
    EXPECT_TRUE(Contains(r.err, "'start-bord'; did you mean 'start-board'?")) << r.err;
    EXPECT_EQ(Gen({"--set", "start-board=1", "adsl-mmx"}, dir.path()).status, 64);
    EXPECT_EQ(Gen({"--job", "shelf.json", "--set", "start-board"}, dir.path()).status, 64);
}

TEST(Shelf, SaveJobNeverReplacesAJobFileSilently) {
    TempDir dir;
    const std::vector<std::string> page = {"lan-mmx",      "lan-board=0",  "lan-slot=5",
                                           "vpi=1",        "start-vci=40", "start-vlan=100",
                                           "end-vlan=163", "-o",           "lan.txt"};
    const std::string kept = R"({"version": 1, "comment": "kept", "jobs": [
        {"page": "lan-ces", "output": "ces.txt"}], "defaults": {"lan-board": "0"}})";
    WriteFile(dir.File("jobs.json"), kept);
    auto save = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = page;
        args.insert(args.end(), {"--save-job", "jobs.json"});
        args.insert(args.end(), extra.begin(), extra.end());
        return Gen(args, dir.path());
    };
    Result r = save({});
    EXPECT_EQ(r.status, 73);
    EXPECT_TRUE(Contains(r.err, "give --append to add the job to it or --force")) << r.err;
    EXPECT_EQ(ReadFile(dir.File("jobs.json")), kept);

    r = save({"--append"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string appended = ReadFile(dir.File("jobs.json"));
    const auto at = [&](const char* part) { return appended.find(part); };
    EXPECT_LT(at("\"comment\": \"kept\""), at("\"lan-ces\""));
    EXPECT_LT(at("\"lan-ces\""), at("\"lan-mmx\"")) << "the job goes after the others";
    EXPECT_LT(at("\"lan-mmx\""), at("\"defaults\"")) << appended;

    EXPECT_EQ(save({"--append", "--force"}).status, 64);
    r = save({"--force"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(Contains(ReadFile(dir.File("jobs.json")), "lan-ces"));

    WriteFile(dir.File("jobs.json"), "not a job file");
    EXPECT_EQ(save({"--append"}).status, 65);
    EXPECT_EQ(ReadFile(dir.File("jobs.json")), "not a job file");
}

// The shipped example passes its own check, --strict included, with its chassis.
TEST(Shelf, TheExamplePassesItsOwnCheck) {
    TempDir dir;
    std::filesystem::copy_file(std::string(ZD7240_EXAMPLES) + "/chassis-0.json",
                               dir.File("chassis-0.json"));
    const Result r = Gen({"--job", "chassis-0.json", "--strict"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.EntryCount(), 4u);
}

} // namespace
