#pragma once
// The listing of a theme file's entries, one line per entry in chain order: name, kind
// (bitmap, integer, boolean, text or unknown(N)) and value (a bitmap's pixel size as
// WIDTHxHEIGHT, an integer in decimal, a boolean as 0 or 1, a text itself). Names and
// texts are escaped ("\n", "\x1b", "\\"), and data shared with an earlier entry are
// given as (same data as "NAME").

#include <QStringList>
#include <functional>
#include <string_view>

class TsuiThemeFileReader;

namespace zd7240 {

// What makes the file unusable as a theme, one sentence each, empty for a sound theme:
// not a theme at all, a damaged chain or entry (data outside the file, overlapping
// beyond its size), bitmaps that are not complete BMP images. `zd7240-theme dump` and
// the window judge a file by this one check; bitmaps are inspected, not decoded.
QStringList ThemeFileProblems(const TsuiThemeFileReader& reader);

// Hands the listing to `write` piece by piece, each line ending in '\n'; a long text goes
// in pieces of its own, so the listing needs no copy of it. Returns ThemeFileProblems.
QStringList ListThemeEntries(const TsuiThemeFileReader& reader,
                             const std::function<void(std::string_view)>& write);

} // namespace zd7240
