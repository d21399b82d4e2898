#include "theme/themelisting.h"

#include <string>
#include <vector>

#include "processguard.h"
#include "theme/bmpinspect.h"
#include "theme/tsuithemefilereader.h"

namespace zd7240 {

namespace {

std::string_view View(QByteArrayView bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}

// A name from the theme file (8-bit, Latin-1), escaped for the listing.
std::string ShownName(const QString& name) {
    const QByteArray bytes = name.toLatin1();
    return EscapeLatin1Text(View(bytes), true);
}

} // namespace

QStringList ThemeFileProblems(const TsuiThemeFileReader& reader) {
    if (!reader.isTheme())
        return {reader.errorString()};
    QStringList problems;
    if (reader.damaged())
        problems << reader.errorString();
    for (const TsuiThemeFileReader::Entry& entry : reader.entries()) {
        // Shared data were inspected with the entry that first held them.
        if (entry.kind != TsuiThemeFileReader::Bitmap || !entry.valid || entry.sameDataAs >= 0)
            continue;
        const BmpInfo bmp = InspectBmp(View(reader.entryBytes(entry)));
        if (!bmp.ok)
            problems << QStringLiteral("bitmap entry \"%1\" is not a complete BMP image: %2")
                            .arg(entry.name, QString::fromStdString(bmp.problem));
    }
    return problems;
}

QStringList ListThemeEntries(const TsuiThemeFileReader& reader,
                             const std::function<void(std::string_view)>& write) {
    const auto& entries = reader.entries();
    // Each distinct bitmap is inspected once; entries sharing its data share the result.
    std::vector<BmpInfo> bitmaps(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TsuiThemeFileReader::Entry& entry = entries[i];
        std::string kind, value;
        const std::string same = entry.sameDataAs >= 0
                                     ? "(same data as \"" +
                                           ShownName(entries[std::size_t(entry.sameDataAs)].name) +
                                           "\")"
                                     : std::string();
        if (!entry.valid) {
            value = entry.overlapping ? "(skipped: its data overlap other entries beyond the "
                                        "file's size)"
                                      : "(data outside the file)";
        }
        switch (entry.kind) {
        case TsuiThemeFileReader::Bitmap: {
            kind = "bitmap";
            if (!entry.valid)
                break;
            if (entry.sameDataAs >= 0) {
                bitmaps[i] = bitmaps[std::size_t(entry.sameDataAs)];
            } else {
                bitmaps[i] = InspectBmp(View(reader.entryBytes(entry)));
            }
            const BmpInfo& bmp = bitmaps[i];
            value = bmp.ok
                        ? std::to_string(bmp.width) + "x" + std::to_string(bmp.height)
                        : "(not a readable bitmap, " + std::to_string(entry.dataSize) + " bytes)";
            break;
        }
        case TsuiThemeFileReader::Integer:
            kind = "integer";
            if (entry.valid)
                value = std::to_string(entry.value);
            break;
        case TsuiThemeFileReader::Boolean:
            kind = "boolean";
            if (entry.valid)
                value = entry.value != 0 ? "1" : "0";
            break;
        case TsuiThemeFileReader::Text:
            kind = "text";
            if (entry.valid && !same.empty())
                value = same;
            break;
        default:
            kind = "unknown(" + std::to_string(entry.kind) + ")";
            value = "(skipped)";
            break;
        }
        std::string line = ShownName(entry.name) + " " + kind + " " + value;
        if (entry.kind == TsuiThemeFileReader::Text && entry.valid && same.empty()) {
            const std::string_view text = View(reader.entryBytes(entry));
            for (std::size_t at = 0; at < text.size(); at += 65536) {
                line += EscapeLatin1Text(text.substr(at, 65536), true);
                write(line);
                line.clear();
            }
        }
        line += '\n';
        write(line);
    }
    return ThemeFileProblems(reader);
}

} // namespace zd7240
