// The built-in style table, its lookups and the skin bitmaps behind its image elements.
//
// The table's values are the designers' and are not copied here: the tests check what
// must hold for every row (a key says its element's kind, keys are unique, each typed
// getter answers its own kind) and that every built-in look survives being written as a
// theme file and read back, element by element.
#include <QtTest>
#include <map>
#include <memory>

#include "../lib/builtinlooks.h"
#include "../lib/themefile.h"
#include "drawing/drawingoperations.h"
#include "drawing/skinbitmaps.h"
#include "look/styleselection.h"
#include "theme/themeelements.h"
#include "theme/tsuifiletheme.h"
#include "theme/tsuithemefilereader.h"
#include "theme/tsuithemefilewriter.h"

namespace {

using K = TsuiElementKind;
using zd7240::test::kBuiltinLooks;
using zd7240::test::LookName;

// The last word of a key names the kind of its element.
struct KeySuffix {
    const char* word;
    TsuiElementKind kind;
};
constexpr KeySuffix kKeySuffixes[] = {
    {"Image", K::Image}, {"Int", K::Integer}, {"Bool", K::Boolean}, {"Color", K::Colour}};

// How a theme file stores an element of each kind.
TsuiThemeFileReader::Kind EntryKind(TsuiElementKind kind) {
    switch (kind) {
    case K::Image:
        return TsuiThemeFileReader::Bitmap;
    case K::Boolean:
        return TsuiThemeFileReader::Boolean;
    case K::Integer:
    case K::Colour:
        break;
    }
    return TsuiThemeFileReader::Integer;
}

void AddElementRows() {
    QTest::addColumn<int>("element");
    for (int element = 1; element <= kThemeElementCount; ++element)
        QTest::newRow(ThemeElementKey(element)) << element;
}

// One row per element of every built-in look, named "look key".
void AddLookElementRows() {
    QTest::addColumn<TsuiUIStyle>("style");
    QTest::addColumn<int>("element");
    for (TsuiUIStyle look : kBuiltinLooks) {
        for (int element = 1; element <= kThemeElementCount; ++element)
            QTest::addRow("%s %s", LookName(look), ThemeElementKey(element)) << look << element;
    }
}

} // namespace

