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

// Hands the listing to `write` piece by piece, each line ending in '\n'; a long text goes
// in pieces of its own, so the listing needs no copy of it. Returns what is wrong with
// the theme (damage, bitmaps that are not complete BMP images), empty for a sound one.
QStringList ListThemeEntries(const TsuiThemeFileReader& reader,
                             const std::function<void(std::string_view)>& write);

} // namespace zd7240
