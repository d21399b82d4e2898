// The skin bitmaps as the program carries them: every catalogue name at its pixel size, and
// at twice that size in the @2x set, the frame layouts the controls cut them by, fuchsia
// exactly where a control leaves pixels out, the @2x set the same pictures at a finer
// resolution, the committed files equal to the painter's output, and the README's tables
// equal to the catalogue.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <algorithm>

#include "catalogue/skincatalogue.h"

namespace {

constexpr QRgb kFuchsia = 0xFFFF00FF;

using Key = SkinKey;

QString resourcePath(const QString& name) {
    return QStringLiteral(":/skin/%1.bmp").arg(name);
}

// The resource name of a bitmap in the set of `scale`: NAME, NAME@2x.
QString nameAt(const QString& name, int scale) {
    return scale == 1 ? name : QStringLiteral("%1@%2x").arg(name).arg(scale);
}

constexpr int kScales[] = {1, 2};

QImage loadResource(const QString& name) {
    QImage img(resourcePath(name));
    return img.convertToFormat(QImage::Format_RGB32);
}

QImage frameOf(const QImage& strip, int frames, int index) {
    const int fw = strip.width() / frames;
    return strip.copy(fw * index, 0, fw, strip.height());
}

int countKeyPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == kFuchsia;
    return n;
}

// Average colour of the pixels that are not fuchsia.
QColor meanVisibleColour(const QImage& img) {
    qint64 r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (c == kFuchsia)
                continue;
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
            ++n;
        }
    }
    return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

QMap<QString, QByteArray> readFolder(const QString& path) {
    QMap<QString, QByteArray> files;
    const QDir dir(path);
    for (const QString& name : dir.entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            files.insert(name, f.readAll());
    }
    return files;
}

struct PainterRun {
    int exitCode = -1;
    QByteArray stderrText;
};

PainterRun runPainter(const QStringList& args) {
    QProcess proc;
    proc.start(QStringLiteral(SKIN_PAINTER), args);
    if (!proc.waitForFinished(120000) || proc.exitStatus() != QProcess::NormalExit)
        return {};
    return {proc.exitCode(), proc.readAllStandardError()};
}

} // namespace

class TestSkinResources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyNameIsCompiledInAtItsSize_data();
    void everyNameIsCompiledInAtItsSize();
    void folderHoldsExactlyTheNames();
    void framesDifferFromTheirNeighbours_data();
    void framesDifferFromTheirNeighbours();
    void fuchsiaWhereControlsLeavePixelsOut_data();
    void fuchsiaWhereControlsLeavePixelsOut();
    void titleSectionsOfALookShareTheBarHeight_data();
    void titleSectionsOfALookShareTheBarHeight();
    void messageIconsAreInDialogOrder();
    void menuCheckMarkStandsOnWhite();
    void backgroundTilesAverageTheWindowColour_data();
    void backgroundTilesAverageTheWindowColour();
    void sharpSetIsTheSamePictureFiner_data();
    void sharpSetIsTheSamePictureFiner();
    void painterOutputEqualsCommittedFiles();
    void painterIsDeterministic();
    void painterRefusesBadUse();
    void readmeTablesAreTheCatalogue();
};

void TestSkinResources::everyNameIsCompiledInAtItsSize_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("frames");
    for (const int scale : kScales) {
        for (const SkinResource& e : SkinResources()) {
            const QString name = nameAt(e.name, scale);
            QTest::newRow(qPrintable(name)) << name << e.size * scale << e.frames;
        }
    }
}

void TestSkinResources::everyNameIsCompiledInAtItsSize() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, frames);
    QFile file(resourcePath(name));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(resourcePath(name)));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 54);
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24)); // bits per pixel
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 30), quint32(0));  // uncompressed

    const QImage img = loadResource(name);
    QVERIFY(!img.isNull());
    QCOMPARE(img.size(), size);
    QCOMPARE(img.width() % frames, 0); // frames are cut by integer division
}

void TestSkinResources::folderHoldsExactlyTheNames() {
    // 19 image elements in 5 looks with the three shared scroll buttons, and 9 pictures.
    QCOMPARE(int(SkinResources().size()), 19 * 5 - 2 + 9);
    QStringList expected;
    for (const int scale : kScales)
        for (const SkinResource& e : SkinResources())
            expected << nameAt(e.name, scale) + QStringLiteral(".bmp");
    expected << QStringLiteral("README.md");
    expected.sort();
    QStringList actual = QDir(QStringLiteral(SKIN_RESOURCE_DIR)).entryList(QDir::Files);
    actual.sort();
    QCOMPARE(actual, expected);
}

