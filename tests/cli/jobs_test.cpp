// zd7240-gen with job files, --check, --strict and --save-job, run as a process.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <vector>

#include "genrun.h"
#include "process.h"

namespace {

using zd7240::test::ReadFile;
using zd7240::test::TempDir;
using zd7240::test::WriteFile;

using zd7240::test::Launch;
using zd7240::test::Process;
using zd7240::test::Result;

using zd7240::test::Contains;

Result Gen(const std::vector<std::string>& args, const std::filesystem::path& cwd) {
    return zd7240::test::GenIn(cwd, args);
}

const std::string kLanJob = R"({"page": "lan-mmx", "fields": {"lan-board": "0", "lan-slot": "5",
    "start-vlan": "100", "end-vlan": "163", "vpi": "1", "start-vci": "40"}, "output": "lan-0-5.txt"})";
const std::string kAdslJob = R"({"page": "adsl-mmx", "fields": {"start-board": "0",
    "start-slot": "1", "end-board": "0", "end-slot": "6", "mmx-vpi": "1", "start-vci": "200",
    "card-type": "Ima"}, "output": "adsl-0.txt"})";

std::string JobFile(const std::vector<std::string>& jobs) {
    std::string text = "{\"version\": 1,\n \"jobs\": [";
    for (std::size_t i = 0; i < jobs.size(); ++i)
        text += (i ? ",\n  " : "") + jobs[i];
    return text + "]}\n";
}

