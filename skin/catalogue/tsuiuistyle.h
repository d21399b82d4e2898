#pragma once
// The looks a skinned control can take. The ordinal is what a window description
// stores, so the order is fixed.

#include <QObject>

namespace tsui {
Q_NAMESPACE

enum class TsuiUIStyle {
    FromThemeFile = 0, // every element from the control's FileTheme
    MacOS = 1,
    WinXP = 2,
    DeepBlue = 3, // the fallback look
    Protein = 4,
    BlueGlass = 5,
};
Q_ENUM_NS(TsuiUIStyle)

} // namespace tsui

using tsui::TsuiUIStyle;
