// The shared drawing operations, checked at the pixels their rules fix.
#include <QPainter>
#include <QtTest>

#include "drawing/drawingoperations.h"

namespace {

const QRgb kBackground = qRgb(1, 2, 3);
const QRgb kFuchsia = qRgb(255, 0, 255);

// Every source pixel has its own colour, so a destination pixel names the source pixel
// it came from.
QRgb Src(int x, int y) {
    return qRgb(20 * x + 7, 20 * y + 7, 0x80);
}

QImage Coded(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, Src(x, y));
    return image;
}

QImage Canvas(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBackground);
    return image;
}

QString Name(QRgb c) {
    if (c == kBackground)
        return QStringLiteral("background");
    if (c == kFuchsia)
        return QStringLiteral("fuchsia");
    return QStringLiteral("src(%1,%2)").arg((qRed(c) - 7) / 20).arg((qGreen(c) - 7) / 20);
}

struct Probe {
    QPoint at;
    QRgb expected;
};

// Every probe is checked, and the failure lists each wrong one.
void CheckProbes(const QImage& canvas, const QList<Probe>& probes) {
    QStringList wrong;
    for (const Probe& p : probes) {
        const QRgb got = canvas.pixel(p.at) | 0xFF000000;
        if (got != p.expected)
            wrong << QStringLiteral("at (%1,%2): got %3, expected %4")
                         .arg(p.at.x())
                         .arg(p.at.y())
                         .arg(Name(got), Name(p.expected));
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
}

} // namespace

using Probes = QList<Probe>;
Q_DECLARE_METATYPE(Probes)

