#include "jobfile.h"

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

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

json ParseStrict(std::string_view text) {
    std::vector<std::set<std::string>> open; // keys seen in each open object
    std::size_t jobsSeen = 0;
    bool inJobs = false;
    auto callback = [&](int depth, json::parse_event_t event, json& parsed) {
        switch (event) {
        case json::parse_event_t::object_start:
            open.emplace_back();
            if (depth == 2 && inJobs)
                ++jobsSeen;
            break;
        case json::parse_event_t::object_end:
            if (!open.empty())
                open.pop_back();
            break;
        case json::parse_event_t::key: {
            const std::string key = parsed.get<std::string>();
            if (depth == 1)
                inJobs = key == "jobs";
            if (!open.empty() && !open.back().insert(key).second)
                throw DuplicateKey(key, depth >= 3 && inJobs ? jobsSeen : 0);
            break;
        }
        default:
            break;
        }
        return true;
    };
    return json::parse(text.begin(), text.end(), callback);
}

std::string JobName(std::size_t number, const std::string& output) {
    std::string name = "job " + std::to_string(number);
    if (!output.empty())
        name += " (" + output + ")";
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
    std::error_code ec;
    const auto size = std::filesystem::file_size(fileName, ec);
    if (!ec && size > kMaxFileSize)
        throw JobFileError(fileName + ": larger than 64 MiB; not a job file");
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw JobFileError(fileName + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw JobFileError(fileName + ": cannot be read");
    const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
    return ParseJobFile(text.str(), fileName, folder);
}

std::string OneJobFile(const PageTable& page, const FieldAccess& fields,
                       const std::string& output) {
    ordered_json values = ordered_json::object();
    for (const FieldRow& f : page.fields) {
        if (f.role != FieldRole::End)
            values[std::string(f.key)] = fields.Text(f.name);
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
