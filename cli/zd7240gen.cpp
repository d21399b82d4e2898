// zd7240-gen: the generation frame of the window, driven from the command line, for
// operators who script their provisioning. Same page tables, same checks, same bytes.

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "frame.h"
#include "jobcommand.h"
#include "pagetable.h"
#include "processguard.h"
#include "scriptwriter.h"

#ifndef ZD7240_VERSION
#define ZD7240_VERSION "2.1"
#endif

namespace {

using namespace zd7240;

// Exit statuses in the spirit of sysexits.h.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 64;
constexpr int kExitData = 65;
constexpr int kExitCantCreate = 73;
constexpr int kExitIoError = 74;

constexpr const char* kProgram = "zd7240-gen";
constexpr const char* kDefaultOutput = "zd7240.txt";

void PrintUsage(std::ostream& out) {
    out << "Usage: zd7240-gen PAGE [NAME=VALUE ...] [-o FILE] [--dry-run] [--strict] [--progress]\n"
           "       zd7240-gen PAGE [NAME=VALUE ...] [-o FILE] --save-job JOBFILE\n"
           "       zd7240-gen --job JOBFILE [--check] [--dry-run] [--strict] [--progress]\n"
           "       zd7240-gen PAGE --list\n"
           "       zd7240-gen --list | -h, --help | -V, --version\n"
           "\n"
           "Writes the configuration script of one link-type page, exactly as the window's\n"
           "\"Make file\" does.\n"
           "\n"
           "  PAGE          a tab caption (\"Lan--Mmx\", any case) or its slug: adsl-mmx,\n"
           "                adsl-ces, adsl-lan, lan-mmx, lan-ces, adsl-aiu, lan-aiu, aiu-mmx\n"
           "  NAME=VALUE    a field by control name (suiEdit401) or key (lan-board), VALUE\n"
           "                its exact text (NAME= is the empty text); a card-type box takes\n"
           "                its item text (Ima, Ces-udt) or index (0, 1; -1 for no entry).\n"
           "                Fields not named keep the text the window opens with. A field may be\n"
           "                given once.\n"
           "  -o FILE, --output=FILE\n"
           "                the script file (default zd7240.txt); - writes to standard output.\n"
           "                An existing file is replaced only once the whole script is written;\n"
           "                devices, FIFOs and pipes (/dev/stdout) are written directly.\n"
           "  --dry-run     check and compute only: print the End value, the number of lines\n"
           "                and the first and last line, computed from the ranges; write nothing\n"
           "  --strict      refuse values the device does not take (VLAN id outside 1..4094,\n"
           "                VPI above 255, ...) instead of warning about them; write nothing\n"
           "  --save-job JOBFILE  write the page and its fields as a job file; no script\n"
           "  --job JOBFILE  run the jobs of a job file in order (see docs/job-format.md)\n"
           "  --check       with --job: before writing, report every endpoint that two jobs\n"
           "                (or one job) would bind twice, and write nothing if there is one\n"
           "  --progress    report the line count on standard error during long jobs\n"
           "  --list        list the pages, or the fields of PAGE with labels and initial texts\n"
           "  --            end of options: every later argument is the page or NAME=VALUE\n"
           "\n"
           "Exit status: 0 written; 64 bad usage; 65 a field is not an integer or too large,\n"
           "a job file that cannot be used, a conflict (--check) or a warning (--strict);\n"
           "73 the file cannot be created; 74 writing failed (the old file is kept) or\n"
           "standard output was lost; 130 interrupted by SIGINT, 143 by SIGTERM, 129 by\n"
           "SIGHUP (the old file is kept).\n";
}

int UsageError(const std::string& message) {
    std::cerr << "zd7240-gen: " << EscapeText(message) << "\n"
              << "Try 'zd7240-gen --help' for more information.\n";
    return kExitUsage;
}

// Field text in messages and lists, its control characters escaped.
std::string Quoted(std::string_view text) {
    return "\"" + EscapeText(text) + "\"";
}

// The caption a group box shows when the window opens, with the box it sits in.
std::string GroupCaption(const PageTable& page, std::string_view group) {
    const GroupRow* row = FindGroup(page, group);
    if (!row)
        return std::string(group);
    if (row->parent.empty())
        return std::string(row->caption);
    return GroupCaption(page, row->parent) + " / " + std::string(row->caption);
}

void ListPages() {
    for (const PageTable& page : Pages())
        std::cout << page.slug << "\t" << page.caption << "\n";
}

void ListFields(const PageTable& page) {
    std::cout << page.caption << " (" << page.slug << ")\n";
    std::cout << "key\tlabel\tgroup box\tinitial text\tcontrol\n";
    for (const FieldRow& f : page.fields) {
        std::string label(f.label);
        for (const SelectorRow& s : page.selectors) {
            if (s.swap.field == f.name)
                label += " / " + std::string(s.swap.otherText);
        }
        std::cout << f.key << "\t" << label << "\t" << GroupCaption(page, f.group) << "\t"
                  << Quoted(f.initial) << "\t" << f.name;
        if (f.role == FieldRole::End)
            std::cout << "\t(computed End value, read-only)";
        std::cout << "\n";
    }
    for (const SelectorRow& s : page.selectors) {
        std::cout << s.key << "\t"
                  << "The card type is:"
                  << "\t" << GroupCaption(page, s.group) << "\t" << Quoted(s.items[0]) << " (0) or "
                  << Quoted(s.items[1]) << " (1)\t" << s.name << "\n";
    }
}

class OptionFields : public FieldAccess {
public:
    explicit OptionFields(const PageTable& page) {
        for (const FieldRow& f : page.fields)
            texts_[std::string(f.name)] = std::string(f.initial);
        for (const SelectorRow& s : page.selectors)
            indices_[std::string(s.name)] = 0;
    }
    std::string Text(std::string_view control) const override {
        auto it = texts_.find(std::string(control));
        return it == texts_.end() ? std::string() : it->second;
    }
    void SetText(std::string_view control, const std::string& text) override {
        texts_[std::string(control)] = text;
    }
    int ItemIndex(std::string_view selector) const override {
        auto it = indices_.find(std::string(selector));
        return it == indices_.end() ? -1 : it->second;
    }
    void SetIndex(std::string_view selector, int index) { indices_[std::string(selector)] = index; }

private:
    std::map<std::string, std::string> texts_;
    std::map<std::string, int> indices_;
};

// Applies one NAME=VALUE; returns an error text, empty on success.
std::string Assign(const PageTable& page, OptionFields& fields, std::string_view name,
                   std::string_view value) {
    if (const FieldRow* f = FindField(page, name)) {
        if (f->role == FieldRole::End)
            return std::string(f->name) + " (" + std::string(f->label) +
                   ") is computed by the page and cannot be set";
        fields.SetText(f->name, std::string(value));
        return {};
    }
    if (const SelectorRow* s = FindSelector(page, name)) {
        for (int i = 0; i < 2; ++i) {
            if (EqualsIgnoreCase(value, s->items[static_cast<std::size_t>(i)]) ||
                value == std::to_string(i)) {
                fields.SetIndex(s->name, i);
                return {};
            }
        }
        if (value == "-1") {
            fields.SetIndex(s->name, -1);
            return {};
        }
        return "'" + std::string(value) + "' is not a card type of " + std::string(s->name) +
               ": use " + std::string(s->items[0]) + " (0) or " + std::string(s->items[1]) + " (1)";
    }
    return "page " + std::string(page.caption) + " has no field '" + std::string(name) +
           "' (see 'zd7240-gen " + std::string(page.slug) + " --list')";
}

class FixedChooser : public FileChooser {
public:
    explicit FixedChooser(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> ChooseFile() override { return path_; }

private:
    std::string path_;
};

// The window's messages become lines on standard error, except "Congratulation":
// success is told by the exit status and the End line.
class StderrMessenger : public Messenger {
public:
    void ShowMessage(std::string_view caption, std::string_view text) override {
        if (caption == kSuccessCaption)
            return;
        std::cerr << "zd7240-gen: " << caption << ": " << text;
    }
};

class StderrErrors : public ErrorReport {
public:
    void ReportError(std::string_view message) override {
        std::cerr << "zd7240-gen: " << EscapeText(message) << "\n";
    }
};

// Reports the line count on standard error now and then; main() prints the final count
// over it. Counts only grow, so each one covers the one before. An interrupt ends the
// program from its signal handler, so the job is never cancelled from here.
class LineProgress : public ProgressMonitor {
public:
    explicit LineProgress(bool report) : report_(report) {}
    bool Progress(std::uint64_t lines) override {
        if (report_ && lines % (1u << 20) == 0)
            std::cerr << "\r" << lines << " lines" << std::flush;
        return true;
    }

private:
    bool report_;
};

std::string EndLine(const PageTable& page, std::int32_t value) {
    const FieldRow* end = FindField(page, page.endField);
    return std::string(end ? end->label : "End:") + " " + FormatInt32(value);
}

// Completes the "Warning" line with the field that failed the check.
int InvalidField(const PageTable& page, const FieldAccess& fields, const FieldRow& bad) {
    std::cerr << " (" << bad.name << ", " << Quoted(bad.label) << " in "
              << Quoted(GroupCaption(page, bad.group)) << ": " << Quoted(fields.Text(bad.name))
              << ")\n";
    return kExitData;
}

// The control a NAME of NAME=VALUE sets, or nothing when the page has no such field.
std::optional<std::string_view> ControlOf(const PageTable& page, std::string_view name) {
    if (const FieldRow* f = FindField(page, name))
        return f->name;
    if (const SelectorRow* s = FindSelector(page, name))
        return s->name;
    return std::nullopt;
}

int Run(std::vector<std::string_view> args) {
    // Job files, --check, --strict and --save-job (jobcommand.h).
    cli::JobCommandOptions jobOptions;
    if (const auto status = cli::TakeJobOptions(args, jobOptions))
        return *status;
    std::optional<std::string_view> pageName;
    std::vector<std::string_view> assignments; // NAME=VALUE, as given
    std::string output = kDefaultOutput;
    std::optional<std::string> outputOption; // how -o was given, for a repeat
    bool list = false, dryRun = false, progress = false, options = true;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::optional<std::string_view> outputValue;
        std::string outputText;
        if (!options) {
            // After "--": the page or NAME=VALUE, even when it starts with '-'.
        } else if (arg == "--") {
            options = false;
            continue;
        } else if (arg == "--help" || arg == "-h") {
            PrintUsage(std::cout);
            return kExitOk;
        } else if (arg == "--version" || arg == "-V") {
            std::cout << "zd7240-gen (Velmar Zd7240 Helper) " << ZD7240_VERSION << "\n";
            return kExitOk;
        } else if (arg == "-o" || arg == "--output") {
            if (i + 1 >= args.size())
                return UsageError("option " + std::string(arg) + " needs a file name");
            outputValue = args[++i];
            outputText = std::string(arg) + " " + std::string(*outputValue);
        } else if (arg.starts_with("--output=")) {
            outputValue = arg.substr(9);
            outputText = std::string(arg);
        } else if (arg == "--list") {
            list = true;
            continue;
        } else if (arg == "--dry-run") {
            dryRun = true;
            continue;
        } else if (arg == "--progress") {
            progress = true;
            continue;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option '" + std::string(arg) + "'");
        }
        if (outputValue) {
            if (outputOption)
                return UsageError("the output file is given twice: '" + *outputOption + "' and '" +
                                  outputText + "'");
            outputOption = outputText;
            output = std::string(*outputValue);
        } else if (arg.find('=') != std::string_view::npos) {
            assignments.push_back(arg);
        } else if (!pageName) {
            pageName = arg;
        } else {
            return UsageError("unexpected argument '" + std::string(arg) +
                              "': fields are given as NAME=VALUE");
        }
    }

