#pragma once
// Writes a script (or any output file) safely. A regular file (or a missing one) is
// replaced atomically: the bytes go to a temporary file ".NAME.XXXXXX" beside the
// target, which is synced and renamed over the target only when everything was
// written. On a failure or a cancel the temporary is removed and the old file stays
// exactly as it was. A symbolic link has the file it points to replaced; a link loop
// fails. A target that is not a regular file (a device, a FIFO, a terminal,
// /dev/stdout leading to a pipe) is opened by the name given and written directly.
// A file that may be written but not replaced (its folder is not writable, or sticky
// and not ours) is rewritten in place; its old content is then not protected.
// Other names (hard links) of a replaced file keep the old content.
//
// The temporary is locked while it is written; temporaries of the same target left
// unlocked by a killed run are removed when the next writer starts.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zd7240 {

class FileError : public std::runtime_error {
public:
    enum class Kind {
        Create, // the target cannot be created or opened for writing
        Write,  // writing, syncing or replacing failed
    };
    FileError(Kind kind, const std::string& message, int error)
        : std::runtime_error(message), kind_(kind), error_(error) {}
    Kind kind() const { return kind_; }
    int error() const { return error_; } // errno value
private:
    Kind kind_;
    int error_;
};

class ScriptWriter {
public:
    // Lines are formatted into one buffer while a background thread writes the other,
    // so formatting and the system's copying overlap. Memory stays two buffers, whatever
    // the size of the script.
    static constexpr std::size_t kBufferSize = 512 * 1024;

    // Checks and opens the target; throws FileError(Create) with the system's
    // description when it may not be written. Nothing is written to the target yet.
    explicit ScriptWriter(const std::string& path, std::size_t bufferSize = kBufferSize);
    // Writes into an already open descriptor (standard output); `name` is used in error
    // messages. The descriptor is not closed.
    ScriptWriter(int fd, const std::string& name, std::size_t bufferSize = kBufferSize);
    ~ScriptWriter(); // discards unless committed
    ScriptWriter(const ScriptWriter&) = delete;
    ScriptWriter& operator=(const ScriptWriter&) = delete;

    // Space for at least n bytes in the buffer; fill it, then call Advance.
    char* Reserve(std::size_t n) {
        if (buffer_.size() - used_ < n)
            MakeRoom(n);
        return buffer_.data() + used_;
    }
    void Advance(std::size_t n) { used_ += n; }

    void Write(std::string_view text);

    // Flushes, syncs and puts the file in place. Throws FileError(Write).
    void Commit();
    // Drops what was written; the old file stays as it was.
    void Discard();

    std::uint64_t bytesWritten() const { return flushed_ + used_; }
    const std::string& targetPath() const { return target_; }
    bool replacesAtomically() const { return !tempPath_.empty(); }

private:
    class Background;
    void MakeRoom(std::size_t n);
    void Handoff();
    void Drain();
    void OpenDirect(const std::string& path, int flags);
    [[noreturn]] void Fail(FileError::Kind kind, const std::string& what, int error);

    std::string path_;     // as given
    std::string target_;   // after following symbolic links
    std::string tempPath_; // empty when writing the target directly
    int tempSlot_ = -1;    // registration with the interrupt handler
    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t bufferSize_;
    std::unique_ptr<Background> background_; // started when the first buffer is full
    std::size_t used_ = 0;
    std::uint64_t flushed_ = 0;
    bool done_ = false;
    bool ownsFd_ = true;
};

// "Cannot create file "x". No such file or directory" and the like.
std::string DescribeFileError(FileError::Kind kind, const std::string& path, int error);

} // namespace zd7240
