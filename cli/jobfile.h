#pragma once
// Job files: many runs of the generation frame kept in one JSON file, read and written
// with nlohmann/json. The format is described in docs/job-format.md:
//
//   {"version": 1,
//    "jobs": [{"page": "lan-mmx", "fields": {"lan-board": "0", ...}, "output": "a.txt"}]}

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "frame.h"
#include "pagefields.h"
#include "pagetable.h"
#include "rangecheck.h"

namespace zd7240::cli {

inline constexpr int kJobFileVersion = 1;

struct JobEntry {
    std::size_t number = 0; // 1-based position in the file
    const PageTable* page = nullptr;
    PageFields fields;
    std::string name;     // the job's "name", or empty
    std::string output;   // as written in the file, its {FIELD}s filled in
    std::string path;     // where it goes: relative outputs are taken from the file's folder;
                          // "-" is standard output
    std::string place;    // the file the path ends at (links and ".." resolved); empty for "-"
    std::string source;   // the job file, when a run reads several (labels name it)
    std::size_t file = 0; // which of a run's job files it comes from

    // "job 3 (adsl-0.txt)", or with the job's name in place of the output.
    std::string Label() const;
};

// A job file's jobs and what it says of the shelf.
struct JobFile {
    std::vector<JobEntry> jobs;
    Chassis chassis;         // the slots the file names
    ChassisShape shape;      // its "slots" and "ports", or the usual shelf
    bool hasChassis = false; // whether the file has a chassis (slots or a shape)
    bool strict = false;     // "strict": true, as --strict
};

// A field set for every job whose page has it (zd7240-gen --set KEY=VALUE).
struct FieldSetting {
    std::string key;
    std::string value;
};

// A job file that cannot be used; the message starts with the file name and a line and
// column, or names the job.
class JobFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A job file that cannot be opened or read at all (missing, not readable, a folder):
// exit status 66 (no input), as for the other programs' input files, while a file that
// was read and cannot be used is 65 (data).
class JobFileUnreadable : public JobFileError {
public:
    using JobFileError::JobFileError;
};

// Reads a job file's text. `fileName` is used in messages; relative outputs are taken
// from `folder`; `sets` win over the file's defaults and the jobs' own fields. Throws
// JobFileError, whose text holds one line per fault found (each fault of the file, up
// to a hundred).
JobFile ParseJobFile(std::string_view text, const std::string& fileName,
                     const std::filesystem::path& folder, std::span<const FieldSetting> sets = {});

// Reads a job file or a stream (at most 64 MiB; a longer one is refused as soon as it
// passes the limit). Throws JobFileUnreadable or JobFileError.
JobFile ReadJobFile(const std::string& fileName, std::span<const FieldSetting> sets = {});

struct JobReadOptions {
    std::span<const FieldSetting> sets;
    std::optional<std::string> outputFolder; // relative outputs from here (--output-dir)
    bool checkSets = true; // refuse a --set that no job's page has (false: the caller
                           // judges the --sets over several files)
};
JobFile ReadJobFile(const std::string& fileName, const JobReadOptions& options);

// A one-job file with every field of the page that is not computed, the card types by
// item text, and the output as given.
std::string OneJobFile(const PageTable& page, const FieldAccess& fields, const std::string& output);

// The text of the job file `existing` with that job added at the end of its "jobs" list:
// the job's text is put in before the list's closing bracket, laid out like the jobs
// before it (indent, line ends), and every other byte stays as it was. The job names its
// page, its output and only the fields whose text differs from what the file's
// "defaults" give it, so that a later change of a default reaches it too. A file whose
// list is still empty (`"jobs": []`) is taken. Throws JobFileError, with the reader's
// own message (line and column for faults of the text), when `existing` is a file that
// ReadJobFile refuses; relative outputs are taken from `folder`, as the reader does.
std::string AppendedJobFile(std::string_view existing, const std::string& fileName,
                            const std::filesystem::path& folder, const PageTable& page,
                            const FieldAccess& fields, const std::string& output);

// The output name as a job file writes it to name exactly that file when run: its braces
// doubled ("out{{vpi}}.txt"), since a job's output fills in {FIELD}s.
std::string LiteralOutput(std::string_view name);

} // namespace zd7240::cli
