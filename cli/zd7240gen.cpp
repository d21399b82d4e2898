// zd7240-gen: the generation frame of the window, driven from the command line, for
// operators who script their provisioning. Same page tables, same checks, same bytes.

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame.h"
#include "frameseams.h"
#include "jobcommand.h"
#include "messages.h"
#include "pagefields.h"
#include "pagetable.h"
#include "processguard.h"

#include "version.h"

namespace {

using namespace zd7240;
using namespace zd7240::cli;

constexpr const char* kProgram = "zd7240-gen";
constexpr const char* kDefaultOutput = "zd7240.txt";

// The options, for suggesting the nearest to a mistyped one.
const std::vector<std::string_view> kOptionNames = {
    "--output", "--dry-run", "--strict",     "--progress", "--save-job", "--append",
    "--force",  "--job",     "--set",        "--check",    "--no-check", "--list",
    "--help",   "--version", "--output-dir", "--against",  "--plan",     "--report"};

void PrintUsage(std::ostream& out) {
    out << "Usage: zd7240-gen PAGE [NAME=VALUE ...] [-o FILE] [--dry-run] [--strict] [--progress]\n"
           "       zd7240-gen PAGE [NAME=VALUE ...] [-o FILE] --save-job JOBFILE\n"
           "                  [--append|--force] [--no-check]\n"
           "       zd7240-gen --job JOBFILE [--job JOBFILE ...] [--set KEY=VALUE ...]\n"
           "                  [--output-dir DIR] [--no-check] [--dry-run] [--strict] [--progress]\n"
           "       zd7240-gen (PAGE ... | --job JOBFILE ...) [--against FILE ...]\n"
           "                  [--plan] [--report FILE|-]\n"
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
           "  --save-job JOBFILE  write the page and its fields as a job file; no script.\n"
           "                An existing job file is refused unless one of these is given:\n"
           "  --append      add the job to the existing job file, keeping every byte of it\n"
           "                and writing only the fields its defaults do not give\n"
           "  --force       replace the existing job file\n"
           "  --job JOBFILE  run the jobs of a job file (see docs/job-format.md). Every field\n"
           "                of every job, the endpoints that two jobs (or one job) would bind\n"
           "                twice, the chassis the file names and the outputs are judged\n"
           "                first; any refusal writes nothing, and no file is replaced until\n"
           "                all are written. Given several times, the files are one run,\n"
           "                their jobs checked against each other's\n"
           "  --set KEY=VALUE  with --job: set the field in every job whose page has it\n"
           "                (may be given many times, once per field)\n"
           "  --output-dir DIR  with --job: take relative outputs from DIR instead of the\n"
           "                job file's folder\n"
           "  --no-check    with --job or --save-job: skip the cross-job and chassis checks\n"
           "  --check       with --job or --save-job: the checks (they run anyway; kept for\n"
           "                scripts)\n"
           "  --against FILE  with --job or a page: hold the jobs against the pvc lines a\n"
           "                device already holds (saved from it, or earlier scripts; - reads\n"
           "                standard input; may be given many times). A job line the device\n"
           "                holds exactly is already configured; a running line that binds\n"
           "                an endpoint of a job otherwise is a conflict, named by file and\n"
           "                line. Other lines are ignored; an unknown pvc line is refused\n"
           "  --plan        write nothing; say per job the lines to write, already configured\n"
           "                and in conflict, and per output new, changed (with the lines added "
           "and\n"
           "                removed) or unchanged. Exits as the run would\n"
           "  --report FILE  the plan as JSON (docs/job-format.md, \"The report\"); - writes\n"
           "                it to standard output. Implies --plan\n"
           "  --progress    report the line count on standard error during long jobs\n"
           "  --list        list the pages, or the fields of PAGE with labels and initial texts\n"
           "  --            end of options: every later argument is the page or NAME=VALUE\n"
           "\n"
           "Exit status: 0 written; 64 bad usage; 65 a field is not an integer or too large,\n"
           "a job file that cannot be used, a conflict, an unknown pvc line of --against or a\n"
           "warning (--strict); 66 the job file or a running file cannot be read; 73 a file\n"
           "cannot be created; 74 writing failed (the old file is kept) or standard output\n"
           "was lost; 130 interrupted by SIGINT, 143 by SIGTERM, 129 by SIGHUP (the old file\n"
           "is kept).\n";
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
            std::cout << "zd7240-gen (Velmar Zd7240 Helper) " << kVersion << "\n";
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
            return UsageError("unknown option '" + std::string(arg) + "'" +
                              DidYouMean(arg.substr(0, arg.find('=')), kOptionNames));
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
    if (!page) {
        std::vector<std::string_view> slugs;
        for (const PageTable& p : Pages())
            slugs.push_back(p.slug);
        return UsageError("unknown page '" + std::string(*pageName) + "'" +
                          DidYouMean(*pageName, slugs) + " (see 'zd7240-gen --list')");
    }
    if (list) {
        ListFields(*page);
        return kExitOk;
    }
    if (output.empty())
        return UsageError("the output file name is empty");
    if (dryRun && (jobOptions.plan || jobOptions.report))
        return UsageError("--plan says more than --dry-run: give one");

    PageFields fields(*page);
    for (const std::string_view assignment : assignments) {
        const auto eq = assignment.find('=');
        const std::string_view name = assignment.substr(0, eq);
        if (const auto repeat = fields.NoteGiven(name, assignment))
            return UsageError(repeat->control + " is given twice: '" + EchoedText(repeat->earlier) +
                              "' and '" + EchoedText(assignment) + "'");
        std::string error = fields.Assign(name, assignment.substr(eq + 1), FieldNaming::Control);
        if (!error.empty()) {
            if (!FindField(*page, name) && !FindSelector(*page, name)) {
                std::vector<std::string_view> keys;
                for (const FieldRow& f : page->fields)
                    keys.push_back(f.key);
                for (const SelectorRow& sel : page->selectors)
                    keys.push_back(sel.key);
                const std::size_t see = error.find(" (see '");
                error.insert(see == std::string::npos ? error.size() : see, DidYouMean(name, keys));
            }
            return UsageError(error);
        }
    }
    if (!jobOptions.saveJob.empty())
        return cli::SaveJob(*page, fields, output, jobOptions);
    // Every field the check or the conversion would refuse, named by its key and its
    // place in the window, before anything is written.
    if (const std::vector<std::string> refusals = FieldRefusals(*page, fields); !refusals.empty()) {
        std::string text;
        for (const std::string& refusal : refusals)
            text += "zd7240-gen: " + refusal + "\n";
        std::cerr << text;
        return kExitData;
    }
    // The plan and the running configuration hold the page's job as a job file's.
    if (jobOptions.plan || jobOptions.report || !jobOptions.against.empty()) {
        if (const auto status = cli::CheckOnePage(*page, fields, output, jobOptions))
            return *status;
    }
    if (const int status = cli::ReportHints(*page, fields, jobOptions.strict))
        return status;
    if (dryRun)
        return cli::PrintDryRun(*page, fields);

    // Over a file size limit, let the write fail and the old file stay, rather than die.
    std::signal(SIGXFSZ, SIG_IGN);
    if (output != "-")
        SetInterruptNote("; " + EscapeText(output) + " was left as it was");

    FixedChooser chooser(output);
    StderrMessages messages;
    LineProgress monitor(progress, false); // the final count is printed below
    FrameSeams seams{fields, chooser, messages, messages, &monitor};
    seams.open = [](const std::string& path) { return OpenScript(path, nullptr); };
    const FrameResult result = RunFrame(*page, seams);
    if (progress && result.outcome != FrameOutcome::InvalidInput &&
        result.outcome != FrameOutcome::ConversionFailed)
        std::cerr << "\r" << result.lines << " lines\n";
    return ReportOutcome(*page, fields, result, "", output);
}

} // namespace

int main(int argc, char** argv) {
    GuardStandardDescriptors();
    ExitOnInterrupt(kProgram);
    const int status = Run(std::vector<std::string_view>(argv + 1, argv + argc));
    return FinishStandardOutput(kProgram, status);
}
