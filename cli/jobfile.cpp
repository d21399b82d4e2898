#include "jobfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "processguard.h"

namespace zd7240::cli {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr std::uintmax_t kMaxFileSize = 64u << 20;

// "line 3, column 17" of a byte offset (1-based, as the parser counts).
std::string Position(std::string_view text, std::size_t byte) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i + 1 < byte && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return std::to_string(line) + ":" + std::to_string(column);
}

// The parser's own description without its "[json.exception...]" and "parse error at
// line 2, column 3:" heads (the position is given in front of it).
std::string ParseReason(std::string reason) {
    if (reason.starts_with('[')) {
        if (const std::size_t close = reason.find("] "); close != std::string::npos)
            reason.erase(0, close + 2);
    }
    if (reason.starts_with("parse error")) {
        if (const std::size_t colon = reason.find(": "); colon != std::string::npos)
            reason.erase(0, colon + 2);
    }
    return reason;
}

// Refuses an object that holds the same key twice: the parser would silently keep the
// last one, and a job would run with a value the operator did not mean.
class DuplicateKey : public std::runtime_error {
public:
    DuplicateKey(std::string key, std::size_t job)
        : std::runtime_error("duplicate key"), key(std::move(key)), job(job) {}
    std::string key;
    std::size_t job; // 0 outside a job
};

// A job file needs four levels (the file, the job list, a job, its fields); deeper
// structures are refused before the parser sees them, so a hostile file cannot exhaust
// the stack or the memory of the reader and of its messages.
constexpr int kMaxDepth = 16;

class TooDeep : public std::runtime_error {
public:
    explicit TooDeep(std::size_t byte) : std::runtime_error("nested too deeply"), byte(byte) {}
    std::size_t byte; // 1-based, as the parser counts
};

// Walks the text once, outside strings, and throws TooDeep at the first bracket that
// opens level kMaxDepth + 1. Up to the parser's first syntax error this counts exactly
// what the parser would (an escape is a backslash and one character; the hex digits of
// \uXXXX hold no quote), so the reader below never sees more than kMaxDepth levels.
void CheckDepth(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth)
                throw TooDeep(i + 1);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
}

std::string JobName(std::size_t number, const std::string& output) {
    std::string name = "job " + std::to_string(number);
    // Escaped here: a message is a C string, which a NUL in the name would cut short.
    if (!output.empty())
        name += " (" + EscapeText(output) + ")";
    return name;
}

// At most `limit` bytes of `text` for a message, cut before a UTF-8 sequence, with
// "..." when cut.
std::string Shortened(std::string_view text, std::size_t limit = 40) {
    if (text.size() <= limit)
        return std::string(text);
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80)
        --limit;
    return std::string(text.substr(0, limit)) + "...";
}

// Where written files end up, to find two jobs that write one file or a job that writes
// the job file. The writer follows symbolic links and replaces the file at their end, so
// a place is the absolute path with ".", ".." and links resolved. The outputs of a file
// share a few folders: each folder is resolved once, and a name on its own only when it
// is a link itself.
class Places {
public:
    Places() {
        std::error_code ec;
        current_ = std::filesystem::current_path(ec);
    }

