#include "theme/tsuithemefilereader.h"

#include <QFile>
#include <QSet>
#include <cstring>

namespace {
qint32 ReadInt32(const QByteArray& bytes, qint64 offset) {
    quint32 v = 0;
    for (int i = 0; i < 4; ++i) {
        const qint64 at = offset + i;
        if (at >= 0 && at < bytes.size())
            v |= quint32(quint8(bytes[at])) << (8 * i);
    }
    return static_cast<qint32>(v);
}

bool InFile(qint64 offset, qint64 size, qint64 fileSize) {
    return offset >= 0 && size >= 0 && offset <= fileSize && size <= fileSize - offset;
}
} // namespace

TsuiThemeFileReader::TsuiThemeFileReader(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot open \"%1\": %2").arg(fileName, file.errorString()));
        return;
    }
    if (file.size() > kMaxFileSize) {
        fail(QStringLiteral("\"%1\" is %2 bytes long, more than a theme file can be (%3)")
                 .arg(fileName)
                 .arg(file.size())
                 .arg(kMaxFileSize));
        return;
    }
    bytes_ = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        fail(QStringLiteral("cannot read \"%1\": %2").arg(fileName, file.errorString()));
        bytes_.clear();
        return;
    }
    file.close();
    parse();
}

TsuiThemeFileReader TsuiThemeFileReader::FromBytes(const QByteArray& bytes) {
    TsuiThemeFileReader reader;
    if (bytes.size() > kMaxFileSize) {
        reader.fail(QStringLiteral("%1 bytes is more than a theme file can be").arg(bytes.size()));
        return reader;
    }
    reader.bytes_ = bytes;
    reader.parse();
    return reader;
}

void TsuiThemeFileReader::fail(const QString& why) {
    isTheme_ = false;
    error_ = QStringLiteral("not a theme file: ") + why;
    entries_.clear();
    for (auto& map : index_)
        map.clear();
}

void TsuiThemeFileReader::damage(const QString& why) {
    if (!damaged_)
        error_ = QStringLiteral("damaged theme file: ") + why;
    damaged_ = true;
}

