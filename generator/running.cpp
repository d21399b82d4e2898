#include "running.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

#include "endpointsides.h"
#include "frame.h"

namespace zd7240 {

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

constexpr unsigned Bit(WalkValue value) {
    return 1u << static_cast<unsigned>(value);
}

// One line format of one page, with what the reader needs to know of each piece.
struct FormatInfo {
    std::uint16_t page = 0;
    std::uint8_t format = 0;
    LineFormat pieces;
    std::vector<bool> numeric; // per piece: a copied field that holds an endpoint number
    std::uint8_t varying = 0;  // WalkValue bits of the walk values along the lines
};

// The copied fields of a page whose texts are endpoint numbers: boards, slots, ports,
// VPIs and the modem's VCI.
bool IsEndpointField(const PageTable& page, std::string_view control) {
    for (const sides::SideRow& row : sides::kSides) {
        if (row.slug != page.slug)
            continue;
        for (std::string_view key : {row.board, row.slot, row.port, row.vpi, row.value}) {
            const FieldRow* field = key.empty() ? nullptr : FindField(page, key);
            if (field && field->name == control)
                return true;
        }
    }
    return false;
}

const std::vector<FormatInfo>& Formats() {
    static const std::vector<FormatInfo> formats = [] {
        std::vector<FormatInfo> all;
        const std::span<const PageTable> pages = Pages();
        for (std::size_t p = 0; p < pages.size(); ++p) {
            for (std::size_t f = 0; f < pages[p].formats.size(); ++f) {
                FormatInfo info;
                info.page = static_cast<std::uint16_t>(p);
                info.format = static_cast<std::uint8_t>(f);
                info.pieces = pages[p].formats[f];
                for (const Piece& piece : info.pieces) {
                    info.numeric.push_back(piece.kind == PieceKind::Field &&
                                           IsEndpointField(pages[p], piece.text));
                    if (piece.kind == PieceKind::Value && piece.value != WalkValue::Board &&
                        piece.value != WalkValue::Slot)
                        info.varying |= static_cast<std::uint8_t>(Bit(piece.value));
                }
                all.push_back(std::move(info));
            }
        }
        return all;
    }();
    return formats;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

enum class NumberText { Number, NotNumber, TooLarge };

// A decimal integer, with a '-' in front or not.
NumberText ParseNumber(std::string_view text, std::int64_t* value) {
    const std::size_t digitsFrom = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digitsFrom)
        return NumberText::NotNumber;
    for (std::size_t i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return NumberText::NotNumber;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    if (ec == std::errc::result_out_of_range)
        return NumberText::TooLarge;
    return ec == std::errc() && end == text.data() + text.size() ? NumberText::Number
                                                                 : NumberText::NotNumber;
}

struct Values {
    std::int64_t board = 0, slot = 0, port = 0, step = 0, counter = 0;
    std::int64_t& operator[](WalkValue value) {
        switch (value) {
        case WalkValue::Board:
            return board;
        case WalkValue::Slot:
            return slot;
        case WalkValue::Port:
            return port;
        case WalkValue::Step:
            return step;
        case WalkValue::Counter:
            break;
        }
        return counter;
    }
};

// Matches a line against a format: literal pieces as they stand, each field or walk
// value a word that runs up to the next piece; with `emptyFields`, a copied field may be
// empty, as the pages write it when its text is. Fills `key` with the copied
// fields' texts and `values` with the walk values. *tooLarge is set when a number that
// would have matched does not fit 64 bits.
bool MatchFormat(const FormatInfo& info, std::string_view line, std::string& key, Values& values,
                 bool emptyFields, bool* tooLarge) {
    key.clear();
    key.push_back(static_cast<char>('A' + info.page));
    key.push_back(static_cast<char>('0' + info.format));
    std::size_t pos = 0;
    const std::span<const Piece> pieces = info.pieces;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        if (piece.kind == PieceKind::Literal) {
            if (line.substr(pos, piece.text.size()) != piece.text)
                return false;
            pos += piece.text.size();
            continue;
        }
        const bool literalNext = i + 1 < pieces.size() && pieces[i + 1].kind == PieceKind::Literal;
        const char stop = literalNext ? pieces[i + 1].text.front() : ' ';
        std::size_t end = pos;
        while (end < line.size() && line[end] != stop && line[end] != ' ')
            ++end;
        const std::string_view word = line.substr(pos, end - pos);
        if ((word.empty() && (!emptyFields || piece.kind != PieceKind::Field)) ||
            (i + 1 == pieces.size() && end != line.size()))
            return false;
        pos = end;
        if (piece.kind == PieceKind::Field) {
            if (info.numeric[i] && !word.empty()) { // empty: the side binds nothing
                std::int64_t number = 0;
                const NumberText parsed = ParseNumber(word, &number);
                if (parsed != NumberText::Number) {
                    *tooLarge = *tooLarge || parsed == NumberText::TooLarge;
                    return false;
                }
            }
            key.push_back('\n');
            key.append(word);
            continue;
        }
        const NumberText parsed = ParseNumber(word, &values[piece.value]);
        if (parsed != NumberText::Number) {
            *tooLarge = *tooLarge || parsed == NumberText::TooLarge;
            return false;
        }
    }
    return pos == line.size();
}

// a + b == c, without overflow.
bool SumIs(std::int64_t a, std::uint64_t b, std::int64_t c) {
    return static_cast<WideInt>(a) + static_cast<WideInt>(b) == static_cast<WideInt>(c);
}

// The number in the signature's copied field that the page's side row names by `key`;
// nothing when the field is empty (the side then binds nothing, as a job's would not).
std::optional<std::int64_t> SignatureNumber(const RunningConfig::Signature& signature,
                                            std::string_view key) {
    if (key.empty())
        return 0;
    const PageTable& page = Pages()[signature.page];
    const FieldRow* field = FindField(page, key);
    std::string_view rest = signature.fields;
    rest.remove_prefix(std::min<std::size_t>(2, rest.size())); // page and format
    for (const Piece& piece : page.formats[signature.format]) {
        if (piece.kind != PieceKind::Field)
            continue;
        rest.remove_prefix(1); // '\n'
        const std::string_view word = rest.substr(0, rest.find('\n'));
        rest.remove_prefix(word.size());
        if (field && piece.text == field->name) {
            std::int64_t number = 0;
            if (ParseNumber(word, &number) != NumberText::Number) // checked when read
                return std::nullopt;
            return number;
        }
    }
    return std::nullopt;
}

// The endpoints of lines first..last (indices into the run) of a run.
JobBindings RunBindings(const RunningConfig& running, const RunningConfig::Run& run,
                        std::uint64_t first, std::uint64_t last) {
    const RunningConfig::Signature& signature = running.signatures()[run.signature];
    const PageTable& page = Pages()[signature.page];
    const auto shift = [](std::int64_t start, std::uint64_t by) {
        return static_cast<std::int64_t>(static_cast<WideInt>(start) + static_cast<WideInt>(by));
    };
    JobBindings bindings;
    for (const sides::SideRow& row : sides::kSides) {
        if (row.slug != page.slug)
            continue;
        EndpointBox box;
        box.channel = row.channel;
        if (row.channel == Channel::Port && (row.groupFormats >> signature.format) & 1u)
            box.channel = Channel::Group;
        const std::optional<std::int64_t> vpi = SignatureNumber(signature, row.vpi);
        if (!vpi)
            continue;
        box.vpi = {*vpi, *vpi};
        if (row.board.empty()) {
            const std::optional<std::int64_t> vci = SignatureNumber(signature, row.value);
            if (!vci)
                continue;
            box.board = {run.board, run.board};
            box.slot = {run.slot, run.slot};
            box.port = {shift(run.port, first), shift(run.port, last)};
            box.value = {*vci, *vci};
        } else {
            const std::optional<std::int64_t> board = SignatureNumber(signature, row.board);
            const std::optional<std::int64_t> slot = SignatureNumber(signature, row.slot);
            const std::optional<std::int64_t> port = SignatureNumber(signature, row.port);
            if (!board || !slot || !port)
                continue;
            const std::int64_t start = row.walkValue == WalkValue::Step ? run.step : run.counter;
            box.board = {*board, *board};
            box.slot = {*slot, *slot};
            box.port = {*port, *port};
            box.value = {shift(start, first), shift(start, last)};
        }
        bindings.sides.push_back({{box}, false});
    }
    return bindings;
}

// Where card board/slot stands in a chassis walk, counted in cards from its first.
std::optional<LineCount> CardIndex(const ChassisInputs& in, std::int64_t board, std::int64_t slot) {
    if (IsSkippedSlot(slot))
        return std::nullopt;
    LineCount before = 0;
    for (const CardBlock& block : ChassisBlocks(in)) {
        const auto perBoard = static_cast<LineCount>(CardsInSlots(block.slotFirst, block.slotLast));
        if (board >= block.boardFirst && board <= block.boardLast && slot >= block.slotFirst &&
            slot <= block.slotLast)
            return before + static_cast<LineCount>(board - block.boardFirst) * perBoard +
                   static_cast<LineCount>(CardsInSlots(block.slotFirst, slot)) - 1;
        before += static_cast<LineCount>(block.boardLast - block.boardFirst + 1) * perBoard;
    }
    return std::nullopt;
}

struct Span {
    std::uint64_t first = 0, last = 0; // indices into a run
    LineCount jobFirst = 0;            // the job's line of the run's line `first`
};

// The lines of a run that the job writes exactly (the run and the job share their
// signature): one stretch of the run, or nothing.
std::optional<Span> IdenticalLines(const Job& job, const WalkSummary& walk,
                                   const RunningConfig::Run& run) {
    // No line of the page holds a counter beyond 32 bits.
    if (run.counter > kInt32Max || run.counter < -kInt32Max - 1)
        return std::nullopt;
    WideInt first = 0;
    WideInt last = static_cast<WideInt>(run.count) - 1;
    last = std::min<WideInt>(last, kInt32Max - run.counter);
    LineCount index = 0; // the job's line of the run's line `first`
    if (job.page().walk == WalkKind::Range) {
        first = std::max<WideInt>(0, WideInt{job.rangeStart()} - run.step);
        last = std::min<WideInt>(last, WideInt{job.rangeEnd()} - run.step);
        if (first > last)
            return std::nullopt;
        index = static_cast<LineCount>(run.step + first - job.rangeStart());
    } else {
        const ChassisInputs& in = job.chassis();
        const std::optional<LineCount> card = CardIndex(in, run.board, run.slot);
        if (!card || run.port < 0 || run.port >= in.portCount)
            return std::nullopt;
        last = std::min<WideInt>(last, WideInt{in.portCount} - 1 - run.port);
        index = *card * static_cast<LineCount>(in.portCount) + static_cast<LineCount>(run.port);
    }
    if (index + static_cast<LineCount>(last - first) >= walk.lines)
        last = first + static_cast<WideInt>(walk.lines - 1 - index);
    if (WideInt{CounterAfter(walk.first.counter, index)} != run.counter + first)
        return std::nullopt;
    return Span{static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(last), index};
}

} // namespace