TEST(JobFiles, ReadAsWrittenOrRefusedWithTheirPlace) {
    struct Case {
        const char* name;
        std::string file;
        int status;
        std::vector<std::string> err; // parts of standard error
    };
    const Case cases[] = {
        {"the documented example",
         JobFile({kLanJob, kAdslJob}),
         0,
         {"job 1 (lan-0-5.txt): End Vci: 103\n", "job 2 (adsl-0.txt): End Vci: 391\n"}},
        {"an escape after plain jobs (the file is read again by the full parser)",
         JobFile({kLanJob, R"({"page": "lan-mmx", "fields": {"lan-board": "1", "lan-slot": "5",
         "start-vlan": "100", "end-vlan": "163", "vpi": "2", "start-vci": "40"},
         "output": "lan-\u0031.txt"})"}),
         0,
         {"job 1 (lan-0-5.txt): End Vci: 103\n", "job 2 (lan-1.txt): End Vci: 103\n"}},
        {"not JSON", "{\"version\": 1,\n \"jobs\": [}", 65, {"jobs.json:2:"}},
        {"a number beyond every number type",
         R"({"version": 1e999, "jobs": []})",
         65,
         {"jobs.json:1:13: the number 1e999 is beyond every number a job file holds"}},
        {"unknown version",
         R"({"version": 2, "jobs": [)" + kLanJob + "]}",
         65,
         {"jobs.json: unknown version 2"}},
        {"no version", R"({"jobs": [)" + kLanJob + "]}", 65, {"\"version\" is missing"}},
        {"unknown page",
         JobFile({kLanJob, R"({"page": "lan-xyz", "output": "b.txt"})"}),
         65,
         {"jobs.json: job 2 (b.txt): unknown page \"lan-xyz\""}},
        {"unknown field",
         JobFile({R"({"page": "Lan--Mmx", "fields": {"lan-bored": "0"}, "output": "b.txt"})"}),
         65,
         {"job 1 (b.txt): page Lan--Mmx has no field 'lan-bored'; did you mean 'lan-board'?"}},
        {"values that are neither text nor a whole number",
         JobFile({R"({"page": "lan-mmx", "fields": {"vpi": true, "lan-slot": -5,
         "start-vci": 1.5, "end-vlan": 1e3}, "output": "b.txt"})"}),
         65,
         {"job 1 (b.txt): vpi: true is neither text", "lan-slot: -5 is below 0",
          "start-vci: 1.5 is not a whole number", "end-vlan: 1e3 is not a whole number"}},
        {"every unknown key and field at once, with the nearest names",
         JobFile({R"({"page": "lan-mmx", "ouptut": "a.txt", "fields": {"start-valn": "1"}})",
                  R"({"page": "lan-mcx", "output": "b.txt"})"}),
         65,
         {"job 1: unknown key \"ouptut\"; did you mean 'output'?",
          "job 1: \"output\" must be a file name",
          "job 1: page Lan--Mmx has no field 'start-valn'; did you mean 'start-vlan'?",
          "job 2 (b.txt): unknown page \"lan-mcx\"; did you mean 'lan-mmx'?"}},
        {"an unknown card type",
         JobFile({R"({"page": "lan-mmx", "fields": {"card-type": "Atm"}, "output": "b.txt"})"}),
         65,
         {"'Atm' is not a card type of card-type"}},
        {"a key given twice",
         JobFile({kLanJob, R"({"page": "lan-mmx", "fields": {"vpi": "1",
         "vpi": "2"}, "output": "b.txt"})"}),
         65,
         {"job 2: the key \"vpi\" is given twice"}},
        {"one field by key and by control name",
         JobFile({R"({"page": "lan-mmx", "fields": {"vpi": "1", "suiEdit408": "2"},
         "output": "b.txt"})"}),
         65,
         {"set the same field suiEdit408"}},
        {"outputs that meet only once their fields are filled in",
         JobFile(
             {R"({"page": "lan-mmx", "fields": {"lan-board": "0"}, "output": "lan-{lan-board}.txt"})",
              R"({"page": "lan-mmx", "output": "sub/../lan-0.txt"})"}),
         65,
         {"job 2 (sub/../lan-0.txt): \"sub/../lan-0.txt\" gives sub/../lan-0.txt, as job 1's "
          "\"lan-{lan-board}.txt\" does"}},
        {"a field that would lead out of the folder, and an unknown one",
         JobFile(
             {R"({"page": "lan-mmx", "fields": {"lan-board": ".."}, "output": "{lan-board}/x"})",
              R"({"page": "lan-mmx", "output": "{lan-bord}.txt"})",
              R"({"page": "lan-mmx", "output": "a{.txt"})"}),
         65,
         {"job 1 ({lan-board}/x): \"output\": {lan-board} is '..', which cannot stand in a "
          "file name",
          "job 2 ({lan-bord}.txt): \"output\" names {lan-bord}, but page Lan--Mmx has no such "
          "field; did you mean 'lan-board'?",
          "job 3 (a{.txt): \"output\" has a '{' that is not closed"}},
        {"a job writing over the job file",
         JobFile({R"({"page": "lan-mmx", "output": "jobs.json"})"}),
         65,
         {"job 1 (jobs.json): would write over the job file itself"}},
        {"a job without output",
         JobFile({R"({"page": "lan-mmx"})"}),
         65,
         {"job 1: \"output\" must be a file name"}},
        {"no jobs", R"({"version": 1, "jobs": []})", 65, {"the file has no jobs"}},
        // Hostile files: refused with their place, without a crash or a deep tree built.
        {"a version nested 100,000 deep",
         R"({"version": )" + std::string(100000, '[') + std::string(100000, ']') + "}",
         65,
         {"jobs.json:1:28: nested deeper than 16 levels"}},
        {"a field value nested deeply",
         JobFile({R"({"page": "lan-mmx", "fields": {"vpi": )" + std::string(5000, '{') +
                  std::string(5000, '}') + "}, \"output\": \"b.txt\"}"}),
         65,
         {"nested deeper than 16 levels"}},
        {"brackets inside strings do not count",
         JobFile({R"({"page": "lan-mmx", "comment": ")" + std::string(50, '[') +
                  R"(", "output": "-"})"}),
         65,
         {"job 1 (-): lan-board (\"Board id:\" in \"Lan card information\") is empty"}},
        {"a NUL byte in an output name",
         JobFile({R"({"page": "lan-mmx", "output": "a\u0000b.txt"})"}),
         65,
         {"job 1 (a\\x00b.txt): \"output\" holds a NUL byte"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteFile(dir.File("jobs.json"), c.file);
        const Result r = Gen({"--job", "jobs.json"}, dir.path());
        EXPECT_EQ(r.status, c.status) << r.err;
        for (const std::string& part : c.err)
            EXPECT_TRUE(Contains(r.err, part)) << r.err;
        if (c.status != 0) {
            EXPECT_EQ(dir.EntryCount(), 1u) << "nothing but the job file";
        }
    }
}

