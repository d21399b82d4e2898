// The tables of the eight link-type pages. Field order is the order in which the
// "Default" button sets the texts; checkOrder is the order of the input check.

#include "pagetable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <mutex>

namespace zd7240 {

namespace {

// A line format written as the line reads: literal text, {board}, {slot}, {port},
// {step} and {counter} for the values of the walk, {suiEditN} for a copied field.
template <std::size_t N> struct LineText {
    char text[N];
    consteval LineText(const char (&literal)[N]) { std::copy_n(literal, N, text); }
    constexpr std::string_view view() const { return {text, N - 1}; }
};

struct WalkName {
    std::string_view name;
    WalkValue value;
};
constexpr WalkName kWalkNames[] = {{"board", WalkValue::Board},
                                   {"slot", WalkValue::Slot},
                                   {"port", WalkValue::Port},
                                   {"step", WalkValue::Step},
                                   {"counter", WalkValue::Counter}};

consteval std::size_t CountPieces(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const std::size_t next = text[i] == '{' ? text.find('}', i) : text.find('{', i);
        if (text[i] == '{' && next == std::string_view::npos)
            throw "a line format has a '{' without its '}'";
        i = next == std::string_view::npos ? text.size() : next + (text[i] == '{');
    }
    return count;
}

template <LineText Text>
constexpr auto kLine = [] {
    constexpr std::string_view text = Text.view();
    std::array<Piece, CountPieces(text)> pieces{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++n) {
        if (text[i] != '{') {
            const std::size_t next = std::min(text.find('{', i), text.size());
            pieces[n] = {PieceKind::Literal, text.substr(i, next - i), WalkValue::Counter};
            i = next;
            continue;
        }
        const std::size_t close = text.find('}', i);
        const std::string_view name = text.substr(i + 1, close - i - 1);
        pieces[n] = {PieceKind::Field, name, WalkValue::Counter};
        for (const WalkName& walk : kWalkNames) {
            if (walk.name == name)
                pieces[n] = {PieceKind::Value, {}, walk.value};
        }
        i = close + 1;
    }
    return pieces;
}();

constexpr FieldRole Copy = FieldRole::Copied;
constexpr FieldRole Num = FieldRole::Numeric;
constexpr FieldRole End = FieldRole::End;

// Sanity hints (hints.h): what the device accepts in the field.
constexpr FieldHint Vlan = FieldHint::VlanId;
constexpr FieldHint Vpi = FieldHint::Vpi;
constexpr FieldHint Vci = FieldHint::Vci;
constexpr FieldHint Slot78 = FieldHint::ChassisSlot;
constexpr FieldHint Ports = FieldHint::PortCount;

constexpr std::string_view kTraffic = "Traffice Information ";
constexpr std::string_view kOptic = "Card type is Optic";
constexpr std::string_view kIma = "Card type is Ima";
constexpr std::string_view kCesUni = "Card type is Ces-uni";
constexpr std::string_view kCesUdt = "Card type is Ces-udt";

constexpr Rect kDefaultButtonRect{152, 440, 80, 27};
constexpr Rect kMakeButtonRect{288, 440, 80, 27};

// ---------------------------------------------------------------------------------
// Adsl--Mmx: every ADSL port of a range of cards to one VCI on the Mmx card.

constexpr GroupRow kAdslMmxGroups[] = {
    {"suiGroupBox1", "Start adsl card information", "", {18, 8, 215, 105}, 0},
    {"suiGroupBox2", "End adsl card information", "", {18, 120, 215, 105}, 1},
    {"suiGroupBox3", "Modem's Vpi/Vci", "", {18, 232, 215, 105}, 2},
    {"suiGroupBox5", "Default adsl port number per card", "", {16, 344, 489, 41}, 3},
    {"suiGroupBox4", "Mmx card information", "", {288, 8, 218, 329}, 4},
    {"suiGroupBox28", kTraffic, "", {16, 392, 489, 41}, 5},
    {"suiGroupBox6", kOptic, "suiGroupBox4", {}, 0},
};

constexpr FieldRow kAdslMmxFields[] = {
    {"suiEdit1", "start-board", "suiGroupBox1", "Board id:", "", "", 1, Num},
    {"suiEdit2", "start-slot", "suiGroupBox1", "Slot id:", "", "", 2, Num, Slot78},
    {"suiEdit3", "end-board", "suiGroupBox2", "Board id:", "", "", 3, Num},
    {"suiEdit4", "end-slot", "suiGroupBox2", "Slot id:", "", "", 4, Num, Slot78},
    {"suiEdit5", "modem-vpi", "suiGroupBox3", "Vpi:", "0", "0", 5, Copy, Vpi},
    {"suiEdit6", "modem-vci", "suiGroupBox3", "Vci:", "35", "35", 6, Copy, Vci},
    {"suiEdit7", "mmx-board", "suiGroupBox4", "Board id:", "0", "0", 7, Copy},
    {"suiEdit8", "mmx-slot", "suiGroupBox4", "Slot id:", "7", "7", 8, Copy},
    {"suiEdit9", "mmx-port", "suiGroupBox4", "Port id:", "0", "0", 9, Copy},
    {"suiEdit10", "mmx-vpi", "suiGroupBox6", "Vpi:", "", "", 10, Copy, Vpi},
    {"suiEdit11", "start-vci", "suiGroupBox6", "Start Vci:", "", "", 11, Num, Vci},
    {"suiEdit12", "end-vci", "suiGroupBox6", "End Vci:", "", "", 0, End, Vci},
    {"suiEdit13", "port-number", "suiGroupBox5", "Port number:", "32", "32", 12, Num, Ports},
    {"suiEdit37", "rx-cttr", "suiGroupBox28", "<Rx-cttr>:", "1", "1", 13, Copy},
    {"suiEdit38", "tx-cttr", "suiGroupBox28", "<Tx-cttr>:", "1", "1", 14, Copy},
    {"suiEdit39", "rx-upc", "suiGroupBox28", "<Rx[UPC/EPD/PPD]>:", "000", "000", 15, Copy},
    {"suiEdit40", "tx-upc", "suiGroupBox28", "<Tx[UPC/EPD/PPD]>:", "000", "000", 16, Copy},
};

constexpr SelectorRow kAdslMmxSelectors[] = {
    {"suiComboBox1",
     "card-type",
     "suiComboBox1Change",
     "suiGroupBox4",
     {"Optic", "Ima"},
     "suiGroupBox6",
     {kOptic, kIma},
     {"suiEdit9", "Label10", "Port id:", "Label19", "Group id:"}},
};

constexpr std::string_view kAdslMmxWalk[] = {"suiEdit1", "suiEdit2",  "suiEdit3",
                                             "suiEdit4", "suiEdit13", "suiEdit11"};

constexpr LineFormat kAdslMmxFormats[] = {
    kLine<"pvc adsl {board}/{slot}/{port} vpi {suiEdit5} {suiEdit6} atm "
          "{suiEdit7}/{suiEdit8}/{suiEdit9} optic {suiEdit10} {counter} "
          "{suiEdit37} {suiEdit38} {suiEdit39} {suiEdit40}">,
    kLine<"pvc adsl {board}/{slot}/{port} vpi {suiEdit5} {suiEdit6} atm "
          "{suiEdit7}/{suiEdit8}/{suiEdit9} ima {suiEdit10} {counter} "
          "{suiEdit37} {suiEdit38} {suiEdit39} {suiEdit40}">};

constexpr std::string_view kEndVciNote1 = "You can't change the End Vci value.";
constexpr std::string_view kEndVciNote2 = "The End Vci will be calculated by pc. ";
constexpr std::string_view kCardTypeIs = "The card type is: ";
constexpr std::string_view kEthernet = "The card type is Ethernet.";
constexpr std::string_view kPortNote = "The port number per card can be changed!";

constexpr NoteRow kAdslMmxNotes[] = {
    {"suiGroupBox4", kCardTypeIs},
    {"suiGroupBox6", kEndVciNote1},
    {"suiGroupBox6", kEndVciNote2},
    {"suiGroupBox5", kPortNote},
};

// ---------------------------------------------------------------------------------
// Adsl--Aiu: as Adsl--Mmx, towards the Aiu card, whose address starts empty.

constexpr GroupRow kAdslAiuGroups[] = {
    {"suiGroupBox7", "Start adsl card information", "", {18, 8, 215, 105}, 0},
    {"suiGroupBox8", "End adsl card information", "", {18, 120, 215, 105}, 1},
    {"suiGroupBox9", "Modem's Vpi/Vci", "", {18, 232, 215, 105}, 2},
    {"suiGroupBox10", "Default adsl port number per card", "", {16, 344, 489, 41}, 3},
    {"suiGroupBox11", "Aiu card information", "", {288, 8, 217, 329}, 4},
    {"suiGroupBox38", kTraffic, "", {16, 392, 489, 41}, 5},
    {"suiGroupBox12", kOptic, "suiGroupBox11", {}, 0},
};

constexpr FieldRow kAdslAiuFields[] = {
    {"suiEdit14", "start-board", "suiGroupBox7", "Board id:", "", "", 1, Num},
    {"suiEdit15", "start-slot", "suiGroupBox7", "Slot id:", "", "", 2, Num, Slot78},
    {"suiEdit16", "end-board", "suiGroupBox8", "Board id:", "", "", 3, Num},
    {"suiEdit17", "end-slot", "suiGroupBox8", "Slot id:", "", "", 4, Num, Slot78},
    {"suiEdit18", "modem-vpi", "suiGroupBox9", "Vpi:", "0", "0", 5, Copy, Vpi},
    {"suiEdit19", "modem-vci", "suiGroupBox9", "Vci:", "35", "35", 6, Copy, Vci},
    {"suiEdit20", "port-number", "suiGroupBox10", "Port number:", "32", "32", 7, Num, Ports},
    {"suiEdit21", "aiu-board", "suiGroupBox11", "Board id:", "", "", 8, Copy},
    {"suiEdit22", "aiu-slot", "suiGroupBox11", "Slot id:", "", "", 9, Copy},
    {"suiEdit23", "aiu-port", "suiGroupBox11", "Port id:", "", "", 10, Copy},
    {"suiEdit24", "aiu-vpi", "suiGroupBox12", "Vpi:", "", "", 11, Copy, Vpi},
    {"suiEdit25", "start-vci", "suiGroupBox12", "Start Vci:", "", "", 12, Num, Vci},
    {"suiEdit26", "end-vci", "suiGroupBox12", "End Vci:", "", "", 0, End, Vci},
    {"suiEdit51", "rx-cttr", "suiGroupBox38", "<Rx-cttr>:", "1", "1", 13, Copy},
    {"suiEdit52", "tx-cttr", "suiGroupBox38", "<Tx-cttr>:", "1", "1", 14, Copy},
    {"suiEdit53", "rx-upc", "suiGroupBox38", "<Rx[UPC/EPD/PPD]>:", "000", "000", 15, Copy},
    {"suiEdit54", "tx-upc", "suiGroupBox38", "<Tx[UPC/EPD/PPD]>:", "000", "000", 16, Copy},
};

constexpr SelectorRow kAdslAiuSelectors[] = {
    {"suiComboBox3",
     "card-type",
     "suiComboBox3Change",
     "suiGroupBox11",
     {"Optic", "Ima"},
     "suiGroupBox12",
     {kOptic, kIma},
     {"suiEdit23", "Label33", "Port id:", "Label46", "Group id:"}},
};

constexpr std::string_view kAdslAiuWalk[] = {"suiEdit14", "suiEdit15", "suiEdit16",
                                             "suiEdit17", "suiEdit20", "suiEdit25"};

constexpr LineFormat kAdslAiuFormats[] = {
    kLine<"pvc adsl {board}/{slot}/{port} vpi {suiEdit18} {suiEdit19} aiu "
          "{suiEdit21}/{suiEdit22}/{suiEdit23} optic {suiEdit24} {counter} "
          "{suiEdit51} {suiEdit52} {suiEdit53} {suiEdit54}">,
    kLine<"pvc adsl {board}/{slot}/{port} vpi {suiEdit18} {suiEdit19} aiu "
          "{suiEdit21}/{suiEdit22}/{suiEdit23} ima {suiEdit24} {counter} "
          "{suiEdit51} {suiEdit52} {suiEdit53} {suiEdit54}">};

constexpr NoteRow kAdslAiuNotes[] = {
    {"suiGroupBox11", kCardTypeIs},
    {"suiGroupBox12", kEndVciNote1},
    {"suiGroupBox12", kEndVciNote2},
    {"suiGroupBox10", kPortNote},
};

// ---------------------------------------------------------------------------------
// Adsl--Ces: every ADSL port to one VCI on a port of the Ces card.

constexpr GroupRow kAdslCesGroups[] = {
    {"suiGroupBox13", "Start adsl card information", "", {18, 8, 215, 105}, 0},
    {"suiGroupBox14", "End adsl card information", "", {18, 120, 215, 105}, 1},
    {"suiGroupBox15", "Modem's Vpi/Vci", "", {18, 232, 215, 105}, 2},
    {"suiGroupBox16", "Default adsl port number per card", "", {16, 344, 489, 41}, 3},
    {"suiGroupBox17", "Ces card information", "", {288, 8, 218, 329}, 4},
    {"suiGroupBox29", kTraffic, "", {16, 392, 489, 41}, 5},
    {"suiGroupBox18", kCesUni, "suiGroupBox17", {}, 0},
};

constexpr FieldRow kAdslCesFields[] = {
    {"suiEdit201", "start-board", "suiGroupBox13", "Board id:", "", "", 1, Num},
    {"suiEdit202", "start-slot", "suiGroupBox13", "Slot id:", "", "", 2, Num, Slot78},
    {"suiEdit203", "end-board", "suiGroupBox14", "Board id:", "", "", 3, Num},
    {"suiEdit204", "end-slot", "suiGroupBox14", "Slot id:", "", "", 4, Num, Slot78},
    {"suiEdit205", "modem-vpi", "suiGroupBox15", "Vpi:", "0", "0", 5, Copy, Vpi},
    {"suiEdit206", "modem-vci", "suiGroupBox15", "Vci:", "35", "35", 6, Copy, Vci},
    {"suiEdit207", "ces-board", "suiGroupBox17", "Board id:", "", "", 7, Copy},
    {"suiEdit208", "ces-slot", "suiGroupBox17", "Slot id:", "", "", 8, Copy},
    {"suiEdit209", "ces-port", "suiGroupBox17", "Port id:", "", "", 9, Copy},
    {"suiEdit210", "ces-vpi", "suiGroupBox18", "Vpi:", "", "", 10, Copy, Vpi},
    {"suiEdit211", "start-vci", "suiGroupBox18", "Start Vci:", "", "", 11, Num, Vci},
    {"suiEdit212", "end-vci", "suiGroupBox18", "End Vci:", "", "", 0, End, Vci},
    {"suiEdit213", "port-number", "suiGroupBox16", "Port number:", "32", "32", 12, Num, Ports},
    {"suiEdit41", "rx-cttr", "suiGroupBox29", "<Rx-cttr>:", "1", "1", 13, Copy},
    {"suiEdit42", "tx-cttr", "suiGroupBox29", "<Tx-cttr>:", "1", "1", 14, Copy},
};

constexpr SelectorRow kAdslCesSelectors[] = {
    {"suiComboBox2",
     "card-type",
     "suiComboBox2Change",
     "suiGroupBox17",
     {"Ces-uni", "Ces-udt"},
     "suiGroupBox18",
     {kCesUni, kCesUdt},
     {}},
};

constexpr std::string_view kAdslCesWalk[] = {"suiEdit201", "suiEdit202", "suiEdit203",
                                             "suiEdit204", "suiEdit213", "suiEdit211"};

constexpr LineFormat kAdslCesFormats[] = {
    kLine<"pvc adsl {board}/{slot}/{port} vpi {suiEdit205} {suiEdit206} ces-uni "
          "{suiEdit207}/{suiEdit208}/{suiEdit209} {suiEdit210} {counter} {suiEdit41} {suiEdit42}">,
    kLine<"pvc adsl {board}/{slot}/{port} vpi {suiEdit205} {suiEdit206} ces-udt "
          "{suiEdit207}/{suiEdit208}/{suiEdit209} {suiEdit210} {counter} {suiEdit41} {suiEdit42}">};

constexpr NoteRow kAdslCesNotes[] = {
    {"suiGroupBox17", kCardTypeIs},
    {"suiGroupBox18", kEndVciNote1},
    {"suiGroupBox18", kEndVciNote2},
    {"suiGroupBox16", kPortNote},
};

// ---------------------------------------------------------------------------------
// Adsl--Lan: every ADSL port to one VLAN of the Ethernet card.

constexpr GroupRow kAdslLanGroups[] = {
    {"suiGroupBox19", "Start adsl card information", "", {18, 8, 215, 105}, 0},
    {"suiGroupBox20", "End adsl card information", "", {18, 120, 215, 105}, 1},
    {"suiGroupBox21", "Modem's Vpi/Vci", "", {18, 232, 215, 105}, 2},
    {"suiGroupBox22", "Default adsl port number per card", "", {16, 344, 489, 41}, 3},
    {"suiGroupBox23", "Lan card information", "", {288, 8, 218, 329}, 4},
    {"suiGroupBox35", kTraffic, "", {16, 392, 489, 41}, 5},
};

constexpr FieldRow kAdslLanFields[] = {
    {"suiEdit301", "start-board", "suiGroupBox19", "Board id:", "", "", 1, Num},
    {"suiEdit302", "start-slot", "suiGroupBox19", "Slot id:", "", "", 2, Num, Slot78},
    {"suiEdit303", "end-board", "suiGroupBox20", "Board id:", "", "", 3, Num},
    {"suiEdit304", "end-slot", "suiGroupBox20", "Slot id:", "", "", 4, Num, Slot78},
    {"suiEdit305", "modem-vpi", "suiGroupBox21", "Vpi:", "0", "0", 5, Copy, Vpi},
    {"suiEdit306", "modem-vci", "suiGroupBox21", "Vci:", "35", "35", 6, Copy, Vci},
    {"suiEdit307", "lan-board", "suiGroupBox23", "Board id:", "", "", 7, Copy},
    {"suiEdit308", "lan-slot", "suiGroupBox23", "Slot id:", "", "", 8, Copy},
    {"suiEdit309", "start-vlan", "suiGroupBox23", "Start Vlan id:", "", "", 9, Num, Vlan},
    {"suiEdit310", "end-vlan", "suiGroupBox23", "End Vlan id:", "", "", 0, End, Vlan},
    {"suiEdit311", "port-number", "suiGroupBox22", "Port number:", "32", "32", 10, Num, Ports},
    {"suiEdit43", "rx-cttr", "suiGroupBox35", "<Rx-cttr>:", "1", "1", 11, Copy},
    {"suiEdit44", "tx-cttr", "suiGroupBox35", "<Tx-cttr>:", "1", "1", 12, Copy},
};

constexpr std::string_view kAdslLanWalk[] = {"suiEdit301", "suiEdit302", "suiEdit303",
                                             "suiEdit304", "suiEdit311", "suiEdit309"};

constexpr LineFormat kAdslLanFormats[] = {
    kLine<"pvc adsl {board}/{slot}/{port} vpi {suiEdit305} {suiEdit306} lan "
          "{suiEdit307}/{suiEdit308} vlanid {counter} off {suiEdit43} {suiEdit44}">};

constexpr NoteRow kAdslLanNotes[] = {
    {"suiGroupBox23", kEthernet},
    {"suiGroupBox23", "You can't change the End Vlan value."},
    {"suiGroupBox23", "The End Vlan id will be calculated by pc. "},
    {"suiGroupBox22", kPortNote},
};

// ---------------------------------------------------------------------------------
// Lan--Mmx, Lan--Ces, Lan--Aiu: a range of VLAN ids, one VCI each on the far card.

constexpr GroupRow kLanMmxGroups[] = {
    {"suiGroupBox24", "Lan card information", "", {16, 8, 217, 329}, 0},
    {"suiGroupBox30", "Mmx card information", "", {288, 8, 218, 329}, 1},
    {"suiGroupBox36", kTraffic, "", {16, 392, 489, 41}, 2},
    {"suiGroupBox31", kOptic, "suiGroupBox30", {}, 0},
};

constexpr FieldRow kLanMmxFields[] = {
    {"suiEdit401", "lan-board", "suiGroupBox24", "Board id:", "", "", 1, Copy},
    {"suiEdit402", "lan-slot", "suiGroupBox24", "Slot id:", "", "", 2, Copy},
    {"suiEdit403", "start-vlan", "suiGroupBox24", "Start Vlan id:", "", "", 3, Num, Vlan},
    {"suiEdit404", "end-vlan", "suiGroupBox24", "End Vlan id:", "", "", 4, Num, Vlan},
    {"suiEdit405", "mmx-board", "suiGroupBox30", "Board id:", "0", "0", 5, Copy},
    {"suiEdit406", "mmx-slot", "suiGroupBox30", "Slot id:", "7", "7", 6, Copy},
    {"suiEdit407", "mmx-port", "suiGroupBox30", "Port id:", "0", "0", 7, Copy},
    {"suiEdit408", "vpi", "suiGroupBox31", "Vpi:", "", "", 8, Copy, Vpi},
    {"suiEdit409", "start-vci", "suiGroupBox31", "Start Vci:", "", "", 9, Num, Vci},
    {"suiEdit410", "end-vci", "suiGroupBox31", "End Vci:", "", "", 0, End, Vci},
    {"suiEdit45", "rx-cttr", "suiGroupBox36", "<Rx-cttr>:", "1", "1", 10, Copy},
    {"suiEdit46", "tx-cttr", "suiGroupBox36", "<Tx-cttr>:", "1", "1", 11, Copy},
    {"suiEdit47", "rx-upc", "suiGroupBox36", "<Rx[UPC/EPD/PPD]>:", "000", "000", 12, Copy},
    {"suiEdit48", "tx-upc", "suiGroupBox36", "<Tx[UPC/EPD/PPD]>:", "000", "000", 13, Copy},
};

constexpr SelectorRow kLanMmxSelectors[] = {
    {"suiComboBox401",
     "card-type",
     "suiComboBox401Change",
     "suiGroupBox30",
     {"Optic", "Ima"},
     "suiGroupBox31",
     {kOptic, kIma},
     {"suiEdit407", "Label86", "Port id:", "Label20", "Group id:"}},
};

constexpr std::string_view kLanMmxWalk[] = {"suiEdit404", "suiEdit403", "suiEdit409"};

constexpr LineFormat kLanMmxFormats[] = {
    kLine<"pvc lan {suiEdit401}/{suiEdit402} vlanid {step} off atm "
          "{suiEdit405}/{suiEdit406}/{suiEdit407} optic {suiEdit408} {counter} "
          "{suiEdit45} {suiEdit46} {suiEdit47} {suiEdit48}">,
    kLine<"pvc lan {suiEdit401}/{suiEdit402} vlanid {step} off atm "
          "{suiEdit405}/{suiEdit406}/{suiEdit407} ima {suiEdit408} {counter} "
          "{suiEdit45} {suiEdit46} {suiEdit47} {suiEdit48}">};

constexpr NoteRow kLanMmxNotes[] = {
    {"suiGroupBox24", kEthernet},
    {"suiGroupBox30", kCardTypeIs},
    {"suiGroupBox31", kEndVciNote1},
    {"suiGroupBox31", kEndVciNote2},
};

// Lan--Ces

constexpr GroupRow kLanCesGroups[] = {
    {"suiGroupBox32", "Lan card information", "", {16, 8, 217, 329}, 0},
    {"suiGroupBox33", "Ces card information", "", {288, 8, 218, 329}, 1},
    {"suiGroupBox37", kTraffic, "", {16, 392, 489, 41}, 2},
    {"suiGroupBox34", kCesUni, "suiGroupBox33", {}, 0},
};

constexpr FieldRow kLanCesFields[] = {
    {"suiEdit601", "lan-board", "suiGroupBox32", "Board id:", "", "", 1, Copy},
    {"suiEdit602", "lan-slot", "suiGroupBox32", "Slot id:", "", "", 2, Copy},
    {"suiEdit603", "start-vlan", "suiGroupBox32", "Start Vlan id:", "", "", 3, Num, Vlan},
    {"suiEdit604", "end-vlan", "suiGroupBox32", "End Vlan id:", "", "", 4, Num, Vlan},
    {"suiEdit605", "ces-board", "suiGroupBox33", "Board id:", "", "", 5, Copy},
    {"suiEdit606", "ces-slot", "suiGroupBox33", "Slot id:", "", "", 6, Copy},
    {"suiEdit607", "ces-port", "suiGroupBox33", "Port id:", "", "", 7, Copy},
    {"suiEdit608", "vpi", "suiGroupBox34", "Vpi:", "", "", 8, Copy, Vpi},
    {"suiEdit609", "start-vci", "suiGroupBox34", "Start Vci:", "", "", 9, Num, Vci},
    {"suiEdit610", "end-vci", "suiGroupBox34", "End Vci:", "", "", 0, End, Vci},
    {"suiEdit49", "rx-cttr", "suiGroupBox37", "<Rx-cttr>:", "1", "1", 10, Copy},
    {"suiEdit50", "tx-cttr", "suiGroupBox37", "<Tx-cttr>:", "1", "1", 11, Copy},
};

constexpr SelectorRow kLanCesSelectors[] = {
    {"suiComboBox601",
     "card-type",
     "suiComboBox601Change",
     "suiGroupBox33",
     {"Ces-uni", "Ces-udt"},
     "suiGroupBox34",
     {kCesUni, kCesUdt},
     {}},
};

constexpr std::string_view kLanCesWalk[] = {"suiEdit604", "suiEdit603", "suiEdit609"};

constexpr LineFormat kLanCesFormats[] = {
    kLine<"pvc lan {suiEdit601}/{suiEdit602} vlanid {step} off ces-uni "
          "{suiEdit605}/{suiEdit606}/{suiEdit607} {suiEdit608} {counter} {suiEdit49} {suiEdit50}">,
    kLine<"pvc lan {suiEdit601}/{suiEdit602} vlanid {step} off ces-udt "
          "{suiEdit605}/{suiEdit606}/{suiEdit607} {suiEdit608} {counter} {suiEdit49} {suiEdit50}">};

constexpr NoteRow kLanCesNotes[] = {
    {"suiGroupBox32", kEthernet},
    {"suiGroupBox33", kCardTypeIs},
    {"suiGroupBox34", kEndVciNote1},
    {"suiGroupBox34", kEndVciNote2},
};

// Lan--Aiu

constexpr GroupRow kLanAiuGroups[] = {
    {"suiGroupBox25", "Lan card information", "", {16, 8, 217, 329}, 0},
    {"suiGroupBox26", "Aiu card information", "", {288, 8, 218, 329}, 1},
    {"suiGroupBox39", kTraffic, "", {16, 392, 489, 41}, 2},
    {"suiGroupBox27", kOptic, "suiGroupBox26", {}, 0},
};

constexpr FieldRow kLanAiuFields[] = {
    {"suiEdit27", "lan-board", "suiGroupBox25", "Board id:", "", "", 1, Copy},
    {"suiEdit28", "lan-slot", "suiGroupBox25", "Slot id:", "", "", 2, Copy},
    {"suiEdit29", "start-vlan", "suiGroupBox25", "Start Vlan id:", "", "", 3, Num, Vlan},
    {"suiEdit30", "end-vlan", "suiGroupBox25", "End Vlan id:", "", "", 4, Num, Vlan},
    {"suiEdit31", "aiu-board", "suiGroupBox26", "Board id:", "", "", 5, Copy},
    {"suiEdit32", "aiu-slot", "suiGroupBox26", "Slot id:", "", "", 6, Copy},
    {"suiEdit33", "aiu-port", "suiGroupBox26", "Port id:", "", "", 7, Copy},
    {"suiEdit34", "vpi", "suiGroupBox27", "Vpi:", "", "", 8, Copy, Vpi},
    {"suiEdit35", "start-vci", "suiGroupBox27", "Start Vci:", "", "", 9, Num, Vci},
    {"suiEdit36", "end-vci", "suiGroupBox27", "End Vci:", "", "", 0, End, Vci},
    {"suiEdit55", "rx-cttr", "suiGroupBox39", "<Rx-cttr>:", "1", "1", 10, Copy},
    {"suiEdit56", "tx-cttr", "suiGroupBox39", "<Tx-cttr>:", "1", "1", 11, Copy},
    {"suiEdit57", "rx-upc", "suiGroupBox39", "<Rx[UPC/EPD/PPD]>:", "000", "000", 12, Copy},
    {"suiEdit58", "tx-upc", "suiGroupBox39", "<Tx[UPC/EPD/PPD]>:", "000", "000", 13, Copy},
};

constexpr SelectorRow kLanAiuSelectors[] = {
    {"suiComboBox4",
     "card-type",
     "suiComboBox4Change",
     "suiGroupBox26",
     {"Optic", "Ima"},
     "suiGroupBox27",
     {kOptic, kIma},
     {"suiEdit33", "Label95", "Port id:", "Label97", "Group id:"}},
};

constexpr std::string_view kLanAiuWalk[] = {"suiEdit30", "suiEdit29", "suiEdit35"};

constexpr LineFormat kLanAiuFormats[] = {
    kLine<"pvc lan {suiEdit27}/{suiEdit28} vlanid {step} off aiu "
          "{suiEdit31}/{suiEdit32}/{suiEdit33} optic {suiEdit34} {counter} "
          "{suiEdit55} {suiEdit56} {suiEdit57} {suiEdit58}">,
    kLine<"pvc lan {suiEdit27}/{suiEdit28} vlanid {step} off aiu "
          "{suiEdit31}/{suiEdit32}/{suiEdit33} ima {suiEdit34} {counter} "
          "{suiEdit55} {suiEdit56} {suiEdit57} {suiEdit58}">};

constexpr NoteRow kLanAiuNotes[] = {
    {"suiGroupBox25", kEthernet},
    {"suiGroupBox26", kCardTypeIs},
    {"suiGroupBox27", kEndVciNote1},
    {"suiGroupBox27", kEndVciNote2},
};

// ---------------------------------------------------------------------------------
// Aiu-Mmx: a range of Aiu VCIs, each to one VCI on the Mmx card.

constexpr GroupRow kAiuMmxGroups[] = {
    {"suiGroupBox40", "Aiu card information", "", {16, 8, 218, 329}, 0},
    {"suiGroupBox42", "Mmx card information", "", {288, 8, 218, 329}, 1},
    {"suiGroupBox44", kTraffic, "", {16, 392, 489, 41}, 2},
    {"suiGroupBox41", kOptic, "suiGroupBox40", {}, 0},
    {"suiGroupBox43", kOptic, "suiGroupBox42", {}, 0},
};

constexpr FieldRow kAiuMmxFields[] = {
    {"suiEdit59", "aiu-board", "suiGroupBox40", "Board id:", "", "", 1, Copy},
    {"suiEdit60", "aiu-slot", "suiGroupBox40", "Slot id:", "", "", 2, Copy},
    {"suiEdit61", "aiu-port", "suiGroupBox40", "Port id:", "", "", 3, Copy},
    {"suiEdit62", "aiu-vpi", "suiGroupBox41", "Vpi:", "", "", 4, Copy, Vpi},
    {"suiEdit63", "aiu-start-vci", "suiGroupBox41", "Start Vci:", "", "", 5, Num, Vci},
    {"suiEdit64", "aiu-end-vci", "suiGroupBox41", "End Vci:", "", "", 6, Num, Vci},
    {"suiEdit65", "mmx-board", "suiGroupBox42", "Board id:", "0", "0", 7, Copy},
    {"suiEdit66", "mmx-slot", "suiGroupBox42", "Slot id:", "7", "7", 8, Copy},
    {"suiEdit67", "mmx-port", "suiGroupBox42", "Port id:", "0", "0", 9, Copy},
    {"suiEdit68", "mmx-vpi", "suiGroupBox43", "Vpi:", "", "", 10, Copy, Vpi},
    {"suiEdit69", "mmx-start-vci", "suiGroupBox43", "Start Vci:", "", "", 11, Num, Vci},
    {"suiEdit70", "mmx-end-vci", "suiGroupBox43", "End Vci:", "", "", 0, End, Vci},
    {"suiEdit71", "rx-cttr", "suiGroupBox44", "<Rx-cttr>:", "1", "1", 12, Copy},
    {"suiEdit72", "tx-cttr", "suiGroupBox44", "<Tx-cttr>:", "1", "1", 13, Copy},
    {"suiEdit73", "rx-upc", "suiGroupBox44", "<Rx[UPC/EPD/PPD]>:", "000", "000", 14, Copy},
    {"suiEdit74", "tx-upc", "suiGroupBox44", "<Tx[UPC/EPD/PPD]>:", "000", "000", 15, Copy},
};

constexpr SelectorRow kAiuMmxSelectors[] = {
    {"suiComboBox5",
     "aiu-card-type",
     "suiComboBox5Change",
     "suiGroupBox40",
     {"Optic", "Ima"},
     "suiGroupBox41",
     {kOptic, kIma},
     {"suiEdit61", "Label137", "Port id:", "Label139", "Group id:"}},
    {"suiComboBox6",
     "mmx-card-type",
     "suiComboBox6Change",
     "suiGroupBox42",
     {"Optic", "Ima"},
     "suiGroupBox43",
     {kOptic, kIma},
     {"suiEdit67", "Label147", "Port id:", "Label149", "Group id:"}},
};

constexpr std::string_view kAiuMmxWalk[] = {"suiEdit64", "suiEdit63", "suiEdit69"};

// Indexed as SelectFormat answers for SumOfTwo: optic/optic, ima/optic, optic/ima, ima/ima.
constexpr LineFormat kAiuMmxFormats[] = {
    kLine<"pvc aiu {suiEdit59}/{suiEdit60}/{suiEdit61} optic {suiEdit62} {step} atm "
          "{suiEdit65}/{suiEdit66}/{suiEdit67} optic {suiEdit68} {counter} "
          "{suiEdit71} {suiEdit72} {suiEdit73} {suiEdit74}">,
    kLine<"pvc aiu {suiEdit59}/{suiEdit60}/{suiEdit61} ima {suiEdit62} {step} atm "
          "{suiEdit65}/{suiEdit66}/{suiEdit67} optic {suiEdit68} {counter} "
          "{suiEdit71} {suiEdit72} {suiEdit73} {suiEdit74}">,
    kLine<"pvc aiu {suiEdit59}/{suiEdit60}/{suiEdit61} optic {suiEdit62} {step} atm "
          "{suiEdit65}/{suiEdit66}/{suiEdit67} ima {suiEdit68} {counter} "
          "{suiEdit71} {suiEdit72} {suiEdit73} {suiEdit74}">,
    kLine<"pvc aiu {suiEdit59}/{suiEdit60}/{suiEdit61} ima {suiEdit62} {step} atm "
          "{suiEdit65}/{suiEdit66}/{suiEdit67} ima {suiEdit68} {counter} "
          "{suiEdit71} {suiEdit72} {suiEdit73} {suiEdit74}">};

constexpr NoteRow kAiuMmxNotes[] = {
    {"suiGroupBox40", kCardTypeIs},
    {"suiGroupBox42", kCardTypeIs},
    {"suiGroupBox43", kEndVciNote1},
    {"suiGroupBox43", kEndVciNote2},
};

// ---------------------------------------------------------------------------------

constexpr ButtonRow DefaultButton(std::string_view name, std::string_view handler, int tab) {
    return {name, "Default", handler, kDefaultButtonRect, tab};
}
constexpr ButtonRow MakeButton(std::string_view name, std::string_view handler, int tab) {
    return {name, "Make file", handler, kMakeButtonRect, tab};
}

const PageTable kPages[] = {
    {"suiTabSheet1", "Adsl--Mmx", "adsl-mmx", kAdslMmxGroups, kAdslMmxFields, kAdslMmxSelectors,
     DefaultButton("suiButton1", "suiButton1Click", 6),
     MakeButton("suiButton2", "suiButton2Click", 7), WalkKind::Chassis, kAdslMmxWalk, "suiEdit12",
     FormatRule::FirstOrOther, kAdslMmxFormats, kAdslMmxNotes},
    {"suiTabSheet3", "Adsl--Ces", "adsl-ces", kAdslCesGroups, kAdslCesFields, kAdslCesSelectors,
     DefaultButton("suiButton201", "suiButton201Click", 6),
     MakeButton("suiButton202", "suiButton202Click", 7), WalkKind::Chassis, kAdslCesWalk,
     "suiEdit212", FormatRule::FirstOrOther, kAdslCesFormats, kAdslCesNotes},
    {"suiTabSheet4",
     "Adsl--Lan",
     "adsl-lan",
     kAdslLanGroups,
     kAdslLanFields,
     {},
     DefaultButton("suiButton301", "suiButton301Click", 6),
     MakeButton("suiButton302", "suiButton302Click", 7),
     WalkKind::Chassis,
     kAdslLanWalk,
     "suiEdit310",
     FormatRule::Single,
     kAdslLanFormats,
     kAdslLanNotes},
    {"suiTabSheet5", "Lan--Mmx", "lan-mmx", kLanMmxGroups, kLanMmxFields, kLanMmxSelectors,
     DefaultButton("suiButton401", "suiButton401Click", 3),
     MakeButton("suiButton402", "suiButton402Click", 4), WalkKind::Range, kLanMmxWalk, "suiEdit410",
     FormatRule::Exact, kLanMmxFormats, kLanMmxNotes},
    {"suiTabSheet7", "Lan--Ces", "lan-ces", kLanCesGroups, kLanCesFields, kLanCesSelectors,
     DefaultButton("suiButton601", "suiButton601Click", 3),
     MakeButton("suiButton602", "suiButton602Click", 4), WalkKind::Range, kLanCesWalk, "suiEdit610",
     FormatRule::Exact, kLanCesFormats, kLanCesNotes},
    {"suiTabSheet2", "Adsl--Aiu", "adsl-aiu", kAdslAiuGroups, kAdslAiuFields, kAdslAiuSelectors,
     DefaultButton("suiButton3", "suiButton3Click", 6),
     MakeButton("suiButton4", "suiButton4Click", 7), WalkKind::Chassis, kAdslAiuWalk, "suiEdit26",
     FormatRule::FirstOrOther, kAdslAiuFormats, kAdslAiuNotes},
    {"suiTabSheet6", "Lan--Aiu", "lan-aiu", kLanAiuGroups, kLanAiuFields, kLanAiuSelectors,
     DefaultButton("suiButton5", "suiButton5Click", 3),
     MakeButton("suiButton6", "suiButton6Click", 4), WalkKind::Range, kLanAiuWalk, "suiEdit36",
     FormatRule::Exact, kLanAiuFormats, kLanAiuNotes},
    {"suiTabSheet8", "Aiu-Mmx", "aiu-mmx", kAiuMmxGroups, kAiuMmxFields, kAiuMmxSelectors,
     DefaultButton("suiButton7", "suiButton7Click", 3),
     MakeButton("suiButton8", "suiButton8Click", 4), WalkKind::Range, kAiuMmxWalk, "suiEdit70",
     FormatRule::SumOfTwo, kAiuMmxFormats, kAiuMmxNotes},
};
static_assert(std::size(kPages) == 8, "eight link-type pages");

} // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::span<const PageTable> Pages() {
    return kPages;
}

