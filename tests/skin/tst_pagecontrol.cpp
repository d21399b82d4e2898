// The page control: tab-row geometry from tables, the drawing at its rule points in every
// look, and its behaviour under the mouse and the keyboard.
#include <QLineEdit>
#include <QPainter>
#include <QtTest>

#include <memory>

#include "../lib/builtinlooks.h"
#include "controls/tabrowgeometry.h"
#include "controls/tsuipagecontrol.h"
#include "controls/tsuitabcontroltoppanel.h"
#include "controls/tsuitabsheet.h"
#include "drawing/drawingoperations.h"
#include "look/skinlook.h"

using namespace tabrow;

Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<TabInput>)
Q_DECLARE_METATYPE(TsuiUIStyle)

namespace {

// Tabs 70 pixels wide (a 50-pixel caption), all visible.
std::vector<TabInput> Tabs(int count, int width = 70) {
    return std::vector<TabInput>(static_cast<size_t>(count), TabInput{width, true});
}

// The MacOS row of the main window: 525 wide, 27-pixel tabs, 18-pixel scroll buttons.
TabRowInput MacRow(std::vector<TabInput> tabs, int active, int offset = 0, int width = 525) {
    TabRowInput in;
    in.rowWidth = width;
    in.inactiveHeight = 27;
    in.scrollButtonWidth = 18;
    in.leftMargin = 10;
    in.tabIndex = active;
    in.scrollOffset = offset;
    in.tabs = std::move(tabs);
    return in;
}

QString Describe(const TabRowLayout& layout) {
    QStringList parts;
    for (const PlacedTab& tab : layout.drawn) {
        parts << QStringLiteral("%1:%2,%3,%4%5")
                     .arg(tab.index)
                     .arg(tab.rect.x())
                     .arg(tab.rect.y())
                     .arg(tab.rect.width())
                     .arg(tab.clipped ? QStringLiteral("cut") : QString());
    }
    return parts.join(QLatin1Char(' '));
}

const QColor kBehind(0x20, 0x90, 0x40);

// A page control on a plainly coloured parent, with sheets "s0".. captioned "Page 0"...
struct Fixture {
    explicit Fixture(int sheets, TsuiUIStyle style = TsuiUIStyle::MacOS, QSize size = {525, 513})
        : window(std::make_unique<QWidget>()) {
        window->resize(size);
        QPalette p = window->palette();
        p.setColor(QPalette::Window, kBehind);
        window->setPalette(p);
        window->setAutoFillBackground(true);
        control = new TsuiPageControl(window.get());
        control->setGeometry(QRect(QPoint(0, 0), size));
        control->setUIStyle(style);
        for (int i = 0; i < sheets; ++i)
            AddSheet(QStringLiteral("Page %1").arg(i));
        control->setActivePageIndex(0);
    }
    TsuiTabSheet* AddSheet(const QString& caption) {
        auto* sheet = new TsuiTabSheet(control);
        sheet->setObjectName(QStringLiteral("s%1").arg(control->PageCount() - 1));
        sheet->setCaption(caption);
        return sheet;
    }
    TsuiTabControlTopPanel* row() const { return control->TopPanel(); }
    void Click(int tab) const {
        QTest::mouseClick(row(), Qt::LeftButton, {}, row()->tabRect(tab).center());
    }
    void Show() const {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(window->isActiveWindow());
    }
    std::unique_ptr<QWidget> window;
    TsuiPageControl* control;
};

QList<int> Visible(const TsuiPageControl* control) {
    QList<int> shown;
    for (int i = 0; i < control->PageCount(); ++i) {
        if (control->Page(i)->isVisibleTo(control))
            shown << i;
    }
    return shown;
}

} // namespace

