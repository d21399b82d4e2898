// The message window: its layout from the text height, icon and button count, the text it
// copies, and a shown window with its buttons, keys and results.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QScreen>
#include <QtTest>

#include "chrome/messagedialoglayout.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuimessagedialog.h"
#include "chrome/tsuititlebar.h"
#include "controls/tsuibutton.h"
#include "drawing/drawingoperations.h"
#include "look/skinlook.h"

using Rects = QList<QRect>;
using Position = TsuiMessageDialog::WindowPosition;

// Where a placement row expects the message window.
enum class Placed { CentredAt, InScreenCorner, LeftToQt };
Q_DECLARE_METATYPE(Placed)

class TestMessageDialog : public QObject {
    Q_OBJECT

    // Runs `inspect` on the message window once it is shown, then ShowModal's result.
    int showAndInspect(TsuiMessageDialog& dialog, const std::function<void(QDialog&)>& inspect) {
        QTimer::singleShot(0, this, [&] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(window);
            QVERIFY(QTest::qWaitForWindowExposed(window));
            inspect(*window);
            QCoreApplication::processEvents(); // a clicked button ends the window queued
            if (window->isVisible())
                window->close();
        });
        return dialog.ShowModal();
    }

private Q_SLOTS:
    void layout_data() {
        QTest::addColumn<int>("labelHeight");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("labelLeft");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<Rects>("buttonRects");
        QTest::newRow("one line, icon, one button")
            << 13 << true << 1 << 88 << 336 << 169 << Rects{QRect(239, 124, 73, 25)};
        QTest::newRow("no icon still counts its box; two buttons, narrower")
            << 13 << false << 2 << 24 << 272 << 169
            << Rects{QRect(175, 124, 73, 25), QRect(82, 124, 73, 25)};
        QTest::newRow("no icon, three buttons: full width")
            << 13 << false << 3 << 24 << 336 << 169
            << Rects{QRect(239, 124, 73, 25), QRect(146, 124, 73, 25), QRect(53, 124, 73, 25)};
        QTest::newRow("three lines still above the icon")
            << 39 << true << 1 << 88 << 336 << 169 << Rects{QRect(239, 124, 73, 25)};
        QTest::newRow("four lines push the buttons down")
            << 52 << true << 1 << 88 << 336 << 181 << Rects{QRect(239, 136, 73, 25)};
    }
    void layout() {
        QFETCH(int, labelHeight);
        QFETCH(bool, icon);
        QFETCH(int, buttons);
        const MessageDialogLayout l = LayOutMessageDialog(labelHeight, icon, buttons);
        QCOMPARE(l.label.topLeft(), QPoint(l.label.x(), 64));
        QTEST(l.label.x(), "labelLeft");
        QCOMPARE(l.label.width(), 225);
        QCOMPARE(l.label.height(), labelHeight);
        QCOMPARE(l.showImage, icon);
        QCOMPARE(l.image.topLeft(), QPoint(24, 64));
        QTEST(l.width, "width");
        QTEST(l.height, "height");
        QTEST(l.buttons, "buttonRects");
    }

    void clipboardText() {
        const QString rule(27, u'-');
        QCOMPARE(MessageDialogClipboardText(
                     QStringLiteral("Congratulation"),
                     QStringLiteral("The file is ready for you! Please check it!"),
                     {QStringLiteral("OK")}),
                 rule + "\r\nCongratulation\r\n" + rule +
                     "\r\nThe file is ready for you! Please check it!\r\n" + rule + "\r\nOK\r\n" +
                     rule);
        QCOMPARE(MessageDialogClipboardText(QStringLiteral("c"), QStringLiteral("t"),
                                            {QStringLiteral("&Cancel"), QStringLiteral("OK")})
                     .split(QStringLiteral("\r\n"))
                     .at(5),
                 QStringLiteral("&Cancel   OK"));
    }

    // The window laid out 336 x 169 with the layout's 3-pixel border; the look's border
    // then resizes it around the panel: 330 wide plus two borders, and the panel's height
    // plus BW + BW div 2. The buttons keep their places, the rightmost 18 pixels inside
    // the panel.
    void shownWindow_data() {
        QTest::addColumn<TsuiUIStyle>("style");
        QTest::addColumn<QSize>("size");
        QTest::newRow("MacOS") << TsuiUIStyle::MacOS << QSize(332, 169);
        QTest::newRow("WinXP") << TsuiUIStyle::WinXP << QSize(336, 170);
        QTest::newRow("DeepBlue") << TsuiUIStyle::DeepBlue << QSize(332, 169);
        QTest::newRow("Protein") << TsuiUIStyle::Protein << QSize(332, 169);
        QTest::newRow("BlueGlass") << TsuiUIStyle::BlueGlass << QSize(332, 169);
    }
    void shownWindow() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(QSize, size);
        TsuiMessageDialog dialog;
        dialog.setUIStyle(style);
        dialog.setCaption(QStringLiteral("Warning"));
        dialog.setText(QStringLiteral("The input must be integer! Please check it!"));
        dialog.setIconType(TsuiMessageDialog::suiWarning);
        dialog.setButtonCount(2);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        const int result = showAndInspect(dialog, [&](QDialog& window) {
            QCOMPARE(window.objectName(), QStringLiteral("frmMsg"));
            QCOMPARE(window.size(), size);
            QCOMPARE(window.windowTitle(), QStringLiteral("Warning"));
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&window);
            QVERIFY(face);
            QCOMPARE(face->role(), QAccessible::Dialog);
            auto* frame = window.findChild<TsuiForm*>();
            QVERIFY(frame);
            QCOMPARE(frame->UIStyle(), style);
            QCOMPARE(frame->Width(), 330);
            QCOMPARE(frame->TitleBarButtons().Count(), 1);
            QCOMPARE(frame->TitleBarButtons().Items(0)->ButtonType(),
                     TsuiTitleBarBtnType::suiClose);

            const auto buttons = frame->findChildren<TsuiButton*>(Qt::FindDirectChildrenOnly);
            QCOMPARE(buttons.size(), 2);
            TsuiButton* cancel = buttons.at(0);
            TsuiButton* ok = buttons.at(1);
            QCOMPARE(ok->Caption(), QStringLiteral("OK"));
            QCOMPARE(cancel->Caption(), QStringLiteral("Cancel"));
            QCOMPARE(ok->geometry(), QRect(146, 124, 73, 25));
            QCOMPARE(cancel->geometry(), QRect(239, 124, 73, 25));
            QCOMPARE(frame->width() - (cancel->x() + cancel->width()), 18);
            QCOMPARE(ok->UIStyle(), style);
            QTRY_VERIFY(ok->hasFocus());
            QCOMPARE(QAccessible::queryAccessibleInterface(ok)->text(QAccessible::Name),
                     QStringLiteral("OK"));

            // The icon is the warning frame of the message icons, its fuchsia transparent.
            auto* image = window.findChild<QLabel*>(QStringLiteral("Image1"));
            QVERIFY(image && image->isVisible());
            const QImage icon =
                SkinLook::picture<SkinPicture::MessageIcons>().frame(MessageIconFrame::Warning);
            const QImage shown = image->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(shown, MaskedWithKey(icon, kSkinKeyColor));
            QCOMPARE(icon.pixel(0, 0) & 0xFFFFFF, kSkinKeyColor);
            QCOMPARE(qAlpha(shown.pixel(0, 0)), 0);
            auto* label = window.findChild<QLabel*>(QStringLiteral("lbl"));
            QCOMPARE(label->geometry().topLeft(), QPoint(88, 64));

            // C alone copies nothing; Ctrl+Shift+C copies the message.
            QTest::keyClick(ok, Qt::Key_C);
            QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
            QTest::keyClick(ok, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
            const QStringList lines =
                QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
            QCOMPARE(lines.size(), 7);
            QCOMPARE(lines.at(1), QStringLiteral("Warning"));
            QCOMPARE(lines.at(3), QStringLiteral("The input must be integer! Please check it!"));
            QCOMPARE(lines.at(5), QStringLiteral("Cancel   OK"));
            // Escape means nothing here.
            QTest::keyClick(ok, Qt::Key_Escape);
            QVERIFY(window.isVisible());
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QCOMPARE(result, 1);
    }

    // The window's pixels at the points the drawing rules fix, in every look: the title
    // bar's left picture, the border on three sides, the panel's pattern or colour, the
    // icon and the button.
    void paintsTheLook_data() { shownWindow_data(); }
    void paintsTheLook() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(QSize, size);
        TsuiMessageDialog dialog;
        dialog.setUIStyle(style);
        dialog.setIconType(TsuiMessageDialog::suiWarning);
        const std::unique_ptr<QDialog> window = dialog.CreateMessageWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QImage image = window->grab().toImage();
        QCOMPARE(image.size(), size);
        const auto at = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
        const auto rgb = [](QRgb pixel) { return pixel & 0xFFFFFF; };
        const SkinLook look = SkinLook::Resolve(nullptr, style);
        auto* frame = window->findChild<TsuiForm*>();
        const int bw = frame->BorderWidth();
        const int w = size.width();
        const int h = size.height();

        // Row 1 of the title bar's left picture (below the corner outline, above the
        // caption).
        const QImage left = look.strip<SkinImage::TitleBarLeft>().whole();
        QCOMPARE(at(bw + left.width() / 2, 1), rgb(left.pixel(left.width() / 2, 1)));

        const QRgb border = rgb(look.color(SkinColor::FormBorder).rgb());
        QCOMPARE(at(0, h / 2), border);
        QCOMPARE(at(bw - 1, h / 2), border);
        QCOMPARE(at(w - 1, h / 2), border);
        QCOMPARE(at(w / 2, h - 1), border);

        // The panel below the title bar, left of the icon: MacOS and Protein show their
        // 8 x 8 pattern from the panel's corner, the others the look's colour.
        const QPoint panel(10, frame->TitleBar()->height() + 10);
        QRgb expected = rgb(look.color(SkinColor::FormBackground).rgb());
        if (style == TsuiUIStyle::MacOS || style == TsuiUIStyle::Protein) {
            const QImage tile =
                style == TsuiUIStyle::MacOS
                    ? SkinLook::picture<SkinPicture::MacOSFormBackground>().whole()
                    : SkinLook::picture<SkinPicture::ProteinFormBackground>().whole();
            expected = rgb(tile.pixel(panel.x() % 8, panel.y() % 8));
        }
        QCOMPARE(at(bw + panel.x(), panel.y()), expected);

        // The warning sign at its place: its middle, and the panel where its fuchsia was.
        const QImage icon =
            SkinLook::picture<SkinPicture::MessageIcons>().frame(MessageIconFrame::Warning);
        QVERIFY(rgb(icon.pixel(21, 21)) != kSkinKeyColor);
        QCOMPARE(at(bw + 24 + 21, 64 + 21), rgb(icon.pixel(21, 21)));
        QVERIFY(at(bw + 24, 64) != kSkinKeyColor);

        // The button's face where the layout puts it.
        auto* button = frame->findChild<TsuiButton*>();
        const QImage face = button->grab().toImage();
        for (const QPoint p : {QPoint(3, 12), QPoint(36, 3), QPoint(70, 21)})
            QCOMPARE(at(bw + 239 + p.x(), 124 + p.y()), rgb(face.pixel(p)));
    }

    // The dialog's Font is the text's and the buttons'; CaptionFont, colour included, is
    // the title bar's in every look, whatever colour the look gives a caption.
    void fonts_data() {
        QTest::addColumn<TsuiUIStyle>("style");
        QTest::addColumn<QColor>("captionColour");
        QTest::newRow("MacOS, black") << TsuiUIStyle::MacOS << QColor(Qt::black);
        QTest::newRow("MacOS, white") << TsuiUIStyle::MacOS << QColor(Qt::white);
        QTest::newRow("WinXP, black") << TsuiUIStyle::WinXP << QColor(Qt::black);
        QTest::newRow("DeepBlue, red") << TsuiUIStyle::DeepBlue << QColor(Qt::red);
    }
    void fonts() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(QColor, captionColour);
        QFont text(QStringLiteral("MS Sans Serif"));
        text.setPixelSize(11);
        QFont caption(QStringLiteral("Tahoma"));
        caption.setPixelSize(13);
        caption.setBold(true);
        caption.setStyleStrategy(QFont::NoAntialias); // caption pixels in its colour exactly
        TsuiMessageDialog dialog;
        dialog.setUIStyle(style);
        dialog.setCaption(QStringLiteral("Warning"));
        dialog.setFont(text);
        dialog.setCaptionFont(caption);
        dialog.setCaptionFontColor(captionColour);
        dialog.setButtonCount(2);
        const std::unique_ptr<QDialog> window = dialog.CreateMessageWindow();
        auto* frame = window->findChild<TsuiForm*>();
        QVERIFY(frame);
        TsuiTitleBar* bar = frame->TitleBar();
        QCOMPARE(bar->font(), caption);
        QCOMPARE(frame->TitleBarFont(), caption);
        QCOMPARE(bar->FontColor(), captionColour);
        const auto buttons = frame->findChildren<TsuiButton*>();
        QCOMPARE(buttons.size(), 2);
        for (const TsuiButton* button : buttons) {
            QCOMPARE(button->font().family(), text.family());
            QCOMPARE(button->font().pixelSize(), 11);
            QVERIFY(!button->font().bold());
        }
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lbl"))->font(), text);

        // The caption is written in its colour: those pixels appear where it stands.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QRect at(bar->ButtonLayout().captionLeft, 0,
                       bar->fontMetrics().horizontalAdvance(bar->DrawnCaption()), bar->height());
        const auto countCaptionColour = [&] {
            const QImage image = bar->grab().toImage();
            int n = 0;
            for (int y = at.top(); y <= at.bottom(); ++y)
                for (int x = at.left(); x <= at.right(); ++x)
                    n += (image.pixel(x, y) & 0xFFFFFF) == (captionColour.rgb() & 0xFFFFFF);
            return n;
        };
        const int written = countCaptionColour();
        frame->setCaption(QString());
        QVERIFY2(written > countCaptionColour() + 20, qPrintable(QString::number(written)));
    }

    void closingAnswersCancel() {
        TsuiMessageDialog dialog;
        dialog.setButtonCount(1);
        QCOMPARE(showAndInspect(dialog, [](QDialog& window) { window.close(); }), 2);
    }

    // The title bar's close button, clicked with the mouse, ends the window with Cancel
    // even when button 1 answers something else.
    void titleBarCloseAnswersCancel() {
        TsuiMessageDialog dialog;
        dialog.setButtonCount(1);
        dialog.setProperty("Button1ModalResult", 6);
        const int result = showAndInspect(dialog, [](QDialog& window) {
            auto* frame = window.findChild<TsuiForm*>();
            QVERIFY(frame);
            TsuiTitleBar* bar = frame->TitleBar();
            QCOMPARE(bar->Buttons().Items(0)->ButtonType(), TsuiTitleBarBtnType::suiClose);
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->ButtonLayout().rects[0].center());
            QTRY_VERIFY(!window.isVisible());
        });
        QCOMPARE(result, 2);
    }

    // The window's place for a few Position values. A plain window, the application's
    // only one and so its main window, stands at a known place on the (offscreen) screen;
    // the dialog is owned by it or by nothing.
    void placement_data() {
        QTest::addColumn<Position>("position");
        QTest::addColumn<bool>("owned");
        QTest::addColumn<QRect>("windowAt");
        QTest::addColumn<Placed>("placed");
        QTest::addColumn<QPoint>("centre");
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen->availableGeometry();
        const QRect window(area.topLeft() + QPoint(40, 30), QSize(400, 300));
        const QRect inCorner(area.bottomRight() - QPoint(100, 50), QSize(400, 300));
        QTest::newRow("screen centre, the owner elsewhere")
            << TsuiMessageDialog::poScreenCenter << true << window << Placed::CentredAt
            << area.center();
        QTest::newRow("desktop centre")
            << TsuiMessageDialog::poDesktopCenter << true << window << Placed::CentredAt
            << screen->availableVirtualGeometry().center();
        QTest::newRow("owner centre") << TsuiMessageDialog::poOwnerFormCenter << true << window
                                      << Placed::CentredAt << window.center();
        QTest::newRow("owner centre kept on the screen")
            << TsuiMessageDialog::poOwnerFormCenter << true << inCorner << Placed::InScreenCorner
            << QPoint();
        QTest::newRow("owner centre without an owner: screen centre")
            << TsuiMessageDialog::poOwnerFormCenter << false << window << Placed::CentredAt
            << area.center();
        QTest::newRow("main window centre, the main window not the owner")
            << TsuiMessageDialog::poMainFormCenter << false << window << Placed::CentredAt
            << window.center();
        QTest::newRow("designed: left to Qt")
            << TsuiMessageDialog::poDesigned << true << window << Placed::LeftToQt << QPoint();
        QTest::newRow("default: left to Qt")
            << TsuiMessageDialog::poDefault << true << window << Placed::LeftToQt << QPoint();
    }
    void placement() {
        QFETCH(Position, position);
        QFETCH(bool, owned);
        QFETCH(QRect, windowAt);
        QFETCH(Placed, placed);
        QFETCH(QPoint, centre);
        QWidget window;
        window.setGeometry(windowAt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.frameGeometry().center(), windowAt.center());
        TsuiMessageDialog dialog(owned ? &window : nullptr);
        QCOMPARE(dialog.Position(), TsuiMessageDialog::poScreenCenter);
        dialog.setProperty("Position", QVariant::fromValue(position));
        QCOMPARE(dialog.Position(), position);
        dialog.setIconType(TsuiMessageDialog::suiWarning);
        const std::unique_ptr<QDialog> message = dialog.CreateMessageWindow();
        const QRect at = message->frameGeometry();
        switch (placed) {
        case Placed::CentredAt:
            QVERIFY(message->testAttribute(Qt::WA_Moved));
            QCOMPARE(at.center(), centre);
            break;
        case Placed::InScreenCorner:
            QCOMPARE(at.bottomRight(),
                     QGuiApplication::primaryScreen()->availableGeometry().bottomRight());
            break;
        case Placed::LeftToQt:
            QVERIFY(!message->testAttribute(Qt::WA_Moved));
            break;
        }
    }

    // Every button carries ButtonCursor, the pointing hand unless set.
    void buttonCursor() {
        TsuiMessageDialog dialog;
        QCOMPARE(dialog.ButtonCursor(), Qt::PointingHandCursor);
        dialog.setProperty("ButtonCursor", QVariant::fromValue(Qt::CrossCursor));
        dialog.setButtonCount(3);
        const std::unique_ptr<QDialog> window = dialog.CreateMessageWindow();
        const auto buttons = window->findChildren<TsuiButton*>();
        QCOMPARE(buttons.size(), 3);
        for (const TsuiButton* button : buttons)
            QCOMPARE(button->cursor().shape(), Qt::CrossCursor);
    }

    void withoutIcon() {
        TsuiMessageDialog dialog;
        dialog.setIconType(TsuiMessageDialog::suiNone);
        dialog.setButtonCount(1);
        showAndInspect(dialog, [](QDialog& window) {
            auto* image = window.findChild<QLabel*>(QStringLiteral("Image1"));
            QVERIFY(image && !image->isVisible());
            QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lbl"))->x(), 24);
            QCOMPARE(window.findChild<TsuiButton*>()->x(), 272 - 97);
        });
    }
};

QTEST_MAIN(TestMessageDialog)
#include "tst_messagedialog.moc"