    std::string Of(const std::filesystem::path& path) {
        const std::filesystem::path absolute = path.is_absolute() ? path : current_ / path;
        const std::filesystem::path name = absolute.filename();
        if (name.empty() || name == "." || name == "..")
            return Resolved(absolute).string();
        const std::string folder = absolute.parent_path().string();
        auto it = folders_.find(folder);
        if (it == folders_.end())
            it = folders_.emplace(folder, Resolved(folder)).first;
        const std::filesystem::path place = it->second / name;
        struct stat st {};
        if (lstat(place.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            return Resolved(place).string();
        return place.string();
    }

private:
    static std::filesystem::path Resolved(const std::filesystem::path& path) {
        std::error_code ec;
        std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
        return ec ? path.lexically_normal() : resolved;
    }

    std::filesystem::path current_;
    std::map<std::string, std::filesystem::path> folders_; // as written -> resolved
};

// Reads a job file in one pass of the parser's events, building the jobs as they end:
// no tree of the whole file is built (it took about 30 times the file's size), every
// key is seen once, and no message code walks a parsed value. Syntax errors and keys
// given twice are thrown at once; the first other fault is kept and thrown once the
// whole text has parsed, so a file that is not JSON is always reported as such.
class JobReader : public nlohmann::json_sax<json> {
public:
    JobReader(const std::string& fileName, const std::filesystem::path& folder)
        : fileName_(fileName), folder_(folder) {
        // The job file is a place no job may write.
        outputs_.emplace(places_.Of(fileName), 0);
    }

    // The jobs of a text that has parsed; throws JobFileError.
    std::vector<JobEntry> Finish() {
        if (!rootIsObject_)
            Fail("a job file is an object with \"version\" and \"jobs\"");
        if (!unknownKey_.empty())
            Fail("unknown key \"" + EscapeText(unknownKey_) + "\"");
        if (version_.empty())
            Fail("\"version\" is missing");
        if (!versionRight_)
            Fail("unknown version " + version_ + " (this program reads version " +
                 std::to_string(kJobFileVersion) + ")");
        if (!jobsIsList_)
            Fail("\"jobs\" must be a list of jobs");
        if (jobCount_ == 0)
            Fail("the file has no jobs");
        if (!jobFault_.empty())
            throw JobFileError(jobFault_);
        return std::move(entries_);
    }

    bool null() override { return Scalar("null"); }
    bool boolean(bool value) override { return Scalar(value ? "true" : "false"); }
    bool number_integer(number_integer_t value) override {
        return Scalar(std::to_string(value), value == kJobFileVersion);
    }
    bool number_unsigned(number_unsigned_t value) override {
        return Scalar(std::to_string(value),
                      value == static_cast<number_unsigned_t>(kJobFileVersion));
    }
    bool number_float(number_float_t, const string_t& text) override { return Scalar(text); }
    bool binary(binary_t&) override { return Scalar("binary"); }
    bool string(string_t& value) override {
        switch (Place()) {
        case Slot::Page:
            job_.page = std::move(value);
            break;
        case Slot::Output:
            job_.output = std::move(value);
            break;
        case Slot::FieldValue:
            job_.fields.push_back({std::move(open_.back().key), std::move(value), true});
            break;
        default:
            return Scalar("\"" + EscapeText(Shortened(value)) + "\"");
        }
        return true;
    }
    bool start_object(std::size_t) override { return Open(true, "{...}"); }
    bool start_array(std::size_t) override { return Open(false, "[...]"); }
    bool key(string_t& key) override {
        Level& level = open_.back();
        if (!level.keys.insert(key).second)
            throw DuplicateKey(key, inJob_ ? jobCount_ : 0);
        level.key = std::move(key);
        if (level.kind == Kind::Root && level.key != "version" && level.key != "jobs" &&
            level.key != "comment" && unknownKey_.empty())
            unknownKey_ = level.key;
        if (level.kind == Kind::Job && level.key != "page" && level.key != "fields" &&
            level.key != "output" && level.key != "comment" && job_.unknownKey.empty())
            job_.unknownKey = level.key;
        return true;
    }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        if (const auto* syntax = dynamic_cast<const json::parse_error*>(&error))
            throw *syntax;
        if (const auto* range = dynamic_cast<const json::out_of_range*>(&error))
            throw *range; // a number too large for a double
        return false;
    }

private:
    // What an open object or list is to the job file.
    enum class Kind { Root, Jobs, Job, Fields, Other };
    // What the value that comes next is to the job file.
    enum class Slot { Root, Version, Jobs, Job, Page, Fields, Output, FieldValue, Ignored };

    struct Level {
        Kind kind;
        std::string key;            // the key of the value that comes next (objects)
        std::set<std::string> keys; // the keys seen so far (objects)
    };

    struct Field {
        std::string name;
        std::string value; // the text, or what was found instead of a string
        bool isString;
    };

    // One job as its values arrive; judged when its object ends.
    struct Pending {
        std::optional<std::string> page, output;
        std::string unknownKey;
        bool fieldsNotObject = false;
        std::vector<Field> fields;
    };

    Slot Place() const {
        if (open_.empty())
            return Slot::Root;
        const Level& level = open_.back();
        switch (level.kind) {
        case Kind::Root:
            return level.key == "version" ? Slot::Version
                   : level.key == "jobs"  ? Slot::Jobs
                                          : Slot::Ignored;
        case Kind::Jobs:
            return Slot::Job;
        case Kind::Job:
            return level.key == "page"     ? Slot::Page
                   : level.key == "fields" ? Slot::Fields
                   : level.key == "output" ? Slot::Output
                                           : Slot::Ignored;
        case Kind::Fields:
            return Slot::FieldValue;
        case Kind::Other:
            return Slot::Ignored;
        }
        return Slot::Ignored;
    }

    // A value that is not a string where a string counts, or any value elsewhere;
    // `shown` is how a message shows it.
    bool Scalar(const std::string& shown, bool isVersion = false) {
        switch (Place()) {
        case Slot::Version:
            version_ = shown;
            versionRight_ = isVersion;
            break;
        case Slot::Job:
            ++jobCount_;
            JobFault(JobName(jobCount_, "") +
                     ": a job is an object with \"page\", \"fields\" and \"output\"");
            break;
        case Slot::Page:
            job_.page = std::nullopt; // "page" must be a string
            break;
        case Slot::Output:
            job_.output = std::nullopt; // "output" must be a string
            break;
        case Slot::Fields:
            job_.fieldsNotObject = true;
            break;
        case Slot::FieldValue:
            job_.fields.push_back({std::move(open_.back().key), shown, false});
            break;
        case Slot::Root:
        case Slot::Jobs:
        case Slot::Ignored:
            break;
        }
        return true;
    }

    bool Open(bool object, const char* shown) {
        const Slot slot = Place();
        Kind kind = Kind::Other;
        if (slot == Slot::Root && object) {
            kind = Kind::Root;
            rootIsObject_ = true;
        } else if (slot == Slot::Jobs && !object) {
            kind = Kind::Jobs;
            jobsIsList_ = true;
        } else if (slot == Slot::Job && object) {
            kind = Kind::Job;
            job_ = Pending{};
            inJob_ = true;
            ++jobCount_;
        } else if (slot == Slot::Fields && object) {
            kind = Kind::Fields;
        } else {
            Scalar(shown); // a list where an object belongs, and the like; its content
                           // is only checked for keys given twice
        }
        open_.push_back(Level{kind, {}, {}});
        return true;
    }

    bool Close() {
        const Kind kind = open_.back().kind;
        open_.pop_back();
        if (kind == Kind::Job) {
            inJob_ = false;
            EndJob();
        }
        return true;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw JobFileError(fileName_ + ": " + what);
    }

    // Keeps the first fault of a job; the jobs after it are no longer built.
    void JobFault(const std::string& what) {
        if (jobFault_.empty())
            jobFault_ = fileName_ + ": " + what;
    }

    // Judges the job whose object has just ended, in the order a reader would check it,
    // and adds it to the list.
    void EndJob() {
        if (!jobFault_.empty())
            return;
        Pending& job = job_;
        const std::string where =
            JobName(jobCount_, job.output ? *job.output : std::string()) + ": ";
        if (!job.unknownKey.empty())
            return JobFault(where + "unknown key \"" + EscapeText(job.unknownKey) + "\"");
        if (!job.page)
            return JobFault(where + "\"page\" must be a page caption or slug (a string)");
        const PageTable* page = FindPage(*job.page);
        if (!page)
            return JobFault(where + "unknown page \"" + EscapeText(Shortened(*job.page)) +
                            "\" (see 'zd7240-gen --list')");
        if (!job.output || job.output->empty())
            return JobFault(where + "\"output\" must be a file name, or \"-\" for standard output");
        // The system would take the name only up to the NUL and write another file.
        if (job.output->find('\0') != std::string::npos)
            return JobFault(where +
                            "\"output\" holds a NUL byte (\\u0000), which no file name can");
        if (job.fieldsNotObject)
            return JobFault(where + "\"fields\" must be an object of NAME: \"VALUE\"");

        JobEntry entry{jobCount_, page, PageFields(*page), *job.output, *job.output};
        for (const Field& field : job.fields) {
            if (!field.isString)
                return JobFault(where + "the value of \"" + EscapeText(field.name) +
                                "\" must be a string, as typed in the window (\"" +
                                EscapeText(field.value) + "\")");
            const std::string error =
                entry.fields.Assign(field.name, field.value, FieldNaming::Key);
            if (!error.empty())
                return JobFault(where + EscapeText(error));
            if (const auto repeat = entry.fields.NoteGiven(field.name, field.name))
                return JobFault(where + "\"" + EscapeText(repeat->earlier) + "\" and \"" +
                                EscapeText(field.name) + "\" set the same field " +
                                repeat->control);
        }
        if (entry.output != "-") {
            std::filesystem::path path(entry.output);
            if (path.is_relative())
                path = folder_ / path;
            entry.path = path.string();
            const auto [it, fresh] = outputs_.emplace(places_.Of(path), jobCount_);
            if (!fresh && it->second == 0)
                return JobFault(where + "would write over the job file itself");
            if (!fresh)
                return JobFault(where + "writes the same file as job " +
                                std::to_string(it->second));
        }
        entries_.push_back(std::move(entry));
    }

    const std::string& fileName_;
    const std::filesystem::path& folder_;
    std::vector<Level> open_; // at most kMaxDepth, checked before parsing
    bool rootIsObject_ = false, jobsIsList_ = false, versionRight_ = false, inJob_ = false;
    std::string version_;    // as a message shows it; empty: not given
    std::string unknownKey_; // the first unknown key of the file's object
    std::size_t jobCount_ = 0;
    Pending job_;
    std::string jobFault_; // the first fault of a job, with the file name
    std::vector<JobEntry> entries_;
    Places places_;
    std::map<std::string, std::size_t> outputs_; // place -> job number; 0: the job file
};

} // namespace

