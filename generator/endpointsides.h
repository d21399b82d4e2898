#pragma once
// Which endpoints each side of a page's lines binds: the table that both the check
// across jobs and the reader of a device's running configuration read.

#include <string_view>

#include "pagetable.h"
#include "rangecheck.h"

namespace zd7240::sides {

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

inline constexpr WalkValue kCounter = WalkValue::Counter;
inline constexpr WalkValue kStep = WalkValue::Step;
inline constexpr Channel P = Channel::Port;
inline constexpr Channel V = Channel::Vlan;
inline constexpr CardKind kAdsl = CardKind::Adsl;
inline constexpr CardKind kLan = CardKind::Lan;
inline constexpr CardKind kMmx = CardKind::Mmx;
inline constexpr CardKind kCes = CardKind::Ces;
inline constexpr CardKind kAiu = CardKind::Aiu;

inline constexpr SideRow kSides[] = {
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

} // namespace zd7240::sides
