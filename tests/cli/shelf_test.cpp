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
        {"without --strict, a slot the chassis does not name is a warning",
         Shelf(R"({"0/10": "ces", "0/7": "mmx"})"),
         {},
         0,
         {"job 1 (adsl-0.txt): warning: the Adsl walk from 0/1 to 0/6 passes slot 0/1, which "
          "the chassis does not name"}},
        {"--strict: a far-side slot beyond the shape the chassis names",
         Shelf(R"({"0/7": "mmx", "0/1": "adsl", "0/2": "adsl", "0/3": "adsl", "0/4": "adsl",
                   "0/5": "adsl", "0/6": "adsl", "0/9": "adsl", "slots": 10})"),
         {"--strict"},
         65,
         {"job 2 (ces-0.txt): ces-slot 0/10 is beyond the chassis's slots 0..9"}},
        {"--strict: an Adsl walk beyond the shape",
         Shelf(R"({"0/1": "adsl", "0/2": "adsl", "0/3": "adsl", "0/4": "adsl", "slots": 5})"),
         {"--strict"},
         65,
         {"job 1 (adsl-0.txt): the Adsl walk from 0/1 to 0/6 passes slot 0/5, beyond the "
          "chassis's slots 0..4"}},
        {"--strict: more ports a card than the chassis's Adsl cards have",
         Shelf(R"({"0/7": "mmx", "0/10": "ces", "0/1": "adsl", "0/2": "adsl", "0/3": "adsl",
                   "0/4": "adsl", "0/5": "adsl", "0/6": "adsl", "0/9": "adsl", "ports": 24})"),
         {"--strict"},
         65,
         {"job 1 (adsl-0.txt): port-number 32 is more than the 24 ports of an Adsl card"}},
        {"a chassis that contradicts its shape",
         Shelf(R"({"0/25": "lan", "0/8": "adsl", "slots": "16", "ports": 0})"),
         {},
         65,
         {"chassis: \"0/25\" is beyond the chassis's slots 0..15",
          "chassis: \"0/8\": slots 7 and 8 hold no Adsl card",
          "chassis: \"slots\" must be a whole number from 1 to 1000, not the text \"16\"",
          "chassis: \"ports\" must be a whole number from 1 to 2147483647, not 0"}},
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
    EXPECT_EQ(r.err, "job 1 (first cards): End Vci: 231\njob 2 (second cards): End Vci: "
                     "263\nadsl-1.txt: written\n");
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

// A job that the saved file's run would refuse for a conflict, with another job or with
// the chassis, is not saved; --no-check saves it anyway.
TEST(Shelf, AppendRefusesAJobThatConflicts) {
    TempDir dir;
    const std::string file = R"({"version": 1, "chassis": {"0/5": "lan", "0/7": "mmx"}, "jobs": [
  {"page": "lan-mmx", "fields": {"lan-board": "0", "lan-slot": "5", "start-vlan": "150",
   "end-vlan": "160", "vpi": "2", "start-vci": "40"}, "output": "first.txt"}
]}
)";
    const std::vector<std::string> overlapping = {
        "lan-mmx",      "lan-board=0", "lan-slot=5", "start-vlan=100", "end-vlan=163", "vpi=1",
        "start-vci=40", "-o",          "lan.txt",    "--save-job",     "jobs.json",    "--append"};
    std::vector<std::string> wrongCard = overlapping;
    wrongCard[2] = "lan-slot=6"; // no conflict with the first job; the chassis has no card there
    wrongCard.push_back("--strict");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {"another job", overlapping,
         "conflict: job 1 (first.txt) and job 2 (lan.txt) both bind VLAN id 150 on Lan card 0/5"},
        {"the chassis", wrongCard, "job 2 (lan.txt): "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.File("jobs.json"), file);
        Result r = Gen(c.args, dir.path());
        EXPECT_EQ(r.status, 65) << r.err;
        EXPECT_TRUE(Contains(r.err, c.error)) << r.err;
        EXPECT_TRUE(Contains(r.err, "nothing saved (--no-check saves anyway)")) << r.err;
        EXPECT_EQ(ReadFile(dir.File("jobs.json")), file);
        std::vector<std::string> anyway = c.args;
        anyway.push_back("--no-check");
        r = Gen(anyway, dir.path());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(Contains(ReadFile(dir.File("jobs.json")), "lan.txt"));
    }
}

