#include "frame.h"

#include <array>
#include <stdexcept>

namespace zd7240 {

namespace {

// Lines between two progress reports: rare enough to cost nothing, often enough that
// a cancel answers within a few milliseconds.
constexpr std::uint64_t kProgressEvery = 1 << 16;

std::int32_t Convert(const FieldAccess& fields, std::string_view control) {
    return ToInt32(fields.Text(control));
}

} // namespace

const FieldRow* FirstInvalidField(const PageTable& page, const FieldAccess& fields) {
    for (const FieldRow* field : CheckedFields(page)) {
        if (!IsAllDigits(fields.Text(field->name)))
            return field;
    }
    return nullptr;
}

Job::Job(const PageTable& page, const FieldAccess& fields) : page_(&page) {
    const auto& w = page.walkFields;
    if (page.walk == WalkKind::Chassis) {
        chassis_.startBoard = Convert(fields, w[0]);
        chassis_.startSlot = Convert(fields, w[1]);
        chassis_.endBoard = Convert(fields, w[2]);
        chassis_.endSlot = Convert(fields, w[3]);
        chassis_.portCount = Convert(fields, w[4]);
        chassis_.startValue = Convert(fields, w[5]);
        end_ = ChassisEndValue(chassis_);
    } else {
        rangeEnd_ = Convert(fields, w[0]);
        rangeStart_ = Convert(fields, w[1]);
        counterStart_ = Convert(fields, w[2]);
        end_ = Add32(Sub32(rangeEnd_, rangeStart_), counterStart_);
    }
}

void Job::SelectFormat(const FieldAccess& fields) {
    ChooseFormat(fields);
    BuildRenderer(fields);
}

void Job::ChooseFormat(const FieldAccess& fields) {
    // The format rules read at most two card-type boxes (a page has no more).
    std::array<int, 2> indices{};
    std::size_t count = 0;
    for (const SelectorRow& selector : page_->selectors) {
        if (count < indices.size())
            indices[count++] = fields.ItemIndex(selector.name);
    }
    const int format = zd7240::SelectFormat(page_->formatRule, std::span(indices.data(), count));
    renderer_.reset();
    format_ = format >= 0 && static_cast<std::size_t>(format) < page_->formats.size() ? format : -1;
}

void Job::BuildRenderer(const FieldAccess& fields) {
    renderer_.reset();
    if (format_ >= 0) {
        renderer_ = std::make_unique<const LineRenderer>(
            page_->formats[static_cast<std::size_t>(format_)],
            [&fields](std::string_view control) { return fields.Text(control); });
    }
}

template <class Emit> bool Job::WalkWith(Emit&& emit) const {
    if (format_ < 0)
        return true; // no line format for these card types: the walk writes nothing
    if (!renderer_)  // a job chosen but not built would write an empty file as if done
        throw std::logic_error("Job: the walk needs BuildRenderer first");
    const LineRenderer& renderer = *renderer_;
    StepValues values;
    if (page_->walk == WalkKind::Chassis) {
        return ForEachChassisPort(chassis_, [&](const ChassisStep& step) {
            values.board = step.board;
            values.slot = step.slot;
            values.port = step.port;
            values.counter = step.counter;
            return emit(renderer, values);
        });
    }
    std::int32_t counter = counterStart_;
    for (std::int64_t step = rangeStart_; step <= rangeEnd_; ++step) {
        values.step = step;
        values.counter = counter;
        if (!emit(renderer, values))
            return false;
        counter = Add32(counter, 1);
    }
    return true;
}

bool Job::Walk(const std::function<bool(const LineRenderer&, const StepValues&)>& emit) const {
    return WalkWith(emit);
}

// Flattened: the walk, the per-line step and the renderer form one loop, with nothing
// called per line; this loop is where a long script spends its time.
[[gnu::flatten]] bool Job::WriteTo(ScriptWriter& writer, ProgressMonitor* monitor,
                                   std::uint64_t* lines) const {
    std::uint64_t count = 0;
    const bool completed = WalkWith([&](const LineRenderer& renderer, const StepValues& values) {
        char* out = writer.Reserve(renderer.MaxLineSize() + LineRenderer::kSlack);
        writer.Advance(renderer.Render(out, values));
        ++count;
        if (monitor && count % kProgressEvery == 0)
            return monitor->Progress(count);
        return true;
    });
    if (lines)
        *lines = count;
    return completed;
}

FrameResult RunFrame(const PageTable& page, FrameSeams seams) {
    FrameResult result;
    // 1. Check, in order; the first failure ends the press.
    if (const FieldRow* bad = FirstInvalidField(page, seams.fields)) {
        result.outcome = FrameOutcome::InvalidInput;
        result.failedField = bad;
        seams.messenger.ShowMessage(kWarningCaption, kWarningText);
        return result;
    }
    // 2. End value, shown before the save dialog.
    std::optional<Job> job;
    try {
        job.emplace(page, seams.fields);
    } catch (const ConversionError& e) {
        result.outcome = FrameOutcome::ConversionFailed;
        result.error = e.what();
        seams.errors.ReportError(result.error);
        return result;
    }
    result.endValue = job->endValue();
    seams.fields.SetText(page.endField, FormatInt32(job->endValue()));
    // 3. Save dialog.
    std::optional<std::string> path = seams.chooser.ChooseFile();
    if (!path) {
        result.outcome = FrameOutcome::Cancelled;
        return result;
    }
    result.path = *path;
    // 4-7. Open, walk, close.
    try {
        std::unique_ptr<ScriptWriter> opened =
            seams.open ? seams.open(*path) : std::make_unique<ScriptWriter>(*path);
        ScriptWriter& writer = *opened;
        job->SelectFormat(seams.fields);
        const bool completed = job->WriteTo(writer, seams.progress, &result.lines);
        if (seams.progress)
            seams.progress->Finished();
        if (!completed) {
            writer.Discard();
            result.outcome = FrameOutcome::Aborted;
            return result;
        }
        writer.Commit();
        result.unchanged = writer.unchanged();
    } catch (const FileError& e) {
        if (seams.progress)
            seams.progress->Finished();
        result.outcome = e.kind() == FileError::Kind::Create ? FrameOutcome::CreateFailed
                                                             : FrameOutcome::WriteFailed;
        result.error = e.what();
        seams.errors.ReportError(result.error);
        return result;
    }
    // 8. Report.
    result.outcome = FrameOutcome::Written;
    seams.messenger.ShowMessage(kSuccessCaption, kSuccessText);
    return result;
}

void ResetToDefaults(const PageTable& page, FieldAccess& fields) {
    for (const FieldRow& field : page.fields)
        fields.SetText(field.name, std::string(field.defaults));
}

} // namespace zd7240