class TestThemeElements : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    // Each built-in look written by the theme writer, as the reader parsed it and as a
    // file theme loaded it.
    struct Written {
        std::unique_ptr<TsuiThemeFileReader> reader;
        std::unique_ptr<TsuiFileTheme> theme;
    };
    std::map<TsuiUIStyle, Written> written_;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        for (TsuiUIStyle look : kBuiltinLooks) {
            const QString path =
                zd7240::test::WriteThemeFile(dir_, QLatin1String(LookName(look)) + ".theme",
                                             TsuiThemeFileWriter::FromBuiltinStyle(look));
            QVERIFY(!path.isEmpty());
            Written& w = written_[look];
            w.reader = std::make_unique<TsuiThemeFileReader>(path);
            w.theme = std::make_unique<TsuiFileTheme>();
            w.theme->setThemeFile(path);
        }
    }

    // ------------------------------------------------------------ keys

    void keyEndsInItsKind_data() { AddElementRows(); }
    void keyEndsInItsKind() {
        QFETCH(int, element);
        const QLatin1String key(ThemeElementKey(element));
        int matches = 0;
        for (const KeySuffix& suffix : kKeySuffixes) {
            if (key.endsWith(QLatin1String(suffix.word))) {
                ++matches;
                QCOMPARE(ThemeElementKind(element), suffix.kind);
            }
        }
        QCOMPARE(matches, 1);
    }

    // A key finds its own element whatever its case, so no two keys are alike.
    void keyFindsItsElement_data() { AddElementRows(); }
    void keyFindsItsElement() {
        QFETCH(int, element);
        const QString key = QLatin1String(ThemeElementKey(element));
        QCOMPARE(ThemeElementByKey(key), element);
        QCOMPARE(ThemeElementByKey(key.toLower()), element);
        QCOMPARE(ThemeElementByKey(key.toUpper()), element);
    }

    void keysOutsideTheTable() {
        QVERIFY(!ThemeElementKey(0));
        QVERIFY(!ThemeElementKey(kThemeElementCount + 1));
        QCOMPARE(ThemeElementByKey(QStringLiteral("Button")), 0);
        QCOMPARE(ThemeElementByKey(QString()), 0);
    }

    // ------------------------------------------------------------ built-in values

    // Each look gives every element a value of the element's kind; an image is the
    // catalogue's bitmap of that element and loads at its catalogue size; each typed
    // getter answers its own kind and its fixed "no" value otherwise.
    void builtinValue_data() { AddLookElementRows(); }
    void builtinValue() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(int, element);
        const int ordinal = StyleOrdinal(style);
        const TsuiElementKind kind = ThemeElementKind(element);
        const BuiltinValue v = BuiltinElementValue(ordinal, element);
        QCOMPARE(v.kind, kind);
        if (kind == K::Image) {
            QCOMPARE(v.resource, BuiltinResourceName(ordinal, element));
            const SkinResource* entry = FindSkinResource(v.resource);
            QVERIFY2(entry, qPrintable(v.resource));
            QCOMPARE(entry->element, element);
            QImage image;
            BuiltinBitmap(ordinal, element, &image);
            QCOMPARE(image.size(), entry->size);
        } else {
            QVERIFY(v.resource.isEmpty());
            QVERIFY(BuiltinResourceName(ordinal, element).isEmpty());
        }
        QCOMPARE(BuiltinColor(ordinal, element), kind == K::Colour ? v.value : 0);
        QCOMPARE(BuiltinInt(ordinal, element), kind == K::Integer ? v.value : -1);
        QCOMPARE(BuiltinBool(ordinal, element), kind == K::Boolean && v.value != 0);
    }

    // Some looks share a bitmap (the scroll buttons); the rest have one of their own.
    void distinctBitmapsOverAllLooks() {
        QSet<QString> names;
        for (TsuiUIStyle look : kBuiltinLooks) {
            for (int element = 1; element <= kThemeElementCount; ++element) {
                if (ThemeElementKind(element) == K::Image)
                    names.insert(BuiltinResourceName(StyleOrdinal(look), element));
            }
        }
        QCOMPARE(names.size(), 93);
    }

    // ------------------------------------------------------------ theme file round trip

    // The written file holds each element once, under its key, stored as its kind.
    void themeFileHoldsEveryElement_data() { AddLookElementRows(); }
    void themeFileHoldsEveryElement() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(int, element);
        const TsuiThemeFileReader& reader = *written_.at(style).reader;
        const QString key = QLatin1String(ThemeElementKey(element));
        int found = 0;
        for (const TsuiThemeFileReader::Entry& entry : reader.entries()) {
            if (entry.name == key) {
                ++found;
                QCOMPARE(int(entry.kind), int(EntryKind(ThemeElementKind(element))));
                QVERIFY(entry.valid);
            }
        }
        QCOMPARE(found, 1);
    }

    void themeFileIsWhole_data() { zd7240::test::AddLookRows(); }
    void themeFileIsWhole() {
        QFETCH(TsuiUIStyle, style);
        const Written& w = written_.at(style);
        QVERIFY(w.reader->isTheme());
        QVERIFY2(!w.reader->damaged(), qPrintable(w.reader->errorString()));
        QCOMPARE(qsizetype(w.reader->entries().size()), qsizetype(kThemeElementCount));
        QVERIFY(w.theme->ThemeLoaded());
        QVERIFY2(w.theme->errorString().isEmpty(), qPrintable(w.theme->errorString()));
        QVERIFY(ResolveUIStyle(w.theme.get(), TsuiUIStyle::FromThemeFile).useFile);
    }

    // Loaded as a file theme, the look reads the same as the built-in table, element by
    // element, frames of a bitmap included.
    void themeFileReadsAsTheLook_data() { AddLookElementRows(); }
    void themeFileReadsAsTheLook() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(int, element);
        const TsuiFileTheme& theme = *written_.at(style).theme;
        const int ordinal = StyleOrdinal(style);
        switch (ThemeElementKind(element)) {
        case K::Image: {
            QImage builtin, fromFile;
            BuiltinBitmap(ordinal, element, &builtin);
            theme.ThemeBitmap(element, fromFile);
            QVERIFY(!fromFile.isNull());
            QCOMPARE(fromFile, builtin);
            QImage frame;
            theme.ThemeBitmapFrame(element, frame, 3, 2);
            QCOMPARE(frame, ExtractBitmapFrame(builtin, 3, 2));
            break;
        }
        case K::Colour:
            QCOMPARE(theme.ThemeColor(element), BuiltinColor(ordinal, element));
            break;
        case K::Integer:
            QCOMPARE(theme.ThemeInt(element), BuiltinInt(ordinal, element));
            break;
        case K::Boolean:
            QCOMPARE(theme.ThemeBool(element), BuiltinBool(ordinal, element));
            break;
        }
    }

    // ------------------------------------------------------------ lookups

    void lookupEdges_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("color");
        QTest::addColumn<int>("integer");
        const int I = int(K::Integer);
        QTest::newRow("FromThemeFile has no column (colour)") << 0 << 25 << -1 << I << 0 << -1;
        QTest::newRow("FromThemeFile has no column (integer)") << 0 << 17 << -1 << I << 0 << -1;
        QTest::newRow("WinXP colour asked as integer")
            << 2 << 15 << 0xDEEBEF << int(K::Colour) << 0xDEEBEF << -1;
        QTest::newRow("ordinal reduced to 7 bits: 0x81 is MacOS") << 0x81 << 17 << 1 << I << 0 << 1;
        QTest::newRow("ordinal 0x80 is FromThemeFile") << 0x80 << 17 << -1 << I << 0 << -1;
        QTest::newRow("ordinal 6 is no style") << 6 << 15 << -1 << I << 0 << -1;
        QTest::newRow("negative ordinal -125 reduces to 3 (DeepBlue)")
            << -125 << 15 << 0xE8E8E8 << int(K::Colour) << 0xE8E8E8 << -1;
        QTest::newRow("element 0") << 1 << 0 << -1 << I << 0 << -1;
        QTest::newRow("element 43") << 1 << 43 << -1 << I << 0 << -1;
        QTest::newRow("image element") << 1 << 1 << 0 << int(K::Image) << 0 << -1;
    }
    void lookupEdges() {
        QFETCH(int, style);
        QFETCH(int, element);
        const BuiltinValue v = BuiltinElementValue(style, element);
        QTEST(v.value, "value");
        QTEST(int(v.kind), "kind");
        QTEST(BuiltinColor(style, element), "color");
        QTEST(BuiltinInt(style, element), "integer");
        QCOMPARE(BuiltinBool(style, element), false);
    }

    void bitmapGettersLeaveOtherKindsAlone() {
        QImage image(3, 3, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QImage before = image;
        BuiltinBitmap(1, 15, &image);            // a colour
        BuiltinBitmap(0, 1, &image);             // FromThemeFile
        BuiltinBitmapFrame(1, 17, &image, 3, 1); // an integer
        QCOMPARE(image, before);
        BuiltinBitmap(1, 1, nullptr); // no bitmap: nothing happens
    }

    void colourConversion() {
        QCOMPARE(TsuiColorToQColor(0xC47339), QColor(0x39, 0x73, 0xC4));
        QCOMPARE(TsuiColorToQColor(0xFF0000FF), QColor(0xFF, 0, 0)); // high byte ignored
        QCOMPARE(QColorToTsuiColor(QColor(0x39, 0x73, 0xC4)), 0xC47339u);
    }

    void missingBitmapFailsLoudly() {
        try {
            LoadSkinBitmap(QStringLiteral("NO_SUCH_BITMAP"));
            QFAIL("no exception");
        } catch (const std::runtime_error& e) {
            QVERIFY(QByteArray(e.what()).contains("NO_SUCH_BITMAP"));
        }
    }

    // The pictures loaded by name rather than through the table, at their catalogue size.
    void skinPictureLoads_data() {
        QTest::addColumn<QString>("name");
        for (int p = 0; p < kSkinPictureCount; ++p) {
            const QString name = SkinPictureName(static_cast<SkinPicture>(p));
            QTest::newRow(qPrintable(name)) << name;
        }
    }
    void skinPictureLoads() {
        QFETCH(QString, name);
        const SkinResource* entry = FindSkinResource(name);
        QVERIFY(entry);
        QCOMPARE(LoadSkinBitmap(name).size(), entry->size);
    }

    void builtinBitmapFrame() {
        const QImage strip = LoadSkinBitmap(QStringLiteral("WINXP_BUTTON"));
        QImage frame;
        BuiltinBitmapFrame(2, 1, &frame, 3, 2);
        QCOMPARE(frame, strip.copy(18, 0, 18, strip.height()));
        QImage whole;
        BuiltinBitmapFrame(2, 1, &whole, 0, 0);
        QCOMPARE(whole, strip);
    }
};

QTEST_GUILESS_MAIN(TestThemeElements)
#include "tst_themeelements.moc"
