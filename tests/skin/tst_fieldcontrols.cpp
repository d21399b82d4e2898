// The edit box, combo box, group box and link label: their geometry rules from tables,
// their pixels at the rule points in every look, and their behaviour through Qt's events.
#include <QAbstractItemView>
#include <QAccessible>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

#include "../lib/bitmapface.h"
#include "../lib/builtinlooks.h"
#include "controls/comboboxface.h"
#include "controls/editface.h"
#include "controls/groupboxface.h"
#include "controls/tsuicombobox.h"
#include "controls/tsuiedit.h"
#include "controls/tsuigroupbox.h"
#include "controls/tsuiurllabel.h"
#include "look/skinlook.h"

namespace {

// Colours no look uses, so that a pixel of them can only come from where they were set.
const QColor kFill(0x12, 0x9A, 0x56);
const QColor kArrow(0xC8, 0x21, 0x7E);
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kWhite(0xFF, 0xFF, 0xFF);

QColor At(const QImage& image, QPoint p) {
    return QColor(image.pixel(p));
}

QString Describe(const QColor& c) {
    return c.name();
}

// A named pixel check.
struct Probe {
    const char* what;
    QPoint at;
    QColor expected;
};

// Every probe is checked, and the failure lists each wrong one.
void CheckProbes(const QImage& image, const QList<Probe>& probes) {
    QStringList wrong;
    for (const Probe& p : probes) {
        const QColor got = At(image, p.at);
        if (got != p.expected)
            wrong << QStringLiteral("%1 at (%2,%3): got %4, expected %5")
                         .arg(QLatin1String(p.what))
                         .arg(p.at.x())
                         .arg(p.at.y())
                         .arg(Describe(got), Describe(p.expected));
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
}

// Whether some pixel of the area is within `tolerance` of the colour in every channel
// (for text, which is drawn with the font's own rendering).
bool HasColorNear(const QImage& image, const QRect& area, const QColor& color, int tolerance) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = At(image, QPoint(x, y));
            if (std::abs(c.red() - color.red()) <= tolerance &&
                std::abs(c.green() - color.green()) <= tolerance &&
                std::abs(c.blue() - color.blue()) <= tolerance)
                return true;
        }
    }
    return false;
}

bool HasColor(const QImage& image, const QColor& color) {
    return HasColorNear(image, image.rect(), color, 0);
}

QImage Grab(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QFont ElevenPixelFont() {
    QFont font;
    font.setPixelSize(11);
    return font;
}

} // namespace

using Points = QList<QPoint>;

