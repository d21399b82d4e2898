// Skinned menus and the frame's menu bar, offscreen: sizes Qt takes from the menu style,
// item pixels over the five looks, the separator rule, the paint rules on a synthetic look
// (selection, disabled, check mark, frames), Qt's keys in a skinned menu, and the bar:
// buttons following the items, its look, Alt with an access key, Alt alone and arrows.
//
// With ZD7240_GRAB_DIR set, the open menu of every look is also written there as a PNG.
#include <QAction>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QtTest>
#include <memory>

#include "../lib/builtinlooks.h"
#include "chrome/framemenubar.h"
#include "chrome/framemenubarbutton.h"
#include "chrome/menubarpainter.h"
#include "chrome/menuitempainter.h"
#include "chrome/skinnedmenustyle.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuimainmenu.h"
#include "chrome/tsuipopupmenu.h"
#include "look/skinlook.h"
#include "look/systemcolors.h"

namespace {

QRgb Rgb(const QImage& image, QPoint p) {
    return image.pixel(p) & 0xFFFFFF;
}
QRgb Rgb(const QColor& color) {
    return color.rgb() & 0xFFFFFF;
}

// Row `row` of a menu texture (one pixel wide).
QRgb TextureRow(SkinPicture picture, int row) {
    return SkinLook::pictureSet(picture).whole.pixel(0, row) & 0xFFFFFF;
}

// A look with a colour of its own for everything, to tell the rules apart.
MenuItemLook SyntheticLook() {
    MenuItemLook look;
    look.itemHeight = 21;
    look.separatorHeight = 5;
    look.barWidth = 26;
    look.barColor = QColor(0x10, 0x20, 0x30);
    look.color = QColor(0xF0, 0xF1, 0xF2);
    look.separatorColor = QColor(0x40, 0x50, 0x60);
    look.selectedBorderColor = QColor(0xA0, 0x00, 0x00);
    look.selectedColor = QColor(0x00, 0xA0, 0x00);
    look.selectedFontColor = QColor(0x00, 0x00, 0xA0);
    look.fontColor = QColor(0x30, 0x30, 0x30);
    look.formBackground = QColor(0x12, 0x34, 0x56);
    // Text without smoothing, so that its pixels are the text colour exactly.
    look.font.setStyleStrategy(QFont::NoAntialias);
    QImage mark(16, 16, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    mark.setPixel(0, 0, qRgb(0xCC, 0x00, 0xCC));
    look.checkMark = mark;
    return look;
}

QImage PaintItem(const MenuItemLook& look, MenuItemFace face, QSize size = QSize(120, 21)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    face.rect = QRect(QPoint(0, 0), size);
    QPainter painter(&image);
    PaintMenuItem(painter, look, face);
    return image;
}

// A skinned pop-up menu with the items the tests look at.
struct OpenMenu {
    explicit OpenMenu(TsuiUIStyle style) {
        menu = std::make_unique<TsuiPopupMenu>();
        menu->setUIStyle(style);
        first = menu->addAction(QStringLiteral("&Open"));
        second = menu->addAction(QStringLiteral("Online help"));
        separator = menu->addAction(QStringLiteral("-"));
        hyphens = menu->addAction(QStringLiteral("-------------------"));
        quit = menu->addAction(QStringLiteral("&Quit"));
    }
    bool show() {
        menu->popup(QPoint(50, 50));
        return QTest::qWaitForWindowExposed(menu.get());
    }
    std::unique_ptr<TsuiPopupMenu> menu;
    QAction* first;
    QAction* second;
    QAction* separator;
    QAction* hyphens;
    QAction* quit;
};

// A window with a frame and a main menu of two items.
struct MenuWindow {
    explicit MenuWindow(TsuiUIStyle style = TsuiUIStyle::MacOS) {
        host = std::make_unique<QWidget>();
        host->setProperty("BorderStyle", QStringLiteral("bsNone"));
        host->resize(400, 300);
        frame = new TsuiForm(host.get());
        frame->setUIStyle(style);
        menu = new TsuiMainMenu(host.get());
        file = menu->addMenu(QStringLiteral("&File"));
        newItem = file->addAction(QStringLiteral("&New"));
        file->addAction(QStringLiteral("&Save"));
        help = menu->addMenu(QStringLiteral("&Help"));
        docs = help->addAction(QStringLiteral("Help documents"));
        help->addAction(QStringLiteral("Quit"));
        frame->setUIStyle(style);
    }
    bool show() {
        host->show();
        QApplication::setActiveWindow(host.get());
        return QTest::qWaitForWindowActive(host.get());
    }
    FrameMenuBar* bar() const { return frame->MenuBar(); }
    QStringList captions() const {
        QStringList list;
        for (const FrameMenuBarButton* button : bar()->Buttons())
            list << button->text() + (button->isEnabled() ? QString() : QStringLiteral("(off)"));
        return list;
    }
    std::unique_ptr<QWidget> host;
    TsuiForm* frame;
    TsuiMainMenu* menu;
    QMenu* file;
    QAction* newItem;
    QMenu* help;
    QAction* docs;
};

} // namespace

class TestMenus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    // MacOS fixes both heights; writing them is ignored until another look is taken.
    void heightsFollowTheLook() {
        TsuiMainMenu menu;
        menu.setUIStyle(TsuiUIStyle::MacOS);
        QCOMPARE(menu.MenuItemHeight(), 20);
        QCOMPARE(menu.SeparatorHeight(), 12);
        QCOMPARE(menu.BarWidth(), 26);
        menu.setMenuItemHeight(30);
        menu.setSeparatorHeight(30);
        QCOMPARE(menu.MenuItemHeight(), 20);
        QCOMPARE(menu.SeparatorHeight(), 12);
        menu.setUIStyle(TsuiUIStyle::WinXP);
        QCOMPARE(menu.MenuItemHeight(), 21);
        QCOMPARE(menu.SeparatorHeight(), 5);
        QCOMPARE(menu.SeparatorColor(), QColor(0x84, 0x82, 0x84));
        menu.setMenuItemHeight(30);
        QCOMPARE(menu.MenuItemHeight(), 30);
        QVERIFY(menu.OwnerDraw());
        menu.setOwnerDraw(false);
        QVERIFY(menu.OwnerDraw());
    }

