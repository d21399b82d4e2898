// The programs that write pictures (the window's --grab options, the skin painter's
// icon and bitmaps) write through the same safe writer as the command-line tools: the
// same table of targets, signals while blocked, no folders made on their own.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "targets.h"

namespace {

using namespace zd7240::test;
namespace fs = std::filesystem;

struct PictureProgram {
    const char* program;
    std::vector<std::string> options; // the target follows them
};

const PictureProgram kPrograms[] = {
    {ZD7240_HELPER, {"--grab"}},
    {ZD7240_HELPER, {"--look", "WinXP", "--grab-dialog"}},
    {ZD7240_SKINPAINTER, {"--icon", "16"}},
};

std::vector<std::string> With(const PictureProgram& p, const std::string& target) {
    std::vector<std::string> args = p.options;
    args.push_back(target);
    return args;
}

// What the program writes, taken from a regular file.
std::string Picture(const PictureProgram& p) {
    TempDir dir;
    const Result r = RunProcess(p.program, With(p, dir.File("p.png")));
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string bytes = ReadFile(dir.File("p.png"));
    EXPECT_TRUE(bytes.starts_with("\x89PNG"));
    return bytes;
}

TEST(PictureTargets, EveryKindOfTarget) {
    for (const PictureProgram& p : kPrograms) {
        SCOPED_TRACE(p.options.front());
        CheckTargets(
            p.program, [&p](const std::string& target) { return With(p, target); }, Picture(p));
    }
}

// True while the program sleeps in open() of a FIFO, waiting for its other end.
bool WaitsForFifoPartner(const Process& process) {
    return ReadFile("/proc/" + std::to_string(process.pid()) + "/wchan") == "wait_for_partner";
}

TEST(PictureTargets, SignalsEndTheProgramWhileWaitingForAFifoReader) {
    for (const PictureProgram& p : kPrograms) {
        SCOPED_TRACE(p.options.front());
        TempDir dir;
        const std::string fifo = dir.File("fifo");
        mkfifo(fifo.c_str(), 0644);
        Process process(p.program, With(p, fifo));
        for (int i = 0; i < 1000 && !WaitsForFifoPartner(process); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        process.Signal(SIGTERM);
        const Result r = process.Wait(std::chrono::seconds(10));
        EXPECT_EQ(r.status, 143) << r.err;
        EXPECT_NE(r.err.find(": interrupted"), std::string::npos) << r.err;
        EXPECT_TRUE(fs::is_fifo(fifo));
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

// Names from the command line reach the terminal escaped, and no program makes a
// folder it was not asked for: the skin painter makes its output folder, not its
// parents.
TEST(PictureTargets, MessagesEscapeNamesAndMissingFoldersStayMissing) {
    TempDir dir;
    const std::string missing = dir.File("no/such\x1b[2Jfolder");
    struct Case {
        const char* program;
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {ZD7240_HELPER, {"--grab", missing + "/g.png"}, 73, "no/such\\x1b[2Jfolder/g.png"},
        {ZD7240_HELPER, {"--grab-menu", missing + "/m.png"}, 73, "No such file or directory"},
        {ZD7240_HELPER, {"--look", "\x1b]0;x\a"}, 64, "'\\x1b]0;x\\x07'"},
        {ZD7240_HELPER, {"--theme", missing}, 66, "no/such\\x1b[2Jfolder"},
        {ZD7240_HELPER, {"--bogus\x1b"}, 64, "bogus\\x1b"},
        {ZD7240_SKINPAINTER, {"--icon", "16", missing + "/i.png"}, 73, "such\\x1b[2Jfolder/i.png"},
        {ZD7240_SKINPAINTER, {missing + "/skin"}, 73, "such\\x1b[2Jfolder/skin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        const Result r = RunProcess(c.program, c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << "a raw escape reached the terminal";
        EXPECT_EQ(r.err.find('\a'), std::string::npos);
        EXPECT_EQ(dir.EntryCount(), 0u);
    }
}

// The skin painter looks at every name of its set before writing any: a name it cannot
// write stops it with 73 naming that name, and the folder, the user's file under an
// earlier name of the set included, stays as it was.
TEST(PictureTargets, SkinPainterWritesItsWholeSetOrNothing) {
    struct Case {
        const char* name;
        std::function<void(const TempDir&, const std::string& target)> plant;
        const char* message;
    };
    const Case cases[] = {
        {"a folder", [](const TempDir&, const std::string& t) { fs::create_directory(t); },
         "is a folder, not a file"},
        {"a link to a file outside",
         [](const TempDir& dir, const std::string& t) {
             fs::create_symlink(dir.File("outside.bmp"), t);
         },
         "is a symbolic link, not a file"},
        {"a FIFO", [](const TempDir&, const std::string& t) { mkfifo(t.c_str(), 0644); },
         "is a special file, not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteFile(dir.File("outside.bmp"), "outside");
        const std::string skin = dir.File("skin");
        fs::create_directory(skin);
        // The 1x set is written before the 2x one: the user's file comes first.
        WriteFile(skin + "/MAINICON.bmp", "the user's own icon");
        const std::string bad = skin + "/PROTEIN_TAB@2x.bmp";
        c.plant(dir, bad);
        const Result r = RunProcess(ZD7240_SKINPAINTER, {skin});
        EXPECT_EQ(r.status, 73) << r.err;
        EXPECT_NE(r.err.find("PROTEIN_TAB@2x.bmp " + std::string(c.message) + "; nothing written"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(ReadFile(skin + "/MAINICON.bmp"), "the user's own icon");
        EXPECT_EQ(std::distance(fs::directory_iterator(skin), fs::directory_iterator()), 2);
        EXPECT_EQ(ReadFile(dir.File("outside.bmp")), "outside");
    }
    // With every name free, the user's file of that name is replaced and the set written.
    TempDir dir;
    const std::string skin = dir.File("skin");
    fs::create_directory(skin);
    WriteFile(skin + "/MAINICON.bmp", "the user's own icon");
    WriteFile(skin + "/notes.txt", "kept");
    const Result r = RunProcess(ZD7240_SKINPAINTER, {skin});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(ReadFile(skin + "/MAINICON.bmp").starts_with("BM"));
    EXPECT_TRUE(ReadFile(skin + "/PROTEIN_TAB@2x.bmp").starts_with("BM"));
    EXPECT_EQ(ReadFile(skin + "/notes.txt"), "kept");
}

// Without any display the window program still answers its options, writes pictures
// and refuses only the window itself, with a hint and none of Qt's own chatter.
TEST(PictureTargets, WindowProgramWithoutADisplay) {
    TempDir dir;
    Launch bare;
    bare.shellPrefix = "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_RUNTIME_DIR;";
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message; // on standard error, or nullptr for none at all
    };
    const Case cases[] = {
        {{"--help"}, 0, nullptr},
        {{"--version"}, 0, nullptr},
        {{"--bogus"}, 64, "Unknown option 'bogus'"},
        {{"--grab", dir.File("g.png")}, 0, nullptr},
        {{}, 69, "no display found"},
        {{"--selftest-frame"}, 69, "xvfb-run -a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(window)" : c.args.front());
        const Result r = RunProcess(ZD7240_HELPER, c.args, bare);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.message)
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        else
            EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.err.find("QStandardPaths"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(ReadFile(dir.File("g.png")).starts_with("\x89PNG"));
}

} // namespace
