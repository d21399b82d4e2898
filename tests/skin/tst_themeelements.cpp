// The built-in style table, its lookups and the skin bitmaps behind its image elements.
#include <QtTest>

#include "drawingoperations.h"
#include "skinbitmaps.h"
#include "themeelements.h"

namespace {

using K = TsuiElementKind;
constexpr int kNone = 0;

// The looks as the designers gave them, element by element; the values are in the order
// MacOS, WinXP, DeepBlue, Protein, BlueGlass (for images: unused, `suffix` instead).
struct Expected {
    int element;
    const char* key;
    K kind;
    qint32 v[5];
    const char* suffix;
};

const Expected kExpected[] = {
    {1, "ButtonImage", K::Image, {}, "BUTTON"},
    {2, "ButtonTransparentBool", K::Boolean, {1, 0, 0, 0, 1}, nullptr},
    {3, "CheckBoxImage", K::Image, {}, "CHECKBOX"},
    {4, "RadioButtonImage", K::Image, {}, "RADIOBUTTON"},
    {5, "TitleBarButtonImage", K::Image, {}, "TITLEBTN"},
    {6, "TitleBarButtonTransparentBool", K::Boolean, {0, 0, 0, 1, 1}, nullptr},
    {7, "TitleBarButtonLeftOffsetInt", K::Integer, {3, 2, 0, 0, 4}, nullptr},
    {8, "TitleBarButtonRightOffsetInt", K::Integer, {-2, -2, 0, 0, -3}, nullptr},
    {9, "TitleBarButtonTopInt", K::Integer, {4, 5, 2, 2, 6}, nullptr},
    {10, "TitleBarLeftImage", K::Image, {}, "TITLE_LEFT"},
    {11, "TitleBarClientImage", K::Image, {}, "TITLE_CLIENT"},
    {12, "TitleBarRightImage", K::Image, {}, "TITLE_RIGHT"},
    {13, "FormMinWidthInt", K::Integer, {130, 150, 130, 130, 270}, nullptr},
    {14, "FormRoundCornerInt", K::Integer, {0, 13, 0, 0, 11}, nullptr},
    {15,
     "FormBackgroundColor",
     K::Colour,
     {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7},
     nullptr},
    {16, "FormBorderColor", K::Colour, {0x7F7F7F, 0xC82C00, 0, 0, 0}, nullptr},
    {17, "FormBorderWidthInt", K::Integer, {1, 3, 1, 1, 1}, nullptr},
    {18,
     "MenuSelectedBorderColor",
     K::Colour,
     {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E},
     nullptr},
    {19,
     "MenuSelectedBackgroundColor",
     K::Colour,
     {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E},
     nullptr},
    {20, "MenuSelectedFontColor", K::Colour, {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, nullptr},
    {21, "MenuBackgroundColor", K::Colour, {0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}, nullptr},
    {22, "MenuFontColor", K::Colour, {0, 0, 0, 0, 0}, nullptr},
    {23, "MenuBarColor", K::Colour, {0, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}, nullptr},
    {24, "ProgressBarImage", K::Image, {}, "PROGRESSBAR"},
    {25, "ControlBorderColor", K::Colour, {0x7F7F7F, 0x686868, 0, 0, 0}, nullptr},
    {26,
     "ControlBackgroundColor",
     K::Colour,
     {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7},
     nullptr},
    {27, "ControlFontColor", K::Colour, {0, 0xCF4602, 0, 0, 0}, nullptr},
    {28, "TrackBarBarImage", K::Image, {}, "TRACKBAR_BAR"},
    {29, "TrackBarSliderImage", K::Image, {}, "TRACKBAR_SLIDER"},
    {30, "TrackBarSliderVImage", K::Image, {}, "TRACKBAR_SLIDER_V"},
    {31,
     "ScrollBarBackgroundColor",
     K::Colour,
     {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4},
     nullptr},
    {32, "ScrollBarButtonImage", K::Image, {}, "SCROLLBAR_BUTTON"},
    {33, "ScrollBarSliderImage", K::Image, {}, "SCROLLBAR_TRACK"},
    {34, "CheckListBoxImage", K::Image, {}, "CHECKLIST"},
    {35,
     "ToolBarButtonBorderColor",
     K::Colour,
     {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747},
     nullptr},
    {36,
     "ToolBarButtonBackgroundColor",
     K::Colour,
     {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF},
     nullptr},
    {37,
     "ToolBarButtonDownBackgroundColor",
     K::Colour,
     {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8},
     nullptr},
    {38, "ScrollButtonImage", K::Image, {}, "SCROLLBUTTON"},
    {39, "TabControlTabImage", K::Image, {}, "TAB"},
    {40, "TabControlBarImage", K::Image, {}, "TAB_LINE"},
    {41, "SideChannelHandleImage", K::Image, {}, "SIDECHENNEL_HANDLE"},
    {42, "SideChannelBarImage", K::Image, {}, "SIDECHENNEL_BAR"},
};

const char* const kPrefixes[] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};

QString ExpectedResource(int style, const Expected& e) {
    if (e.element == 38 && style >= 3)
        return QStringLiteral("MORE_SCROLLBUTTON");
    return QStringLiteral("%1_%2").arg(QLatin1String(kPrefixes[style - 1]),
                                       QLatin1String(e.suffix));
}

bool ResourcesPresent() {
    return HasSkinBitmap(QStringLiteral("MACOS_BUTTON"));
}

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
                    QVERIFY2(v.resource == ExpectedResource(style, e), where);
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

