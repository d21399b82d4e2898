#include "scriptwriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <linux/magic.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "../lib/tempdir.h"
#include "processguard.h"

namespace zd7240 {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(ScriptWriter, ReplacesARegularFileOnlyOnCommit) {
    TempDir dir;
    const std::string path = dir.File("a.txt");
    WriteFile(path, "old");
    chmod(path.c_str(), 0640);
    {
        ScriptWriter writer(path);
        writer.Write("new\r\n");
        EXPECT_EQ(ReadFile(path), "old"); // nothing visible before the commit
        // The new file has no name until it is complete: a killed run leaves nothing.
        EXPECT_EQ(dir.EntryCount(), 1u);
        writer.Commit();
    }
    EXPECT_EQ(ReadFile(path), "new\r\n");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u); // the old file's permissions carry over
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(ScriptWriter, DiscardOrDestructionKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("a.txt");
    WriteFile(path, "old");
    {
        ScriptWriter writer(path, 4096);
        for (int i = 0; i < 10000; ++i)
            writer.Write("line that does not land\r\n"); // spills over the buffer many times
    }
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(ScriptWriter, SymbolicLinkHasItsTargetReplaced) {
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    const std::string target = dir.File("real/script.txt");
    WriteFile(target, "old");
    const std::string link = dir.File("link.txt");
    fs::create_symlink("real/script.txt", link);
    ScriptWriter writer(link);
    writer.Write("new");
    writer.Commit();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(target), "new");
    // A dangling link creates the file it names.
    const std::string dangling = dir.File("dangling.txt");
    fs::create_symlink("real/fresh.txt", dangling);
    ScriptWriter second(dangling);
    second.Write("fresh");
    second.Commit();
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(ReadFile(dir.File("real/fresh.txt")), "fresh");
}

TEST(ScriptWriter, DevicesAreWrittenDirectly) {
    TempDir dir;
    const std::string null = dir.File("null"); // a private node with the numbers of /dev/null
    ASSERT_EQ(mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ScriptWriter writer(null);
    EXPECT_FALSE(writer.replacesAtomically());
    writer.Write("into the void\r\n");
    writer.Commit();
    EXPECT_TRUE(fs::is_character_file(null)); // still the device, not a renamed file
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(EscapeText, ControlCharactersAndBrokenBytesAreEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text 123", "plain text 123"},
        {"a\nb\rc\td", "a\\nb\\rc\\td"},
        {"\x1b[2J\x7f", "\\x1b[2J\\x7f"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"}, // UTF-8 passes
        {"\xc2\x9b"
         "2J",
         "\\xc2\\x9b2J"},             // C1 CSI
        {"\xe9t\xe9", "\\xe9t\\xe9"}, // Latin-1 bytes
        {"\xc0\xaf", "\\xc0\\xaf"},   // overlong
        {"back\\slash", "back\\slash"},
        // Characters that turn the text after them around on a terminal, every byte shown
        // as the C1 control U+0085 is; their neighbours pass.
        {"a\xe2\x80\xae.txt", "a\\xe2\\x80\\xae.txt"},                    // U+202E override
        {"\xe2\x80\xaa\xe2\x80\xac", "\\xe2\\x80\\xaa\\xe2\\x80\\xac"},   // U+202A, U+202C
        {"\xe2\x81\xa6x\xe2\x81\xa9", "\\xe2\\x81\\xa6x\\xe2\\x81\\xa9"}, // isolates U+2066..9
        {"\xe2\x80\x8e\xe2\x80\x8f", "\\xe2\\x80\\x8e\\xe2\\x80\\x8f"},   // U+200E, U+200F
        {"\xd8\x9c", "\\xd8\\x9c"},                                       // U+061C
        {"\xc2\x85", "\\xc2\\x85"},                                       // U+0085 (C1)
        {"\xe2\x80\x8d\xe2\x80\xaf\xe2\x81\xa5",
         "\xe2\x80\x8d\xe2\x80\xaf\xe2\x81\xa5"}, // U+200D, U+202F, U+2065
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(EscapeText(in), out) << out;
    EXPECT_EQ(EscapeText("a\\b\n", true), "a\\\\b\\n");
}

// Values quoted back in messages are cut after 80 characters, never inside a UTF-8
// sequence, with the length of the whole value; shorter ones are only escaped.
TEST(EscapeText, EchoedValuesAreCutToAReadableLength) {
    const std::string euro = "\xe2\x82\xac";
    std::string euros;
    for (int i = 0; i < 81; ++i)
        euros += euro;
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"12a", "12a"},
        {std::string(80, '7'), std::string(80, '7')},
        {std::string(81, '7'), std::string(80, '7') + "... (81 bytes)"},
        {std::string(20 << 20, '9'), std::string(80, '9') + "... (20971520 bytes)"},
        {euros, euros.substr(0, 240) + "... (243 bytes)"},
        {"\x1b" + std::string(100, 'x'), "\\x1b" + std::string(79, 'x') + "... (101 bytes)"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(EchoedText(in), out) << in.size();
}

// Theme files hold Latin-1: every byte is a character of its own, never part of a
// sequence, and 0x80 to 0x9f are control characters.
TEST(EscapeText, Latin1BytesAreCharactersOfTheirOwn) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text 123", "plain text 123"},
        {"a\nb\x1b\x7f", "a\\nb\\x1b\\x7f"},
        {"caf\xe9 \xa0\xff", "caf\xc3\xa9 \xc2\xa0\xc3\xbf"},
        {"\x80\x9b"
         "2J",
         "\\x80\\x9b2J"},                 // C1, CSI among them
        {"\xc3\xa9", "\xc3\x83\xc2\xa9"}, // two characters, not one UTF-8 sequence
        {"back\\slash", "back\\\\slash"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(EscapeLatin1Text(in, true), out) << out;
    EXPECT_EQ(EscapeLatin1Text("a\\b"), "a\\b");
}

TEST(ScriptWriter, LinesLongerThanTheBufferAreWrittenWhole) {
    TempDir dir;
    const std::string path = dir.File("long.txt");
    const std::string big(100000, 'x');
    ScriptWriter writer(path, 4096);
    char* p = writer.Reserve(big.size());
    std::copy(big.begin(), big.end(), p);
    writer.Advance(big.size());
    writer.Commit();
    EXPECT_EQ(ReadFile(path), big);
}

// One writer thread and its buffers serve files in turn (the jobs of a job file): a
// failure or a discard stays with its file, and every file gets exactly its own bytes.
TEST(ScriptWriter, OneWriteBehindServesFilesInTurn) {
    TempDir dir;
    WriteBehind behind(4096, 2); // small buffers: every file goes through the thread
    auto fill = [](ScriptWriter& writer, const std::string& tag, int lines) {
        for (int i = 0; i < lines; ++i)
            writer.Write(tag + " line " + std::to_string(i) + "\r\n");
    };
    auto expected = [](const std::string& tag, int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += tag + " line " + std::to_string(i) + "\r\n";
        return text;
    };
    const std::string full = dir.File("full"); // a private node with the numbers of /dev/full
    ASSERT_EQ(mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        WriteFile(dir.File(name), "old");

    {
        ScriptWriter writer(dir.File("a.txt"), behind);
        fill(writer, "a", 3000);
        writer.Commit();
    }
    try {
        ScriptWriter writer(full, behind);
        fill(writer, "full", 3000);
        writer.Commit();
        ADD_FAILURE() << "a full device took everything";
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Write);
        EXPECT_EQ(e.error(), ENOSPC);
    }
    {
        ScriptWriter writer(dir.File("b.txt"), behind);
        fill(writer, "b", 3000); // dropped half-way
    }
    {
        ScriptWriter writer(dir.File("c.txt"), behind);
        fill(writer, "c", 5000);
        writer.Commit();
    }
    {
        ScriptWriter writer(dir.File("d.txt"), behind);
        fill(writer, "d", 10); // fits one buffer
        writer.Commit();
    }
    EXPECT_EQ(ReadFile(dir.File("a.txt")), expected("a", 3000));
    EXPECT_EQ(ReadFile(dir.File("b.txt")), "old");
    EXPECT_EQ(ReadFile(dir.File("c.txt")), expected("c", 5000));
    EXPECT_EQ(ReadFile(dir.File("d.txt")), expected("d", 10));
    EXPECT_EQ(dir.EntryCount(), 5u) << "no temporary left";
}

TEST(ScriptWriter, TargetsThatCannotBeCreatedFailWithTheSystemDescription) {
    TempDir dir;
    struct Case {
        std::string path;
        const char* description;
    };
    WriteFile(dir.File("plain"), "x");
    const Case cases[] = {
        {dir.File("missing/a.txt"), "No such file or directory"},
        {dir.File("plain/a.txt"), "Not a directory"},
        {"", "No such file or directory"},
    };
    for (const Case& c : cases) {
        // The check made ahead of writing refuses what opening refuses, in the same words.
        try {
            (void)PlanTarget(c.path);
            ADD_FAILURE() << c.path << " planned";
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot create file \"" + c.path + "\". " + c.description);
        }
        try {
            ScriptWriter writer(c.path);
            ADD_FAILURE() << c.path << " opened";
        } catch (const FileError& e) {
            EXPECT_EQ(e.kind(), FileError::Kind::Create);
            EXPECT_EQ(std::string(e.what()),
                      "Cannot create file \"" + c.path + "\". " + c.description);
        }
    }
    EXPECT_EQ(dir.EntryCount(), 1u);
}

// Finish writes a file in full and leaves the old one in place; Place puts it there.
// Released, it waits under a temporary name without a descriptor; a writer destroyed
// before Place takes its file back, temporary and all.
TEST(ScriptWriter, FinishedFilesArePutInPlaceOnlyByPlace) {
    TempDir dir;
    WriteFile(dir.File("a.txt"), "old a");
    WriteFile(dir.File("b.txt"), "old b");
    {
        ScriptWriter a(dir.File("a.txt"));
        ScriptWriter b(dir.File("b.txt"));
        ScriptWriter c(dir.File("c.txt"));
        a.Write("new a");
        b.Write("new b");
        c.Write("new c");
        a.Finish();
        b.Finish();
        b.Release();
        c.Finish();
        c.Release();
        EXPECT_EQ(ReadFile(dir.File("a.txt")), "old a");
        EXPECT_EQ(ReadFile(dir.File("b.txt")), "old b");
        EXPECT_FALSE(fs::exists(dir.File("c.txt")));
        EXPECT_EQ(dir.EntryCount(), 4u) << "two released temporaries beside the old files";
        a.Place();
        b.Place();
        // c is never placed.
    }
    EXPECT_EQ(ReadFile(dir.File("a.txt")), "new a");
    EXPECT_EQ(ReadFile(dir.File("b.txt")), "new b");
    EXPECT_EQ(dir.EntryCount(), 2u) << "c's temporary was taken back";
}

// A file whose new bytes are its old bytes is kept as it is: same inode, same times,
// its other names too. Any difference, in the first or the last byte of a file of many
// buffers or in its length, replaces it.
TEST(ScriptWriter, AnUnchangedFileIsLeftUntouched) {
    std::string big;
    for (int i = 0; big.size() < 12 * ScriptWriter::kBufferSize; ++i)
        big += "pvc line " + std::to_string(i) + "\r\n";
    struct Case {
        const char* name;
        std::string old, fresh;
        bool unchanged;
    };
    const Case cases[] = {
        {"small, equal", "abc\r\n", "abc\r\n", true},
        {"small, one byte off", "abc\r\n", "abd\r\n", false},
        {"small, longer", "abc", "abcd", false},
        {"empty, equal", "", "", true},
        {"many buffers, equal", big, big, true},
        {"many buffers, first byte off", big, "q" + big.substr(1), false},
        {"many buffers, last byte off", big, big.substr(0, big.size() - 1) + "x", false},
        {"many buffers, shorter", big, big.substr(0, big.size() - 1), false},
        {"many buffers, longer", big, big + "x", false},
    };
    // Small buffers, so that the big file crosses many; and the program's own, which the
    // thread writes several at a time.
    const std::pair<std::size_t, std::size_t> ring[] = {
        {4096, 2}, {WriteBehind::kBufferSize, WriteBehind::kBuffers}};
    for (const auto& [bufferSize, buffers] : ring)
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + ", buffers of " + std::to_string(bufferSize));
            TempDir dir;
            const std::string path = dir.File("s.txt");
            WriteFile(path, c.old);
            ASSERT_EQ(link(path.c_str(), dir.File("other-name").c_str()), 0);
            struct stat before {};
            ASSERT_EQ(stat(path.c_str(), &before), 0);
            {
                WriteBehind behind(bufferSize, buffers);
                ScriptWriter writer(path, behind);
                // Written in pieces, as lines are.
                for (std::size_t at = 0; at < c.fresh.size(); at += 1000)
                    writer.Write(std::string_view(c.fresh).substr(at, 1000));
                writer.Commit();
                EXPECT_EQ(writer.unchanged(), c.unchanged);
            }
            struct stat after {};
            ASSERT_EQ(stat(path.c_str(), &after), 0);
            EXPECT_EQ(ReadFile(path), c.fresh);
            EXPECT_EQ(after.st_ino == before.st_ino, c.unchanged);
            EXPECT_EQ(ReadFile(dir.File("other-name")), c.old)
                << "the other name keeps the old file";
            EXPECT_EQ(dir.EntryCount(), 2u);
        }
}

// The temp folder, and a folder in memory (tmpfs) where there is one: a disk and memory
// take the bytes and refuse them differently.
std::vector<fs::path> WritableFolders() {
    std::vector<fs::path> folders{fs::temp_directory_path()};
    struct statfs st {};
    if (statfs("/dev/shm", &st) == 0 && st.f_type == TMPFS_MAGIC && access("/dev/shm", W_OK) == 0)
        folders.emplace_back("/dev/shm");
    return folders;
}

// Many megabytes formatted faster than the system takes them. The file holds exactly
// its bytes and no space past them; dropped half-way, it leaves the old file and
// nothing else.
TEST(ScriptWriter, BigFilesHoldExactlyTheirBytes) {
    std::string lines;
    for (int i = 0; lines.size() < (48u << 20); ++i)
        lines += "pvc adsl 0/" + std::to_string(i) + " vpi 1 vci " + std::to_string(i) + "\r\n";
    for (const fs::path& folder : WritableFolders()) {
        SCOPED_TRACE(folder.string());
        TempDir dir(folder);
        const std::string path = dir.File("big.txt");
        WriteFile(path, "old");
        {
            ScriptWriter writer(path);
            for (std::size_t at = 0; at < lines.size() / 2; at += 4096)
                writer.Write(std::string_view(lines).substr(at, 4096));
            // dropped here
        }
        EXPECT_EQ(ReadFile(path), "old");
        EXPECT_EQ(dir.EntryCount(), 1u);
        {
            ScriptWriter writer(path);
            for (std::size_t at = 0; at < lines.size(); at += 4096)
                writer.Write(std::string_view(lines).substr(at, 4096));
            writer.Commit();
        }
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(static_cast<std::size_t>(st.st_size), lines.size());
        EXPECT_LE(static_cast<std::uint64_t>(st.st_blocks) * 512, lines.size() + (64u << 10))
            << "space taken ahead was given back";
        EXPECT_TRUE(ReadFile(path) == lines);
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

// A file system that refuses more bytes half-way (here: the process's file size limit)
// fails the write with its reason and keeps the old file; no temporary is left.
TEST(ScriptWriter, AFileRefusedHalfWayKeepsTheOldOne) {
    for (const fs::path& folder : WritableFolders()) {
        SCOPED_TRACE(folder.string());
        TempDir dir(folder);
        const std::string path = dir.File("s.txt");
        WriteFile(path, "old");
        rlimit before{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before;
        limit.rlim_cur = 8u << 20;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        int error = 0;
        try {
            ScriptWriter writer(path);
            const std::string block(4096, 'x');
            for (int i = 0; i < 8192; ++i) // 32 MB
                writer.Write(block);
            writer.Commit();
        } catch (const FileError& e) {
            EXPECT_EQ(e.kind(), FileError::Kind::Write);
            error = e.error();
        }
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previous);
        EXPECT_EQ(error, EFBIG);
        EXPECT_EQ(ReadFile(path), "old");
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

} // namespace
} // namespace zd7240
