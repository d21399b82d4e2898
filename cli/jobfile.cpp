#include "jobfile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "inputfile.h"
#include "messages.h"
#include "plainjson.h"
#include "processguard.h"
#include "scriptwriter.h"

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
// line 2, column 3:" heads (the position is given in front of it), and the text it read
// last ("last read: '...'", which may be a whole string of megabytes) cut to a readable
// length.
std::string ParseReason(std::string reason) {
    if (reason.starts_with('[')) {
        if (const std::size_t close = reason.find("] "); close != std::string::npos)
            reason.erase(0, close + 2);
    }
    if (reason.starts_with("parse error")) {
        if (const std::size_t colon = reason.find(": "); colon != std::string::npos)
            reason.erase(0, colon + 2);
    }
    constexpr std::string_view kLastRead = "; last read: '";
    if (const std::size_t at = reason.rfind(kLastRead);
        at != std::string::npos && reason.ends_with('\'')) {
        const std::size_t from = at + kLastRead.size();
        const std::string read = reason.substr(from, reason.size() - 1 - from);
        reason.replace(from, read.size(), EchoedText(read));
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

// A number beyond every double (1e400): the parser's position is where the number ends.
class NumberTooLarge : public std::runtime_error {
public:
    NumberTooLarge(std::size_t end, std::string number)
        : std::runtime_error("number too large"), end(end), number(std::move(number)) {}
    std::size_t end; // 1-based, as the parser counts: the number's last byte
    std::string number;
};

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

// The keys of one object, to find one given twice. Objects of a job file hold a few
// keys, compared in place; a large object (a hostile file) switches to a hash set so
// that its cost stays linear.
class KeySet {
public:
    // False when the key was there already.
    void clear() {
        few_.clear();
        hashed_.clear();
    }

    bool insert(const std::string& key) {
        if (!hashed_.empty())
            return hashed_.insert(key).second;
        if (std::find(few_.begin(), few_.end(), key) != few_.end())
            return false;
        few_.push_back(key);
        if (few_.size() > 32) {
            hashed_.insert(few_.begin(), few_.end());
            few_.clear();
        }
        return true;
    }

private:
    std::vector<std::string> few_;
    std::unordered_set<std::string> hashed_;
};

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

    // Works on the text of the path rather than on a path object, which takes apart
    // every component each time: the outputs of a job file are thousands of names in a
    // few folders.
    std::string Of(const std::string& path) {
        const std::size_t slash = path.rfind('/');
        const std::string_view name = slash == std::string::npos
                                          ? std::string_view(path)
                                          : std::string_view(path).substr(slash + 1);
        if (name.empty() || name == "." || name == "..")
            return Resolved(Absolute(path)).string();
        const std::string folder = slash == std::string::npos ? std::string()
                                   : slash == 0               ? std::string("/")
                                                              : path.substr(0, slash);
        auto it = folders_.find(folder);
        if (it == folders_.end())
            it = folders_.emplace(folder, Listed(Absolute(folder.empty() ? "." : folder))).first;
        std::string place = it->second.resolved;
        if (!place.ends_with('/'))
            place += '/';
        place += name;
        // A name the folder lists as anything but a plain file may be a link.
        if (it->second.others.contains(std::string(name))) {
            struct stat st {};
            if (lstat(place.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
                return Resolved(place).string();
        }
        return place;
    }

private:
    struct Folder {
        std::string resolved;
        std::unordered_set<std::string> others; // entries that are not plain files
    };

    std::filesystem::path Absolute(const std::string& path) const {
        return path.starts_with('/') ? std::filesystem::path(path) : current_ / path;
    }

    // One listing per folder rather than a look at each of thousands of outputs.
    static Folder Listed(const std::filesystem::path& folder) {
        Folder listed{Resolved(folder).string(), {}};
        if (DIR* dir = opendir(listed.resolved.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                if (entry->d_type != DT_REG)
                    listed.others.insert(entry->d_name);
            }
            closedir(dir);
        }
        return listed;
    }

    static std::filesystem::path Resolved(const std::filesystem::path& path) {
        std::error_code ec;
        std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
        return ec ? path.lexically_normal() : resolved;
    }

    std::filesystem::path current_;
    std::unordered_map<std::string, Folder> folders_; // as written ("": the current
                                                      // folder) -> resolved and listed
};

// Reads a job file in one pass of the parser's events, keeping each job's values as
// they were written: no tree of the whole file is built (it took about 30 times the
// file's size), and every key is seen once. Syntax errors and keys given twice are
// thrown at once; everything else is judged by Finish once the whole text has parsed
// (the file's "defaults" and "chassis" may follow its jobs), and every fault found is
// reported, not only the first.
class JobReader : public nlohmann::json_sax<json> {
public:
    JobReader(const std::string& fileName, const std::filesystem::path& folder,
              std::span<const FieldSetting> sets, bool checkSets = true)
        : fileName_(fileName), folder_(folder.string()), sets_(sets), checkSets_(checkSets) {}

    // The jobs of a text that has parsed; throws JobFileError.
    JobFile Finish() {
        if (!rootIsObject_)
            Fail("a job file is an object with \"version\" and \"jobs\"");
        for (const std::string& key : unknownKeys_)
            Problem("", UnknownKey(key, kRootKeys));
        if (version_.empty())
            Fail("\"version\" is missing");
        if (!versionRight_)
            Fail("unknown version " + version_ + " (this program reads version " +
                 std::to_string(kJobFileVersion) + ")");
        if (!jobsIsList_)
            Fail("\"jobs\" must be a list of jobs");
        if (pending_.empty())
            Fail("the file has no jobs");
        JobFile file;
        if (strictNotBool_)
            Problem("", "\"strict\" must be true or false");
        file.strict = strict_;
        ReadChassis(file);
        CheckShared("defaults", defaults_, defaultsNotObject_);
        std::vector<Field> sets;
        for (const FieldSetting& set : sets_)
            sets.push_back({set.key, {set.value, Value::Text}});
        if (checkSets_)
            CheckShared("--set", sets, false);
        // The job file is a place no job may write.
        outputs_.reserve(pending_.size() + 1);
        outputs_.emplace(places_.Of(fileName_), Output{0, {}});
        file.jobs.reserve(pending_.size());
        // Each job's values are let go once it is judged.
        for (std::size_t number = 1; !pending_.empty(); ++number) {
            if (std::optional<JobEntry> entry = Judge(number, pending_.front(), sets))
                file.jobs.push_back(std::move(*entry));
            pending_.pop_front();
        }
        if (!problems_.empty()) {
            std::string text;
            for (const std::string& problem : problems_)
                text += (text.empty() ? "" : "\n") + problem;
            if (moreProblems_ > 0)
                text += "\n" + fileName_ + ": and " + std::to_string(moreProblems_) +
                        " more fault(s) like these";
            throw JobFileError(text);
        }
        return file;
    }

    // Whether the text is a job file but for its list of jobs, which is still empty: a
    // file made to be added to (saving a job judges it once the job is in).
    bool WaitsForFirstJob() const {
        return rootIsObject_ && versionRight_ && jobsIsList_ && pending_.empty();
    }

    // The file's "defaults" that can be a field's text (strings and whole numbers), in
    // the order written.
    std::vector<FieldSetting> Defaults() const {
        std::vector<FieldSetting> defaults;
        for (const Field& field : defaults_) {
            if (field.value.kind == Value::Text || field.value.kind == Value::Integer)
                defaults.push_back({field.name, field.value.text});
        }
        return defaults;
    }

    bool null() override { return Scalar({"null", Value::Other}); }
    bool boolean(bool value) override { return Scalar({value ? "true" : "false", Value::Other}); }
    bool number_integer(number_integer_t value) override {
        // Non-negative integers arrive as unsigned; these were written with a minus sign,
        // -0 among them.
        return Scalar({value == 0 ? "-0" : std::to_string(value), Value::Negative});
    }
    bool number_unsigned(number_unsigned_t value) override {
        if (Place() == Slot::Version) {
            version_ = std::to_string(value);
            versionRight_ = value == static_cast<number_unsigned_t>(kJobFileVersion);
            return true;
        }
        return Scalar({std::to_string(value), Value::Integer});
    }
    bool number_float(number_float_t, const string_t& text) override {
        // Digits beyond 64 bits come here too: they are still a whole number, kept as
        // written, so that the field's own check says how far it is above its largest value.
        const bool minus = text.starts_with('-');
        const bool whole = text.size() > (minus ? 1u : 0u) &&
                           text.find_first_not_of("0123456789", minus ? 1 : 0) == string_t::npos;
        return Scalar({text, !whole ? Value::Fraction : minus ? Value::Negative : Value::Integer});
    }
    bool binary(binary_t&) override { return Scalar({"binary", Value::Other}); }
    bool string(string_t& value) override {
        switch (Place()) {
        case Slot::Page:
            pending_.back().page = std::move(value);
            return true;
        case Slot::Output:
            pending_.back().output = std::move(value);
            return true;
        case Slot::Name:
            pending_.back().name = std::move(value);
            return true;
        default:
            return Scalar({std::move(value), Value::Text});
        }
    }
    bool start_object(std::size_t) override { return Open(true, "{...}"); }
    bool start_array(std::size_t) override { return Open(false, "[...]"); }
    bool key(string_t& key) override {
        Level& level = Top();
        if (!level.keys.insert(key))
            throw DuplicateKey(key, std::any_of(levels_.begin(), levels_.begin() + depth_,
                                                [](const Level& l) { return l.kind == Kind::Job; })
                                        ? pending_.size()
                                        : 0);
        level.key = std::move(key);
        if (level.kind == Kind::Root && !IsOneOf(level.key, kRootKeys))
            unknownKeys_.push_back(level.key);
        if (level.kind == Kind::Job && !IsOneOf(level.key, kJobKeys))
            pending_.back().unknownKeys.push_back(level.key);
        return true;
    }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& error) override {
        if (const auto* syntax = dynamic_cast<const json::parse_error*>(&error))
            throw *syntax;
        if (dynamic_cast<const json::out_of_range*>(&error))
            throw NumberTooLarge(position, token); // beyond every double
        return false;
    }

private:
    static constexpr std::array<std::string_view, 6> kRootKeys = {"version",  "jobs",   "chassis",
                                                                  "defaults", "strict", "comment"};
    static constexpr std::array<std::string_view, 5> kJobKeys = {"page", "fields", "output", "name",
                                                                 "comment"};

    // What an open object or list is to the job file.
    enum class Kind { Root, Jobs, Job, Fields, Shared, Chassis, Other };
    // What the value that comes next is to the job file.
    enum class Slot {
        Root,
        Version,
        Jobs,
        Job,
        Page,
        Fields,
        Output,
        Name,
        FieldValue,
        Defaults,
        SharedValue,
        Chassis,
        ChassisValue,
        Strict,
        Ignored
    };

    struct Level {
        Kind kind = Kind::Other;
        std::string key; // the key of the value that comes next (objects)
        KeySet keys;     // the keys seen so far (objects)
    };

    struct Value {
        enum Kind { Text, Integer, Negative, Fraction, Other };
        std::string text; // the string, or the value as JSON shows it
        Kind kind = Other;
    };

    struct Field {
        std::string name;
        Value value;
    };

    // The fields of one job as written, one after another in one string (a kind byte,
    // then the name's and the text's lengths and bytes): a job file holds a hundred
    // thousand jobs, and a vector of names and values took about 600 bytes a job.
    class PackedFields {
    public:
        void Add(const std::string& name, const Value& value) {
            if (bytes_.empty())
                bytes_.reserve(192); // most jobs' fields in one block
            bytes_ += static_cast<char>(value.kind);
            Append(name);
            Append(value.text);
        }

        // Calls visit(field) for each field in the order given.
        template <class Visit> void ForEach(Visit&& visit) const {
            std::size_t at = 0;
            Field field;
            while (at < bytes_.size()) {
                field.value.kind = static_cast<Value::Kind>(bytes_[at++]);
                Take(at, field.name);
                Take(at, field.value.text);
                visit(field);
            }
        }

    private:
        // A job file is at most 64 MiB: every length fits 32 bits.
        void Append(std::string_view text) {
            const auto size = static_cast<std::uint32_t>(text.size());
            char length[sizeof size];
            std::memcpy(length, &size, sizeof size);
            bytes_.append(length, sizeof length);
            bytes_ += text;
        }

        void Take(std::size_t& at, std::string& text) const {
            std::uint32_t size = 0;
            std::memcpy(&size, bytes_.data() + at, sizeof size);
            at += sizeof size;
            text.assign(bytes_, at, size);
            at += size;
        }

        std::string bytes_;
    };

    // One job's values as written; judged by Finish.
    struct Pending {
        std::optional<std::string> page, output, name;
        bool pageNotText = false, outputNotText = false, nameNotText = false;
        bool notObject = false, fieldsNotObject = false;
        std::vector<std::string> unknownKeys;
        PackedFields fields;
    };

    // What a fault is about: the file (""), a part of it ("chassis"), or a job, whose
    // name ("job 3 (a.txt)") is made only when one of its faults is noted rather than
    // for each of thousands of jobs.
    class Where {
    public:
        Where(const char* part) : part_(part) {}
        Where(const std::string& part) : part_(part) {}
        Where(std::size_t number, const Pending& job) : number_(number), job_(&job) {}

        std::string Text() const {
            if (!job_)
                return part_;
            return JobName(number_, job_->name && !job_->name->empty() ? *job_->name
                                                                       : job_->output.value_or(""));
        }

    private:
        std::string part_;
        std::size_t number_ = 0;
        const Pending* job_ = nullptr;
    };

    template <std::size_t N>
    static bool IsOneOf(std::string_view key, const std::array<std::string_view, N>& keys) {
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    }

    template <std::size_t N>
    static std::string UnknownKey(const std::string& key,
                                  const std::array<std::string_view, N>& keys) {
        return "unknown key \"" + EscapeText(Shortened(key)) + "\"" +
               DidYouMean(key, std::vector<std::string_view>(keys.begin(), keys.end()));
    }

    Level& Top() { return levels_[depth_ - 1]; }
    const Level& Top() const { return levels_[depth_ - 1]; }

    Slot Place() const {
        if (depth_ == 0)
            return Slot::Root;
        const Level& level = Top();
        switch (level.kind) {
        case Kind::Root:
            return level.key == "version"    ? Slot::Version
                   : level.key == "jobs"     ? Slot::Jobs
                   : level.key == "defaults" ? Slot::Defaults
                   : level.key == "chassis"  ? Slot::Chassis
                   : level.key == "strict"   ? Slot::Strict
                                             : Slot::Ignored;
        case Kind::Jobs:
            return Slot::Job;
        case Kind::Job:
            return level.key == "page"     ? Slot::Page
                   : level.key == "fields" ? Slot::Fields
                   : level.key == "output" ? Slot::Output
                   : level.key == "name"   ? Slot::Name
                                           : Slot::Ignored;
        case Kind::Fields:
            return Slot::FieldValue;
        case Kind::Shared:
            return Slot::SharedValue;
        case Kind::Chassis:
            return Slot::ChassisValue;
        case Kind::Other:
            return Slot::Ignored;
        }
        return Slot::Ignored;
    }

    // A value other than an object or list opening (or one of those where it does not
    // belong, shown as "{...}" or "[...]").
    bool Scalar(Value value) {
        switch (Place()) {
        case Slot::Version:
            version_ = value.kind == Value::Text ? "\"" + EscapeText(Shortened(value.text)) + "\""
                                                 : value.text;
            versionRight_ = false;
            break;
        case Slot::Job:
            pending_.emplace_back().notObject = true;
            break;
        case Slot::Page:
            pending_.back().pageNotText = true;
            break;
        case Slot::Output:
            pending_.back().outputNotText = true;
            break;
        case Slot::Name:
            pending_.back().nameNotText = true;
            break;
        case Slot::Fields:
            pending_.back().fieldsNotObject = true;
            break;
        case Slot::FieldValue:
            pending_.back().fields.Add(Top().key, value);
            break;
        case Slot::Defaults:
            defaultsNotObject_ = true;
            break;
        case Slot::SharedValue:
            defaults_.push_back({std::move(Top().key), std::move(value)});
            break;
        case Slot::Chassis:
            chassisNotObject_ = true;
            break;
        case Slot::ChassisValue:
            chassis_.push_back({std::move(Top().key), std::move(value)});
            break;
        case Slot::Strict:
            strictGiven_ =
                value.kind == Value::Other && (value.text == "true" || value.text == "false");
            strict_ = strictGiven_ && value.text == "true";
            strictNotBool_ = !strictGiven_;
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
            pending_.emplace_back();
        } else if (slot == Slot::Fields && object) {
            kind = Kind::Fields;
        } else if (slot == Slot::Defaults && object) {
            kind = Kind::Shared;
        } else if (slot == Slot::Chassis && object) {
            kind = Kind::Chassis;
        } else {
            // A list where an object belongs, and the like; its content is only checked
            // for keys given twice.
            Scalar({shown, Value::Other});
        }
        // Levels are kept for the next object at the same depth: a job file opens
        // hundreds of thousands of objects, all of them a few levels deep.
        if (depth_ == levels_.size())
            levels_.emplace_back();
        Level& level = levels_[depth_++];
        level.kind = kind;
        level.key.clear();
        level.keys.clear();
        return true;
    }

    bool Close() {
        --depth_;
        return true;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw JobFileError(fileName_ + ": " + what);
    }

    // Notes a fault; `where` names the job or the part of the file ("" for the file).
    bool Full() const { return problems_.size() >= kMaxProblems; }

    void Problem(const Where& part, const std::string& what) {
        if (Full()) {
            ++moreProblems_;
            return;
        }
        const std::string where = part.Text();
        problems_.push_back(fileName_ + ": " + (where.empty() ? "" : where + ": ") + what);
    }

    // Why a value cannot be a field's text; empty when it can.
    static std::string ValueFault(const std::string& name, const Value& value) {
        switch (value.kind) {
        case Value::Text:
        case Value::Integer:
            return {};
        case Value::Negative:
            if (value.text == "-0")
                return EscapeText(name) + ": -0 has a minus sign; a field holds digits only";
            return EscapeText(name) + ": " + EchoedText(value.text) +
                   " is below 0; a field holds digits only";
        case Value::Fraction:
            return EscapeText(name) + ": " + EchoedText(value.text) +
                   " is not a whole number; a field holds digits only";
        case Value::Other:
            break;
        }
        return EscapeText(name) + ": " + EchoedText(value.text) +
               " is neither text (\"...\") nor a whole number";
    }

    // The board/slot names of the chassis object, by value.
    void ReadChassis(JobFile& file) {
        if (chassisNotObject_) {
            Problem("chassis", "must be an object of \"BOARD/SLOT\": \"CARD\" (and \"slots\", "
                               "\"ports\": numbers)");
            return;
        }
        file.hasChassis = !chassis_.empty();
        // The shelf's shape first: the named slots are held against it.
        for (const Field& entry : chassis_) {
            if (entry.name != "slots" && entry.name != "ports")
                continue;
            const bool slots = entry.name == "slots";
            const std::int64_t most = slots ? 1000 : 2147483647;
            std::int64_t value = 0;
            const bool number =
                entry.value.kind == Value::Integer &&
                std::from_chars(entry.value.text.data(),
                                entry.value.text.data() + entry.value.text.size(), value)
                        .ec == std::errc() &&
                value >= 1 && value <= most;
            if (!number) {
                Problem("chassis", "\"" + entry.name + "\" must be a whole number from 1 to " +
                                       std::to_string(most) + ", not " +
                                       (entry.value.kind == Value::Text
                                            ? "the text \"" + EchoedText(entry.value.text) + "\""
                                            : EchoedText(entry.value.text)));
                continue;
            }
            (slots ? file.shape.slots : file.shape.ports) = value;
        }
        std::map<SlotId, std::string> named; // slot -> how it was written
        for (const Field& entry : chassis_) {
            if (entry.name == "slots" || entry.name == "ports")
                continue;
            const std::string shown = "\"" + EscapeText(Shortened(entry.name)) + "\"";
            const std::optional<SlotId> id = ParseSlot(entry.name);
            if (!id) {
                Problem("chassis", shown + " is not a slot: write BOARD/SLOT, as \"0/5\"");
                continue;
            }
            const std::optional<CardKind> card =
                entry.value.kind == Value::Text ? CardKindNamed(entry.value.text) : std::nullopt;
            if (!card) {
                std::vector<std::string_view> kinds;
                for (CardKind k :
                     {CardKind::Adsl, CardKind::Lan, CardKind::Mmx, CardKind::Ces, CardKind::Aiu})
                    kinds.push_back(CardName(k));
                Problem("chassis", shown + ": '" + EscapeText(Shortened(entry.value.text)) +
                                       "' is not a card: use adsl, lan, mmx, ces or aiu" +
                                       DidYouMean(entry.value.text, kinds));
                continue;
            }
            if (id->slot >= file.shape.slots) {
                Problem("chassis", shown + " is beyond the chassis's slots 0.." +
                                       std::to_string(file.shape.slots - 1));
                continue;
            }
            if (*card == CardKind::Adsl && IsSkippedSlot(id->slot)) {
                Problem("chassis", shown + ": slots 7 and 8 hold no Adsl card");
                continue;
            }
            const auto [it, fresh] = named.emplace(*id, entry.name);
            if (!fresh) {
                Problem("chassis", "slot " + std::to_string(id->board) + "/" +
                                       std::to_string(id->slot) + " is named twice (\"" +
                                       EscapeText(Shortened(it->second)) + "\" and " + shown + ")");
                continue;
            }
            file.chassis.emplace(*id, *card);
        }
    }

    // "0/5", "0/05": a board and a slot, each digits only.
    static std::optional<SlotId> ParseSlot(std::string_view text) {
        const std::size_t slash = text.find('/');
        if (slash == std::string_view::npos)
            return std::nullopt;
        const auto number = [](std::string_view digits) -> std::optional<std::int64_t> {
            if (digits.empty() || digits.size() > 40)
                return std::nullopt;
            std::int64_t value = 0;
            for (char c : digits) {
                if (c < '0' || c > '9')
                    return std::nullopt;
                value = std::min<std::int64_t>(value * 10 + (c - '0'), 1LL << 40);
            }
            return value;
        };
        const auto board = number(text.substr(0, slash));
        const auto slot = number(text.substr(slash + 1));
        if (!board || !slot)
            return std::nullopt;
        return SlotId{*board, *slot};
    }

    // "defaults" and --set: every name is a field of at least one job's page, every
    // value a text or a whole number.
    void CheckShared(const std::string& where, const std::vector<Field>& fields, bool notObject) {
        if (notObject) {
            Problem(where, "must be an object of NAME: \"VALUE\"");
            return;
        }
        // The pages the jobs name, each once: a file of many jobs has a few pages.
        std::vector<const PageTable*> pages;
        for (const Pending& job : pending_) {
            const PageTable* page = job.page ? FindPage(*job.page) : nullptr;
            if (page && std::find(pages.begin(), pages.end(), page) == pages.end())
                pages.push_back(page);
            if (pages.size() == Pages().size())
                break;
        }
        for (const Field& field : fields) {
            if (const std::string fault = ValueFault(field.name, field.value); !fault.empty())
                Problem(where, fault);
            const bool used = std::any_of(pages.begin(), pages.end(), [&](const PageTable* page) {
                return FindField(*page, field.name) || FindSelector(*page, field.name);
            });
            if (used)
                continue;
            if (Full()) { // counted, not worded
                ++moreProblems_;
                continue;
            }
            std::vector<std::string_view> names;
            for (const PageTable* page : pages) {
                for (const FieldRow& f : page->fields)
                    names.push_back(f.key);
                for (const SelectorRow& s : page->selectors)
                    names.push_back(s.key);
            }
            Problem(where, "no job's page has a field '" + EscapeText(Shortened(field.name)) + "'" +
                               DidYouMean(field.name, names));
        }
    }

    // Sets a field of the job; false (and the fault noted) when the page refuses it.
    bool Set(JobEntry& entry, const Where& where, const Field& field) {
        if (ValueFault(field.name, field.value).empty()) {
            const std::string error =
                entry.fields.Assign(field.name, field.value.text, FieldNaming::Key);
            if (error.empty())
                return true;
            if (Full()) { // counted, not worded: a file may hold a million such names
                ++moreProblems_;
                return false;
            }
            // The nearest name goes before the pointer to --list.
            std::string text = EscapeText(error);
            const std::size_t see = text.find(" (see '");
            text.insert(see == std::string::npos ? text.size() : see,
                        FieldSuggestion(*entry.page, field.name));
            Problem(where, text);
        }
        return false;
    }

    static std::string FieldSuggestion(const PageTable& page, const std::string& name) {
        if (FindField(page, name) || FindSelector(page, name))
            return {};
        std::vector<std::string_view> names;
        for (const FieldRow& f : page.fields)
            names.push_back(f.key);
        for (const SelectorRow& s : page.selectors)
            names.push_back(s.key);
        return DidYouMean(name, names);
    }

    std::optional<JobEntry> Judge(std::size_t number, const Pending& job,
                                  const std::vector<Field>& sets) {
        const std::size_t before = problems_.size() + moreProblems_;
        const Where where(number, job);
        if (job.notObject) {
            Problem(where, "a job is an object with \"page\", \"fields\" and \"output\"");
            return std::nullopt;
        }
        for (const std::string& key : job.unknownKeys)
            Problem(where, UnknownKey(key, kJobKeys));
        if (job.nameNotText)
            Problem(where, "\"name\" must be a text");
        const PageTable* page = nullptr;
        if (!job.page || job.pageNotText) {
            Problem(where, "\"page\" must be a page caption or slug (a string)");
        } else if (!(page = FindPage(*job.page))) {
            std::vector<std::string_view> pages;
            for (const PageTable& p : Pages())
                pages.push_back(p.slug);
            Problem(where, "unknown page \"" + EscapeText(Shortened(*job.page)) + "\"" +
                               DidYouMean(*job.page, pages) + " (see 'zd7240-gen --list')");
        }
        if (!job.output || job.outputNotText || job.output->empty())
            Problem(where, "\"output\" must be a file name, or \"-\" for standard output");
        else if (job.output->find('\0') != std::string::npos)
            // The system would take the name only up to the NUL and write another file.
            Problem(where, "\"output\" holds a NUL byte (\\u0000), which no file name can");
        if (job.fieldsNotObject)
            Problem(where, "\"fields\" must be an object of NAME: \"VALUE\"");
        if (!page)
            return std::nullopt;

        JobEntry entry{number, page, PageFields(*page), job.name.value_or(""), {}, {}, {}, {}, 0};
        // The file's defaults first, then the job's own fields, then --set: the later
        // one wins.
        for (const Field& field : defaults_) {
            if (FindField(*page, field.name) || FindSelector(*page, field.name))
                Set(entry, where, field);
        }
        job.fields.ForEach([&](const Field& field) {
            if (const std::string fault = ValueFault(field.name, field.value); !fault.empty()) {
                Problem(where, fault);
                return;
            }
            if (!Set(entry, where, field))
                return;
            if (const auto repeat = entry.fields.NoteGiven(field.name, field.name))
                Problem(where, "\"" + EscapeText(repeat->earlier) + "\" and \"" +
                                   EscapeText(field.name) + "\" set the same field " +
                                   repeat->control);
        });
        for (const Field& field : sets) {
            if (FindField(*page, field.name) || FindSelector(*page, field.name))
                Set(entry, where, field);
        }
        entry.fields.ForgetGiven();
        if (entry.name.find_first_of("{}") != std::string::npos) {
            const std::optional<std::string> name =
                Expand(where, *page, entry.fields, entry.name, "name");
            if (!name)
                return std::nullopt;
            entry.name = *name;
        }
        if (!job.output || job.outputNotText || job.output->empty() ||
            job.output->find('\0') != std::string::npos)
            return std::nullopt;
        const std::optional<std::string> output = Expand(where, *page, entry.fields, *job.output);
        if (!output)
            return std::nullopt;
        entry.output = *output;
        entry.path = *output;
        if (*output != "-") {
            // A relative output is taken from the job file's folder.
            if (!output->starts_with('/') && !folder_.empty())
                entry.path = folder_ + (folder_.ends_with('/') ? "" : "/") + *output;
            entry.place = places_.Of(entry.path);
            const auto [it, fresh] = outputs_.emplace(entry.place, Output{number, *job.output});
            if (!fresh && it->second.job == 0) {
                Problem(where, "would write over the job file itself");
            } else if (!fresh && it->second.written != *job.output &&
                       (it->second.written.find('{') != std::string::npos ||
                        job.output->find('{') != std::string::npos)) {
                // Jobs that name one file share it; names that only meet once their
                // fields are filled in are a mistake in the names.
                Problem(where, "\"" + EscapeText(*job.output) + "\" gives " + EscapeText(*output) +
                                   ", as job " + std::to_string(it->second.job) + "'s \"" +
                                   EscapeText(it->second.written) +
                                   "\" does; jobs share a file only by naming it alike");
            }
        }
        if (problems_.size() + moreProblems_ != before)
            return std::nullopt;
        return entry;
    }

    // The output with every {FIELD} replaced by that field's text; "{{" and "}}" stand for
    // the braces themselves. Nothing (and the fault noted) when a name is not a field of
    // the page, or a field's text would reach outside the folder.
    std::optional<std::string> Expand(const Where& where, const PageTable& page,
                                      const PageFields& fields, const std::string& output,
                                      const std::string& key = "output") {
        // A job's "name" is filled in alike, but any text may stand in it.
        const bool fileName = key == "output";
        if (output.find_first_of("{}") == std::string::npos)
            return output; // nothing to fill in
        std::string result;
        for (std::size_t i = 0; i < output.size(); ++i) {
            const char c = output[i];
            if ((c == '{' || c == '}') && i + 1 < output.size() && output[i + 1] == c) {
                result += c;
                ++i;
                continue;
            }
            if (c == '}') {
                Problem(where,
                        "\"" + key + "\" has a '}' that closes no '{' (write }} for a brace)");
                return std::nullopt;
            }
            if (c != '{') {
                result += c;
                continue;
            }
            const std::size_t close = output.find('}', i + 1);
            if (close == std::string::npos) {
                Problem(where,
                        "\"" + key + "\" has a '{' that is not closed (write {{ for a brace)");
                return std::nullopt;
            }
            const std::string name = output.substr(i + 1, close - i - 1);
            std::string text;
            if (const FieldRow* field = FindField(page, name)) {
                text = fields.Text(field->name);
            } else if (const SelectorRow* selector = FindSelector(page, name)) {
                const int index = fields.ItemIndex(selector->name);
                text = index == 0 || index == 1 ? std::string(selector->items[index])
                                                : std::to_string(index);
            } else {
                Problem(where, "\"" + key + "\" names {" + EscapeText(Shortened(name)) +
                                   "}, but page " + std::string(page.caption) +
                                   " has no such field" + FieldSuggestion(page, name));
                return std::nullopt;
            }
            if (fileName && (text.empty() || text == "." || text == ".." ||
                             text.find('/') != std::string::npos)) {
                Problem(where, "\"output\": {" + name + "} is '" + EchoedText(text) +
                                   "', which cannot stand in a file name");
                return std::nullopt;
            }
            result += text;
            i = close;
        }
        return result;
    }

    static constexpr std::size_t kMaxProblems = 100;

    const std::string& fileName_;
    const std::string folder_; // relative outputs are taken from here
    std::span<const FieldSetting> sets_;
    bool checkSets_; // a --set no job's page has is refused (several files judge it together)
    std::vector<Level> levels_; // the open objects and lists, at most kMaxDepth (checked
                                // before parsing); those from depth_ on are spare
    std::size_t depth_ = 0;
    bool rootIsObject_ = false, jobsIsList_ = false, versionRight_ = false;
    bool defaultsNotObject_ = false, chassisNotObject_ = false;
    bool strict_ = false, strictGiven_ = false, strictNotBool_ = false; // "strict"
    std::string version_; // as a message shows it; empty: not given
    std::vector<std::string> unknownKeys_;
    std::deque<Pending> pending_; // never moved as it grows
    std::vector<Field> defaults_, chassis_;
    std::vector<std::string> problems_;
    std::size_t moreProblems_ = 0;
    Places places_;
    struct Output {
        std::size_t job; // 0: the job file
        std::string written;
    };
    std::unordered_map<std::string, Output> outputs_; // place -> its first job
};

} // namespace

std::string JobEntry::Label() const {
    return (source.empty() ? "" : EscapeText(source) + ": ") +
           JobName(number, name.empty() ? output : name);
}

namespace {

// The events of a job file's text read into a reader, ready to be judged; throws
// JobFileError for a text that does not parse, with its place.
std::unique_ptr<JobReader> ReadEvents(std::string_view text, const std::string& fileName,
                                      const std::filesystem::path& folder,
                                      std::span<const FieldSetting> sets, bool checkSets = true) {
    try {
        // Most job files are plain JSON, read quickly; any other text is read again from
        // the start by the full parser (see plainjson.h). The quick reader keeps to
        // kMaxDepth itself, so the depth is counted only when it does not read the text
        // to the end, and before a key given twice is reported, as the full parser's run
        // counts it first.
        auto reader = std::make_unique<JobReader>(fileName, folder, sets, checkSets);
        try {
            if (PlainJson<JobReader>(text, *reader, kMaxDepth).Read())
                return reader;
        } catch (const DuplicateKey&) {
            CheckDepth(text);
            throw;
        }
        CheckDepth(text);
        reader = std::make_unique<JobReader>(fileName, folder, sets, checkSets);
        json::sax_parse(text.begin(), text.end(), reader.get());
        return reader;
    } catch (const json::parse_error& e) {
        throw JobFileError(fileName + ":" + Position(text, e.byte) + ": " + ParseReason(e.what()));
    } catch (const NumberTooLarge& e) {
        throw JobFileError(fileName + ":" + Position(text, e.end + 1 - e.number.size()) +
                           ": the number " + EchoedText(e.number) +
                           " is beyond every number a job file holds");
    } catch (const json::exception& e) {
        throw JobFileError(fileName + ": " + ParseReason(e.what()));
    } catch (const TooDeep& e) {
        throw JobFileError(fileName + ":" + Position(text, e.byte) + ": nested deeper than " +
                           std::to_string(kMaxDepth) + " levels; a job file needs 4");
    } catch (const DuplicateKey& e) {
        throw JobFileError(fileName + ": " + (e.job ? JobName(e.job, "") + ": " : "") +
                           "the key \"" + EscapeText(Shortened(e.key)) + "\" is given twice");
    }
}

} // namespace

JobFile ParseJobFile(std::string_view text, const std::string& fileName,
                     const std::filesystem::path& folder, std::span<const FieldSetting> sets) {
    return ReadEvents(text, fileName, folder, sets)->Finish();
}

JobFile ReadJobFile(const std::string& fileName, std::span<const FieldSetting> sets) {
    JobReadOptions options;
    options.sets = sets;
    return ReadJobFile(fileName, options);
}

JobFile ReadJobFile(const std::string& fileName, const JobReadOptions& options) {
    const std::span<const FieldSetting> sets = options.sets;
    const auto failed = [&](const std::string& why) {
        return JobFileUnreadable(fileName + ": " + why);
    };
    InputFile input(fileName);
    if (!input.problem().empty())
        throw failed(input.isFolder() ? "is a folder, not a job file" : input.problem());
    // A file that says its size is refused by it, before a byte is read. Streams (a pipe,
    // standard input) are read up to the same limit, and refused as soon as they pass it
    // rather than read whole.
    if (input.size() > kMaxFileSize)
        throw JobFileError(fileName + ": larger than 64 MiB; not a job file");
    std::string text;
    text.reserve(static_cast<std::size_t>(input.size()));
    char buffer[65536];
    for (;;) {
        const std::ptrdiff_t n = input.Read(buffer, sizeof buffer);
        if (n < 0)
            throw failed(input.problem());
        if (n == 0)
            break;
        if (text.size() + static_cast<std::size_t>(n) > kMaxFileSize)
            throw JobFileError(fileName + ": larger than 64 MiB; not a job file");
        text.append(buffer, static_cast<std::size_t>(n));
    }
    // Relative outputs are taken from the job file's folder; a stream has none (the
    // folder of its name, /dev for /dev/stdin, is no place of the user's), so they are
    // taken from the current folder.
    // --output-dir names another folder for them.
    const std::filesystem::path folder =
        options.outputFolder                 ? std::filesystem::path(*options.outputFolder)
        : input.regular() && !input.stream() ? std::filesystem::path(fileName).parent_path()
                                             : std::filesystem::path();
    const std::unique_ptr<JobReader> reader =
        ReadEvents(text, fileName, folder, sets, options.checkSets);
    // The reader holds its own copy of every value: the text is let go before the jobs
    // are judged, which is when a large file's run needs the most memory.
    std::string().swap(text);
    return reader->Finish();
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
        throw JobFileError(std::string(what) + " is not UTF-8 text ('" + EchoedText(text) +
                           "'); a job file holds UTF-8 text only");
}

} // namespace

