#include "theme/tsuithemefilewriter.h"

#include <QFile>
#include <QHash>
#include <QtEndian>
#include <cstring>

#include "drawing/skinbitmaps.h"
#include "scriptwriter.h"
#include "theme/themeelements.h"
#include "theme/tsuithemefilereader.h"

namespace {
QByteArray Int32(qint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray Name(const QString& name) {
    return name.toLatin1().left(TsuiThemeFileReader::kNameSize);
}
} // namespace

void TsuiThemeFileWriter::addBitmap(const QString& name, const QByteArray& bmpFile) {
    items_.push_back({Name(name), TsuiThemeFileReader::Bitmap, bmpFile});
}

void TsuiThemeFileWriter::addInteger(const QString& name, qint32 value) {
    items_.push_back({Name(name), TsuiThemeFileReader::Integer, Int32(value)});
}

void TsuiThemeFileWriter::addBoolean(const QString& name, bool value) {
    items_.push_back({Name(name), TsuiThemeFileReader::Boolean, QByteArray(1, value ? 1 : 0)});
}

void TsuiThemeFileWriter::addText(const QString& name, const QByteArray& text) {
    items_.push_back({Name(name), TsuiThemeFileReader::Text, text});
}

QByteArray TsuiThemeFileWriter::toBytes() const {
    constexpr int kRecord = int(TsuiThemeFileReader::kRecordSize);
    const auto record = [](const QByteArray& name, quint8 kind, qint32 dataOffset, qint32 dataSize,
                           qint32 next) {
        QByteArray r(kRecord, '\0');
        std::memcpy(r.data(), name.constData(), size_t(name.size()));
        r[64] = char(kind);
        qToLittleEndian(dataOffset, r.data() + 65);
        qToLittleEndian(dataSize, r.data() + 69);
        qToLittleEndian(next, r.data() + 73);
        return r;
    };

    QByteArray out(int(TsuiThemeFileReader::kHeaderSize), '\0');
    std::memcpy(out.data(), kMagic, 12);
    qToLittleEndian(qint32(TsuiThemeFileReader::kHeaderSize), out.data() + 12);
    qToLittleEndian(kVersion, out.data() + 16);
    qToLittleEndian(qint32(TsuiThemeFileReader::kHeaderSize), out.data() + 20);
    // Each record is followed by its data; the next record comes right after. A bitmap
    // with the very bytes of an earlier one points at that one's data instead, so a
    // theme is never larger than its distinct bitmaps (readers share such data too).
    QHash<QByteArray, qint32> bitmapAt;
    for (const Item& item : items_) {
        qint32 dataOffset = qint32(out.size() + kRecord);
        const bool bitmap = item.kind == TsuiThemeFileReader::Bitmap && !item.data.isEmpty();
        const auto earlier = bitmap ? bitmapAt.constFind(item.data) : bitmapAt.constEnd();
        const bool shared = earlier != bitmapAt.constEnd();
        if (shared)
            dataOffset = *earlier;
        else if (bitmap)
            bitmapAt.insert(item.data, dataOffset);
        const qint32 next = qint32(out.size() + kRecord + (shared ? 0 : item.data.size()));
        out += record(item.name, item.kind, dataOffset, qint32(item.data.size()), next);
        if (!shared)
            out += item.data;
    }
    out += record(QByteArray(), 0, 0, 0, 0);
    return out;
}

bool TsuiThemeFileWriter::writeTo(const QString& path, QString* error) const {
    try {
        zd7240::ScriptWriter out(QFile::encodeName(path).toStdString());
        writeTo(out);
        out.Commit();
        return true;
    } catch (const zd7240::FileError& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return false;
    }
}

void TsuiThemeFileWriter::writeTo(zd7240::ScriptWriter& out) const {
    const QByteArray bytes = toBytes();
    out.Write(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

TsuiThemeFileWriter TsuiThemeFileWriter::FromBuiltinStyle(TsuiUIStyle style) {
    TsuiThemeFileWriter writer;
    const int ordinal = StyleOrdinal(style);
    for (int element = 1; element <= kThemeElementCount; ++element) {
        const QString key = QLatin1String(ThemeElementKey(element));
        const BuiltinValue value = BuiltinElementValue(ordinal, element);
        switch (value.kind) {
        case TsuiElementKind::Image:
            writer.addBitmap(key, LoadSkinBitmapFile(value.resource));
            break;
        case TsuiElementKind::Boolean:
            writer.addBoolean(key, value.value != 0);
            break;
        case TsuiElementKind::Integer:
        case TsuiElementKind::Colour:
            writer.addInteger(key, value.value);
            break;
        }
    }
    return writer;
}
