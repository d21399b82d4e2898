// The generation frame: check order, End value, save dialog, file handling, messages.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../lib/tempdir.h"
#include "../lib/workedexamples.h"
#include "fakes.h"
#include "frame.h"

namespace zd7240 {
namespace {

using test::FixedChooser;
using test::MapFields;
using test::RecordingErrors;
using test::RecordingMessenger;
using test::TempDir;

const std::string kWarning = "Warning|The input must be integer! Please check it!";
const std::string kSuccess = "Congratulation|The file is ready for you! Please check it!";

const PageTable& Page(const char* caption) {
    return *FindPage(caption);
}

// A Lan--Mmx page filled like the worked example (VLAN 100..103, VCI 40..).
MapFields LanMmx() {
    MapFields f(Page("Lan--Mmx"));
    f.Set(test::WorkedExampleNamed("Lan--Mmx optic").fields, Page("Lan--Mmx"));
    return f;
}

struct Press {
    explicit Press(std::optional<std::string> path) : chooser(std::move(path)) {}
    FrameResult operator()(const PageTable& page, MapFields& fields, ProgressMonitor* p = nullptr) {
        return RunFrame(page, {fields, chooser, messenger, errors, p});
    }
    FixedChooser chooser;
    RecordingMessenger messenger;
    RecordingErrors errors;
};

TEST(Frame, FirstFailingFieldInCheckOrderStopsThePress) {
    struct Case {
        const char* page;
        std::initializer_list<std::pair<const char*, const char*>> fields;
        const char* failing; // control name
    };
    const Case cases[] = {
        // A fresh Lan--Ces page stops at the Lan board
        {"Lan--Ces", {}, "suiEdit601"},
        // Fresh Adsl--Aiu with the ADSL range, Vpi and Start Vci filled stops at the Aiu board
        {"Adsl--Aiu",
         {{"start-board", "0"},
          {"start-slot", "1"},
          {"end-board", "0"},
          {"end-slot", "2"},
          {"aiu-vpi", "1"},
          {"start-vci", "40"}},
         "suiEdit21"},
        // Adsl--Aiu checks the port count seventh, right after the modem VCI
        {"Adsl--Aiu",
         {{"start-board", "0"},
          {"start-slot", "1"},
          {"end-board", "0"},
          {"end-slot", "2"},
          {"port-number", "3 2"}},
         "suiEdit20"},
        // Aiu-Mmx: the Aiu End Vci is an input, checked sixth
        {"Aiu-Mmx",
         {{"aiu-board", "0"},
          {"aiu-slot", "3"},
          {"aiu-port", "0"},
          {"aiu-vpi", "1"},
          {"aiu-start-vci", "50"}},
         "suiEdit64"},
        // Two bad fields: the earlier one in check order is named
        {"Lan--Mmx", {{"lan-board", "x"}, {"lan-slot", "0"}, {"start-vlan", "-5"}}, "suiEdit401"},
        {"Lan--Mmx",
         {{"lan-board", "0"},
          {"lan-slot", "0"},
          {"start-vlan", "1"},
          {"end-vlan", "2"},
          {"vpi", "1"},
          {"start-vci", "1"},
          {"tx-upc", "5.0"}},
         "suiEdit48"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.page) + " " + c.failing);
        MapFields fields(Page(c.page));
        fields.Set(c.fields, Page(c.page));
        fields.texts[std::string(Page(c.page).endField)] = "old";
        Press run(std::nullopt);
        const FrameResult result = run(Page(c.page), fields);
        EXPECT_EQ(result.outcome, FrameOutcome::InvalidInput);
        EXPECT_NE(result.failedField, nullptr);
        if (result.failedField) {
            EXPECT_EQ(result.failedField->name, c.failing);
        }
        EXPECT_EQ(run.messenger.messages, std::vector<std::string>{kWarning});
        EXPECT_EQ(run.chooser.calls, 0);
        EXPECT_EQ(fields.texts[std::string(Page(c.page).endField)], "old");
        // Fields after the failing one are not read.
        EXPECT_EQ(fields.reads.back(), c.failing);
    }
}

TEST(Frame, ConversionFailureReportsTheTextAndOpensNothing) {
    MapFields fields = LanMmx();
    fields.Set({{"start-vlan", "99999999999"}, {"start-vci", "88888888888"}}, Page("Lan--Mmx"));
    fields.texts["suiEdit410"] = "old";
    TempDir dir;
    Press run(dir.File("out.txt"));
    const FrameResult result = run(Page("Lan--Mmx"), fields);
    EXPECT_EQ(result.outcome, FrameOutcome::ConversionFailed);
    // End Vlan, Start Vlan, Start Vci is the conversion order: the Start Vlan text is named.
    EXPECT_EQ(run.errors.errors,
              std::vector<std::string>{"'99999999999' is not a valid integer value"});
    EXPECT_TRUE(run.messenger.messages.empty());
    EXPECT_EQ(run.chooser.calls, 0);
    EXPECT_EQ(fields.texts["suiEdit410"], "old");
    EXPECT_EQ(dir.EntryCount(), 0u);
}

TEST(Frame, CopiedFieldsAreNeverConverted) {
    MapFields fields = LanMmx();
    fields.Set(
        {{"vpi", "99999999999"}, {"mmx-slot", "007"}, {"start-vci", "040"}, {"end-vlan", "100"}},
        Page("Lan--Mmx"));
    TempDir dir;
    Press run(dir.File("out.txt"));
    ASSERT_EQ(run(Page("Lan--Mmx"), fields).outcome, FrameOutcome::Written);
    EXPECT_EQ(test::ReadFile(dir.File("out.txt")),
              "pvc lan 0/5 vlanid 100 off atm 0/007/0 optic 99999999999 40 1 1 000 000\r\n");
    EXPECT_EQ(fields.texts["suiEdit410"], "40");
}

TEST(Frame, CancelShowsTheEndValueAndTouchesNothing) {
    MapFields fields = LanMmx();
    TempDir dir;
    Press run(std::nullopt);
    const FrameResult result = run(Page("Lan--Mmx"), fields);
    EXPECT_EQ(result.outcome, FrameOutcome::Cancelled);
    EXPECT_EQ(fields.texts["suiEdit410"], "43");
    EXPECT_TRUE(run.messenger.messages.empty());
    EXPECT_TRUE(run.errors.errors.empty());
}

TEST(Frame, EmptyWalkCreatesOrTruncatesTheFileAndReportsSuccess) {
    struct Case {
        const char* page;
        std::initializer_list<std::pair<const char*, const char*>> fields;
        const char* end;
    };
    const Case cases[] = {
        // End Vlan below Start Vlan: End Vci goes negative
        {"Lan--Mmx", {{"start-vlan", "10"}, {"end-vlan", "5"}, {"start-vci", "2"}}, "-3"},
        // Same board, end slot below start slot
        {"Adsl--Lan",
         {{"start-board", "0"},
          {"start-slot", "5"},
          {"end-board", "0"},
          {"end-slot", "3"},
          {"lan-board", "0"},
          {"lan-slot", "1"},
          {"start-vlan", "40"},
          {"port-number", "2"}},
         "37"},
        // Port count 0
        {"Adsl--Lan",
         {{"start-board", "0"},
          {"start-slot", "0"},
          {"end-board", "1"},
          {"end-slot", "15"},
          {"lan-board", "0"},
          {"lan-slot", "1"},
          {"start-vlan", "40"},
          {"port-number", "0"}},
         "39"},
        // A Lan page whose card-type box has no entry selected writes no line
        {"Lan--Mmx", {{"card-type", "-1"}}, "43"},
        {"Lan--Ces",
         {{"lan-board", "0"},
          {"lan-slot", "5"},
          {"start-vlan", "1"},
          {"end-vlan", "3"},
          {"ces-board", "0"},
          {"ces-slot", "9"},
          {"ces-port", "1"},
          {"vpi", "0"},
          {"start-vci", "32"},
          {"card-type", "-1"}},
         "34"},
        // Aiu-Mmx: a sum outside 0..2 writes no line
        {"Aiu-Mmx",
         {{"aiu-board", "0"},
          {"aiu-slot", "3"},
          {"aiu-port", "0"},
          {"aiu-vpi", "1"},
          {"aiu-start-vci", "50"},
          {"aiu-end-vci", "52"},
          {"mmx-vpi", "2"},
          {"mmx-start-vci", "60"},
          {"aiu-card-type", "-1"},
          {"mmx-card-type", "0"}},
         "62"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        MapFields fields = std::string(c.page) == "Lan--Mmx" ? LanMmx() : MapFields(Page(c.page));
        fields.Set(c.fields, Page(c.page));
        TempDir dir;
        test::WriteFile(dir.File("old.txt"), "previous contents\r\n");
        Press run(dir.File("old.txt"));
        const FrameResult result = run(Page(c.page), fields);
        EXPECT_EQ(result.outcome, FrameOutcome::Written);
        EXPECT_EQ(fields.texts[std::string(Page(c.page).endField)], c.end);
        EXPECT_EQ(test::ReadFile(dir.File("old.txt")), "");
        EXPECT_EQ(run.messenger.messages, std::vector<std::string>{kSuccess});
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

TEST(Frame, CardTypeIndicesSelectTheLineFormat) {
    struct Case {
        const char* page;
        std::initializer_list<std::pair<const char*, const char*>> fields;
        const char* firstLine;
    };
    const Case cases[] = {
        // ADSL pages take any index but 0 as the second entry
        {"Adsl--Mmx",
         {{"start-board", "0"},
          {"start-slot", "0"},
          {"end-board", "0"},
          {"end-slot", "0"},
          {"mmx-vpi", "1"},
          {"start-vci", "40"},
          {"port-number", "1"},
          {"card-type", "-1"}},
         "pvc adsl 0/0/0 vpi 0 35 atm 0/7/0 ima 1 40 1 1 000 000"},
        // Aiu-Mmx: one box without entry and the other at Ima sum to 0, optic on both sides
        {"Aiu-Mmx",
         {{"aiu-board", "0"},
          {"aiu-slot", "3"},
          {"aiu-port", "0"},
          {"aiu-vpi", "1"},
          {"aiu-start-vci", "50"},
          {"aiu-end-vci", "50"},
          {"mmx-vpi", "2"},
          {"mmx-start-vci", "60"},
          {"aiu-card-type", "-1"},
          {"mmx-card-type", "1"}},
         "pvc aiu 0/3/0 optic 1 50 atm 0/7/0 optic 2 60 1 1 000 000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        MapFields fields(Page(c.page));
        fields.Set(c.fields, Page(c.page));
        TempDir dir;
        Press run(dir.File("out.txt"));
        EXPECT_EQ(run(Page(c.page), fields).outcome, FrameOutcome::Written);
        EXPECT_EQ(test::ReadFile(dir.File("out.txt")), std::string(c.firstLine) + "\r\n");
    }
}

TEST(Frame, VlanRangeAtThe32BitLimitEndsAndWrapsTheVci) {
    MapFields fields = LanMmx();
    fields.Set(
        {{"start-vlan", "2147483646"}, {"end-vlan", "2147483647"}, {"start-vci", "2147483647"}},
        Page("Lan--Mmx"));
    TempDir dir;
    Press run(dir.File("out.txt"));
    ASSERT_EQ(run(Page("Lan--Mmx"), fields).outcome, FrameOutcome::Written);
    EXPECT_EQ(fields.texts["suiEdit410"], "-2147483648");
    EXPECT_EQ(test::ReadFile(dir.File("out.txt")),
              "pvc lan 0/5 vlanid 2147483646 off atm 0/7/0 optic 1 2147483647 1 1 000 000\r\n"
              "pvc lan 0/5 vlanid 2147483647 off atm 0/7/0 optic 1 -2147483648 1 1 000 000\r\n");
}

TEST(Frame, MissingFolderFailsBeforeAnythingIsWritten) {
    MapFields fields = LanMmx();
    TempDir dir;
    const std::string path = dir.File("no-such-folder/out.txt");
    Press run(path);
    const FrameResult result = run(Page("Lan--Mmx"), fields);
    EXPECT_EQ(result.outcome, FrameOutcome::CreateFailed);
    ASSERT_EQ(run.errors.errors.size(), 1u);
    EXPECT_EQ(run.errors.errors[0],
              "Cannot create file \"" + path + "\". No such file or directory");
    EXPECT_TRUE(run.messenger.messages.empty());
    EXPECT_EQ(fields.texts["suiEdit410"], "43"); // the End value was already shown
}

TEST(Frame, ReadOnlyFileFailsAndIsKept) {
    TempDir dir;
    const std::string path = dir.File("ro.txt");
    test::WriteFile(path, "keep\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    std::filesystem::permissions(
        dir.path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                        std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                        std::filesystem::perms::others_exec);
    // Root may write any file: run the press as an unprivileged user in a child process.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        MapFields fields = LanMmx();
        Press run(path);
        const FrameResult result = run(Page("Lan--Mmx"), fields);
        const bool ok =
            result.outcome == FrameOutcome::CreateFailed && run.errors.errors.size() == 1 &&
            run.errors.errors[0] == "Cannot create file \"" + path + "\". Permission denied" &&
            run.messenger.messages.empty();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(test::ReadFile(path), "keep\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(Frame, DiskFullKeepsTheOldFile) {
    // A file size limit makes writes fail the way a full disk does, without a real one.
    MapFields fields = LanMmx();
    fields.Set({{"end-vlan", "200000"}}, Page("Lan--Mmx"));
    TempDir dir;
    const std::string path = dir.File("zd7240.txt");
    test::WriteFile(path, "old script\r\n");
    Press run(path);
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const FrameResult result = run(Page("Lan--Mmx"), fields);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result.outcome, FrameOutcome::WriteFailed);
    ASSERT_EQ(run.errors.errors.size(), 1u);
    EXPECT_EQ(run.errors.errors[0], "Cannot write file \"" + path + "\". File too large");
    EXPECT_TRUE(run.messenger.messages.empty());
    EXPECT_EQ(test::ReadFile(path), "old script\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u); // no temporary left behind
}

TEST(Frame, DeviceFullReportsTheSystemDescription) {
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "/dev/full is not available";
    MapFields fields = LanMmx();
    Press run(std::string("/dev/full"));
    EXPECT_EQ(run(Page("Lan--Mmx"), fields).outcome, FrameOutcome::WriteFailed);
    EXPECT_EQ(run.errors.errors.at(0), "Cannot write file \"/dev/full\". No space left on device");
    EXPECT_TRUE(run.messenger.messages.empty());
}

TEST(Frame, CancelledJobKeepsTheOldFile) {
    class CancelAt : public ProgressMonitor {
    public:
        bool Progress(std::uint64_t lines) override {
            last = lines;
            return lines < 3 * 65536;
        }
        void Finished() override { finished = true; }
        std::uint64_t last = 0;
        bool finished = false;
    } monitor;
    MapFields fields = LanMmx();
    fields.Set({{"start-vlan", "0"}, {"end-vlan", "2147483647"}}, Page("Lan--Mmx"));
    TempDir dir;
    const std::string path = dir.File("zd7240.txt");
    test::WriteFile(path, "old script\r\n");
    Press run(path);
    const FrameResult result = run(Page("Lan--Mmx"), fields, &monitor);
    EXPECT_EQ(result.outcome, FrameOutcome::Aborted);
    EXPECT_EQ(monitor.last, 3u * 65536);
    EXPECT_TRUE(monitor.finished);
    EXPECT_EQ(test::ReadFile(path), "old script\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
    EXPECT_TRUE(run.messenger.messages.empty());
}

TEST(Frame, DefaultResetsEveryFieldIncludingTheEndField) {
    MapFields fields = LanMmx();
    fields.texts["suiEdit410"] = "43";
    fields.indices["suiComboBox401"] = 1;
    ResetToDefaults(Page("Lan--Mmx"), fields);
    for (const FieldRow& f : Page("Lan--Mmx").fields)
        EXPECT_EQ(fields.texts[std::string(f.name)], f.defaults) << f.name;
    EXPECT_EQ(fields.indices["suiComboBox401"], 1);
}

} // namespace
} // namespace zd7240