RunningConfig::RunningConfig() {
    Formats(); // built once, before the first line
}

RunningLineKind RunningConfig::Add(std::uint32_t file, std::uint64_t line, std::string_view text,
                                   std::string* why) {
    text = text.substr(0, kMaxLine + 1);
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (!text.starts_with("pvc") || (text.size() > 3 && !IsBlank(text[3]))) {
        ++otherLines_;
        return RunningLineKind::Other;
    }
    if (text.size() > kMaxLine) {
        *why = "a \"pvc\" line longer than " + std::to_string(kMaxLine) + " bytes";
        return RunningLineKind::Unknown;
    }
    // The line as the pages write it, where a copied field may be empty (two blanks in a
    // row); failing that, with runs of blanks taken as one, as a device may show it.
    bool tooLarge = false;
    Values values;
    const FormatInfo* matched = nullptr;
    for (const bool exact : {true, false}) {
        line_.assign(text);
        if (!exact) {
            line_.clear();
            for (char c : text) {
                if (!IsBlank(c))
                    line_.push_back(c);
                else if (line_.back() != ' ')
                    line_.push_back(' ');
            }
        }
        for (const FormatInfo& info : Formats()) {
            values = {};
            if (MatchFormat(info, line_, key_, values, exact, &tooLarge)) {
                matched = &info;
                break;
            }
        }
        if (matched)
            break;
    }
    if (!matched) {
        *why = tooLarge ? "a number beyond 64 bits" : "no page writes a \"pvc\" line like this";
        return RunningLineKind::Unknown;
    }
    ++pvcLines_;
    auto it = signatureIds_.find(std::string_view(key_));
    if (it == signatureIds_.end()) {
        it = signatureIds_.emplace(key_, static_cast<std::uint32_t>(signatures_.size())).first;
        signatures_.push_back({matched->page, matched->format, matched->varying, key_});
    }
    const std::uint32_t signature = it->second;
    // The line goes on the last run when it is the line that run's page writes next.
    if (!runs_.empty()) {
        Run& last = runs_.back();
        const unsigned varying = matched->varying;
        const auto next = [&](WalkValue value, std::int64_t start, std::int64_t now) {
            return !(varying & Bit(value)) || SumIs(start, last.count, now);
        };
        if (last.signature == signature && last.file == file &&
            last.firstLine + last.count == line && last.board == values.board &&
            last.slot == values.slot && next(WalkValue::Port, last.port, values.port) &&
            next(WalkValue::Step, last.step, values.step) &&
            next(WalkValue::Counter, last.counter, values.counter)) {
            ++last.count;
            return RunningLineKind::Pvc;
        }
    }
    runs_.push_back({signature, file, line, 1, values.board, values.slot, values.port, values.step,
                     values.counter});
    return RunningLineKind::Pvc;
}

