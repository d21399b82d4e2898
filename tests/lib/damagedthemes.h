#pragma once
// Theme files damaged as an interrupted copy or a careless edit leaves them: the MacOS
// look's theme cut short at three places (inside the record chain, inside the bitmaps,
// past the bitmaps in the entries' data), and the same theme with its first bitmap no
// longer a BMP image. Every program that meets one refuses it with the same words.

#include <QByteArray>
#include <QString>
#include <QtTest>

#include "theme/tsuithemefilewriter.h"

namespace zd7240::test {

// Rows "bytes" (the file) and "says" (a regular expression the reason given matches) for
// a data-driven test.
inline void AddDamagedThemeRows() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    const QByteArray whole = TsuiThemeFileWriter::FromBuiltinStyle(TsuiUIStyle::MacOS).toBytes();
    const struct {
        int cut;
        const char* entry; // the first entry whose data the cut leaves outside
    } cuts[] = {{200, "ButtonImage"}, {5000, "ButtonImage"}, {40000, "TitleBarLeftImage"}};
    for (const auto& [cut, entry] : cuts) {
        QTest::addRow("cut at %d bytes", cut)
            << whole.left(cut)
            << QStringLiteral("^damaged theme file: the data of entry \"%1\" \\(offset \\d+, "
                              "\\d+ bytes\\) lie outside the file \\(%2 bytes\\)")
                   .arg(QLatin1String(entry))
                   .arg(cut);
    }
    // The first record (at the header's offset) is ButtonImage, a bitmap; its data offset
    // is the 32-bit number after its 64-byte name and kind byte.
    QByteArray foreign = whole;
    const auto at = [&foreign](qsizetype offset) {
        quint32 v = 0;
        for (int i = 0; i < 4; ++i)
            v |= quint32(quint8(foreign[offset + i])) << (8 * i);
        return qsizetype(v);
    };
    const qsizetype data = at(at(20) + 65);
    foreign[data] = 'X';
    QTest::newRow("first bitmap not a BMP image")
        << foreign << QStringLiteral("^bitmap entry \"ButtonImage\" is not a complete BMP image: ");
}

} // namespace zd7240::test
