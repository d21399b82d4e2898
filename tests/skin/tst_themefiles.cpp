// Theme files: the reader on hand-made and damaged files, TsuiFileTheme loading, and the
// zd7240-theme tool (export round trip, dump, pack).
#include <QBuffer>
#include <QProcess>
#include <QtTest>

#include "../lib/builtinlooks.h"
#include "../lib/damagedthemes.h"
#include "../lib/themefile.h"
#include "drawing/skinbitmaps.h"
#include "look/styleselection.h"
#include "theme/themeelements.h"
#include "theme/themelisting.h"
#include "theme/tsuifiletheme.h"
#include "theme/tsuifilethememgr.h"
#include "theme/tsuithemefilereader.h"
#include "theme/tsuithemefilewriter.h"
#include "themefilebuilder.h"

using zd7240::test::WriteThemeFile;

namespace {

constexpr int R = 77; // record size

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun RunTool(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(ZD7240_THEME_TOOL), args);
    if (!process.waitForFinished(60000))
        return {-1, {}, QStringLiteral("did not finish")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Integer entries "A".."C" at 24, 24+R, 24+2R, each followed at the end by its data.
ThemeFileBuilder ThreeRecords(qint32 lastNext) {
    const int data = 24 + 3 * R;
    ThemeFileBuilder b(data + 12);
    b.header(24, 24)
        .record(24, "A", 1, data, 4, 24 + R)
        .record(24 + R, "B", 1, data + 4, 4, 24 + 2 * R)
        .record(24 + 2 * R, "C", 1, data + 8, 4, lastNext)
        .put(data, 11)
        .put(data + 4, 22)
        .put(data + 8, 33);
    return b;
}

QStringList Names(const TsuiThemeFileReader& reader) {
    QStringList names;
    for (const auto& e : reader.entries())
        names << e.name;
    return names;
}

} // namespace

class TestThemeFiles : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString path(const QString& name) const { return dir_.filePath(name); }

private Q_SLOTS:
    void chainOfThreeRecordsHoldsTwoEntries() {
        const auto reader = TsuiThemeFileReader::FromBytes(ThreeRecords(0).bytes());
        QVERIFY(reader.isTheme());
        QVERIFY(!reader.damaged());
        QVERIFY(reader.errorString().isEmpty());
        QCOMPARE(Names(reader), (QStringList{"A", "B"}));
        QCOMPARE(reader.FindIntEntry("a"), 11);
        QCOMPARE(reader.FindIntEntry("B"), 22);
        QCOMPARE(reader.FindIntEntry("C"), -1); // the closing record's data are not loaded

        ThemeFileBuilder empty(24 + R);
        empty.header(24, 24).record(24, "X", 1, 0, 4, 0);
        const auto none = TsuiThemeFileReader::FromBytes(empty.bytes());
        QVERIFY(none.isTheme());
        QVERIFY(none.entries().empty());
    }

    void kindsNamesAndFirstWins() {
        const int d = 24 + 7 * R;
        ThemeFileBuilder b(d + 40);
        b.header(24, 24)
            .record(24, "ButtonImage", 0, d, 6, 24 + R)
            .record(24 + R, "BUTTONIMAGE", 0, d + 6, 6, 24 + 2 * R)
            .record(24 + 2 * R, "Mystery", 7, d, 4, 24 + 3 * R)          // unknown kind: skipped
            .record(24 + 3 * R, "buttonimage", 2, d + 12, 1, 24 + 4 * R) // other list
            .record(24 + 4 * R, "Motto", 3, d + 13, 5, 24 + 5 * R)
            .record(24 + 5 * R, QByteArray(64, 'N'), 1, d + 38, 4, 24 + 6 * R) // cut at end
            .record(24 + 6 * R, "", 0, 0, 0, 0)
            .bytesAt(d, "first!second")
            .bytesAt(d + 12, QByteArray(1, 7))
            .bytesAt(d + 13, "hello")
            .bytesAt(d + 38, "\x05\x01");
        const auto reader = TsuiThemeFileReader::FromBytes(b.bytes());
        QVERIFY(!reader.damaged());
        QCOMPARE(reader.entries().size(), size_t(6));
        QCOMPARE(reader.FindBitmapStream("buttonImage"), QByteArray("first!"));
        QVERIFY(reader.FindBitmapStream("Mystery").isNull());
        QCOMPARE(reader.FindBoolEntry("ButtonImage"), true); // any non-zero byte
        QCOMPARE(reader.FindIntEntry("ButtonImage"), -1);
        QCOMPARE(reader.FindTextEntry("MOTTO"), QStringLiteral("hello"));
        // A 64-character name without NUL; an integer cut short by the end of the file
        // is zero-extended.
        QCOMPARE(reader.FindIntEntry(QString(64, QLatin1Char('n'))), 0x0105);
    }

