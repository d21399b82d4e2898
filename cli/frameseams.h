#pragma once
// What zd7240-gen hands the generation frame in place of the window: its messages on
// standard error, the script file opened by the safe writer, the file the command line
// or the job file names, progress on standard error, and how a press ends as an exit
// status with what the frame left unsaid.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "frame.h"
#include "pagetable.h"
#include "scriptwriter.h"

namespace zd7240::cli {

// The status zd7240-gen ends with after a press that ended so; a cancel or an abort
// comes only from an interrupt (SIGINT).
int ExitStatus(FrameOutcome outcome);

// Says on standard error what the frame left unsaid about how a press ended (the field
// that is not all digits, an interrupt that left `output` as it was, the End line of a
// written file), with `prefix` ("job 3 (out.txt): ", or empty for one page) before
// it; returns the exit status for that outcome.
int ReportOutcome(const PageTable& page, const FieldAccess& fields, const FrameResult& result,
                  const std::string& prefix, const std::string& output);

// The frame's messages on standard error, each after "zd7240-gen: " and `prefix`
// ("job 3 (out.txt): ", or empty for one page). "Congratulation" is not shown: success
// is told by the exit status and the End line.
class StderrMessages : public Messenger, public ErrorReport {
public:
    explicit StderrMessages(std::string prefix = {}) : prefix_(std::move(prefix)) {}
    void ShowMessage(std::string_view caption, std::string_view text) override;
    void ReportError(std::string_view message) override;

private:
    std::string prefix_;
};

// Opens the chosen file for the frame; "-" is standard output. With `behind`, that
// writer thread and its buffers write the file.
std::unique_ptr<ScriptWriter> OpenScript(const std::string& path, WriteBehind* behind);

// Answers the save dialog with the file given on the command line or in the job file.
class FixedChooser : public FileChooser {
public:
    explicit FixedChooser(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> ChooseFile() override { return path_; }

private:
    std::string path_;
};

// Reports the line count on standard error every 2^20 lines; counts only grow, so each
// one covers the one before. With `returnAtEnd` the cursor goes back to the start of
// the line when the job ends, so that what follows writes over the count. An interrupt
// ends the program from its signal handler, so a job is never cancelled from here.
class LineProgress : public ProgressMonitor {
public:
    LineProgress(bool report, bool returnAtEnd) : report_(report), returnAtEnd_(returnAtEnd) {}
    bool Progress(std::uint64_t lines) override;
    void Finished() override;

private:
    bool report_;
    bool returnAtEnd_;
};

} // namespace zd7240::cli
