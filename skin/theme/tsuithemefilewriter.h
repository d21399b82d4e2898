#pragma once
// Builds theme files: the header, one record per entry followed by its data, and the
// closing record. A bitmap given again with the very same bytes (one bitmap that
// several elements use) is stored once, the later records pointing at its data.
// Header bytes 0..11 carry the text "ZD7240 THEME", bytes 16..19 the format version 1;
// readers do not interpret either.

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

#include "catalogue/tsuiuistyle.h"

namespace zd7240 {
class ScriptWriter;
}

class TsuiThemeFileWriter {
public:
    static constexpr char kMagic[] = "ZD7240 THEME";
    static constexpr qint32 kVersion = 1;

    // Names are 8-bit text of at most 64 characters; longer names are cut.
    void addBitmap(const QString& name, const QByteArray& bmpFile);
    void addInteger(const QString& name, qint32 value);
    void addBoolean(const QString& name, bool value);
    void addText(const QString& name, const QByteArray& text);

    QByteArray toBytes() const;
    // Writes the file through the script writer: a regular file is replaced atomically
    // (a failed write leaves any previous file intact), a device or pipe is written
    // directly. On failure returns false with the system's description in *error.
    bool writeTo(const QString& path, QString* error) const;
    // Hands the bytes to an open writer, which the caller commits; throws FileError.
    void writeTo(zd7240::ScriptWriter& out) const;

    // All 42 elements of a built-in look under their keys: bitmaps as the program's own
    // BMP files, colours and integers as 4-byte integers, booleans as one byte.
    static TsuiThemeFileWriter FromBuiltinStyle(TsuiUIStyle style);

private:
    struct Item {
        QByteArray name;
        quint8 kind;
        QByteArray data;
    };
    std::vector<Item> items_;
};
