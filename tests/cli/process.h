#pragma once
// Runs a command-line program of the project as a child process, with its standard
// output going to a file, a descriptor (a pipe, a private /dev/full node) or closed,
// optionally as an unprivileged user, and with a time limit.

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "../lib/tempdir.h"

namespace zd7240::test {

struct Result {
    int status = -1; // exit status, 128 + signal when killed, -1 when it did not end
    std::string out;
    std::string err;
};

struct Launch {
    std::string cwd;          // empty: stay where the test runs
    int stdoutFd = -1;        // -1: a file that Result::out reports
    int stderrFd = -1;        // -1: a file that Result::err reports
    bool closeStdout = false; // run with descriptor 1 closed
    bool unprivileged = false;
    std::string shellPrefix; // shell commands run first, e.g. "ulimit -f 64;"
};

// The uid the unprivileged runs take when the tests run as root.
constexpr uid_t kNobody = 65534;

class Process {
public:
    Process(const std::string& program, const std::vector<std::string>& args,
            const Launch& launch = {})
        : outPath_(io_.File("out")), errPath_(io_.File("err")) {
        pid_ = fork();
        if (pid_ != 0)
            return;
        if (!launch.cwd.empty() && chdir(launch.cwd.c_str()) != 0)
            _exit(127);
        if (launch.stderrFd >= 0) {
            dup2(launch.stderrFd, 2);
        } else {
            const int err = open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(err, 2);
        }
        if (launch.closeStdout) {
            close(1);
        } else if (launch.stdoutFd >= 0) {
            dup2(launch.stdoutFd, 1);
        } else {
            const int out = open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
        }
        for (int fd = 3; fd < 256; ++fd) // pipe ends held by the test must not leak in
            close(fd);
        if (launch.unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(126);
        std::vector<std::string> full;
        if (!launch.shellPrefix.empty())
            full = {"/bin/sh", "-c", launch.shellPrefix + " exec \"$0\" \"$@\""};
        full.push_back(program);
        full.insert(full.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : full)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ~Process() {
        if (pid_ > 0 && !ended_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    void Signal(int signal) const { kill(pid_, signal); }

    // Waits up to `limit`; a child still running then is killed and reported as -1.
    Result Wait(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        int status = 0;
        const auto until = std::chrono::steady_clock::now() + limit;
        Result r;
        for (;;) {
            const pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            if (std::chrono::steady_clock::now() > until) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ended_ = true;
        r.out = ReadFile(outPath_);
        r.err = ReadFile(errPath_);
        return r;
    }

    // What the child has written to standard error so far.
    std::string ErrorSoFar() const { return ReadFile(errPath_); }

    // True once the child holds a file in `folder` open: its named temporary, or an
    // unnamed one (which never shows in a listing of the folder).
    bool HoldsFileIn(const std::filesystem::path& folder) const {
        const std::string prefix = folder.string() + "/";
        std::error_code ec;
        for (const auto& fd :
             std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", ec)) {
            const std::filesystem::path target = std::filesystem::read_symlink(fd.path(), ec);
            if (!ec && target.string().rfind(prefix, 0) == 0)
                return true;
        }
        return false;
    }

    // True once the child sleeps in the kernel (blocked in open() or write()).
    bool Blocked() const {
        const std::string stat = ReadFile("/proc/" + std::to_string(pid_) + "/stat");
        const auto paren = stat.rfind(')');
        return paren != std::string::npos && paren + 2 < stat.size() && stat[paren + 2] == 'S';
    }

private:
    TempDir io_;
    std::string outPath_, errPath_;
    pid_t pid_ = -1;
    bool ended_ = false;
};

inline Result RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const Launch& launch = {}) {
    return Process(program, args, launch).Wait();
}

// A private character device with the numbers of /dev/full (1, 7) or /dev/null (1, 3):
// tests never write to the system's own nodes.
inline std::string MakeDevice(const TempDir& dir, const std::string& name, int minor) {
    const std::string path = dir.File(name);
    mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor));
    return path;
}

} // namespace zd7240::test
