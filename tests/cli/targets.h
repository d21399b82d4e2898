#pragma once
// One table of output targets for every program that writes a file: what the program
// answers for each kind of target, what the target holds afterwards and what became of
// the old file. Used by the tests of zd7240-gen and of zd7240-theme.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <vector>

#include "process.h"

namespace zd7240::test {

// Reads everything from a descriptor, or from a FIFO it opens, on a thread of its own.
class Drain {
public:
    explicit Drain(int fd) : thread_([this, fd] { ReadAll(fd); }) {}
    explicit Drain(const std::string& fifo)
        : thread_([this, fifo] { ReadAll(open(fifo.c_str(), O_RDONLY)); }) {}
    ~Drain() {
        if (thread_.joinable())
            thread_.join();
    }
    const std::string& Take() {
        if (thread_.joinable())
            thread_.join();
        return got_;
    }

private:
    void ReadAll(int fd) {
        char buffer[65536];
        ssize_t n;
        while (fd >= 0 && (n = read(fd, buffer, sizeof buffer)) > 0)
            got_.append(buffer, static_cast<std::size_t>(n));
        if (fd >= 0)
            close(fd);
    }
    std::string got_;
    std::thread thread_;
};

struct Setting {
    std::string path; // the target as the program is given it
    Launch launch;
    std::unique_ptr<Drain> reader; // what a reader of a pipe or FIFO received
    int closeAfterStart = -1;      // the test's copy of a pipe's write end
    int holdDuringRun = -1;        // a descriptor the test keeps open (and locked) meanwhile
    std::string mounted;           // a file system mounted for the case, unmounted after it
    bool skip = false;             // the case cannot be set up here (no mount allowed)
};

struct TargetCase {
    const char* name;
    std::function<void(TempDir&, Setting&)> setUp;
    int status;
    const char* error; // part of the message on standard error, or nullptr
    // Checks the target and the folder after the run; `expected` is the program's output.
    std::function<void(TempDir&, Setting&, const std::string& expected)> check;
};

inline constexpr const char* kOld = "old content\n";

inline void MakeOld(const std::string& path, mode_t mode = 0644) {
    WriteFile(path, kOld);
    chmod(path.c_str(), mode);
}

inline void OpenToNobody(const TempDir& dir, mode_t mode) {
    chmod(dir.path().c_str(), mode);
}

// Mounts a small tmpfs at `path` holding `name` with the old content, then fills it to
// the last block. False where mounting is not allowed.
inline bool MakeFullFileSystem(const std::string& path, const std::string& name) {
    mkdir(path.c_str(), 0755);
    if (mount("tmpfs", path.c_str(), "tmpfs", 0, "size=64k") != 0)
        return false;
    MakeOld(path + "/" + name);
    const int fd = open((path + "/pad").c_str(), O_WRONLY | O_CREAT, 0644);
    const std::string block(4096, 'p');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    while (write(fd, "p", 1) > 0) {
    }
    close(fd);
    return true;
}

// A file holding `text`, opened for appending as the shell's `>>` opens it.
inline int OpenLog(const std::string& path, const std::string& text) {
    WriteFile(path, text);
    return open(path.c_str(), O_WRONLY | O_APPEND);
}

// The rows; `name` in each row is the case, shown on failure.
inline std::vector<TargetCase> TargetCases() {
    namespace fs = std::filesystem;
    const auto replaced = [](TempDir& dir, Setting& s, const std::string& expected) {
        EXPECT_EQ(ReadFile(s.path), expected);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(s.path)));
        EXPECT_EQ(dir.EntryCount(), 1u) << "a temporary file was left";
    };
    const auto kept = [](TempDir& dir, Setting& s, const std::string&) {
        EXPECT_EQ(ReadFile(s.path), kOld);
        EXPECT_EQ(dir.EntryCount(), 1u);
    };
    return {
        {"missing file", [](TempDir& dir, Setting& s) { s.path = dir.File("new.out"); }, 0, nullptr,
         replaced},
        {"regular file",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("old.out");
             MakeOld(s.path, 0640);
         },
         0, nullptr,
         [=](TempDir& dir, Setting& s, const std::string& expected) {
             replaced(dir, s, expected);
             struct stat st {};
             stat(s.path.c_str(), &st);
             EXPECT_EQ(st.st_mode & 07777, 0640u);
         }},
        {"symbolic link",
         [](TempDir& dir, Setting& s) {
             fs::create_directory(dir.path() / "real");
             MakeOld(dir.File("real/file.out"));
             s.path = dir.File("link.out");
             fs::create_symlink("real/file.out", s.path);
         },
         0, nullptr,
         [](TempDir& dir, Setting& s, const std::string& expected) {
             EXPECT_TRUE(fs::is_symlink(s.path));
             EXPECT_EQ(ReadFile(dir.File("real/file.out")), expected);
             EXPECT_EQ(dir.EntryCount(), 2u);
             EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "real"),
                                     fs::directory_iterator()),
                       1);
         }},
        {"symbolic link loop",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("a.out");
             fs::create_symlink("b.out", s.path);
             fs::create_symlink("a.out", dir.File("b.out"));
         },
         73, "Too many levels of symbolic links",
         [](TempDir& dir, Setting& s, const std::string&) {
             EXPECT_TRUE(fs::is_symlink(s.path));
             EXPECT_EQ(dir.EntryCount(), 2u);
         }},
        {"hard link",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("one.out");
             MakeOld(s.path);
             fs::create_hard_link(s.path, dir.File("two.out"));
         },
         0, nullptr,
         [](TempDir& dir, Setting& s, const std::string& expected) {
             EXPECT_EQ(ReadFile(s.path), expected);
             EXPECT_EQ(ReadFile(dir.File("two.out")), kOld); // the other name keeps the old
             EXPECT_EQ(dir.EntryCount(), 2u);
         }},
        {"character device", [](TempDir& dir, Setting& s) { s.path = MakeDevice(dir, "null", 3); },
         0, nullptr,
         [](TempDir& dir, Setting& s, const std::string&) {
             EXPECT_TRUE(fs::is_character_file(s.path));
             EXPECT_EQ(dir.EntryCount(), 1u);
         }},
        {"full device", [](TempDir& dir, Setting& s) { s.path = MakeDevice(dir, "full", 7); }, 74,
         "No space left on device",
         [](TempDir& dir, Setting& s, const std::string&) {
             EXPECT_TRUE(fs::is_character_file(s.path));
             EXPECT_EQ(dir.EntryCount(), 1u);
         }},
        {"FIFO with a reader",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("fifo");
             mkfifo(s.path.c_str(), 0644);
             s.reader = std::make_unique<Drain>(s.path);
         },
         0, nullptr,
         [](TempDir& dir, Setting& s, const std::string& expected) {
             EXPECT_EQ(s.reader->Take(), expected);
             EXPECT_TRUE(fs::is_fifo(s.path));
             EXPECT_EQ(dir.EntryCount(), 1u);
         }},
        {"standard output as a pipe",
         [](TempDir&, Setting& s) {
             int fds[2];
             ASSERT_EQ(pipe(fds), 0);
             s.path = "/dev/stdout";
             s.launch.stdoutFd = fds[1];
             s.closeAfterStart = fds[1];
             s.reader = std::make_unique<Drain>(fds[0]);
         },
         0, nullptr,
         [](TempDir& dir, Setting& s, const std::string& expected) {
             EXPECT_EQ(s.reader->Take(), expected);
             EXPECT_EQ(dir.EntryCount(), 0u);
         }},
        {"writable file in a read-only folder",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("shared.out");
             MakeOld(s.path, 0666);
             OpenToNobody(dir, 0555);
             s.launch.unprivileged = true;
         },
         0, nullptr, replaced},
        {"read-only file",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("locked.out");
             MakeOld(s.path, 0444);
             OpenToNobody(dir, 0777);
             s.launch.unprivileged = true;
         },
         73, "Permission denied", kept},
        {"another user's file in a sticky folder",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("theirs.out");
             MakeOld(s.path, 0666);
             OpenToNobody(dir, 01777);
             s.launch.unprivileged = true;
         },
         0, nullptr,
         [=](TempDir& dir, Setting& s, const std::string& expected) {
             replaced(dir, s, expected);
             struct stat st {};
             stat(s.path.c_str(), &st);
             EXPECT_EQ(st.st_uid, geteuid()); // written in place: still the owner's file
         }},
        {"left-over temporary files and files that look like them",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("t.out");
             MakeOld(s.path);
             WriteFile(dir.File(".t.out.zd7240-Abc123.tmp"), "killed run");
             WriteFile(dir.File(".other.zd7240-Xyz789.tmp"), "killed run of another file");
             WriteFile(dir.File(".t.out.zd7240-Live00.tmp"), "live run");
             // Users' own files, some of the shape the program once used.
             for (const char* name :
                  {".t.out.keep", ".t.out.backup", ".t.out.notes1", ".t.out.OLD123",
                   ".t.out.zd7240-Abc12.tmp", "t.out.zd7240-Abc123.tmp"})
                 WriteFile(dir.File(name), "the user's");
             // A live writer holds the lock on its temporary; the test plays one.
             s.holdDuringRun = open(dir.File(".t.out.zd7240-Live00.tmp").c_str(), O_RDONLY);
             flock(s.holdDuringRun, LOCK_EX);
         },
         0, nullptr,
         [](TempDir& dir, Setting& s, const std::string& expected) {
             EXPECT_EQ(ReadFile(s.path), expected);
             EXPECT_FALSE(fs::exists(dir.File(".t.out.zd7240-Abc123.tmp")));
             EXPECT_FALSE(fs::exists(dir.File(".other.zd7240-Xyz789.tmp")));
             EXPECT_TRUE(fs::exists(dir.File(".t.out.zd7240-Live00.tmp")));
             for (const char* name :
                  {".t.out.keep", ".t.out.backup", ".t.out.notes1", ".t.out.OLD123",
                   ".t.out.zd7240-Abc12.tmp", "t.out.zd7240-Abc123.tmp"})
                 EXPECT_EQ(ReadFile(dir.File(name)), "the user's") << name;
             EXPECT_EQ(dir.EntryCount(), 8u);
         }},
        {"standard output by path, appending to a log",
         [](TempDir& dir, Setting& s) {
             s.path = "/dev/stdout";
             s.launch.stdoutFd = s.closeAfterStart = OpenLog(dir.File("log.txt"), "LOG\n");
         },
         0, nullptr,
         [](TempDir& dir, Setting&, const std::string& expected) {
             EXPECT_EQ(ReadFile(dir.File("log.txt")), "LOG\n" + expected);
             EXPECT_EQ(dir.EntryCount(), 1u);
         }},
        {"standard error by path, appending to a log",
         [](TempDir& dir, Setting& s) {
             s.path = "/dev/stderr";
             s.launch.stderrFd = s.closeAfterStart = OpenLog(dir.File("errlog"), "ERR\n");
         },
         0, nullptr,
         [](TempDir& dir, Setting&, const std::string& expected) {
             const std::string log = ReadFile(dir.File("errlog"));
             EXPECT_TRUE(log.starts_with("ERR\n")) << log;
             EXPECT_NE(log.find(expected), std::string::npos);
             EXPECT_EQ(dir.EntryCount(), 1u);
         }},
        {"descriptor by path, appending to a log",
         [](TempDir& dir, Setting& s) {
             s.path = "/proc/self/fd/1";
             s.launch.stdoutFd = s.closeAfterStart = OpenLog(dir.File("log.txt"), "LOG\n");
         },
         0, nullptr,
         [](TempDir& dir, Setting&, const std::string& expected) {
             EXPECT_EQ(ReadFile(dir.File("log.txt")), "LOG\n" + expected);
         }},
        {"closed standard output by path",
         [](TempDir&, Setting& s) {
             s.path = "/dev/fd/1";
             s.launch.closeStdout = true;
         },
         74, "Bad file descriptor",
         [](TempDir& dir, Setting&, const std::string&) { EXPECT_EQ(dir.EntryCount(), 0u); }},
        {"full file system",
         [](TempDir& dir, Setting& s) {
             s.mounted = dir.File("full");
             s.skip = !MakeFullFileSystem(s.mounted, "t.out");
             s.path = dir.File("full/t.out");
         },
         74, "No space left on device",
         [](TempDir& dir, Setting& s, const std::string&) {
             EXPECT_EQ(ReadFile(s.path), kOld);
             EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "full"),
                                     fs::directory_iterator()),
                       2)
                 << "a temporary file was left";
         }},
        {"name as long as a file name can be",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File(std::string(255, 'n'));
             MakeOld(s.path);
         },
         0, nullptr, replaced},
        // Names the writer refuses before creating anything: a folder spelled with a
        // slash at its end, a name longer than the file system takes, a link into a
        // folder that is not there, a plain file used as a folder.
        {"existing folder with a slash at its end",
         [](TempDir& dir, Setting& s) {
             fs::create_directory(dir.path() / "d");
             s.path = dir.File("d/");
         },
         73, "Is a directory",
         [](TempDir& dir, Setting&, const std::string&) {
             EXPECT_TRUE(fs::is_empty(dir.path() / "d"));
             EXPECT_EQ(dir.EntryCount(), 1u);
         }},
        {"existing folder as d//",
         [](TempDir& dir, Setting& s) {
             fs::create_directory(dir.path() / "d");
             s.path = dir.File("d//");
         },
         73, "Is a directory",
         [](TempDir& dir, Setting&, const std::string&) {
             EXPECT_TRUE(fs::is_empty(dir.path() / "d"));
         }},
        {"existing folder as d/./",
         [](TempDir& dir, Setting& s) {
             fs::create_directory(dir.path() / "d");
             s.path = dir.File("d/./");
         },
         73, "Is a directory",
         [](TempDir& dir, Setting&, const std::string&) {
             EXPECT_TRUE(fs::is_empty(dir.path() / "d"));
         }},
        {"name longer than a file name can be",
         [](TempDir& dir, Setting& s) { s.path = dir.File(std::string(256, 'n')); }, 73,
         "File name too long",
         [](TempDir& dir, Setting&, const std::string&) { EXPECT_EQ(dir.EntryCount(), 0u); }},
        {"dangling link into a missing folder",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("dangling.out");
             fs::create_symlink("nowhere/file.out", s.path);
         },
         73, "No such file or directory",
         [](TempDir& dir, Setting& s, const std::string&) {
             EXPECT_TRUE(fs::is_symlink(s.path));
             EXPECT_EQ(dir.EntryCount(), 1u);
         }},
        {"link through a plain file",
         [](TempDir& dir, Setting& s) {
             MakeOld(dir.File("plain"));
             fs::create_symlink("plain/file.out", dir.File("through.out"));
             s.path = dir.File("through.out");
         },
         73, "Not a directory",
         [](TempDir& dir, Setting&, const std::string&) {
             EXPECT_EQ(ReadFile(dir.File("plain")), kOld);
             EXPECT_EQ(dir.EntryCount(), 2u);
         }},
        {"set-user-ID and set-group-ID file",
         [](TempDir& dir, Setting& s) {
             s.path = dir.File("suid.out");
             MakeOld(s.path, 06755);
         },
         0, nullptr,
         [=](TempDir& dir, Setting& s, const std::string& expected) {
             replaced(dir, s, expected);
             struct stat st {};
             stat(s.path.c_str(), &st);
             EXPECT_EQ(st.st_mode & 07777, 06755u);
         }},
    };
}

