// Feeds arbitrary bytes to the theme file reader as a file's content, runs every lookup
// on what it kept and inspects every distinct bitmap as dump and the loader do.
// Whatever the bytes, the reader must neither crash, read out of bounds, loop nor hold
// or hand out more data than the input justifies: entries are records of at least 77
// bytes, and the distinct data of all entries add up to at most twice the input.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "theme/bmpinspect.h"
#include "theme/tsuithemefilereader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TsuiThemeFileReader reader = TsuiThemeFileReader::FromBytes(bytes);
    qint64 distinct = 0;
    const auto& entries = reader.entries();
    for (const TsuiThemeFileReader::Entry& entry : entries) {
        const QByteArrayView view = reader.entryBytes(entry);
        if (entry.sameDataAs < 0) {
            distinct += view.size();
            if (entry.kind == TsuiThemeFileReader::Bitmap)
                zd7240::InspectBmp(std::string_view(view.constData(), std::size_t(view.size())));
        } else if (entry.sameDataAs >= qint64(entries.size()) ||
                   reader.entryBytes(entries[std::size_t(entry.sameDataAs)]) != view) {
            __builtin_trap(); // shared data must be the very same bytes
        }
        reader.FindBitmapStream(entry.name);
        reader.FindIntEntry(entry.name);
        reader.FindBoolEntry(entry.name);
        reader.FindTextEntry(entry.name);
    }
    if (entries.size() > size / 77 || distinct > qint64(2 * size))
        __builtin_trap();
    // The inspector on the raw input too: a theme file's bitmaps are BMP files.
    zd7240::InspectBmp(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