std::vector<JobEntry> ParseJobFile(std::string_view text, const std::string& fileName,
                                   const std::filesystem::path& folder) {
    try {
        CheckDepth(text);
        JobReader reader(fileName, folder);
        json::sax_parse(text.begin(), text.end(), &reader);
        return reader.Finish();
    } catch (const json::parse_error& e) {
        throw JobFileError(fileName + ":" + Position(text, e.byte) + ": " + ParseReason(e.what()));
    } catch (const json::exception& e) { // a number too large for a double, and the like
        throw JobFileError(fileName + ": " + ParseReason(e.what()));
    } catch (const TooDeep& e) {
        throw JobFileError(fileName + ":" + Position(text, e.byte) + ": nested deeper than " +
                           std::to_string(kMaxDepth) + " levels; a job file needs 4");
    } catch (const DuplicateKey& e) {
        throw JobFileError(fileName + ": " + (e.job ? JobName(e.job, "") + ": " : "") +
                           "the key \"" + EscapeText(Shortened(e.key)) + "\" is given twice");
    }
}

std::vector<JobEntry> ReadJobFile(const std::string& fileName) {
    const auto failed = [&](const std::string& why) {
        return JobFileUnreadable(fileName + ": " + why);
    };
    const int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw failed(std::strerror(errno));
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = errno;
        close(fd);
        throw failed(S_ISDIR(st.st_mode) ? "is a folder, not a job file" : std::strerror(error));
    }
    // Streams (a pipe, standard input) are read up to the same limit as files, and refused
    // as soon as they pass it rather than read whole.
    std::string text;
    if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) <= kMaxFileSize)
        text.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            close(fd);
            throw failed(std::strerror(error));
        }
        if (n == 0)
            break;
        if (text.size() + static_cast<std::size_t>(n) > kMaxFileSize) {
            close(fd);
            throw JobFileError(fileName + ": larger than 64 MiB; not a job file");
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    // Relative outputs are taken from the job file's folder; a stream has none (its name
    // may be /dev/stdin), so they are taken from the current folder.
    const std::filesystem::path folder = S_ISREG(st.st_mode)
                                             ? std::filesystem::path(fileName).parent_path()
                                             : std::filesystem::path();
    return ParseJobFile(text, fileName, folder);
}