class TestFieldControls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // ------------------------------------------------------------ geometry rules

    void editTextRect_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("text");
        QTest::newRow("page field 80x19") << QSize(80, 19) << QRect(2, 2, 76, 15);
        QTest::newRow("wide") << QSize(200, 30) << QRect(2, 2, 196, 26);
        QTest::newRow("only the rings") << QSize(4, 4) << QRect(2, 2, 0, 0);
    }
    void editTextRect() {
        QFETCH(QSize, size);
        QFETCH(QRect, text);
        QCOMPARE(EditTextRect(size), text);
    }

    // The button sits in the two-pixel margin at the right; the arrow's reference point is
    // at button left + width / 2 - 3 and at half the button's height from the control's top.
    void comboGeometry_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("button");
        QTest::addColumn<Points>("arrow");
        QTest::newRow("page box 77x21")
            << QSize(77, 21) << QRect(59, 2, 16, 17) << Points{{64, 8}, {70, 8}, {67, 11}};
        QTest::newRow("100x24") << QSize(100, 24) << QRect(82, 2, 16, 20)
                                << Points{{87, 10}, {93, 10}, {90, 13}};
        QTest::newRow("odd height 40x22")
            << QSize(40, 22) << QRect(22, 2, 16, 18) << Points{{27, 9}, {33, 9}, {30, 12}};
    }
    void comboGeometry() {
        QFETCH(QSize, size);
        QFETCH(QRect, button);
        QFETCH(Points, arrow);
        QCOMPARE(ComboButtonRect(size), button);
        QCOMPARE(ComboArrowTriangle(button), QPolygon(arrow));
        Points shadow;
        for (const QPoint& p : arrow)
            shadow << p + QPoint(1, 1);
        QCOMPARE(ComboArrowTriangle(button, 1), QPolygon(shadow));
        const QRect text = ComboTextRect(size);
        QCOMPARE(text.topLeft(), QPoint(3, 3));
        QCOMPARE(text.right(), button.left() - 2);
        QCOMPARE(text.bottom(), size.height() - 4);
    }

    void groupBoxPolyline_data() {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("fontHeight");
        QTest::addColumn<int>("captionWidth");
        QTest::addColumn<bool>("hasCaption");
        QTest::addColumn<Points>("line");
        // A new box, an 11-pixel font: the top line at 11 / 2 + 1 = 6.
        QTest::newRow("185x105, caption 50")
            << QRect(0, 0, 185, 105) << 11 << 50 << true
            << Points{{2, 6}, {0, 6}, {0, 104}, {184, 104}, {184, 6}, {56, 6}};
        QTest::newRow("no caption closes the frame")
            << QRect(0, 0, 185, 105) << 11 << 0 << false
            << Points{{2, 6}, {0, 6}, {0, 104}, {184, 104}, {184, 6}, {0, 6}};
        QTest::newRow("negative font height is a pixel height")
            << QRect(0, 0, 100, 50) << -11 << 20 << true
            << Points{{2, 6}, {0, 6}, {0, 49}, {99, 49}, {99, 6}, {26, 6}};
        QTest::newRow("13-pixel font, moved rect")
            << QRect(10, 20, 60, 40) << 13 << 7 << true
            << Points{{12, 27}, {10, 27}, {10, 59}, {69, 59}, {69, 27}, {23, 27}};
    }
    void groupBoxPolyline() {
        QFETCH(QRect, rect);
        QFETCH(int, fontHeight);
        QFETCH(int, captionWidth);
        QFETCH(bool, hasCaption);
        QFETCH(Points, line);
        QCOMPARE(GroupBoxPolyline(rect, fontHeight, captionWidth, hasCaption), QPolygon(line));
    }

    void groupBoxChildRect_data() {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("fontHeight");
        QTest::addColumn<QRect>("inside");
        // (Left + 3, Top + 11 + 5, Right - 3, Bottom - 3) with Right, Bottom one past the box.
        QTest::newRow("new box") << QRect(0, 0, 185, 105) << 11 << QRect(3, 16, 179, 86);
        QTest::newRow("13-pixel font") << QRect(0, 0, 185, 105) << -13 << QRect(3, 18, 179, 84);
        QTest::newRow("too small for anything") << QRect(0, 0, 5, 10) << 11 << QRect(3, 16, 0, 0);
    }
    void groupBoxChildRect() {
        QFETCH(QRect, rect);
        QFETCH(int, fontHeight);
        QFETCH(QRect, inside);
        QCOMPARE(GroupBoxChildRect(rect, fontHeight), inside);
    }

    void urlTarget_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QUrl>("target");
        QTest::newRow("as given") << QStringLiteral("https://www.example.com/a")
                                  << QUrl(QStringLiteral("https://www.example.com/a"));
        QTest::newRow("blanks and control characters around")
            << QStringLiteral(" \t\x01https://www.example.com/a b\r\n ")
            << QUrl(QStringLiteral("https://www.example.com/a b"));
        QTest::newRow("bare host")
            << QStringLiteral("www.example.com") << QUrl(QStringLiteral("http://www.example.com"));
        QTest::newRow("blank") << QStringLiteral(" \t\n ") << QUrl();
        QTest::newRow("empty") << QString() << QUrl();
    }
    void urlTarget() {
        QFETCH(QString, url);
        QFETCH(QUrl, target);
        QCOMPARE(TsuiURLLabel::Target(url), target);
    }

    // ------------------------------------------------------------ pixels in every look

    void looks_data() { zd7240::test::AddLookRows("look"); }

    // The outer ring in the look's control border colour, the inner ring and the text area
    // in the edit's own colour; a hand-set BorderColor lasts until the next UIStyle.
    void editRings_data() { looks_data(); }
    void editRings() {
        QFETCH(TsuiUIStyle, look);
        const QColor border = SkinLook::Resolve(nullptr, look).color(SkinColor::ControlBorder);
        TsuiEdit edit;
        edit.resize(80, 19);
        edit.setUIStyle(look);
        edit.setColor(kFill);
        QCOMPARE(edit.BorderColor(), border);
        CheckProbes(Grab(edit), {
                                    {"outer ring, top left", {0, 0}, border},
                                    {"outer ring, bottom right", {79, 18}, border},
                                    {"outer ring, left middle", {0, 9}, border},
                                    {"inner ring, top left", {1, 1}, kFill},
                                    {"inner ring, right", {78, 9}, kFill},
                                    {"inner ring, bottom", {40, 17}, kFill},
                                    {"text area corner", {2, 2}, kFill},
                                    {"text area", {70, 9}, kFill},
                                });

        edit.setBorderColor(kArrow);
        QCOMPARE(At(Grab(edit), QPoint(0, 0)), kArrow);
        edit.setUIStyle(look);
        QCOMPARE(edit.BorderColor(), border);
    }

    // Flat frame, the button from the look's picture (MacOS, WinXP) or a fill in the look's
    // form colour with the separator, and the arrow everywhere but on WinXP's picture.
    void comboFace_data() { looks_data(); }
    void comboFace() {
        QFETCH(TsuiUIStyle, look);
        const SkinLook skin = SkinLook::Resolve(nullptr, look);
        const QColor border = skin.color(SkinColor::ControlBorder);
        TsuiComboBox combo;
        combo.resize(77, 21);
        combo.addItems({QStringLiteral("Optic"), QStringLiteral("Ima")});
        combo.setUIStyle(look);
        QCOMPARE(combo.ArrowColor(), QColor(Qt::black));
        QCOMPARE(combo.ButtonColor(), skin.color(SkinColor::FormBackground));
        combo.setColor(kFill);
        combo.setArrowColor(kArrow);
        const QRect button = ComboButtonRect(combo.size());
        const QPolygon arrow = ComboArrowTriangle(button);
        const QPoint a = arrow[0];
        const QImage image = Grab(combo);

        CheckProbes(image, {
                               {"outer ring", {0, 0}, border},
                               {"outer ring", {76, 20}, border},
                               {"inner ring", {1, 1}, kFill},
                               {"inner ring under the button", {60, 19}, kFill},
                               {"item area", {40, 4}, kFill},
                           });

        if (look == TsuiUIStyle::MacOS || look == TsuiUIStyle::WinXP) {
            const QImage picture =
                (look == TsuiUIStyle::MacOS
                     ? SkinLook::picture<SkinPicture::MacOSComboBoxButton>().whole()
                     : SkinLook::picture<SkinPicture::WinXPComboBoxButton>().whole())
                    .convertToFormat(QImage::Format_RGB32);
            // The picture's top row lands on the button's top row unscaled in width.
            for (int x = 0; x < button.width(); ++x) {
                QCOMPARE(At(image, button.topLeft() + QPoint(x, 0)), QColor(picture.pixel(x, 0)));
            }
        } else {
            CheckProbes(image,
                        {
                            {"button fill", button.bottomRight(), combo.ButtonColor()},
                            {"button fill", button.topLeft() + QPoint(1, 0), combo.ButtonColor()},
                            {"separator above the button", {button.left(), 1}, border},
                            {"separator below the button", {button.left(), 19}, border},
                            {"separator", {button.left(), 10}, border},
                        });
        }

        if (look == TsuiUIStyle::WinXP) {
            QVERIFY2(!HasColor(image, kArrow), "WinXP's picture has its own arrow");
        } else {
            CheckProbes(image, {
                                   {"arrow corner", a, kArrow},
                                   {"arrow corner", a + QPoint(6, 0), kArrow},
                                   {"arrow tip", a + QPoint(3, 3), kArrow},
                                   {"arrow inside", a + QPoint(3, 1), kArrow},
                               });
            QVERIFY(At(image, a + QPoint(3, 4)) != kArrow);
            QVERIFY(At(image, a + QPoint(-1, 0)) != kArrow);
            QVERIFY(At(image, a + QPoint(7, 0)) != kArrow);
            QVERIFY(At(image, a + QPoint(0, 1)) != kArrow);

            // Disabled: a white triangle one pixel right and down, the grey one over it.
            combo.setEnabled(false);
            CheckProbes(Grab(combo), {
                                         {"grey corner", a, kGrey},
                                         {"grey tip", a + QPoint(3, 3), kGrey},
                                         {"grey over white", a + QPoint(1, 1), kGrey},
                                         {"white corner", a + QPoint(7, 1), kWhite},
                                         {"white tip", a + QPoint(4, 4), kWhite},
                                     });
        }
    }

    // The frame line with its caption gap (or closed without a caption), the fill in the
    // box's Color, and the caption in the look's control font colour, grey when disabled.
    void groupBoxFace_data() { looks_data(); }
    void groupBoxFace() {
        QFETCH(TsuiUIStyle, look);
        const SkinLook skin = SkinLook::Resolve(nullptr, look);
        const QColor border = skin.color(SkinColor::ControlBorder);
        TsuiGroupBox box;
        box.setFont(ElevenPixelFont());
        box.setUIStyle(look);
        box.setColor(kFill);
        box.setTitle(QStringLiteral("Mmx card"));
        QCOMPARE(box.size(), QSize(185, 105));
        QCOMPARE(box.BorderColor(), border);
        const int captionWidth = QFontMetrics(box.font()).horizontalAdvance(box.title());
        const int gapEnd = 6 + captionWidth; // the last point, left out
        QImage image = Grab(box);
        CheckProbes(image, {
                               {"top line start", {2, 6}, border},
                               {"top left corner", {0, 6}, border},
                               {"left side", {0, 50}, border},
                               {"bottom left", {0, 104}, border},
                               {"bottom right", {184, 104}, border},
                               {"top right", {184, 6}, border},
                               {"top line after the gap", {gapEnd + 1, 6}, border},
                               {"gap before the caption", {3, 6}, kFill},
                               {"gap end, left out", {gapEnd, 6}, kFill},
                               {"above the line", {100, 5}, kFill},
                               {"inside", {100, 50}, kFill},
                           });
        const QRect caption(5, 0, captionWidth, QFontMetrics(box.font()).height());
        QVERIFY(HasColorNear(image, caption, skin.color(SkinColor::ControlFont), 48));

        box.setEnabled(false);
        image = Grab(box);
        QVERIFY(HasColorNear(image, caption, kGrey, 24));
        if (skin.color(SkinColor::ControlFont) != kGrey)
            QVERIFY(!HasColorNear(image, caption, skin.color(SkinColor::ControlFont), 24));

        box.setTitle(QString());
        CheckProbes(Grab(box), {
                                   {"closed top line", {3, 6}, border},
                                   {"closed top line", {1, 6}, border},
                                   {"closed top line", {gapEnd, 6}, border},
                               });
    }

    // A transparent box shows what its parent paints beneath it, not its own Color.
    void groupBoxTransparent() {
        QWidget parent;
        parent.resize(200, 120);
        parent.setAutoFillBackground(true);
        QPalette p = parent.palette();
        p.setColor(QPalette::Window, kArrow);
        parent.setPalette(p);
        auto* box = new TsuiGroupBox(&parent);
        box->move(5, 5);
        box->setColor(kFill);
        QCOMPARE(At(Grab(*box), QPoint(50, 50)), kFill);
        box->setTransparent(true);
        const QImage image = Grab(*box);
        QCOMPARE(At(image, QPoint(50, 50)), kArrow);
        QCOMPARE(At(image, QPoint(0, 50)), box->BorderColor());
    }

    // ------------------------------------------------------------ behaviour

    // Typing, selection, undo and input methods are QLineEdit's; read-only refuses typing.
    void editEditing() {
        TsuiEdit edit;
        edit.resize(80, 19);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        edit.setFocus();
        QTest::keyClicks(&edit, QStringLiteral("1234"));
        QCOMPARE(edit.text(), QStringLiteral("1234"));
        QTest::keyClick(&edit, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(&edit, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(edit.selectedText(), QStringLiteral("34"));
        QTest::keyClicks(&edit, QStringLiteral("9"));
        QCOMPARE(edit.text(), QStringLiteral("129"));
        QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit.text(), QStringLiteral("1234"));
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit.selectedText(), QStringLiteral("1234"));

        QInputMethodEvent composed(QString(), {});
        composed.setCommitString(QStringLiteral("56"));
        QCoreApplication::sendEvent(&edit, &composed);
        QCOMPARE(edit.text(), QStringLiteral("56"));

        edit.setReadOnly(true);
        QTest::keyClicks(&edit, QStringLiteral("7"));
        QCOMPARE(edit.text(), QStringLiteral("56"));
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit.selectedText(), QStringLiteral("56"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QVERIFY(menu && !menu->actions().isEmpty());
    }

    // The drop-down list keeps QComboBox's keyboard and wheel; while it is open it has a
    // BorderColor frame, and the list window is hidden again when it closes.
    void comboBehaviour() {
        QWidget window;
        window.resize(200, 100);
        auto* combo = new TsuiComboBox(&window);
        combo->setGeometry(10, 10, 77, 21);
        combo->addItems({QStringLiteral("Optic"), QStringLiteral("Ima")});
        combo->setUIStyle(TsuiUIStyle::MacOS);
        combo->setBorderColor(kArrow);
        QSignalSpy changes(combo, &QComboBox::currentIndexChanged);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        combo->setFocus();

        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentIndex(), 1);
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(combo->currentIndex(), 0);
        QTest::keyClick(combo, Qt::Key_End);
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(changes.count(), 3);

        QWheelEvent wheel(QPointF(20, 10), combo->mapToGlobal(QPointF(20, 10)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(combo, &wheel);
        QCOMPARE(combo->currentIndex(), 0);

        combo->showPopup();
        QWidget* list = combo->view()->window();
        QTRY_VERIFY(list->isVisible());
        const QImage framed = Grab(*list);
        const QRect edge = framed.rect();
        CheckProbes(framed, {
                                {"list frame, top left", edge.topLeft(), kArrow},
                                {"list frame, top right", edge.topRight(), kArrow},
                                {"list frame, bottom left", edge.bottomLeft(), kArrow},
                                {"list frame, bottom right", edge.bottomRight(), kArrow},
                                {"list frame, left middle", {0, edge.height() / 2}, kArrow},
                            });
        QVERIFY(At(framed, QPoint(edge.width() / 2, edge.height() / 2)) != kArrow);
        combo->hidePopup();
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(combo->currentIndex(), 0);
    }

    // Accessibility tools see the controls as what they are.
    void accessibleRoles() {
        QWidget window;
        auto* edit = new TsuiEdit(&window);
        auto* combo = new TsuiComboBox(&window);
        auto* box = new TsuiGroupBox(&window);
        box->setTitle(QStringLiteral("Lan card"));
        QCOMPARE(QAccessible::queryAccessibleInterface(edit)->role(), QAccessible::EditableText);
        QCOMPARE(QAccessible::queryAccessibleInterface(combo)->role(), QAccessible::ComboBox);
        QAccessibleInterface* group = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(group->role(), QAccessible::Grouping);
        QCOMPARE(group->text(QAccessible::Name), QStringLiteral("Lan card"));
    }

    // Enabling or disabling the box sets every direct child alike, also one that was
    // disabled on its own; grandchildren follow their parent.
    void groupBoxEnabledReachesEveryChild() {
        QWidget window;
        auto* box = new TsuiGroupBox(&window);
        auto* edit = new TsuiEdit(box);
        auto* combo = new TsuiComboBox(box);
        auto* inner = new TsuiGroupBox(box);
        auto* nested = new TsuiEdit(inner);
        const QList<QWidget*> all = {edit, combo, inner, nested};
        // Which of them are enabled, named by class and place, so a failure names each one.
        const auto enabled = [&all] {
            QStringList names;
            for (qsizetype i = 0; i < all.size(); ++i) {
                if (all[i]->isEnabled())
                    names << QStringLiteral("%1 %2").arg(all[i]->metaObject()->className()).arg(i);
            }
            return names;
        };
        combo->setEnabled(false);

        box->setEnabled(false);
        QCOMPARE(enabled(), QStringList());
        QVERIFY(!edit->isEnabledTo(box)); // the child itself is disabled, not only its box

        box->setEnabled(true);
        QCOMPARE(enabled(),
                 (QStringList{"TsuiEdit 0", "TsuiComboBox 1", "TsuiGroupBox 2", "TsuiEdit 3"}));

        // A window disabled and enabled again around the box leaves a child's own choice.
        edit->setEnabled(false);
        window.setEnabled(false);
        QVERIFY(!combo->isEnabled());
        window.setEnabled(true);
        QVERIFY(box->isEnabled());
        QVERIFY(!edit->isEnabled());
        QVERIFY(combo->isEnabled());
    }

    // With the window's own face the top line is at 11 div 2 + 1 = 6: the height asked
    // for counts, not the 13 of the strike the face draws with.
    void groupBoxLineWithABitmapFace() {
        const std::optional<QFont> face = zd7240::test::WindowBitmapFace();
        if (!face)
            QSKIP("fonts-wine is not installed");
        TsuiGroupBox box;
        box.setFont(*face);
        box.setUIStyle(TsuiUIStyle::MacOS);
        box.setColor(kFill);
        box.setTitle(QStringLiteral("Mmx"));
        const QColor border = box.BorderColor();
        CheckProbes(Grab(box), {
                                   {"top left corner", {0, 6}, border},
                                   {"top line", {100, 6}, border},
                                   {"below the line", {100, 7}, kFill},
                               });
        QCOMPARE(GroupBoxChildRect(box.rect(), 11).top(), 16);
    }

    // A layout in the box places its children in the box's child rectangle, also after the
    // caption and font changed.
    void groupBoxLaysOutInside() {
        TsuiGroupBox box;
        box.setFont(ElevenPixelFont());
        box.setTitle(QStringLiteral("Card type is Optic"));
        auto* layout = new QVBoxLayout(&box);
        layout->setContentsMargins(QMargins()); // the layout's own margins come on top
        auto* child = new QWidget;
        child->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(child);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.resize(185, 105);
        QTRY_COMPARE(child->geometry(), GroupBoxChildRect(box.rect(), 11));

        box.setTitle(QStringLiteral("Card type is Ima"));
        QFont bigger = box.font();
        bigger.setPixelSize(13);
        box.setFont(bigger);
        QTRY_COMPARE(child->geometry(), GroupBoxChildRect(box.rect(), 13));
    }

    // The link: hover colours, hand cursor, a click opens the trimmed URL and is reported;
    // a blank URL opens nothing but is still reported; a press dragged off is no click.
    void urlLabel() {
        TsuiURLLabel label;
        QList<QUrl> opened;
        label.setOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        QSignalSpy clicks(&label, &TsuiURLLabel::clicked);
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(label.font().underline());
        QVERIFY(!label.text().isEmpty());
        QVERIFY(!label.URL().isEmpty());
        QCOMPARE(label.size(), label.sizeHint()); // AutoSize
        const QColor blue(0, 0, 255), red(255, 0, 0);
        QCOMPARE(label.FontLinkColor(), blue);
        QCOMPARE(label.FontHoverColor(), red);
        QCOMPARE(label.palette().color(QPalette::WindowText), blue);

        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(&label, &enter);
        QCOMPARE(label.palette().color(QPalette::WindowText), red);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&label, &leave);
        QCOMPARE(label.palette().color(QPalette::WindowText), blue);

        label.setURL(QStringLiteral("  https://www.example.com/zd7240\t"));
        QTest::mouseClick(&label, Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://www.example.com/zd7240"))});
        QCOMPARE(clicks.count(), 1);

        label.setURL(QStringLiteral(" \t "));
        QTest::mouseClick(&label, Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(clicks.count(), 2);

        label.setURL(QStringLiteral("https://www.example.com/"));
        QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(clicks.count(), 2);

        label.setCaption(QStringLiteral("A much longer caption than before"));
        QCOMPARE(label.size(), label.sizeHint());
        label.setFontLinkColor(kFill);
        QCOMPARE(label.palette().color(QPalette::WindowText), kFill);
    }
};

QTEST_MAIN(TestFieldControls)
#include "tst_fieldcontrols.moc"