void TestSkinResources::framesDifferFromTheirNeighbours_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("frames");
    for (const int scale : kScales) {
        for (const SkinResource& e : SkinResources()) {
            const QString name = nameAt(e.name, scale);
            if (e.frames > 1)
                QTest::newRow(qPrintable(name)) << name << e.frames;
        }
    }
}

void TestSkinResources::framesDifferFromTheirNeighbours() {
    QFETCH(QString, name);
    QFETCH(int, frames);
    const QImage strip = loadResource(name);
    for (int i = 1; i < frames; ++i)
        QVERIFY2(frameOf(strip, frames, i - 1) != frameOf(strip, frames, i),
                 qPrintable(QStringLiteral("frames %1 and %2 are equal").arg(i).arg(i + 1)));
}

void TestSkinResources::fuchsiaWhereControlsLeavePixelsOut_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("key");
    for (const int scale : kScales) {
        for (const SkinResource& e : SkinResources()) {
            const QString name = nameAt(e.name, scale);
            QTest::newRow(qPrintable(name)) << name << e.frames << int(e.key);
        }
    }
}

void TestSkinResources::fuchsiaWhereControlsLeavePixelsOut() {
    QFETCH(QString, name);
    QFETCH(int, frames);
    QFETCH(int, key);
    const QImage strip = loadResource(name);
    if (Key(key) == Key::None) {
        // Copied whole (or, for buttons of opaque looks, corners drawn unmasked): a fuchsia
        // pixel would show as such.
        QCOMPARE(countKeyPixels(strip), 0);
        return;
    }
    for (int i = 0; i < frames; ++i) {
        const QImage f = frameOf(strip, frames, i);
        const int r = f.width() - 1;
        const int b = f.height() - 1;
        const QString where = QStringLiteral("frame %1").arg(i + 1);
        QVERIFY2(f.pixel(f.width() / 2, f.height() / 2) != kFuchsia, qPrintable(where));
        switch (Key(key)) {
        case Key::Corners:
            QVERIFY2(f.pixel(0, 0) == kFuchsia && f.pixel(r, 0) == kFuchsia &&
                         f.pixel(0, b) == kFuchsia && f.pixel(r, b) == kFuchsia,
                     qPrintable(where));
            break;
        case Key::TopCorners:
            // Rounded top, open bottom that merges with the tab line.
            QVERIFY2(f.pixel(0, 0) == kFuchsia && f.pixel(r, 0) == kFuchsia, qPrintable(where));
            for (int x = 0; x <= r; ++x)
                QVERIFY2(f.pixel(x, b) != kFuchsia, qPrintable(where));
            break;
        case Key::BottomLeft:
            // The title bar leaves out the colour of the bottom-left pixel; it must be the
            // key colour, or the button would lose part of its face.
            QVERIFY2(f.pixel(0, b) == kFuchsia, qPrintable(where));
            break;
        case Key::None:
            break;
        }
    }
}

void TestSkinResources::titleSectionsOfALookShareTheBarHeight_data() {
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("barHeight");
    QTest::newRow("MacOS") << "MACOS" << 23;
    QTest::newRow("WinXP") << "WINXP" << 29;
    QTest::newRow("DeepBlue") << "DEEPBLUE" << 32;
    QTest::newRow("Protein") << "PROTEIN" << 23;
    QTest::newRow("BlueGlass") << "BLUEGLASS" << 33;
}

void TestSkinResources::titleSectionsOfALookShareTheBarHeight() {
    QFETCH(QString, prefix);
    QFETCH(int, barHeight);
    for (const int scale : kScales) {
        const QImage left = loadResource(nameAt(prefix + QStringLiteral("_TITLE_LEFT"), scale));
        const QImage client = loadResource(nameAt(prefix + QStringLiteral("_TITLE_CLIENT"), scale));
        const QImage right = loadResource(nameAt(prefix + QStringLiteral("_TITLE_RIGHT"), scale));
        const int height = barHeight * scale;
        QCOMPARE(left.height(), height);
        QCOMPARE(client.height(), height);
        QCOMPARE(right.height(), height);
        // The client picture is stretched between the others: where they meet, the rows
        // continue without a step.
        for (int y = 0; y < height; ++y) {
            QCOMPARE(left.pixel(left.width() - 1, y), client.pixel(0, y));
            QCOMPARE(client.pixel(client.width() - 1, y), right.pixel(0, y));
        }
    }
}