namespace {

ordered_json JobObject(const PageTable& page, const FieldAccess& fields,
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
    return job;
}

} // namespace

std::string OneJobFile(const PageTable& page, const FieldAccess& fields,
                       const std::string& output) {
    ordered_json root = ordered_json::object();
    root["version"] = kJobFileVersion;
    root["jobs"] = ordered_json::array({JobObject(page, fields, output)});
    return root.dump(2) + "\n";
}

std::string LiteralOutput(std::string_view name) {
    std::string literal;
    literal.reserve(name.size());
    for (const char c : name) {
        literal += c;
        if (c == '{' || c == '}')
            literal += c;
    }
    return literal;
}

namespace {

// Steps through the text of a job file that the reader has taken (valid JSON), to find
// where its parts begin and end: strings and nested values are skipped, not judged.
class TextWalk {
public:
    explicit TextWalk(std::string_view text) : text_(text) {
        if (text_.starts_with("\xEF\xBB\xBF"))
            at_ = 3; // a byte order mark, which the parser skips too
    }

    std::size_t at() const { return at_; }
    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    void Next() { ++at_; }

    void Space() {
        while (at_ < text_.size() && IsSpace(text_[at_]))
            ++at_;
    }

    // A string from its opening quote; returns its text with the escapes read.
    std::string String() {
        const std::size_t begin = at_++;
        bool escaped = false;
        while (at_ < text_.size() && text_[at_] != '"') {
            if (text_[at_] == '\\') {
                escaped = true;
                ++at_;
            }
            ++at_;
        }
        ++at_;
        const std::string_view written = text_.substr(begin, at_ - begin);
        if (!escaped)
            return std::string(written.substr(1, written.size() - 2));
        try {
            return json::parse(written).get<std::string>();
        } catch (const json::exception&) {
            return {};
        }
    }

