#include "jobfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

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
// structures are refused before anything is built from them, so a hostile file cannot
// exhaust the stack or the memory of the parser and of the messages.
constexpr int kMaxDepth = 16;

class TooDeep : public std::runtime_error {
public:
    explicit TooDeep(std::size_t byte) : std::runtime_error("nested too deeply"), byte(byte) {}
    std::size_t byte; // 1-based, as the parser counts
};

// Walks the text once, outside strings, and throws TooDeep at the first bracket that
// opens level kMaxDepth + 1.
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

// Sees every key of the text without building anything and refuses an object that holds
// the same key twice: the parser would silently keep the last one, and a job would run
// with a value the operator did not mean. Syntax errors are thrown as the parser words
// them.
class KeyChecker : public nlohmann::json_sax<json> {
public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override {
        if (open_.size() == 2 && inJobs_)
            ++jobsSeen_;
        open_.emplace_back();
        return true;
    }
    bool key(string_t& key) override {
        if (open_.size() == 1)
            inJobs_ = key == "jobs";
        if (!open_.back().insert(key).second)
            throw DuplicateKey(key, open_.size() >= 3 && inJobs_ ? jobsSeen_ : 0);
        return true;
    }
    bool end_object() override {
        open_.pop_back();
        return true;
    }
    bool start_array(std::size_t) override {
        open_.emplace_back();
        return true;
    }
    bool end_array() override {
        open_.pop_back();
        return true;
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        if (const auto* syntax = dynamic_cast<const json::parse_error*>(&error))
            throw *syntax;
        if (const auto* range = dynamic_cast<const json::out_of_range*>(&error))
            throw *range; // a number too large for a double
        return false;
    }

private:
    std::vector<std::set<std::string>> open_; // keys seen in each open object or array
    std::size_t jobsSeen_ = 0;
    bool inJobs_ = false;
};

// Parses in time and memory proportional to the text: the depth and the keys are
// checked first, then the tree is built by the plain parser (the parser with a
// callback looks through the whole enclosing list at the end of every object, which
// made a list of jobs quadratic).
json ParseStrict(std::string_view text) {
    CheckDepth(text);
    KeyChecker keys;
    json::sax_parse(text.begin(), text.end(), &keys);
    return json::parse(text.begin(), text.end());
}

std::string JobName(std::size_t number, const std::string& output) {
    std::string name = "job " + std::to_string(number);
    // Escaped here: a message is a C string, which a NUL in the name would cut short.
    if (!output.empty())
        name += " (" + EscapeText(output) + ")";
    return name;
}

// Where a written file ends up, for finding two jobs that write the same file.
std::string SamePlaceKey(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec)
        absolute = path;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
    return (ec ? absolute.lexically_normal() : canonical).string();
}

} // namespace

