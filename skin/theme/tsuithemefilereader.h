#pragma once
// Parses one theme file into memory.
//
// Layout (little-endian): a 24-byte header whose bytes 12..15 hold the header length and
// bytes 20..23 the offset of the first entry record, then a chain of 77-byte records:
// name (64 bytes, 8-bit, NUL-ended or full), kind (1 byte: 0 bitmap, 1 integer,
// 2 boolean, 3 text), data offset, data size, next-record offset. A next-record offset
// of 0 marks the closing record, whose own data are not loaded.
//
// The reader trusts nothing in the file: it never reads outside it, stops a chain that
// leaves the file or comes back to a record already read, and holds at most the file
// itself plus a small record per entry, whatever the bytes say. A header length above
// 24 is read as the 24-byte header. A file that cannot be a theme (too short, header
// length below 24, first record outside the file) is refused: isTheme() is false and
// errorString() says why. A theme whose chain or entries are damaged keeps every entry
// read up to the damage; damaged() and errorString() say what went wrong.
//
// Work is bounded by the file, not by its entries: entries whose data are the very
// same bytes as an earlier entry's share them (sameDataAs), and the distinct data of
// bitmap and text entries may add up to at most kMaxExpansion times the file size;
// entries beyond that are skipped as damaged. Whoever walks the entries (dump, the
// theme loader) therefore does work linear in the file size.
//
// Uses QtCore only, so the fuzz target can build it on its own.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QtGlobal>
#include <vector>

class TsuiThemeFileReader {
public:
    enum Kind : quint8 { Bitmap = 0, Integer = 1, Boolean = 2, Text = 3 };

    static constexpr qint64 kHeaderSize = 24;
    static constexpr qint64 kRecordSize = 77;
    static constexpr int kNameSize = 64;
    // Larger files are refused before anything is read: real themes are well below a
    // megabyte, and the whole file is held in memory.
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
    static constexpr qint64 kMaxExpansion = 2;

    // One record of the chain, in chain order (closing record excluded).
    struct Entry {
        QString name;
        quint8 kind = 0;
        qint64 recordOffset = 0;
        qint64 dataOffset = 0;
        qint64 dataSize = 0;
        qint32 value = 0;  // integer and boolean entries
        bool valid = true; // false: its data lie outside the file or overlap too much,
                           // so it was not loaded
        // Index (in entries()) of the first earlier bitmap or text entry with exactly
        // the same data, or -1.
        qint64 sameDataAs = -1;
        bool overlapping = false; // not loaded because of the expansion limit
    };

    // Reads and parses the file; the file is closed again before this returns.
    explicit TsuiThemeFileReader(const QString& fileName);
    // Parses bytes already in memory, as if they were a file's content.
    static TsuiThemeFileReader FromBytes(const QByteArray& bytes);

    bool isTheme() const { return isTheme_; }
    bool damaged() const { return damaged_; }
    // Empty for a sound theme; otherwise what is wrong, in words.
    QString errorString() const { return error_; }

    // The complete BMP file image of the first bitmap entry of that name
    // (case-insensitive); a null QByteArray when there is none.
    QByteArray FindBitmapStream(const QString& name) const;
    // The entry FindBitmapStream reads, or nullptr.
    const Entry* FindBitmapEntry(const QString& name) const { return find(Bitmap, name); }
    // The first integer entry of that name; -1 when there is none.
    qint32 FindIntEntry(const QString& name) const;
    // The first boolean entry of that name (any non-zero byte is true); false when none.
    bool FindBoolEntry(const QString& name) const;
    // The first text entry of that name; a null string when none.
    QString FindTextEntry(const QString& name) const;

    // Every record of the chain, in chain order, unknown kinds included.
    const std::vector<Entry>& entries() const { return entries_; }
    // The bytes of an entry's data (bitmap or text); empty for an invalid entry.
    QByteArray entryData(const Entry& entry) const;
    // The same bytes without a copy, valid as long as the reader.
    QByteArrayView entryBytes(const Entry& entry) const;

private:
    TsuiThemeFileReader() = default;
    void parse();
    void fail(const QString& why);
    void damage(const QString& why);
    const Entry* find(quint8 kind, const QString& name) const;

    QByteArray bytes_;
    std::vector<Entry> entries_;
    // Lower-cased name -> index of the first entry of that name, one map per kind.
    QHash<QString, std::size_t> index_[4];
    bool isTheme_ = false;
    bool damaged_ = false;
    QString error_;
};
