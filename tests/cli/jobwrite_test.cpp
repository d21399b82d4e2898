// How a job file's run writes: all or nothing against every kind of target, standard
// output under any of its names, thousands of outputs, job files read from streams,
// bounded reports and options given twice.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "genrun.h"
#include "process.h"
#include "targets.h"

namespace {

namespace fs = std::filesystem;
using zd7240::test::Contains;
using zd7240::test::Launch;
using zd7240::test::Process;
using zd7240::test::ReadFile;
using zd7240::test::Result;
using zd7240::test::TempDir;
using zd7240::test::WriteFile;

std::string LanJob(int firstVlan, int lastVlan, const std::string& output) {
    return R"({"page": "lan-mmx", "fields": {"lan-board": "0", "lan-slot": "5", "start-vlan": ")" +
           std::to_string(firstVlan) + R"(", "end-vlan": ")" + std::to_string(lastVlan) +
           R"(", "vpi": "1", "start-vci": ")" + std::to_string(firstVlan + 40) +
           R"("}, "output": ")" + output + "\"}";
}

std::string JobFile(const std::vector<std::string>& jobs) {
    std::string text = "{\"version\": 1, \"jobs\": [";
    for (std::size_t i = 0; i < jobs.size(); ++i)
        text += (i ? ",\n  " : "") + jobs[i];
    return text + "]}\n";
}

