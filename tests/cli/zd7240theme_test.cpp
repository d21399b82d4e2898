// zd7240-theme run as a process: the same targets, signals and lost output as
// zd7240-gen.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "targets.h"

namespace {

using namespace zd7240::test;

// What `export MacOS` writes, taken once from a regular file.
const std::string& MacOSTheme() {
    static const std::string bytes = [] {
        TempDir dir;
        const Result r = RunProcess(ZD7240_THEME, {"export", "MacOS", dir.File("m.theme")});
        EXPECT_EQ(r.status, 0) << r.err;
        return ReadFile(dir.File("m.theme"));
    }();
    return bytes;
}

TEST(Zd7240Theme, EveryKindOfTarget) {
    ASSERT_TRUE(MacOSTheme().starts_with("ZD7240 THEME"));
    CheckTargets(
        ZD7240_THEME,
        [](const std::string& path) {
            return std::vector<std::string>{"export", "MacOS", path};
        },
        MacOSTheme());
}

TEST(Zd7240Theme, PackAndStandardOutputUseTheSameWriter) {
    TempDir dir;
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", "/dev/null", dir.File("u")}).status, 65);
    WriteFile(dir.File("m.theme"), MacOSTheme());
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", dir.File("m.theme"), dir.File("u")}).status, 0);
    // pack into a full device fails as export does, and "-" is standard output.
    const std::string full = MakeDevice(dir, "full", 7);
    Result r = RunProcess(ZD7240_THEME, {"pack", dir.File("u"), full});
    EXPECT_EQ(r.status, 74);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    r = RunProcess(ZD7240_THEME, {"pack", dir.File("u"), "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, MacOSTheme());
}

TEST(Zd7240Theme, SignalsEndTheProgramWhileWaitingForAFifoReader) {
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        TempDir dir;
        const std::string fifo = dir.File("fifo");
        mkfifo(fifo.c_str(), 0644);
        Process theme(ZD7240_THEME, {"export", "MacOS", fifo});
        for (int i = 0; i < 1000 && !theme.Blocked(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        theme.Signal(signal);
        const Result r = theme.Wait(std::chrono::seconds(10));
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find("zd7240-theme: interrupted"), std::string::npos) << r.err;
        EXPECT_TRUE(std::filesystem::is_fifo(fifo));
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

TEST(Zd7240Theme, LostStandardOutputExits74) {
    TempDir dir;
    WriteFile(dir.File("m.theme"), MacOSTheme());
    const std::string full = MakeDevice(dir, "full", 7);
    const std::vector<std::vector<std::string>> modes = {
        {"--help"},
        {"--version"},
        {"dump", dir.File("m.theme")},
        {"export", "MacOS", "-"},
    };
    for (const auto& args : modes) {
        SCOPED_TRACE(args.back());
        const int fd = open(full.c_str(), O_WRONLY);
        Launch launch;
        launch.stdoutFd = fd;
        Result r = RunProcess(ZD7240_THEME, args, launch);
        close(fd);
        EXPECT_EQ(r.status, 74);
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
        launch.stdoutFd = -1;
        launch.closeStdout = true;
        r = RunProcess(ZD7240_THEME, args, launch);
        EXPECT_EQ(r.status, 74);
    }
}

} // namespace

namespace {

// Unpack writes only regular files inside its folder: a planted link, folder or FIFO
// where a file is to go is refused before anything is written, and the link's target
// is untouched; a folder whose parent is missing is not made.
TEST(Zd7240Theme, UnpackWritesOnlyRegularFilesInsideItsFolder) {
    namespace fs = std::filesystem;
    struct Case {
        const char* name;
        std::function<void(const TempDir&)> plant; // into dir/u
        const char* message;
    };
    const Case cases[] = {
        {"a link to a file outside",
         [](const TempDir& dir) {
             fs::create_symlink("../outside/secret.txt", dir.File("u/ButtonImage.bmp"));
         },
         "is a symbolic link, not a file"},
        {"a link to a missing file outside",
         [](const TempDir& dir) {
             fs::create_symlink("../outside/new.txt", dir.File("u/theme.txt"));
         },
         "is a symbolic link, not a file"},
        {"a folder", [](const TempDir& dir) { fs::create_directory(dir.File("u/theme.txt")); },
         "is a folder, not a file"},
        {"a FIFO", [](const TempDir& dir) { mkfifo(dir.File("u/ButtonImage.bmp").c_str(), 0644); },
         "is a special file, not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteFile(dir.File("m.theme"), MacOSTheme());
        fs::create_directory(dir.path() / "outside");
        WriteFile(dir.File("outside/secret.txt"), "secret");
        fs::create_directory(dir.path() / "u");
        c.plant(dir);
        const Result r = RunProcess(ZD7240_THEME, {"unpack", dir.File("m.theme"), dir.File("u")});
        EXPECT_EQ(r.status, 73) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(dir.File("outside/secret.txt")), "secret");
        EXPECT_FALSE(fs::exists(dir.File("outside/new.txt")));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "u"), fs::directory_iterator()),
                  1)
            << "something was written";
    }
    TempDir dir;
    WriteFile(dir.File("m.theme"), MacOSTheme());
    const Result r =
        RunProcess(ZD7240_THEME, {"unpack", dir.File("m.theme"), dir.File("no/such/u")});
    EXPECT_EQ(r.status, 73);
    EXPECT_FALSE(fs::exists(dir.File("no")));
}

// A theme named with a newline cannot inject a setting through theme.txt's comment,
// and unpack then pack gives back the same bytes.
TEST(Zd7240Theme, ThemeNamesCannotInjectSettings) {
    TempDir dir;
    const std::string evil = dir.File("evil\nMenuBarColor=0x0000FF.theme");
    WriteFile(evil, MacOSTheme());
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", evil, dir.File("u")}).status, 0);
    const std::string text = ReadFile(dir.File("u/theme.txt"));
    EXPECT_EQ(text.find("\nMenuBarColor=0x0000FF"), std::string::npos) << text;
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"pack", dir.File("u"), dir.File("back.theme")}).status, 0);
    EXPECT_EQ(ReadFile(dir.File("back.theme")), MacOSTheme());
}