// The command whose job --save-job --append adds in the tests below, and two jobs that
// run beside it (other slots, another VPI).
const std::vector<std::string> kNewJob = {"lan-mmx",        "lan-board=0",  "lan-slot=5",
                                          "start-vlan=100", "end-vlan=163", "vpi=1",
                                          "start-vci=40",   "-o",           "new.txt"};
const std::string kOldJob =
    R"({"page": "lan-mmx", "fields": {"lan-board": "0", "lan-slot": "6", )"
    R"("start-vlan": "1", "end-vlan": "2", "vpi": "2", "start-vci": "40"}, )"
    R"("output": "old.txt"})";
const std::string kOtherJob = R"({"page": "lan-mmx", "fields": {"lan-board": "0", )"
                              R"("lan-slot": "4", "start-vlan": "1", "end-vlan": "2", "vpi": "3", )"
                              R"("start-vci": "40"}, "output": "other.txt"})";
// Every field of the added job, as one line.
const std::string kNewFields =
    R"("lan-board": "0", "lan-slot": "5", "start-vlan": "100", "end-vlan": "163", )"
    R"("mmx-board": "0", "mmx-slot": "7", "mmx-port": "0", "vpi": "1", "start-vci": "40", )"
    R"("rx-cttr": "1", "tx-cttr": "1", "rx-upc": "000", "tx-upc": "000", "card-type": "Optic")";