// What a job writes, from a run of its own to standard output.
std::string ScriptOf(const std::string& job) {
    TempDir dir;
    WriteFile(dir.File("one.json"), JobFile({job}));
    const Result r = zd7240::test::GenIn(dir.path(), {"--job", "one.json"});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

constexpr const char* kOldGood = "the good job's old script\r\n";

// Every row of the shared table of targets, as the second job of a file whose first job
// is good: when the second cannot be written the first job's old file survives byte for
// byte, and the dry run refuses alike.
TEST(AllOrNothing, EveryTargetAsTheSecondJob) {
    const std::string good = LanJob(100, 103, "good.txt");
    const std::string goodScript = ScriptOf(LanJob(100, 103, "-"));
    const std::string second = ScriptOf(LanJob(200, 230, "-"));
    struct InJobs {
        int status;
        const char* error;
    };
    // Where a job file's run answers otherwise than one page's: a full file system is
    // refused before writing, from the room the new files need.
    const std::map<std::string, InJobs> differs = {
        {"full file system", {73, "bytes free"}},
    };
    for (const zd7240::test::TargetCase& row : zd7240::test::TargetCases()) {
        // Standard error carries the End lines of a job file's run as well.
        if (std::string(row.name) == "standard error by path, appending to a log")
            continue;
        const auto it = differs.find(row.name);
        const int status = it != differs.end() ? it->second.status : row.status;
        const char* error = it != differs.end() ? it->second.error : row.error;
        for (const bool dry : {true, false}) {
            // A dry run that passes opens nothing (a FIFO's reader would wait), and only
            // writing finds a device full.
            if (dry && (status == 0 || std::string(row.name) == "full device"))
                continue;
            SCOPED_TRACE(std::string(row.name) + (dry ? " (dry run)" : ""));
            TempDir dir;
            zd7240::test::Setting setting;
            row.setUp(dir, setting);
            if (setting.skip) {
                if (!setting.mounted.empty())
                    umount2(setting.mounted.c_str(), MNT_DETACH);
                continue;
            }
            TempDir jobs;
            chmod(jobs.path().c_str(), 0777); // unprivileged rows replace good.txt too
            WriteFile(jobs.File("good.txt"), kOldGood);
            chmod(jobs.File("good.txt").c_str(), 0666);
            WriteFile(jobs.File("two.json"), JobFile({good, LanJob(200, 230, setting.path)}));
            std::vector<std::string> args = {"--job", jobs.File("two.json")};
            if (dry)
                args.push_back("--dry-run");
            Process process(ZD7240_GEN, args, setting.launch);
            if (setting.closeAfterStart >= 0)
                close(setting.closeAfterStart);
            const Result r = process.Wait(std::chrono::seconds(60));
            if (setting.holdDuringRun >= 0)
                close(setting.holdDuringRun);
            if (setting.reader && fs::is_fifo(setting.path)) {
                const int fd = open(setting.path.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    close(fd);
            }
            EXPECT_EQ(r.status, status) << r.err;
            if (error) {
                EXPECT_TRUE(Contains(r.err, error)) << r.err;
            }
            EXPECT_EQ(ReadFile(jobs.File("good.txt")), status == 0 ? goodScript : kOldGood);
            EXPECT_EQ(jobs.EntryCount(), 2u) << "a temporary file was left";
            if (!dry && row.check && it == differs.end())
                row.check(dir, setting, second);
            if (!setting.mounted.empty())
                umount2(setting.mounted.c_str(), MNT_DETACH);
            chmod(dir.path().c_str(), 0700);
        }
    }
}

// A stream that fails after every file was written in full: no file is put in place.
// Many outputs: more than the open-file limit allows to keep open.
TEST(AllOrNothing, AFailingDeviceAfterThousandsOfFilesReplacesNone) {
    TempDir dir;
    const std::string full = zd7240::test::MakeDevice(dir, "full", 7);
    std::vector<std::string> jobs;
    for (int i = 0; i < 600; ++i)
        jobs.push_back(LanJob(100 + i, 100 + i, "out/f" + std::to_string(i) + ".txt"));
    fs::create_directory(dir.path() / "out");
    WriteFile(dir.File("out/f7.txt"), kOldGood);
    jobs.push_back(LanJob(2000, 2000, full));
    WriteFile(dir.File("many.json"), JobFile(jobs));
    // A limit of 256 descriptors, hard as well as soft: the finished files must let go
    // of theirs.
    Launch launch;
    launch.cwd = dir.path().string();
    launch.shellPrefix = "ulimit -n 256;";
    Result r = Process(ZD7240_GEN, {"--job", "many.json"}, launch).Wait();
    EXPECT_EQ(r.status, 74) << r.err;
    EXPECT_TRUE(Contains(r.err, "No space left on device")) << r.err;
    EXPECT_TRUE(Contains(r.err, "no file was replaced")) << r.err;
    EXPECT_EQ(ReadFile(dir.File("out/f7.txt")), kOldGood);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "out"), fs::directory_iterator()),
              1)
        << "only the old file, no new file and no temporary";

    // Without the failing device, all of them, within the same limit.
    jobs.pop_back();
    WriteFile(dir.File("many.json"), JobFile(jobs));
    r = Process(ZD7240_GEN, {"--job", "many.json"}, launch).Wait();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "out"), fs::directory_iterator()),
              600);
    EXPECT_EQ(ReadFile(dir.File("out/f7.txt")), ScriptOf(LanJob(107, 107, "-")));
}

// A file that fails while it is written (a file size limit stands in for a full disk
// the check before writing could not foresee): the file written before it in full is
// not put in place either.
TEST(AllOrNothing, AFileFailingMidRunReplacesNone) {
    TempDir dir;
    WriteFile(dir.File("good.txt"), kOldGood);
    WriteFile(dir.File("big.txt"), kOldGood);
    WriteFile(dir.File("two.json"),
              JobFile({LanJob(100, 103, "good.txt"), LanJob(200, 4200, "big.txt")}));
    Launch launch;
    launch.cwd = dir.path().string();
    launch.shellPrefix = "ulimit -f 64;";
    const Result r = Process(ZD7240_GEN, {"--job", "two.json"}, launch).Wait();
    EXPECT_EQ(r.status, 74) << r.err;
    EXPECT_TRUE(Contains(r.err, "File too large")) << r.err;
    EXPECT_EQ(ReadFile(dir.File("good.txt")), kOldGood);
    EXPECT_EQ(ReadFile(dir.File("big.txt")), kOldGood);
    EXPECT_EQ(dir.EntryCount(), 3u) << "no temporary file left";
}

