// zd7240-theme run as a process: the same targets, signals and lost output as
// zd7240-gen.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
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

namespace {

// A theme whose every image element names one bitmap: a 8192 x 8192 RLE8 image whose
// runs end at once, padded to the 64 KiB of compressed data such an image may have.
std::string SharedBitmapTheme() {
    const char* const keys[] = {
        "ButtonImage",          "CheckBoxImage",        "RadioButtonImage",
        "TitleBarButtonImage",  "TitleBarLeftImage",    "TitleBarClientImage",
        "TitleBarRightImage",   "ProgressBarImage",     "TrackBarBarImage",
        "TrackBarSliderImage",  "TrackBarSliderVImage", "ScrollBarButtonImage",
        "ScrollBarSliderImage", "CheckListBoxImage",    "ScrollButtonImage",
        "TabControlTabImage",   "TabControlBarImage",   "SideChannelHandleImage",
        "SideChannelBarImage"};
    const auto put = [](std::string& s, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            s[at + std::size_t(i)] = char((v >> (8 * i)) & 0xff);
    };
    const std::size_t palette = 1024, rle = 65536, pixels = 14 + 40 + palette;
    std::string bmp(pixels + rle, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(bmp, 2, std::uint32_t(bmp.size()));
    put(bmp, 10, std::uint32_t(pixels));
    put(bmp, 14, 40);
    put(bmp, 18, 8192);
    put(bmp, 22, 8192);
    put(bmp, 26, 1 | (8 << 16)); // one plane, 8 bits a pixel
    put(bmp, 30, 1);             // RLE8
    bmp[pixels + 1] = 1;         // end of bitmap
    const std::size_t count = std::size(keys), data = 24 + (count + 1) * 77;
    std::string theme(data, '\0');
    theme.replace(0, 12, "ZD7240 THEME");
    put(theme, 12, 24);
    put(theme, 20, 24);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 24 + i * 77;
        theme.replace(at, std::strlen(keys[i]), keys[i]);
        put(theme, at + 65, std::uint32_t(data));
        put(theme, at + 69, std::uint32_t(bmp.size()));
        put(theme, at + 73, std::uint32_t(at + 77));
    }
    return theme + bmp;
}

std::uintmax_t FolderSize(const std::filesystem::path& folder) {
    std::uintmax_t size = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        size += entry.file_size();
    return size;
}

// One bitmap named by all 19 image elements: unpack writes it once, pack stores it once,
// and from then on unpack and pack give back the same bytes.
TEST(Zd7240Theme, SharedBitmapStaysOneBitmapThroughUnpackAndPack) {
    TempDir dir;
    const std::string theme = SharedBitmapTheme();
    WriteFile(dir.File("s.theme"), theme);
    Result r = RunProcess(ZD7240_THEME, {"unpack", dir.File("s.theme"), dir.File("a")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_LT(FolderSize(dir.path() / "a"), theme.size() + 4096);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "a"),
                            std::filesystem::directory_iterator()),
              2); // ButtonImage.bmp and theme.txt
    r = RunProcess(ZD7240_THEME, {"pack", dir.File("a"), dir.File("p.theme")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string packed = ReadFile(dir.File("p.theme"));
    EXPECT_LE(packed.size(), theme.size());
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", dir.File("p.theme"), dir.File("b")}).status, 0);
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"pack", dir.File("b"), dir.File("q.theme")}).status, 0);
    EXPECT_EQ(ReadFile(dir.File("q.theme")), packed);
    r = RunProcess(ZD7240_THEME, {"dump", dir.File("q.theme")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("SideChannelBarImage bitmap 8192x8192\n"), std::string::npos);
}

// Names from the command line and the folder reach messages with their control
// characters escaped, whatever the command and whatever went wrong.
TEST(Zd7240Theme, NamesInMessagesAreEscaped) {
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string evil = "e\x1b]0;x\x07\n\r";
    WriteFile(dir.File("m.theme"), MacOSTheme());
    fs::create_directory(dir.path() / "look");
    WriteFile(dir.File("look/" + evil + ".bmp"), "not read");
    WriteFile(dir.File("look/theme.txt"), "MenuBarColor=0x0000FF\n"); // a theme, if a small one
    fs::create_directory(dir.path() / "bad");
    WriteFile(dir.File("bad/theme.txt"), "e\x1b]0;x\x07=1\n");
    fs::create_directory(dir.path() / evil);
    fs::create_symlink("elsewhere", dir.File(evil + "/theme.txt"));
    const std::vector<std::pair<std::vector<std::string>, int>> runs = {
        {{"dump", dir.File(evil)}, 66},
        {{"unpack", dir.File(evil), dir.File("u")}, 66},
        {{"unpack", dir.File("m.theme"), dir.File(evil + "-no/u")}, 73},
        {{"unpack", dir.File("m.theme"), dir.File(evil)}, 73},
        {{"export", "MacOS", dir.File(evil + "-no/x.theme")}, 73},
        {{"export", evil, dir.File("x.theme")}, 64},
        {{"pack", dir.File(evil), dir.File("x.theme")}, 66},
        {{"pack", dir.File("look"), dir.File(evil + "-no/x.theme")}, 73},
        {{"pack", dir.File("bad"), dir.File("x.theme")}, 65},
        {{evil}, 64},
    };
    for (const auto& [args, status] : runs) {
        SCOPED_TRACE(args.front() + " " + std::to_string(status));
        const Result r = RunProcess(ZD7240_THEME, args);
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find("e\\x1b]0;x\\x07"), std::string::npos) << r.err;
        for (const char c : r.err)
            EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir.File("x.theme")));
    EXPECT_FALSE(fs::exists(dir.File(evil + "-no")));
    EXPECT_FALSE(fs::exists(dir.File(evil + "/ButtonImage.bmp")));
}

} // namespace