    if (!pageName) {
        if (list) {
            ListPages();
            return kExitOk;
        }
        return UsageError("no page given");
    }
    const PageTable* page = FindPage(*pageName);
    if (!page)
        return UsageError("unknown page '" + std::string(*pageName) +
                          "' (see 'zd7240-gen --list')");
    if (list) {
        ListFields(*page);
        return kExitOk;
    }
    if (output.empty())
        return UsageError("the output file name is empty");

    OptionFields fields(*page);
    std::map<std::string_view, std::string_view> given; // control -> NAME=VALUE
    for (const std::string_view assignment : assignments) {
        const auto eq = assignment.find('=');
        const std::string_view name = assignment.substr(0, eq);
        if (const auto control = ControlOf(*page, name)) {
            const auto [earlier, fresh] = given.emplace(*control, assignment);
            if (!fresh)
                return UsageError(std::string(*control) + " is given twice: '" +
                                  std::string(earlier->second) + "' and '" +
                                  std::string(assignment) + "'");
        }
        const std::string error = Assign(*page, fields, name, assignment.substr(eq + 1));
        if (!error.empty())
            return UsageError(error);
    }
    if (!jobOptions.saveJob.empty())
        return cli::SaveJob(*page, fields, output, jobOptions.saveJob);
    if (const int status = cli::ReportHints(*page, fields, jobOptions.strict))
        return status;
    if (dryRun)
        return cli::PrintDryRun(*page, fields);