// Numbers are named as they are written: a whole number is whole however long it is (and
// then judged by the field's largest value), a minus sign is refused even on 0, and a
// number beyond every double has its place in the file.
TEST(JobFiles, NumbersAreNamedAsWritten) {
    struct Case {
        const char* name;
        std::string fields; // in a Lan--Mmx job whose other fields pass
        int status;
        std::string err;
    };
    const Case cases[] = {
        {"digits beyond 64 bits in a walk field", R"("end-vlan": 18446744073709551616)", 65,
         "job 1 (a.txt): end-vlan (\"End Vlan id:\" in \"Lan card information\"): "
         "'18446744073709551616' is above 2147483647\n"},
        {"digits beyond 64 bits in a copied field are its text", R"("vpi": 18446744073709551616)",
         0,
         "job 1 (a.txt): warning: vpi (\"Vpi:\" in \"Mmx card information / Card type is "
         "Optic\"): VPI 18446744073709551616 is above 255\n"},
        {"minus zero", R"("lan-slot": -0)", 65,
         "job 1 (a.txt): lan-slot: -0 has a minus sign; a field holds digits only\n"},
        {"a negative number beyond 64 bits", R"("lan-slot": -18446744073709551617)", 65,
         "job 1 (a.txt): lan-slot: -18446744073709551617 is below 0; a field holds digits only\n"},
        {"a number too small for a double", R"("lan-slot": 1.5e-400)", 65,
         "job 1 (a.txt): lan-slot: 1.5e-400 is not a whole number; a field holds digits only\n"},
        {"a number beyond every double, on line 3", "\n \"lan-slot\":  1e400", 65,
         "zd7240-gen: jobs.json:3:15: the number 1e400 is beyond every number a job file "
         "holds\n"},
        {"a negative one", R"("lan-slot": -1E+400)", 65,
         "zd7240-gen: jobs.json:2:54: the number -1E+400 is beyond every number a job file "
         "holds\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string fields = c.fields;
        for (const char* passing :
             {R"("lan-board": "0")", R"("lan-slot": "5")", R"("start-vlan": "1")",
              R"("end-vlan": "2")", R"("vpi": "1")", R"("start-vci": "40")"}) {
            const std::string key(passing, std::string_view(passing).find(':'));
            if (!Contains(c.fields, key))
                fields += ", " + std::string(passing);
        }
        WriteFile(dir.File("jobs.json"),
                  "{\"version\": 1,\n \"jobs\": [{\"page\": \"lan-mmx\", \"fields\": {" + fields +
                      "}, \"output\": \"a.txt\"}]}");
        const Result r = Gen({"--job", "jobs.json", "--dry-run"}, dir.path());
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_TRUE(Contains(r.err, c.err)) << r.err;
    }
}

TEST(JobFiles, WriteTheSameBytesAsTheCommandLine) {
    TempDir dir;
    WriteFile(dir.File("jobs.json"), JobFile({kLanJob, kAdslJob}));
    ASSERT_EQ(Gen({"--job", "jobs.json"}, dir.path()).status, 0);
    const Result lan = Gen({"lan-mmx", "lan-board=0", "lan-slot=5", "start-vlan=100",
                            "end-vlan=163", "vpi=1", "start-vci=40", "-o", "-"},
                           dir.path());
    EXPECT_EQ(ReadFile(dir.File("lan-0-5.txt")), lan.out);
    const std::string adsl = ReadFile(dir.File("adsl-0.txt"));
    EXPECT_TRUE(adsl.starts_with("pvc adsl 0/1/0 vpi 0 35 atm 0/7/0 ima 1 200 1 1 000 000\r\n"));
    EXPECT_TRUE(adsl.ends_with("pvc adsl 0/6/31 vpi 0 35 atm 0/7/0 ima 1 391 1 1 000 000\r\n"));
}

// A refused field anywhere refuses the run before anything is written; every refused
// field of every job is named, by the key the operator typed.
TEST(JobFiles, ARefusedJobWritesNothing) {
    struct Case {
        const char* name;
        std::string badJob;
        std::string err;
    };
    const Case cases[] = {
        {"input check", R"({"page": "lan-mmx", "fields": {"lan-board": "0", "lan-slot": "6",
          "start-vlan": "1", "end-vlan": "2", "vpi": "1", "start-vci": "4x"}, "output": "b.txt"})",
         "job 2 (b.txt): start-vci (\"Start Vci:\" in \"Mmx card information / Card type is "
         "Optic\"): '4x' is not a number"},
        {"conversion", R"({"page": "lan-mmx", "fields": {"lan-board": "0", "lan-slot": "6",
          "start-vlan": "1", "end-vlan": "99999999999", "vpi": "1", "start-vci": "40"},
          "output": "b.txt"})",
         "job 2 (b.txt): end-vlan (\"End Vlan id:\" in \"Lan card information\"): "
         "'99999999999' is above 2147483647"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string third = R"({"page": "lan-mmx", "output": "c.txt"})";
        WriteFile(dir.File("jobs.json"), JobFile({kLanJob, c.badJob, third}));
        WriteFile(dir.File("c.txt"), "old");
        const Result r = Gen({"--job", "jobs.json"}, dir.path());
        EXPECT_EQ(r.status, 65);
        EXPECT_TRUE(Contains(r.err, c.err)) << r.err;
        EXPECT_TRUE(Contains(r.err, "job 3 (c.txt): lan-board (\"Board id:\" in \"Lan card "
                                    "information\") is empty"))
            << "later jobs are judged too: " << r.err;
        EXPECT_FALSE(Contains(r.err, "End Vci")) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File("lan-0-5.txt")));
        EXPECT_FALSE(std::filesystem::exists(dir.File("b.txt")));
        EXPECT_EQ(ReadFile(dir.File("c.txt")), "old");
    }
}