const PageTable* FindPage(std::string_view captionOrSlug) {
    for (const PageTable& page : kPages) {
        if (EqualsIgnoreCase(page.caption, captionOrSlug) ||
            EqualsIgnoreCase(page.slug, captionOrSlug))
            return &page;
    }
    return nullptr;
}

const FieldRow* FindField(const PageTable& page, std::string_view nameOrKey) {
    for (const FieldRow& field : page.fields) {
        if (SameName(field.name, nameOrKey) || SameName(field.key, nameOrKey))
            return &field;
    }
    return nullptr;
}

const SelectorRow* FindSelector(const PageTable& page, std::string_view nameOrKey) {
    for (const SelectorRow& selector : page.selectors) {
        if (SameName(selector.name, nameOrKey) || SameName(selector.key, nameOrKey))
            return &selector;
    }
    return nullptr;
}

const GroupRow* FindGroup(const PageTable& page, std::string_view name) {
    for (const GroupRow& group : page.groups) {
        if (group.name == name)
            return &group;
    }
    return nullptr;
}

std::span<const FieldRow* const> CheckedFields(const PageTable& page) {
    // Worked out once per page: every press and every job of a job file asks. Pages
    // are tables of static storage, so their addresses are the keys.
    static std::mutex mutex;
    static std::map<const PageTable*, std::vector<const FieldRow*>> byPage;
    const std::lock_guard lock(mutex);
    auto [it, fresh] = byPage.try_emplace(&page);
    if (fresh) {
        for (const FieldRow& field : page.fields) {
            if (field.checkOrder > 0)
                it->second.push_back(&field);
        }
        std::sort(it->second.begin(), it->second.end(), [](const FieldRow* a, const FieldRow* b) {
            return a->checkOrder < b->checkOrder;
        });
    }
    return it->second;
}

int SelectFormat(FormatRule rule, std::span<const int> indices) {
    switch (rule) {
    case FormatRule::Single:
        return 0;
    case FormatRule::FirstOrOther:
        return indices.empty() || indices[0] != 0 ? 1 : 0;
    case FormatRule::Exact:
        return !indices.empty() && (indices[0] == 0 || indices[0] == 1) ? indices[0] : -1;
    case FormatRule::SumOfTwo: {
        if (indices.size() < 2)
            return -1;
        const int aiu = indices[0];
        switch (aiu + indices[1]) {
        case 0:
            return 0; // optic / optic
        case 1:
            return aiu != 0 ? 1 : 2; // ima / optic, or optic / ima
        case 2:
            return 3; // ima / ima
        default:
            return -1;
        }
    }
    }
    return -1;
}

} // namespace zd7240
