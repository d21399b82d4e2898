// The skinned push button: its placement rules from tables, its face at the pixels the
// drawing rules fix in every look and on a flat synthetic skin, and its behaviour through
// mouse and key events.
#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "../lib/bitmapface.h"
#include "../lib/themefile.h"
#include "controls/buttonface.h"
#include "controls/tsuibutton.h"
#include "theme/tsuifiletheme.h"
#include "theme/tsuithemefilewriter.h"

using zd7240::test::WriteThemeFile;

namespace {

const QRgb kParent = qRgb(0x12, 0x34, 0x56);
const QRgb kFuchsia = qRgb(255, 0, 255);
// The flat synthetic skin: one colour per frame, no key colour anywhere.
const QRgb kNormalFill = qRgb(0xC0, 0xE0, 0xC0);
const QRgb kHoverFill = qRgb(0xC0, 0xC0, 0xE0);
const QRgb kPressedFill = qRgb(0xE0, 0xC0, 0xC0);
const QRgb kGlyph = qRgb(0x20, 0x90, 0x20);
const QRgb kGlyph2 = qRgb(0x90, 0x20, 0x90);
const QRgb kGlyphKey = qRgb(0x00, 0xFF, 0xFF);

QByteArray Bmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage FlatStrip() {
    QImage strip(3 * 20, 21, QImage::Format_RGB32);
    const QRgb fills[] = {kNormalFill, kHoverFill, kPressedFill};
    for (int f = 0; f < 3; ++f) {
        QPainter(&strip).fillRect(QRect(f * 20, 0, 20, 21), fills[f]);
    }
    return strip;
}

// A glyph of `images` square images of 16 pixels, each a filled square inside a ring of
// the key colour (taken from pixel (0, 0)).
QImage Glyph(int images) {
    QImage glyph(16 * images, 16, QImage::Format_RGB32);
    glyph.fill(kGlyphKey);
    for (int i = 0; i < images; ++i)
        QPainter(&glyph).fillRect(QRect(16 * i + 1, 1, 14, 14), i == 0 ? kGlyph : kGlyph2);
    return glyph;
}

// The bounding box of the pixels of one colour.
QRect BoxOf(const QImage& image, QRgb colour, QRect within = QRect()) {
    if (within.isNull())
        within = image.rect();
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if ((image.pixel(x, y) | 0xFF000000) == (colour | 0xFF000000))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The bounding box of the pixels that are not the background colour.
QRect BoxNot(const QImage& image, QRgb background, const QRect& within) {
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if ((image.pixel(x, y) | 0xFF000000) != (background | 0xFF000000))
                box |= QRect(x, y, 1, 1);
    return box;
}

int DarkPixels(const QImage& image, const QRect& within) {
    int n = 0;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            n += qGray(image.pixel(x, y)) < 80;
    return n;
}

QRgb Opaque(QRgb c) {
    return c | 0xFF000000;
}

// A parent in a distinctive colour with one button in it.
struct Host {
    QWidget parent;
    TsuiButton* button;
    explicit Host(TsuiUIStyle style, QSize size = QSize(80, 27)) {
        parent.resize(200, 100);
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, QColor(kParent));
        parent.setPalette(palette);
        button = new TsuiButton(&parent);
        button->setUIStyle(style);
        button->setGeometry(QRect(QPoint(20, 30), size));
        button->setCaption(QStringLiteral("Make file"));
    }
    QImage grab() const { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

} // namespace

Q_DECLARE_METATYPE(TButtonLayout)

class TestButton : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // A theme whose button skin is FlatStrip and that has no transparency.
    std::unique_ptr<TsuiFileTheme> flatTheme() {
        TsuiThemeFileWriter writer;
        writer.addBitmap(QStringLiteral("ButtonImage"), Bmp(FlatStrip()));
        auto theme = std::make_unique<TsuiFileTheme>();
        theme->setThemeFile(WriteThemeFile(dir_, QStringLiteral("flat.theme"), writer));
        return theme;
    }

private Q_SLOTS:
    // ---- Placement rules -------------------------------------------------------------

    // The window's own face has no bold: the focus cue of the MacOS and BlueGlass looks
    // must still show, as a caption drawn heavier than the unfocused one.
    void boldFocusWithABitmapFace_data() {
        QTest::addColumn<TsuiUIStyle>("style");
        QTest::newRow("MacOS") << TsuiUIStyle::MacOS;
        QTest::newRow("BlueGlass") << TsuiUIStyle::BlueGlass;
    }
    void boldFocusWithABitmapFace() {
        QFETCH(TsuiUIStyle, style);
        const std::optional<QFont> face = zd7240::test::WindowBitmapFace();
        if (!face)
            QSKIP("fonts-wine is not installed");
        Host host(style);
        host.button->setFont(*face);
        host.parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.parent));
        host.parent.activateWindow();
        host.button->setFocus();
        QTRY_VERIFY(host.button->hasFocus());
        const QImage focused = host.grab();
        host.button->clearFocus();
        QTRY_VERIFY(!host.button->hasFocus());
        const QRect captionArea(10, 6, 60, 15);
        QVERIFY(DarkPixels(focused, captionArea) > DarkPixels(host.grab(), captionArea) + 10);
    }

    void glyphPlacement_data() {
        QTest::addColumn<TButtonLayout>("layout");
        QTest::addColumn<QSize>("button");
        QTest::addColumn<QSize>("glyph");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<QPoint>("glyphAt");
        QTest::addColumn<QPoint>("captionAt");
        // Caption 30 x 13 throughout.
        QTest::newRow("left") << TButtonLayout::blGlyphLeft << QSize(80, 27) << QSize(16, 16) << 4
                              << QPoint(15, 5) << QPoint(35, 7);
        QTest::newRow("right") << TButtonLayout::blGlyphRight << QSize(80, 27) << QSize(16, 16) << 4
                               << QPoint(49, 5) << QPoint(15, 7);
        QTest::newRow("top") << TButtonLayout::blGlyphTop << QSize(80, 27) << QSize(16, 16) << 4
                             << QPoint(32, -3) << QPoint(25, 17);
        QTest::newRow("bottom") << TButtonLayout::blGlyphBottom << QSize(80, 27) << QSize(16, 16)
                                << 4 << QPoint(32, 14) << QPoint(25, -3);
        QTest::newRow("two images count as one")
            << TButtonLayout::blGlyphLeft << QSize(80, 27) << QSize(32, 16) << 4 << QPoint(15, 5)
            << QPoint(35, 7);
        QTest::newRow("halves truncate toward zero")
            << TButtonLayout::blGlyphTop << QSize(80, 25) << QSize(16, 16) << 3 << QPoint(32, -3)
            << QPoint(25, 16);
        QTest::newRow("no spacing, odd sizes")
            << TButtonLayout::blGlyphRight << QSize(75, 21) << QSize(10, 9) << 0 << QPoint(47, 6)
            << QPoint(17, 4);
    }
    void glyphPlacement() {
        QFETCH(TButtonLayout, layout);
        QFETCH(QSize, button);
        QFETCH(QSize, glyph);
        QFETCH(int, spacing);
        const ButtonGlyphPlacement place =
            PlaceButtonGlyph(layout, button, QSize(30, 13), glyph, spacing);
        QTEST(place.glyph, "glyphAt");
        QTEST(place.caption, "captionAt");
    }

    void rules() {
        QCOMPARE(ButtonGlyphImageSize(QSize(32, 16)), QSize(16, 16));
        QCOMPARE(ButtonGlyphImageSize(QSize(16, 16)), QSize(16, 16));
        QCOMPARE(ButtonGlyphImageSize(QSize(33, 16)), QSize(33, 16));
        QCOMPARE(ButtonFocusRect(QSize(80, 27), 2), QRect(2, 2, 76, 23));
        QCOMPARE(ButtonAutoSize(QSize(252, 23)), QSize(84, 23));
        QCOMPARE(ButtonAutoSize(QSize(54, 21)), QSize(18, 21));
        QCOMPARE(ButtonAutoSize(QSize()), QSize(74, 21));
        QCOMPARE(ButtonVisibleCaption(QStringLiteral(" \tOK\r\n ")), QStringLiteral("OK"));
        QCOMPARE(ButtonVisibleCaption(QStringLiteral(" \t ")), QString());
    }

    // ---- The face in every look --------------------------------------------------------

    void looks_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<bool>("boldFocus");
        QTest::newRow("MacOS") << 1 << true << true;
        QTest::newRow("WinXP") << 2 << false << false;
        QTest::newRow("DeepBlue") << 3 << false << false;
        QTest::newRow("Protein") << 4 << false << false;
        QTest::newRow("BlueGlass") << 5 << true << true;
    }
    void looks() {
        QFETCH(int, style);
        QFETCH(bool, transparent);
        QFETCH(bool, boldFocus);
        Host host(static_cast<TsuiUIStyle>(style));
        TsuiButton& button = *host.button;
        QCOMPARE(button.Transparent(), transparent);
        const SkinStrip<ButtonFrame> strip = button.look().strip<SkinImage::Button>();
        QVERIFY(!strip.isFallback());
        const QSize frame = strip.frameSize();

        // Corners are copied unscaled from the state's frame: the top-left pixel and the
        // bottom-right one; a fuchsia corner shows the parent when the skin is transparent.
        const auto expect = [&](ButtonFrame f, QPoint src) {
            const QRgb c = Opaque(strip.frame(f).pixel(src));
            return (c == kFuchsia && transparent) ? kParent : c;
        };
        const QPoint inner(1, frame.height() / 2 - 1);
        const QList<QPair<QPoint, QPoint>> probes = {
            {QPoint(0, 0), QPoint(0, 0)},
            {QPoint(79, 26), QPoint(frame.width() - 1, frame.height() - 1)},
            {inner, inner},
        };
        const auto check = [&](const QImage& image, ButtonFrame f, const char* what) {
            for (const auto& [at, src] : probes) {
                QVERIFY2(Opaque(image.pixel(at)) == expect(f, src),
                         qPrintable(QStringLiteral("%1 at (%2,%3)")
                                        .arg(QLatin1String(what))
                                        .arg(at.x())
                                        .arg(at.y())));
            }
        };
        host.parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.parent));
        check(host.grab(), ButtonFrame::Normal, "normal");
        QTest::mouseMove(&button, QPoint(40, 13));
        QTRY_VERIFY(button.isHovered());
        check(host.grab(), ButtonFrame::Hover, "hover");
        button.setDown(true);
        check(host.grab(), ButtonFrame::Pressed, "pressed");
        button.setDown(false);
        QTest::mouseMove(&host.parent, QPoint(5, 5));
        QTRY_VERIFY(!button.isHovered());
        button.setEnabled(false);
        check(host.grab(), ButtonFrame::Normal, "disabled");
        button.setEnabled(true);

        // The focus mark: a dotted rectangle 2 pixels inside the edge, or a bold caption.
        const QImage unfocused = host.grab();
        host.parent.activateWindow();
        button.setFocus();
        QTRY_VERIFY(button.hasFocus());
        const QImage focused = host.grab();
        const QRect captionArea(10, 6, 60, 15);
        if (boldFocus) {
            QCOMPARE(focused.pixel(2, 2), unfocused.pixel(2, 2));
            QVERIFY(DarkPixels(focused, captionArea) > DarkPixels(unfocused, captionArea));
        } else {
            QCOMPARE(Opaque(focused.pixel(2, 2)), qRgb(0, 0, 0));
            QCOMPARE(Opaque(focused.pixel(4, 2)), qRgb(0, 0, 0));
            QCOMPARE(Opaque(focused.pixel(77, 3)), qRgb(0, 0, 0));
            QCOMPARE(Opaque(focused.pixel(4, 24)), qRgb(0, 0, 0));
            QCOMPARE(focused.pixel(1, 1), unfocused.pixel(1, 1));
            QCOMPARE(DarkPixels(focused, captionArea), DarkPixels(unfocused, captionArea));
        }
    }

    // On a flat skin, the caption's own rules: centred, +1,+1 when pressed, embossed when
    // disabled; and the glyph where the placement rule puts it.
    void captionOnFlatSkin() {
        auto theme = flatTheme();
        QVERIFY(theme->ThemeLoaded());
        Host host(TsuiUIStyle::WinXP);
        TsuiButton& button = *host.button;
        button.setFileTheme(theme.get());
        button.setUIStyle(TsuiUIStyle::FromThemeFile);
        QVERIFY(!button.Transparent());
        QFont font = button.font();
        font.setStyleStrategy(QFont::NoAntialias); // exact caption colours
        button.setFont(font);
        const QRect all(0, 0, 80, 27);

        const QImage normal = host.grab();
        QCOMPARE(Opaque(normal.pixel(0, 0)), kNormalFill);
        const QRect text = BoxNot(normal, kNormalFill, all);
        QVERIFY(!text.isEmpty());
        // Centred: equal margins, give or take the odd pixel.
        QVERIFY(qAbs(text.left() - (79 - text.right())) <= 2);
        QVERIFY(qAbs(text.top() - (26 - text.bottom())) <= 3);

        button.setDown(true);
        const QImage pressed = host.grab();
        QCOMPARE(Opaque(pressed.pixel(0, 0)), kPressedFill);
        QCOMPARE(BoxNot(pressed, kPressedFill, all), text.translated(1, 1));
        button.setDown(false);

        button.setEnabled(false);
        const QImage disabled = host.grab();
        QCOMPARE(Opaque(disabled.pixel(0, 0)), kNormalFill);
        const QRect grey = BoxOf(disabled, qRgb(0x80, 0x80, 0x80));
        const QRect white = BoxOf(disabled, qRgb(0xFF, 0xFF, 0xFF));
        QVERIFY(!grey.isEmpty());
        // The grey copy covers part of the white one, so only the far corner is exact.
        QCOMPARE(white.bottomRight(), grey.bottomRight() + QPoint(1, 1));
        QVERIFY(white.left() > grey.left() && white.top() > grey.top());
        button.setEnabled(true);
    }

    void glyphOnFlatSkin_data() {
        QTest::addColumn<TButtonLayout>("layout");
        QTest::addColumn<int>("images");
        QTest::newRow("left") << TButtonLayout::blGlyphLeft << 1;
        QTest::newRow("right") << TButtonLayout::blGlyphRight << 1;
        QTest::newRow("top") << TButtonLayout::blGlyphTop << 2;
        QTest::newRow("bottom") << TButtonLayout::blGlyphBottom << 2;
    }
    void glyphOnFlatSkin() {
        QFETCH(TButtonLayout, layout);
        QFETCH(int, images);
        auto theme = flatTheme();
        Host host(TsuiUIStyle::FromThemeFile, QSize(100, 60));
        TsuiButton& button = *host.button;
        button.setFileTheme(theme.get());
        button.setUIStyle(TsuiUIStyle::FromThemeFile);
        button.setCaption(QStringLiteral("Go"));
        button.setGlyph(Glyph(images));
        button.setLayout(layout);
        button.setSpacing(6);
        const QFontMetrics metrics(button.font());
        const QSize textSize(metrics.horizontalAdvance(QStringLiteral("Go")), metrics.height());
        const QPoint at =
            PlaceButtonGlyph(layout, QSize(100, 60), textSize, Glyph(images).size(), 6).glyph;

        // The glyph's key colour is left out: its ring shows the skin.
        const QRect drawn = BoxOf(host.grab(), kGlyph);
        QCOMPARE(drawn, QRect(at + QPoint(1, 1), QSize(14, 14)));
        QCOMPARE(Opaque(host.grab().pixel(at)), kNormalFill);
        button.setDown(true);
        QCOMPARE(BoxOf(host.grab(), kGlyph), drawn.translated(1, 1));
        button.setDown(false);
        button.setEnabled(false);
        const QImage disabled = host.grab();
        if (images == 2) {
            // The second image is the disabled one.
            QCOMPARE(BoxOf(disabled, kGlyph2), drawn);
            QVERIFY(BoxOf(disabled, kGlyph).isEmpty());
        } else {
            // Embossed: white one pixel right and down, the grey silhouette in place.
            QVERIFY(BoxOf(disabled, kGlyph).isEmpty());
            const QRect near = drawn.adjusted(-1, -1, 1, 1);
            QCOMPARE(BoxOf(disabled, qRgb(0x80, 0x80, 0x80), near), drawn);
            QCOMPARE(BoxOf(disabled, qRgb(0xFF, 0xFF, 0xFF), near).bottomRight(),
                     drawn.bottomRight() + QPoint(1, 1));
        }
    }

    // A transparent skin shows what the parent paints behind it, not a flat colour.
    void transparentShowsParentPainting() {
        QWidget parent;
        parent.resize(120, 60);
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setBrush(QPalette::Window, QBrush(QColor(kParent), Qt::Dense4Pattern));
        parent.setPalette(palette);
        const QImage back = parent.grab().toImage();
        QVERIFY(back.pixel(21, 10) != back.pixel(22, 10));
        for (int x : {21, 22}) {
            auto* button = new TsuiButton(&parent);
            button->setUIStyle(TsuiUIStyle::MacOS);
            button->move(x, 10);
            const QImage corner =
                button->look().strip<SkinImage::Button>().frame(ButtonFrame::Normal);
            QCOMPARE(Opaque(corner.pixel(0, 0)), kFuchsia);
            QCOMPARE(button->grab().toImage().pixel(0, 0), back.pixel(x, 10));
            delete button;
        }
    }

    void styleOverwritesTransparent() {
        TsuiButton button;
        QCOMPARE(button.size(), QSize(80, 27));
        button.setUIStyle(TsuiUIStyle::WinXP);
        QVERIFY(!button.Transparent());
        button.setTransparent(false);
        button.setUIStyle(TsuiUIStyle::MacOS);
        QVERIFY(button.Transparent());
        button.setTransparent(false);
        button.setFileTheme(nullptr); // writing FileTheme re-reads the look
        QVERIFY(button.Transparent());
        button.setAutoSize(true);
        QCOMPARE(button.size(), QSize(84, 23));
        button.setUIStyle(TsuiUIStyle::WinXP);
        QCOMPARE(button.size(), QSize(18, 21));
        QCOMPARE(button.ResHandle(), 0u);
        button.setResHandle(7);
        QCOMPARE(button.ResHandle(), 0u);
    }

    // A theme without a button bitmap still gives a button with its caption.
    void missingSkinStillPaints() {
        TsuiThemeFileWriter writer;
        writer.addInteger(QStringLiteral("ControlBorderColor"), 0x0000FF);
        TsuiFileTheme theme;
        theme.setThemeFile(WriteThemeFile(dir_, QStringLiteral("bare.theme"), writer));
        Host host(TsuiUIStyle::FromThemeFile);
        host.button->setFileTheme(&theme);
        host.button->setUIStyle(TsuiUIStyle::FromThemeFile);
        const QImage image = host.grab();
        // Not transparent, so the parent's colour is the fill, and the caption is drawn.
        QCOMPARE(Opaque(image.pixel(0, 0)), kParent);
        QVERIFY(DarkPixels(image, QRect(0, 0, 80, 27)) > 10);
    }

    // ---- Behaviour -------------------------------------------------------------------

    void hoverAndClick() {
        Host host(TsuiUIStyle::MacOS);
        TsuiButton& button = *host.button;
        QSignalSpy entered(&button, &TsuiCustomButton::OnMouseEnter);
        QSignalSpy left(&button, &TsuiCustomButton::OnMouseExit);
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        host.parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.parent));

        QTest::mouseMove(&button, QPoint(10, 10));
        QTRY_COMPARE(entered.count(), 1);
        QVERIFY(button.isHovered());
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicked.count(), 1);
        QVERIFY(button.hasFocus()); // a click takes the focus
        QTest::mouseMove(&host.parent, QPoint(2, 2));
        QTRY_COMPARE(left.count(), 1);
        QVERIFY(!button.isHovered());

        // Released outside: no click.
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(button.isDown());
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(150, 10));
        QCOMPARE(clicked.count(), 1);
        QVERIFY(!button.isDown());

        // Nothing happens on a disabled button.
        button.setEnabled(false);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicked.count(), 1);
    }

    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void keys() {
        QFETCH(int, key);
        Host host(TsuiUIStyle::WinXP);
        TsuiButton& button = *host.button;
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        host.parent.show();
        host.parent.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&host.parent));
        button.setFocus();
        const Qt::KeyboardModifiers mods =
            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyPress(&button, Qt::Key(key), mods);
        QVERIFY(button.isDown());
        QCOMPARE(clicked.count(), 0);
        QTest::keyRelease(&button, Qt::Key(key), mods);
        QVERIFY(!button.isDown());
        QCOMPARE(clicked.count(), 1);
    }

    void accelerator() {
        Host host(TsuiUIStyle::MacOS);
        host.button->setCaption(QStringLiteral("&Go"));
        auto* other = new QLineEdit(&host.parent);
        QSignalSpy clicked(host.button, &QAbstractButton::clicked);
        host.parent.show();
        host.parent.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&host.parent));
        other->setFocus();
        QTest::keyClick(&host.parent, Qt::Key_G, Qt::AltModifier);
        QCOMPARE(clicked.count(), 1);
        QVERIFY(host.button->hasFocus());
        // The accessible name is the caption without its marker; the role a push button.
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(host.button);
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::Button);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Go"));
    }

    void defaultAndCancel() {
        QWidget window;
        window.resize(300, 100);
        auto* edit = new QLineEdit(&window);
        auto* ok = new TsuiButton(&window);
        ok->move(0, 40);
        ok->setDefault_(true);
        auto* cancel = new TsuiButton(&window);
        cancel->move(100, 40);
        cancel->setCancel(true);
        QSignalSpy okClicked(ok, &QAbstractButton::clicked);
        QSignalSpy cancelClicked(cancel, &QAbstractButton::clicked);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();

        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(okClicked.count(), 1);
        QCOMPARE(cancelClicked.count(), 0);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(cancelClicked.count(), 1);
        // With a modifier, or with the default turned off, Enter is left alone.
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(edit, Qt::Key_Escape, Qt::ControlModifier);
        ok->setDefault_(false);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(okClicked.count(), 1);
        QCOMPARE(cancelClicked.count(), 1);
        // A disabled Cancel button does not answer.
        cancel->setEnabled(false);
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(cancelClicked.count(), 1);
    }

    void modalResult() {
        QDialog dialog;
        auto* closes = new TsuiButton(&dialog);
        closes->setModalResult(1);
        auto* stays = new TsuiButton(&dialog);
        stays->move(100, 0);
        int handled = 0;
        connect(closes, &QAbstractButton::clicked, &dialog, [&] {
            ++handled;
            QVERIFY(dialog.isVisible()); // the click's handlers run before the dialog ends
        });
        dialog.setResult(5);
        QTimer::singleShot(0, &dialog, [&] {
            QTest::mouseClick(stays, Qt::LeftButton);
            QCOMPARE(dialog.result(), 0); // 0 is handed on too, and does not close
            QVERIFY(dialog.isVisible());
            QTest::mouseClick(closes, Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), 1);
        QCOMPARE(handled, 1);
    }

    void continuousPress() {
        Host host(TsuiUIStyle::MacOS);
        TsuiButton& button = *host.button;
        button.setMouseContinuouslyDownInterval(20);
        QSignalSpy ticks(&button, &TsuiCustomButton::OnMouseContinuouslyDown);
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        host.parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.parent));

        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(ticks.count(), 0); // the first tick comes one interval after the press
        QTRY_VERIFY(ticks.count() >= 3);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicked.count(), 1);
        QVERIFY(!button.isContinuouslyDown());
        const int afterClick = ticks.count();
        QTest::qWait(80);
        QCOMPARE(ticks.count(), afterClick);

        // Moving out of the button stops the ticks, even with the mouse button held.
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(button.isContinuouslyDown());
        QMouseEvent out(QEvent::MouseMove, QPointF(120, 10), button.mapToGlobal(QPointF(120, 10)),
                        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&button, &out);
        QVERIFY(!button.isContinuouslyDown());
        QVERIFY(!button.isDown());
        QVERIFY(!button.isHovered());
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(120, 10));
        QCOMPARE(clicked.count(), 1);
    }
};

QTEST_MAIN(TestButton)
#include "tst_button.moc"
