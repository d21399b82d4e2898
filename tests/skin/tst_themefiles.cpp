// Theme files: the reader on hand-made and damaged files, TsuiFileTheme loading, and the
// zd7240-theme tool (export round trip, dump, pack).
#include <QProcess>
#include <QtTest>

#include "drawingoperations.h"
#include "skinbitmaps.h"
#include "styleselection.h"
#include "themeelements.h"
#include "themefilebuilder.h"
#include "tsuifiletheme.h"
#include "tsuithemefilereader.h"
#include "tsuithemefilewriter.h"

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
        QTest::newRow("header length 1000")
            << ThemeFileBuilder(2000).header(1000, 24).bytes() << "header length";
        QTest::newRow("first record beyond the end")
            << ThemeFileBuilder(100).header(24, 24).bytes() << "first entry record";
        QTest::newRow("text") << QByteArray("just a plain text file, nothing else in it")
                              << "header length";
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

    void settingThemeFile() {
        TsuiThemeFileWriter first;
        first.addInteger("FormBorderWidthInt", 5);
        QVERIFY(first.writeTo(path("a.theme"), nullptr));
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
        QVERIFY(second.writeTo(path("a.theme"), nullptr));
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

    // Every built-in look, exported by the tool and loaded as FromThemeFile, reads the
    // same element by element as the built-in table.
    void exportRoundTrip() {
        for (int style = 1; style <= 5; ++style) {
            const char* name = QMetaEnum::fromType<TsuiUIStyle>().valueToKey(style);
            const QString file = path(QStringLiteral("%1.theme").arg(QLatin1String(name)));
            const ToolRun run = RunTool({"export", QLatin1String(name), file});
            QVERIFY2(run.exitCode == 0, qPrintable(run.err));
            TsuiFileTheme theme;
            theme.setThemeFile(file);
            QVERIFY(theme.ThemeLoaded());
            QVERIFY(ResolveUIStyle(&theme, TsuiUIStyle::FromThemeFile).useFile);
            for (int element = 1; element <= kThemeElementCount; ++element) {
                const QByteArray where = QByteArray(name) + " " + ThemeElementKey(element);
                switch (ThemeElementKind(element)) {
                case TsuiElementKind::Image: {
                    QImage builtin, fromFile;
                    BuiltinBitmap(style, element, &builtin);
                    theme.ThemeBitmap(element, fromFile);
                    QVERIFY2(!fromFile.isNull() && fromFile == builtin, where);
                    QImage frame;
                    theme.ThemeBitmapFrame(element, frame, 3, 2);
                    QVERIFY2(frame == ExtractBitmapFrame(builtin, 3, 2), where);
                    break;
                }
                case TsuiElementKind::Colour:
                    QVERIFY2(theme.ThemeColor(element) == BuiltinColor(style, element), where);
                    break;
                case TsuiElementKind::Integer:
                    QVERIFY2(theme.ThemeInt(element) == BuiltinInt(style, element), where);
                    break;
                case TsuiElementKind::Boolean:
                    QVERIFY2(theme.ThemeBool(element) == BuiltinBool(style, element), where);
                    break;
                }
            }
        }
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

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"frobnicate"};
        QTest::newRow("dump without file") << QStringList{"dump"};
        QTest::newRow("export without file") << QStringList{"export", "MacOS"};
        QTest::newRow("export of no look") << QStringList{"export", "Purple", "x.theme"};
        QTest::newRow("export FromThemeFile") << QStringList{"export", "FromThemeFile", "x.theme"};
        QTest::newRow("pack with one argument") << QStringList{"pack", "dir"};
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
