#include "frameseams.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

#include "messages.h"
#include "processguard.h"

namespace zd7240::cli {

int ExitStatus(FrameOutcome outcome) {
    switch (outcome) {
    case FrameOutcome::InvalidInput:
    case FrameOutcome::ConversionFailed:
        return kExitData;
    case FrameOutcome::Cancelled:
    case FrameOutcome::Aborted:
        return InterruptStatus(SIGINT);
    case FrameOutcome::CreateFailed:
        return kExitCantCreate;
    case FrameOutcome::WriteFailed:
        return kExitIoError;
    case FrameOutcome::Written:
        return kExitOk;
    }
    return kExitIoError;
}

int ReportOutcome(const PageTable& page, const FieldAccess& fields, const FrameResult& result,
                  const std::string& prefix, const std::string& output) {
    switch (result.outcome) {
    case FrameOutcome::InvalidInput:
        // Ends the line the Warning message began.
        std::cerr << InvalidFieldNote(page, *result.failedField,
                                      fields.Text(result.failedField->name)) +
                         "\n";
        break;
    case FrameOutcome::Cancelled:
    case FrameOutcome::Aborted:
        std::cerr << "zd7240-gen: " + prefix + "interrupted; " + EscapeText(output) +
                         " was left as it was\n";
        break;
    case FrameOutcome::Written:
        // A file that already held these bytes was left untouched; it says so.
        std::cerr << prefix + EndLine(page, result.endValue) + "\n" +
                         (result.unchanged ? EscapeText(output) + ": unchanged\n" : "");
        break;
    case FrameOutcome::ConversionFailed:
    case FrameOutcome::CreateFailed:
    case FrameOutcome::WriteFailed:
        break; // the frame has reported it
    }
    return ExitStatus(result.outcome);
}

void StderrMessages::ShowMessage(std::string_view caption, std::string_view text) {
    if (caption != kSuccessCaption)
        std::cerr << "zd7240-gen: " << prefix_ << caption << ": " << text;
}

void StderrMessages::ReportError(std::string_view message) {
    std::cerr << "zd7240-gen: " << prefix_ << EscapeText(message) << "\n";
}

std::unique_ptr<ScriptWriter> OpenScript(const std::string& path, WriteBehind* behind) {
    if (path == "-") {
        if (behind)
            return std::make_unique<ScriptWriter>(STDOUT_FILENO, "standard output", *behind);
        return std::make_unique<ScriptWriter>(STDOUT_FILENO, "standard output");
    }
    if (behind)
        return std::make_unique<ScriptWriter>(path, *behind);
    return std::make_unique<ScriptWriter>(path);
}

bool LineProgress::Progress(std::uint64_t lines) {
    if (report_ && lines % (1u << 20) == 0)
        std::cerr << "\r" << lines << " lines" << std::flush;
    return true;
}

void LineProgress::Finished() {
    if (report_ && returnAtEnd_)
        std::cerr << "\r";
}

} // namespace zd7240::cli
