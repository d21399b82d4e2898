// Skin bitmaps on screens of device pixel ratio above 1: the loader picks the @2x set and
// falls back to the 1x bitmap when the @2x one is missing or of the wrong size, the look's
// frames find their @2x parts, and nine-slice drawing at ratio 2 copies the @2x pixels
// (details one device pixel fine) where a 1x-only bitmap is drawn enlarged.
//
// The test adds bitmaps of its own under :/skin/: SHARPTEST_PLAIN without an @2x file,
// SHARPTEST_ODD with an @2x file three times its size.
#include <QPainter>
#include <QtTest>

#include "drawing/drawingoperations.h"
#include "drawing/skinbitmaps.h"
#include "look/skinlook.h"

namespace {

constexpr QRgb kFuchsia = 0xFFFF00FF;

// A transparent canvas of `logical` size at device pixel ratio 2.
QImage Canvas2x(QSize logical) {
    QImage canvas(logical * 2, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(2);
    canvas.fill(Qt::transparent);
    return canvas;
}

// The number of 2 x 2 device pixel blocks in `rect` that are not of one colour.
int MixedBlocks(const QImage& image, const QRect& rect) {
    int mixed = 0;
    for (int y = rect.top(); y + 1 <= rect.bottom(); y += 2) {
        for (int x = rect.left(); x + 1 <= rect.right(); x += 2) {
            const QRgb c = image.pixel(x, y);
            mixed += image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c ||
                     image.pixel(x + 1, y + 1) != c;
        }
    }
    return mixed;
}

} // namespace

class TestSharpSkin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loaderPicksTheSetForTheRatio_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<qreal>("imageRatio");
        QTest::newRow("1x at 1") << "MACOS_BUTTON" << 1.0 << QSize(252, 23) << 1.0;
        QTest::newRow("@2x at 2") << "MACOS_BUTTON" << 2.0 << QSize(504, 46) << 2.0;
        QTest::newRow("@2x at 1.5") << "MACOS_BUTTON" << 1.5 << QSize(504, 46) << 2.0;
        QTest::newRow("@2x missing") << "SHARPTEST_PLAIN" << 2.0 << QSize(12, 10) << 1.0;
        QTest::newRow("@2x of the wrong size") << "SHARPTEST_ODD" << 2.0 << QSize(6, 4) << 1.0;
        QTest::newRow("no bitmap at all") << "NO_SUCH_BITMAP" << 2.0 << QSize() << 1.0;
    }
    void loaderPicksTheSetForTheRatio() {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        QFETCH(qreal, imageRatio);
        const QImage image = TryLoadSkinBitmapForRatio(name, ratio);
        QCOMPARE(image.isNull(), !pixels.isValid());
        if (image.isNull())
            return;
        QCOMPARE(image.size(), pixels);
        QCOMPARE(image.devicePixelRatio(), imageRatio);
    }

    // The frames a look cuts find the same frame of the @2x strip; a frame of a bitmap
    // without a usable @2x file, or one not loaded by name (a theme file's), is drawn as
    // it is.
    void framesFindTheirSharpParts() {
        const SkinLook look = SkinLook::Resolve(nullptr, TsuiUIStyle::MacOS);
        const QImage hover = look.strip<SkinImage::Button>().frame(ButtonFrame::Hover);
        QCOMPARE(SkinImageForRatio(hover, 1.0).cacheKey(), hover.cacheKey());
        const QImage sharp = SkinImageForRatio(hover, 2.0);
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
        const QImage strip2x = TryLoadSkinBitmapForRatio(QStringLiteral("MACOS_BUTTON"), 2.0);
        QCOMPARE(sharp.convertToFormat(QImage::Format_RGB32),
                 strip2x.copy(168, 0, 168, 46).convertToFormat(QImage::Format_RGB32));

        for (const char* name : {"SHARPTEST_PLAIN", "SHARPTEST_ODD"}) {
            const QString resource = QString::fromLatin1(name);
            const SkinFrameSet set =
                CutSkinFrames(TryLoadSkinBitmap(resource), 2, QSize(1, 1), QSize(), resource);
            QVERIFY(!set.fallback);
            QCOMPARE(SkinImageForRatio(set.frames.at(1), 2.0).cacheKey(),
                     set.frames.at(1).cacheKey());
        }
        const SkinFrameSet unnamed =
            CutSkinFrames(TryLoadSkinBitmap(QStringLiteral("MACOS_BUTTON")), 3, QSize(1, 1));
        QCOMPARE(SkinImageForRatio(unnamed.frames.at(0), 2.0).cacheKey(),
                 unnamed.frames.at(0).cacheKey());
    }

    // At ratio 2 the corner of a stretched MacOS button is the @2x bitmap's corner pixel
    // for pixel (fuchsia left out): its anti-aliased rim is one device pixel fine, not
    // 2 x 2 blocks. The stretched middle stays where the 1x geometry puts it.
    void nineSliceAtRatio2CopiesTheSharpSet() {
        const SkinLook look = SkinLook::Resolve(nullptr, TsuiUIStyle::MacOS);
        const QImage normal = look.strip<SkinImage::Button>().frame(ButtonFrame::Normal);
        QImage canvas = Canvas2x(QSize(80, 27));
        {
            QPainter p(&canvas);
            DrawNineSlice(normal, p, QRect(0, 0, 80, 27), true);
        }
        const QImage sharp = TryLoadSkinBitmapForRatio(QStringLiteral("MACOS_BUTTON"), 2.0)
                                 .copy(0, 0, 168, 46)
                                 .convertToFormat(QImage::Format_ARGB32);
        // The top-left corner piece: 40 x 11 logical pixels.
        for (int y = 0; y < 22; ++y) {
            for (int x = 0; x < 80; ++x) {
                const QRgb want = sharp.pixel(x, y);
                const QRgb got = canvas.pixel(x, y);
                if (want == kFuchsia)
                    QVERIFY2(qAlpha(got) == 0, qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
                else
                    QVERIFY2(got == want, qPrintable(QStringLiteral("(%1,%2): %3, want %4")
                                                         .arg(x)
                                                         .arg(y)
                                                         .arg(got, 8, 16)
                                                         .arg(want, 8, 16)));
            }
        }
        QVERIFY(MixedBlocks(canvas, QRect(0, 0, 40, 22)) > 10);
        // The bottom edge piece ends at the canvas's last device row.
        QVERIFY(qAlpha(canvas.pixel(80, 53)) == 255);
    }

    // A bitmap without an @2x file is drawn from its 1x pixels, enlarged: every 2 x 2 block
    // one colour, as at ratio 1 each pixel.
    void nineSliceWithoutSharpSetDrawsTheOneX() {
        const QString name = QStringLiteral("SHARPTEST_PLAIN");
        const SkinFrameSet set =
            CutSkinFrames(TryLoadSkinBitmap(name), 1, QSize(1, 1), QSize(), name);
        QImage canvas = Canvas2x(QSize(20, 16));
        {
            QPainter p(&canvas);
            DrawNineSlice(set.whole, p, QRect(0, 0, 20, 16), false);
        }
        QCOMPARE(MixedBlocks(canvas, canvas.rect()), 0);
        QCOMPARE(canvas.pixel(0, 0), set.whole.pixel(0, 0));
        QCOMPARE(canvas.pixel(39, 31), set.whole.pixel(11, 9));
    }
};

QTEST_MAIN(TestSharpSkin)
#include "tst_sharpskin.moc"