TEST(JobFiles, AnInterruptEndsTheRunInTheJobItStopped) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0644), 0);
    WriteFile(dir.File("jobs.json"),
              JobFile({kLanJob, R"({"page": "lan-mmx", "fields": {"lan-board": "0",
               "lan-slot": "6", "start-vlan": "1", "end-vlan": "2", "vpi": "1",
               "start-vci": "300"}, "output": "pipe"})",
                       kAdslJob}));
    Launch launch;
    launch.cwd = dir.path().string();
    Process gen(ZD7240_GEN, {"--job", "jobs.json"}, launch);
    // The files of jobs 1 and 3 are written first, beside their places; then the only
    // place the program sleeps is job 2's open(), waiting for a reader of the FIFO. A
    // loaded machine may take a while to get there.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int blockedFor = 0;
    while (blockedFor < 5 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        blockedFor = gen.Blocked() ? blockedFor + 1 : 0;
    }
    ASSERT_EQ(blockedFor, 5) << "never reached job 2: " << gen.ErrorSoFar();
    gen.Signal(SIGTERM);
    const Result r = gen.Wait();
    EXPECT_EQ(r.status, 143);
    EXPECT_TRUE(Contains(r.err, "interrupted in job 2 (pipe); no file was replaced")) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("lan-0-5.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("adsl-0.txt")));
    EXPECT_EQ(dir.EntryCount(), 2u) << "no temporary file left";
}