    // Any value: a string, an object or list with everything in it, or a number or word.
    void Value() {
        const char c = Peek();
        if (c == '"') {
            String();
        } else if (c == '{' || c == '[') {
            int depth = 0;
            do {
                const char d = Peek();
                if (d == '"') {
                    String();
                    continue;
                }
                depth += d == '{' || d == '[' ? 1 : d == '}' || d == ']' ? -1 : 0;
                ++at_;
            } while (depth > 0 && at_ < text_.size());
        } else {
            while (at_ < text_.size() &&
                   std::string_view(",]} \t\r\n").find(text_[at_]) == std::string_view::npos)
                ++at_;
        }
    }

    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// Where a job goes in a job file's text.
struct JobsList {
    std::size_t key = 0;                  // the opening quote of the "jobs" key
    std::size_t open = 0, close = 0;      // its '[' and ']'
    std::optional<std::size_t> lastBegin; // the last job's '{', when there is a job
    std::size_t lastEnd = 0;              // one past the last job's '}'
};

std::optional<JobsList> FindJobsList(std::string_view text) {
    TextWalk walk(text);
    walk.Space();
    if (walk.Peek() != '{')
        return std::nullopt;
    walk.Next();
    for (;;) {
        walk.Space();
        if (walk.Peek() != '"')
            return std::nullopt;
        JobsList list;
        list.key = walk.at();
        const std::string key = walk.String();
        walk.Space();
        walk.Next(); // ':'
        walk.Space();
        if (key == "jobs" && walk.Peek() == '[') {
            list.open = walk.at();
            walk.Next();
            for (;;) {
                walk.Space();
                if (walk.Peek() == ']') {
                    list.close = walk.at();
                    return list;
                }
                if (walk.Peek() == '\0')
                    return std::nullopt;
                list.lastBegin = walk.at();
                walk.Value();
                list.lastEnd = walk.at();
                walk.Space();
                if (walk.Peek() == ',')
                    walk.Next();
            }
        }
        walk.Value();
        walk.Space();
        if (walk.Peek() != ',')
            return std::nullopt;
        walk.Next();
    }
}

// How the jobs of a file are laid out, so that an added job looks like its neighbours.
struct Layout {
    std::string newline = "\n"; // or "\r\n", as the file's lines end
    bool multiLine = false;     // each key of a job on a line of its own
    bool fieldsMultiLine = false;
    std::string indent; // of the job's braces
    std::string step;   // one level deeper
    std::string colon = ": ";
    std::string comma = ", "; // between the keys of a job on one line
};

// The spaces and tabs that begin the line `at` is on.
std::string LineIndent(std::string_view text, std::size_t at) {
    std::size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
    begin = begin == std::string_view::npos || at == 0 ? 0 : begin + 1;
    std::size_t end = begin;
    while (end < at && (text[end] == ' ' || text[end] == '\t'))
        ++end;
    return std::string(text.substr(begin, end - begin));
}

// The whitespace after the last line break of `space`; empty when it has none.
std::optional<std::string> AfterLastBreak(std::string_view space) {
    const std::size_t lineBreak = space.rfind('\n');
    if (lineBreak == std::string_view::npos)
        return std::nullopt;
    return std::string(space.substr(lineBreak + 1));
}

// Whether the object or list opening at `open` goes on to a new line.
bool BreaksAfter(std::string_view text, std::size_t open) {
    for (std::size_t i = open + 1; i < text.size() && TextWalk::IsSpace(text[i]); ++i) {
        if (text[i] == '\n')
            return true;
    }
    return false;
}

Layout LayoutOf(std::string_view text, const JobsList& list) {
    Layout layout;
    if (const std::size_t lineBreak = text.find('\n');
        lineBreak != std::string_view::npos && lineBreak > 0 && text[lineBreak - 1] == '\r')
        layout.newline = "\r\n";
    // The "jobs" key on a line of its own: its indent is one level of the file.
    const std::string keyIndent = LineIndent(text, list.key);
    const bool keyOnItsLine =
        list.key > keyIndent.size() && text[list.key - keyIndent.size() - 1] == '\n';
    layout.step = keyOnItsLine && !keyIndent.empty() ? keyIndent : "  ";
    if (!list.lastBegin) {
        const std::string_view inside = text.substr(list.open + 1, list.close - list.open - 1);
        const std::optional<std::string> closing = AfterLastBreak(inside);
        layout.multiLine = closing || keyOnItsLine;
        layout.fieldsMultiLine = layout.multiLine;
        layout.indent = (closing ? *closing : keyIndent) + layout.step;
        return layout;
    }
    const std::size_t begin = *list.lastBegin;
    const std::string_view job = text.substr(begin, list.lastEnd - begin);
    layout.multiLine = BreaksAfter(text, begin);
    std::size_t lead = begin;
    while (lead > 0 && TextWalk::IsSpace(text[lead - 1]))
        --lead;
    layout.indent =
        AfterLastBreak(text.substr(lead, begin - lead)).value_or(LineIndent(text, begin));
    // The first key of the job: the indent of its line, and how its colon is written.
    TextWalk walk(job);
    walk.Next();
    walk.Space();
    if (walk.Peek() == '"') {
        const std::size_t key = begin + walk.at();
        const std::string inner = LineIndent(text, key);
        if (layout.multiLine && inner.size() > layout.indent.size() &&
            inner.starts_with(layout.indent))
            layout.step = inner.substr(layout.indent.size());
        // The colon and the comma as written between the first key, its value and the
        // next key, when they stay on the line.
        walk.String();
        const std::size_t keyEnd = walk.at();
        walk.Space();
        walk.Next();
        walk.Space();
        if (const std::string_view colon = job.substr(keyEnd, walk.at() - keyEnd);
            colon.find('\n') == std::string_view::npos)
            layout.colon = colon;
        walk.Value();
        const std::size_t valueEnd = walk.at();
        walk.Space();
        walk.Next();
        walk.Space();
        if (const std::string_view comma = job.substr(valueEnd, walk.at() - valueEnd);
            comma.find('\n') == std::string_view::npos && comma.find(',') != std::string_view::npos)
            layout.comma = comma;
    }
    // The job's "fields" laid out as they are in the last job; as the job when it has none.
    layout.fieldsMultiLine = layout.multiLine;
    walk = TextWalk(job);
    walk.Next();
    for (walk.Space(); walk.Peek() == '"'; walk.Space()) {
        const std::string key = walk.String();
        walk.Space();
        walk.Next();
        walk.Space();
        if (key == "fields" && walk.Peek() == '{') {
            layout.fieldsMultiLine = BreaksAfter(job, walk.at());
            break;
        }
        walk.Value();
        walk.Space();
        if (walk.Peek() == ',')
            walk.Next();
    }
    return layout;
}

// A string as JSON writes it (the text is UTF-8, checked before).
std::string JsonText(const std::string& text) {
    return json(text).dump();
}

// The added job as text, laid out as `layout` says: its page, the fields that differ
// from what the file's defaults give them, its output.
std::string JobText(const PageTable& page, const FieldAccess& fields, const std::string& output,
                    const std::vector<FieldSetting>& defaults, const Layout& layout) {
    RequireUtf8("the output name", output);
    // What the job gets when it names no field: the window's initial texts with the
    // file's defaults over them, as the reader gives them.
    PageFields shared(page);
    std::set<std::string_view> defaulted; // control names
    for (const FieldSetting& d : defaults) {
        const FieldRow* field = FindField(page, d.key);
        const SelectorRow* selector = field ? nullptr : FindSelector(page, d.key);
        if ((field || selector) && shared.Assign(d.key, d.value, FieldNaming::Key).empty())
            defaulted.insert(field ? field->name : selector->name);
    }
    std::vector<std::pair<std::string, std::string>> values; // key, text
    for (const FieldRow& f : page.fields) {
        if (f.role == FieldRole::End)
            continue;
        const std::string text = fields.Text(f.name);
        if (defaulted.contains(f.name) && shared.Text(f.name) == text)
            continue;
        RequireUtf8("the value of " + std::string(f.key), text);
        values.emplace_back(f.key, text);
    }
    for (const SelectorRow& s : page.selectors) {
        const int index = fields.ItemIndex(s.name);
        if (defaulted.contains(s.name) && shared.ItemIndex(s.name) == index)
            continue;
        values.emplace_back(s.key, index == 0 || index == 1
                                       ? std::string(s.items[static_cast<std::size_t>(index)])
                                       : std::to_string(index));
    }

    const std::string& nl = layout.newline;
    const std::string inner = layout.indent + layout.step;
    // Between the members of an object: on a new line at `indent`, or on the same line.
    const auto next = [&](bool multiLine, const std::string& indent) {
        return multiLine ? "," + nl + indent : layout.comma;
    };
    const auto open = [&](bool multiLine, const std::string& indent) {
        return multiLine ? "{" + nl + indent : std::string("{");
    };
    const auto close = [&](bool multiLine, const std::string& indent) {
        return multiLine ? nl + indent + "}" : std::string("}");
    };
    std::string job = open(layout.multiLine, inner) + "\"page\"" + layout.colon +
                      JsonText(std::string(page.slug));
    if (!values.empty()) {
        const bool deep = layout.multiLine && layout.fieldsMultiLine;
        const std::string fieldIndent = deep ? inner + layout.step : inner;
        job +=
            next(layout.multiLine, inner) + "\"fields\"" + layout.colon + open(deep, fieldIndent);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                job += next(deep, fieldIndent);
            job += JsonText(values[i].first) + layout.colon + JsonText(values[i].second);
        }
        job += close(deep, inner);
    }
    job += next(layout.multiLine, inner) + "\"output\"" + layout.colon + JsonText(output);
    return job + close(layout.multiLine, layout.indent);
}

} // namespace

