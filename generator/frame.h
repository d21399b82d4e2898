#pragma once
// The generation frame: what every "Make file" press runs. Check the page's fields in
// order, compute and show the End value, ask for a file, write one line per walk step,
// report. It reaches the outside only through the small interfaces below, so the window,
// zd7240-gen and the tests drive the same code.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chassiswalk.h"
#include "linerenderer.h"
#include "pagetable.h"
#include "scriptwriter.h"

namespace zd7240 {

inline constexpr std::string_view kWarningCaption = "Warning";
inline constexpr std::string_view kWarningText = "The input must be integer! Please check it!";
inline constexpr std::string_view kSuccessCaption = "Congratulation";
inline constexpr std::string_view kSuccessText = "The file is ready for you! Please check it!";

// The page's controls, by control name.
class FieldAccess {
public:
    virtual ~FieldAccess() = default;
    virtual std::string Text(std::string_view control) const = 0;
    virtual void SetText(std::string_view control, const std::string& text) = 0;
    // Item index of a card-type box: 0 or 1, -1 when no entry is selected.
    virtual int ItemIndex(std::string_view selector) const = 0;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The confirmed file name, or nothing when the operator cancels.
    virtual std::optional<std::string> ChooseFile() = 0;
};

class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void ShowMessage(std::string_view caption, std::string_view text) = 0;
};

class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    virtual void ReportError(std::string_view message) = 0;
};

// Told the number of lines written now and then during a long job; answers false to
// cancel it. The old file is then kept as it was.
class ProgressMonitor {
public:
    virtual ~ProgressMonitor() = default;
    virtual bool Progress(std::uint64_t lines) = 0;
    virtual void Finished() {}
};

enum class FrameOutcome {
    InvalidInput,     // a field failed IsAllDigits; "Warning" shown
    ConversionFailed, // a numeric field is above 2147483647; error reported
    Cancelled,        // the save dialog was cancelled
    Aborted,          // the job was cancelled while writing; old file kept
    CreateFailed,     // the file could not be created; error reported
    WriteFailed,      // writing failed; error reported, old file kept
    Written,          // "Congratulation" shown
};

struct FrameResult {
    FrameOutcome outcome = FrameOutcome::InvalidInput;
    const FieldRow* failedField = nullptr; // for InvalidInput
    std::string error;                     // for ConversionFailed and the file failures
    std::int32_t endValue = 0;             // valid from Cancelled on
    std::uint64_t lines = 0;
    std::string path;
    bool unchanged = false; // Written: the file held these very bytes and was kept
};

// A press that passed the check and the conversion: the End value and the walk,
// ready to be written anywhere.
class Job {
public:
    // Throws ConversionError for the first numeric field (in conversion order) that does
    // not fit 32 bits. Expects every walk field to have passed IsAllDigits.
    Job(const PageTable& page, const FieldAccess& fields);

    const PageTable& page() const { return *page_; }
    std::int32_t endValue() const { return end_; }

    // Reads the card-type indices and fixes the line format for every line of the walk,
    // then builds its renderer (ChooseFormat and BuildRenderer).
    void SelectFormat(const FieldAccess& fields);
    // Only fixes the line format: what the checks and the summary need. A job file holds
    // thousands of jobs, and each renderer takes a few hundred bytes to be built only
    // when its job is printed or written.
    void ChooseFormat(const FieldAccess& fields);
    // Builds the renderer of the chosen format from the copied fields' texts; nothing
    // when the card types select no format.
    void BuildRenderer(const FieldAccess& fields);
    // Lets go of the renderer once the job is written.
    void DropRenderer() { renderer_.reset(); }
    // The format ChooseFormat fixed (an index into page().formats), -1 when the card
    // types select none and the walk writes no line.
    int format() const { return format_; }
    // Null until BuildRenderer, or when the walk writes no line.
    const LineRenderer* renderer() const { return renderer_.get(); }

    // The converted walk inputs: the chassis walk's, or the range walk's.
    const ChassisInputs& chassis() const { return chassis_; }
    std::int32_t rangeStart() const { return rangeStart_; }
    std::int32_t rangeEnd() const { return rangeEnd_; }
    std::int32_t counterStart() const { return counterStart_; }

    // Calls emit(renderer, values) per line in walk order; emit returns false to stop.
    // Returns false when stopped. Requires SelectFormat (or BuildRenderer) first.
    bool Walk(const std::function<bool(const LineRenderer&, const StepValues&)>& emit) const;

    // Writes the walk through the writer buffer; progress every so many lines.
    // Returns false when the monitor cancelled.
    bool WriteTo(ScriptWriter& writer, ProgressMonitor* monitor, std::uint64_t* lines) const;

private:
    template <class Emit> bool WalkWith(Emit&& emit) const;

    const PageTable* page_;
    ChassisInputs chassis_{};
    std::int32_t rangeStart_ = 0;
    std::int32_t rangeEnd_ = 0;
    std::int32_t counterStart_ = 0;
    std::int32_t end_ = 0;
    int format_ = -1;
    // Held apart: a job without its renderer stays small.
    std::unique_ptr<const LineRenderer> renderer_;
};

// The first checked field, in check order, whose text fails IsAllDigits; nullptr if none.
const FieldRow* FirstInvalidField(const PageTable& page, const FieldAccess& fields);

struct FrameSeams {
    FieldAccess& fields;
    FileChooser& chooser;
    Messenger& messenger;
    ErrorReport& errors;
    ProgressMonitor* progress = nullptr;
    // Opens the chosen name for writing; by default a ScriptWriter on that path.
    std::function<std::unique_ptr<ScriptWriter>(const std::string& path)> open = {};
};

FrameResult RunFrame(const PageTable& page, FrameSeams seams);

// Sets every field of the page to its "Default" text, in table order.
void ResetToDefaults(const PageTable& page, FieldAccess& fields);

} // namespace zd7240