// --append puts the job's text before the closing bracket of the list and leaves every
// other byte as it was: numbers of every kind, the layout, the line ends. The job is laid
// out like the one before it and names only the fields the defaults do not give it; the
// file then runs.
TEST(Shelf, AppendAddsTheJobAndKeepsEveryOtherByte) {
    struct Case {
        const char* name;
        std::string before;
        std::string added; // what the file holds afterwards, in place of "<>"
    };
    const Case cases[] = {
        {"a job a line, after a second job",
         "{\"version\": 1,\n \"jobs\": [" + kOldJob + ",\n  " + kOtherJob + "<>]}\n",
         ",\n  {\"page\": \"lan-mmx\", \"fields\": {" + kNewFields + "}, \"output\": \"new.txt\"}"},
        {"one job on the line of the list", R"({"version": 1, "jobs": [)" + kOldJob + "<>]}",
         R"(, {"page": "lan-mmx", "fields": {)" + kNewFields + R"(}, "output": "new.txt"})"},
        {"by hand, with numbers no double holds exactly and three-space steps",
         R"({
   "version" : 1,
   "comment" : [123456789012345678901234567890, 1.5e-400, -0, 0.25, 1E2, -7, 1e308],
   "defaults" : { "mmx-slot" : "7", "rx-upc" : "000", "tx-upc" : "000" },
   "jobs" : [
         {
            "page" : "lan-mmx",
            "fields" : { "lan-board" : "0", "lan-slot" : "6", "start-vlan" : "1",
                         "end-vlan" : "2", "vpi" : 123456789012345678901234567890,
                         "start-vci" : "40" },
            "output" : "old.txt"
         }<>
   ]
}
)",
         R"(,
         {
            "page" : "lan-mmx",
            "fields" : {"lan-board" : "0", "lan-slot" : "5", "start-vlan" : "100", "end-vlan" : "163", "mmx-board" : "0", "mmx-port" : "0", "vpi" : "1", "start-vci" : "40", "rx-cttr" : "1", "tx-cttr" : "1", "card-type" : "Optic"},
            "output" : "new.txt"
         })"},
        {"as the program lays a file out, with CR LF",
         "{\r\n  \"version\": 1,\r\n  \"jobs\": [\r\n    {\r\n      \"page\": \"lan-mmx\",\r\n"
         "      \"fields\": {\r\n        \"lan-board\": \"0\",\r\n        \"lan-slot\": \"6\",\r\n"
         "        \"start-vlan\": \"1\",\r\n        \"end-vlan\": \"2\",\r\n"
         "        \"vpi\": \"2\",\r\n        \"start-vci\": \"40\"\r\n      },\r\n"
         "      \"output\": \"old.txt\"\r\n    }<>\r\n  ],\r\n"
         "  \"defaults\": {\"rx-cttr\": \"1\", \"tx-cttr\": \"1\", \"rx-upc\": \"000\", "
         "\"tx-upc\": \"000\", \"card-type\": \"Optic\", \"mmx-port\": \"0\"}\r\n}\r\n",
         ",\r\n    {\r\n      \"page\": \"lan-mmx\",\r\n      \"fields\": {\r\n"
         "        \"lan-board\": \"0\",\r\n        \"lan-slot\": \"5\",\r\n"
         "        \"start-vlan\": \"100\",\r\n        \"end-vlan\": \"163\",\r\n"
         "        \"mmx-board\": \"0\",\r\n        \"mmx-slot\": \"7\",\r\n"
         "        \"vpi\": \"1\",\r\n        \"start-vci\": \"40\"\r\n      },\r\n"
         "      \"output\": \"new.txt\"\r\n    }"},
        {"an empty list across lines, with CR LF",
         "{\r\n  \"version\": 1,\r\n  \"jobs\": [<>\r\n  ]\r\n}\r\n",
         "\r\n    {\r\n      \"page\": \"lan-mmx\",\r\n      \"fields\": {\r\n"
         "        \"lan-board\": \"0\",\r\n        \"lan-slot\": \"5\",\r\n"
         "        \"start-vlan\": \"100\",\r\n        \"end-vlan\": \"163\",\r\n"
         "        \"mmx-board\": \"0\",\r\n        \"mmx-slot\": \"7\",\r\n"
         "        \"mmx-port\": \"0\",\r\n        \"vpi\": \"1\",\r\n"
         "        \"start-vci\": \"40\",\r\n        \"rx-cttr\": \"1\",\r\n"
         "        \"tx-cttr\": \"1\",\r\n        \"rx-upc\": \"000\",\r\n"
         "        \"tx-upc\": \"000\",\r\n        \"card-type\": \"Optic\"\r\n      },\r\n"
         "      \"output\": \"new.txt\"\r\n    }"},
        {"an empty list in a file of lines, tabs for steps",
         "{\n\t\"version\": 1,\n\t\"defaults\": {\"lan-board\": \"0\", \"lan-slot\": \"5\", "
         "\"start-vlan\": \"100\", \"end-vlan\": \"163\", \"mmx-board\": \"0\", \"mmx-slot\": "
         "\"7\", \"mmx-port\": \"0\", \"start-vci\": \"40\", \"rx-cttr\": \"1\", \"tx-cttr\": "
         "\"1\", \"rx-upc\": \"000\", \"tx-upc\": \"000\", \"card-type\": \"Optic\"},\n"
         "\t\"jobs\": [<>]\n}\n",
         "\n\t\t{\n\t\t\t\"page\": \"lan-mmx\",\n\t\t\t\"fields\": {\n\t\t\t\t\"vpi\": \"1\"\n"
         "\t\t\t},\n\t\t\t\"output\": \"new.txt\"\n\t\t}\n\t"},
        {"an empty list on one line; defaults by key, control name and any case",
         R"({"version": 1, "defaults": {"suiEdit401": "0", "vpi": 2, "card-type": "optic",
 "mmx-slot": 7, "mmx-board": 0, "rx-cttr": "1", "tx-cttr": "1", "rx-upc": "000",
 "tx-upc": "000", "mmx-port": "0"}, "jobs": [<>]})",
         R"({"page": "lan-mmx", "fields": {"lan-slot": "5", "start-vlan": "100", "end-vlan": "163", "vpi": "1", "start-vci": "40"}, "output": "new.txt"})"},
        {"no spaces at all, every field a default",
         R"({"version":1,"jobs":[)" + kOldJob +
             R"(<>],"defaults":{"tx-upc":"000","rx-upc":"000","card-type":0,"mmx-port":"0","rx-cttr":1,"tx-cttr":1,"mmx-board":"0","mmx-slot":"7","lan-board":"0","lan-slot":"5","start-vlan":"100","end-vlan":"163","vpi":"1","start-vci":"40"}})",
         R"(, {"page": "lan-mmx", "output": "new.txt"})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::size_t at = c.before.find("<>");
        ASSERT_NE(at, std::string::npos);
        const std::string before = std::string(c.before).erase(at, 2);
        WriteFile(dir.File("jobs.json"), before);
        std::vector<std::string> args = kNewJob;
        args.insert(args.end(), {"--save-job", "jobs.json", "--append"});
        Result r = Gen(args, dir.path());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFile(dir.File("jobs.json")), std::string(before).insert(at, c.added));
        r = Gen({"--job", "jobs.json", "--dry-run"}, dir.path());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(Contains(r.out, "(new.txt)\nEnd Vci: 103\nLines: 64\n")) << r.out;
    }
}