class TestPageControl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // ------------------------------------------------------------ geometry

    void tabWidths() {
        QCOMPARE(TabWidth(0, true), 80);
        QCOMPARE(TabWidth(57, true), 80);
        QCOMPARE(TabWidth(57, false), 77);
        QCOMPARE(TabWidth(0, false), 20);
    }

    void layOutTabs_data() {
        QTest::addColumn<TabRowInput>("in");
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<std::vector<int>>("widths");
        QTest::addColumn<int>("lastWhole");
        QTest::addColumn<bool>("buttons");
        // The active tab a pixel lower.
        QTest::newRow("three fit") << MacRow(Tabs(3), 1) << "0:10,0,70 1:80,1,70 2:150,0,70"
                                   << std::vector<int>{70, 70, 70} << 2 << false;
        // Tab 6 would end at 500, past the left scroll button at 487: cut to 57, row ends.
        QTest::newRow("eight, cut") << MacRow(Tabs(8), 0)
                                    << "0:10,1,70 1:80,0,70 2:150,0,70 3:220,0,70 4:290,0,70 "
                                       "5:360,0,70 6:430,0,57cut"
                                    << std::vector<int>{70, 70, 70, 70, 70, 70, 57} << 5 << true;
        // An active tab that is cut keeps its whole width in the record.
        QTest::newRow("active cut") << MacRow(Tabs(8), 6)
                                    << "0:10,0,70 1:80,0,70 2:150,0,70 3:220,0,70 4:290,0,70 "
                                       "5:360,0,70 6:430,1,57cut"
                                    << std::vector<int>{70, 70, 70, 70, 70, 70, 70} << 5 << true;
        // Scrolled by two: tabs 0 and 1 record their widths but take no room.
        QTest::newRow("offset 2") << MacRow(Tabs(8), 7, 2)
                                  << "2:10,0,70 3:80,0,70 4:150,0,70 5:220,0,70 6:290,0,70 "
                                     "7:360,1,70"
                                  << std::vector<int>(8, 70) << 7 << false;
        // A hidden tab takes no room and records 0.
        auto hidden = Tabs(3);
        hidden[1].visible = false;
        QTest::newRow("hidden") << MacRow(hidden, 0) << "0:10,1,70 2:80,0,70"
                                << std::vector<int>{70, 0, 70} << 2 << false;
        // The last tab may reach 10 pixels short of the right edge, over the buttons...
        QTest::newRow("last reaches")
            << MacRow(Tabs(4), 0, 0, 300) << "0:10,1,70 1:80,0,70 2:150,0,70 3:220,0,70"
            << std::vector<int>{70, 70, 70, 70} << 3 << false;
        // ...but a pixel further it is cut at the left button (300 - 36 - 2 = 262).
        QTest::newRow("last cut") << MacRow(Tabs(4, 71), 0, 0, 300)
                                  << "0:10,1,71 1:81,0,71 2:152,0,71 3:223,0,39cut"
                                  << std::vector<int>{71, 71, 71, 39} << 2 << true;
        QTest::newRow("no tabs") << MacRow({}, -1) << "" << std::vector<int>{} << -1 << false;
    }
    void layOutTabs() {
        QFETCH(TabRowInput, in);
        const TabRowLayout layout = LayOutTabs(in);
        QFETCH(QString, drawn);
        QCOMPARE(Describe(layout), drawn);
        QFETCH(std::vector<int>, widths);
        QCOMPARE(layout.widths, widths);
        QFETCH(int, lastWhole);
        QCOMPARE(layout.lastWhole, lastWhole);
        QFETCH(bool, buttons);
        QCOMPARE(layout.scrollButtonsShown, buttons);
    }

    void scrollIntoView_data() {
        QTest::addColumn<TabRowInput>("in");
        QTest::addColumn<int>("offset");
        QTest::newRow("fits") << MacRow(Tabs(8), 3) << 0;
        QTest::newRow("last tab") << MacRow(Tabs(8), 7) << 1;
        QTest::newRow("cut tab") << MacRow(Tabs(8), 6) << 1;
        QTest::newRow("scrolled out at the left") << MacRow(Tabs(8), 1, 3) << 1;
        auto hidden = Tabs(8);
        hidden[0].visible = false;
        QTest::newRow("hidden first") << MacRow(hidden, 7) << 0;
        // Wider than the row: never whole, so shown first (cut), not scrolled out.
        QTest::newRow("too wide") << MacRow(Tabs(2, 600), 1) << 1;
    }
    void scrollIntoView() {
        QFETCH(TabRowInput, in);
        QFETCH(int, offset);
        QCOMPARE(ScrollIntoView(in), offset);
    }

    void tabAt_data() {
        QTest::addColumn<std::vector<int>>("widths");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("tab");
        const std::vector<int> three{70, 70, 70};
        QTest::newRow("first") << three << 0 << QPoint(45, 10) << 0;
        QTest::newRow("left edge") << three << 0 << QPoint(10, 10) << -1;
        QTest::newRow("boundary") << three << 0 << QPoint(80, 10) << -1;
        QTest::newRow("after boundary") << three << 0 << QPoint(81, 10) << 1;
        QTest::newRow("top row") << three << 0 << QPoint(45, 0) << -1;
        QTest::newRow("last row") << three << 0 << QPoint(45, 26) << 0;
        QTest::newRow("below") << three << 0 << QPoint(45, 27) << -1;
        QTest::newRow("past the tabs") << three << 0 << QPoint(221, 10) << -1;
        QTest::newRow("scrolled") << three << 1 << QPoint(45, 10) << 1;
        QTest::newRow("hidden") << std::vector<int>{70, 0, 70} << 0 << QPoint(81, 10) << 2;
        QTest::newRow("hidden, scrolled")
            << std::vector<int>{0, 70, 70} << 1 << QPoint(45, 10) << 2;
        QTest::newRow("end mark") << std::vector<int>{70, -1, 70} << 0 << QPoint(100, 10) << -1;
    }
    void tabAt() {
        QFETCH(std::vector<int>, widths);
        QFETCH(int, offset);
        QFETCH(QPoint, point);
        QFETCH(int, tab);
        QCOMPARE(TabAt(widths, 10, offset, point, 27), tab);
    }

    void scrollButtons_data() {
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<QSize>("button");
        QTest::addColumn<QRect>("left");
        QTest::addColumn<QRect>("right");
        // MacOS: 34-pixel row, centred and 2 higher: (34 - 18) / 2 - 2 = 6.
        QTest::newRow("MacOS") << 34 << QSize(18, 18) << QRect(487, 6, 18, 18)
                               << QRect(505, 6, 18, 18);
        // WinXP: 19-pixel row, no room to centre.
        QTest::newRow("WinXP") << 19 << QSize(18, 18) << QRect(487, 0, 18, 18)
                               << QRect(505, 0, 18, 18);
        // DeepBlue: 22 = 17 + 5 is more than 17 + 4: (22 - 17) / 2 - 2 = 0.
        QTest::newRow("DeepBlue") << 22 << QSize(18, 17) << QRect(487, 0, 18, 17)
                                  << QRect(505, 0, 18, 17);
    }
    void scrollButtons() {
        QFETCH(int, rowHeight);
        QFETCH(QSize, button);
        const ScrollButtonRects rects = ScrollButtons(525, rowHeight, button);
        QFETCH(QRect, left);
        QCOMPARE(rects.left, left);
        QFETCH(QRect, right);
        QCOMPARE(rects.right, right);
    }

    void scrollHover_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("hover");
        QTest::newRow("right, top-left") << QPoint(506, 6) << 1;
        QTest::newRow("right, bottom-right edge") << QPoint(523, 24) << 1;
        QTest::newRow("shared column") << QPoint(505, 10) << -1;
        QTest::newRow("left, left edge") << QPoint(487, 10) << -1;
        QTest::newRow("before") << QPoint(486, 10) << 0;
        QTest::newRow("past the right") << QPoint(524, 10) << 0;
        QTest::newRow("above") << QPoint(510, 5) << 0;
    }
    void scrollHover() {
        QFETCH(QPoint, point);
        QFETCH(int, hover);
        QCOMPARE(ScrollHoverAt(ScrollButtons(525, 34, QSize(18, 18)), point), hover);
    }

    void pageRect() {
        QCOMPARE(PageRect(QSize(525, 513), 34), QRect(3, 37, 519, 473));
        QCOMPARE(PageRect(QSize(100, 80), 19), QRect(3, 22, 94, 55));
    }

    // ------------------------------------------------------------ looks

    void looks_data() { zd7240::test::AddLookRows(); }
    // Row height, page place, colours and the drawing at its rule points.
    void looks() {
        QFETCH(TsuiUIStyle, style);
        Fixture f(2, style);
        const SkinLook look = SkinLook::Resolve(nullptr, style);
        const auto tabs = look.strip<SkinImage::TabControlTab>();
        const QImage bar = look.strip<SkinImage::TabControlBar>().whole();
        const int ih = tabs.frame(TabFrame::Inactive).height();
        const int rowHeight = tabs.frameSize().height() + bar.height();
        if (style == TsuiUIStyle::MacOS)
            QCOMPARE(rowHeight, 34);

        TsuiPageControl* c = f.control;
        QCOMPARE(f.row()->geometry(), QRect(0, 0, 525, rowHeight));
        QCOMPARE(c->Page(0)->geometry(), QRect(3, rowHeight + 3, 519, 510 - rowHeight - 3));
        const QColor fill = style == TsuiUIStyle::WinXP ? QColor(Qt::white)
                                                        : look.color(SkinColor::ControlBackground);
        const QColor border = look.color(SkinColor::ControlBorder);
        QCOMPARE(c->Color(), fill);
        QCOMPARE(c->BorderColor(), border);
        QCOMPARE(c->Page(1)->Color(), fill);

        const QImage shot = f.window->grab().toImage();
        const auto at = [&shot](int x, int y) { return QColor(shot.pixel(x, y)); };
        // Page area: filled, bordered left, bottom and right, open at the top.
        QCOMPARE(at(1, rowHeight), fill);
        QCOMPARE(at(1, 500), fill);
        QCOMPARE(at(0, rowHeight), border);
        QCOMPARE(at(0, 512), border);
        QCOMPARE(at(260, 512), border);
        QCOMPARE(at(524, rowHeight), border);
        QCOMPARE(at(524, 300), border);
        // Side lines beside the bar, the bar between them, what lies behind above it.
        QCOMPARE(at(0, ih), border);
        QCOMPARE(at(524, ih + bar.height() - 1), border);
        QCOMPARE(at(400, ih), QColor(bar.pixel(bar.width() / 2, 0)));
        QCOMPARE(at(400, 0), kBehind);
        // The active tab (0) is a pixel lower than the inactive one (1) and covers the
        // bar's top row; the tab images' middles stretch across.
        const QRect active = f.row()->tabRect(0), inactive = f.row()->tabRect(1);
        QCOMPARE(active.top(), 1);
        QCOMPARE(inactive.top(), 0);
        const QImage activeMiddle = ExtractBitmapFrame(tabs.frame(TabFrame::Active), 3, 2);
        const QImage inactiveMiddle = ExtractBitmapFrame(tabs.frame(TabFrame::Inactive), 3, 2);
        const int probe = 0; // the middle's first column, left of the caption
        QCOMPARE(at(active.left() + activeMiddle.width() + probe, 0), kBehind);
        QCOMPARE(at(active.left() + activeMiddle.width() + probe, 1),
                 QColor(activeMiddle.pixel(probe, 0)));
        QCOMPARE(at(active.left() + activeMiddle.width() + probe, ih),
                 QColor(activeMiddle.pixel(probe, ih - 1)));
        QCOMPARE(at(inactive.left() + inactiveMiddle.width() + probe, 0),
                 QColor(inactiveMiddle.pixel(probe, 0)));
        QCOMPARE(at(inactive.left() + inactiveMiddle.width() + probe, ih),
                 QColor(bar.pixel(bar.width() / 2, 0)));
    }

    // With more tabs than fit, the two scroll buttons appear, and the one under the
    // pointer shows its hover frame.
    void scrollButtonPictures() {
        QFETCH(TsuiUIStyle, style);
        Fixture f(12, style);
        f.Show();
        const auto strip = SkinLook::Resolve(nullptr, style).strip<SkinImage::ScrollButton>();
        const ScrollButtonRects rects = f.row()->scrollButtonRects();
        QVERIFY(f.row()->scrollButtonsDrawn());
        const auto shows = [&](const QRect& rect, ScrollButtonFrame frame) {
            const QImage shot = f.row()->grab().toImage().copy(rect);
            return shot == strip.frame(frame).convertToFormat(shot.format());
        };
        QVERIFY(shows(rects.right, ScrollButtonFrame::Right));
        QVERIFY(shows(rects.left, ScrollButtonFrame::Left));
        QTest::mouseMove(f.row(), rects.right.center());
        QTRY_COMPARE(f.row()->scrollHover(), 1);
        QVERIFY(shows(rects.right, ScrollButtonFrame::RightHover));
        QTest::mouseMove(f.row(), rects.left.center());
        QTRY_COMPARE(f.row()->scrollHover(), -1);
        QVERIFY(shows(rects.left, ScrollButtonFrame::LeftHover));
        QVERIFY(shows(rects.right, ScrollButtonFrame::Right));
    }
    void scrollButtonPictures_data() { looks_data(); }

    // ------------------------------------------------------------ behaviour

    void clickChangesPage() {
        Fixture f(3);
        QSignalSpy active(f.control, &TsuiTab::OnTabActive);
        QSignalSpy changed(f.control, &TsuiTab::OnChange);
        QSignalSpy shown(f.control->Page(2), &TsuiTabSheet::OnShow);
        QSignalSpy hidden(f.control->Page(0), &TsuiTabSheet::OnHide);
        f.Click(2);
        QCOMPARE(f.control->ActivePageIndex(), 2);
        QCOMPARE(Visible(f.control), QList<int>{2});
        QCOMPARE(active.size(), 1);
        QCOMPARE(active.first().first().toInt(), 2);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(hidden.size(), 1);

        // The boundary between two tabs belongs to neither; a right click does nothing;
        // the active tab clicked again changes nothing.
        const QRect first = f.row()->tabRect(0);
        QTest::mouseClick(f.row(), Qt::LeftButton, {}, QPoint(first.right() + 1, 10));
        QTest::mouseClick(f.row(), Qt::RightButton, {}, first.center());
        f.Click(2);
        QCOMPARE(f.control->ActivePageIndex(), 2);
        QCOMPARE(changed.size(), 1);

        // Program changes: the same index fires nothing, one beyond the last does nothing.
        f.control->setTabIndex(2);
        f.control->setTabIndex(3);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(f.control->ActivePageIndex(), 2);
    }

    void changingVetoesClicksOnly() {
        Fixture f(3);
        int asked = 0;
        connect(f.control, &TsuiTab::OnChanging, f.control, [&asked](bool* allow) {
            ++asked;
            *allow = false;
        });
        f.Click(1);
        QCOMPARE(asked, 1);
        QCOMPARE(f.control->ActivePageIndex(), 0);
        QCOMPARE(Visible(f.control), QList<int>{0});
        f.control->setActivePage(f.control->Page(1));
        QCOMPARE(f.control->ActivePageIndex(), 1);
        QCOMPARE(Visible(f.control), QList<int>{1});
        QCOMPARE(asked, 1);
    }

    // Ctrl+Tab / Ctrl+PgDn forward, Ctrl+Shift+Tab / Ctrl+PgUp back, round the ends and
    // past hidden tabs; the focus goes to the new page's first control.
    void keyboard() {
        Fixture f(3);
        std::vector<QLineEdit*> edits;
        for (int i = 0; i < 3; ++i)
            edits.push_back(new QLineEdit(f.control->Page(i)));
        f.Show();
        edits[0]->setFocus();
        QTRY_VERIFY(edits[0]->hasFocus());

        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, int page) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            QCOMPARE(f.control->ActivePageIndex(), page);
            QCOMPARE(Visible(f.control), QList<int>{page});
            QVERIFY(edits[static_cast<size_t>(page)]->hasFocus());
        };
        press(Qt::Key_Tab, Qt::ControlModifier, 1);
        press(Qt::Key_PageDown, Qt::ControlModifier, 2);
        press(Qt::Key_Tab, Qt::ControlModifier, 0);
        press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2);
        press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 1);
        press(Qt::Key_PageUp, Qt::ControlModifier, 0);
        f.control->Page(1)->setTabVisible(false);
        press(Qt::Key_Tab, Qt::ControlModifier, 2);

        // A refusing OnChanging keeps the page, as for a click.
        connect(f.control, &TsuiTab::OnChanging, f.control, [](bool* allow) { *allow = false; });
        press(Qt::Key_Tab, Qt::ControlModifier, 2);
    }

    void scrolling() {
        Fixture f(12);
        TsuiTabControlTopPanel* row = f.row();
        const ScrollButtonRects rects = row->scrollButtonRects();
        QVERIFY(row->layout().scrollButtonsShown);
        QVERIFY(row->tabRect(11).isEmpty());
        QTest::mouseClick(row, Qt::LeftButton, {}, rects.left.center());
        QCOMPARE(row->scrollOffset(), 0);
        QTest::mouseClick(row, Qt::LeftButton, {}, rects.right.center());
        QCOMPARE(row->scrollOffset(), 1);
        QVERIFY(row->tabRect(0).isEmpty());
        // Once the last tab fits, the right button stops; the left one still scrolls back.
        for (int i = 0; i < 20; ++i)
            QTest::mouseClick(row, Qt::LeftButton, {}, rects.right.center());
        const int end = row->scrollOffset();
        QVERIFY(!row->layout().scrollButtonsShown);
        QVERIFY(!row->tabRect(11).isEmpty());
        QVERIFY(row->scrollButtonsDrawn());
        QTest::mouseClick(row, Qt::LeftButton, {}, rects.left.center());
        QCOMPARE(row->scrollOffset(), end - 1);

        // A click on a cut tab selects it and scrolls it into view.
        row->setScrollOffset(0);
        const TabRowLayout layout = row->layout();
        const PlacedTab cut = layout.drawn.back();
        QVERIFY(cut.clipped);
        QTest::mouseClick(row, Qt::LeftButton, {}, cut.rect.center());
        QCOMPARE(f.control->ActivePageIndex(), cut.index);
        QVERIFY(row->scrollOffset() > 0);
        QVERIFY(!row->tabRect(cut.index).isEmpty());
        QCOMPARE(row->layout().lastWhole >= cut.index, true);
    }

    // Built while hidden, before its size was given (as a window builds it): once shown,
    // the row is as wide as the control and scrolled no further than needed.
    void builtBeforeSized() {
        QWidget window;
        auto* control = new TsuiPageControl(&window);
        control->setUIStyle(TsuiUIStyle::MacOS);
        control->setGeometry(0, 0, 525, 513);
        for (int i = 0; i < 6; ++i)
            (new TsuiTabSheet(control))->setCaption(QStringLiteral("Page %1").arg(i));
        control->setActivePageIndex(0);
        window.resize(525, 513);
        window.grab();
        QCOMPARE(control->TopPanel()->width(), 525);
        QCOMPARE(control->TopPanel()->scrollOffset(), 0);
        QVERIFY(!control->TopPanel()->scrollButtonsDrawn());
        QCOMPARE(control->Page(0)->geometry(), QRect(3, 37, 519, 473));
    }

    void tabVisible() {
        Fixture f(4);
        TsuiPageControl* c = f.control;
        c->setActivePageIndex(2);
        // Hiding the tab of the page shown shows the previous visible page...
        c->Page(2)->setTabVisible(false);
        QCOMPARE(c->ActivePageIndex(), 1);
        QVERIFY(f.row()->tabRect(2).isEmpty());
        c->Page(0)->setTabVisible(false);
        c->Page(1)->setTabVisible(false);
        // ...or, with none before it, the next one...
        QCOMPARE(c->ActivePageIndex(), 3);
        // ...and with none at all, stays.
        c->Page(3)->setTabVisible(false);
        QCOMPARE(c->ActivePageIndex(), 3);
        // A hidden tab takes no room: tab 3 moves to the left margin.
        c->Page(3)->setTabVisible(true);
        QCOMPARE(f.row()->tabRect(3).left(), 10);
        c->Page(1)->setTabVisible(true);
        f.Click(1);
        QCOMPARE(c->ActivePageIndex(), 1);
    }

    void pageOrder() {
        Fixture f(4);
        TsuiPageControl* c = f.control;
        c->setActivePageIndex(1);
        c->setPages({"s3", "s1", "s0"}); // s2 is not listed: it goes first
        QCOMPARE(c->Pages(), QStringList({"s2", "s3", "s1", "s0"}));
        QCOMPARE(f.row()->Tabs(), QStringList({"Page 2", "Page 3", "Page 1", "Page 0"}));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(c->Page(i)->PageIndex(), i);
        QCOMPARE(c->ActivePage()->objectName(), QStringLiteral("s1"));
        QCOMPARE(f.row()->TabIndex(), 2);

        c->Page(3)->setPageIndex(0);
        QCOMPARE(c->Pages(), QStringList({"s0", "s2", "s3", "s1"}));
        QCOMPARE(c->ActivePageIndex(), 0);
        c->Page(0)->setPageIndex(4);
        QCOMPARE(c->Pages(), QStringList({"s0", "s2", "s3", "s1"}));

        c->Page(1)->setCaption(QString());
        QCOMPARE(f.row()->tabRect(1).width(), 80);
    }

    void deletingSheets() {
        Fixture f(4);
        TsuiPageControl* c = f.control;
        c->setActivePageIndex(2);
        // A page not shown: the shown one stays, the others move up.
        delete c->Page(0);
        QCOMPARE(c->PageCount(), 3);
        QCOMPARE(c->ActivePage()->Caption(), QStringLiteral("Page 2"));
        QCOMPARE(c->ActivePageIndex(), 1);
        QCOMPARE(f.row()->TabIndex(), 1);
        QCOMPARE(f.row()->Tabs(), QStringList({"Page 1", "Page 2", "Page 3"}));
        // The page shown: the previous one is shown...
        delete c->ActivePage();
        QCOMPARE(c->ActivePage()->Caption(), QStringLiteral("Page 1"));
        QCOMPARE(Visible(c), QList<int>{0});
        // ...or the next one when it was the first.
        delete c->ActivePage();
        QCOMPARE(c->ActivePage()->Caption(), QStringLiteral("Page 3"));
        QCOMPARE(c->Page(0)->PageIndex(), 0);
        // A sheet given to another parent leaves too.
        TsuiTabSheet* last = c->Page(0);
        QWidget elsewhere;
        last->setParent(&elsewhere);
        QCOMPARE(c->PageCount(), 0);
        QCOMPARE(c->ActivePage(), nullptr);
        QCOMPARE(last->PageControl(), nullptr);
        QCOMPARE(f.row()->Tabs(), QStringList());
        f.Click(0); // nothing left to hit
        // A sheet made a child later is appended and shown.
        last->setParent(c);
        QCOMPARE(c->PageCount(), 1);
        QCOMPARE(c->ActivePage(), last);
        QCOMPARE(c->Page(0)->geometry(), QRect(3, 37, 519, 473));

        // The control goes before its sheets: they no longer belong to it.
        auto* stray = new TsuiTabSheet(c);
        QPointer<TsuiTabSheet> watch(stray);
        delete c;
        QVERIFY(watch.isNull());
    }

    // The captions use the control's own font, not its parent's.
    void captionFont() {
        Fixture f(1);
        QFont bold = f.window->font();
        bold.setBold(true);
        bold.setPixelSize(16);
        f.window->setFont(bold);
        QFont regular = bold;
        regular.setBold(false);
        regular.setPixelSize(11);
        f.control->setFont(regular);
        const QString caption = QStringLiteral("Adsl--Mmx");
        f.control->Page(0)->setCaption(caption);
        QCOMPARE(f.row()->tabRect(0).width(),
                 QFontMetrics(regular).horizontalAdvance(caption) + 20);
    }
};

QTEST_MAIN(TestPageControl)
#include "tst_pagecontrol.moc"
