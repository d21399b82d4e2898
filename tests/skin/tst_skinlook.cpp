// The look seam: typed getters resolved once per assignment, bitmaps cut into named
// frames, the blank stand-ins for missing or damaged bitmaps, and the sharing of resolved
// looks.
#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <type_traits>

#include "../lib/themefile.h"
#include "controls/tsuibutton.h"
#include "drawing/drawingoperations.h"
#include "drawing/skinbitmaps.h"
#include "look/skinlook.h"
#include "theme/tsuifiletheme.h"
#include "theme/tsuithemefilewriter.h"

// Asking a getter of the wrong kind does not compile.
template <typename E>
concept AsksColour = requires(const SkinLook& look, E element) {
    look.color(element);
};
template <typename E>
concept AsksInteger = requires(const SkinLook& look, E element) {
    look.integer(element);
};
template <typename Strip, typename F>
concept AsksFrame = requires(const Strip& strip, F frame) {
    strip.frame(frame);
};
static_assert(AsksColour<SkinColor> && !AsksColour<SkinImage> && !AsksColour<SkinInt> &&
              !AsksColour<int>);
static_assert(AsksInteger<SkinInt> && !AsksInteger<SkinColor> && !AsksInteger<SkinBool>);
static_assert(AsksFrame<SkinStrip<ButtonFrame>, ButtonFrame> &&
              !AsksFrame<SkinStrip<ButtonFrame>, TabFrame> &&
              !AsksFrame<SkinStrip<ButtonFrame>, int>);
static_assert(std::is_same_v<decltype(SkinLook().strip<SkinImage::TitleBarButton>()),
                             SkinStrip<TitleButtonFrame>>);
static_assert(SkinStrip<TitleButtonFrame>::kFrames == 18 && SkinStrip<TabFrame>::kFrames == 2);
static_assert(TitleButtonFrameOf(TitleGlyph::Restore, ButtonFrame::Hover) ==
              TitleButtonFrame::RestoreHover);

using zd7240::test::WriteThemeFile;

namespace {

QByteArray Bmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage Stripes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, 90));
    return image;
}

