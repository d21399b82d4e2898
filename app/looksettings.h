#pragma once
// The look the operator chose from the title bar's "Look" sub-menu, remembered across
// starts in the program's settings file: $XDG_CONFIG_HOME/Velmar/zd7240-helper.conf
// (~/.config when XDG_CONFIG_HOME is not set), where QSettings with the program's
// organisation and application names finds it. QSettings reads the file; it is written
// through the program's one safe writer (base/scriptwriter.h) as the INI text QSettings
// reads, so that it is replaced only when complete, like every other file the program
// writes.
//
//   [General]
//   look=WinXP                 a built-in look, or
//   look=ThemeFile
//   theme="/home/me/my.theme"  the look from a theme file, by its absolute path

#include <QString>
#include <optional>

#include "catalogue/tsuiuistyle.h"

class TsuiFileTheme;

namespace look_settings {

inline const QString kOrganization = QStringLiteral("Velmar");
inline const QString kApplication = QStringLiteral("zd7240-helper");

struct SavedLook {
    TsuiUIStyle style = TsuiUIStyle::MacOS; // FromThemeFile: from `themeFile`
    QString themeFile;                      // absolute
    bool operator==(const SavedLook&) const = default;
};

// The settings file's path (whether or not it exists).
QString SettingsPath();

// The look saved last, or nothing when none was saved or the file says nothing this
// version understands.
std::optional<SavedLook> ReadSavedLook();

// Saves `look`, making the settings folder when missing; on failure returns why.
std::optional<QString> SaveLook(const SavedLook& look);

// The file's text for `look` (what SaveLook writes).
QByteArray SettingsText(const SavedLook& look);

// Why a theme file cannot give the window its look, in the words of the command line.
struct ThemeProblem {
    bool missing;    // no such file, or not a regular file (else: not a theme)
    QString message; // "cannot read theme file 'PATH': no such file", "'PATH': not a ..."
};

// Loads `path` into `theme`; nothing when it holds a theme now.
std::optional<ThemeProblem> LoadThemeFile(const QString& path, TsuiFileTheme& theme);

} // namespace look_settings
