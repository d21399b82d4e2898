#include "rangecheck.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <string_view>
#include <tuple>

#include "frame.h"
#include "rangemath.h"

namespace zd7240 {

namespace {

// Where the endpoints of one side of a page's lines come from. Empty board, slot and
// port: the subscriber port of the chassis walk. An empty value: the walk value named by
// `walkValue`. `groupFormats` has bit F set when line format F addresses an IMA group
// rather than a port.
struct SideRow {
    std::string_view slug;
    CardKind card;
    Channel channel;
    std::string_view board, slot, port, vpi, value;
    WalkValue walkValue;
    unsigned groupFormats;
};

constexpr WalkValue kCounter = WalkValue::Counter;
constexpr WalkValue kStep = WalkValue::Step;
constexpr Channel P = Channel::Port;
constexpr Channel V = Channel::Vlan;
constexpr CardKind kAdsl = CardKind::Adsl;
constexpr CardKind kLan = CardKind::Lan;
constexpr CardKind kMmx = CardKind::Mmx;
constexpr CardKind kCes = CardKind::Ces;
constexpr CardKind kAiu = CardKind::Aiu;

constexpr SideRow kSides[] = {
    {"adsl-mmx", kAdsl, P, "", "", "", "modem-vpi", "modem-vci", kCounter, 0},
    {"adsl-mmx", kMmx, P, "mmx-board", "mmx-slot", "mmx-port", "mmx-vpi", "", kCounter, 0b10},
    {"adsl-aiu", kAdsl, P, "", "", "", "modem-vpi", "modem-vci", kCounter, 0},
    {"adsl-aiu", kAiu, P, "aiu-board", "aiu-slot", "aiu-port", "aiu-vpi", "", kCounter, 0b10},
    {"adsl-ces", kAdsl, P, "", "", "", "modem-vpi", "modem-vci", kCounter, 0},
    {"adsl-ces", kCes, P, "ces-board", "ces-slot", "ces-port", "ces-vpi", "", kCounter, 0},
    {"adsl-lan", kAdsl, P, "", "", "", "modem-vpi", "modem-vci", kCounter, 0},
    {"adsl-lan", kLan, V, "lan-board", "lan-slot", "", "", "", kCounter, 0},
    {"lan-mmx", kLan, V, "lan-board", "lan-slot", "", "", "", kStep, 0},
    {"lan-mmx", kMmx, P, "mmx-board", "mmx-slot", "mmx-port", "vpi", "", kCounter, 0b10},
    {"lan-ces", kLan, V, "lan-board", "lan-slot", "", "", "", kStep, 0},
    {"lan-ces", kCes, P, "ces-board", "ces-slot", "ces-port", "vpi", "", kCounter, 0},
    {"lan-aiu", kLan, V, "lan-board", "lan-slot", "", "", "", kStep, 0},
    {"lan-aiu", kAiu, P, "aiu-board", "aiu-slot", "aiu-port", "vpi", "", kCounter, 0b10},
    // Formats of Aiu-Mmx: optic/optic, ima/optic, optic/ima, ima/ima.
    {"aiu-mmx", kAiu, P, "aiu-board", "aiu-slot", "aiu-port", "aiu-vpi", "", kStep, 0b1010},
    {"aiu-mmx", kMmx, P, "mmx-board", "mmx-slot", "mmx-port", "mmx-vpi", "", kCounter, 0b1100},
};

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

std::vector<std::string> ChassisFindings(const Job& job, const FieldAccess& fields,
                                         const Chassis& chassis, bool strict) {
    std::vector<std::string> findings;
    const PageTable& page = job.page();
    if (Summarize(job).lines == 0)
        return findings;
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
                    findings.push_back(walk + " passes slot " + CardText(id.board, id.slot) +
                                       ", which holds " + ACard(kind));
            }
            if (strict) {
                if (const auto unnamed = FirstUnnamed(blocks, chassis))
                    findings.push_back(walk + " passes slot " +
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
        const auto it = chassis.find({*board, *slot});
        if (it == chassis.end()) {
            if (strict)
                findings.push_back(where + " is a slot the chassis does not name");
        } else if (it->second != row.card) {
            findings.push_back(where + " holds " + ACard(it->second) + ", not " + ACard(row.card));
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

std::vector<Conflict> FindConflicts(std::span<const JobBindings> jobs) {
    // Every box with its owner, grouped by channel and VPI (each box has one VPI), then
    // swept in order of their first value: only boxes whose values meet are compared.
    struct Owned {
        const EndpointBox* box;
        std::uint32_t job, side, index;
    };
    std::map<std::pair<Channel, std::int64_t>, std::vector<Owned>> buckets;
    std::vector<Conflict> conflicts;
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
                conflicts.push_back({j, j,
                                     DescribeEndpoint(b.channel, b.board.first, b.slot.first,
                                                      b.port.first, b.vpi.first, b.value.first),
                                     true});
            }
        }
    }
    // Per pair of sides (first the lower job): the first common endpoint in the walk
    // order of the first side.
    using PairKey = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;
    struct Found {
        std::uint32_t index;
        Point point;
        Channel channel;
    };
    std::map<PairKey, Found> found;
    for (auto& [key, boxes] : buckets) {
        // Sweep along the range in which the boxes overlap least: the VCIs of far sides
        // that all start at 32 overlap, their ports do not; the boards of subscriber
        // ranges do not overlap, their VCIs (the modem's) all do.
        const Interval EndpointBox::*sweep = SweepDimension(boxes);
        std::sort(boxes.begin(), boxes.end(), [sweep](const Owned& a, const Owned& b) {
            return (a.box->*sweep).first < (b.box->*sweep).first;
        });
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const std::int64_t last = (boxes[i].box->*sweep).last;
            for (std::size_t k = i + 1; k < boxes.size() && (boxes[k].box->*sweep).first <= last;
                 ++k) {
                const Owned* a = &boxes[i];
                const Owned* b = &boxes[k];
                if (a->job == b->job && a->side == b->side)
                    continue; // the boxes of one side never meet (but for the wrap above)
                if (std::tie(b->job, b->side) < std::tie(a->job, a->side))
                    std::swap(a, b);
                const std::optional<Point> point = FirstCommon(*a->box, *b->box);
                if (!point)
                    continue;
                const PairKey pair{a->job, b->job, a->side, b->side};
                auto it = found.find(pair);
                if (it == found.end() ||
                    std::tie(a->index, *point) < std::tie(it->second.index, it->second.point))
                    found[pair] = {a->index, *point, a->box->channel};
            }
        }
    }
    for (const auto& [pair, f] : found) {
        const Point& p = f.point;
        conflicts.push_back({std::get<0>(pair), std::get<1>(pair),
                             DescribeEndpoint(f.channel, p.board, p.slot, p.port, p.vpi, p.value),
                             false});
    }
    std::stable_sort(conflicts.begin(), conflicts.end(), [](const Conflict& a, const Conflict& b) {
        return std::tie(a.first, a.second) < std::tie(b.first, b.second);
    });
    return conflicts;
}

} // namespace zd7240
