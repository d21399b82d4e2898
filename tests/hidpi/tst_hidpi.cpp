// The window on scaled screens, as the installed program draws it: pictures taken by
// zd7240-helper --grab at device pixel ratios 1, 1.25, 1.5 and 2. Text is drawn by a
// scalable face at the screen's resolution (ink about twice as high at 2, letters no
// further apart than at 1), and stretched skin pieces meet without seams.

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Ink {
    QRect bounds; // of the dark pixels
    int runs = 0; // groups of columns with ink, separated by empty columns
};

bool Dark(QRgb pixel) {
    return qGray(pixel) < 100;
}

Ink InkIn(const QImage& image, const QRect& rect) {
    Ink ink;
    bool previous = false;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        bool column = false;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            if (!Dark(image.pixel(x, y)))
                continue;
            column = true;
            ink.bounds |= QRect(x, y, 1, 1);
        }
        ink.runs += column && !previous;
        previous = column;
    }
    return ink;
}

// The number of 2 x 2 pixel blocks, from even coordinates, in `rect` that are not of one
// colour.
int MixedBlocks(const QImage& image, const QRect& rect) {
    int mixed = 0;
    for (int y = rect.top() & ~1; y + 1 <= rect.bottom(); y += 2) {
        for (int x = rect.left() & ~1; x + 1 <= rect.right(); x += 2) {
            const QRgb c = image.pixel(x, y);
            mixed += image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c ||
                     image.pixel(x + 1, y + 1) != c;
        }
    }
    return mixed;
}

QRect Scaled(const QRect& logical, qreal ratio) {
    return QRect(qRound(logical.x() * ratio), qRound(logical.y() * ratio),
                 qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

} // namespace

class TestHiDpi : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // One row per look.
    static void looks() {
        QTest::addColumn<QString>("look");
        for (const char* look : {"MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"})
            QTest::newRow(look) << QString::fromLatin1(look);
    }

    // The window's picture at `ratio` in `look`; a null image after a failure.
    QImage Grab(qreal ratio, const QString& look = QStringLiteral("MacOS")) {
        const QString path = dir_.filePath(QStringLiteral("w-%1-%2.png").arg(look).arg(ratio));
        QProcess helper;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(ratio));
        helper.setProcessEnvironment(env);
        helper.start(QStringLiteral(ZD7240_HELPER),
                     {QStringLiteral("--look"), look, QStringLiteral("--grab"), path});
        if (!helper.waitForFinished(60000) || helper.exitCode() != 0)
            return {};
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    }

private Q_SLOTS:
    // "Board id:" of the first page, at (42, 128), 92 x 13 in the window.
    void captionsAreDrawnAtTheScreensResolution() {
        const QRect label(42, 128, 92, 13);
        const QImage one = Grab(1);
        const QImage two = Grab(2);
        QVERIFY(!one.isNull() && !two.isNull());
        QCOMPARE(two.size(), one.size() * 2);
        const Ink small = InkIn(one, label);
        const Ink large = InkIn(two, Scaled(label, 2));
        QVERIFY(small.bounds.height() >= 7);
        const double height = double(large.bounds.height()) / small.bounds.height();
        const double width = double(large.bounds.width()) / small.bounds.width();
        QVERIFY2(height > 1.6 && height < 2.5, qPrintable(QString::number(height)));
        QVERIFY2(width > 1.6 && width < 2.5, qPrintable(QString::number(width)));
        // Letter-spaced text falls apart into one run per letter.
        QVERIFY2(
            large.runs <= small.runs + 2,
            qPrintable(QStringLiteral("%1 runs at 2, %2 at 1").arg(large.runs).arg(small.runs)));
    }

    // At ratio 2 the rounded ends of the "Make file" button (296, 533, 80 x 27) and the
    // window buttons at the right of the title bar show detail one device pixel fine: they
    // are drawn from the @2x set. Enlarged 1x bitmaps would give only 2 x 2 blocks of one
    // colour there.
    void skinIsDrawnFromTheSharpSetAtTwo_data() { looks(); }
    void skinIsDrawnFromTheSharpSetAtTwo() {
        QFETCH(QString, look);
        const QImage image = Grab(2, look);
        QVERIFY(!image.isNull());
        const QRect button = Scaled(QRect(296, 533, 80, 27), 2);
        const QRect ends[] = {QRect(button.left(), button.top(), 12, button.height()),
                              QRect(button.right() - 11, button.top(), 12, button.height())};
        for (const QRect& end : ends) {
            const int mixed = MixedBlocks(image, end);
            QVERIFY2(mixed >= 4, qPrintable(QString::number(mixed)));
        }
        const QRect titleButtons(image.width() - 2 * 70, 0, 2 * 64, 2 * 22);
        const int mixed = MixedBlocks(image, titleButtons);
        QVERIFY2(mixed >= 20, qPrintable(QString::number(mixed)));
    }

    // The "Make file" button (296, 533, 80 x 27) stretched at 1.5 in every look: along a
    // row of its flat middle (clear of the corners and the caption) no column stands out
    // from both neighbours that agree.
    void stretchedPiecesMeetWithoutSeams_data() { looks(); }
    void stretchedPiecesMeetWithoutSeams() {
        QFETCH(QString, look);
        const QImage image = Grab(1.5, look);
        QVERIFY(!image.isNull());
        const QRect button = Scaled(QRect(296, 533, 80, 27), 1.5);
        for (const int y : {button.top() + 3, button.bottom() - 3}) {
            for (int x = button.left() + 20; x <= button.right() - 20; ++x) {
                const int left = qGray(image.pixel(x - 1, y));
                const int here = qGray(image.pixel(x, y));
                const int right = qGray(image.pixel(x + 1, y));
                const bool seam = qAbs(left - right) <= 4 && qAbs(here - left) > 24;
                QVERIFY2(!seam, qPrintable(QStringLiteral("seam at (%1,%2): %3 %4 %5")
                                               .arg(x)
                                               .arg(y)
                                               .arg(left)
                                               .arg(here)
                                               .arg(right)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
