#include "processguard.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <mutex>
#include <poll.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

#include "exitstatus.h"

namespace zd7240 {

namespace {

constexpr std::size_t kPathMax = 4096;
constexpr std::size_t kChunkSlots = 64;

// The registered temporaries: chunks of slots, linked as they are needed and never let
// go, so that a run holding thousands of finished temporaries (a job file's outputs,
// put in place together) has every one removed on an interrupt. A slot's path buffer
// is only ever replaced by a larger one while the slot is being filled, and the old
// one is kept, so the handler never reads freed memory.
// Slot states: 0 free, 1 being filled, 2 holds a path the handler may remove.
struct Slot {
    std::atomic<int> state{0};
    char* path = nullptr;
    std::size_t capacity = 0;
};
struct Chunk {
    std::array<Slot, kChunkSlots> slots;
    std::atomic<Chunk*> next{nullptr};
};
Chunk gFirstChunk;

const char* gProgram = "";
char gNote[kPathMax];
std::atomic<std::size_t> gNoteLength{0};

void WriteAll(int fd, const char* text, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, text, size);
        if (n <= 0) {
            if (n < 0 && errno == EINTR)
                continue;
            return;
        }
        text += n;
        size -= static_cast<std::size_t>(n);
    }
}

// Runs in signal context: only async-signal-safe calls.
extern "C" void OnInterrupt(int signal) {
    for (Chunk* chunk = &gFirstChunk; chunk; chunk = chunk->next.load(std::memory_order_acquire)) {
        for (Slot& slot : chunk->slots) {
            if (slot.state.load(std::memory_order_acquire) == 2)
                unlink(slot.path);
        }
    }
    WriteAll(STDERR_FILENO, "\r", 1);
    WriteAll(STDERR_FILENO, gProgram, std::strlen(gProgram));
    WriteAll(STDERR_FILENO, ": interrupted", 13);
    WriteAll(STDERR_FILENO, gNote, gNoteLength.load(std::memory_order_acquire));
    WriteAll(STDERR_FILENO, "\n", 1);
    _exit(InterruptStatus(signal));
}

} // namespace

int InterruptStatus(int signal) {
    return 128 + signal;
}

void ExitOnInterrupt(const char* program) {
    gProgram = program;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&action.sa_mask, signal);
    action.sa_flags = 0; // no SA_RESTART: a blocked open() or write() returns
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

void SetInterruptNote(std::string_view note) {
    gNoteLength.store(0, std::memory_order_release);
    const std::size_t size = note.size() < kPathMax ? note.size() : kPathMax;
    if (size > 0) // an empty view may carry no pointer at all
        std::memcpy(gNote, note.data(), size);
    gNoteLength.store(size, std::memory_order_release);
}

int RegisterTemporary(const std::string& path) {
    if (path.size() >= kPathMax)
        return -1;
    int number = 0;
    for (Chunk* chunk = &gFirstChunk;; chunk = chunk->next.load(std::memory_order_acquire)) {
        for (Slot& slot : chunk->slots) {
            int expected = 0;
            if (slot.state.compare_exchange_strong(expected, 1, std::memory_order_acq_rel)) {
                if (slot.capacity <= path.size()) {
                    // The old buffer is kept (see above); a slot grows rarely.
                    static std::mutex retiredMutex;
                    static std::vector<std::unique_ptr<char[]>> retired;
                    std::lock_guard<std::mutex> lock(retiredMutex);
                    retired.emplace_back(slot.path);
                    slot.capacity = path.size() + 1 < 256 ? 256 : path.size() + 1;
                    slot.path = new char[slot.capacity];
                }
                std::memcpy(slot.path, path.c_str(), path.size() + 1);
                slot.state.store(2, std::memory_order_release);
                return number;
            }
            ++number;
        }
        if (!chunk->next.load(std::memory_order_acquire)) {
            Chunk* fresh = new Chunk;
            Chunk* none = nullptr;
            if (!chunk->next.compare_exchange_strong(none, fresh, std::memory_order_acq_rel))
                delete fresh; // another thread linked one first
        }
    }
}

void ForgetTemporary(int slot) {
    if (slot < 0)
        return;
    auto index = static_cast<std::size_t>(slot);
    Chunk* chunk = &gFirstChunk;
    while (chunk && index >= kChunkSlots) {
        chunk = chunk->next.load(std::memory_order_acquire);
        index -= kChunkSlots;
    }
    if (chunk)
        chunk->slots[index].state.store(0, std::memory_order_release);
}

void GuardStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int null = open("/dev/null", O_RDONLY);
        if (null >= 0 && null != fd) {
            dup2(null, fd);
            close(null);
        }
    }
}