// Numbers in theme.txt are one optional minus and decimal, 0x or $ digits; a second
// sign or a plus is refused with the line.
TEST(Zd7240Theme, PackReadsNumbersStrictly) {
    TempDir dir;
    WriteFile(dir.File("m.theme"), MacOSTheme());
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", dir.File("m.theme"), dir.File("u")}).status, 0);
    const std::string original = ReadFile(dir.File("u/theme.txt"));
    const auto line = original.find("\nFormBackgroundColor=");
    ASSERT_NE(line, std::string::npos);
    const auto end = original.find('\n', line + 1);
    for (const auto& [value, status] : std::vector<std::pair<std::string, int>>{{"--5", 65},
                                                                                {"-$-5", 65},
                                                                                {"+5", 65},
                                                                                {"0x-5", 65},
                                                                                {"5x", 65},
                                                                                {"-5", 0},
                                                                                {"$E7E7E7", 0},
                                                                                {"0xE7E7E7", 0}}) {
        SCOPED_TRACE(value);
        WriteFile(dir.File("u/theme.txt"), original.substr(0, line) + "\nFormBackgroundColor=" +
                                               value + original.substr(end));
        const Result r = RunProcess(ZD7240_THEME, {"pack", dir.File("u"), dir.File("p.theme")});
        EXPECT_EQ(r.status, status) << r.err;
        if (status != 0) {
            EXPECT_NE(r.err.find("is not a 32-bit number"), std::string::npos) << r.err;
        }
    }
}

} // namespace

namespace {

// A bitmap that several elements share is unpacked once, the others naming it in
// theme.txt, and pack reads that back to the same theme.
TEST(Zd7240Theme, SharedBitmapsAreUnpackedOnce) {
    namespace fs = std::filesystem;
    TempDir dir;
    WriteFile(dir.File("m.theme"), MacOSTheme());
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", dir.File("m.theme"), dir.File("a")}).status, 0);
    fs::copy_file(dir.File("a/ButtonImage.bmp"), dir.File("a/CheckBoxImage.bmp"),
                  fs::copy_options::overwrite_existing);
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"pack", dir.File("a"), dir.File("s.theme")}).status, 0);
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", dir.File("s.theme"), dir.File("b")}).status, 0);
    EXPECT_FALSE(fs::exists(dir.File("b/CheckBoxImage.bmp")));
    EXPECT_NE(ReadFile(dir.File("b/theme.txt")).find("\nCheckBoxImage=same as ButtonImage.bmp\n"),
              std::string::npos);
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"pack", dir.File("b"), dir.File("t.theme")}).status, 0);
    EXPECT_EQ(ReadFile(dir.File("t.theme")), ReadFile(dir.File("s.theme")));
    // A reference to a bitmap that is not given is refused with its line.
    WriteFile(dir.File("b/theme.txt"), "RadioButtonImage=same as NoSuchImage.bmp\n");
    const Result r = RunProcess(ZD7240_THEME, {"pack", dir.File("b"), dir.File("u.theme")});
    EXPECT_EQ(r.status, 65);
    EXPECT_NE(r.err.find("theme.txt line 1"), std::string::npos) << r.err;
}

} // namespace
