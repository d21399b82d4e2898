#pragma once
// The five built-in looks, for tests that check something in every one of them: each
// look is a QTest data row of its own, named after the look, so a fault in one look
// fails that row alone.

#include <QMetaEnum>
#include <QtTest>
#include <array>

#include "catalogue/tsuiuistyle.h"

namespace zd7240::test {

inline constexpr std::array kBuiltinLooks = {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP,
                                             TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein,
                                             TsuiUIStyle::BlueGlass};

inline const char* LookName(TsuiUIStyle look) {
    return QMetaEnum::fromType<TsuiUIStyle>().valueToKey(static_cast<int>(look));
}

// Adds a TsuiUIStyle column called `column` and one row per built-in look.
inline void AddLookRows(const char* column = "style") {
    QTest::addColumn<TsuiUIStyle>(column);
    for (TsuiUIStyle look : kBuiltinLooks)
        QTest::newRow(LookName(look)) << look;
}

} // namespace zd7240::test