    // Over a file size limit, let the write fail and the old file stay, rather than die.
    std::signal(SIGXFSZ, SIG_IGN);
    if (output != "-")
        SetInterruptNote("; " + EscapeText(output) + " was left as it was");

    FixedChooser chooser(output);
    StderrMessenger messenger;
    StderrErrors errors;
    LineProgress monitor(progress);
    FrameSeams seams{fields, chooser, messenger, errors, &monitor};
    if (output == "-") {
        seams.open = [](const std::string&) {
            return std::make_unique<ScriptWriter>(STDOUT_FILENO, "standard output");
        };
    }
    const FrameResult result = RunFrame(*page, seams);
    if (progress && result.outcome != FrameOutcome::InvalidInput &&
        result.outcome != FrameOutcome::ConversionFailed)
        std::cerr << "\r" << result.lines << " lines\n";
    switch (result.outcome) {
    case FrameOutcome::InvalidInput:
        return InvalidField(*page, fields, *result.failedField);
    case FrameOutcome::ConversionFailed:
        return kExitData;
    case FrameOutcome::Cancelled:
    case FrameOutcome::Aborted:
        std::cerr << "zd7240-gen: interrupted; " << EscapeText(output) << " was left as it was\n";
        return InterruptStatus(SIGINT);
    case FrameOutcome::CreateFailed:
        return kExitCantCreate;
    case FrameOutcome::WriteFailed:
        return kExitIoError;
    case FrameOutcome::Written:
        std::cerr << EndLine(*page, result.endValue) << "\n";
        return kExitOk;
    }
    return kExitIoError;
}

} // namespace

int main(int argc, char** argv) {
    GuardStandardDescriptors();
    ExitOnInterrupt(kProgram);
    const int status = Run(std::vector<std::string_view>(argv + 1, argv + argc));
    return FinishStandardOutput(kProgram, status);
}
