#pragma once
// Range checks across jobs: which jobs would bind the same endpoint twice. An endpoint
// is what one line takes on the device: a VPI/VCI on a port (or IMA group) of a card,
// or a VLAN id on a Lan card. A job binds whole ranges of them, so each job is held as
// a few boxes (ranges of board, slot, port, VPI and VCI or VLAN id) and the check
// intersects boxes: a job of billions of lines costs no more than one of ten.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zd7240 {

class FieldAccess;
class Job;

enum class Channel : std::uint8_t {
    Port,  // a VPI/VCI on a port of a card (an ADSL port, an optical or Ces port)
    Group, // a VPI/VCI on an IMA group of a card
    Vlan,  // a VLAN id on a Lan card
};

struct Interval {
    std::int64_t first = 0;
    std::int64_t last = -1;
};

// A set of endpoints: every combination of the five ranges, on one channel. Where the
// box comes from a chassis walk, slots 7 and 8 are not part of it.
struct EndpointBox {
    Channel channel = Channel::Port;
    bool skipsSlots78 = false;
    Interval board, slot, port, vpi, value;
};

// One side of a job's lines (the subscriber port, the far-side card, the Lan card):
// its boxes in walk order.
struct JobSide {
    std::vector<EndpointBox> boxes;
    // More than 2^32 lines: the 32-bit counter comes round and binds its values twice.
    bool wrapsAround = false;
};

struct JobBindings {
    std::vector<JobSide> sides;
};

// The endpoints of a job that passed the check and the conversion. Expects
// Job::SelectFormat to have been called. Copied fields too long for 64 bits take no part.
JobBindings BindingsOf(const Job& job, const FieldAccess& fields);

// One endpoint, as the five ranges of a box hold it.
struct EndpointAt {
    std::int64_t board = 0, slot = 0, port = 0, vpi = 0, value = 0;
};

struct Conflict {
    std::size_t first = 0;        // job index
    std::size_t second = 0;       // job index; equal to `first` for two ranges of one job
    std::string endpoint;         // the first endpoint both bind, in the first job's walk order
    EndpointAt at;                // that endpoint
    std::uint32_t secondSide = 0; // the side of `second` that binds it
    bool wrapsAround = false;
};

// The pairs of job sides that bind a common endpoint, once per pair, ordered by job: the
// first `limit` of them, and how many more were found. While fewer than `limit` are
// found every pair is sought; past that, each range is paired with the first range
// before it that it meets, so that every job in conflict is still named while jobs
// that all bind one endpoint cost n log n, not n squared (`more` is then a least count).
struct ConflictReport {
    std::vector<Conflict> listed;
    std::size_t more = 0;
    bool atLeast = false; // not every pair was sought: `more` is a least count
};
// Jobs from `foreignFrom` on are lines a device already holds: they are held against
// the jobs before them, never against each other.
ConflictReport FindConflicts(std::span<const JobBindings> jobs,
                             std::size_t limit = static_cast<std::size_t>(-1),
                             std::size_t foreignFrom = static_cast<std::size_t>(-1));

// The kinds of card a slot of the shelf holds.
enum class CardKind : std::uint8_t { Adsl, Lan, Mmx, Ces, Aiu };

// "Adsl", "Lan", ...: how messages name a kind of card.
std::string_view CardName(CardKind kind);
// The kind a word names ("lan", in any letter case); nothing for another word.
std::optional<CardKind> CardKindNamed(std::string_view word);

struct SlotId {
    std::int64_t board = 0;
    std::int64_t slot = 0;
    auto operator<=>(const SlotId&) const = default;
};

// Which card sits in which slot; slots not in the map are not known.
using Chassis = std::map<SlotId, CardKind>;

// The shape of a shelf: slots 0..slots-1 on every board, of which 7 and 8 never hold an
// Adsl card, and, where the job file says so, the ports of an Adsl card.
struct ChassisShape {
    std::int64_t slots = 16;
    std::int64_t ports = 0; // 0: not said
};

// What the endpoints of a job say against the chassis, one sentence each.
struct ChassisFindingList {
    // Always refused: the Adsl walk passing a slot that holds another kind of card, a
    // far-side card field naming a slot that holds another kind of card.
    std::vector<std::string> faults;
    // Refused under --strict, warnings otherwise: a slot the chassis does not name (the
    // first such slot of a walk; only when it names slots at all), a slot beyond its
    // shape, more ports a card than its Adsl cards have.
    std::vector<std::string> loose;
};

// Expects Job::SelectFormat to have been called; a job that writes no line binds
// nothing and is not judged.
ChassisFindingList ChassisFindings(const Job& job, const FieldAccess& fields,
                                   const Chassis& chassis, const ChassisShape& shape = {});

std::string DescribeEndpoint(Channel channel, std::int64_t board, std::int64_t slot,
                             std::int64_t port, std::int64_t vpi, std::int64_t value);

} // namespace zd7240