// A run again: the files whose scripts are the same are left untouched (inode and
// times kept, so make and rsync see no change), and the run says which.
TEST(AllOrNothing, UnchangedScriptsAreLeftUntouched) {
    TempDir dir;
    WriteFile(dir.File("jobs.json"),
              JobFile({LanJob(100, 103, "a.txt"), LanJob(200, 203, "b.txt")}));
    Result r = zd7240::test::GenIn(dir.path(), {"--job", "jobs.json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.err, "End Vci: 143\na.txt: written\n")) << r.err;
    struct stat a {
    }, b{};
    stat(dir.File("a.txt").c_str(), &a);
    stat(dir.File("b.txt").c_str(), &b);
    WriteFile(dir.File("jobs.json"),
              JobFile({LanJob(100, 103, "a.txt"), LanJob(200, 204, "b.txt")}));
    r = zd7240::test::GenIn(dir.path(), {"--job", "jobs.json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.err, "End Vci: 143\na.txt: unchanged\n")) << r.err;
    EXPECT_TRUE(Contains(r.err, "b.txt: written\n")) << r.err;
    struct stat a2 {
    }, b2{};
    stat(dir.File("a.txt").c_str(), &a2);
    stat(dir.File("b.txt").c_str(), &b2);
    EXPECT_EQ(a2.st_ino, a.st_ino);
    EXPECT_EQ(a2.st_mtim.tv_nsec, a.st_mtim.tv_nsec);
    EXPECT_NE(b2.st_ino, b.st_ino);
    EXPECT_EQ(dir.EntryCount(), 3u);

    // One page's command says it too.
    r = zd7240::test::GenIn(dir.path(), {"lan-mmx", "lan-board=0", "lan-slot=5", "start-vlan=100",
                                         "end-vlan=103", "vpi=1", "start-vci=140", "-o", "a.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "End Vci: 143\na.txt: unchanged\n");
}

// "-", /dev/stdout and the file standard output is redirected to are one output, and
// it receives its jobs in job order.
TEST(AllOrNothing, StandardOutputUnderEveryNameTakesItsJobsInOrder) {
    TempDir dir;
    const std::vector<std::string> jobs = {LanJob(100, 101, "-"), LanJob(200, 201, "/dev/stdout"),
                                           LanJob(300, 301, "-"), LanJob(400, 401, "seen.txt")};
    WriteFile(dir.File("jobs.json"), JobFile(jobs));
    Launch launch;
    launch.cwd = dir.path().string();
    launch.stdoutFd = open(dir.File("seen.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const Result r = Process(ZD7240_GEN, {"--job", "jobs.json"}, launch).Wait();
    close(launch.stdoutFd);
    EXPECT_EQ(r.status, 0) << r.err;
    std::string expected;
    for (int first : {100, 200, 300, 400})
        expected += ScriptOf(LanJob(first, first + 1, "-"));
    EXPECT_EQ(ReadFile(dir.File("seen.txt")), expected);
}

// A job file read from a stream takes its relative outputs from the current folder,
// never from the folder of the stream's name (/dev for /dev/stdin). Run in a mount
// namespace of its own, with a /dev of its own, never against the system's.
TEST(StreamJobFiles, WriteWhereTheirUserStands) {
    if (access("/usr/bin/unshare", X_OK) != 0)
        GTEST_SKIP() << "no unshare here";
    TempDir dir;
    fs::create_directory(dir.path() / "here");
    WriteFile(dir.File("shelf.json"), JobFile({LanJob(100, 103, "lan.txt")}));
    const std::string script =
        std::string("set -u\n") +
        "mount -t tmpfs zd7240-dev /dev || exit 99\n"
        "ln -s /proc/self/fd/0 /dev/stdin\n"
        "ln -s /proc/self/fd /dev/fd\n"
        "cd here\n"
        "\"$0\" --job /dev/stdin < ../shelf.json; echo \"stdin $?\"\n"
        "\"$0\" --job /proc/self/fd/0 --dry-run < ../shelf.json > ../dry.txt;"
        " echo \"dry $?\"\n"
        "\"$0\" --job /dev/fd/0 < ../shelf.json; echo \"fd $?\"\n"
        "\"$0\" --job - < ../shelf.json; echo \"dash $?\"\n"
        "ls -A /dev | tr '\\n' ' '\n";
    Launch launch;
    launch.cwd = dir.path().string();
    const Result r =
        Process("/usr/bin/unshare",
                {"--mount", "--propagation", "private", "/bin/sh", "-c", script, ZD7240_GEN},
                launch)
            .Wait();
    if (r.status == 99 || Contains(r.err, "unshare failed"))
        GTEST_SKIP() << "no private mount namespace here: " << r.err;
    EXPECT_EQ(r.out, "stdin 0\ndry 0\nfd 0\ndash 0\nfd stdin ") << r.err;
    EXPECT_EQ(ReadFile(dir.File("here/lan.txt")), ScriptOf(LanJob(100, 103, "-")));
    EXPECT_FALSE(fs::exists(dir.File("lan.txt")));
}

// However much the jobs overlap, a hundred conflicts are listed and the rest counted,
// so that thousands of jobs binding one endpoint end at once with a short report.
TEST(BoundedReports, ConflictsAndRefusalsStopAtAHundred) {
    TempDir dir;
    std::vector<std::string> jobs;
    for (int i = 0; i < 400; ++i)
        jobs.push_back(LanJob(100, 100, "o" + std::to_string(i) + ".txt"));
    WriteFile(dir.File("same.json"), JobFile(jobs));
    Result r = zd7240::test::GenIn(dir.path(), {"--job", "same.json"});
    EXPECT_EQ(r.status, 65);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = r.err.find("zd7240-gen: conflict: ", at)) != std::string::npos;
         ++at)
        ++lines;
    EXPECT_EQ(lines, 100u) << r.err.substr(0, 2000);
    EXPECT_TRUE(Contains(r.err, "\u2026 and at least ")) << r.err.substr(0, 200);
    EXPECT_TRUE(Contains(r.err, " more conflicts\n")) << r.err.substr(0, 200);
    EXPECT_EQ(dir.EntryCount(), 1u);

    // Refused fields: a hundred lines, then the count.
    for (std::string& job : jobs)
        job.replace(job.find("\"vpi\": \"1\""), 10, "\"vpi\": \"x\"");
    WriteFile(dir.File("bad.json"), JobFile(jobs));
    r = zd7240::test::GenIn(dir.path(), {"--job", "bad.json"});
    EXPECT_EQ(r.status, 65);
    EXPECT_TRUE(Contains(r.err, "\u2026 and 300 more refusals")) << r.err.substr(0, 200);
    EXPECT_TRUE(Contains(r.err, "400 job(s) refused; nothing written")) << r.err;
}

// Several job files make one run: each keeps its own folder, their jobs are checked
// against each other's, and the run writes all of them or none.
TEST(SeveralJobFiles, AreOneRun) {
    TempDir dir;
    fs::create_directory(dir.path() / "s0");
    fs::create_directory(dir.path() / "s1");
    WriteFile(dir.File("s0/shelf.json"), JobFile({LanJob(100, 103, "a.txt")}));
    WriteFile(dir.File("s1/shelf.json"), JobFile({LanJob(102, 105, "b.txt")}));
    Result r =
        zd7240::test::GenIn(dir.path(), {"--job", "s0/shelf.json", "--job", "s1/shelf.json"});
    EXPECT_EQ(r.status, 65);
    EXPECT_TRUE(Contains(r.err, "conflict: s0/shelf.json: job 1 (a.txt) and s1/shelf.json: job 1 "
                                "(b.txt) both bind VLAN id 102 on Lan card 0/5"))
        << r.err;
    EXPECT_FALSE(fs::exists(dir.File("s0/a.txt")));

    WriteFile(dir.File("s1/shelf.json"), JobFile({LanJob(200, 203, "b.txt")}));
    r = zd7240::test::GenIn(dir.path(), {"--job", "s0/shelf.json", "--job", "s1/shelf.json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir.File("s0/a.txt")), ScriptOf(LanJob(100, 103, "-")));
    EXPECT_EQ(ReadFile(dir.File("s1/b.txt")), ScriptOf(LanJob(200, 203, "-")));

    // An output that is the other run's job file, and a --set no file has.
    WriteFile(dir.File("s1/shelf.json"), JobFile({LanJob(200, 203, "../s0/shelf.json")}));
    const std::string before = ReadFile(dir.File("s0/shelf.json"));
    r = zd7240::test::GenIn(dir.path(), {"--job", "s0/shelf.json", "--job", "s1/shelf.json",
                                         "--set", "no-such-field=1"});
    EXPECT_EQ(r.status, 65);
    EXPECT_TRUE(Contains(r.err, "would write over the job file \"s0/shelf.json\"")) << r.err;
    EXPECT_TRUE(Contains(r.err, "--set: no job's page has a field \"no-such-field\"")) << r.err;
    EXPECT_EQ(ReadFile(dir.File("s0/shelf.json")), before);
}

// What an operator keeps in the file: "strict", names filled in like outputs; and
// --output-dir for a preview of the scripts somewhere else.
TEST(SeveralJobFiles, StrictNamesAndOutputFolder) {
    TempDir dir;
    std::string job = LanJob(0, 3, "lan-{lan-slot}.txt"); // VLAN id 0: a warning
    job.insert(1, R"("name": "Lan {lan-board}/{lan-slot}", )");
    struct Case {
        const char* strict;
        int status;
        const char* error;
    };
    const Case cases[] = {
        {"", 0, "job 1 (Lan 0/5): warning: start-vlan"},
        {R"("strict": false, )", 0, "job 1 (Lan 0/5): warning: start-vlan"},
        {R"("strict": true, )", 65, "warning(s); nothing written"},
        {R"("strict": "yes", )", 65, "\"strict\" must be true or false"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strict);
        std::string text = JobFile({job});
        text.insert(1, c.strict);
        WriteFile(dir.File("jobs.json"), text);
        const Result r = zd7240::test::GenIn(dir.path(), {"--job", "jobs.json", "--dry-run"});
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_TRUE(Contains(r.err, c.error)) << r.err;
    }
    WriteFile(dir.File("jobs.json"), JobFile({job}));
    fs::create_directory(dir.path() / "preview");
    const Result r =
        zd7240::test::GenIn(dir.path(), {"--job", "jobs.json", "--output-dir", "preview"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir.File("preview/lan-5.txt")));
    EXPECT_FALSE(fs::exists(dir.File("lan-5.txt")));
}

// An option given twice is refused, a field set twice under its key and its control's
// name too; many --sets cost time linear in their number.
TEST(RepeatedOptions, SetGivenTwiceIsRefused) {
    TempDir dir;
    WriteFile(dir.File("jobs.json"), JobFile({LanJob(100, 103, "lan.txt")}));
    struct Case {
        std::vector<std::string> sets;
        const char* error;
    };
    const Case cases[] = {
        {{"--set", "vpi=2", "--set", "vpi=3"}, "--set vpi is given twice: give one"},
        {{"--set", "vpi=2", "--set=suiEdit408=3"}, "set the same field suiEdit408"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--job", "jobs.json"};
        args.insert(args.end(), c.sets.begin(), c.sets.end());
        const Result r = zd7240::test::GenIn(dir.path(), args);
        EXPECT_EQ(r.status, 64) << r.err;
        EXPECT_TRUE(Contains(r.err, c.error)) << r.err;
        EXPECT_FALSE(fs::exists(dir.File("lan.txt")));
    }
    std::vector<std::string> args = {"--job", "jobs.json", "--dry-run"};
    for (int i = 0; i < 20000; ++i)
        args.push_back("--set=vpi=" + std::to_string(i));
    const Result r = zd7240::test::GenIn(dir.path(), args);
    EXPECT_EQ(r.status, 64);
}

} // namespace