void TsuiThemeFileReader::parse() {
    const qint64 size = bytes_.size();
    if (size < kHeaderSize) {
        fail(QStringLiteral("%1 bytes is shorter than the %2-byte header")
                 .arg(size)
                 .arg(kHeaderSize));
        return;
    }
    // A longer header is read as its first 24 bytes; a shorter one lacks the offset of
    // the first record.
    const qint32 headerLength = ReadInt32(bytes_, 12);
    if (headerLength < kHeaderSize) {
        fail(QStringLiteral("the header length field says %1, a theme header is %2 bytes")
                 .arg(headerLength)
                 .arg(kHeaderSize));
        return;
    }
    qint64 recordOffset = static_cast<quint32>(ReadInt32(bytes_, 20));
    if (!InFile(recordOffset, kRecordSize, size)) {
        fail(QStringLiteral("the first entry record at offset %1 lies outside the file (%2 bytes)")
                 .arg(recordOffset)
                 .arg(size));
        return;
    }
    isTheme_ = true;

    // Records that do not overlap fit size / 77 times into the file; a longer chain
    // must reuse bytes and is cut there, which also bounds the memory per file.
    const qint64 maxRecords = size / kRecordSize;
    QSet<qint64> visited;
    // Data ranges (offset, size) of bitmap and text entries -> first entry holding them.
    QHash<QPair<qint64, qint64>, qint64> ranges;
    qint64 expanded = 0;
    const char* data = bytes_.constData();
    for (;;) {
        visited.insert(recordOffset);
        const char* record = data + recordOffset;
        const qint64 next = static_cast<quint32>(ReadInt32(bytes_, recordOffset + 73));
        if (next == 0)
            break; // the closing record: its data are not loaded

        Entry entry;
        const char* nameEnd = static_cast<const char*>(std::memchr(record, 0, kNameSize));
        entry.name = QString::fromLatin1(record, nameEnd ? nameEnd - record : kNameSize);
        entry.kind = quint8(record[64]);
        entry.recordOffset = recordOffset;
        entry.dataOffset = static_cast<quint32>(ReadInt32(bytes_, recordOffset + 65));
        entry.dataSize = ReadInt32(bytes_, recordOffset + 69);

        switch (entry.kind) {
        case Bitmap:
        case Text:
            entry.valid = InFile(entry.dataOffset, entry.dataSize, size);
            break;
        case Integer:
            // Up to four bytes, as many as the data size says: fewer (or an integer cut
            // short by the end of the file) are zero-extended; one that starts outside
            // the file is not there at all.
            entry.valid = entry.dataOffset < size;
            if (entry.valid) {
                const qint64 count = entry.dataSize < 0   ? 0
                                     : entry.dataSize > 4 ? 4
                                                          : entry.dataSize;
                quint32 v = 0;
                for (qint64 i = 0; i < count && entry.dataOffset + i < size; ++i)
                    v |= quint32(quint8(data[entry.dataOffset + i])) << (8 * i);
                entry.value = static_cast<qint32>(v);
            }
            break;
        case Boolean:
            entry.valid = entry.dataOffset < size;
            if (entry.valid)
                entry.value = quint8(data[entry.dataOffset]);
            break;
        default:
            break; // unknown kinds are skipped, the chain goes on
        }
        if (!entry.valid) {
            damage(QStringLiteral("the data of entry \"%1\" (offset %2, %3 bytes) lie outside "
                                  "the file (%4 bytes)")
                       .arg(entry.name)
                       .arg(entry.dataOffset)
                       .arg(entry.dataSize)
                       .arg(size));
        } else if ((entry.kind == Bitmap || entry.kind == Text) && entry.dataSize > 0) {
            const QPair<qint64, qint64> range(entry.dataOffset, entry.dataSize);
            const auto it = ranges.constFind(range);
            if (it != ranges.constEnd()) {
                entry.sameDataAs = it.value();
            } else if (expanded + entry.dataSize > kMaxExpansion * size) {
                entry.valid = false;
                entry.overlapping = true;
                damage(QStringLiteral("the data of entry \"%1\" overlap those of other entries "
                                      "beyond what the file holds; skipped")
                           .arg(entry.name));
            } else {
                ranges.insert(range, qint64(entries_.size()));
                expanded += entry.dataSize;
            }
        }
        if (entry.valid && entry.kind <= Text) {
            // The first entry of a name wins; later ones stay visible in entries() only.
            const QString key = entry.name.toLower();
            if (!index_[entry.kind].contains(key))
                index_[entry.kind].insert(key, entries_.size());
        }
        entries_.push_back(entry);

        if (!InFile(next, kRecordSize, size)) {
            damage(QStringLiteral("the record after \"%1\" would be at offset %2, outside the "
                                  "file (%3 bytes)")
                       .arg(entry.name)
                       .arg(next)
                       .arg(size));
            break;
        }
        if (visited.contains(next)) {
            damage(QStringLiteral("the record after \"%1\" leads back to offset %2, read before")
                       .arg(entry.name)
                       .arg(next));
            break;
        }
        if (static_cast<qint64>(visited.size()) >= maxRecords) {
            damage(QStringLiteral("the chain has more records than the file can hold"));
            break;
        }
        recordOffset = next;
    }
}

const TsuiThemeFileReader::Entry* TsuiThemeFileReader::find(quint8 kind,
                                                            const QString& name) const {
    const auto it = index_[kind].constFind(name.toLower());
    return it == index_[kind].constEnd() ? nullptr : &entries_[*it];
}

QByteArray TsuiThemeFileReader::entryData(const Entry& entry) const {
    if (!entry.valid || (entry.kind != Bitmap && entry.kind != Text))
        return {};
    return bytes_.mid(entry.dataOffset, entry.dataSize);
}

QByteArrayView TsuiThemeFileReader::entryBytes(const Entry& entry) const {
    if (!entry.valid || (entry.kind != Bitmap && entry.kind != Text))
        return {};
    return QByteArrayView(bytes_.constData() + entry.dataOffset, entry.dataSize);
}

QByteArray TsuiThemeFileReader::FindBitmapStream(const QString& name) const {
    const Entry* entry = find(Bitmap, name);
    return entry ? entryData(*entry) : QByteArray();
}

qint32 TsuiThemeFileReader::FindIntEntry(const QString& name) const {
    const Entry* entry = find(Integer, name);
    return entry ? entry->value : -1;
}

bool TsuiThemeFileReader::FindBoolEntry(const QString& name) const {
    const Entry* entry = find(Boolean, name);
    return entry ? entry->value != 0 : false;
}

QString TsuiThemeFileReader::FindTextEntry(const QString& name) const {
    const Entry* entry = find(Text, name);
    return entry ? QString::fromLatin1(entryData(*entry)) : QString();
}