void TestSkinResources::messageIconsAreInDialogOrder() {
    // Frame 1 warning (amber), 2 stop (red), 3 information (blue), 4 help: told apart by
    // their dominant colour, so a swapped order shows.
    const QImage strip = loadResource(QStringLiteral("MSGDLG"));
    const QColor warning = meanVisibleColour(frameOf(strip, 4, 0));
    const QColor stop = meanVisibleColour(frameOf(strip, 4, 1));
    const QColor info = meanVisibleColour(frameOf(strip, 4, 2));
    const QColor help = meanVisibleColour(frameOf(strip, 4, 3));
    QVERIFY(warning.red() > warning.blue() + 60 && warning.green() > warning.blue() + 40);
    QVERIFY(stop.red() > stop.green() + 60 && stop.red() > stop.blue() + 60);
    QVERIFY(info.blue() > info.red() + 60 && info.blue() > info.green());
    QVERIFY(help.green() > help.red() + 40);
    for (int i = 0; i < 4; ++i) {
        // Each icon fills a good part of its 42 x 42 frame.
        const int key = countKeyPixels(frameOf(strip, 4, i));
        QVERIFY2(key > 42 * 4 && key < 42 * 42 / 2, qPrintable(QString::number(key)));
    }
}

void TestSkinResources::menuCheckMarkStandsOnWhite() {
    // Menus add the mark with white as its transparent colour.
    const QImage mark = loadResource(QStringLiteral("MENU_CHECKED"));
    QCOMPARE(countKeyPixels(mark), 0);
    QCOMPARE(mark.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(mark.pixel(15, 15), qRgb(255, 255, 255));
    int dark = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            dark += qGray(mark.pixel(x, y)) < 80;
    QVERIFY(dark >= 12);
}

void TestSkinResources::backgroundTilesAverageTheWindowColour_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("window");
    QTest::newRow("MacOS") << QStringLiteral("MACOS_FORM_BACKGROUND") << QColor(0xE7, 0xE7, 0xE7);
    QTest::newRow("Protein") << QStringLiteral("PROTEIN_FORM_BACKGROUND")
                             << QColor(0xFB, 0xFB, 0xFB);
}

void TestSkinResources::backgroundTilesAverageTheWindowColour() {
    // Controls filled with the window colour sit on the tiled background without a patch.
    QFETCH(QString, name);
    QFETCH(QColor, window);
    const QColor mean = meanVisibleColour(loadResource(name));
    QVERIFY2(qAbs(mean.red() - window.red()) <= 3 && qAbs(mean.green() - window.green()) <= 3 &&
                 qAbs(mean.blue() - window.blue()) <= 3,
             qPrintable(mean.name()));
}

void TestSkinResources::sharpSetIsTheSamePictureFiner_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("curved");
    for (const SkinResource& e : SkinResources()) {
        // Rounded faces, round buttons and the icons gain detail at 2x; title rows, tab lines,
        // menu textures and background tiles are rows and pixel patterns, painted per 1x pixel.
        const bool curved = e.name.endsWith(QStringLiteral("_BUTTON")) ||
                            e.name.endsWith(QStringLiteral("_TITLEBTN")) ||
                            e.name == QStringLiteral("MSGDLG") ||
                            e.name == QStringLiteral("MAINICON");
        QTest::newRow(qPrintable(e.name)) << e.name << curved;
    }
}

