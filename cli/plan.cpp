#include "plan.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <nlohmann/json.hpp>

#include "frame.h"
#include "frameseams.h"
#include "messages.h"
#include "processguard.h"

namespace zd7240::cli {

namespace {

// Lines are counted added and removed by their hashes, 8 bytes a line of each side:
// beyond these sizes the plan says "changed" without the counts.
constexpr std::uint64_t kCountedBytes = 512ull << 20;
constexpr LineCount kCountedLines = 10'000'000;

std::uint64_t LineHash(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return std::hash<std::string_view>{}(line);
}

// The size of the common part of two sorted lists, each value counted as often as both
// hold it.
std::uint64_t CommonCount(const std::vector<std::uint64_t>& a,
                          const std::vector<std::uint64_t>& b) {
    std::uint64_t common = 0;
    for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        if (a[i] < b[j]) {
            ++i;
        } else if (b[j] < a[i]) {
            ++j;
        } else {
            ++common, ++i, ++j;
        }
    }
    return common;
}

std::string_view StateName(OutputState state) {
    switch (state) {
    case OutputState::New:
        return "new";
    case OutputState::Changed:
        return "changed";
    case OutputState::Unchanged:
        return "unchanged";
    case OutputState::Stream:
        break;
    }
    return "stream";
}

std::string_view ChannelName(Channel channel) {
    switch (channel) {
    case Channel::Port:
        return "port";
    case Channel::Group:
        return "group";
    case Channel::Vlan:
        break;
    }
    return "vlan";
}

// A line count as a JSON number: exact up to 2^64, and beyond that as decimal text.
nlohmann::ordered_json CountJson(LineCount count) {
    if (count <= std::numeric_limits<std::uint64_t>::max())
        return static_cast<std::uint64_t>(count);
    return FormatLineCount(count);
}

nlohmann::ordered_json IntervalJson(const Interval& interval) {
    return nlohmann::ordered_json::array({interval.first, interval.last});
}

} // namespace

PlannedOutput PlanOutput(const TargetPlan& target, const std::string& name,
                         std::span<Job* const> jobs, std::span<const FieldAccess* const> fields) {
    PlannedOutput planned;
    planned.name = name;
    LineCount lines = 0;
    for (Job* job : jobs)
        lines += Summarize(*job).lines;
    if (target.kind == TargetPlan::Kind::Direct || target.kind == TargetPlan::Kind::Descriptor) {
        planned.state = OutputState::Stream;
        return planned;
    }
    if (!target.exists) {
        planned.state = OutputState::New;
        planned.counted = lines <= std::numeric_limits<std::uint64_t>::max();
        planned.added = static_cast<std::uint64_t>(
            std::min<LineCount>(lines, std::numeric_limits<std::uint64_t>::max()));
        return planned;
    }
    // The new lines, rendered as the writer would write them, against the old bytes.
    std::ifstream old(target.target, std::ios::binary);
    const bool counting = target.size <= kCountedBytes && lines <= kCountedLines;
    std::vector<std::uint64_t> fresh;
    if (counting)
        fresh.reserve(static_cast<std::size_t>(lines));
    bool same = static_cast<bool>(old);
    std::string oldBytes;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        Job& job = *jobs[i];
        job.BuildRenderer(*fields[i]);
        std::vector<char> line;
        job.Walk([&](const LineRenderer& renderer, const StepValues& values) {
            line.resize(renderer.MaxLineSize() + LineRenderer::kSlack);
            const std::size_t size = renderer.Render(line.data(), values);
            const std::string_view text(line.data(), size);
            if (same) {
                oldBytes.resize(size);
                same =
                    static_cast<std::size_t>(
                        old.read(oldBytes.data(), static_cast<std::streamsize>(size)).gcount()) ==
                        size &&
                    oldBytes == text;
            }
            if (counting)
                fresh.push_back(LineHash(text));
            return same || counting;
        });
        job.DropRenderer();
    }
    if (same && old.peek() == std::ifstream::traits_type::eof()) {
        planned.state = OutputState::Unchanged;
        planned.counted = true;
        return planned;
    }
    planned.state = OutputState::Changed;
    if (!counting)
        return planned;
    std::ifstream again(target.target, std::ios::binary);
    std::vector<std::uint64_t> before;
    for (std::string text; std::getline(again, text);)
        before.push_back(LineHash(text));
    std::sort(fresh.begin(), fresh.end());
    std::sort(before.begin(), before.end());
    const std::uint64_t common = CommonCount(fresh, before);
    planned.counted = true;
    planned.added = fresh.size() - common;
    planned.removed = before.size() - common;
    return planned;
}

