// The window chrome's geometry rules from tables: host sizes, frame placement, border
// strips, the resize band, hand resizing, the window shape, sections, title buttons,
// caption shortening, the ordered hit test and the frame's mouse gestures.
#include <QtTest>

#include "chrome/chromegeometry.h"
#include "chrome/framegesture.h"

using namespace chrome;

Q_DECLARE_METATYPE(Qt::Edges)
Q_DECLARE_METATYPE(chrome::ChromeArea)

namespace {

// Five pixels per character: caption widths that are easy to read off.
int FiveEach(const QString& text) {
    return 5 * static_cast<int>(text.size());
}

std::vector<TitleButtonSlot> DefaultButtons(QSize size, int top) {
    // The order of a new title bar: control box, close, maximize, minimize.
    return {{true, true, size, top},
            {true, false, size, top},
            {true, false, size, top},
            {true, false, size, top}};
}

} // namespace

class TestChromeGeometry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hostAndFrame() {
        // Height rule h + BW + BW div 2: with BW 3 the host is 4 pixels higher, not 3 or 6.
        QCOMPARE(HostHeightFor(300, 3), 304);
        QCOMPARE(HostWidthFor(500, 3), 506);
        QCOMPARE(HostHeightFor(574, 1), 575);
        QCOMPARE(HostWidthFor(534, 1), 536);
        // ... and the panel then placed in that host is 301 high.
        QCOMPARE(FramePlacement(QSize(506, 304), 3, true), QRect(3, 0, 500, 301));
        // The main window: 536 x 575 host, the panel at (1, 0), 534 x 574.
        QCOMPARE(FramePlacement(QSize(536, 575), 1, true), QRect(1, 0, 534, 574));
        // Without a title bar the border shows at the top too.
        QCOMPARE(FramePlacement(QSize(536, 575), 1, false), QRect(1, 1, 534, 573));
        QCOMPARE(FramePlacement(QSize(536, 575), 0, true), QRect(0, 0, 536, 575));
    }

    void borderStrips_data() {
        QTest::addColumn<QSize>("host");
        QTest::addColumn<int>("border");
        QTest::addColumn<QList<QRect>>("strips");
        QTest::newRow("main window") << QSize(536, 575) << 1
                                     << QList<QRect>{QRect(0, 0, 1, 575), QRect(0, 574, 536, 1),
                                                     QRect(535, 0, 1, 575), QRect(0, 0, 536, 1)};
        // A line of pen width 3 along y = 0 shows two of its rows inside the window.
        QTest::newRow("three pixels") << QSize(100, 50) << 3
                                      << QList<QRect>{QRect(0, 0, 3, 50), QRect(0, 47, 100, 3),
                                                      QRect(97, 0, 3, 50), QRect(0, 0, 100, 2)};
        QTest::newRow("no border") << QSize(100, 50) << 0 << QList<QRect>{};
    }
    void borderStrips() {
        QFETCH(QSize, host);
        QFETCH(int, border);
        QFETCH(QList<QRect>, strips);
        const std::vector<QRect> got = HostBorderRects(host, border);
        QCOMPARE(QList<QRect>(got.begin(), got.end()), strips);
    }

    void edgeBand_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("sizeable");
        QTest::addColumn<Qt::Edges>("edges");
        // A 200 x 100 host. x < 5 is the left band, x > 195 the right one.
        QTest::newRow("top-left corner") << QPoint(0, 0) << true << (Qt::LeftEdge | Qt::TopEdge);
        QTest::newRow("corner reaches 4") << QPoint(4, 4) << true << (Qt::LeftEdge | Qt::TopEdge);
        QTest::newRow("top-right") << QPoint(196, 2) << true << (Qt::RightEdge | Qt::TopEdge);
        QTest::newRow("bottom-right")
            << QPoint(199, 99) << true << (Qt::RightEdge | Qt::BottomEdge);
        QTest::newRow("bottom-left") << QPoint(3, 96) << true << (Qt::LeftEdge | Qt::BottomEdge);
        QTest::newRow("x = 4 is the left band") << QPoint(4, 50) << true << Qt::Edges(Qt::LeftEdge);
        QTest::newRow("x = 5 is not") << QPoint(5, 50) << true << Qt::Edges();
        QTest::newRow("x = 195 is not") << QPoint(195, 50) << true << Qt::Edges();
        QTest::newRow("x = 196 is the right band")
            << QPoint(196, 50) << true << Qt::Edges(Qt::RightEdge);
        QTest::newRow("top") << QPoint(100, 4) << true << Qt::Edges(Qt::TopEdge);
        QTest::newRow("bottom") << QPoint(100, 96) << true << Qt::Edges(Qt::BottomEdge);
        QTest::newRow("inside") << QPoint(100, 50) << true << Qt::Edges();
        QTest::newRow("not sizeable") << QPoint(0, 0) << false << Qt::Edges();
    }
    void edgeBand() {
        QFETCH(QPoint, point);
        QFETCH(bool, sizeable);
        QFETCH(Qt::Edges, edges);
        QCOMPARE(EdgesAt(point, QSize(200, 100), kResizeBand, sizeable), edges);
    }

    void handResize_data() {
        QTest::addColumn<int>("edges");
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<QRect>("result");
        // From (100, 100, 300 x 200), never below 130 x 50.
        QTest::newRow("left out") << int(Qt::LeftEdge) << QPoint(-10, 7)
                                  << QRect(90, 100, 310, 200);
        QTest::newRow("left stops at the minimum")
            << int(Qt::LeftEdge) << QPoint(290, 0) << QRect(270, 100, 130, 200);
        QTest::newRow("top-right")
            << int(Qt::TopEdge | Qt::RightEdge) << QPoint(5, -5) << QRect(100, 95, 305, 205);
        QTest::newRow("bottom stops at the minimum")
            << int(Qt::BottomEdge) << QPoint(0, -500) << QRect(100, 100, 300, 50);
    }
    void handResize() {
        QFETCH(int, edges);
        QFETCH(QPoint, delta);
        QFETCH(QRect, result);
        QCOMPARE(
            ResizedGeometry(QRect(100, 100, 300, 200), Qt::Edges(edges), delta, QSize(130, 50)),
            result);
    }

    void windowShape() {
        // Square corners: the plain rectangle.
        QCOMPARE(TopRoundedRegion(QSize(100, 50), 0), QRegion(0, 0, 100, 50));
        // Rounded top corners, square bottom corners.
        const QRegion round = TopRoundedRegion(QSize(100, 50), 13);
        QCOMPARE(round.boundingRect(), QRect(0, 0, 100, 50));
        QVERIFY(!round.contains(QPoint(0, 0)));
        QVERIFY(!round.contains(QPoint(99, 0)));
        QVERIFY(!round.contains(QPoint(1, 1)));
        QVERIFY(round.contains(QPoint(6, 0)));
        QVERIFY(round.contains(QPoint(93, 0)));
        QVERIFY(round.contains(QPoint(0, 7)));
        QVERIFY(round.contains(QPoint(99, 7)));
        QVERIFY(round.contains(QPoint(0, 49)));
        QVERIFY(round.contains(QPoint(99, 49)));
        // Symmetric: what is cut at the left is cut at the right.
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 7; ++x)
                QCOMPARE(round.contains(QPoint(x, y)), round.contains(QPoint(99 - x, y)));

        // The outline drawn along the top: inside the shape, mirrored exactly, and on the
        // first pixel of the shape on every corner row, so no pixel of the shape lies
        // outside it at either corner.
        for (const int corner : {5, 9, 13, 20}) {
            const QRegion shape = TopRoundedRegion(QSize(100, 50), corner);
            const QPolygon outline = TopRoundedOutline(QSize(100, 50), corner);
            for (const QPoint& p : outline) {
                QVERIFY(shape.contains(p));
                QVERIFY(outline.contains(QPoint(99 - p.x(), p.y())));
            }
            for (int y = 0; y < (corner + 1) / 2; ++y) {
                int first = 0;
                while (!shape.contains(QPoint(first, y)))
                    ++first;
                QVERIFY2(outline.contains(QPoint(first, y)), qPrintable(QString::number(y)));
                QVERIFY(outline.contains(QPoint(99 - first, y)));
            }
        }
        QVERIFY(TopRoundedOutline(QSize(100, 50), 1).isEmpty());
    }

    void sections_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("widths"); // left, right, client
        QTest::addColumn<QList<QRect>>("targets");
        QTest::newRow("main window")
            << 534 << QList<int>{48, 48, 10}
            << QList<QRect>{QRect(0, 0, 48, 23), QRect(486, 0, 48, 23), QRect(48, 0, 438, 23)};
        // W - left cursor = 60 - 47 = 13 < 48: the right section is left out.
        QTest::newRow("right does not fit")
            << 60 << QList<int>{48, 48, 10}
            << QList<QRect>{QRect(0, 0, 48, 23), QRect(48, 0, 12, 23)};
        QTest::newRow("just fits") << 95 << QList<int>{48, 48, 10}
                                   << QList<QRect>{QRect(0, 0, 48, 23), QRect(47, 0, 48, 23)};
    }
    void sections() {
        QFETCH(int, width);
        QFETCH(QList<int>, widths);
        QFETCH(QList<QRect>, targets);
        const std::vector<SectionSlot> entries{{SectionAlign::Left, widths[0]},
                                               {SectionAlign::Right, widths[1]},
                                               {SectionAlign::Client, widths[2]}};
        QList<QRect> got;
        for (const SectionPlacement& placed : LayoutSections(width, 23, entries))
            got.append(placed.target);
        QCOMPARE(got, targets);
    }

    void titleButtons() {
        // MacOS at W = 534 with RightBtnXOffset -2: R starts at 533, each 17-pixel button
        // takes 18: close 515, maximize 497, minimize 479; the control box at
        // LeftBtnXOffset 3 and the caption 5 pixels after it.
        TitleButtonLayout macos =
            LayoutTitleButtons(534, 3, -2, 0, false, DefaultButtons(QSize(17, 17), 4));
        QCOMPARE(macos.rects[1], QRect(515, 4, 17, 17));
        QCOMPARE(macos.rects[2], QRect(497, 4, 17, 17));
        QCOMPARE(macos.rects[3], QRect(479, 4, 17, 17));
        QCOMPARE(macos.controlBox, 0);
        QCOMPARE(macos.rects[0], QRect(3, 4, 17, 17));
        QCOMPARE(macos.captionLeft, 25);
        QCOMPARE(macos.captionRight, 479);

        // ButtonInterval widens the gaps; hidden buttons take no room.
        std::vector<TitleButtonSlot> entries = DefaultButtons(QSize(19, 19), 2);
        entries[1].visible = false;
        TitleButtonLayout spaced = LayoutTitleButtons(300, 0, 0, 2, false, entries);
        QVERIFY(spaced.rects[1].isNull());
        QCOMPARE(spaced.rects[2].x(), 301 - 22);
        QCOMPARE(spaced.rects[3].x(), 301 - 44);

        // The application icon instead of the control box: drawn 3 pixels in, the caption
        // 21 pixels after the offset.
        TitleButtonLayout icon =
            LayoutTitleButtons(534, 3, -2, 0, true, DefaultButtons(QSize(17, 17), 4));
        QCOMPARE(icon.appIconAt, QPoint(6, 4));
        QCOMPARE(icon.captionLeft, 24);

        // No control box and no offset: the caption starts 6 pixels in.
        entries = DefaultButtons(QSize(17, 17), 2);
        entries[0].visible = false;
        TitleButtonLayout bare = LayoutTitleButtons(200, 0, 0, 0, false, entries);
        QCOMPARE(bare.controlBox, -1);
        QCOMPARE(bare.captionLeft, 6);
    }

    void caption_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("space");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("fits") << QStringLiteral("Velmar") << 30 << QStringLiteral("Velmar");
        QTest::newRow("one pixel short")
            << QStringLiteral("Velmar") << 29 << QStringLiteral("Ve...");
        QTest::newRow("longest prefix")
            << QStringLiteral("Velmar Zd7240") << 50 << QStringLiteral("Velmar ...");
        QTest::newRow("only the dots") << QStringLiteral("Velmar") << 15 << QStringLiteral("...");
        QTest::newRow("not even the dots") << QStringLiteral("Velmar") << 14 << QString();
        QTest::newRow("no room at all") << QStringLiteral("Velmar") << -20 << QString();
        QTest::newRow("empty") << QString() << 0 << QString();
        // A character of two code units is never cut in half.
        const QString face = QString::fromUcs4(U"\U0001F600"); // two code units
        QTest::newRow("keeps a whole character")
            << QStringLiteral("ab") + face + QStringLiteral("cdef") << 36
            << QStringLiteral("ab") + face + QStringLiteral("...");
        QTest::newRow("never half a character")
            << QStringLiteral("ab") + face + QStringLiteral("cd") << 28 << QStringLiteral("ab...");
    }
    void caption() {
        QFETCH(QString, text);
        QFETCH(int, space);
        QFETCH(QString, drawn);
        QCOMPARE(ShortenCaption(text, space, FiveEach), drawn);
    }

    void captionTop() {
        // Centred in the band, the half rounded toward zero.
        QCOMPARE(CaptionTop(17, 4, 13), 6);
        QCOMPARE(CaptionTop(17, 4, 14), 5);
        QCOMPARE(CaptionTop(10, 2, 13), 1); // (-3) div 2 is -1, not -2
    }

    void hitTest_data() {
        QTest::addColumn<bool>("resizable");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<chrome::ChromeArea>("area");
        QTest::addColumn<int>("button");
        // A 536 x 575 window, the bar at (1, 0), 534 x 23, buttons of the MacOS layout.
        QTest::newRow("band before the bar") << true << QPoint(2, 2) << ChromeArea::Edge << -1;
        QTest::newRow("band before a button") << true << QPoint(533, 6) << ChromeArea::Edge << -1;
        QTest::newRow("close") << true << QPoint(520, 10) << ChromeArea::TitleButton << 1;
        QTest::newRow("close, right edge included")
            << false << QPoint(1 + 532, 10) << ChromeArea::TitleButton << 1;
        QTest::newRow("maximize") << true << QPoint(1 + 500, 10) << ChromeArea::TitleButton << 2;
        QTest::newRow("minimize") << true << QPoint(1 + 479, 21) << ChromeArea::TitleButton << 3;
        QTest::newRow("control box") << true << QPoint(1 + 10, 10) << ChromeArea::ControlBox << 0;
        QTest::newRow("caption") << true << QPoint(200, 10) << ChromeArea::Caption << -1;
        QTest::newRow("below the buttons") << true << QPoint(520, 22) << ChromeArea::Caption << -1;
        QTest::newRow("client") << true << QPoint(200, 100) << ChromeArea::Client << -1;
        QTest::newRow("no band: caption") << false << QPoint(2, 2) << ChromeArea::Caption << -1;
        QTest::newRow("no band: client") << false << QPoint(2, 300) << ChromeArea::Client << -1;
    }
    void hitTest() {
        QFETCH(bool, resizable);
        QFETCH(QPoint, point);
        QFETCH(chrome::ChromeArea, area);
        QFETCH(int, button);
        ChromeShape shape;
        shape.window = QSize(536, 575);
        shape.resizable = resizable;
        shape.titleBar = QRect(1, 0, 534, 23);
        const TitleButtonLayout layout =
            LayoutTitleButtons(534, 3, -2, 0, false, DefaultButtons(QSize(17, 17), 4));
        shape.buttons = layout.rects;
        shape.controlBox = layout.controlBox;
        const ChromeHit hit = HitTest(shape, point);
        QCOMPARE(hit.area, area);
        QCOMPARE(hit.button, button);
    }

    // Gestures as the window receives them, one token per event: press@AREA, press2@AREA
    // (the second press of a double click, which the double click event follows),
    // dclick@AREA, `still` a motion that has not left the press position, `moved` one
    // that has, `loose` a motion with the button already up (a release the window never
    // got), `release` from the window system, `posted` the release the controller posts.
    // A press may carry what the display server said of the button as it was read
    // (press:held, press:up; none: not asked). `taken` and `refused` are the controller's
    // answer to a hand-over. The answers are the controller's actions, one per event.
    void frameGestures_data() {
        QTest::addColumn<bool>("movable");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("actions");
        QTest::newRow("click on the caption moves nothing") << true << "press@caption still release"
                                                            << "swallow swallow swallow";
        QTest::newRow("drag the caption") << true << "press@caption still moved moved release"
                                          << "swallow swallow start follow swallow";
        QTest::newRow("maximized: the caption does not move the window")
            << false << "press@caption moved release"
            << "swallow pass pass";
        QTest::newRow("maximized, the button held: nothing handed over")
            << false << "press:held@caption moved release"
            << "swallow pass pass";
        QTest::newRow("drag the band") << true << "press@edge moved moved release"
                                       << "swallow start follow swallow";
        QTest::newRow("double click on the caption")
            << true << "press@caption release press2@caption dclick@caption release"
            << "swallow swallow swallow maximize pass";
        QTest::newRow("double click on the control box")
            << true << "press@box release press2@box dclick@box release"
            << "pass pass pass close pass";
        QTest::newRow("a title button is the bar's, motion and all")
            << true << "press@button moved release press2@button dclick@button release"
            << "pass pass pass pass pass pass";
        QTest::newRow("client area") << true << "press@client moved release"
                                     << "pass pass pass";
        QTest::newRow("a lost release ends a drag") << true << "press@caption moved loose moved"
                                                    << "swallow start swallow pass";
        QTest::newRow("a lost release before any motion") << true << "press@edge loose release"
                                                          << "swallow swallow pass";
        // The hand-over at the press, and what keeps double clicks working with it.
        QTest::newRow("button held at the press: the caption handed over at once")
            << true << "press:held@caption taken posted loose moved"
            << "start letgo pass pass pass";
        QTest::newRow("button held at the press: the band handed over at once")
            << true << "press:held@edge taken posted still loose"
            << "start letgo pass swallow pass";
        QTest::newRow("a click read late, the button up: armed, not handed over")
            << true << "press:up@caption release press2@caption dclick@caption release"
            << "swallow swallow swallow maximize pass";
        QTest::newRow("a double click whose first press went to the window manager")
            << true << "press:held@caption taken posted press2:held@caption dclick@caption release"
            << "start letgo pass swallow maximize pass";
        QTest::newRow("released before the window manager took the pointer: called off")
            << true
            << "press:held@caption taken posted release press2:held@caption dclick@caption "
               "release"
            << "start letgo pass cancel swallow maximize pass";
        QTest::newRow("refused at the press: by hand from the first motion")
            << true << "press:held@caption refused still moved refused moved release"
            << "start swallow swallow start follow follow swallow";
        QTest::newRow("not asked at the press: handed over at the first motion")
            << true << "press@caption still moved taken posted loose"
            << "swallow swallow start letgo pass pass";
        // A hidden window ends the gesture under way; the next press starts afresh.
        QTest::newRow("hidden while moving by hand")
            << true << "press@caption moved refused hide moved release press@caption release"
            << "swallow start follow pass pass pass swallow swallow";
        QTest::newRow("hidden while handed over: its release calls nothing off")
            << true << "press:held@caption taken hide release"
            << "start letgo pass pass";
        QTest::newRow("hidden while pressed on a title button")
            << true << "press@button hide release"
            << "pass pass pass";
        QTest::newRow("a lost release after a refused hand-over at the press")
            << true << "press:held@edge refused loose release"
            << "start swallow swallow pass";
    }
    void frameGestures() {
        QFETCH(bool, movable);
        QFETCH(QString, events);
        QFETCH(QString, actions);
        static const QHash<QString, ChromeArea> kAreas = {{"caption", ChromeArea::Caption},
                                                          {"edge", ChromeArea::Edge},
                                                          {"box", ChromeArea::ControlBox},
                                                          {"button", ChromeArea::TitleButton},
                                                          {"client", ChromeArea::Client}};
        static const QHash<FrameAction, QString> kNames = {
            {FrameAction::PassOn, "pass"},
            {FrameAction::Swallow, "swallow"},
            {FrameAction::StartDrag, "start"},
            {FrameAction::LetGo, "letgo"},
            {FrameAction::FollowPointer, "follow"},
            {FrameAction::CancelDrag, "cancel"},
            {FrameAction::ToggleMaximized, "maximize"},
            {FrameAction::Close, "close"}};
        FrameState state = FrameState::Idle;
        QStringList got;
        static const QHash<QString, ButtonNow> kButton = {
            {"", ButtonNow::Unknown}, {"held", ButtonNow::Held}, {"up", ButtonNow::Up}};
        for (const QString& token : events.split(' ')) {
            const QString kind = token.section('@', 0, 0).section(':', 0, 0);
            FrameEvent event{FrameInput::Motion};
            event.area = kAreas.value(token.section('@', 1), ChromeArea::Client);
            event.movable = movable;
            if (kind == "press" || kind == "press2") {
                event.input = FrameInput::Press;
                event.startsDoubleClick = kind == "press2";
                QVERIFY(kButton.contains(token.section('@', 0, 0).section(':', 1)));
                event.buttonNow = kButton.value(token.section('@', 0, 0).section(':', 1));
            } else if (kind == "dclick") {
                event.input = FrameInput::DoubleClick;
            } else if (kind == "release" || kind == "posted") {
                event.input = FrameInput::Release;
                event.fromWindowSystem = kind == "release";
            } else if (kind == "hide") {
                event.input = FrameInput::Hide;
            } else if (kind == "taken" || kind == "refused") {
                event.input = FrameInput::HandOver;
                event.taken = kind == "taken";
            } else {
                QVERIFY2(kind == "still" || kind == "moved" || kind == "loose", qPrintable(kind));
                event.moved = kind != "still";
                event.buttonHeld = kind != "loose";
            }
            const FrameStep step = NextFrameStep(state, event);
            state = step.state;
            got << kNames.value(step.action);
        }
        QCOMPARE(got.join(' '), actions);
        QCOMPARE(state, FrameState::Idle);
    }
};

QTEST_GUILESS_MAIN(TestChromeGeometry)
#include "tst_chromegeometry.moc"