// The reason an earlier write to standard output failed, when its errno is gone: a
// write of no bytes reports the state of a device (/dev/full, a closed descriptor); a
// file system without free blocks is full; anything else is an input/output error.
int StandardOutputFailure() {
    errno = 0;
    if (::write(STDOUT_FILENO, "", 0) < 0 && errno != 0)
        return errno;
    // A write of no bytes succeeds on a pipe whose reader is gone; poll tells.
    struct stat st {};
    if (fstat(STDOUT_FILENO, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))) {
        pollfd out{STDOUT_FILENO, POLLOUT, 0};
        if (::poll(&out, 1, 0) == 1 && (out.revents & POLLERR) != 0)
            return EPIPE;
    }
    struct statvfs fs {};
    if (fstatvfs(STDOUT_FILENO, &fs) == 0 && fs.f_blocks > 0 && fs.f_bavail == 0)
        return ENOSPC;
    return EIO;
}

int CloseStandardOutput() {
    errno = 0;
    std::cout.flush();
    int error = 0;
    if (!std::cout.good())
        error = errno != 0 ? errno : StandardOutputFailure();
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        error = errno != 0 ? errno : (error != 0 ? error : StandardOutputFailure());
    // Closing reports what a network file system or a device kept back until then.
    errno = 0;
    if (std::fclose(stdout) != 0 && error == 0 && errno != EINTR)
        error = errno != 0 ? errno : EIO;
    return error;
}

int FinishStandardOutput(const char* program, int status) {
    const int error = CloseStandardOutput();
    if (error == 0)
        return status;
    std::cerr << program << ": cannot write standard output: " << std::strerror(error) << "\n";
    return exit_status::kIoError;
}

namespace {

// The characters that change the direction of the text after them (embeddings,
// overrides, isolates and the marks): a name holding one shows on a terminal in another
// order than it is written.
bool IsBidiControl(char32_t code) {
    return code == 0x061c || code == 0x200e || code == 0x200f ||
           (code >= 0x202a && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069);
}

// What a byte from 0x80 up is: part of a UTF-8 sequence, or a Latin-1 character of its own.
enum class HighBytes { Utf8, Latin1 };

std::string Escape(std::string_view text, bool escapeBackslash, HighBytes high) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    const auto hex = [&](unsigned char byte) {
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            switch (byte) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\\':
                out += escapeBackslash ? "\\\\" : "\\";
                break;
            default:
                if (byte < 0x20 || byte == 0x7f)
                    hex(byte);
                else
                    out += static_cast<char>(byte);
            }
            ++i;
            continue;
        }
        if (high == HighBytes::Latin1) {
            // U+0080 to U+009F are the C1 control characters; the rest pass as UTF-8.
            if (byte < 0xa0) {
                hex(byte);
            } else {
                out += static_cast<char>(0xc0 | (byte >> 6));
                out += static_cast<char>(0x80 | (byte & 0x3f));
            }
            ++i;
            continue;
        }
        // A UTF-8 sequence passes whole unless it is malformed, overlong, a surrogate
        // or a C1 control character (U+0080 to U+009F); otherwise its first byte is
        // escaped and the rest is looked at again.
        std::size_t length = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : byte >= 0xc0 ? 2 : 0;
        char32_t code = length == 4 ? byte & 0x07 : length == 3 ? byte & 0x0f : byte & 0x1f;
        bool ok = length > 0 && byte <= 0xf4 && i + length <= text.size();
        for (std::size_t k = 1; ok && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            ok = (next & 0xc0) == 0x80;
            code = (code << 6) | (next & 0x3f);
        }
        static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && code >= kMinimum[length] && code <= 0x10ffff &&
             !(code >= 0xd800 && code <= 0xdfff) && !(code >= 0x80 && code <= 0x9f);
        if (!ok) {
            hex(byte);
            ++i;
            continue;
        }
        if (IsBidiControl(code)) {
            // Well-formed, but it would turn the rest of the line around on a terminal:
            // every byte of it is shown.
            for (std::size_t k = 0; k < length; ++k)
                hex(static_cast<unsigned char>(text[i + k]));
            i += length;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

} // namespace

std::string EscapeText(std::string_view text, bool escapeBackslash) {
    return Escape(text, escapeBackslash, HighBytes::Utf8);
}

std::string EscapeLatin1Text(std::string_view text, bool escapeBackslash) {
    return Escape(text, escapeBackslash, HighBytes::Latin1);
}

std::string EchoedText(std::string_view text, std::size_t characters) {
    std::size_t cut = 0;
    for (std::size_t count = 0; cut < text.size() && count < characters; ++count) {
        // One character: a byte, and the continuation bytes that follow it.
        ++cut;
        while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xc0) == 0x80)
            ++cut;
    }
    if (cut == text.size())
        return EscapeText(text);
    return EscapeText(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " bytes)";
}

} // namespace zd7240