void TestSkinResources::sharpSetIsTheSamePictureFiner() {
    // Each 2 x 2 block of the @2x bitmap stands where a pixel of the 1x bitmap stands: the
    // same colour on average (not shifted, not another picture) and fuchsia only where the
    // 1x pixel is nearly so. Curved pictures also have blocks that are not one colour: they
    // were painted at 2x, not enlarged from 1x.
    QFETCH(QString, name);
    QFETCH(bool, curved);
    const QImage one = loadResource(name);
    const QImage two = loadResource(nameAt(name, 2));
    QCOMPARE(two.size(), one.size() * 2);
    qint64 difference = 0;
    qint64 compared = 0;
    int finer = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            const QRgb block[4] = {two.pixel(2 * x, 2 * y), two.pixel(2 * x + 1, 2 * y),
                                   two.pixel(2 * x, 2 * y + 1), two.pixel(2 * x + 1, 2 * y + 1)};
            finer += !std::all_of(block, block + 4, [&](QRgb c) { return c == block[0]; });
            if (one.pixel(x, y) == kFuchsia || std::count(block, block + 4, kFuchsia) > 0)
                continue;
            int r = 0, g = 0, b = 0;
            for (const QRgb c : block) {
                r += qRed(c);
                g += qGreen(c);
                b += qBlue(c);
            }
            const QRgb c = one.pixel(x, y);
            difference += qAbs(r / 4 - qRed(c)) + qAbs(g / 4 - qGreen(c)) + qAbs(b / 4 - qBlue(c));
            compared += 3;
        }
    }
    QVERIFY(compared > 0);
    const double mean = double(difference) / double(compared);
    QVERIFY2(mean < 12.0, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
    if (curved)
        QVERIFY2(finer > one.width() * one.height() / 50, qPrintable(QString::number(finer)));
}

void TestSkinResources::painterOutputEqualsCommittedFiles() {
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const PainterRun run = runPainter({out.path()});
    QVERIFY2(run.exitCode == 0, run.stderrText.constData());

    const QMap<QString, QByteArray> painted = readFolder(out.path());
    const QMap<QString, QByteArray> committed = readFolder(QStringLiteral(SKIN_RESOURCE_DIR));
    QCOMPARE(painted.keys(), committed.keys());
    QStringList drifted;
    for (auto it = painted.cbegin(); it != painted.cend(); ++it)
        if (it.value() != committed.value(it.key()))
            drifted << it.key();
    QVERIFY2(drifted.isEmpty(),
             qPrintable(QStringLiteral("regenerate skin/resources with zd7240-skinpainter; "
                                       "differing: ") +
                        drifted.join(QStringLiteral(", "))));
}

void TestSkinResources::painterIsDeterministic() {
    QTemporaryDir first;
    QTemporaryDir second;
    QVERIFY(first.isValid() && second.isValid());
    QCOMPARE(runPainter({first.path()}).exitCode, 0);
    QCOMPARE(runPainter({second.path()}).exitCode, 0);
    const QMap<QString, QByteArray> a = readFolder(first.path());
    QCOMPARE(a.size(), int(SkinResources().size()) * 2);
    QVERIFY(a == readFolder(second.path()));
}

void TestSkinResources::painterRefusesBadUse() {
    // Usage errors and an output folder that cannot exist fail with a status, not silently.
    QCOMPARE(runPainter({}).exitCode, 64);
    QCOMPARE(runPainter({QStringLiteral("--preview"), QStringLiteral("0"), QStringLiteral("x")})
                 .exitCode,
             64);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString blocker = dir.filePath(QStringLiteral("file"));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const PainterRun run = runPainter({blocker + QStringLiteral("/sub")});
    QCOMPARE(run.exitCode, 73);
    QVERIFY(run.stderrText.contains("cannot create"));
}

void TestSkinResources::readmeTablesAreTheCatalogue() {
    // The README's tables are generated from the catalogue; the painter prints them.
    QFile readme(QStringLiteral(SKIN_RESOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(readme.readAll());
    const QString begin = QStringLiteral("<!-- catalogue begin -->\n");
    const qsizetype from = text.indexOf(begin);
    const qsizetype to = text.indexOf(QStringLiteral("<!-- catalogue end -->"));
    QVERIFY2(from >= 0 && to > from, "README.md lacks the catalogue markers");
    QCOMPARE(text.mid(from + begin.size(), to - from - begin.size()), SkinCatalogueMarkdown());

    QProcess proc;
    proc.start(QStringLiteral(SKIN_PAINTER), {QStringLiteral("--catalogue")});
    QVERIFY(proc.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(proc.readAllStandardOutput()), SkinCatalogueMarkdown());
}

QTEST_GUILESS_MAIN(TestSkinResources)
#include "tst_skinresources.moc"