std::vector<JobEntry> ParseJobFile(std::string_view text, const std::string& fileName,
                                   const std::filesystem::path& folder) {
    json root;
    try {
        root = ParseStrict(text);
    } catch (const json::parse_error& e) {
        throw JobFileError(fileName + ":" + Position(text, e.byte) + ": " + ParseReason(e.what()));
    } catch (const json::exception& e) { // a number too large for a double, and the like
        throw JobFileError(fileName + ": " + ParseReason(e.what()));
    } catch (const TooDeep& e) {
        throw JobFileError(fileName + ":" + Position(text, e.byte) + ": nested deeper than " +
                           std::to_string(kMaxDepth) + " levels; a job file needs 4");
    } catch (const DuplicateKey& e) {
        throw JobFileError(fileName + ": " + (e.job ? JobName(e.job, "") + ": " : "") +
                           "the key \"" + e.key + "\" is given twice");
    }
    auto fail = [&](const std::string& where, const std::string& what) {
        throw JobFileError(fileName + ": " + (where.empty() ? "" : where + ": ") + what);
    };
    if (!root.is_object())
        fail("", "a job file is an object with \"version\" and \"jobs\"");
    for (const auto& [key, value] : root.items()) {
        if (key != "version" && key != "jobs" && key != "comment")
            fail("", "unknown key \"" + key + "\"");
    }
    if (!root.contains("version"))
        fail("", "\"version\" is missing");
    const json& version = root["version"];
    if (!version.is_number_integer() || version.get<std::int64_t>() != kJobFileVersion)
        fail("", "unknown version " + version.dump() + " (this program reads version " +
                     std::to_string(kJobFileVersion) + ")");
    if (!root.contains("jobs") || !root["jobs"].is_array())
        fail("", "\"jobs\" must be a list of jobs");
    const json& jobs = root["jobs"];
    if (jobs.empty())
        fail("", "the file has no jobs");

    std::vector<JobEntry> entries;
    std::map<std::string, std::size_t> outputs; // place -> job number; 0: the job file
    outputs.emplace(SamePlaceKey(fileName), 0);
    std::size_t number = 0;
    for (const json& job : jobs) {
        ++number;
        std::string output;
        if (job.is_object() && job.contains("output") && job["output"].is_string())
            output = job["output"].get<std::string>();
        const std::string where = JobName(number, output);
        if (!job.is_object())
            fail(where, "a job is an object with \"page\", \"fields\" and \"output\"");
        for (const auto& [key, value] : job.items()) {
            if (key != "page" && key != "fields" && key != "output" && key != "comment")
                fail(where, "unknown key \"" + key + "\"");
        }
        if (!job.contains("page") || !job["page"].is_string())
            fail(where, "\"page\" must be a page caption or slug (a string)");
        const std::string pageName = job["page"].get<std::string>();
        const PageTable* page = FindPage(pageName);
        if (!page)
            fail(where, "unknown page \"" + pageName + "\" (see 'zd7240-gen --list')");
        if (!job.contains("output") || !job["output"].is_string() || output.empty())
            fail(where, "\"output\" must be a file name, or \"-\" for standard output");
        // The system would take the name only up to the NUL and write another file.
        if (output.find('\0') != std::string::npos)
            fail(where, "\"output\" holds a NUL byte (\\u0000), which no file name can");

        JobEntry entry{number, page, PageFields(*page), output, output};
        if (job.contains("fields")) {
            const json& fields = job["fields"];
            if (!fields.is_object())
                fail(where, "\"fields\" must be an object of NAME: \"VALUE\"");
            for (const auto& [name, value] : fields.items()) {
                if (!value.is_string())
                    fail(where, "the value of \"" + name + "\" must be a string, as typed in " +
                                    "the window (\"" + value.dump() + "\")");
                const std::string error =
                    entry.fields.Assign(name, value.get<std::string>(), FieldNaming::Key);
                if (!error.empty())
                    fail(where, error);
                if (const auto repeat = entry.fields.NoteGiven(name, name))
                    fail(where, "\"" + repeat->earlier + "\" and \"" + name +
                                    "\" set the same field " + repeat->control);
            }
        }
        if (output != "-") {
            std::filesystem::path path(output);
            if (path.is_relative())
                path = folder / path;
            entry.path = path.string();
            const auto [it, fresh] = outputs.emplace(SamePlaceKey(path), number);
            if (!fresh && it->second == 0)
                fail(where, "would write over the job file itself");
            if (!fresh)
                fail(where, "writes the same file as job " + std::to_string(it->second));
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<JobEntry> ReadJobFile(const std::string& fileName) {
    const auto failed = [&](const std::string& why) { return JobFileError(fileName + ": " + why); };
    const int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw failed(std::strerror(errno));
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        throw failed(S_ISDIR(st.st_mode) ? "is a folder, not a job file" : std::strerror(errno));
    }
    // Streams (a pipe, standard input) are read up to the same limit as files, and refused
    // as soon as they pass it rather than read whole.
    std::string text;
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
            throw failed("larger than 64 MiB; not a job file");
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
