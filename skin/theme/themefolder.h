#pragma once
// A theme as a folder an operator can edit: one KEY.bmp file per image element, named by
// its key (ButtonImage.bmp, ...), and a theme.txt with one Key=value line per other
// element. PackThemeFolder builds a theme from such a folder, UnpackTheme makes the
// folder's files from a theme, and packing them again gives the same bytes.
//
// Nothing here writes a file or prints: what was made and what was refused come back as
// values, and the caller words the warnings and writes the files.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

#include "theme/tsuithemefilewriter.h"

class TsuiThemeFileReader;

namespace zd7240 {

inline constexpr char kThemeTextName[] = "theme.txt";

// A theme.txt number: decimal, 0x or $ and hex digits, after one optional minus, with
// white space around. Colours and integers share 32 bits, so hex up to 0xFFFFFFFF is
// taken as its bit pattern; anything beyond 32 bits is no number.
bool ParseThemeNumber(const QString& text, qint32* value);
// A theme.txt boolean: True/False or 1/0, in any case, with white space around.
bool ParseThemeBool(const QString& text, bool* value);

struct PackedFolder {
    enum class Refusal {
        None,           // `theme` holds every element the folder gives
        NoFolder,       // the folder does not exist
        TextUnreadable, // theme.txt is there but cannot be read
        BadData,        // bitmaps or theme.txt lines refused, each in `errors`
        NoTheme,        // the folder gives no element at all: there is no theme to make
    };
    Refusal refusal = Refusal::None;
    QStringList errors;  // why, one message each (file names and theme.txt line numbers)
    QStringList ignored; // *.bmp files not named after an image element, left aside
    QStringList leftOut; // keys of the elements the folder does not give
    TsuiThemeFileWriter theme;
};

// Whether `name` is one of the files of a theme folder: theme.txt, or KEY.bmp of an image
// element (key and extension in any case). PackThemeFolder reads these names and no
// others, and UnpackTheme writes nothing else.
bool IsThemeFolderFile(const QString& name);

// Reads the folder at `dirPath`. Every *.bmp entry named after an image element must be a
// complete BMP file (a folder, a dangling link or a special file under such a name is
// refused, not skipped); theme.txt lines are Key=value, blank, or comments starting with
// #, each key once; "KEY=same as OTHER.bmp" gives an image element the bitmap of another.
PackedFolder PackThemeFolder(const QString& dirPath);

struct UnpackedTheme {
    struct File {
        QString name; // KEY.bmp
        QByteArray bytes;
    };
    // One file per distinct bitmap, in element order, named after the first element that
    // holds it; the others name it in theme.txt, so the folder never holds more than the
    // theme's own data.
    std::vector<File> bitmaps;
    QByteArray text;     // theme.txt
    QStringList missing; // keys of the elements the theme does not hold
};

// The folder's files for every element `reader` holds. `themeName` (the theme file's
// name) is named in theme.txt's first line, escaped.
UnpackedTheme UnpackTheme(const TsuiThemeFileReader& reader, const QString& themeName);

} // namespace zd7240
