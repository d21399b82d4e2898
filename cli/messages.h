#pragma once
// What zd7240-gen says, the same way for one page and for job files: exit statuses,
// usage errors, and how fields, group boxes and End values are named in messages.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exitstatus.h"
#include "frame.h"
#include "pagetable.h"
#include "scriptwriter.h"

namespace zd7240::cli {

// The shared exit statuses under the names this program's code uses.
inline constexpr int kExitOk = exit_status::kOk;
inline constexpr int kExitUsage = exit_status::kUsage;
inline constexpr int kExitData = exit_status::kData;
inline constexpr int kExitNoInput = exit_status::kNoInput;
inline constexpr int kExitCantCreate = exit_status::kCantCreate;
inline constexpr int kExitIoError = exit_status::kIoError;

// The status zd7240-gen ends with after a press that ended so; a cancel or an abort
// comes only from an interrupt (SIGINT).
int ExitStatus(FrameOutcome outcome);

// Prints the message and the pointer to --help on standard error; returns kExitUsage.
int UsageError(const std::string& message);

// Text from outside (field values, names from a job file) in double quotes, its control
// characters escaped.
std::string Quoted(std::string_view text);

// "; did you mean 'start-vlan'?" when one of `names` is near `word` (a letter or two
// off, in any letter case); empty otherwise.
std::string DidYouMean(std::string_view word, const std::vector<std::string_view>& names);

// The caption a group box shows when the window opens, with the boxes it sits in:
// "Mmx card information / Card type is Optic".
std::string GroupCaption(const PageTable& page, std::string_view group);

// suiEdit403, "Start Vlan id:" in "Lan card information"
std::string FieldName(const PageTable& page, const FieldRow& field);

// start-vlan ("Start Vlan id:" in "Lan card information"): the key an operator types,
// then the window's name for the field.
std::string KeyName(const PageTable& page, const FieldRow& field);

// Every checked field the input check or the conversion would refuse, in check order,
// each in the operator's words: `start-slot ("Slot id:" in "Start adsl card
// information") is empty`, `end-vlan (...): '99999999999' is above 2147483647`.
std::vector<std::string> FieldRefusals(const PageTable& page, const FieldAccess& fields);

// "End Vci: 103"
std::string EndLine(const PageTable& page, std::int32_t value);

// What follows the Warning message when a field is not all digits:
// ` (suiEdit403, "Start Vlan id:" in "Lan card information": "12a")`.
std::string InvalidFieldNote(const PageTable& page, const FieldRow& field, std::string_view text);

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
