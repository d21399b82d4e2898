#include "rangecheck.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <queue>
#include <string_view>
#include <tuple>

#include "endpointsides.h"
#include "frame.h"
#include "rangemath.h"

namespace zd7240 {

namespace {

using sides::kSides;
using sides::SideRow;

constexpr std::int64_t kInt32Min = -2147483648LL;
constexpr std::int64_t kInt32Max = 2147483647LL;
constexpr LineCount kCounterPeriod = LineCount{1} << 32;

// A copied field's digits as a number; nothing when they do not fit 64 bits.
std::optional<std::int64_t> FieldNumber(const Job& job, const FieldAccess& fields,
                                        std::string_view key) {
    if (key.empty())
        return 0;
    const FieldRow* field = FindField(job.page(), key);
    const std::string text = field ? fields.Text(field->name) : std::string();
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The values of a counter that starts at `start` for `lines` lines, wrapped to 32 bits:
// one interval, or two when it passes 2147483647.
// Held in place rather than in a vector: every job of a job file asks.
struct Intervals {
    std::array<Interval, 2> items{};
    std::size_t count = 0;
    const Interval* begin() const { return items.data(); }
    const Interval* end() const { return items.data() + count; }
};

Intervals CounterIntervals(std::int32_t start, LineCount lines, bool* wraps) {
    if (lines == 0)
        return {};
    if (lines > kCounterPeriod) {
        *wraps = true;
        return {{{{start, kInt32Max}, {kInt32Min, std::int64_t{start} - 1}}}, 2};
    }
    if (lines == kCounterPeriod) // every value once
        return {{{{start, kInt32Max}, {kInt32Min, std::int64_t{start} - 1}}}, 2};
    const std::int64_t last = std::int64_t{start} + static_cast<std::int64_t>(lines) - 1;
    if (last <= kInt32Max)
        return {{{{start, last}}}, 1};
    return {{{{start, kInt32Max}, {kInt32Min, last - (kInt32Max - kInt32Min + 1)}}}, 2};
}

bool Intersect(const Interval& a, const Interval& b, Interval* out) {
    out->first = std::max(a.first, b.first);
    out->last = std::min(a.last, b.last);
    return out->first <= out->last;
}

// The first endpoint of the intersection of two boxes (the lowest in every range, which
// is the first in walk order), or nothing when they do not meet.
struct Point {
    std::int64_t board, slot, port, vpi, value;
    auto operator<=>(const Point&) const = default; // NOLINT(modernize-use-nullptr): a
                                                    // defaulted comparison, no pointer
};

std::optional<Point> FirstCommon(const EndpointBox& a, const EndpointBox& b) {
    if (a.channel != b.channel)
        return std::nullopt;
    Interval board, slot, port, vpi, value;
    if (!Intersect(a.value, b.value, &value) || !Intersect(a.vpi, b.vpi, &vpi) ||
        !Intersect(a.board, b.board, &board) || !Intersect(a.port, b.port, &port) ||
        !Intersect(a.slot, b.slot, &slot))
        return std::nullopt;
    if (a.skipsSlots78 || b.skipsSlots78) {
        if (IsSkippedSlot(slot.first))
            slot.first = 9;
        if (slot.first > slot.last)
            return std::nullopt;
    }
    return Point{board.first, slot.first, port.first, vpi.first, value.first};
}

// Of the ranges of a set of boxes (which share their VPI), the one along which a sweep
// meets the fewest pairs: the number of box starts that fall within each box's range.
template <class Owned>
const Interval EndpointBox::*SweepDimension(const std::vector<Owned>& boxes) {
    static constexpr const Interval EndpointBox::*kDimensions[] = {
        &EndpointBox::value, &EndpointBox::port, &EndpointBox::board, &EndpointBox::slot};
    const Interval EndpointBox::*best = &EndpointBox::value;
    std::size_t fewest = static_cast<std::size_t>(-1);
    std::vector<std::int64_t> starts(boxes.size());
    for (const Interval EndpointBox::*dimension : kDimensions) {
        for (std::size_t i = 0; i < boxes.size(); ++i)
            starts[i] = (boxes[i].box->*dimension).first;
        std::sort(starts.begin(), starts.end());
        std::size_t pairs = 0;
        for (const Owned& owned : boxes) {
            const Interval& range = owned.box->*dimension;
            pairs += static_cast<std::size_t>(
                std::upper_bound(starts.begin(), starts.end(), range.last) -
                std::lower_bound(starts.begin(), starts.end(), range.first));
        }
        if (pairs < fewest) {
            fewest = pairs;
            best = dimension;
        }
    }
    return best;
}

std::string CardText(std::int64_t board, std::int64_t slot) {
    return std::to_string(board) + "/" + std::to_string(slot);
}

// "a Lan card", "an Mmx card": the names are said letter by letter or as words, so
// Adsl, Aiu and Mmx take "an".
std::string ACard(CardKind kind) {
    const bool an = kind == CardKind::Adsl || kind == CardKind::Aiu || kind == CardKind::Mmx;
    return (an ? "an " : "a ") + std::string(CardName(kind)) + " card";
}

// Whether a chassis walk's cards include the slot.
bool WalkPasses(const std::vector<CardBlock>& blocks, SlotId id) {
    if (IsSkippedSlot(id.slot))
        return false;
    for (const CardBlock& block : blocks) {
        if (id.board >= block.boardFirst && id.board <= block.boardLast &&
            id.slot >= block.slotFirst && id.slot <= block.slotLast)
            return true;
    }
    return false;
}

// The first card of the walk, in walk order, that the chassis does not name. A block
// with more cards than the chassis names holds one within its first that many plus one.
std::optional<SlotId> FirstUnnamed(const std::vector<CardBlock>& blocks, const Chassis& chassis) {
    for (const CardBlock& block : blocks) {
        std::size_t seen = 0;
        for (std::int64_t board = block.boardFirst; board <= block.boardLast; ++board) {
            for (std::int64_t slot = block.slotFirst; slot <= block.slotLast; ++slot) {
                if (IsSkippedSlot(slot))
                    continue;
                if (!chassis.contains({board, slot}))
                    return SlotId{board, slot};
                if (++seen > chassis.size())
                    return std::nullopt; // cannot happen: every named slot seen once
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::string_view CardName(CardKind kind) {
    switch (kind) {
    case CardKind::Adsl:
        return "Adsl";
    case CardKind::Lan:
        return "Lan";
    case CardKind::Mmx:
        return "Mmx";
    case CardKind::Ces:
        return "Ces";
    case CardKind::Aiu:
        return "Aiu";
    }
    return "?";
}

std::optional<CardKind> CardKindNamed(std::string_view word) {
    for (CardKind kind :
         {CardKind::Adsl, CardKind::Lan, CardKind::Mmx, CardKind::Ces, CardKind::Aiu}) {
        if (EqualsIgnoreCase(word, CardName(kind)))
            return kind;
    }
    return std::nullopt;
}

ChassisFindingList ChassisFindings(const Job& job, const FieldAccess& fields,
                                   const Chassis& chassis, const ChassisShape& shape) {
    ChassisFindingList findings;
    const PageTable& page = job.page();
    if (Summarize(job).lines == 0)
        return findings;
    const std::string slotRange = "the chassis's slots 0.." + std::to_string(shape.slots - 1);
    for (const SideRow& row : kSides) {
        if (row.slug != page.slug)
            continue;
        const std::string_view card = CardName(row.card);
        if (row.board.empty()) {
            const ChassisInputs& in = job.chassis();
            const std::vector<CardBlock> blocks = ChassisBlocks(in);
            const std::string walk = "the " + std::string(card) + " walk from " +
                                     CardText(in.startBoard, in.startSlot) + " to " +
                                     CardText(in.endBoard, in.endSlot);
            for (const auto& [id, kind] : chassis) {
                if (kind != row.card && WalkPasses(blocks, id))
                    findings.faults.push_back(walk + " passes slot " + CardText(id.board, id.slot) +
                                              ", which holds " + ACard(kind));
            }
            // The first slot of the walk beyond the shelf's last.
            for (const CardBlock& block : blocks) {
                if (block.slotLast < shape.slots)
                    continue;
                std::int64_t slot = std::max(block.slotFirst, shape.slots);
                if (IsSkippedSlot(slot))
                    slot = 9;
                findings.loose.push_back(walk + " passes slot " + CardText(block.boardFirst, slot) +
                                         ", beyond " + slotRange);
                break;
            }
            if (shape.ports > 0 && in.portCount > shape.ports)
                findings.loose.push_back("port-number " + std::to_string(in.portCount) +
                                         " is more than the " + std::to_string(shape.ports) +
                                         " ports of an Adsl card");
            if (!chassis.empty()) {
                if (const auto unnamed = FirstUnnamed(blocks, chassis))
                    findings.loose.push_back(walk + " passes slot " +
                                             CardText(unnamed->board, unnamed->slot) +
                                             ", which the chassis does not name");
            }
            continue;
        }
        const auto board = FieldNumber(job, fields, row.board);
        const auto slot = FieldNumber(job, fields, row.slot);
        if (!board || !slot)
            continue;
        const std::string where = std::string(row.slot) + " " + CardText(*board, *slot);
        if (*slot >= shape.slots) {
            findings.loose.push_back(where + " is beyond " + slotRange);
            continue;
        }
        const auto it = chassis.find({*board, *slot});
        if (it == chassis.end()) {
            if (!chassis.empty())
                findings.loose.push_back(where + " is a slot the chassis does not name");
        } else if (it->second != row.card) {
            findings.faults.push_back(where + " holds " + ACard(it->second) + ", not " +
                                      ACard(row.card));
        }
    }
    return findings;
}

std::string DescribeEndpoint(Channel channel, std::int64_t board, std::int64_t slot,
                             std::int64_t port, std::int64_t vpi, std::int64_t value) {
    const std::string card = std::to_string(board) + "/" + std::to_string(slot);
    if (channel == Channel::Vlan)
        return "VLAN id " + std::to_string(value) + " on Lan card " + card;
    return "VPI " + std::to_string(vpi) + " VCI " + std::to_string(value) + " on card " + card +
           (channel == Channel::Group ? " IMA group " : " port ") + std::to_string(port);
}

JobBindings BindingsOf(const Job& job, const FieldAccess& fields) {
    JobBindings bindings;
    const PageTable& page = job.page();
    const WalkSummary walk = Summarize(job);
    if (walk.lines == 0)
        return bindings;
    bindings.sides.reserve(2); // every page has two sides
    for (const SideRow& row : kSides) {
        if (row.slug != page.slug)
            continue;
        JobSide side;
        const auto vpi = FieldNumber(job, fields, row.vpi);
        if (!vpi)
            continue;
        EndpointBox box;
        box.channel = row.channel;
        if (row.channel == Channel::Port && (row.groupFormats >> job.format()) & 1u)
            box.channel = Channel::Group;
        box.vpi = {*vpi, *vpi};
        if (row.board.empty()) {
            // The subscriber ports of the chassis walk, with the modem's VPI/VCI.
            const auto vci = FieldNumber(job, fields, row.value);
            if (!vci)
                continue;
            box.value = {*vci, *vci};
            box.port = {0, std::int64_t{job.chassis().portCount} - 1};
            box.skipsSlots78 = true;
            for (const CardBlock& block : ChassisBlocks(job.chassis())) {
                box.board = {block.boardFirst, block.boardLast};
                box.slot = {block.slotFirst, block.slotLast};
                side.boxes.push_back(box);
            }
        } else {
            const auto board = FieldNumber(job, fields, row.board);
            const auto slot = FieldNumber(job, fields, row.slot);
            const auto port = FieldNumber(job, fields, row.port);
            if (!board || !slot || !port)
                continue;
            box.board = {*board, *board};
            box.slot = {*slot, *slot};
            box.port = {*port, *port};
            Intervals values;
            if (row.walkValue == WalkValue::Step)
                values = {{{{walk.first.step, walk.last.step}}}, 1};
            else
                values = CounterIntervals(walk.first.counter, walk.lines, &side.wrapsAround);
            side.boxes.reserve(values.count);
            for (const Interval& v : values) {
                box.value = v;
                side.boxes.push_back(box);
            }
        }
        bindings.sides.push_back(std::move(side));
    }
    return bindings;
}

ConflictReport FindConflicts(std::span<const JobBindings> jobs, std::size_t limit,
                             std::size_t foreignFrom) {
    // Every box with its owner, grouped by channel and VPI (each box has one VPI), then
    // swept in order of their first value: a box is compared only with the boxes before
    // it whose values reach it (the active ones), so disjoint jobs cost n log n.
    struct Owned {
        const EndpointBox* box;
        std::uint32_t job, side, index;
    };
    std::map<std::pair<Channel, std::int64_t>, std::vector<Owned>> buckets;
    ConflictReport report;
    std::vector<Conflict> all;
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        for (std::size_t s = 0; s < jobs[j].sides.size(); ++s) {
            const JobSide& side = jobs[j].sides[s];
            for (std::size_t i = 0; i < side.boxes.size(); ++i) {
                const EndpointBox& box = side.boxes[i];
                buckets[{box.channel, box.vpi.first}].push_back(
                    {&box, static_cast<std::uint32_t>(j), static_cast<std::uint32_t>(s),
                     static_cast<std::uint32_t>(i)});
            }
            if (side.wrapsAround && !side.boxes.empty()) {
                const EndpointBox& b = side.boxes.front();
                all.push_back({j, j,
                               DescribeEndpoint(b.channel, b.board.first, b.slot.first,
                                                b.port.first, b.vpi.first, b.value.first),
                               EndpointAt{b.board.first, b.slot.first, b.port.first, b.vpi.first,
                                          b.value.first},
                               static_cast<std::uint32_t>(s), true});
            }
        }
    }
    // Per pair of sides (first the lower job): the first common endpoint found, in the
    // walk order of the first side.
    using PairKey = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;
    struct Found {
        std::uint32_t index;
        Point point;
        Channel channel;
    };
    std::map<PairKey, Found> found;
    // Every pair is sought while fewer than `limit` have been found. Past that, each box
    // stops at the first box before it that it meets: every job in conflict is still
    // found (with one partner at least), and jobs that all bind one endpoint cost
    // n log n rather than n squared in time and memory.
    bool exhaustive = true;
    for (auto& [key, boxes] : buckets) {
        // Sweep along the range in which the boxes overlap least: the VCIs of far sides
        // that all start at 32 overlap, their ports do not; the boards of subscriber
        // ranges do not overlap, their VCIs (the modem's) all do.
        const Interval EndpointBox::*sweep = SweepDimension(boxes);
        std::stable_sort(boxes.begin(), boxes.end(), [sweep](const Owned& a, const Owned& b) {
            return (a.box->*sweep).first < (b.box->*sweep).first;
        });
        // The boxes whose range still reaches the sweep, in sweep order (positions in
        // `boxes`), and a heap that hands out the one whose range ends first.
        std::vector<std::size_t> active;
        std::vector<char> gone(boxes.size(), 0);
        std::size_t goneCount = 0;
        using Ends = std::pair<std::int64_t, std::size_t>;
        std::priority_queue<Ends, std::vector<Ends>, std::greater<Ends>> ends;
        for (std::size_t k = 0; k < boxes.size(); ++k) {
            const Owned& b = boxes[k];
            const std::int64_t first = (b.box->*sweep).first;
            while (!ends.empty() && ends.top().first < first) {
                gone[ends.top().second] = 1;
                ++goneCount;
                ends.pop();
            }
            if (goneCount * 2 > active.size()) {
                std::erase_if(active, [&gone](std::size_t i) { return gone[i] != 0; });
                goneCount = 0;
                for (std::size_t i : active)
                    goneCount += gone[i];
            }
            for (std::size_t i : active) {
                if (gone[i])
                    continue;
                const Owned* a = &boxes[i];
                const Owned* c = &b;
                if (a->job == c->job && a->side == c->side)
                    continue; // the boxes of one side never meet (but for the wrap above)
                if (a->job >= foreignFrom && c->job >= foreignFrom)
                    continue; // what the device holds is not judged against itself
                if (std::tie(c->job, c->side) < std::tie(a->job, a->side))
                    std::swap(a, c);
                const std::optional<Point> point = FirstCommon(*a->box, *c->box);
                if (!point)
                    continue;
                const PairKey pair{a->job, c->job, a->side, c->side};
                auto it = found.find(pair);
                if (it == found.end())
                    found.emplace(pair, Found{a->index, *point, a->box->channel});
                else if (std::tie(a->index, *point) < std::tie(it->second.index, it->second.point))
                    it->second = {a->index, *point, a->box->channel};
                if (found.size() + all.size() >= limit)
                    exhaustive = false;
                if (!exhaustive)
                    break;
            }
            active.push_back(k);
            ends.push({(b.box->*sweep).last, k});
        }
    }
    for (const auto& [pair, f] : found) {
        const Point& p = f.point;
        all.push_back({std::get<0>(pair), std::get<1>(pair),
                       DescribeEndpoint(f.channel, p.board, p.slot, p.port, p.vpi, p.value),
                       EndpointAt{p.board, p.slot, p.port, p.vpi, p.value}, std::get<3>(pair),
                       false});
    }
    std::stable_sort(all.begin(), all.end(), [](const Conflict& a, const Conflict& b) {
        return std::tie(a.first, a.second) < std::tie(b.first, b.second);
    });
    if (all.size() > limit) {
        report.more = all.size() - limit;
        all.resize(limit);
    }
    report.listed = std::move(all);
    report.atLeast = !exhaustive;
    return report;
}

} // namespace zd7240