void PrintPlan(const Plan& plan, std::ostream& out) {
    std::string text;
    if (plan.against)
        text += "Running configuration: " + std::to_string(plan.runningLines) + " pvc line(s) in " +
                std::to_string(plan.runningRuns) + " run(s), " + std::to_string(plan.otherLines) +
                " other line(s) ignored\n";
    for (const PlannedJob& job : plan.jobs) {
        text += job.label + ": " + FormatLineCount(job.lines) + " line(s) to write";
        if (plan.against)
            text += ", " + FormatLineCount(job.configured) + " already configured";
        text += ", " + std::to_string(job.conflicts) + " conflict(s)";
        if (!job.warnings.empty())
            text += ", " + std::to_string(job.warnings.size()) + " warning(s)";
        text += "\n";
    }
    for (const PlannedOutput& output : plan.outputs) {
        text += EscapeText(output.name) + ": " + std::string(StateName(output.state));
        if (output.state == OutputState::Changed && output.counted)
            text += " (+" + std::to_string(output.added) + " -" + std::to_string(output.removed) +
                    " lines)";
        else if (output.state == OutputState::New && output.counted)
            text += " (+" + std::to_string(output.added) + " lines)";
        text += "\n";
    }
    out << text;
}

int WriteReport(const Plan& plan, const std::string& target) {
    using json = nlohmann::ordered_json;
    json report;
    report["version"] = kReportVersion;
    report["status"] = plan.status;
    if (plan.against)
        report["running"] = {{"pvcLines", plan.runningLines},
                             {"otherLines", plan.otherLines},
                             {"runs", plan.runningRuns}};
    json jobs = json::array();
    for (const PlannedJob& job : plan.jobs) {
        json sides = json::array();
        for (const JobSide& side : job.bindings.sides) {
            json boxes = json::array();
            for (const EndpointBox& box : side.boxes) {
                boxes.push_back({{"channel", ChannelName(box.channel)},
                                 {"board", IntervalJson(box.board)},
                                 {"slot", IntervalJson(box.slot)},
                                 {"port", IntervalJson(box.port)},
                                 {"vpi", IntervalJson(box.vpi)},
                                 {"value", IntervalJson(box.value)},
                                 {"skipsSlots7And8", box.skipsSlots78}});
            }
            sides.push_back(std::move(boxes));
        }
        json entry = {{"label", job.label},           {"page", job.page},
                      {"output", job.output},         {"lines", CountJson(job.lines)},
                      {"conflicts", job.conflicts},   {"warnings", job.warnings},
                      {"endpoints", std::move(sides)}};
        entry["name"] = job.name.empty() ? json(nullptr) : json(job.name);
        if (plan.against)
            entry["configured"] = CountJson(job.configured);
        jobs.push_back(std::move(entry));
    }
    report["jobs"] = std::move(jobs);
    json conflicts = json::array();
    for (const PlannedConflict& c : plan.conflicts) {
        json entry = {{"job", c.job}, {"endpoint", c.endpoint}};
        if (c.other)
            entry["otherJob"] = *c.other;
        else if (!c.runningFile.empty())
            entry["running"] = {{"file", c.runningFile}, {"line", c.runningLine}};
        if (c.wrapsAround)
            entry["wrapsAround"] = true;
        conflicts.push_back(std::move(entry));
    }
    report["conflicts"] = std::move(conflicts);
    report["moreConflicts"] = plan.moreConflicts;
    report["moreConflictsIsLeastCount"] = plan.atLeastMore;
    report["chassisFindings"] = plan.chassisFindings;
    json outputs = json::array();
    for (const PlannedOutput& output : plan.outputs) {
        json entry = {
            {"name", output.name}, {"state", StateName(output.state)}, {"jobs", output.jobs}};
        if (output.counted && output.state != OutputState::Stream) {
            entry["added"] = output.added;
            entry["removed"] = output.removed;
        }
        outputs.push_back(std::move(entry));
    }
    report["outputs"] = std::move(outputs);
    // Names and texts come from files and command lines: bytes that are not UTF-8 are
    // replaced rather than refused, so that a report is always written.
    const std::string text =
        report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    try {
        const std::unique_ptr<ScriptWriter> writer = OpenScript(target, nullptr);
        writer->Write(text);
        writer->Commit();
    } catch (const FileError& e) {
        std::cerr << "zd7240-gen: --report: " << EscapeText(e.what()) << "\n";
        return e.kind() == FileError::Kind::Create ? kExitCantCreate : kExitIoError;
    }
    return 0;
}

} // namespace zd7240::cli
