// The skinned window frame and its title bar at work, offscreen: placement and sizes,
// the refusals, the buttons, the system menu, dragging, double clicks, the resize band,
// activation, the window shape, a theme without title pictures and a theme file loaded
// again.
//
// Mouse events go to the window, as a real pointer's do, not straight to the widget: the
// frame's controller takes the caption, the band and double clicks there, before any
// widget sees them.
#define QTEST_QPA_MOUSE_HANDLING
#include <QAbstractButton>
#include <QCursor>
#include <QMenu>
#include <QtTest>
#include <memory>

#include "../lib/builtinlooks.h"
#include "../lib/themefile.h"
#include "chrome/refusalreport.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuititlebar.h"
#include "chrome/tsuititlebarpopupmenu.h"
#include "drawing/skinbitmaps.h"
#include "look/skinlook.h"
#include "look/systemcolors.h"
#include "theme/tsuifiletheme.h"
#include "theme/tsuithemefilewriter.h"

using zd7240::test::WriteThemeFile;

namespace {

// A host window with a frame, laid out like the main window (536 x 575, no border)
// unless told otherwise.
struct Framed {
    explicit Framed(TsuiUIStyle style = TsuiUIStyle::MacOS, const char* borderStyle = "bsNone",
                    QSize size = QSize(536, 575)) {
        host = std::make_unique<QWidget>();
        host->setProperty("BorderStyle", QString::fromLatin1(borderStyle));
        host->setWindowTitle(QStringLiteral("Velmar Zd7240 Helper  V2.1"));
        host->resize(size);
        frame = new TsuiForm(host.get());
        frame->setUIStyle(style);
        bar = frame->TitleBar();
    }
    bool show() {
        host->move(100, 100);
        host->show();
        return QTest::qWaitForWindowExposed(host.get());
    }
    // The centre of the title-bar button at `index`, in bar coordinates.
    QPoint buttonCentre(int index) const { return bar->ButtonLayout().rects[index].center(); }

    std::unique_ptr<QWidget> host;
    TsuiForm* frame;
    TsuiTitleBar* bar;
};

QStringList AccessibleNames(const TsuiTitleBar* bar) {
    QStringList names;
    for (const QAbstractButton* button : bar->findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(const_cast<TsuiTitleBar*>(bar)))
            names.append(button->accessibleName());
    }
    names.sort();
    return names;
}

// Whether the rectangle of the image holds a pixel of exactly that colour.
bool HasColour(const QImage& image, const QRect& rect, QColor colour) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                return true;
    return false;
}

QRgb Opaque(QRgb pixel) {
    return pixel | 0xFF000000;
}

} // namespace

class TestWindowChrome : public QObject {
    Q_OBJECT

    QStringList refusals_;

private Q_SLOTS:
    void init() {
        refusals_.clear();
        SetRefusalHandler([this](const QString& text) { refusals_.append(text); });
    }
    void cleanup() { SetRefusalHandler({}); }

    void framePlacementAndSizes() {
        Framed w;
        QVERIFY(w.host->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.host->windowTitle(), QStringLiteral("Velmar Zd7240 Helper  V2.1"));
        QCOMPARE(w.frame->Caption(), w.host->windowTitle());
        QCOMPARE(w.frame->geometry(), QRect(1, 0, 534, 574));
        QCOMPARE(w.bar->geometry(), QRect(0, 0, 534, 23));
        QCOMPARE(w.host->minimumWidth(), 130);
        QCOMPARE(w.frame->Version(), QStringLiteral("4.30"));

        // A wider border: the host grows around the panel's width.
        w.frame->setBorderWidth(3);
        QCOMPARE(w.frame->Width(), 534);
        QCOMPARE(w.host->width(), 540);
        // Height 300 with border 3: host 300 + 3 + 1, panel 301; Width 500: host 506.
        w.frame->setHeight(300);
        QCOMPARE(w.host->height(), 304);
        QCOMPARE(w.frame->Height(), 301);
        w.frame->setWidth(500);
        QCOMPARE(w.host->width(), 506);
        QCOMPARE(w.frame->Width(), 500);

        // Hiding the title bar moves the panel down by the border.
        w.frame->setTitleBarVisible(false);
        QCOMPARE(w.frame->geometry().top(), 3);
        QVERIFY(w.bar->isHidden());
        w.frame->setTitleBarVisible(true);
        QCOMPARE(w.frame->geometry().top(), 0);

        // Writing the caption sets the window title exactly.
        w.frame->setCaption(QStringLiteral("Warning"));
        QCOMPARE(w.host->windowTitle(), QStringLiteral("Warning"));
        QCOMPARE(w.bar->Caption(), QStringLiteral("Warning"));
    }