std::int64_t RunningConfig::SignatureOf(const Job& job, const FieldAccess& fields) const {
    if (job.format() < 0)
        return -1;
    const std::span<const PageTable> pages = Pages();
    const auto page = static_cast<std::size_t>(&job.page() - pages.data());
    std::string key;
    key.push_back(static_cast<char>('A' + page));
    key.push_back(static_cast<char>('0' + job.format()));
    for (const Piece& piece : job.page().formats[static_cast<std::size_t>(job.format())]) {
        if (piece.kind != PieceKind::Field)
            continue;
        key.push_back('\n');
        key += fields.Text(piece.text);
    }
    const auto it = signatureIds_.find(std::string_view(key));
    return it == signatureIds_.end() ? -1 : std::int64_t{it->second};
}

RunningMatch MatchRunning(const RunningConfig& running, std::span<const Job> jobs,
                          std::span<const FieldAccess* const> fields) {
    RunningMatch match;
    match.configured.assign(jobs.size(), 0);
    // The jobs that share a signature with running lines, by signature, in the order of
    // their first counter: a run can only be written by a job whose counters it meets.
    struct Candidate {
        std::int64_t counterFirst, counterLast;
        std::size_t job;
        WalkSummary walk;
    };
    std::vector<std::vector<Candidate>> bySignature(running.signatures().size());
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        const std::int64_t signature = running.SignatureOf(jobs[j], *fields[j]);
        if (signature < 0)
            continue;
        const WalkSummary walk = Summarize(jobs[j]);
        if (walk.lines == 0)
            continue;
        Candidate candidate{walk.first.counter, walk.last.counter, j, walk};
        if (walk.lines > static_cast<LineCount>(kInt32Max) ||
            walk.last.counter < walk.first.counter)
            candidate.counterLast = kInt32Max, candidate.counterFirst = -kInt32Max - 1;
        bySignature[static_cast<std::size_t>(signature)].push_back(candidate);
    }
    std::vector<std::vector<std::int64_t>> reach(bySignature.size()); // running max of last
    for (std::size_t s = 0; s < bySignature.size(); ++s) {
        std::vector<Candidate>& list = bySignature[s];
        std::sort(list.begin(), list.end(), [](const Candidate& a, const Candidate& b) {
            return a.counterFirst < b.counterFirst;
        });
        std::int64_t most = std::numeric_limits<std::int64_t>::min();
        for (const Candidate& c : list)
            reach[s].push_back(most = std::max(most, c.counterLast));
    }
    std::vector<Span> identical;
    // Per job, the stretches of its lines the device holds: a line the device holds
    // twice (a file given twice, a line repeated) is configured once.
    std::vector<std::vector<std::pair<LineCount, LineCount>>> held(jobs.size());
    for (const RunningConfig::Run& run : running.runs()) {
        identical.clear();
        const std::vector<Candidate>& list = bySignature[run.signature];
        const std::vector<std::int64_t>& most = reach[run.signature];
        const WideInt runLast = static_cast<WideInt>(run.counter) + run.count - 1;
        // Candidates that start at or before the run's last counter and reach its first.
        auto it = std::upper_bound(
            list.begin(), list.end(), runLast,
            [](WideInt value, const Candidate& c) { return value < c.counterFirst; });
        for (auto k = static_cast<std::size_t>(it - list.begin()); k-- > 0;) {
            if (most[k] < run.counter)
                break;
            const Candidate& c = list[k];
            if (c.counterLast < run.counter)
                continue;
            if (const std::optional<Span> span = IdenticalLines(jobs[c.job], c.walk, run)) {
                held[c.job].emplace_back(span->jobFirst, span->jobFirst + span->last - span->first);
                identical.push_back(*span);
            }
        }
        // What no job writes exactly is held against the jobs' endpoints.
        std::sort(identical.begin(), identical.end(),
                  [](const Span& a, const Span& b) { return a.first < b.first; });
        std::uint64_t from = 0;
        const auto keep = [&](std::uint64_t first, std::uint64_t last) {
            match.rest.push_back(RunBindings(running, run, first, last));
            match.origins.push_back({run.file, run.firstLine + first});
        };
        for (const Span& span : identical) {
            if (span.first > from)
                keep(from, span.first - 1);
            from = std::max(from, span.last + 1);
        }
        if (from < run.count)
            keep(from, run.count - 1);
    }
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        std::vector<std::pair<LineCount, LineCount>>& spans = held[j];
        std::sort(spans.begin(), spans.end());
        LineCount next = 0; // the first line not yet counted
        for (const auto& [first, last] : spans) {
            if (last + 1 > next) {
                match.configured[j] += last + 1 - std::max(first, next);
                next = last + 1;
            }
        }
    }
    return match;
}

std::uint64_t RunningLineOf(const JobBindings& piece, const RunningMatch::Origin& origin,
                            const Conflict& conflict) {
    // Along a piece of a run exactly one range counts up with its lines: the subscriber
    // port, or the value (VCI or VLAN id) of the far side; the others hold one value.
    const EndpointBox& box = piece.sides[conflict.secondSide].boxes.front();
    const std::int64_t along =
        (conflict.at.port - box.port.first) + (conflict.at.value - box.value.first);
    return origin.firstLine + static_cast<std::uint64_t>(along);
}

} // namespace zd7240