    // The colours come from the look, also when it replaces another one.
    void coloursFromTheLook_data() { zd7240::test::AddLookRows(); }
    void coloursFromTheLook() {
        QFETCH(TsuiUIStyle, style);
        TsuiPopupMenu menu;
        menu.setUIStyle(style == TsuiUIStyle::WinXP ? TsuiUIStyle::MacOS : TsuiUIStyle::WinXP);
        menu.setUIStyle(style);
        const SkinLook look = SkinLook::Resolve(nullptr, style);
        QCOMPARE(menu.SelectedBorderColor(), look.color(SkinColor::MenuSelectedBorder));
        QCOMPARE(menu.SelectedColor(), look.color(SkinColor::MenuSelectedBackground));
        QCOMPARE(menu.SelectedFontColor(), look.color(SkinColor::MenuSelectedFont));
        QCOMPARE(menu.Color(), look.color(SkinColor::MenuBackground));
        QCOMPARE(menu.FontColor(), look.color(SkinColor::MenuFont));
        QCOMPARE(menu.BarColor(), look.color(SkinColor::MenuBar));
    }

    // A theme that goes away leaves DeepBlue's look.
    void themeGoneLeavesDeepBlue() {
        TsuiPopupMenu menu;
        auto* theme = new TsuiFileTheme;
        menu.setFileTheme(theme);
        menu.setUIStyle(TsuiUIStyle::MacOS);
        delete theme;
        QCOMPARE(menu.UIStyle(), TsuiUIStyle::DeepBlue);
        QCOMPARE(menu.MenuItemHeight(), 21);
        QCOMPARE(menu.SelectedColor(), QColor(0x44, 0x4A, 0xA0));
    }

    // Qt lays the menu out with the sizes the style measures: caption + shortcut + bar
    // width + 40 wide, the item or separator height high; only "-" is a separator.
    void measuredSizes_data() {
        QTest::addColumn<TsuiUIStyle>("style");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("separator");
        QTest::newRow("MacOS") << TsuiUIStyle::MacOS << 20 << 12;
        QTest::newRow("WinXP") << TsuiUIStyle::WinXP << 21 << 5;
        QTest::newRow("DeepBlue") << TsuiUIStyle::DeepBlue << 21 << 5;
        QTest::newRow("Protein") << TsuiUIStyle::Protein << 21 << 5;
        QTest::newRow("BlueGlass") << TsuiUIStyle::BlueGlass << 21 << 5;
    }
    void measuredSizes() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(int, item);
        QFETCH(int, separator);
        OpenMenu m(style);
        QVERIFY(m.separator->isSeparator());
        QVERIFY(!m.hyphens->isSeparator());
        QCOMPARE(m.menu->actionGeometry(m.first).height(), item);
        QCOMPARE(m.menu->actionGeometry(m.separator).height(), separator);
        QCOMPARE(m.menu->actionGeometry(m.hyphens).height(), item);
        // Items start inside the three-pixel frame, one below the other.
        QCOMPARE(m.menu->actionGeometry(m.first).topLeft(), QPoint(3, 3));
        QCOMPARE(m.menu->actionGeometry(m.second).top(), 3 + item);
        QCOMPARE(m.menu->sizeHint().height(), 3 + 4 * item + separator + 3);