TEST(JobFiles, OutputsAreTakenFromTheJobFilesFolder) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("plans"));
    WriteFile(dir.File("plans/jobs.json"),
              JobFile({kLanJob, R"({"page": "aiu-mmx", "fields": {"aiu-board": "0",
               "aiu-slot": "3", "aiu-port": "0", "aiu-vpi": "1", "aiu-start-vci": "50",
               "aiu-end-vci": "50", "mmx-vpi": "2", "mmx-start-vci": "60",
               "aiu-card-type": "1"}, "output": "-"})"}));
    const Result r = Gen({"--job", "plans/jobs.json"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir.File("plans/lan-0-5.txt")));
    EXPECT_EQ(r.out, "pvc aiu 0/3/0 ima 1 50 atm 0/7/0 optic 2 60 1 1 000 000\r\n");
}

TEST(JobFiles, CheckReportsConflictsAndWritesNothing) {
    TempDir dir;
    const std::string overlapping = R"({"page": "lan-mmx", "fields": {"lan-board": "0",
        "lan-slot": "5", "start-vlan": "150", "end-vlan": "150", "vpi": "1", "start-vci": "104"},
        "output": "b.txt"})";
    WriteFile(dir.File("jobs.json"), JobFile({kLanJob, kAdslJob, overlapping}));
    // The check runs by default; --check is still taken.
    for (const char* check : {"--check", "--progress"}) {
        Result r = Gen({"--job", "jobs.json", check}, dir.path());
        EXPECT_EQ(r.status, 65);
        EXPECT_EQ(r.err, "zd7240-gen: conflict: job 1 (lan-0-5.txt) and job 3 (b.txt) both bind "
                         "VLAN id 150 on Lan card 0/5\n"
                         "zd7240-gen: 1 conflict(s) with other jobs or the chassis; nothing "
                         "written\n");
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
    // With --no-check the jobs run as they are.
    Result r = Gen({"--job", "jobs.json", "--no-check"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.EntryCount(), 4u);
    // No conflict: checked, then written.
    TempDir clean;
    WriteFile(clean.File("jobs.json"), JobFile({kLanJob, kAdslJob}));
    r = Gen({"--job", "jobs.json", "--check"}, clean.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(clean.EntryCount(), 3u);
}

TEST(JobFiles, DryRunComputesEveryJobWithoutWriting) {
    TempDir dir;
    // Two billion lines answer at once: they are counted, not walked.
    const std::string huge = R"({"page": "lan-mmx", "fields": {"lan-board": "0", "lan-slot": "6",
        "start-vlan": "0", "end-vlan": "2000000000", "vpi": "2", "start-vci": "40"},
        "output": "huge.txt"})";
    WriteFile(dir.File("jobs.json"), JobFile({kLanJob, huge}));
    // A null device of the test's own: 118 GB would not fit the disk as a file, which
    // the dry run would refuse as the real run would.
    ASSERT_EQ(mknod(dir.File("huge.txt").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    const Result r = Gen({"--job", "jobs.json", "--dry-run"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "job 1 (lan-0-5.txt)\nEnd Vci: 103\nLines: 64\n"
                     "First: pvc lan 0/5 vlanid 100 off atm 0/7/0 optic 1 40 1 1 000 000\n"
                     "Last: pvc lan 0/5 vlanid 163 off atm 0/7/0 optic 1 103 1 1 000 000\n"
                     "job 2 (huge.txt)\nEnd Vci: 2000000040\nLines: 2000000001\n"
                     "First: pvc lan 0/6 vlanid 0 off atm 0/7/0 optic 2 40 1 1 000 000\n"
                     "Last: pvc lan 0/6 vlanid 2000000000 off atm 0/7/0 optic 2 2000000040 "
                     "1 1 000 000\n");
    EXPECT_TRUE(Contains(r.err, "job 2 (huge.txt): warning: end-vlan")) << r.err;
    EXPECT_EQ(dir.EntryCount(), 2u);
}

TEST(JobFiles, StrictTurnsHintsIntoRefusals) {
    const std::vector<std::string> page = {"lan-mmx",         "lan-board=0",   "lan-slot=5",
                                           "start-vlan=4090", "end-vlan=4095", "vpi=1",
                                           "start-vci=40"};
    const std::string warning = "zd7240-gen: warning: end-vlan (\"End Vlan id:\" in "
                                "\"Lan card information\"): VLAN id 4095 is outside 1..4094\n";
    TempDir dir;
    Result r = Gen(page, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, warning + "End Vci: 45\n");
    std::filesystem::remove(dir.File("zd7240.txt"));
    std::vector<std::string> strict = page;
    strict.push_back("--strict");
    r = Gen(strict, dir.path());
    EXPECT_EQ(r.status, 65);
    EXPECT_EQ(r.err, warning + "zd7240-gen: --strict: 1 warning(s); nothing written\n");
    EXPECT_EQ(dir.EntryCount(), 0u);
    // In a job file, one warning anywhere stops every job.
    WriteFile(dir.File("jobs.json"),
              JobFile({kLanJob, R"({"page": "lan-mmx", "fields": {"lan-board": "0",
               "lan-slot": "6", "start-vlan": "1", "end-vlan": "2", "vpi": "256",
               "start-vci": "40"}, "output": "b.txt"})"}));
    r = Gen({"--job", "jobs.json", "--strict"}, dir.path());
    EXPECT_EQ(r.status, 65);
    EXPECT_TRUE(Contains(r.err, "job 2 (b.txt): warning: vpi (\"Vpi:\"")) << r.err;
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(JobFiles, SaveJobRoundTrip) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("plans"));
    const std::vector<std::string> fields = {"aiu-mmx",           "aiu-board=0", "aiu-slot=3",
                                             "aiu-port=1",        "aiu-vpi=1",   "aiu-start-vci=50",
                                             "aiu-end-vci=52",    "mmx-vpi=2",   "mmx-start-vci=60",
                                             "mmx-card-type=Ima", "-o",          "a.txt"};
    std::vector<std::string> save = fields;
    save.insert(save.end(), {"--save-job", "plans/a.json"});
    Result r = Gen(save, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.EntryCount(), 1u) << "the job file only, no script";
    const std::string json = ReadFile(dir.File("plans/a.json"));
    EXPECT_TRUE(Contains(json, "\"page\": \"aiu-mmx\"")) << json;
    EXPECT_TRUE(Contains(json, "\"mmx-card-type\": \"Ima\"")) << json;
    EXPECT_TRUE(Contains(json, "\"mmx-board\": \"0\"")) << "initial texts are saved too";
    EXPECT_TRUE(Contains(json, "\"output\": \"../a.txt\"")) << json;
    r = Gen({"--job", "plans/a.json"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string fromJob = ReadFile(dir.File("a.txt"));
    r = Gen(fields, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir.File("a.txt")), fromJob);
    EXPECT_TRUE(fromJob.starts_with("pvc aiu 0/3/1 optic 1 50 atm 0/7/0 ima 2 60 "));
}

// Job file inputs that are not plain files: a folder, a stream over the size limit, and
// a stream whose relative outputs go to the current folder (not to /dev).
TEST(JobFiles, FoldersAndStreamsAsJobFiles) {
    TempDir dir;
    Result r = Gen({"--job", "."}, dir.path());
    EXPECT_EQ(r.status, 66) << "a job file that cannot be read is no input";
    EXPECT_TRUE(Contains(r.err, ".: is a folder, not a job file")) << r.err;

    const std::string job = JobFile({kLanJob});
    Launch launch;
    launch.cwd = dir.path().string();
    launch.shellPrefix = "printf '%s' '" + job + "' |";
    r = zd7240::test::RunProcess(ZD7240_GEN, {"--job", "/dev/stdin"}, launch);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(ReadFile(dir.File("lan-0-5.txt")).empty());

    launch.shellPrefix = "head -c 70000000 /dev/zero |";
    r = zd7240::test::RunProcess(ZD7240_GEN, {"--job", "/dev/stdin"}, launch);
    EXPECT_EQ(r.status, 65);
    EXPECT_TRUE(Contains(r.err, "larger than 64 MiB")) << r.err;

    // A file too large is refused by its size (a sparse gigabyte: no byte of it is read).
    WriteFile(dir.File("huge.json"), "");
    std::filesystem::resize_file(dir.File("huge.json"), std::uintmax_t{1} << 30);
    launch.shellPrefix.clear();
    r = zd7240::test::RunProcess(ZD7240_GEN, {"--job", "huge.json"}, launch);
    EXPECT_EQ(r.status, 65);
    EXPECT_TRUE(Contains(r.err, "huge.json: larger than 64 MiB")) << r.err;
}

// --save-job refuses what could not run or could not be read back as saved, writing
// nothing: a job file named "-", a job that is its own output, a value or output name
// that is not UTF-8 (a Latin-1 file name is legal on Linux, but not in JSON).
TEST(JobFiles, SaveJobRefusesWhatCouldNotRunOrReadBack) {
    const std::vector<std::string> page = {"lan-mmx",        "lan-board=0",  "lan-slot=5",
                                           "start-vlan=100", "end-vlan=101", "vpi=1",
                                           "start-vci=40"};
    struct Case {
        const char* name;
        std::vector<std::string> extra;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"standard output as the job file",
         {"-o", "a.txt", "--save-job", "-"},
         64,
         "--save-job needs a file name"},
        {"the job file as the output",
         {"-o", "self.json", "--save-job", "./self.json"},
         64,
         "is also the output"},
        {"a Latin-1 output name",
         {"-o", "caf\xe9.txt", "--save-job", "j.json"},
         65,
         "the output name is not UTF-8 text ('caf\\xe9.txt')"},
        {"a value that is not UTF-8",
         {"vpi=1\xff", "--save-job", "j.json"},
         65,
         "the value of vpi is not UTF-8 text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<std::string> args = page;
        if (std::string(c.extra.front()).starts_with("vpi="))
            args.erase(args.begin() + 5);
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Result r = Gen(args, dir.path());
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_TRUE(Contains(r.err, c.message)) << r.err;
        EXPECT_EQ(dir.EntryCount(), 0u);
    }
}

TEST(JobFiles, OptionsThatDoNotGoTogether) {
    TempDir dir;
    const std::vector<std::vector<std::string>> cases = {
        {"--job"},
        {"--job", "jobs.json", "lan-mmx"},
        {"--job", "jobs.json", "--save-job", "x.json"},
        {"--job", "jobs.json", "--job=jobs.json"}, // one file twice; several files make one run
        {"lan-mmx", "--check"},
        {"lan-mmx", "--save-job"},
        {"lan-mmx", "--save-job", "x.json", "--check", "--no-check"},
    };
    for (const auto& args : cases) {
        const Result r = Gen(args, dir.path());
        EXPECT_EQ(r.status, 64) << args.back() << ": " << r.err;
    }
    EXPECT_EQ(dir.EntryCount(), 0u);
}

} // namespace

// Standard output into a pipe whose reader is gone, with SIGPIPE ignored (as a parent
// that ignores it passes on): the output of a long dry run fails early, and the reason
// given is the broken pipe, not an input/output error.
TEST(JobFiles, ABrokenPipeIsSaidSo) {
    TempDir dir;
    std::vector<std::string> jobs;
    for (int i = 0; i < 400; ++i)
        jobs.push_back(R"({"page": "lan-mmx", "fields": {"lan-board": )" + std::to_string(i) +
                       R"(, "lan-slot": 5, "start-vlan": 1, "end-vlan": 2, "vpi": 1,
                          "mmx-port": )" +
                       std::to_string(i) + R"(, "start-vci": 40}, "output": "-"})");
    WriteFile(dir.File("jobs.json"), JobFile(jobs));
    int fds[2] = {-1, -1};
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    Launch launch;
    launch.cwd = dir.path().string();
    launch.stdoutFd = fds[1];
    launch.shellPrefix = "trap '' PIPE;";
    const Result r =
        zd7240::test::RunProcess(ZD7240_GEN, {"--job", "jobs.json", "--dry-run"}, launch);
    close(fds[1]);
    EXPECT_EQ(r.status, 74);
    EXPECT_TRUE(Contains(r.err, "cannot write standard output: Broken pipe")) << r.err;
}