namespace {

// Whether `text` is valid UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int more = 0;
        unsigned min = 0, code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            more = 1, min = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, min = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= text.size())
            return false; // cut short
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

// A job file is JSON, which holds UTF-8 text only: a value of other bytes (a Latin-1
// file name, legal on Linux) cannot be kept so that it reads back to the same bytes, so
// saving refuses it by name rather than write something else.
void RequireUtf8(std::string_view what, const std::string& text) {
    if (!IsUtf8(text))
        throw JobFileError(std::string(what) + " is not UTF-8 text ('" + EscapeText(text) +
                           "'); a job file holds UTF-8 text only");
}

} // namespace

std::string OneJobFile(const PageTable& page, const FieldAccess& fields,
                       const std::string& output) {
    RequireUtf8("the output name", output);
    ordered_json values = ordered_json::object();
    for (const FieldRow& f : page.fields) {
        if (f.role == FieldRole::End)
            continue;
        const std::string text = fields.Text(f.name);
        RequireUtf8("the value of " + std::string(f.key), text);
        values[std::string(f.key)] = text;
    }
    for (const SelectorRow& s : page.selectors) {
        const int index = fields.ItemIndex(s.name);
        values[std::string(s.key)] = index == 0 || index == 1
                                         ? std::string(s.items[static_cast<std::size_t>(index)])
                                         : std::to_string(index);
    }
    ordered_json job = ordered_json::object();
    job["page"] = std::string(page.slug);
    job["fields"] = std::move(values);
    job["output"] = output;
    ordered_json root = ordered_json::object();
    root["version"] = kJobFileVersion;
    root["jobs"] = ordered_json::array({std::move(job)});
    return root.dump(2) + "\n";
}

} // namespace zd7240::cli