        const QFontMetrics metrics(m.menu->ItemFont());
        QStyleOptionMenuItem option;
        option.menuItemType = QStyleOptionMenuItem::Normal;
        option.text = QStringLiteral("Quit");
        QStyle* s = m.menu->MenuStyle();
        QCOMPARE(s->sizeFromContents(QStyle::CT_MenuItem, &option, QSize(), m.menu.get()),
                 QSize(metrics.horizontalAdvance(QStringLiteral("Quit")) + 26 + 40, item));
        option.text = QStringLiteral("&Save\tCtrl+S");
        QCOMPARE(s->sizeFromContents(QStyle::CT_MenuItem, &option, QSize(), m.menu.get()).width(),
                 metrics.horizontalAdvance(QStringLiteral("Save")) +
                     metrics.horizontalAdvance(QStringLiteral("Ctrl+S")) + 66);
        // The widest item decides the menu's width.
        QCOMPARE(m.menu->actionGeometry(m.hyphens).width(),
                 metrics.horizontalAdvance(QStringLiteral("-------------------")) + 66);
    }

    // A real menu with shortcuts, laid out by Qt: an item is its caption + its shortcut +
    // bar width + 40 wide, and the menu as wide as its widest item; the widest shortcut
    // is not added again. The default item is measured in bold.
    void shortcutWidths() {
        TsuiPopupMenu menu;
        menu.setUIStyle(TsuiUIStyle::WinXP);
        const QFontMetrics metrics(menu.ItemFont());
        const auto measure = [&](const QFontMetrics& m, const char* caption, const QString& keys) {
            return m.horizontalAdvance(QLatin1String(caption)) + m.horizontalAdvance(keys) + 26 +
                   40;
        };
        QAction* save = menu.addAction(QStringLiteral("&Save"));
        save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
        const QString saveKeys = save->shortcut().toString(QKeySequence::NativeText);
        QCOMPARE(menu.actionGeometry(save).width(), measure(metrics, "Save", saveKeys));

        // A long caption without a shortcut and a short one with a long shortcut (given
        // after a tab): the wider of the two items decides.
        QAction* longer = menu.addAction(QStringLiteral("Export every page to one file"));
        menu.addAction(QStringLiteral("X\tCtrl+Shift+F12"));
        const int widest = std::max({measure(metrics, "Save", saveKeys),
                                     measure(metrics, "Export every page to one file", {}),
                                     measure(metrics, "X", QStringLiteral("Ctrl+Shift+F12"))});
        QCOMPARE(menu.actionGeometry(longer).width(), widest);
        QCOMPARE(menu.actionGeometry(save).width(), widest);

        // The default item, bold (set before Qt lays the menu out).
        TsuiPopupMenu withDefault;
        withDefault.setUIStyle(TsuiUIStyle::WinXP);
        QAction* quit = withDefault.addAction(QStringLiteral("Quit"));
        withDefault.setDefaultAction(quit);
        QFont boldFont = withDefault.ItemFont();
        boldFont.setBold(true);
        QCOMPARE(withDefault.actionGeometry(quit).width(),
                 measure(QFontMetrics(boldFont), "Quit", {}));
    }

    // The open menu's pixels at the rule points: MacOS shows the textures, the others the
    // strip, the background, the selection's fill and frame and the separator line.
    void itemPixels_data() { measuredSizes_data(); }
    void itemPixels() {
        QFETCH(TsuiUIStyle, style);
        OpenMenu m(style);
        QVERIFY(m.show());
        m.menu->setActiveAction(m.second);
        const QImage image = m.menu->grab().toImage();
        if (!qEnvironmentVariableIsEmpty("ZD7240_GRAB_DIR")) {
            image.save(qEnvironmentVariable("ZD7240_GRAB_DIR") + QStringLiteral("/menu-") +
                       QTest::currentDataTag() + QStringLiteral(".png"));
        }
        const QRect normal = m.menu->actionGeometry(m.first);
        const QRect selected = m.menu->actionGeometry(m.second);
        const QRect separator = m.menu->actionGeometry(m.separator);
        const int right = normal.x() + normal.width(); // first column outside
        if (style == TsuiUIStyle::MacOS) {
            for (int row : {0, 10, 19}) {
                QCOMPARE(Rgb(image, QPoint(right - 2, normal.top() + row)),
                         TextureRow(SkinPicture::MacOSMenuBar, row));
                QCOMPARE(Rgb(image, QPoint(right - 2, selected.top() + row)),
                         TextureRow(SkinPicture::MacOSMenuSelect, row));
            }
            QCOMPARE(Rgb(image, QPoint(right - 2, separator.top() + 11)),
                     TextureRow(SkinPicture::MacOSMenuBar, 11));
            return;
        }
        const SkinLook look = SkinLook::Resolve(nullptr, style);
        const int mid = normal.top() + 10;
        QCOMPARE(Rgb(image, QPoint(normal.x() + 2, mid)), Rgb(look.color(SkinColor::MenuBar)));
        QCOMPARE(Rgb(image, QPoint(normal.x() + 25, mid)), Rgb(look.color(SkinColor::MenuBar)));
        QCOMPARE(Rgb(image, QPoint(normal.x() + 26, normal.top())),
                 Rgb(look.color(SkinColor::MenuBackground)));
        QCOMPARE(Rgb(image, QPoint(right - 2, mid)), Rgb(look.color(SkinColor::MenuBackground)));
        // Selected: framed in element 18, filled with element 19.
        QCOMPARE(Rgb(image, selected.topLeft()), Rgb(look.color(SkinColor::MenuSelectedBorder)));
        QCOMPARE(Rgb(image, QPoint(right - 1, selected.bottom())),
                 Rgb(look.color(SkinColor::MenuSelectedBorder)));
        QCOMPARE(Rgb(image, QPoint(selected.x() + 2, selected.top() + 2)),
                 Rgb(look.color(SkinColor::MenuSelectedBackground)));
        // The separator line runs from the strip + 4 to Right - 3, two rows down.
        const int line = separator.top() + 2;
        QCOMPARE(Rgb(image, QPoint(separator.x() + 30, line)), 0x848284u);
        QCOMPARE(Rgb(image, QPoint(right - 3, line)), 0x848284u);
        QCOMPARE(Rgb(image, QPoint(right - 2, line)), Rgb(look.color(SkinColor::MenuBackground)));
        QCOMPARE(Rgb(image, QPoint(separator.x() + 29, line)),
                 Rgb(look.color(SkinColor::MenuBackground)));
        QCOMPARE(Rgb(image, QPoint(separator.x() + 30, line + 1)),
                 Rgb(look.color(SkinColor::MenuBackground)));
    }

    // The paint rules on a look of distinct colours: a disabled item never shows the
    // selection and writes grey; the selected item writes in the selected font colour;
    // the check mark, or the frame behind an item's image, sits where the rules say.
    void paintRules() {
        const MenuItemLook look = SyntheticLook();
        MenuItemFace face;
        face.caption = QStringLiteral("WWWW");
        face.selected = true;
        QImage image = PaintItem(look, face);
        QCOMPARE(Rgb(image, QPoint(0, 0)), Rgb(look.selectedBorderColor));
        QCOMPARE(Rgb(image, QPoint(2, 2)), Rgb(look.selectedColor));
        auto countColour = [](const QImage& img, QRgb colour) {
            int n = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    n += Rgb(img, QPoint(x, y)) == colour;
            return n;
        };
        QVERIFY(countColour(image, Rgb(look.selectedFontColor)) > 10);

        // The default item is written bold: heavier strokes of the same text.
        MenuItemFace plain;
        plain.caption = QStringLiteral("WWWW");
        const int normalInk = countColour(PaintItem(look, plain), Rgb(look.fontColor));
        plain.isDefault = true;
        QVERIFY2(countColour(PaintItem(look, plain), Rgb(look.fontColor)) > normalInk + 10,
                 qPrintable(QString::number(normalInk)));

        face.enabled = false;
        image = PaintItem(look, face);
        QCOMPARE(Rgb(image, QPoint(0, 0)), Rgb(look.barColor));
        QCOMPARE(Rgb(image, QPoint(119, 0)), Rgb(look.color));
        QVERIFY(countColour(image, 0x808080) > 10);
        QCOMPARE(countColour(image, Rgb(look.selectedColor)), 0);

        MenuItemFace checked;
        checked.caption = QStringLiteral("x");
        checked.checked = true;
        image = PaintItem(look, checked);
        QCOMPARE(Rgb(image, QPoint(4, 3)), 0xCC00CCu);
        QCOMPARE(Rgb(image, QPoint(5, 4)), Rgb(look.barColor)); // transparent mark

        QPixmap picture(16, 16);
        picture.fill(QColor(0x01, 0x02, 0x03));
        checked.image = QIcon(picture);
        image = PaintItem(look, checked);
        QCOMPARE(Rgb(image, QPoint(2, 1)), 0u); // black frame
        QCOMPARE(Rgb(image, QPoint(20, 19)), 0u);
        QCOMPARE(Rgb(image, QPoint(3, 2)), Rgb(look.selectedColor));
        QCOMPARE(Rgb(image, QPoint(4, 3)), 0x010203u); // the image on it
        QCOMPARE(Rgb(image, QPoint(21, 1)), Rgb(look.barColor));
    }

    // The menu's frame: a raised classic edge, or with FlatMenu black, white and the form
    // colour along the top, right and bottom.
    void frames() {
        MenuItemLook look = SyntheticLook();
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        {
            QPainter painter(&image);
            PaintMenuFrame(painter, look, image.size());
        }
        QCOMPARE(Rgb(image, QPoint(0, 10)), Rgb(SystemColorValue(SystemColor::ThreeDLight)));
        QCOMPARE(Rgb(image, QPoint(1, 10)), Rgb(SystemColorValue(SystemColor::ButtonHighlight)));
        QCOMPARE(Rgb(image, QPoint(39, 10)), Rgb(SystemColorValue(SystemColor::ThreeDDarkShadow)));
        QCOMPARE(Rgb(image, QPoint(38, 10)), Rgb(SystemColorValue(SystemColor::ButtonShadow)));
        QCOMPARE(Rgb(image, QPoint(2, 10)), Rgb(SystemColorValue(SystemColor::ButtonFace)));
        look.flatMenu = true;
        {
            QPainter painter(&image);
            PaintMenuFrame(painter, look, image.size());
        }
        const QRgb form = Rgb(look.formBackground);
        QCOMPARE(Rgb(image, QPoint(10, 0)), form);
        QCOMPARE(Rgb(image, QPoint(39, 10)), form);
        QCOMPARE(Rgb(image, QPoint(10, 29)), form);
        QCOMPARE(Rgb(image, QPoint(0, 1)), 0u);
        QCOMPARE(Rgb(image, QPoint(38, 10)), 0u);
        QCOMPARE(Rgb(image, QPoint(10, 28)), 0u);
        QCOMPARE(Rgb(image, QPoint(1, 2)), 0xFFFFFFu);
        QCOMPARE(Rgb(image, QPoint(37, 10)), 0xFFFFFFu);
        QCOMPARE(Rgb(image, QPoint(2, 10)), Rgb(SystemColorValue(SystemColor::ButtonFace)));
        QCOMPARE(Rgb(image, QPoint(3, 10)), 0xFF00FFu); // the items' area is left alone
    }

    // Qt's keys keep working in a skinned menu: arrows skip the separator but not the
    // hyphen item, a mnemonic chooses its item, Esc closes.
    void keysInAMenu() {
        OpenMenu m(TsuiUIStyle::MacOS);
        QVERIFY(m.show());
        QSignalSpy triggered(m.menu.get(), &QMenu::triggered);
        QTest::keyClick(m.menu.get(), Qt::Key_Down);
        QCOMPARE(m.menu->activeAction(), m.first);
        QTest::keyClick(m.menu.get(), Qt::Key_Down);
        QTest::keyClick(m.menu.get(), Qt::Key_Down);
        QCOMPARE(m.menu->activeAction(), m.hyphens);
        QTest::keyClick(m.menu.get(), Qt::Key_Up);
        QCOMPARE(m.menu->activeAction(), m.second);
        QTest::keyClick(m.menu.get(), Qt::Key_Q);
        QCOMPARE(triggered.count(), 1);
        QCOMPARE(triggered.first().first().value<QAction*>(), m.quit);
        QTRY_VERIFY(!m.menu->isVisible());

        QVERIFY(m.show());
        QTest::keyClick(m.menu.get(), Qt::Key_Escape);
        QTRY_VERIFY(!m.menu->isVisible());
        QCOMPARE(triggered.count(), 1);

        // Sub-menus added later are drawn by the same style; a caption turned into "-"
        // becomes a separator.
        QMenu* sub = m.menu->addMenu(QStringLiteral("More"));
        QCOMPARE(sub->style(), m.menu->MenuStyle());
        m.second->setText(QStringLiteral("-"));
        QVERIFY(m.second->isSeparator());
    }

    // One button per top-level item, in order, following captions and enabled states;
    // the height; no menu, no bar.
    void barFollowsTheMenu() {
        MenuWindow w;
        QCOMPARE(w.frame->Menu(), w.menu);
        QCOMPARE(w.menu->Form(), w.frame);
        QVERIFY(w.bar());
        QCOMPARE(w.captions(), QStringList({"&File", "&Help"}));
        QCOMPARE(w.bar()->geometry(), w.frame->MenuBarRect());
        QCOMPARE(w.bar()->Buttons()[0]->x(), 0);
        QCOMPARE(w.bar()->Buttons()[1]->x(), w.bar()->Buttons()[0]->width());

        w.help->setTitle(QStringLiteral("&Assist"));
        w.file->menuAction()->setEnabled(false);
        QCOMPARE(w.captions(), QStringList({"&File(off)", "&Assist"}));
        w.menu->addMenu(QStringLiteral("&Extra"));
        QCOMPARE(w.captions(), QStringList({"&File(off)", "&Assist", "&Extra"}));

        w.frame->setMenuBarHeight(30);
        QCOMPARE(w.bar()->height(), 30);
        for (const FrameMenuBarButton* button : w.bar()->Buttons())
            QCOMPARE(button->height(), 30);

        w.frame->setMenu(nullptr);
        QVERIFY(!w.bar());
        QVERIFY(!w.menu->Form());
        QCOMPARE(w.frame->TitleBar()->y(), 0);
        w.frame->setMenu(w.menu);
        QCOMPARE(w.bar()->Buttons().size(), 3);
        delete w.menu;
        QVERIFY(!w.bar());
    }

    // The bar and its highlighted button in each look: MacOS textures with the caption in
    // element 20; elsewhere the bar's colour and the button filled with element 19 and
    // framed with element 18.
    void barPixels_data() { measuredSizes_data(); }
    void barPixels() {
        QFETCH(TsuiUIStyle, style);
        MenuWindow w(style);
        w.frame->setMenuBarColor(QColor(0x11, 0x22, 0x33));
        QVERIFY(w.show());
        // Alt alone highlights the first button.
        QTest::keyPress(w.host.get(), Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(w.host.get(), Qt::Key_Alt, Qt::NoModifier);
        QCOMPARE(w.bar()->HotIndex(), 0);
        const QImage image = w.bar()->grab().toImage();
        if (!qEnvironmentVariableIsEmpty("ZD7240_GRAB_DIR")) {
            image.save(qEnvironmentVariable("ZD7240_GRAB_DIR") + QStringLiteral("/bar-") +
                       QTest::currentDataTag() + QStringLiteral(".png"));
        }
        const QRect hot = w.bar()->Buttons()[0]->geometry();
        const QPoint free(w.bar()->width() - 2, 5);
        if (style == TsuiUIStyle::MacOS) {
            const QImage bar = SkinLook::picture<SkinPicture::MacOSMenuBar>().whole();
            const QImage select = SkinLook::picture<SkinPicture::MacOSMenuSelect>().whole();
            QCOMPARE(Rgb(image, free), Rgb(bar, QPoint(0, 5)));
            // The texture of 21 rows stretched over the 22 of the button.
            QCOMPARE(Rgb(image, QPoint(hot.x() + 1, 0)), Rgb(select, QPoint(0, 0)));
            QCOMPARE(Rgb(image, QPoint(hot.x() + 1, 21)), Rgb(select, QPoint(0, 20)));
        } else {
            const SkinLook look = SkinLook::Resolve(nullptr, style);
            QCOMPARE(Rgb(image, free), 0x112233u);
            QCOMPARE(Rgb(image, hot.topLeft()), Rgb(look.color(SkinColor::MenuSelectedBorder)));
            QCOMPARE(Rgb(image, QPoint(hot.right(), hot.bottom())),
                     Rgb(look.color(SkinColor::MenuSelectedBorder)));
            QCOMPARE(Rgb(image, hot.topLeft() + QPoint(1, 1)),
                     Rgb(look.color(SkinColor::MenuSelectedBackground)));
        }
        if (style == TsuiUIStyle::WinXP) {
            QCOMPARE(Rgb(image, hot.topLeft()), 0x3169C6u);
            QCOMPARE(Rgb(image, hot.topLeft() + QPoint(1, 1)), 0xC6D3EFu);
        }
        // The caption is written in element 20.
        const QRgb captionColour =
            Rgb(SkinLook::Resolve(nullptr, style).color(SkinColor::MenuSelectedFont));
        int written = 0;
        for (int y = 0; y < hot.height(); ++y)
            for (int x = hot.x(); x <= hot.right(); ++x)
                written += Rgb(image, QPoint(x, y)) == captionColour;
        QVERIFY(written > 5);
    }

    // Alt with an access key opens that item's menu with its first item selected; Alt
    // alone, then the arrows walk the bar and open menus; in an open menu Left and Right
    // go on to the neighbour; Esc goes back to the bar, and again out of it.
    void keyboard() {
        MenuWindow w;
        QVERIFY(w.show());
        FrameMenuBar* bar = w.bar();
        QTest::keyClick(w.host.get(), Qt::Key_H, Qt::AltModifier);
        QTRY_VERIFY(w.help->isVisible());
        QCOMPARE(bar->OpenIndex(), 1);
        QCOMPARE(w.help->activeAction(), w.docs);
        QTest::keyClick(w.help, Qt::Key_Escape);
        QTRY_VERIFY(!w.help->isVisible());
        QCOMPARE(bar->HotIndex(), 1);
        QTest::keyClick(w.host.get(), Qt::Key_Escape);
        QCOMPARE(bar->HotIndex(), -1);

        QTest::keyPress(w.host.get(), Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(w.host.get(), Qt::Key_Alt, Qt::NoModifier);
        QCOMPARE(bar->HotIndex(), 0);
        QTest::keyClick(w.host.get(), Qt::Key_Right);
        QCOMPARE(bar->HotIndex(), 1);
        QTest::keyClick(w.host.get(), Qt::Key_Right);
        QCOMPARE(bar->HotIndex(), 0);
        QTest::keyClick(w.host.get(), Qt::Key_Down);
        QTRY_VERIFY(w.file->isVisible());
        QCOMPARE(w.file->activeAction(), w.newItem);
        QTest::keyClick(w.file, Qt::Key_Left);
        QTRY_VERIFY(w.help->isVisible());
        QVERIFY(!w.file->isVisible());
        QCOMPARE(bar->OpenIndex(), 1);
        QTest::keyClick(w.help, Qt::Key_Right);
        QTRY_VERIFY(w.file->isVisible());
        QTest::keyClick(w.file, Qt::Key_Escape);
        QTRY_VERIFY(!w.file->isVisible());
        QCOMPARE(bar->HotIndex(), 0);
        // Alt again leaves the bar; the key after a plain Alt+letter is no bar key.
        QTest::keyPress(w.host.get(), Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(w.host.get(), Qt::Key_Alt, Qt::NoModifier);
        QCOMPARE(bar->HotIndex(), -1);

        // A disabled item is skipped and its access key opens nothing.
        w.file->menuAction()->setEnabled(false);
        QTest::keyPress(w.host.get(), Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(w.host.get(), Qt::Key_Alt, Qt::NoModifier);
        QCOMPARE(bar->HotIndex(), 1);
        QTest::keyClick(w.host.get(), Qt::Key_Left);
        QCOMPARE(bar->HotIndex(), 1);
        QTest::keyClick(w.host.get(), Qt::Key_Escape);
        QTest::keyClick(w.host.get(), Qt::Key_F, Qt::AltModifier);
        QTest::qWait(50);
        QVERIFY(!w.file->isVisible());
    }

    // The menu's shortcuts, from a key that no control took: the item runs once, also
    // when Qt knows the shortcut itself; not while the window is inactive, not for a
    // disabled item, not without a menu; a control that uses the key keeps it.
    void shortcuts() {
        MenuWindow w;
        auto* edit = new QLineEdit(w.frame);
        edit->setGeometry(10, 60, 100, 20);
        QVERIFY(w.show());
        edit->setFocus();
        w.newItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
        w.docs->setShortcut(QKeySequence(Qt::Key_F1));
        QSignalSpy newRuns(w.newItem, &QAction::triggered);
        QSignalSpy docsRuns(w.docs, &QAction::triggered);

        QTest::keyClick(edit, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(newRuns.count(), 1);
        QTest::keyClick(w.host.get(), Qt::Key_F1);
        QCOMPARE(docsRuns.count(), 1);
        // Ctrl+A is the edit's (select all), not an item's, even if an item has it.
        w.docs->setShortcuts({QKeySequence(Qt::Key_F1), QKeySequence(Qt::CTRL | Qt::Key_A)});
        edit->setText(QStringLiteral("text"));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(docsRuns.count(), 1);
        QCOMPARE(edit->selectedText(), QStringLiteral("text"));

        // Qt runs a shortcut it knows of (the item is also the window's action); the key
        // never reaches the menu as well.
        w.host->addAction(w.newItem);
        QTest::keyClick(edit, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(newRuns.count(), 2);
        w.host->removeAction(w.newItem);

        const QKeyEvent ctrlE(QEvent::KeyPress, Qt::Key_E, Qt::ControlModifier);
        w.newItem->setEnabled(false);
        QVERIFY(!w.frame->HandleMenuShortCut(ctrlE));
        w.newItem->setEnabled(true);
        w.file->menuAction()->setEnabled(false);
        QVERIFY(!w.frame->HandleMenuShortCut(ctrlE));
        w.file->menuAction()->setEnabled(true);
        QCOMPARE(newRuns.count(), 2);

        // The frame's active flag off, then another window active.
        w.frame->TitleBar()->setFormActive(false);
        QVERIFY(!w.frame->HandleMenuShortCut(ctrlE));
        QTest::keyClick(edit, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(newRuns.count(), 2);
        w.frame->TitleBar()->setFormActive(true);
        QVERIFY(w.frame->HandleMenuShortCut(ctrlE));
        QCOMPARE(newRuns.count(), 3);
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!w.frame->TitleBar()->FormActive());
        QVERIFY(!w.frame->HandleMenuShortCut(ctrlE));
        QVERIFY(w.show());
        QVERIFY(w.frame->HandleMenuShortCut(ctrlE));
        QCOMPARE(newRuns.count(), 4);

        w.frame->setMenu(nullptr);
        QVERIFY(!w.frame->HandleMenuShortCut(ctrlE));
        QTest::keyClick(w.host.get(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(newRuns.count(), 4);
    }

    // A click on a button opens its menu below it; the button shows it as selected.
    void clickOpensTheMenu() {
        MenuWindow w(TsuiUIStyle::WinXP);
        QVERIFY(w.show());
        FrameMenuBarButton* button = w.bar()->Buttons()[1];
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        QTRY_VERIFY(w.help->isVisible());
        QCOMPARE(w.help->pos(), button->mapToGlobal(QPoint(0, button->height())));
        QVERIFY(w.bar()->ButtonFace(button).selected);
        w.help->close();
        QTRY_COMPARE(w.bar()->OpenIndex(), -1);
        QVERIFY(!w.bar()->ButtonFace(button).selected);
    }

    // However the menu closes (Esc, an item chosen, a click outside), its button goes
    // back to the normal face unless the pointer is over it; the pointer's leave went to
    // the open menu, so the button's own idea of being under the mouse is stale.
    void closedMenuLeavesNoHover() {
        MenuWindow w(TsuiUIStyle::WinXP);
        QVERIFY(w.show());
        FrameMenuBar* bar = w.bar();
        FrameMenuBarButton* button = bar->Buttons()[1];
        const auto open = [&] {
            button->setAttribute(Qt::WA_UnderMouse, true); // what the lost leave left
            QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
            QTRY_VERIFY(w.help->isVisible());
        };
        const QPoint away = button->mapToGlobal(QPoint(0, 300));
        QCursor::setPos(away);
        open();
        QTest::keyClick(w.help, Qt::Key_Escape);
        QTRY_VERIFY(!w.help->isVisible());
        QCOMPARE(bar->HotIndex(), -1); // opened by the mouse: Esc does not keep the bar
        QVERIFY(!bar->ButtonFace(button).hot);
        open();
        w.docs->trigger();
        w.help->close();
        QTRY_COMPARE(bar->OpenIndex(), -1);
        QVERIFY(!bar->ButtonFace(button).hot);
        // With the pointer over the button, it shows hover.
        QCursor::setPos(button->mapToGlobal(button->rect().center()));
        open();
        w.help->close();
        QTRY_COMPARE(bar->OpenIndex(), -1);
        QVERIFY(bar->ButtonFace(button).hot);
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