    void stylesSetTheBar_data() {
        QTest::addColumn<TsuiUIStyle>("style");
        QTest::addColumn<int>("barHeight");
        QTest::addColumn<int>("borderWidth");
        QTest::addColumn<QColor>("captionColour");
        QTest::addColumn<int>("closeX"); // in a 534-pixel bar
        QTest::newRow("MacOS") << TsuiUIStyle::MacOS << 23 << 1 << QColor(Qt::black) << 515;
        QTest::newRow("WinXP") << TsuiUIStyle::WinXP << 29 << 3 << QColor(Qt::white) << 511;
        QTest::newRow("DeepBlue") << TsuiUIStyle::DeepBlue << 32 << 1 << QColor(Qt::white) << 515;
        QTest::newRow("Protein") << TsuiUIStyle::Protein << 23 << 1 << QColor(Qt::white) << 515;
        QTest::newRow("BlueGlass") << TsuiUIStyle::BlueGlass << 33 << 1 << QColor(Qt::white) << 512;
    }
    void stylesSetTheBar() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(int, barHeight);
        QFETCH(int, borderWidth);
        QFETCH(QColor, captionColour);
        QFETCH(int, closeX);
        Framed w(style);
        w.frame->setWidth(534);
        QCOMPARE(w.bar->height(), barHeight);
        QCOMPARE(w.frame->BorderWidth(), borderWidth);
        QCOMPARE(w.bar->FontColor(), captionColour);
        QCOMPARE(w.bar->Sections().Count(), 3);
        QCOMPARE(w.bar->ButtonLayout()
                     .rects[w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiClose)]
                     .x(),
                 closeX);
        // Rounded top corners where the look has them.
        QCOMPARE(!w.host->mask().isEmpty(), w.bar->RoundCorner() > 1);
        if (w.bar->RoundCorner() > 1)
            QVERIFY(!w.host->mask().contains(QPoint(0, 0)));
    }

    // The pixels the drawing rules fix, in every look: border strips, the section
    // pictures, the title buttons in their states, the caption colour (active and
    // inactive) and the panel's pattern or colour.
    // Every title button's hover picture stands apart from its normal one, in every look
    // and at both resolutions: the mean difference over the button's pixels and colour
    // channels is above 8 of 255 (the looks keep 10 to 53; Protein's minimize and
    // maximize buttons once differed by 0.6, which the eye takes for the same picture).
    void titleButtonHoverStandsApart_data() { zd7240::test::AddLookRows(); }
    void titleButtonHoverStandsApart() {
        QFETCH(TsuiUIStyle, style);
        const auto strip = SkinLook::Resolve(nullptr, style).strip<SkinImage::TitleBarButton>();
        const char* names[] = {"control box", "help", "maximize", "restore", "minimize", "close"};
        for (int glyph = 0; glyph < 6; ++glyph) {
            for (const qreal ratio : {1.0, 2.0}) {
                const auto frame = [&](ButtonFrame state) {
                    const QImage image = strip.frame(TitleButtonFrameOf(TitleGlyph(glyph), state));
                    return SkinImageForRatio(image, ratio).convertToFormat(QImage::Format_RGB32);
                };
                const QImage normal = frame(ButtonFrame::Normal);
                const QImage hover = frame(ButtonFrame::Hover);
                QCOMPARE(hover.size(), normal.size());
                double sum = 0;
                for (int y = 0; y < normal.height(); ++y) {
                    for (int x = 0; x < normal.width(); ++x) {
                        const QRgb a = normal.pixel(x, y), b = hover.pixel(x, y);
                        sum += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) +
                               qAbs(qBlue(a) - qBlue(b));
                    }
                }
                const double mean = sum / (3.0 * normal.width() * normal.height());
                QVERIFY2(mean > 8.0, qPrintable(QStringLiteral("%1 at %2x: %3 of 255")
                                                    .arg(QLatin1String(names[glyph]))
                                                    .arg(ratio)
                                                    .arg(mean, 0, 'f', 1)));
            }
        }
    }

    void paintsTheLook_data() { zd7240::test::AddLookRows(); }
    void paintsTheLook() {
        QFETCH(TsuiUIStyle, style);
        Framed w(style);
        QVERIFY(w.show());
        const SkinLook look = SkinLook::Resolve(nullptr, style);
        const int bw = w.frame->BorderWidth();
        const QPoint bar = w.bar->mapTo(w.host.get(), QPoint(0, 0));
        QCOMPARE(bar, QPoint(bw, 0));
        QImage image = w.host->grab().toImage();

        // Border strips in the border colour: left, right, bottom.
        const QRgb border = look.color(SkinColor::FormBorder).rgb();
        const int cw = w.host->width();
        const int ch = w.host->height();
        QCOMPARE(Opaque(image.pixel(0, ch / 2)), border);
        QCOMPARE(Opaque(image.pixel(bw - 1, ch / 2)), border);
        QCOMPARE(Opaque(image.pixel(cw - 1, ch / 2)), border);
        QCOMPARE(Opaque(image.pixel(cw / 2, ch - bw)), border);
        QVERIFY(Opaque(image.pixel(bw, ch / 2)) != border || w.frame->Color().rgb() == border);

        // The left section copied unscaled, the right one at the right end; row 1 is
        // below the rounding outline and above the buttons.
        const QImage left = look.strip<SkinImage::TitleBarLeft>().whole();
        const QImage right = look.strip<SkinImage::TitleBarRight>().whole();
        const int lx = left.width() / 2;
        QCOMPARE(Opaque(image.pixel(bar.x() + lx, 1)), Opaque(left.pixel(lx, 1)));
        const int rx = right.width() / 2;
        QCOMPARE(Opaque(image.pixel(bar.x() + w.bar->width() - right.width() + rx, 1)),
                 Opaque(right.pixel(rx, 1)));
        // The client section stretched between them: its row 1 gives the colours.
        const QImage client = look.strip<SkinImage::TitleBarClient>().whole();
        QList<QRgb> clientRow;
        for (int x = 0; x < client.width(); ++x)
            clientRow.append(Opaque(client.pixel(x, 1)));
        QVERIFY(clientRow.contains(Opaque(image.pixel(bar.x() + w.bar->width() / 2, 1))));

        // The close button in its normal picture, then hovered.
        const int closeIndex = w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiClose);
        const TsuiTitleBarButton* close = w.bar->Buttons().Items(closeIndex);
        const QRect rect = w.bar->ButtonLayout().rects[closeIndex];
        const auto strip = look.strip<SkinImage::TitleBarButton>();
        const QImage normal =
            strip.frame(TitleButtonFrameOf(TitleGlyph::Close, ButtonFrame::Normal));
        const QImage hover = strip.frame(TitleButtonFrameOf(TitleGlyph::Close, ButtonFrame::Hover));
        QCOMPARE(close->PicNormal(), normal);
        QCOMPARE(rect.size(), normal.size());
        QPoint differs(-1, -1);
        for (int y = 0; y < normal.height() && differs.x() < 0; ++y)
            for (int x = 0; x < normal.width() && differs.x() < 0; ++x)
                if (normal.pixel(x, y) != hover.pixel(x, y) &&
                    qAlpha(close->drawn(TsuiTitleBarButton::Normal).pixel(x, y)) == 255 &&
                    qAlpha(close->drawn(TsuiTitleBarButton::MouseOn).pixel(x, y)) == 255)
                    differs = QPoint(x, y);
        QVERIFY2(differs.x() >= 0, "the hover picture differs from the normal one");
        const QPoint probe = bar + rect.topLeft() + differs;
        QCOMPARE(Opaque(image.pixel(probe)), Opaque(normal.pixel(differs)));
        QTest::mouseMove(w.bar, rect.center());
        QTRY_COMPARE(w.bar->HoveredIndex(), closeIndex);
        image = w.host->grab().toImage();
        QCOMPARE(Opaque(image.pixel(probe)), Opaque(hover.pixel(differs)));
        QTest::mouseMove(w.bar, QPoint(w.bar->width() / 2, 1));
        QTRY_COMPARE(w.bar->HoveredIndex(), -1);

        // The caption: black in MacOS, white otherwise; the inactive caption colour when
        // the window is not active.
        const QRect captionBand(bar.x() + w.bar->ButtonLayout().captionLeft, 0, 60,
                                w.bar->height());
        image = w.host->grab().toImage();
        const QColor active = style == TsuiUIStyle::MacOS ? QColor(Qt::black) : QColor(Qt::white);
        QVERIFY(HasColour(image, captionBand, active));
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(w.host.get(), &deactivate);
        image = w.host->grab().toImage();
        QVERIFY(HasColour(image, captionBand, SystemColorValue(SystemColor::InactiveCaption)));
        QVERIFY(!HasColour(image, captionBand, active) || left.pixelColor(0, 1) == active);

        // The panel below the bar: the 8 x 8 pattern in MacOS and Protein, else Color.
        const QPoint inPanel(100, w.bar->height() + 100);
        const QRgb panel = Opaque(image.pixel(bw + inPanel.x(), inPanel.y()));
        if (style == TsuiUIStyle::MacOS || style == TsuiUIStyle::Protein) {
            const QImage tile = (style == TsuiUIStyle::MacOS
                                     ? SkinLook::picture<SkinPicture::MacOSFormBackground>()
                                     : SkinLook::picture<SkinPicture::ProteinFormBackground>())
                                    .whole();
            QCOMPARE(panel, Opaque(tile.pixel(inPanel.x() % 8, inPanel.y() % 8)));
        } else {
            QCOMPARE(panel, look.color(SkinColor::FormBackground).rgb());
        }

        // The maximize button shows restore while the window is maximized.
        const int maxIndex = w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiMax);
        QCOMPARE(w.bar->Buttons().Items(maxIndex)->PicNormal(),
                 strip.frame(TitleButtonFrameOf(TitleGlyph::Maximize, ButtonFrame::Normal)));
        w.bar->RunButtonAction(maxIndex);
        QTRY_VERIFY(w.host->isMaximized());
        QTRY_COMPARE(w.bar->Buttons().Items(maxIndex)->PicNormal(),
                     strip.frame(TitleButtonFrameOf(TitleGlyph::Restore, ButtonFrame::Normal)));
    }

    void customBarKeepsItsSections() {
        Framed w(TsuiUIStyle::MacOS);
        w.frame->setTitleBarCustom(true);
        w.bar->Sections().Items(0)->setWidth(77);
        w.frame->setUIStyle(TsuiUIStyle::WinXP);
        QCOMPARE(w.bar->UIStyle(), TsuiUIStyle::WinXP);
        QCOMPARE(w.bar->Sections().Items(0)->Width(), 77);
        QCOMPARE(w.bar->height(), 23);
    }

    void refusals() {
        Framed w;
        // A second client section.
        TsuiTitleBarSection* extra = w.bar->Sections().Add();
        QVERIFY(!extra->setAlign(suiClient));
        QCOMPARE(extra->Align(), suiLeft);
        // A second control box.
        TsuiTitleBarButton* close =
            w.bar->Buttons().Items(w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiClose));
        QVERIFY(!close->setButtonType(TsuiTitleBarBtnType::suiControlBox));
        QCOMPARE(close->ButtonType(), TsuiTitleBarBtnType::suiClose);
        // The frame as its own panel.
        w.frame->setFormPanel(w.frame);
        QCOMPARE(w.frame->FormPanel(), nullptr);
        QCOMPARE(refusals_,
                 QStringList({QStringLiteral("Sorry, only one section's Align property can be "
                                             "\"suiClient\""),
                              QStringLiteral("Sorry, only one button's ButtonType property can be "
                                             "\"TsuiTitleBarBtnType::suiControlBox\""),
                              QStringLiteral("Sorry, you can't select the Form assign to "
                                             "FormPanel property")}));
        // A second frame on the same window fails with the refusal's words; the first
        // one stays the window's only frame.
        QString refused;
        try {
            new TsuiForm(w.host.get());
        } catch (const std::logic_error& error) {
            refused = QString::fromUtf8(error.what());
        }
        QCOMPARE(refused,
                 QStringLiteral("Sorry, You can create only one TsuiForm component in one form!"));
        QCOMPARE(w.host->findChildren<TsuiForm*>(), QList<TsuiForm*>{w.frame});
    }

    void captionIsShortenedToFit() {
        Framed w;
        w.frame->setCaption(QStringLiteral("Velmar Zd7240 Helper  V2.1"));
        QVERIFY(w.show());
        QCOMPARE(w.bar->DrawnCaption(), QStringLiteral("Velmar Zd7240 Helper  V2.1"));
        w.host->resize(160, 575);
        QTRY_COMPARE(w.bar->width(), 158);
        const QString drawn = w.bar->DrawnCaption();
        QVERIFY2(drawn.endsWith(QStringLiteral("...")) && drawn.size() < 20, qPrintable(drawn));
        const int space = w.bar->ButtonLayout().captionRight - w.bar->ButtonLayout().captionLeft;
        QVERIFY(QFontMetrics(w.bar->font()).horizontalAdvance(drawn) <= space);
    }

    void accessibleButtons() {
        Framed w;
        QVERIFY(w.show());
        QCOMPARE(AccessibleNames(w.bar),
                 QStringList({QStringLiteral("Close"), QStringLiteral("Maximize"),
                              QStringLiteral("Minimize"), QStringLiteral("System menu")}));
        w.bar->RunButtonAction(w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiMax));
        QTRY_VERIFY(w.host->isMaximized());
        QTRY_VERIFY(AccessibleNames(w.bar).contains(QStringLiteral("Restore")));
    }

    void buttonsActOnReleaseInside() {
        Framed w;
        QVERIFY(w.show());
        const QPoint close =
            w.buttonCentre(w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiClose));
        // Pressed on close, released elsewhere: nothing.
        QTest::mousePress(w.bar, Qt::LeftButton, {}, close);
        QCOMPARE(w.bar->HoveredIndex(),
                 w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiClose));
        QTest::mouseRelease(w.bar, Qt::LeftButton, {}, QPoint(200, 10));
        QVERIFY(w.host->isVisible());
        // A click closes.
        QTest::mouseClick(w.bar, Qt::LeftButton, {}, close);
        QVERIFY(!w.host->isVisible());
    }

    // A click on maximize leaves the pointer where it was while the buttons move with the
    // window's new width: the button there shows hover only if the pointer is over it,
    // also after restoring.
    void hoverFollowsThePointerAfterMaximizeAndRestore() {
        Framed w;
        QVERIFY(w.show());
        const int max = w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiMax);
        for (int turn = 0; turn < 2; ++turn) {
            const QPoint at = w.buttonCentre(max);
            QCursor::setPos(w.bar->mapToGlobal(at));
            QTest::mouseClick(w.bar, Qt::LeftButton, {}, at);
            QTRY_VERIFY(w.host->isMaximized() == (turn == 0));
            QTRY_VERIFY(w.bar->ButtonLayout().rects[max].center() != at);
            QCOMPARE(w.bar->HoveredIndex(), -1);
        }
    }

    // A button added to the bar takes its pictures from the bar's look, as the buttons
    // it was made with do.
    void addedButtonTakesTheBarsLook() {
        Framed w;
        w.frame->setUIStyle(TsuiUIStyle::WinXP);
        const TsuiTitleBarButtons& buttons = w.bar->Buttons();
        const TsuiTitleBarButton* max =
            buttons.Items(buttons.IndexOfType(TsuiTitleBarBtnType::suiMax));
        TsuiTitleBarButton* added = w.bar->Buttons().Add();
        added->setButtonType(TsuiTitleBarBtnType::suiMax);
        QVERIFY(!added->PicNormal().isNull());
        QCOMPARE(added->PicNormal(), max->PicNormal());
        QCOMPARE(added->PicMouseDown(), max->PicMouseDown());
        QCOMPARE(added->Top(), max->Top());
    }

    void helpAndCustomButtonsReport() {
        Framed w;
        TsuiTitleBarButton* help = w.bar->Buttons().Add();
        help->setButtonType(TsuiTitleBarBtnType::suiHelp);
        TsuiTitleBarButton* custom = w.bar->Buttons().Add();
        custom->setPicNormal(QImage(15, 15, QImage::Format_RGB32));
        QSignalSpy helpSpy(w.frame, &TsuiForm::OnTitleBarHelpBtnClick);
        QSignalSpy customSpy(w.frame, &TsuiForm::OnTitleBarCustomBtnsClick);
        QVERIFY(w.show());
        QTest::mouseClick(w.bar, Qt::LeftButton, {}, w.buttonCentre(help->Index()));
        QTest::mouseClick(w.bar, Qt::LeftButton, {}, w.buttonCentre(custom->Index()));
        QCOMPARE(helpSpy.count(), 1);
        QCOMPARE(helpSpy.at(0).at(1).toInt(), help->Index());
        QCOMPARE(customSpy.count(), 1);
        QCOMPARE(customSpy.at(0).at(1).toInt(), custom->Index());
        QVERIFY(w.host->isVisible());
    }

    void doubleClicks() {
        Framed w;
        QVERIFY(w.show());
        const QRect normal = w.host->geometry();
        // A blank part maximizes, again restores.
        QTest::mouseDClick(w.bar, Qt::LeftButton, {}, QPoint(250, 10));
        QTRY_VERIFY(w.host->isMaximized());
        QTRY_COMPARE(w.host->geometry(), w.host->screen()->geometry());
        QTest::mouseDClick(w.bar, Qt::LeftButton, {}, QPoint(250, 10));
        QTRY_VERIFY(!w.host->isMaximized());
        QTRY_COMPARE(w.host->geometry(), normal);
        // The control box closes, without opening the system menu.
        QTest::mouseDClick(
            w.bar, Qt::LeftButton, {},
            w.buttonCentre(w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiControlBox)));
        QVERIFY(!w.host->isVisible());
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QVERIFY(!w.bar->SystemMenu()->isVisible());
    }

    void sizeableHostIsFittedToTheWorkArea() {
        Framed w(TsuiUIStyle::MacOS, "bsSizeable", QSize(400, 300));
        QVERIFY(w.frame->MaximizesToWorkArea());
        QVERIFY(w.show());
        w.bar->RunButtonAction(w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiMax));
        QTRY_COMPARE(w.host->geometry(), w.host->screen()->availableGeometry());
    }

    // A new look with a wider border while maximized: the window keeps the size the
    // window system gave it and the frame is placed within it; restored, it has its
    // normal size again.
    void maximizedWindowIsNotResizedByANewLook() {
        Framed w;
        QVERIFY(w.show());
        const QRect normal = w.host->geometry();
        w.bar->RunButtonAction(w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiMax));
        QTRY_VERIFY(w.host->isMaximized());
        QTRY_COMPARE(w.host->geometry(), w.host->screen()->geometry());
        const QRect maximized = w.host->geometry();
        w.frame->setUIStyle(TsuiUIStyle::WinXP); // border 1 to 3
        QCOMPARE(w.frame->BorderWidth(), 3);
        QCoreApplication::processEvents();
        QCOMPARE(w.host->geometry(), maximized);
        QCOMPARE(w.frame->geometry(), QRect(3, 0, maximized.width() - 6, maximized.height() - 3));
        w.bar->RunButtonAction(w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiMax));
        QTRY_VERIFY(!w.host->isMaximized());
        QTRY_COMPARE(w.host->geometry(), normal);
        QCOMPARE(w.frame->width(), normal.width() - 6);
    }

    void draggingTheCaptionMovesTheWindow() {
        Framed w;
        QVERIFY(w.show());
        const QPoint start = w.host->pos();
        QTest::mousePress(w.bar, Qt::LeftButton, {}, QPoint(200, 10));
        // Without a window manager the window follows the pointer by hand.
        QTest::mouseMove(w.bar, QPoint(250, 40));
        QTRY_COMPARE(w.host->pos(), start + QPoint(50, 30));
        // The pointer is over the same spot of the bar as at the press.
        QTest::mouseRelease(w.bar, Qt::LeftButton, {}, QPoint(200, 10));
        QCOMPARE(w.host->pos(), start + QPoint(50, 30));
        QVERIFY(!w.bar->Pressed());
        // A click without movement moves nothing.
        QTest::mouseClick(w.bar, Qt::LeftButton, {}, QPoint(200, 10));
        QCOMPARE(w.host->pos(), start + QPoint(50, 30));
    }

    void resizeBand() {
        Framed sizeable(TsuiUIStyle::MacOS, "bsSizeable", QSize(400, 300));
        QVERIFY(sizeable.show());
        QWindow* window = sizeable.host->windowHandle();
        const QRect before = sizeable.host->geometry();
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(398, 150));
        QTest::mouseMove(window, QPoint(420, 150));
        QTRY_COMPARE(sizeable.host->width(), before.width() + 22);
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(420, 150));
        QCOMPARE(sizeable.host->x(), before.x());
        QCOMPARE(sizeable.frame->Width(), sizeable.host->width() - 2);

        // The main window's layout has no band: the same press drags nothing.
        Framed fixed;
        QVERIFY(fixed.show());
        const QSize size = fixed.host->size();
        QTest::mousePress(fixed.host->windowHandle(), Qt::LeftButton, {}, QPoint(534, 300));
        QTest::mouseMove(fixed.host->windowHandle(), QPoint(560, 300));
        QTest::mouseRelease(fixed.host->windowHandle(), Qt::LeftButton, {}, QPoint(560, 300));
        QCOMPARE(fixed.host->size(), size);
    }

    void systemMenu() {
        Framed w;
        QVERIFY(w.show());
        TsuiTitleBarPopupMenu* menu = w.bar->SystemMenu();
        const auto shownItems = [menu] {
            QStringList texts;
            for (const QAction* action : menu->actions()) {
                if (action->isVisible())
                    texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
            }
            return texts;
        };
        QCOMPARE(shownItems(),
                 QStringList({QStringLiteral("Mi&nimize"), QStringLiteral("Ma&ximize/Restore"),
                              QStringLiteral("-"), QStringLiteral("&Close")}));
        // The "Look" sub-menu only where the window asks for it; its items say what was
        // chosen, the window marks the look it took.
        menu->ShowLookMenu(true);
        QCOMPARE(
            shownItems(),
            QStringList({QStringLiteral("Mi&nimize"), QStringLiteral("Ma&ximize/Restore"),
                         QStringLiteral("Look"), QStringLiteral("-"), QStringLiteral("&Close")}));
        // Drawn as the system menu is.
        QCOMPARE(menu->LookMenu()->style(), menu->style());
        QSignalSpy chosen(menu, &TsuiTitleBarPopupMenu::lookChosen);
        QSignalSpy themeAsked(menu, &TsuiTitleBarPopupMenu::themeFileAsked);
        menu->LookItem(TsuiUIStyle::Protein)->trigger();
        menu->LookItem(TsuiUIStyle::FromThemeFile)->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().value<TsuiUIStyle>(), TsuiUIStyle::Protein);
        QCOMPARE(themeAsked.size(), 1);
        menu->SetLookMark(TsuiUIStyle::WinXP);
        QVERIFY(menu->LookItem(TsuiUIStyle::WinXP)->isChecked());
        QVERIFY(!menu->LookItem(TsuiUIStyle::FromThemeFile)->isChecked());
        menu->ShowLookMenu(false);

        // Alt+Space opens it below the title bar.
        QTest::keyClick(w.host.get(), Qt::Key_Space, Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), QPoint(w.host->x(), w.host->y() + w.bar->height()));
        QVERIFY(menu->MinimizeItem()->isEnabled());
        menu->close();

        // Without a minimize button its item is disabled; a click on the control box
        // opens the menu once no second click can follow.
        w.bar->Buttons().Delete(w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiMin));
        QTest::mouseClick(
            w.bar, Qt::LeftButton, {},
            w.buttonCentre(w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiControlBox)));
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(!menu->MinimizeItem()->isEnabled());
        QVERIFY(menu->MaximizeItem()->isEnabled());
        menu->CloseItem()->trigger();
        QVERIFY(!w.host->isVisible());
    }

    void activationIsTracked() {
        Framed w;
        QVERIFY(w.bar->FormActive());
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(w.host.get(), &deactivate);
        QVERIFY(!w.bar->FormActive());
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(w.host.get(), &activate);
        QVERIFY(w.bar->FormActive());
    }

    void themeWithoutTitlePicturesStaysUsable() {
        // A theme file holding nothing of the title bar: the bar keeps a height, buttons
        // that can be hit and its caption.
        QTemporaryDir dir;
        TsuiThemeFileWriter writer;
        writer.addInteger(QStringLiteral("FormBorderWidthInt"), 100000);
        writer.addInteger(QStringLiteral("TitleBarButtonTopInt"), -500);
        TsuiFileTheme theme;
        theme.setThemeFile(WriteThemeFile(dir, QStringLiteral("bare.theme"), writer));
        QVERIFY(theme.ThemeLoaded());

        Framed w;
        w.frame->setFileTheme(&theme);
        w.frame->setUIStyle(TsuiUIStyle::FromThemeFile);
        QVERIFY(w.bar->height() > 0);
        QVERIFY(w.frame->BorderWidth() < 50);
        QVERIFY(w.frame->Width() > 0);
        const int close = w.bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiClose);
        const QRect rect = w.bar->ButtonLayout().rects[close];
        QVERIFY(!rect.isEmpty());
        QVERIFY(w.bar->rect().contains(rect));
        QVERIFY(w.show());
        QCOMPARE(w.bar->DrawnCaption(), w.frame->Caption());
        // A plain bar with the caption in a colour that stands out, and a visible button.
        const QImage image = w.bar->grab().toImage();
        const QColor fill = image.pixelColor(w.bar->width() / 2, 1);
        QVERIFY(qAbs(fill.lightness() - w.bar->FontColor().lightness()) > 100);
        QVERIFY(HasColour(image, QRect(w.bar->ButtonLayout().captionLeft, 0, 60, w.bar->height()),
                          w.bar->FontColor()));
        QVERIFY(image.pixelColor(rect.center()) != fill);
        QTest::mouseClick(w.bar, Qt::LeftButton, {}, rect.center());
        QVERIFY(!w.host->isVisible());
    }

    // A second file loaded into the window's theme reaches the frame as well as its
    // title bar: the border is drawn in the new file's colour, and the caption keeps the
    // colour its owner gave it, as after any change of theme alone.
    void reloadedThemeReachesTheFrame() {
        QTemporaryDir dir;
        const auto write = [&dir](const char* name, QRgb border) {
            TsuiThemeFileWriter writer;
            writer.addInteger(QStringLiteral("FormBorderColor"),
                              qint32(QColorToTsuiColor(QColor(border))));
            writer.addInteger(QStringLiteral("FormBorderWidthInt"), 2);
            const QString path = dir.filePath(QLatin1String(name));
            QString error;
            if (!writer.writeTo(path, &error))
                qFatal("%s", qPrintable(error));
            return path;
        };
        const QRgb red = qRgb(255, 0, 0);
        const QRgb green = qRgb(0, 255, 0);
        Framed w;
        auto* theme = new TsuiFileTheme(w.host.get());
        theme->setThemeFile(write("red.theme", red));
        w.frame->setLook(TsuiUIStyle::FromThemeFile, theme);
        w.frame->setTitleBarFontColor(Qt::yellow);
        QVERIFY(w.show());
        const auto borderPixels = [&w] {
            const QImage image = w.host->grab().toImage();
            const int cw = w.host->width();
            const int ch = w.host->height();
            return QList<QRgb>{Opaque(image.pixel(0, ch / 2)), Opaque(image.pixel(1, ch / 2)),
                               Opaque(image.pixel(cw - 1, ch / 2)),
                               Opaque(image.pixel(cw / 2, ch - 1))};
        };
        QCOMPARE(borderPixels(), QList<QRgb>(4, red));

        theme->setThemeFile(write("green.theme", green));
        QCOMPARE(w.bar->look().color(SkinColor::FormBorder).rgb(), green);
        QCOMPARE(w.frame->BorderColor().rgb(), green);
        QCOMPARE(borderPixels(), QList<QRgb>(4, green));
        QCOMPARE(w.bar->FontColor(), QColor(Qt::yellow));
    }
};

QTEST_MAIN(TestWindowChrome)
#include "tst_windowchrome.moc"
