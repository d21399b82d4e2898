#pragma once
// The worked examples of every page, as the operator fills them in and as the script
// comes out. The generator's tests run them through the generation frame and the
// window's tests type them into the window, so both check the same examples.
//
// Fields are given by key; a selector by its key with the item index as text. The
// fields not named keep the page's initial texts and the selectors their first item.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zd7240::test {

using Fields = std::vector<std::pair<const char*, const char*>>;

// The fields, then more of them; a key given again takes the later text.
inline Fields With(Fields fields, const Fields& more) {
    fields.insert(fields.end(), more.begin(), more.end());
    return fields;
}

struct WorkedExample {
    const char* name; // unique, for test rows
    const char* page; // caption
    Fields fields;
    const char* end;                // the End field's text after the press
    std::vector<std::string> lines; // the whole file when `count` is 0, else first and last
    std::size_t count = 0;
};

// Boards 0..1, slots 6..1 (slots 7 and 8 skipped), two ports each: 20 lines.
inline const Fields kAdslRange = {{"start-board", "0"},
                                  {"start-slot", "6"},
                                  {"end-board", "1"},
                                  {"end-slot", "1"},
                                  {"port-number", "2"}};
inline const Fields kAdslMmx = With(kAdslRange, {{"mmx-vpi", "1"}, {"start-vci", "40"}});
inline const Fields kAdslAiu = With(kAdslRange, {{"aiu-board", "0"},
                                                 {"aiu-slot", "4"},
                                                 {"aiu-port", "1"},
                                                 {"aiu-vpi", "1"},
                                                 {"start-vci", "40"}});
inline const Fields kAdslCes = With(kAdslRange, {{"ces-board", "0"},
                                                 {"ces-slot", "11"},
                                                 {"ces-port", "2"},
                                                 {"ces-vpi", "1"},
                                                 {"start-vci", "40"}});
inline const Fields kAdslLan =
    With(kAdslRange, {{"lan-board", "0"}, {"lan-slot", "5"}, {"start-vlan", "100"}});
inline const Fields kLanMmx = {{"lan-board", "0"},  {"lan-slot", "5"}, {"start-vlan", "100"},
                               {"end-vlan", "103"}, {"vpi", "1"},      {"start-vci", "40"}};
inline const Fields kLanCes = {{"lan-board", "0"},  {"lan-slot", "5"},  {"start-vlan", "100"},
                               {"end-vlan", "102"}, {"ces-board", "0"}, {"ces-slot", "9"},
                               {"ces-port", "1"},   {"vpi", "0"},       {"start-vci", "32"}};
inline const Fields kLanAiu = {{"lan-board", "0"},  {"lan-slot", "5"},  {"start-vlan", "200"},
                               {"end-vlan", "202"}, {"aiu-board", "0"}, {"aiu-slot", "3"},
                               {"aiu-port", "0"},   {"vpi", "2"},       {"start-vci", "100"}};
inline const Fields kAiuMmx = {{"aiu-board", "0"}, {"aiu-slot", "3"},       {"aiu-port", "0"},
                               {"aiu-vpi", "1"},   {"aiu-start-vci", "50"}, {"aiu-end-vci", "52"},
                               {"mmx-vpi", "2"},   {"mmx-start-vci", "60"}};

