// Feeds arbitrary bytes to the theme file reader as a file's content and runs every
// lookup on what it kept. Whatever the bytes, the reader must neither crash, read out of
// bounds, loop nor allocate beyond what the input holds.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "tsuithemefilereader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TsuiThemeFileReader reader = TsuiThemeFileReader::FromBytes(bytes);
    qsizetype total = 0;
    for (const TsuiThemeFileReader::Entry& entry : reader.entries()) {
        total += reader.entryData(entry).size();
        reader.FindBitmapStream(entry.name);
        reader.FindIntEntry(entry.name);
        reader.FindBoolEntry(entry.name);
        reader.FindTextEntry(entry.name);
    }
    // Entries are records of at least 77 bytes each, so there cannot be more of them.
    if (reader.entries().size() > size / 77)
        __builtin_trap();
    (void)total;
    return 0;
}