// Runs `program` with `args(target)` for every row; `expected` is what the target must
// hold after a successful run.
inline void CheckTargets(const std::string& program,
                         const std::function<std::vector<std::string>(const std::string&)>& args,
                         const std::string& expected) {
    for (const TargetCase& row : TargetCases()) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        Setting setting;
        row.setUp(dir, setting);
        if (setting.skip) {
            std::cerr << "skipped here: " << row.name << "\n";
            if (!setting.mounted.empty())
                umount2(setting.mounted.c_str(), MNT_DETACH);
            continue;
        }
        Process process(program, args(setting.path), setting.launch);
        if (setting.closeAfterStart >= 0)
            close(setting.closeAfterStart);
        const Result r = process.Wait(std::chrono::seconds(30));
        if (setting.holdDuringRun >= 0)
            close(setting.holdDuringRun);
        if (setting.reader && std::filesystem::is_fifo(setting.path)) {
            // Releases a reader still waiting in open() when the program never wrote.
            const int fd = open(setting.path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                close(fd);
        }
        EXPECT_EQ(r.status, row.status) << r.err;
        if (row.error) {
            EXPECT_NE(r.err.find(row.error), std::string::npos) << r.err;
        }
        if (row.check)
            row.check(dir, setting, expected);
        if (!setting.mounted.empty())
            umount2(setting.mounted.c_str(), MNT_DETACH);
        chmod(dir.path().c_str(), 0700); // lets the folder be removed
    }
}

} // namespace zd7240::test