bool FullyTransparent(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace

class TestSkinLook : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void typedGetters_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QColor>("border");
        QTest::addColumn<int>("borderWidth");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<QSize>("buttonFrame");
        QTest::addColumn<QSize>("tabFrame");
        QTest::newRow("MacOS") << 1 << QColor(0x7F, 0x7F, 0x7F) << 1 << true << QSize(84, 23)
                               << QSize(18, 27);
        QTest::newRow("WinXP") << 2 << QColor(0x68, 0x68, 0x68) << 3 << false << QSize(18, 21)
                               << QSize(9, 18);
        QTest::newRow("DeepBlue") << 3 << QColor(Qt::black) << 1 << false << QSize(74, 21)
                                  << QSize(6, 17);
        QTest::newRow("Protein") << 4 << QColor(Qt::black) << 1 << false << QSize(74, 21)
                                 << QSize(9, 17);
        QTest::newRow("BlueGlass")
            << 5 << QColor(Qt::black) << 1 << true << QSize(77, 27) << QSize(9, 17);
        // From a theme file: its own values; its tab bitmap is missing, so the tab is the
        // DeepBlue-sized blank.
        QTest::newRow("theme file")
            << 0 << QColor(255, 0, 0) << 5 << true << QSize(20, 10) << QSize(6, 17);
    }
    void typedGetters() {
        QFETCH(int, style);
        TsuiThemeFileWriter writer;
        writer.addInteger(QStringLiteral("ControlBorderColor"), 0x0000FF);
        writer.addInteger(QStringLiteral("FormBorderWidthInt"), 5);
        writer.addBoolean(QStringLiteral("ButtonTransparentBool"), true);
        const QImage button = Stripes(60, 10);
        writer.addBitmap(QStringLiteral("ButtonImage"), Bmp(button));
        TsuiFileTheme theme;
        theme.setThemeFile(WriteThemeFile(dir_, QStringLiteral("typed.theme"), writer));
        QVERIFY(theme.ThemeLoaded());

        const SkinLook look = SkinLook::Resolve(&theme, static_cast<TsuiUIStyle>(style));
        QCOMPARE(look.usesFileTheme(), style == 0);
        QTEST(look.color(SkinColor::ControlBorder), "border");
        QTEST(look.integer(SkinInt::FormBorderWidth), "borderWidth");
        QTEST(look.flag(SkinBool::ButtonTransparent), "transparent");
        const SkinStrip<ButtonFrame> face = look.strip<SkinImage::Button>();
        QTEST(face.frameSize(), "buttonFrame");
        QTEST(look.strip<SkinImage::TabControlTab>().frame(TabFrame::Inactive).size(), "tabFrame");
        QVERIFY(!face.isFallback());
        // Frames are cut as ExtractBitmapFrame cuts them, named from 1 at the left.
        const QImage strip = style == 0 ? button
                                        : LoadSkinBitmap(SkinResourceName(
                                              static_cast<TsuiUIStyle>(style), SkinImage::Button));
        QCOMPARE(face.whole().convertToFormat(QImage::Format_RGB32),
                 strip.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(face.frame(ButtonFrame::Hover), ExtractBitmapFrame(face.whole(), 3, 2));
        QCOMPARE(face.frame(ButtonFrame::Pressed), ExtractBitmapFrame(face.whole(), 3, 3));
    }

    // A theme whose bitmaps are missing or damaged still gives every control something to
    // paint: blank, transparent strips with the catalogue's frames.
    void damagedThemeFallsBack() {
        TsuiThemeFileWriter writer;
        writer.addBitmap(QStringLiteral("ButtonImage"), QByteArray("BM this is no bitmap"));
        writer.addBitmap(QStringLiteral("TabControlTabImage"), Bmp(Stripes(1, 5))); // < 2 frames
        writer.addBitmap(QStringLiteral("TitleBarButtonImage"), Bmp(Stripes(36, 10)));
        TsuiFileTheme theme;
        theme.setThemeFile(WriteThemeFile(dir_, QStringLiteral("damaged.theme"), writer));
        QVERIFY(theme.ThemeLoaded());
        const SkinLook look = SkinLook::Resolve(&theme, TsuiUIStyle::FromThemeFile);

        const SkinStrip<ButtonFrame> face = look.strip<SkinImage::Button>();
        QVERIFY(face.isFallback());
        QCOMPARE(face.whole().size(), QSize(3 * 74, 21));
        for (ButtonFrame f : {ButtonFrame::Normal, ButtonFrame::Hover, ButtonFrame::Pressed}) {
            QCOMPARE(face.frame(f).size(), QSize(74, 21));
            QVERIFY(FullyTransparent(face.frame(f)));
        }
        QVERIFY(look.strip<SkinImage::TabControlTab>().isFallback());
        const SkinStrip<ScrollButtonFrame> scroll = look.strip<SkinImage::ScrollButton>(); // absent
        QVERIFY(scroll.isFallback());
        QCOMPARE(scroll.frame(ScrollButtonFrame::LeftHover).size(), QSize(18, 17));
        const SkinStrip<TitleButtonFrame> title = look.strip<SkinImage::TitleBarButton>();
        QVERIFY(!title.isFallback()); // a good bitmap beside damaged ones is used
        QCOMPARE(title.frame(TitleButtonFrame::ClosePressed).size(), QSize(2, 10));

        // A control on that theme paints.
        TsuiButton button;
        button.setFileTheme(&theme);
        button.setUIStyle(TsuiUIStyle::FromThemeFile);
        button.resize(80, 25);
        QVERIFY(button.look().strip<SkinImage::Button>().isFallback());
        QVERIFY(!button.grab().isNull());
    }

    void cutFrames_data() {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<bool>("fallback");
        QTest::newRow("good") << Stripes(12, 4) << QSize() << false;
        QTest::newRow("good, of its catalogue size") << Stripes(12, 4) << QSize(12, 4) << false;
        QTest::newRow("missing") << QImage() << QSize() << true;
        QTest::newRow("narrower than its frames") << Stripes(2, 4) << QSize() << true;
        QTest::newRow("not of its catalogue size") << Stripes(15, 4) << QSize(12, 4) << true;
    }
    void cutFrames() {
        QFETCH(QImage, image);
        QFETCH(QSize, expected);
        const SkinFrameSet set = CutSkinFrames(image, 3, QSize(5, 6), expected);
        QTEST(set.fallback, "fallback");
        QCOMPARE(set.frames.size(), 3);
        QCOMPARE(set.frames.at(1).size(), set.fallback ? QSize(5, 6) : QSize(4, 4));
    }

    void looksAreResolvedOncePerSource() {
        QCOMPARE(SkinLook::Resolve(nullptr, TsuiUIStyle::MacOS),
                 SkinLook::Resolve(nullptr, TsuiUIStyle::MacOS));
        QVERIFY(!(SkinLook::Resolve(nullptr, TsuiUIStyle::MacOS) ==
                  SkinLook::Resolve(nullptr, TsuiUIStyle::WinXP)));
        // FromThemeFile without a theme is DeepBlue, as is a default look.
        QCOMPARE(SkinLook::Resolve(nullptr, TsuiUIStyle::FromThemeFile), SkinLook());

        TsuiThemeFileWriter writer;
        writer.addInteger(QStringLiteral("ControlBorderColor"), 0x00FF00);
        TsuiFileTheme theme;
        theme.setThemeFile(WriteThemeFile(dir_, QStringLiteral("one.theme"), writer));
        const SkinLook first = SkinLook::Resolve(&theme, TsuiUIStyle::FromThemeFile);
        QCOMPARE(SkinLook::Resolve(&theme, TsuiUIStyle::FromThemeFile), first);
        // Loading another file gives another look.
        writer.addInteger(QStringLiteral("FormBorderWidthInt"), 2);
        theme.setThemeFile(WriteThemeFile(dir_, QStringLiteral("two.theme"), writer));
        const SkinLook second = SkinLook::Resolve(&theme, TsuiUIStyle::FromThemeFile);
        QVERIFY(!(second == first));
        QCOMPARE(second.integer(SkinInt::FormBorderWidth), 2);
        QCOMPARE(first.integer(SkinInt::FormBorderWidth), -1); // the old look is unchanged
    }

    void picturesByName() {
        const auto icons = SkinLook::picture<SkinPicture::MessageIcons>();
        QVERIFY(!icons.isFallback());
        QCOMPARE(icons.frame(MessageIconFrame::Help).size(), QSize(42, 42));
        QCOMPARE(icons.frame(MessageIconFrame::Stop),
                 ExtractBitmapFrame(LoadSkinBitmap(QStringLiteral("MSGDLG")), 4, 2));
        QCOMPARE(SkinLook::picture<SkinPicture::MacOSMenuBar>().whole().size(), QSize(1, 22));
    }
};

QTEST_MAIN(TestSkinLook)
#include "tst_skinlook.moc"