inline const std::vector<WorkedExample> kWorkedExamples = {
    {"Adsl--Mmx optic",
     "Adsl--Mmx",
     kAdslMmx,
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 atm 0/7/0 optic 1 40 1 1 000 000",
      "pvc adsl 0/6/1 vpi 0 35 atm 0/7/0 optic 1 41 1 1 000 000",
      "pvc adsl 0/9/0 vpi 0 35 atm 0/7/0 optic 1 42 1 1 000 000",
      "pvc adsl 0/9/1 vpi 0 35 atm 0/7/0 optic 1 43 1 1 000 000",
      "pvc adsl 0/10/0 vpi 0 35 atm 0/7/0 optic 1 44 1 1 000 000",
      "pvc adsl 0/10/1 vpi 0 35 atm 0/7/0 optic 1 45 1 1 000 000",
      "pvc adsl 0/11/0 vpi 0 35 atm 0/7/0 optic 1 46 1 1 000 000",
      "pvc adsl 0/11/1 vpi 0 35 atm 0/7/0 optic 1 47 1 1 000 000",
      "pvc adsl 0/12/0 vpi 0 35 atm 0/7/0 optic 1 48 1 1 000 000",
      "pvc adsl 0/12/1 vpi 0 35 atm 0/7/0 optic 1 49 1 1 000 000",
      "pvc adsl 0/13/0 vpi 0 35 atm 0/7/0 optic 1 50 1 1 000 000",
      "pvc adsl 0/13/1 vpi 0 35 atm 0/7/0 optic 1 51 1 1 000 000",
      "pvc adsl 0/14/0 vpi 0 35 atm 0/7/0 optic 1 52 1 1 000 000",
      "pvc adsl 0/14/1 vpi 0 35 atm 0/7/0 optic 1 53 1 1 000 000",
      "pvc adsl 0/15/0 vpi 0 35 atm 0/7/0 optic 1 54 1 1 000 000",
      "pvc adsl 0/15/1 vpi 0 35 atm 0/7/0 optic 1 55 1 1 000 000",
      "pvc adsl 1/0/0 vpi 0 35 atm 0/7/0 optic 1 56 1 1 000 000",
      "pvc adsl 1/0/1 vpi 0 35 atm 0/7/0 optic 1 57 1 1 000 000",
      "pvc adsl 1/1/0 vpi 0 35 atm 0/7/0 optic 1 58 1 1 000 000",
      "pvc adsl 1/1/1 vpi 0 35 atm 0/7/0 optic 1 59 1 1 000 000"}},
    {"Adsl--Mmx ima",
     "Adsl--Mmx",
     With(kAdslMmx, {{"card-type", "1"}, {"mmx-port", "2"}}),
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 atm 0/7/2 ima 1 40 1 1 000 000",
      "pvc adsl 1/1/1 vpi 0 35 atm 0/7/2 ima 1 59 1 1 000 000"},
     20},
    {"Adsl--Aiu optic",
     "Adsl--Aiu",
     kAdslAiu,
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 aiu 0/4/1 optic 1 40 1 1 000 000",
      "pvc adsl 1/1/1 vpi 0 35 aiu 0/4/1 optic 1 59 1 1 000 000"},
     20},
    {"Adsl--Aiu ima",
     "Adsl--Aiu",
     With(kAdslAiu, {{"aiu-port", "3"}, {"card-type", "1"}}),
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 aiu 0/4/3 ima 1 40 1 1 000 000",
      "pvc adsl 1/1/1 vpi 0 35 aiu 0/4/3 ima 1 59 1 1 000 000"},
     20},
    {"Adsl--Ces ces-uni",
     "Adsl--Ces",
     kAdslCes,
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 ces-uni 0/11/2 1 40 1 1",
      "pvc adsl 1/1/1 vpi 0 35 ces-uni 0/11/2 1 59 1 1"},
     20},
    {"Adsl--Ces ces-udt",
     "Adsl--Ces",
     With(kAdslCes, {{"card-type", "1"}}),
     "59",
     {"pvc adsl 0/6/0 vpi 0 35 ces-udt 0/11/2 1 40 1 1",
      "pvc adsl 1/1/1 vpi 0 35 ces-udt 0/11/2 1 59 1 1"},
     20},
    {"Adsl--Lan",
     "Adsl--Lan",
     kAdslLan,
     "119",
     {"pvc adsl 0/6/0 vpi 0 35 lan 0/5 vlanid 100 off 1 1",
      "pvc adsl 1/1/1 vpi 0 35 lan 0/5 vlanid 119 off 1 1"},
     20},
    {"Lan--Mmx optic",
     "Lan--Mmx",
     kLanMmx,
     "43",
     {"pvc lan 0/5 vlanid 100 off atm 0/7/0 optic 1 40 1 1 000 000",
      "pvc lan 0/5 vlanid 101 off atm 0/7/0 optic 1 41 1 1 000 000",
      "pvc lan 0/5 vlanid 102 off atm 0/7/0 optic 1 42 1 1 000 000",
      "pvc lan 0/5 vlanid 103 off atm 0/7/0 optic 1 43 1 1 000 000"}},
    {"Lan--Mmx ima",
     "Lan--Mmx",
     With(kLanMmx, {{"card-type", "1"}, {"mmx-port", "1"}}),
     "43",
     {"pvc lan 0/5 vlanid 100 off atm 0/7/1 ima 1 40 1 1 000 000",
      "pvc lan 0/5 vlanid 101 off atm 0/7/1 ima 1 41 1 1 000 000",
      "pvc lan 0/5 vlanid 102 off atm 0/7/1 ima 1 42 1 1 000 000",
      "pvc lan 0/5 vlanid 103 off atm 0/7/1 ima 1 43 1 1 000 000"}},
    {"Lan--Ces ces-uni",
     "Lan--Ces",
     kLanCes,
     "34",
     {"pvc lan 0/5 vlanid 100 off ces-uni 0/9/1 0 32 1 1",
      "pvc lan 0/5 vlanid 101 off ces-uni 0/9/1 0 33 1 1",
      "pvc lan 0/5 vlanid 102 off ces-uni 0/9/1 0 34 1 1"}},
    {"Lan--Ces ces-udt",
     "Lan--Ces",
     With(kLanCes, {{"card-type", "1"}}),
     "34",
     {"pvc lan 0/5 vlanid 100 off ces-udt 0/9/1 0 32 1 1",
      "pvc lan 0/5 vlanid 102 off ces-udt 0/9/1 0 34 1 1"},
     3},
    {"Lan--Aiu optic",
     "Lan--Aiu",
     kLanAiu,
     "102",
     {"pvc lan 0/5 vlanid 200 off aiu 0/3/0 optic 2 100 1 1 000 000",
      "pvc lan 0/5 vlanid 201 off aiu 0/3/0 optic 2 101 1 1 000 000",
      "pvc lan 0/5 vlanid 202 off aiu 0/3/0 optic 2 102 1 1 000 000"}},
    {"Lan--Aiu ima",
     "Lan--Aiu",
     With(kLanAiu, {{"aiu-port", "1"}, {"card-type", "1"}}),
     "102",
     {"pvc lan 0/5 vlanid 200 off aiu 0/3/1 ima 2 100 1 1 000 000",
      "pvc lan 0/5 vlanid 202 off aiu 0/3/1 ima 2 102 1 1 000 000"},
     3},
    {"Aiu-Mmx optic/optic",
     "Aiu-Mmx",
     kAiuMmx,
     "62",
     {"pvc aiu 0/3/0 optic 1 50 atm 0/7/0 optic 2 60 1 1 000 000",
      "pvc aiu 0/3/0 optic 1 51 atm 0/7/0 optic 2 61 1 1 000 000",
      "pvc aiu 0/3/0 optic 1 52 atm 0/7/0 optic 2 62 1 1 000 000"}},
    {"Aiu-Mmx ima/optic",
     "Aiu-Mmx",
     With(kAiuMmx, {{"aiu-port", "1"}, {"aiu-card-type", "1"}}),
     "62",
     {"pvc aiu 0/3/1 ima 1 50 atm 0/7/0 optic 2 60 1 1 000 000",
      "pvc aiu 0/3/1 ima 1 52 atm 0/7/0 optic 2 62 1 1 000 000"},
     3},
    {"Aiu-Mmx optic/ima",
     "Aiu-Mmx",
     With(kAiuMmx, {{"mmx-card-type", "1"}, {"mmx-port", "2"}}),
     "62",
     {"pvc aiu 0/3/0 optic 1 50 atm 0/7/2 ima 2 60 1 1 000 000",
      "pvc aiu 0/3/0 optic 1 52 atm 0/7/2 ima 2 62 1 1 000 000"},
     3},
    {"Aiu-Mmx ima/ima",
     "Aiu-Mmx",
     With(kAiuMmx,
          {{"aiu-port", "1"}, {"aiu-card-type", "1"}, {"mmx-card-type", "1"}, {"mmx-port", "2"}}),
     "62",
     {"pvc aiu 0/3/1 ima 1 50 atm 0/7/2 ima 2 60 1 1 000 000",
      "pvc aiu 0/3/1 ima 1 52 atm 0/7/2 ima 2 62 1 1 000 000"},
     3},
};

inline const WorkedExample& WorkedExampleNamed(std::string_view name) {
    for (const WorkedExample& example : kWorkedExamples) {
        if (example.name == name)
            return example;
    }
    throw std::out_of_range("no worked example " + std::string(name));
}

} // namespace zd7240::test