std::string AppendedJobFile(std::string_view existing, const std::string& fileName,
                            const std::filesystem::path& folder, const PageTable& page,
                            const FieldAccess& fields, const std::string& output) {
    // Judged by the reader --job uses, so that what it refuses is refused here, with the
    // same message. A file whose list is still empty is judged once the job is in it.
    const std::unique_ptr<JobReader> reader = ReadEvents(existing, fileName, folder, {});
    const std::vector<FieldSetting> defaults = reader->Defaults();
    if (!reader->WaitsForFirstJob())
        reader->Finish();
    const std::optional<JobsList> list = FindJobsList(existing);
    if (!list)
        throw JobFileError(fileName + ": \"jobs\" must be a list of jobs");
    const Layout layout = LayoutOf(existing, *list);
    const std::string job = JobText(page, fields, output, defaults, layout);
    // Only the job's text is put in, after the last job or into the empty list; every
    // other byte stays as it was.
    std::string text(existing.substr(0, list->lastBegin ? list->lastEnd : list->open + 1));
    if (list->lastBegin) {
        std::size_t lead = *list->lastBegin;
        while (lead > 0 && TextWalk::IsSpace(existing[lead - 1]))
            --lead;
        const std::string_view space = existing.substr(lead, *list->lastBegin - lead);
        text += "," + std::string(space.empty() ? layout.comma.substr(1) : space) + job;
    } else if (layout.multiLine) {
        const std::string_view inside =
            existing.substr(list->open + 1, list->close - list->open - 1);
        text += layout.newline + layout.indent + job;
        if (!AfterLastBreak(inside))
            text += layout.newline + LineIndent(existing, list->key);
    } else {
        text += job;
    }
    text += existing.substr(list->lastBegin ? list->lastEnd : list->open + 1);
    return text;
}

} // namespace zd7240::cli