class TestDrawingOperations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extractBitmapFrame() {
        const QImage strip = Coded(54, 4);
        const QImage frame = ExtractBitmapFrame(strip, 3, 2);
        QCOMPARE(frame.size(), QSize(18, 4));
        QCOMPARE(frame.pixel(0, 0), Src(18, 0));
        QCOMPARE(frame.pixel(17, 3), Src(35, 3));
        // 55 / 3 truncates to 18 as well; the spare column is never part of a frame.
        QCOMPARE(ExtractBitmapFrame(Coded(55, 2), 3, 3).pixel(17, 0), Src(53, 0));
        QVERIFY(ExtractBitmapFrame(strip, 0, 1).isNull());
    }

    // The corners are copied unscaled; the right and bottom halves begin one pixel past
    // the middle, both in the bitmap and on the canvas; a band of zero height (the left
    // edge and centre of an even-height bitmap) draws nothing; the bottom edge is drawn
    // last, one pixel left of and one row above its neighbours.
    void nineSlice_data() {
        QTest::addColumn<QSize>("bitmap");
        QTest::addColumn<QSize>("dest");
        QTest::addColumn<Probes>("probes");

        QTest::newRow("even bitmap 10x8 on even 20x14")
            << QSize(10, 8) << QSize(20, 14)
            << Probes{{{0, 0}, Src(0, 0)},    {{4, 3}, Src(4, 3)},    // top-left 5x4
                      {{5, 0}, Src(5, 0)},    {{15, 3}, Src(5, 3)},   // top edge: one column
                      {{16, 0}, Src(6, 0)},   {{19, 3}, Src(9, 3)},   // top-right 4x4
                      {{0, 11}, Src(0, 5)},   {{0, 13}, Src(0, 7)},   // bottom-left 5x3
                      {{16, 11}, Src(6, 5)},  {{19, 13}, Src(9, 7)},  // bottom-right 4x3
                      {{19, 4}, Src(9, 4)},   {{19, 10}, Src(9, 5)},  // right edge: rows 4..5
                      {{3, 10}, kBackground}, {{10, 6}, kBackground}, // no left edge/centre
                      {{4, 11}, Src(5, 5)},   {{15, 13}, Src(5, 7)}}; // bottom edge
        QTest::newRow("odd bitmap 11x9 on odd 21x15")
            << QSize(11, 9) << QSize(21, 15)
            << Probes{{{0, 0}, Src(0, 0)},   {{4, 3}, Src(4, 3)},    // top-left 5x4
                      {{0, 4}, Src(0, 4)},   {{4, 10}, Src(4, 4)},   // left edge: row 4
                      {{0, 12}, Src(0, 6)},  {{3, 14}, Src(3, 8)},   // bottom-left 5x3
                      {{17, 0}, Src(7, 0)},  {{20, 3}, Src(10, 3)},  // top-right 4x4
                      {{17, 4}, Src(7, 5)},  {{20, 11}, Src(10, 5)}, // right edge: row 5
                      {{17, 12}, Src(7, 6)}, {{20, 14}, Src(10, 8)}, // bottom-right 4x3
                      {{5, 0}, Src(5, 0)},   {{16, 3}, Src(6, 3)},   // top edge 2 -> 12
                      {{5, 4}, Src(5, 4)},   {{16, 10}, Src(6, 4)},  // centre, to row 10
                      {{4, 11}, Src(5, 5)},  {{4, 14}, Src(5, 8)},   // bottom edge from x 4
                      {{16, 14}, Src(6, 8)}};
        QTest::newRow("odd bitmap 11x9 on even 20x14")
            << QSize(11, 9) << QSize(20, 14)
            << Probes{{{4, 3}, Src(4, 3)},    {{16, 0}, Src(7, 0)},   // top-right at 20 - 4
                      {{0, 11}, Src(0, 6)},   {{19, 13}, Src(10, 8)}, // bottom corners at 14 - 3
                      {{19, 10}, Src(10, 5)}, {{4, 10}, Src(5, 5)}};  // bottom edge from row 10
        // A destination smaller than the bitmap: each corner keeps the part at the
        // bitmap's own corner, and the edges keep their outer part.
        QTest::newRow("11x9 squeezed into 6x4")
            << QSize(11, 9) << QSize(6, 4)
            << Probes{{{0, 0}, Src(0, 0)}, {{2, 1}, Src(2, 1)},  // top-left 3x2
                      {{4, 0}, Src(9, 0)}, {{5, 1}, Src(10, 1)}, // top-right 2x2
                      {{0, 3}, Src(0, 8)}, {{5, 3}, Src(10, 8)}, // bottom corners, 1 row
                      {{0, 2}, Src(0, 4)}, {{5, 2}, Src(10, 5)}, // left/right edges
                      {{2, 2}, Src(5, 7)}, {{3, 3}, Src(6, 8)}}; // bottom edge keeps rows 7..8
    }
    void nineSlice() {
        QFETCH(QSize, bitmap);
        QFETCH(QSize, dest);
        QFETCH(Probes, probes);
        QImage canvas = Canvas(dest.width() + 4, dest.height() + 4);
        {
            QPainter painter(&canvas);
            DrawNineSlice(Coded(bitmap.width(), bitmap.height()), painter, QRect(QPoint(), dest),
                          false);
        }
        CheckProbes(canvas, probes);
        // Nothing beyond Right and Bottom.
        CheckProbes(canvas, {{{dest.width(), 0}, kBackground}, {{0, dest.height()}, kBackground}});
    }

    // Fuchsia in a corner shows only without the transparent flag; fuchsia in a
    // stretched piece never shows.
    void nineSliceTransparency_data() {
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<QRgb>("corner");
        QTest::newRow("masked corners") << true << kBackground;
        QTest::newRow("opaque corners") << false << kFuchsia;
    }
    void nineSliceTransparency() {
        QFETCH(bool, transparent);
        QImage bitmap = Coded(11, 9);
        bitmap.setPixel(0, 0, kFuchsia);  // top-left corner
        bitmap.setPixel(10, 8, kFuchsia); // bottom-right corner
        bitmap.setPixel(5, 0, kFuchsia);  // top edge
        bitmap.setPixel(5, 4, kFuchsia);  // centre
        QImage canvas = Canvas(21, 15);
        {
            QPainter painter(&canvas);
            DrawNineSlice(bitmap, painter, QRect(0, 0, 21, 15), transparent);
        }
        QFETCH(QRgb, corner);
        CheckProbes(canvas, {{{0, 0}, corner},
                             {{20, 14}, corner},
                             {{1, 0}, Src(1, 0)},
                             {{5, 0}, kBackground},
                             {{10, 0}, kBackground},
                             {{11, 0}, Src(6, 0)},
                             {{5, 4}, kBackground},
                             {{10, 10}, kBackground}});
    }

    void nineSliceTinyDestinationsDoNotCrash() {
        for (int w = 0; w < 4; ++w)
            for (int h = 0; h < 4; ++h) {
                QImage canvas = Canvas(8, 8);
                QPainter painter(&canvas);
                DrawNineSlice(Coded(11, 9), painter, QRect(0, 0, w, h), true);
                DrawNineSlice(Coded(1, 1), painter, QRect(0, 0, 7, 7), true);
                DrawNineSlice(QImage(), painter, QRect(0, 0, 7, 7), true);
            }
    }

    void threeSlice_data() {
        QTest::addColumn<bool>("cornerKey");
        QTest::addColumn<QRgb>("keyed");   // where the corner colour was
        QTest::addColumn<QRgb>("fuchsia"); // where fuchsia was
        QTest::newRow("corner key") << true << kBackground << kFuchsia;
        QTest::newRow("fuchsia key") << false << Src(0, 0) << kBackground;
    }
    void threeSlice() {
        QFETCH(bool, cornerKey);
        QImage bitmap = Coded(9, 5); // three 3x5 frames
        bitmap.setPixel(7, 1, kFuchsia);
        bitmap.setPixel(4, 2, Src(0, 0)); // the corner colour inside the middle frame
        QImage canvas = Canvas(30, 10);
        {
            QPainter painter(&canvas);
            DrawThreeSlice(bitmap, painter, QRect(2, 1, 20, 5), cornerKey);
        }
        QFETCH(QRgb, keyed);
        QFETCH(QRgb, fuchsia);
        // Left cap at (2, 1), right cap at Right - 3 = 19, middle stretched 3 -> 14 between.
        CheckProbes(canvas, {{{2, 1}, keyed},
                             {{4, 5}, Src(2, 4)},
                             {{1, 1}, kBackground},
                             {{19, 1}, Src(6, 0)},
                             {{21, 5}, Src(8, 4)},
                             {{20, 2}, fuchsia},
                             {{22, 1}, kBackground},
                             {{5, 1}, Src(3, 0)},
                             {{18, 5}, Src(5, 4)},
                             {{11, 3}, keyed}});
    }

    void tilingStartsAtTheCanvasOrigin() {
        const QImage picture = Coded(4, 3);
        QImage canvas = Canvas(20, 20);
        {
            QPainter painter(&canvas);
            TileDrawPicture(painter, picture, QRect(5, 5, 10, 7));
        }
        // Tiles at x = 0, 4, 8, 12 (x < 4 + 10) and y = 0, 3, 6, 9 (y < 3 + 7).
        CheckProbes(canvas, {{{0, 0}, Src(0, 0)},
                             {{5, 5}, Src(1, 2)},
                             {{15, 11}, Src(3, 2)},
                             {{16, 0}, kBackground},
                             {{0, 12}, kBackground}});
        QPainter painter(&canvas);
        TileDrawPicture(painter, QImage(), QRect(0, 0, 5, 5)); // empty picture: nothing
    }

    void frameRings_data() {
        QTest::addColumn<bool>("inner");
        QTest::newRow("border and inner ring") << true;
        QTest::newRow("border only") << false;
    }
    void frameRings() {
        QFETCH(bool, inner);
        const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
        QImage canvas = Canvas(10, 8);
        {
            QPainter painter(&canvas);
            FrameWindowedControl(painter, canvas.rect(), QColor(red), QColor(blue), inner);
        }
        const QRgb ring2 = inner ? blue : kBackground;
        CheckProbes(canvas, {{{0, 0}, red},
                             {{9, 0}, red},
                             {{0, 7}, red},
                             {{9, 7}, red},
                             {{5, 0}, red},
                             {{0, 4}, red},
                             {{1, 1}, ring2},
                             {{8, 6}, ring2},
                             {{5, 1}, ring2},
                             {{8, 3}, ring2},
                             {{2, 2}, kBackground},
                             {{7, 5}, kBackground}});
    }

    void ptInRectInclusive_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("inside");
        QTest::newRow("top-left corner") << QPoint(10, 20) << true;
        QTest::newRow("right edge counts") << QPoint(40, 25) << true;
        QTest::newRow("bottom-right corner counts") << QPoint(40, 30) << true;
        QTest::newRow("past the right edge") << QPoint(41, 25) << false;
        QTest::newRow("past the bottom edge") << QPoint(20, 31) << false;
        QTest::newRow("left of it") << QPoint(9, 25) << false;
        QTest::newRow("above it") << QPoint(20, 19) << false;
    }
    void ptInRectInclusive() {
        QFETCH(QPoint, point);
        QTEST(PtInRectInclusive(point, QRect(10, 20, 30, 10)), "inside");
    }

    // The control gets what its parent paints beneath it, and neither itself nor its
    // siblings, also when it asks from its own paint event.
    void parentBackground() {
        class Parent : public QWidget {
        protected:
            void paintEvent(QPaintEvent*) override {
                QPainter p(this);
                for (int x = 0; x < width(); ++x)
                    p.fillRect(x, 0, 1, height(), QColor(x, 100, 50));
            }
        };
        class Child : public QWidget {
        public:
            using QWidget::QWidget;
            QImage seen;

        protected:
            void paintEvent(QPaintEvent*) override {
                seen = QImage(size(), QImage::Format_RGB32);
                seen.fill(Qt::black);
                {
                    QPainter off(&seen);
                    DrawParentBackground(off, this);
                }
                QPainter(this).drawImage(0, 0, seen);
            }
        };
        Parent parent;
        parent.resize(100, 60);
        Child child(&parent);
        child.setGeometry(30, 20, 10, 10);
        QWidget sibling(&parent);
        sibling.setAutoFillBackground(true);
        sibling.setPalette(QPalette(Qt::yellow));
        sibling.setGeometry(35, 25, 20, 20);

        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(Qt::black);
        {
            QPainter painter(&image);
            DrawParentBackground(painter, &child);
        }
        QCOMPARE(image.pixel(0, 0), qRgb(30, 100, 50));
        QCOMPARE(image.pixel(9, 9), qRgb(39, 100, 50)); // under the sibling: parent only

        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        child.repaint();
        QCOMPARE(child.seen.pixel(5, 5), qRgb(35, 100, 50));

        QWidget orphan;
        QPainter painter(&image);
        DrawParentBackground(painter, &orphan); // no parent: nothing
    }
};

QTEST_MAIN(TestDrawingOperations)
#include "tst_drawingoperations.moc"
