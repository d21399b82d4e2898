// The built-in style table, its lookups and the skin bitmaps behind its image elements.
#include <QtTest>

#include "drawingoperations.h"
#include "skinbitmaps.h"
#include "themeelements.h"

namespace {

using K = TsuiElementKind;
constexpr int kNone = 0;

// The looks as the designers gave them, element by element; the values are in the order
// MacOS, WinXP, DeepBlue, Protein, BlueGlass (unused for images: their names, sizes and
// frames are the skin catalogue's).
struct Expected {
    int element;
    const char* key;
    K kind;
    qint32 v[5];
};

const Expected kExpected[] = {
    {1, "ButtonImage", K::Image, {}},
    {2, "ButtonTransparentBool", K::Boolean, {1, 0, 0, 0, 1}},
    {3, "CheckBoxImage", K::Image, {}},
    {4, "RadioButtonImage", K::Image, {}},
    {5, "TitleBarButtonImage", K::Image, {}},
    {6, "TitleBarButtonTransparentBool", K::Boolean, {0, 0, 0, 1, 1}},
    {7, "TitleBarButtonLeftOffsetInt", K::Integer, {3, 2, 0, 0, 4}},
    {8, "TitleBarButtonRightOffsetInt", K::Integer, {-2, -2, 0, 0, -3}},
    {9, "TitleBarButtonTopInt", K::Integer, {4, 5, 2, 2, 6}},
    {10, "TitleBarLeftImage", K::Image, {}},
    {11, "TitleBarClientImage", K::Image, {}},
    {12, "TitleBarRightImage", K::Image, {}},
    {13, "FormMinWidthInt", K::Integer, {130, 150, 130, 130, 270}},
    {14, "FormRoundCornerInt", K::Integer, {0, 13, 0, 0, 11}},
    {15, "FormBackgroundColor", K::Colour, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {16, "FormBorderColor", K::Colour, {0x7F7F7F, 0xC82C00, 0, 0, 0}},
    {17, "FormBorderWidthInt", K::Integer, {1, 3, 1, 1, 1}},
    {18, "MenuSelectedBorderColor", K::Colour, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {19,
     "MenuSelectedBackgroundColor",
     K::Colour,
     {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {20, "MenuSelectedFontColor", K::Colour, {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {21, "MenuBackgroundColor", K::Colour, {0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},
    {22, "MenuFontColor", K::Colour, {0, 0, 0, 0, 0}},
    {23, "MenuBarColor", K::Colour, {0, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}},
    {24, "ProgressBarImage", K::Image, {}},
    {25, "ControlBorderColor", K::Colour, {0x7F7F7F, 0x686868, 0, 0, 0}},
    {26, "ControlBackgroundColor", K::Colour, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {27, "ControlFontColor", K::Colour, {0, 0xCF4602, 0, 0, 0}},
    {28, "TrackBarBarImage", K::Image, {}},
    {29, "TrackBarSliderImage", K::Image, {}},
    {30, "TrackBarSliderVImage", K::Image, {}},
    {31, "ScrollBarBackgroundColor", K::Colour, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}},
    {32, "ScrollBarButtonImage", K::Image, {}},
    {33, "ScrollBarSliderImage", K::Image, {}},
    {34, "CheckListBoxImage", K::Image, {}},
    {35, "ToolBarButtonBorderColor", K::Colour, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}},
    {36,
     "ToolBarButtonBackgroundColor",
     K::Colour,
     {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}},
    {37,
     "ToolBarButtonDownBackgroundColor",
     K::Colour,
     {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}},
    {38, "ScrollButtonImage", K::Image, {}},
    {39, "TabControlTabImage", K::Image, {}},
    {40, "TabControlBarImage", K::Image, {}},
    {41, "SideChannelHandleImage", K::Image, {}},
    {42, "SideChannelBarImage", K::Image, {}},
};

} // namespace

class TestThemeElements : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyElementOfEveryLook() {
        static_assert(std::size(kExpected) == kThemeElementCount);
        QSet<QString> names;
        for (const Expected& e : kExpected) {
            QCOMPARE(ThemeElementKey(e.element), e.key);
            QCOMPARE(ThemeElementKind(e.element), e.kind);
            QCOMPARE(ThemeElementByKey(QString::fromLatin1(e.key).toLower()), e.element);
            for (int style = 1; style <= 5; ++style) {
                const BuiltinValue v = BuiltinElementValue(style, e.element);
                const QByteArray where =
                    QByteArray(e.key) + " in style " + QByteArray::number(style);
                QVERIFY2(v.kind == e.kind, where);
                if (e.kind == K::Image) {
                    // The resource is the catalogue's bitmap of this element.
                    const SkinResource* entry = FindSkinResource(v.resource);
                    QVERIFY2(entry && entry->element == e.element, where);
                    QVERIFY2(BuiltinResourceName(style, e.element) == v.resource, where);
                    names.insert(v.resource);
                } else {
                    QVERIFY2(v.value == e.v[style - 1], where);
                    QVERIFY2(v.resource.isEmpty(), where);
                }
                // Each typed getter answers its own kind and the fixed "no" value otherwise.
                QVERIFY2(BuiltinColor(style, e.element) ==
                             (e.kind == K::Colour ? e.v[style - 1] : 0),
                         where);
                QVERIFY2(BuiltinInt(style, e.element) ==
                             (e.kind == K::Integer ? e.v[style - 1] : -1),
                         where);
                QVERIFY2(BuiltinBool(style, e.element) ==
                             (e.kind == K::Boolean ? e.v[style - 1] != 0 : false),
                         where);
            }
        }
        QCOMPARE(names.size(), 93);
    }

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

    // The library's loader finds every image element of every look at its catalogue size.
    void everySkinBitmapLoads() {
        for (const Expected& e : kExpected) {
            if (e.kind != K::Image)
                continue;
            for (int style = 1; style <= 5; ++style) {
                QImage image;
                BuiltinBitmap(style, e.element, &image);
                const QString name = BuiltinResourceName(style, e.element);
                QVERIFY2(image.size() == FindSkinResource(name)->size, qPrintable(name));
            }
        }
        for (int p = 0; p < kSkinPictureCount; ++p) {
            const QString name = SkinPictureName(static_cast<SkinPicture>(p));
            QVERIFY2(LoadSkinBitmap(name).size() == FindSkinResource(name)->size, qPrintable(name));
        }
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
