// A theme as a folder (pack and unpack) and the listing of a theme's entries, called
// directly: what they make and what they refuse, as values.
#include <QBuffer>
#include <QImage>
#include <QtTest>

#include "../lib/builtinlooks.h"
#include "theme/themeelements.h"
#include "theme/themefolder.h"
#include "theme/themelisting.h"
#include "theme/tsuithemefilereader.h"
#include "theme/tsuithemefilewriter.h"

using zd7240::PackedFolder;

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Bmp(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// Writes the unpacked files into `folder`.
bool WriteFolder(const QString& folder, const zd7240::UnpackedTheme& unpacked) {
    for (const auto& bitmap : unpacked.bitmaps) {
        if (!WriteFile(QDir(folder).filePath(bitmap.name), bitmap.bytes))
            return false;
    }
    return WriteFile(QDir(folder).filePath(zd7240::kThemeTextName), unpacked.text);
}

} // namespace

class TestThemeFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every built-in look goes through a folder and comes back byte for byte; a bitmap
    // that elements share is one file.
    void unpackThenPackGivesTheSameBytes_data() { zd7240::test::AddLookRows(); }
    void unpackThenPackGivesTheSameBytes() {
        QFETCH(TsuiUIStyle, style);
        const QByteArray original = TsuiThemeFileWriter::FromBuiltinStyle(style).toBytes();
        const TsuiThemeFileReader reader = TsuiThemeFileReader::FromBytes(original);
        // A newline in the theme's name must not start a setting of its own.
        const zd7240::UnpackedTheme unpacked =
            zd7240::UnpackTheme(reader, QStringLiteral("look\nButtonTransparentBool=x.theme"));
        QVERIFY(unpacked.missing.isEmpty());
        QVERIFY(unpacked.text.startsWith(
            "# Theme elements of look\\nButtonTransparentBool=x.theme; colours"));
        const int images = int(unpacked.bitmaps.size()) + int(unpacked.text.count("=same as "));
        int expected = 0;
        for (int element = 1; element <= kThemeElementCount; ++element)
            expected += ThemeElementKind(element) == TsuiElementKind::Image ? 1 : 0;
        QCOMPARE(images, expected);

        QTemporaryDir folder;
        QVERIFY(WriteFolder(folder.path(), unpacked));
        const PackedFolder packed = zd7240::PackThemeFolder(folder.path());
        QVERIFY2(packed.refusal == PackedFolder::Refusal::None,
                 qPrintable(packed.errors.join('\n')));
        QVERIFY(packed.leftOut.isEmpty() && packed.ignored.isEmpty());
        QCOMPARE(packed.theme.toBytes(), original);
    }

    // What a theme does not hold is named on both ways, never made up.
    void partialThemes() {
        TsuiThemeFileWriter writer;
        writer.addInteger(QStringLiteral("FormBorderWidthInt"), -3);
        writer.addInteger(QStringLiteral("ControlBorderColor"), 0x0000ff);
        const zd7240::UnpackedTheme unpacked =
            zd7240::UnpackTheme(TsuiThemeFileReader::FromBytes(writer.toBytes()), "p.theme");
        QVERIFY(unpacked.bitmaps.empty());
        QCOMPARE(unpacked.missing.size(), kThemeElementCount - 2);
        QVERIFY(unpacked.text.contains("\nFormBorderWidthInt=-3\n"));
        QVERIFY(unpacked.text.contains("\nControlBorderColor=0x0000FF\n"));

        QTemporaryDir folder;
        QVERIFY(WriteFolder(folder.path(), unpacked));
        QVERIFY(WriteFile(QDir(folder.path()).filePath("Notes.bmp"), "not an element"));
        const PackedFolder packed = zd7240::PackThemeFolder(folder.path());
        QVERIFY(packed.refusal == PackedFolder::Refusal::None);
        QCOMPARE(packed.ignored, QStringList{"Notes.bmp"});
        QCOMPARE(packed.leftOut, unpacked.missing);
        QCOMPARE(packed.theme.toBytes(), writer.toBytes());
    }

    // Every bad line is refused with its number, all in one go, and nothing is built.
    void refusedSettings_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("unknown key and bad values")
            << QByteArray("# comment\n"
                          "ControlBorderColour=0\n"
                          "FormBorderWidthInt=12px\n"
                          "ButtonTransparentBool=yes\n"
                          "FormMinWidthInt\n")
            << QStringList{"theme.txt line 2: \"ControlBorderColour\" is not a theme element",
                           "theme.txt line 3: \"12px\" is not a 32-bit number",
                           "theme.txt line 4: \"yes\" is not True or False",
                           "theme.txt line 5: expected Key=value"};
        QTest::newRow("key again, any case")
            << QByteArray("FormMinWidthInt=1\nformminwidthint=1\n")
            << QStringList{
                   "theme.txt line 2: \"formminwidthint\" is given again (first on line 1)"};
        QTest::newRow("image as a value")
            << QByteArray("ButtonImage=same as FormImage.bmp\n")
            << QStringList{"theme.txt line 1: \"ButtonImage\" is an image: give it as "
                           "ButtonImage.bmp, or as \"same as KEY.bmp\" of a bitmap given"};
        QTest::newRow("NUL") << QByteArray("FormMinWidthInt=1\0\n", 19)
                             << QStringList{"theme.txt line 1: contains a NUL byte"};
    }
    void refusedSettings() {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, errors);
        QTemporaryDir folder;
        QVERIFY(WriteFile(QDir(folder.path()).filePath("theme.txt"), text));
        const PackedFolder packed = zd7240::PackThemeFolder(folder.path());
        QVERIFY(packed.refusal == PackedFolder::Refusal::BadData);
        QCOMPARE(packed.errors, errors);
        QVERIFY(packed.theme.toBytes() == TsuiThemeFileWriter().toBytes());
    }

    // Folders and files that cannot be read at all.
    void unreadableFolders() {
        QTemporaryDir folder;
        const QString missing = QDir(folder.path()).filePath("none");
        PackedFolder packed = zd7240::PackThemeFolder(missing);
        QVERIFY(packed.refusal == PackedFolder::Refusal::NoFolder);
        QCOMPARE(packed.errors, QStringList{QStringLiteral("\"%1\": no such folder").arg(missing)});

        QVERIFY(WriteFile(QDir(folder.path()).filePath("ButtonImage.bmp"), Bmp(4, 4).left(30)));
        packed = zd7240::PackThemeFolder(folder.path());
        QVERIFY(packed.refusal == PackedFolder::Refusal::BadData);
        QCOMPARE(packed.errors.size(), 1);
        QVERIFY2(packed.errors[0].startsWith("\"ButtonImage.bmp\" is not a complete BMP image"),
                 qPrintable(packed.errors[0]));

        QVERIFY(QDir(folder.path()).mkdir("theme.txt"));
        packed = zd7240::PackThemeFolder(folder.path());
        QVERIFY(packed.refusal == PackedFolder::Refusal::TextUnreadable);
        QCOMPARE(packed.errors, QStringList{QStringLiteral("\"%1\" is a folder")
                                                .arg(QDir(folder.path()).filePath("theme.txt"))});
    }

    void numbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint32>("value");
        QTest::newRow("decimal") << " 12 " << true << 12;
        QTest::newRow("negative") << "-2147483648" << true << qint32(INT32_MIN);
        QTest::newRow("hex bit pattern") << "0xFFFFFFFF" << true << -1;
        QTest::newRow("dollar hex") << "$ff" << true << 255;
        QTest::newRow("negative hex") << "-0x10" << true << -16;
        QTest::newRow("beyond 32 bits") << "4294967296" << false << 0;
        QTest::newRow("below 32 bits") << "-2147483649" << false << 0;
        QTest::newRow("two signs") << "--5" << false << 0;
        QTest::newRow("bare 0x") << "0x" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("unit") << "3px" << false << 0;
    }
    void numbers() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint32, value);
        qint32 parsed = 0;
        QCOMPARE(zd7240::ParseThemeNumber(text, &parsed), ok);
        if (ok)
            QCOMPARE(parsed, value);
    }

    void booleans() {
        const std::pair<const char*, int> cases[] = {
            {"True", 1}, {" false ", 0}, {"1", 1}, {"0", 0}, {"yes", -1}, {"", -1}, {"2", -1}};
        for (const auto& [text, expected] : cases) {
            bool value = false;
            const bool ok = zd7240::ParseThemeBool(QString::fromLatin1(text), &value);
            QVERIFY2(ok == (expected >= 0) && (!ok || int(value) == expected), text);
        }
    }

    // One line per entry; names and texts escaped as Latin-1, shared data named.
    void listing() {
        TsuiThemeFileWriter writer;
        const QByteArray bmp = Bmp(3, 2);
        writer.addBitmap(QStringLiteral("A"), bmp);
        writer.addBitmap(QString::fromLatin1("B\xe9"), bmp);
        writer.addInteger(QStringLiteral("N"), -7);
        writer.addBoolean(QStringLiteral("F"), true);
        writer.addText(QStringLiteral("T"), QByteArray("x\n\x1b\\\x85\xe9"));
        writer.addBitmap(QStringLiteral("Bad"), "BM");
        const TsuiThemeFileReader reader = TsuiThemeFileReader::FromBytes(writer.toBytes());
        std::string out;
        const QStringList problems =
            zd7240::ListThemeEntries(reader, [&out](std::string_view piece) { out.append(piece); });
        QCOMPARE(QString::fromStdString(out),
                 QString::fromUtf8("A bitmap 3x2\n"
                                   "B\u00e9 bitmap 3x2\n"
                                   "N integer -7\n"
                                   "F boolean 1\n"
                                   "T text x\\n\\x1b\\\\\\x85\u00e9\n"
                                   "Bad bitmap (not a readable bitmap, 2 bytes)\n"));
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].startsWith("bitmap entry \"Bad\" is not a complete BMP image"),
                 qPrintable(problems[0]));
    }
};

QTEST_MAIN(TestThemeFolder)
#include "tst_themefolder.moc"