    void damagedChains_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("error");

        QTest::newRow("loop back to the first record")
            << ThreeRecords(24).bytes() << QStringList{"A", "B", "C"} << "leads back";
        QTest::newRow("record pointing at itself") << ThemeFileBuilder(24 + R + 4)
                                                          .header(24, 24)
                                                          .record(24, "A", 1, 24 + R, 4, 24)
                                                          .put(24 + R, 11)
                                                          .bytes()
                                                   << QStringList{"A"} << "leads back";
        QTest::newRow("next record beyond the end")
            << ThreeRecords(1000000).bytes() << QStringList{"A", "B", "C"} << "outside the file";
        QTest::newRow("next record overlapping the end")
            << ThreeRecords(24 + 3 * R).bytes() << QStringList{"A", "B", "C"} << "outside the file";
        QTest::newRow("negative next offset")
            << ThreeRecords(-16).bytes() << QStringList{"A", "B", "C"} << "outside the file";
        {
            ThemeFileBuilder b = ThreeRecords(0);
            b.record(24, "A", 0, 24 + 3 * R, 0x7FFFFFFF, 24 + R); // a huge bitmap
            QTest::newRow("huge data size") << b.bytes() << QStringList{"A", "B"} << "lie outside";
        }
        {
            ThemeFileBuilder b = ThreeRecords(0);
            b.record(24 + R, "B", 1, 0x7FFFFFF0, 4, 24 + 2 * R);
            QTest::newRow("integer data outside")
                << b.bytes() << QStringList{"A", "B"} << "lie outside";
        }
        {
            ThemeFileBuilder b = ThreeRecords(0);
            b.record(24, "A", 3, 24 + 3 * R, -5, 24 + R); // negative text size
            QTest::newRow("negative size") << b.bytes() << QStringList{"A", "B"} << "lie outside";
        }
    }
    void damagedChains() {
        QFETCH(QByteArray, bytes);
        const auto reader = TsuiThemeFileReader::FromBytes(bytes);
        QVERIFY(reader.isTheme());
        QVERIFY(reader.damaged());
        QTEST(Names(reader), "names");
        QFETCH(QString, error);
        QVERIFY2(reader.errorString().contains(error), qPrintable(reader.errorString()));
        for (const auto& e : reader.entries()) {
            if (e.name == QLatin1String("A") && e.valid)
                QCOMPARE(reader.FindIntEntry("a"), 11);
            if (!e.valid) {
                QVERIFY(reader.entryData(e).isEmpty());
                QCOMPARE(reader.FindIntEntry(e.name), -1);
            }
        }
    }

    void notThemes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray() << "shorter than";
        QTest::newRow("truncated header") << ThreeRecords(0).bytes().left(20) << "shorter than";
        QTest::newRow("header length 16")
            << ThemeFileBuilder(200).header(16, 24).bytes() << "header length";
        QTest::newRow("first record beyond the end")
            << ThemeFileBuilder(100).header(24, 24).bytes() << "first entry record";
        QTest::newRow("text") << QByteArray("just a plain text file, nothing else in it")
                              << "first entry record";
    }
    void notThemes() {
        QFETCH(QByteArray, bytes);
        const auto reader = TsuiThemeFileReader::FromBytes(bytes);
        QVERIFY(!reader.isTheme());
        QVERIFY(reader.entries().empty());
        QFETCH(QString, error);
        QVERIFY2(reader.errorString().startsWith(QStringLiteral("not a theme file")),
                 qPrintable(reader.errorString()));
        QVERIFY2(reader.errorString().contains(error), qPrintable(reader.errorString()));
    }

    // A longer header is read as its first 24 bytes; an integer entry takes as many
    // bytes as its size says, zero-extended.
    void headerLengthAndShortIntegers() {
        ThemeFileBuilder b = ThreeRecords(0);
        b.header(1000, 24);
        QCOMPARE(Names(TsuiThemeFileReader::FromBytes(b.bytes())), (QStringList{"A", "B"}));

        const int d = 24 + 4 * R;
        ThemeFileBuilder ints(d + 8);
        ints.header(24, 24)
            .record(24, "One", 1, d, 1, 24 + R)
            .record(24 + R, "Two", 1, d + 1, 2, 24 + 2 * R)
            .record(24 + 2 * R, "None", 1, d, 0, 24 + 3 * R)
            .bytesAt(d, QByteArray("\x03\xff\x7f\x55\x66\x77", 6));
        const auto reader = TsuiThemeFileReader::FromBytes(ints.bytes());
        QVERIFY(!reader.damaged());
        QCOMPARE(reader.FindIntEntry("One"), 3); // not -253 from the bytes that follow
        QCOMPARE(reader.FindIntEntry("Two"), 0x7fff);
        QCOMPARE(reader.FindIntEntry("None"), 0);
    }

    // Entries that share data share them; distinct but overlapping data may add up to
    // twice the file's size, later entries are skipped.
    void sharedAndOverlappingData() {
        const int n = 50, d = 24 + (n + 1) * R, blob = 1000;
        ThemeFileBuilder shared(d + blob);
        shared.header(24, 24);
        for (int i = 0; i < n; ++i)
            shared.record(24 + i * R, "T" + QByteArray::number(i), 3, d, blob, 24 + (i + 1) * R);
        auto reader = TsuiThemeFileReader::FromBytes(shared.bytes());
        QVERIFY(!reader.damaged());
        QCOMPARE(reader.entries().size(), size_t(n));
        QCOMPARE(reader.entries()[0].sameDataAs, -1);
        QCOMPARE(reader.entries()[n - 1].sameDataAs, 0);
        QCOMPARE(reader.FindTextEntry("T7"), QString(blob, QLatin1Char('\0')));

        ThemeFileBuilder overlapping(d + blob);
        overlapping.header(24, 24);
        for (int i = 0; i < n; ++i) // each one byte shorter: no two ranges are the same
            overlapping.record(24 + i * R, "T" + QByteArray::number(i), 3, d, blob - i,
                               24 + (i + 1) * R);
        reader = TsuiThemeFileReader::FromBytes(overlapping.bytes());
        QVERIFY(reader.damaged());
        QVERIFY2(reader.errorString().contains(QStringLiteral("overlap")),
                 qPrintable(reader.errorString()));
        qint64 loaded = 0;
        for (const auto& e : reader.entries())
            loaded += e.valid && e.sameDataAs < 0 ? e.dataSize : 0;
        QVERIFY(loaded <= 2 * overlapping.bytes().size());
        QVERIFY(!reader.entries()[0].overlapping);
        QVERIFY(reader.entries()[n - 1].overlapping);
    }

    void readerOnFiles() {
        QVERIFY(WriteFile(path("three.theme"), ThreeRecords(0).bytes()));
        const TsuiThemeFileReader reader(path("three.theme"));
        QCOMPARE(reader.FindIntEntry("B"), 22);
        const TsuiThemeFileReader missing(path("nowhere.theme"));
        QVERIFY(!missing.isTheme());
        QVERIFY(missing.errorString().contains(QStringLiteral("cannot open")));
    }

    void managerWithoutReader() {
        TsuiFileThemeMgr mgr;
        QCOMPARE(mgr.ThemeColor(25), 0);
        QCOMPARE(mgr.ThemeInt(17), 0);
        QCOMPARE(mgr.ThemeBool(2), false);
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QImage before = image;
        mgr.ThemeBitmap(1, image);
        QCOMPARE(image, before);
        QVERIFY(!mgr.OpenThemeFile(path("nowhere.theme")));
    }

    // One bitmap named by every image element is decoded once, and what the theme hands
    // out together stays within the bound: past it, elements keep their own look.
    void sharedBitmapsStayWithinTheThemesBound() {
        QByteArray bmp;
        {
            QImage image(64, 64, QImage::Format_RGB32);
            image.fill(Qt::green);
            QBuffer buffer(&bmp);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "BMP");
        }
        TsuiThemeFileWriter writer;
        QList<int> images;
        for (int element = 1; element <= kThemeElementCount; ++element) {
            if (ThemeElementKind(element) == TsuiElementKind::Image) {
                writer.addBitmap(QLatin1String(ThemeElementKey(element)), bmp);
                images << element;
            }
        }
        QVERIFY(images.size() >= 3);
        QVERIFY(!WriteThemeFile(dir_, "shared.theme", writer).isEmpty());
        const qint64 one = 64 * 64 * 4;
        TsuiFileThemeMgr::setDecodedBudgetForTests(2 * one);
        TsuiFileThemeMgr mgr;
        QVERIFY(mgr.OpenThemeFile(path("shared.theme")));
        int handed = 0;
        for (const int element : images) {
            QImage graphic;
            mgr.ThemeBitmap(element, graphic);
            handed += !graphic.isNull();
        }
        TsuiFileThemeMgr::setDecodedBudgetForTests(0);
        QCOMPARE(handed, 2);
        // Opening the theme again starts a new count.
        QVERIFY(mgr.OpenThemeFile(path("shared.theme")));
        QImage graphic;
        mgr.ThemeBitmap(images.front(), graphic);
        QCOMPARE(graphic.size(), QSize(64, 64));
    }

    // The bound counts each element once, however often it asks (a look is built again
    // from the same load when no control holds it any more), and covers distinct bitmaps
    // as well as shared ones: each bitmap alone is well under it, together they pass it.
    void bitmapBoundCountsEachElementOnce_data() {
        QTest::addColumn<bool>("distinct");
        QTest::addColumn<int>("budgetInBitmaps");
        QTest::addColumn<int>("rounds");
        QTest::addColumn<int>("handedPerRound"); // -1: every image element
        QTest::newRow("shared, room for all, asked three times") << false << 19 << 3 << -1;
        QTest::newRow("shared, room for two") << false << 2 << 2 << 2;
        QTest::newRow("distinct, room for all, asked three times") << true << 19 << 3 << -1;
        QTest::newRow("distinct, room for three") << true << 3 << 2 << 3;
    }
    void bitmapBoundCountsEachElementOnce() {
        QFETCH(bool, distinct);
        QFETCH(int, budgetInBitmaps);
        QFETCH(int, rounds);
        QFETCH(int, handedPerRound);
        TsuiThemeFileWriter writer;
        QList<int> images;
        for (int element = 1; element <= kThemeElementCount; ++element) {
            if (ThemeElementKind(element) != TsuiElementKind::Image)
                continue;
            QImage image(32, 32, QImage::Format_RGB32);
            image.fill(distinct ? qRgb(element, 0, 0) : qRgb(0, 0, 255));
            QByteArray bmp;
            QBuffer buffer(&bmp);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "BMP");
            writer.addBitmap(QLatin1String(ThemeElementKey(element)), bmp);
            images << element;
        }
        if (handedPerRound < 0)
            handedPerRound = int(images.size());
        QVERIFY(!WriteThemeFile(dir_, "bound.theme", writer).isEmpty());
        TsuiFileThemeMgr::setDecodedBudgetForTests(qint64(budgetInBitmaps) * 32 * 32 * 4);
        TsuiFileThemeMgr mgr;
        QVERIFY(mgr.OpenThemeFile(path("bound.theme")));
        for (int round = 0; round < rounds; ++round) {
            QSet<qint64> data; // one decoded image shared, or one per bitmap
            int handed = 0;
            for (const int element : images) {
                QImage graphic;
                mgr.ThemeBitmap(element, graphic);
                if (!graphic.isNull()) {
                    ++handed;
                    data << graphic.cacheKey();
                    QCOMPARE(graphic.pixel(3, 3), distinct ? qRgb(element, 0, 0) : qRgb(0, 0, 255));
                }
            }
            QCOMPARE(handed, handedPerRound);
            QCOMPARE(data.size(), distinct ? handedPerRound : 1);
        }
        TsuiFileThemeMgr::setDecodedBudgetForTests(0);
        const bool bounded = handedPerRound < int(images.size());
        QCOMPARE(mgr.errorString().contains(QStringLiteral("bound")), bounded);
        QVERIFY(!mgr.outOfMemory());
    }

    // The writer stores a bitmap given again with the same bytes once; the reader sees
    // the later records sharing the first one's data.
    void writerStoresRepeatedBitmapsOnce() {
        QByteArray a;
        {
            QImage image(20, 10, QImage::Format_RGB32);
            image.fill(Qt::yellow);
            QBuffer buffer(&a);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(image.save(&buffer, "BMP"));
        }
        const QByteArray b("BM not checked by the writer");
        TsuiThemeFileWriter writer;
        writer.addBitmap("One", a);
        writer.addInteger("Number", 7);
        writer.addBitmap("Two", b);
        writer.addBitmap("Three", a);
        writer.addBitmap("Four", b);
        const QByteArray bytes = writer.toBytes();
        QCOMPARE(bytes.size(), 24 + 6 * R + a.size() + 4 + b.size()); // and the closing record
        const auto reader = TsuiThemeFileReader::FromBytes(bytes);
        QVERIFY(!reader.damaged());
        const auto& e = reader.entries();
        QCOMPARE(Names(reader), (QStringList{"One", "Number", "Two", "Three", "Four"}));
        QCOMPARE(e[3].sameDataAs, 0);
        QCOMPARE(e[4].sameDataAs, 2);
        QCOMPARE(reader.FindBitmapStream("Three"), a);
        QCOMPARE(reader.FindBitmapStream("Four"), b);
        QCOMPARE(reader.FindIntEntry("Number"), 7);
    }

    void settingThemeFile() {
        TsuiThemeFileWriter first;
        first.addInteger("FormBorderWidthInt", 5);
        QVERIFY(!WriteThemeFile(dir_, "a.theme", first).isEmpty());
        TsuiFileTheme theme;
        QVERIFY(!theme.ThemeLoaded());
        theme.setThemeFile(path("a.theme"));
        QVERIFY(theme.ThemeLoaded());
        QCOMPARE(theme.ThemeFile(), path("a.theme"));
        QCOMPARE(theme.ThemeInt(17), 5);
        QCOMPARE(theme.ThemeColor(25), -1); // loaded, entry missing

        // The same path again does not reload, even though the file changed.
        TsuiThemeFileWriter second;
        second.addInteger("FormBorderWidthInt", 9);
        QVERIFY(!WriteThemeFile(dir_, "a.theme", second).isEmpty());
        theme.setThemeFile(path("a.theme"));
        QCOMPARE(theme.ThemeInt(17), 5);

        // A path that exists nowhere leaves the old theme in force.
        theme.setThemeFile(path("nowhere.theme"));
        QCOMPARE(theme.ThemeFile(), path("a.theme"));
        QVERIFY(theme.ThemeLoaded());
        QCOMPARE(theme.ThemeInt(17), 5);
    }

    void bareNameFoundInProgramFolder() {
        const QString name =
            QStringLiteral("zd7240-test-%1.theme").arg(QCoreApplication::applicationPid());
        const QString inProgram = QDir(QCoreApplication::applicationDirPath()).filePath(name);
        TsuiThemeFileWriter writer;
        writer.addBoolean("ButtonTransparentBool", true);
        QVERIFY(writer.writeTo(inProgram, nullptr));
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(dir_.path()); // so the bare name is not found where we stand
        TsuiFileTheme theme;
        theme.setThemeFile(name);
        QDir::setCurrent(cwd);
        QFile::remove(inProgram);
        QCOMPARE(theme.ThemeFile(), inProgram);
        QVERIFY(theme.ThemeLoaded());
        QCOMPARE(theme.ThemeBool(2), true);
    }

    // Every built-in look, exported by the tool, is byte for byte the theme writer's file
    // of that look (whose reading back element by element tst_themeelements checks), and
    // loads as FromThemeFile.
    void exportRoundTrip_data() { zd7240::test::AddLookRows(); }
    void exportRoundTrip() {
        QFETCH(TsuiUIStyle, style);
        const QLatin1String name(zd7240::test::LookName(style));
        const QString file = path(name + QStringLiteral(".theme"));
        const ToolRun run = RunTool({"export", name, file});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QFile exported(file);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QVERIFY(exported.readAll() == TsuiThemeFileWriter::FromBuiltinStyle(style).toBytes());
        TsuiFileTheme theme;
        theme.setThemeFile(file);
        QVERIFY(theme.ThemeLoaded());
        QVERIFY(ResolveUIStyle(&theme, TsuiUIStyle::FromThemeFile).useFile);
    }

    void dump() {
        const QString file = path("dump.theme");
        QVERIFY(RunTool({"export", "MacOS", file}).exitCode == 0);
        ToolRun run = RunTool({"dump", file});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), kThemeElementCount);
        QCOMPARE(lines[0], QStringLiteral("ButtonImage bitmap 252x23"));
        QCOMPARE(lines[1], QStringLiteral("ButtonTransparentBool boolean 1"));
        QCOMPARE(lines[7], QStringLiteral("TitleBarButtonRightOffsetInt integer -2"));
        QCOMPARE(lines[14], QStringLiteral("FormBackgroundColor integer %1").arg(0xE7E7E7));

        // Cut in the middle of the chain: what could be read, then 65 and the reason.
        QFile whole(file);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        QVERIFY(WriteFile(path("cut.theme"), bytes.left(bytes.size() / 2)));
        run = RunTool({"dump", path("cut.theme")});
        QCOMPARE(run.exitCode, 65);
        QVERIFY(run.out.startsWith(QStringLiteral("ButtonImage bitmap 252x23\n")));
        QVERIFY2(run.err.contains(QStringLiteral("damaged")), qPrintable(run.err));

        QVERIFY(WriteFile(path("text.theme"), "hello, I am not a theme"));
        run = RunTool({"dump", path("text.theme")});
        QCOMPARE(run.exitCode, 65);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.contains(QStringLiteral("not a theme file")));

        QVERIFY(WriteFile(path("loop.theme"), ThreeRecords(24).bytes()));
        run = RunTool({"dump", path("loop.theme")});
        QCOMPARE(run.exitCode, 65);
        QCOMPARE(run.out, QStringLiteral("A integer 11\nB integer 22\nC integer 33\n"));

        QCOMPARE(RunTool({"dump", path("nowhere.theme")}).exitCode, 66);
    }

    // A damaged theme is refused by the one check that dump and the window share: dump
    // ends with 65 and its words; a theme already loaded keeps its file and its controls
    // are not told of any change when the damaged file is offered to it.
    void damagedThemesRefused_data() { zd7240::test::AddDamagedThemeRows(); }
    void damagedThemesRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        const QString file = path("damaged.theme");
        QVERIFY(WriteFile(file, bytes));
        const QStringList problems = zd7240::ThemeFileProblems(TsuiThemeFileReader(file));
        QVERIFY2(!problems.isEmpty() && problems.first().contains(QRegularExpression(says)),
                 qPrintable(problems.join('|')));

        const ToolRun run = RunTool({"dump", file});
        QCOMPARE(run.exitCode, 65);
        QCOMPARE(run.err, QStringLiteral("zd7240-theme: \"%1\": %2\n")
                              .arg(file, problems.join(QStringLiteral("; "))));

        const QString sound = WriteThemeFile(
            dir_, "sound.theme", TsuiThemeFileWriter::FromBuiltinStyle(TsuiUIStyle::WinXP));
        TsuiFileTheme theme;
        QString why;
        QVERIFY2(theme.LoadSoundThemeFile(sound, &why), qPrintable(why));
        const quint64 serial = theme.loadSerial();
        QSignalSpy elements(&theme, &TsuiFileTheme::elementsChanged);
        QVERIFY(!theme.LoadSoundThemeFile(file, &why));
        QCOMPARE(why, problems.join(QStringLiteral("; ")));
        QCOMPARE(theme.ThemeFile(), sound);
        QVERIFY(theme.ThemeLoaded());
        QCOMPARE(theme.loadSerial(), serial);
        QCOMPARE(elements.count(), 0);
        QVERIFY(ResolveUIStyle(&theme, TsuiUIStyle::FromThemeFile).useFile);
    }

    // A hostile file cannot make dump print more than the file holds, nor reach the
    // terminal with control characters.
    void dumpOfHostileFiles() {
        const int n = 2000, d = 24 + (n + 1) * R, blob = 100000;
        ThemeFileBuilder shared(d + blob);
        shared.header(24, 24);
        for (int i = 0; i < n; ++i)
            shared.record(24 + i * R, "T" + QByteArray::number(i), 3, d, blob, 24 + (i + 1) * R);
        shared.bytesAt(d, QByteArray(blob, 'A'));
        QVERIFY(WriteFile(path("shared.theme"), shared.bytes()));
        ToolRun run = RunTool({"dump", path("shared.theme")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.size() < 2 * shared.bytes().size(), qPrintable(run.err));
        QVERIFY(run.out.contains(QStringLiteral("\nT1999 text (same data as \"T0\")\n")));

        const QByteArray text("\x1b]0;title\x07\x1b[2J\x9b"
                              "1m\\ caf\xe9\n",
                              24);
        ThemeFileBuilder evil(24 + 2 * R + text.size());
        evil.header(24, 24)
            .record(24, "Name\x1b[2J\r", 3, 24 + 2 * R, text.size(), 24 + R)
            .bytesAt(24 + 2 * R, text);
        QVERIFY(WriteFile(path("evil.theme"), evil.bytes()));
        run = RunTool({"dump", path("evil.theme")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out,
                 QString::fromUtf8("Name\\x1b[2J\\r text "
                                   "\\x1b]0;title\\x07\\x1b[2J\\x9b1m\\\\ caf\u00e9\\n\n"));
    }

    void dumpNamesWhatItWasGiven() {
        QCOMPARE(
            RunTool({"dump", dir_.path()}).err,
            QStringLiteral("zd7240-theme: \"%1\": a folder, not a theme file\n").arg(dir_.path()));
        const ToolRun null = RunTool({"dump", "/dev/null"});
        QCOMPARE(null.exitCode, 65);
        QVERIFY2(null.err.contains(QStringLiteral("not a theme file: 0 bytes")),
                 qPrintable(null.err));
        const ToolRun version = RunTool({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("zd7240-theme (Velmar Zd7240 Helper) 2.1\n"));
    }

    // export -> unpack -> edit -> pack gives the exported bytes with just the edit.
    void unpackEditPackRoundTrip() {
        const QString exported = path("rt.theme"), folder = path("rt");
        QCOMPARE(RunTool({"export", "WinXP", exported}).exitCode, 0);
        ToolRun run = RunTool({"unpack", exported, folder});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(QFile::exists(QDir(folder).filePath("ButtonImage.bmp")));
        QCOMPARE(RunTool({"pack", folder, path("same.theme")}).exitCode, 0);
        QFile a(exported), b(path("same.theme"));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray original = a.readAll();
        QCOMPARE(b.readAll(), original);

        QFile text(QDir(folder).filePath("theme.txt"));
        QVERIFY(text.open(QIODevice::ReadOnly));
        QByteArray lines = text.readAll();
        text.close();
        const qsizetype at = lines.indexOf("\nControlBorderColor=");
        QVERIFY(at > 0);
        lines.replace(at, lines.indexOf('\n', at + 1) - at, "\nControlBorderColor=0x123456");
        QVERIFY(WriteFile(text.fileName(), lines));
        QCOMPARE(RunTool({"pack", folder, path("edited.theme")}).exitCode, 0);
        TsuiFileTheme theme;
        theme.setThemeFile(path("edited.theme"));
        QCOMPARE(theme.ThemeColor(TsuiElement::ControlBorderColor), 0x123456);
        QCOMPARE(theme.ThemeInt(TsuiElement::FormMinWidthInt),
                 BuiltinInt(int(TsuiUIStyle::WinXP), TsuiElement::FormMinWidthInt));
    }

    // Everything in the folder that pack cannot use whole is refused with its name.
    void packRefusals_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // "folder", "dangling" or file bytes
        QTest::addColumn<QString>("error");
        QByteArray bmp;
        {
            QImage image(252, 23, QImage::Format_RGB32);
            image.fill(Qt::white);
            QBuffer buffer(&bmp);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "BMP");
        }
        QTest::newRow("cut bitmap") << "ButtonImage.bmp" << bmp.left(100) << "cut short";
        QTest::newRow("not a bitmap")
            << "ButtonImage.bmp" << QByteArray("GIF89a") << "not a complete BMP";
        QTest::newRow("bitmap folder")
            << "ButtonImage.bmp" << QByteArray("folder") << "is a folder";
        QTest::newRow("dangling bitmap link")
            << "ButtonImage.bmp" << QByteArray("dangling") << "does not exist";
        QTest::newRow("theme.txt folder") << "theme.txt" << QByteArray("folder") << "is a folder";
        QTest::newRow("NUL in a line")
            << "theme.txt" << QByteArray("FormMinWidthInt=1\0 junk\n", 24)
            << "line 1: contains a NUL";
        QTest::newRow("repeated key")
            << "theme.txt" << QByteArray("FormMinWidthInt=1\n\nformminwidthint=2\n")
            << "line 3: \"formminwidthint\" is given again (first on line 1)";
    }
    void packRefusals() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        QTemporaryDir folder;
        const QString where = QDir(folder.path()).filePath(name);
        if (content == "folder")
            QVERIFY(QDir().mkpath(where));
        else if (content == "dangling")
            QVERIFY(QFile::link(QStringLiteral("nowhere.bmp"), where));
        else
            QVERIFY(WriteFile(where, content));
        const ToolRun run = RunTool({"pack", folder.path(), path("refused.theme")});
        QVERIFY(run.exitCode == 65 || run.exitCode == 66);
        QVERIFY2(run.err.contains(name) && run.err.contains(error), qPrintable(run.err));
        QVERIFY(!QFile::exists(path("refused.theme")));
    }

    // Large but valid bitmaps are taken; a file too large for a theme is refused by name.
    void packLargeBitmaps() {
        QTemporaryDir folder;
        QImage large(6000, 6000, QImage::Format_Mono);
        large.fill(1);
        QVERIFY(large.save(QDir(folder.path()).filePath("ButtonImage.bmp"), "BMP"));
        ToolRun run = RunTool({"pack", folder.path(), path("large.theme")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(!run.err.contains(QStringLiteral("allocation")));
        QVERIFY(RunTool({"dump", path("large.theme")}).out.contains(QStringLiteral("6000x6000")));

        QFile huge(QDir(folder.path()).filePath("ButtonImage.bmp"));
        QVERIFY(huge.open(QIODevice::ReadWrite));
        QVERIFY(huge.resize(108000054)); // sparse: a 6000 x 6000 24-bit image's size
        huge.close();
        run = RunTool({"pack", folder.path(), path("huge.theme")});
        QCOMPARE(run.exitCode, 65);
        QVERIFY2(run.err.contains(QStringLiteral("\"ButtonImage.bmp\" is 108000054 bytes")),
                 qPrintable(run.err));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"frobnicate"};
        QTest::newRow("dump without file") << QStringList{"dump"};
        QTest::newRow("export without file") << QStringList{"export", "MacOS"};
        QTest::newRow("export of no look") << QStringList{"export", "Purple", "x.theme"};
        QTest::newRow("export FromThemeFile") << QStringList{"export", "FromThemeFile", "x.theme"};
        QTest::newRow("pack with one argument") << QStringList{"pack", "dir"};
        QTest::newRow("unpack with one argument") << QStringList{"unpack", "x.theme"};
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        const ToolRun run = RunTool(args);
        QCOMPARE(run.exitCode, 64);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral("x.theme")));
    }

    void pack() {
        const QString folder = path("look");
        QVERIFY(QDir().mkpath(folder));
        QImage tab(18, 17, QImage::Format_RGB32);
        tab.fill(qRgb(10, 20, 30));
        QVERIFY(tab.save(QDir(folder).filePath("TabControlTabImage.bmp"), "BMP"));
        QVERIFY(WriteFile(QDir(folder).filePath("theme.txt"), "# a partial look\n"
                                                              "ControlBorderColor=0x0000FF\n"
                                                              "formborderwidthint = 3\n"
                                                              "\n"
                                                              "ButtonTransparentBool=True\n"
                                                              "TitleBarButtonRightOffsetInt=-2\n"));
        ToolRun run = RunTool({"pack", folder, path("packed.theme")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(run.err.contains(QStringLiteral("left out"))); // the missing elements

        TsuiFileTheme theme;
        theme.setThemeFile(path("packed.theme"));
        QVERIFY(theme.ThemeLoaded());
        QCOMPARE(theme.ThemeColor(TsuiElement::ControlBorderColor), 0x0000FF);
        QCOMPARE(theme.ThemeInt(TsuiElement::FormBorderWidthInt), 3);
        QCOMPARE(theme.ThemeInt(TsuiElement::TitleBarButtonRightOffsetInt), -2);
        QCOMPARE(theme.ThemeBool(TsuiElement::ButtonTransparentBool), true);
        QImage image;
        theme.ThemeBitmap(TsuiElement::TabControlTabImage, image);
        QCOMPARE(image.size(), QSize(18, 17));
        QCOMPARE(image.pixel(5, 5), qRgb(10, 20, 30));

        // A typo in theme.txt is an error, not a silently missing element.
        QVERIFY(WriteFile(QDir(folder).filePath("theme.txt"), "ControlBorderColour=0\n"));
        run = RunTool({"pack", folder, path("bad.theme")});
        QCOMPARE(run.exitCode, 65);
        QVERIFY(run.err.contains(QStringLiteral("ControlBorderColour")));
        QVERIFY(!QFile::exists(path("bad.theme")));
        QCOMPARE(RunTool({"pack", path("no-such-folder"), path("x.theme")}).exitCode, 66);
    }
};

QTEST_MAIN(TestThemeFiles)
#include "tst_themefiles.moc"