// A file that --job refuses is refused by --append as well, with the same message, and
// left as it was; so is a file that the added job would make unrunnable.
TEST(Shelf, AppendRefusesWhatTheJobRunRefuses) {
    struct Case {
        const char* name;
        std::string before;
        std::string err;
        std::string output = "new.txt"; // -o
    };
    const Case cases[] = {
        {"\"jobs\" given twice", R"({"version": 1, "jobs": [)" + kOldJob + R"(], "jobs": []})",
         "jobs.json: the key \"jobs\" is given twice"},
        {"a number beyond every double",
         "{\"version\": 1,\n \"comment\": 1e400, \"jobs\": [" + kOldJob + "]}",
         "jobs.json:2:13: the number 1e400 is beyond every number a job file holds"},
        {"not JSON", R"({"version": 1, "jobs": [)" + kOldJob + ",]}", "jobs.json:1:"},
        {"another version", R"({"version": 2, "jobs": []})", "jobs.json: unknown version 2"},
        {"no list of jobs", R"({"version": 1, "jobs": {}})", "\"jobs\" must be a list of jobs"},
        {"an unknown key by an empty list", R"({"version": 1, "jobs": [], "defualts": {}})",
         "unknown key \"defualts\"; did you mean 'defaults'?"},
        {"a default no page has", R"({"version": 1, "jobs": [], "defaults": {"start-board": "1"}})",
         "defaults: no job's page has a field 'start-board'"},
        {"an output the added job would meet once its braces are filled in",
         R"({"version": 1, "jobs": [{"page": "lan-mmx", "fields": {"lan-board": "0"},
         "output": "{lan-board}-new.txt"}]})",
         "job 2 (0-new.txt): \"0-new.txt\" gives 0-new.txt, as job 1's \"{lan-board}-new.txt\" "
         "does",
         "0-new.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteFile(dir.File("jobs.json"), c.before);
        std::vector<std::string> args = kNewJob;
        args.back() = c.output;
        args.insert(args.end(), {"--save-job", "jobs.json", "--append"});
        const Result r = Gen(args, dir.path());
        EXPECT_EQ(r.status, 65) << r.err;
        EXPECT_TRUE(Contains(r.err, c.err)) << r.err;
        EXPECT_EQ(ReadFile(dir.File("jobs.json")), c.before);
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

// -o names a file as the command line gives it: braces in it are doubled in the saved job,
// so that the job file's {FIELD}s do not fill them in, and the saved job writes that very
// file. --no-check and --check go with --save-job.
TEST(Shelf, SavedOutputsNameTheFileGiven) {
    for (const std::string output : {"out{vpi}.txt", "a}b.txt", "{{x}}.txt", "{"}) {
        SCOPED_TRACE(output);
        TempDir dir;
        std::vector<std::string> args = kNewJob;
        args.back() = output;
        args.insert(args.end(), {"--save-job", "jobs.json", "--no-check"});
        Result r = Gen(args, dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        args.insert(args.end(), "--append"); // the same job again: only the names matter
        args[8] = "sub/" + output;
        std::filesystem::create_directory(dir.File("sub"));
        r = Gen(args, dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        r = Gen({"--job", "jobs.json", "--no-check"}, dir.path());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(std::filesystem::is_regular_file(dir.File(output)));
        EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("sub/" + output)));
        EXPECT_EQ(dir.EntryCount(), 3u);
    }
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
