#pragma once
// Lays out theme files byte by byte, so tests can place records and data anywhere,
// including where no writer would.
#include <QByteArray>
#include <QtEndian>
#include <cstring>

class ThemeFileBuilder {
public:
    explicit ThemeFileBuilder(int size) : bytes_(size, '\0') {}

    ThemeFileBuilder& header(qint32 headerLength, qint32 firstRecord) {
        put(12, headerLength);
        put(20, firstRecord);
        return *this;
    }
    ThemeFileBuilder& record(int at, const QByteArray& name, quint8 kind, qint32 dataOffset,
                             qint32 dataSize, qint32 next) {
        std::memcpy(bytes_.data() + at, name.constData(), size_t(qMin<qsizetype>(name.size(), 64)));
        bytes_[at + 64] = char(kind);
        put(at + 65, dataOffset);
        put(at + 69, dataSize);
        put(at + 73, next);
        return *this;
    }
    ThemeFileBuilder& put(int at, qint32 value) {
        qToLittleEndian(value, bytes_.data() + at);
        return *this;
    }
    ThemeFileBuilder& bytesAt(int at, const QByteArray& data) {
        std::memcpy(bytes_.data() + at, data.constData(), size_t(data.size()));
        return *this;
    }
    QByteArray bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};