namespace {

// The entries of a folder by name, with their bytes ("<folder>" for a folder).
std::map<std::string, std::string> FolderEntries(const std::filesystem::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        entries[entry.path().filename().string()] =
            entry.is_directory() ? "<folder>" : ReadFile(entry.path().string());
    return entries;
}

// A folder that holds another theme's files is not unpacked into without --force, and
// with it loses only the files pack would read; a folder without any theme is not packed
// over a good theme file.
TEST(Zd7240Theme, UnpackAndPackNeverMixOrEmptyThemes) {
    namespace fs = std::filesystem;
    TempDir dir;
    WriteFile(dir.File("m.theme"), MacOSTheme());
    WriteFile(dir.File("s.theme"), SharedBitmapTheme());
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"unpack", dir.File("s.theme"), dir.File("clean")}).status,
              0);
    const auto clean = FolderEntries(dir.path() / "clean"); // ButtonImage.bmp, theme.txt
    ASSERT_EQ(RunProcess(ZD7240_THEME, {"pack", dir.File("clean"), dir.File("clean.theme")}).status,
              0);
    // The user's own files, which no theme names; pack ignores (or warns about) them.
    const std::map<std::string, std::string> own = {{"notes.txt", "my notes"},
                                                    {"ButtonImage.png", "a picture"},
                                                    {"Nonsense.bmp", "not read"},
                                                    {".hidden", "hidden"},
                                                    {"theme.txt.orig", "old"}};
    const auto setUp = [&](const std::string& name) {
        const std::string folder = dir.File(name);
        EXPECT_EQ(RunProcess(ZD7240_THEME, {"unpack", dir.File("m.theme"), folder}).status, 0);
        // A bitmap of the old theme under another spelling is still read by pack.
        fs::rename(folder + "/CheckBoxImage.bmp", folder + "/checkboximage.BMP");
        for (const auto& [file, bytes] : own)
            WriteFile(folder + "/" + file, bytes);
        fs::create_directory(folder + "/sub");
        return folder;
    };

    struct Case {
        const char* name;
        std::vector<std::string> options; // before FILE and DIR
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"without --force", {}, 73, "is not empty"},
        {"--force twice", {"--force", "--force"}, 64, "--force is given 2 times"},
        {"with --force", {"--force"}, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = setUp(c.name);
        const auto before = FolderEntries(folder);
        std::vector<std::string> args = {"unpack"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {dir.File("s.theme"), folder});
        Result r = RunProcess(ZD7240_THEME, args);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.message) {
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
            EXPECT_EQ(FolderEntries(folder), before) << "the folder was changed";
            continue;
        }
        // The new theme's files and the user's, nothing of the old theme.
        auto expected = clean;
        expected.insert(own.begin(), own.end());
        expected["sub"] = "<folder>";
        EXPECT_EQ(FolderEntries(folder), expected);
        r = RunProcess(ZD7240_THEME, {"pack", folder, dir.File("again.theme")});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFile(dir.File("again.theme")), ReadFile(dir.File("clean.theme")));
    }
    // --force does not reach past the theme's own names: a link under one is refused
    // before anything is removed, and what it leads to stays.
    const std::string linked = setUp("linked");
    WriteFile(dir.File("outside.bmp"), "outside");
    fs::remove(linked + "/TabControlBarImage.bmp");
    fs::create_symlink("../outside.bmp", linked + "/TabControlBarImage.bmp");
    const auto before = FolderEntries(linked);
    Result r = RunProcess(ZD7240_THEME, {"unpack", "--force", dir.File("s.theme"), linked});
    EXPECT_EQ(r.status, 73) << r.err;
    EXPECT_NE(r.err.find("TabControlBarImage.bmp\" is a symbolic link"), std::string::npos)
        << r.err;
    EXPECT_EQ(FolderEntries(linked), before);
    EXPECT_EQ(ReadFile(dir.File("outside.bmp")), "outside");

    // Pack: a folder with no element in it leaves the theme file as it was.
    const auto makeFolder = [&](const std::string& name,
                                const std::map<std::string, std::string>& files) {
        fs::create_directory(dir.path() / name);
        for (const auto& [file, bytes] : files)
            WriteFile(dir.File(name + "/" + file), bytes);
        return dir.File(name);
    };
    const std::string emptyFolders[] = {
        makeFolder("empty", {}),
        makeFolder("unrelated", own),
        makeFolder("comments", {{"theme.txt", "# nothing set yet\n\n"}}),
    };
    for (const std::string& folder : emptyFolders) {
        SCOPED_TRACE(folder);
        WriteFile(dir.File("keep.theme"), MacOSTheme());
        r = RunProcess(ZD7240_THEME, {"pack", folder, dir.File("keep.theme")});
        EXPECT_EQ(r.status, 65) << r.err;
        EXPECT_NE(r.err.find("holds no theme"), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(dir.File("keep.theme")), MacOSTheme());
    }
}

} // namespace
