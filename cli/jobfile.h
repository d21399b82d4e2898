#pragma once
// Job files: many runs of the generation frame kept in one JSON file, read and written
// with nlohmann/json. The format is described in docs/job-format.md:
//
//   {"version": 1,
//    "jobs": [{"page": "lan-mmx", "fields": {"lan-board": "0", ...}, "output": "a.txt"}]}

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "frame.h"
#include "pagefields.h"
#include "pagetable.h"

namespace zd7240::cli {

inline constexpr int kJobFileVersion = 1;

struct JobEntry {
    std::size_t number = 0; // 1-based position in the file
    const PageTable* page = nullptr;
    PageFields fields;
    std::string output; // as written in the file
    std::string path;   // where it goes: relative outputs are taken from the file's folder;
                        // "-" is standard output
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
// from `folder`. Throws JobFileError.
std::vector<JobEntry> ParseJobFile(std::string_view text, const std::string& fileName,
                                   const std::filesystem::path& folder);

// Reads a job file or a stream (at most 64 MiB; a longer one is refused as soon as it
// passes the limit). Throws JobFileUnreadable or JobFileError.
std::vector<JobEntry> ReadJobFile(const std::string& fileName);

// A one-job file with every field of the page that is not computed, the card types by
// item text, and the output as given.
std::string OneJobFile(const PageTable& page, const FieldAccess& fields, const std::string& output);

} // namespace zd7240::cli