    // Every image element of every look, and every bitmap loaded by name, is in the
    // program's resources; the ones the controls cut into frames have their drawn sizes.
    void everySkinBitmapLoads() {
        if (!ResourcesPresent())
            QSKIP("skin bitmaps are not in skin/resources yet");
        for (const Expected& e : kExpected) {
            if (e.kind != K::Image)
                continue;
            for (int style = 1; style <= 5; ++style) {
                QImage image;
                BuiltinBitmap(style, e.element, &image);
                QVERIFY2(!image.isNull(), qPrintable(ExpectedResource(style, e)));
            }
        }
        const QList<QPair<QString, QSize>> sized = {
            {"MACOS_BUTTON", {252, 23}},
            {"WINXP_BUTTON", {54, 21}},
            {"DEEPBLUE_BUTTON", {222, 21}},
            {"PROTEIN_BUTTON", {222, 21}},
            {"BLUEGLASS_BUTTON", {231, 27}},
            {"MACOS_TAB", {36, 27}},
            {"WINXP_TAB", {18, 18}},
            {"DEEPBLUE_TAB", {12, 17}},
            {"PROTEIN_TAB", {18, 17}},
            {"BLUEGLASS_TAB", {18, 17}},
            {"MACOS_TAB_LINE", {17, 7}},
            {"WINXP_TAB_LINE", {8, 1}},
            {"DEEPBLUE_TAB_LINE", {5, 5}},
            {"PROTEIN_TAB_LINE", {10, 5}},
            {"BLUEGLASS_TAB_LINE", {10, 5}},
            {"MACOS_SCROLLBUTTON", {72, 18}},
            {"WINXP_SCROLLBUTTON", {72, 18}},
            {"MORE_SCROLLBUTTON", {72, 17}},
            {"MACOS_COMBOBOX_BUTTON", {16, 17}},
            {"WINXP_COMBOBOX_BUTTON", {16, 18}},
            {"MACOS_FORM_BACKGROUND", {8, 8}},
            {"PROTEIN_FORM_BACKGROUND", {8, 8}},
            {"MSGDLG", {168, 42}},
        };
        for (const auto& [name, size] : sized)
            QVERIFY2(LoadSkinBitmap(name).size() == size, qPrintable(name));
        for (const char* name : {"MACOS_MENU_BAR", "MACOS_MENU_SELECT", "MENU_CHECKED", "MAINICON"})
            QVERIFY2(HasSkinBitmap(QLatin1String(name)), name);
    }

    void builtinBitmapFrame() {
        if (!ResourcesPresent())
            QSKIP("skin bitmaps are not in skin/resources yet");
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
