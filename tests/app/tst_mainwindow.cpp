// TForm1 end to end: the window as the operator meets it, with the save dialog, the
// message dialog and the error report replaced by recorders where they would block.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeView>
#include <QtTest>
#include <memory>

#include "appfakes.h"
#include "appfonts.h"
#include "applicationstyle.h"
#include "builtinlooks.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuimainmenu.h"
#include "chrome/tsuimessagedialog.h"
#include "chrome/tsuititlebar.h"
#include "chrome/tsuititlebarpopupmenu.h"
#include "controls/tsuibutton.h"
#include "controls/tsuicombobox.h"
#include "controls/tsuiedit.h"
#include "controls/tsuigroupbox.h"
#include "controls/tsuipagecontrol.h"
#include "controls/tsuitabcontroltoppanel.h"
#include "controls/tsuitabsheet.h"
#include "damagedthemes.h"
#include "linkpage.h"
#include "look/styleselection.h"
#include "look/systemcolors.h"
#include "looksettings.h"
#include "paintrecorder.h"
#include "savedialog.h"
#include "tform1.h"
#include "theme/tsuithemefilewriter.h"
#include "themefile.h"
#include "userguidewindow.h"
#include "windowdescription.h"
#include "workedexamples.h"

using namespace zd7240;

using zd7240::test::WriteThemeFile;

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

using Texts = QList<QPair<QString, QString>>; // control name, text typed into it

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

// Records the addresses the shell is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

// Runs `action` on the first visible top-level widget of type T as soon as one shows up.
template <class T> void WhenShown(std::function<void(T*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<T*>(widget); found && found->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(found);
                return;
            }
        }
    });
    timer->start();
}

// One row per control of a kind on every page, named by its control name: the page's
// index and the control's index in its list.
template <class Rows> void ControlRows(Rows PageTable::*list) {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("item");
    for (std::size_t i = 0; i < Pages().size(); ++i) {
        const auto& rows = Pages()[i].*list;
        for (std::size_t k = 0; k < rows.size(); ++k)
            QTest::newRow(rows[k].name.data()) << int(i) << int(k);
    }
}

} // namespace

Q_DECLARE_METATYPE(Texts)

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TForm1> form_;
    std::unique_ptr<QTemporaryDir> dir_;
    FakeChooser chooser_;
    FakeMessenger messenger_;
    FakeErrors errors_;
    FakeConfirmer confirmer_;
    FakeChooser themeChooser_;
    // The settings folder for the whole run: QSettings reads XDG_CONFIG_HOME once.
    QTemporaryDir configHome_;

    LinkPage& PageByCaption(const QString& caption) {
        for (LinkPage* page : form_->Pages()) {
            if (Q(page->Table().caption) == caption)
                return *page;
        }
        qFatal("no page %s", qPrintable(caption));
    }

    LinkPage& Show(const QString& caption) {
        LinkPage& page = PageByCaption(caption);
        form_->suiPageControl1->setActivePage(page.Sheet());
        return page;
    }

    LinkPage& ShowIndex(int index) {
        form_->suiPageControl1->setActivePageIndex(index);
        return *form_->Pages()[static_cast<std::size_t>(index)];
    }

    void Type(LinkPage& page, const Texts& texts) {
        for (const auto& [name, text] : texts) {
            TsuiEdit* edit = page.Edit(name.toStdString());
            QVERIFY2(edit, qPrintable(name));
            edit->clear();
            QTest::keyClicks(edit, text);
        }
    }

    void Press(LinkPage& page, const ButtonRow& button) {
        auto* widget = page.Sheet()->findChild<TsuiButton*>(Q(button.name));
        QVERIFY(widget);
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    QString Target() const { return dir_->filePath(QStringLiteral("zd7240.txt")); }

    // Fields of the Lan--Mmx worked example, by control name.
    static Texts LanMmxExample() {
        const PageTable& page = *FindPage("Lan--Mmx");
        Texts texts;
        for (const auto& [key, text] : test::WorkedExampleNamed("Lan--Mmx optic").fields)
            texts.append({Q(FindField(page, key)->name), QString::fromUtf8(text)});
        return texts;
    }

private Q_SLOTS:
    void initTestCase() {
        // Choices from the "Look" menu are saved: never into the settings of whoever runs
        // the tests.
        QVERIFY(configHome_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
        InstallApplicationLook();
        QApplication::setApplicationDisplayName(QStringLiteral("Velmar Zd7240 Helper"));
    }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        chooser_ = FakeChooser();
        chooser_.answer = QFile::encodeName(Target()).toStdString();
        messenger_ = FakeMessenger();
        errors_ = FakeErrors();
        confirmer_ = FakeConfirmer();
        form_ = std::make_unique<TForm1>();
        form_->setFileChooser(&chooser_);
        form_->setMessenger(&messenger_);
        form_->setErrorReport(&errors_);
        form_->setConfirmer(&confirmer_);
        themeChooser_ = FakeChooser();
        form_->setThemeChooser(&themeChooser_);
        QFile::remove(look_settings::SettingsPath());
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    void cleanup() {
        form_.reset();
        dir_.reset();
    }

    // ---------------------------------------------------------------- the shell

    void windowSettings() {
        QCOMPARE(form_->windowTitle(), QStringLiteral("Velmar Zd7240 Helper  V2.1"));
        QCOMPARE(form_->size(), QSize(536, 575));
        QCOMPARE(form_->minimumWidth(), 130);
        QCOMPARE(form_->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(form_->font().pixelSize(), 11);
        // The free font of that name when fonts-wine is installed, DejaVu Sans otherwise.
        const bool haveFont = QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"));
        QCOMPARE(QFontInfo(form_->font()).family(),
                 haveFont ? QStringLiteral("MS Sans Serif") : QStringLiteral("DejaVu Sans"));
        // The frame's Font is the caption's; the panel keeps the window's font.
        const QFont caption = form_->suiForm1->TitleBar()->font();
        QCOMPARE(QFontInfo(caption).family(),
                 haveFont ? QStringLiteral("Tahoma") : QStringLiteral("DejaVu Sans"));
        QVERIFY(QFontInfo(caption).bold());
        QCOMPARE(caption.pixelSize(), 11);
        QCOMPARE(form_->suiForm1->TitleBar()->FontColor(), QColor(Qt::black));
        QCOMPARE(form_->suiForm1->font(), form_->font());
        // The window's background is the classic button face, whatever the desktop says.
        QCOMPARE(form_->palette().color(QPalette::Window), QColor(192, 192, 192));

        TsuiForm* frame = form_->suiForm1;
        QCOMPARE(frame->objectName(), QStringLiteral("suiForm1"));
        QCOMPARE(frame->UIStyle(), TsuiUIStyle::MacOS);
        QCOMPARE(frame->Caption(), form_->windowTitle());
        QCOMPARE(frame->BorderColor(), QColor(127, 127, 127));
        QCOMPARE(frame->Color(), QColor(231, 231, 231));
        QCOMPARE(frame->Menu(), form_->suiMainMenu1);
        QCOMPARE(frame->geometry(), QRect(1, 0, 534, 574));

        // The window manager is handed the icon in every size the desktop entry ships.
        QList<QSize> sizes;
        for (const int side : {16, 24, 32, 48, 64, 128, 256})
            sizes << QSize(side, side);
        QList<QSize> given = form_->windowIcon().availableSizes();
        std::sort(given.begin(), given.end(),
                  [](const QSize& a, const QSize& b) { return a.width() < b.width(); });
        QCOMPARE(given, sizes);
    }

    void pageControl() {
        TsuiPageControl* pages = form_->suiPageControl1;
        QCOMPARE(pages->geometry(), QRect(4, 56, 525, 513));
        QCOMPARE(pages->UIStyle(), TsuiUIStyle::MacOS);
        const QStringList sheets = {"suiTabSheet1", "suiTabSheet3", "suiTabSheet4", "suiTabSheet5",
                                    "suiTabSheet7", "suiTabSheet2", "suiTabSheet6", "suiTabSheet8"};
        const QStringList captions = {"Adsl--Mmx", "Adsl--Ces", "Adsl--Lan", "Lan--Mmx",
                                      "Lan--Ces",  "Adsl--Aiu", "Lan--Aiu",  "Aiu-Mmx"};
        QCOMPARE(pages->PageCount(), 8);
        QStringList names, sheetCaptions;
        QList<QRect> places;
        for (int i = 0; i < pages->PageCount(); ++i) {
            names << pages->Page(i)->objectName();
            sheetCaptions << pages->Page(i)->Caption();
            places << pages->Page(i)->geometry();
        }
        QCOMPARE(names, sheets);
        QCOMPARE(sheetCaptions, captions);
        QCOMPARE(places, QList<QRect>(8, QRect(3, 37, 519, 473)));
        TsuiTabControlTopPanel* row = pages->TopPanel();
        QCOMPARE(row->Tabs(), captions);
        QCOMPARE(pages->ActivePageIndex(), 0);
        QVERIFY(pages->Page(0)->isVisible());
        QVERIFY(!pages->Page(1)->isVisible());

        // The last tab, behind the scroll buttons when the row is too short for all eight.
        for (int i = 0; i < 8 && row->tabRect(7).isEmpty(); ++i)
            QTest::mouseClick(row, Qt::LeftButton, {}, row->scrollButtonRects().right.center());
        QVERIFY(!row->tabRect(7).isEmpty());
        QTest::mouseClick(row, Qt::LeftButton, {}, row->tabRect(7).center());
        QCOMPARE(pages->ActivePage()->Caption(), QStringLiteral("Aiu-Mmx"));
        QVERIFY(pages->Page(7)->isVisible());
        QVERIFY(!pages->Page(0)->isVisible());
    }

    void menuItems() {
        QMenu* help = form_->Help1;
        QCOMPARE(form_->suiMainMenu1->actions().size(), 1);
        QCOMPARE(form_->suiMainMenu1->actions().first()->text(), QStringLiteral("&Help"));
        QStringList texts;
        for (QAction* action : help->actions()) {
            QVERIFY(!action->isSeparator());
            QVERIFY(action->isEnabled());
            texts << action->objectName() + QLatin1Char('=') + action->text();
        }
        QCOMPARE(texts, QStringList({"Helpdocuments1=Help documents", "Onlinehelp1=Online help",
                                     "N1=-------------------", "Quit1=Quit"}));

        // The hyphen item can be chosen and does nothing.
        form_->N1->trigger();
        QVERIFY(form_->isVisible());
        QVERIFY(messenger_.messages.isEmpty());
    }

    // "Help documents" hands a help file in the current working directory to the shell,
    // and the program reports nothing, whatever the shell does. Without one it shows the
    // user guide compiled into the program. "Online help" always goes to the shell.
    void helpItemsOpenThroughTheShell_data() {
        QTest::addColumn<bool>("helpFile");
        QTest::newRow("help file in the current folder") << true;
        QTest::newRow("no help file") << false;
    }
    void helpItemsOpenThroughTheShell() {
        QFETCH(bool, helpFile);
        const QString kept = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_->path()));
        if (helpFile) {
            QFile chm(dir_->filePath(QStringLiteral("zd7240.chm")));
            QVERIFY(chm.open(QIODevice::WriteOnly));
        }
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        form_->Helpdocuments1->trigger();
        form_->Onlinehelp1->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QVERIFY(QDir::setCurrent(kept));

        QList<QUrl> expected;
        if (helpFile)
            expected << QUrl::fromLocalFile(dir_->filePath(QStringLiteral("zd7240.chm")));
        expected << QUrl(window_description::kOnlineHelpUrl);
        QCOMPARE(recorder.urls, expected);
        QVERIFY(messenger_.messages.isEmpty());
        QVERIFY(errors_.errors.isEmpty());
        const auto shownGuide = [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (qobject_cast<UserGuideWindow*>(widget) && widget->isVisible())
                    return true;
            }
            return false;
        };
        QCOMPARE(shownGuide(), !helpFile);
        if (helpFile)
            return;

        UserGuideWindow* guide = form_->UserGuide();
        QVERIFY(guide);
        QVERIFY(guide->isWindow());
        QVERIFY(QTest::qWaitForWindowExposed(guide));
        QCOMPARE(guide->Frame()->UIStyle(), TsuiUIStyle::MacOS);
        QCOMPARE(guide->windowTitle(), QStringLiteral("Velmar Zd7240 Helper - User guide"));
        // Opened centred over the window, on the window's screen.
        QVERIFY2(qAbs(guide->geometry().center().x() - form_->geometry().center().x()) <= 1,
                 qPrintable(QStringLiteral("%1 over %2")
                                .arg(guide->geometry().center().x())
                                .arg(form_->geometry().center().x())));
        QVERIFY(form_->screen()->availableGeometry().contains(guide->geometry()));
        // The text sits on the frame below its title bar and shows the guide as read
        // from Markdown: headings and table cells, no Markdown marks.
        QTextBrowser* text = guide->Browser();
        QVERIFY(text->isVisible());
        QVERIFY(text->geometry().top() >= guide->Frame()->TitleBar()->height());
        QVERIFY(guide->Frame()->rect().contains(text->geometry()));
        const QString shown = text->toPlainText();
        QStringList missing;
        for (const char* expectedText : {"The chassis walk", "Lan--Mmx", "Aiu-Mmx", "CR LF",
                                         "zd7240-gen --job chassis.json", "outside 1..4094"}) {
            if (!shown.contains(QLatin1String(expectedText)))
                missing << QLatin1String(expectedText);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
        QVERIFY(!shown.contains(QStringLiteral("## ")));
        // Headings stand out from the text: bold and larger.
        const QTextBlock title = text->document()->begin();
        QCOMPARE(title.blockFormat().headingLevel(), 1);
        const QFont heading = title.begin().fragment().charFormat().font();
        QVERIFY(heading.bold());
        QVERIFY2(heading.pixelSize() >= text->font().pixelSize() + 6,
                 qPrintable(QString::number(heading.pixelSize())));
        QVERIFY(!shown.contains(QStringLiteral("|---|")));
        // The compiled-in guide is the one installed beside the other documents.
        QFile source(QStringLiteral(ZD7240_USER_GUIDE));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QCOMPARE(UserGuideWindow::GuideText(), QString::fromUtf8(source.readAll()));

        // Asked again, the same window comes back; closed, it only hides.
        guide->close();
        QVERIFY(!guide->isVisible());
        QVERIFY(form_->isVisible());
        form_->Helpdocuments1->trigger();
        QCOMPARE(form_->UserGuide(), guide);
        QVERIFY(guide->isVisible());
    }

    void quitClosesTheWindow() {
        form_->Quit1->trigger();
        QVERIFY(!form_->isVisible());
    }

    // Every skinned control of the window publishes UIStyle and FileTheme and is MacOS;
    // a control added later takes the frame's style; a theme handed to a box reaches the
    // controls inside it, and when the theme goes away they fall back to DeepBlue.
    void skinnedControlsFollowTheFrame() {
        int skinned = 0;
        for (QObject* object : form_->findChildren<QObject*>()) {
            if (!QByteArray(object->metaObject()->className()).startsWith("Tsui"))
                continue;
            ++skinned;
            QVERIFY2(HasPublishedProperty(object, "FileTheme"), object->metaObject()->className());
            QCOMPARE(object->property("UIStyle").value<TsuiUIStyle>(), TsuiUIStyle::MacOS);
        }
        QVERIFY(skinned > 8 * 10);

        TsuiEdit probe(form_.get());
        QCOMPARE(probe.UIStyle(), TsuiUIStyle::MacOS);

        LinkPage& page = Show("Lan--Mmx");
        TsuiGroupBox* box = page.Box("suiGroupBox24");
        auto theme = std::make_unique<TsuiFileTheme>(form_.get());
        box->setFileTheme(theme.get());
        box->setUIStyle(TsuiUIStyle::WinXP);
        QCOMPARE(page.Edit("suiEdit401")->FileTheme(), theme.get());
        QCOMPARE(page.Edit("suiEdit401")->UIStyle(), TsuiUIStyle::WinXP);
        theme.reset();
        QCOMPARE(box->UIStyle(), TsuiUIStyle::DeepBlue);
        QCOMPARE(page.Edit("suiEdit401")->FileTheme(), nullptr);
        QCOMPARE(page.Edit("suiEdit401")->UIStyle(), TsuiUIStyle::DeepBlue);
    }

    // A theme file chosen while the window runs: a damaged one leaves the window exactly
    // as it was drawn and the message dialog says why; a sound one then takes effect.
    void damagedThemeKeepsTheLook_data() { zd7240::test::AddDamagedThemeRows(); }
    void damagedThemeKeepsTheLook() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        const QString damaged = dir_->filePath(QStringLiteral("damaged.theme"));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const QImage before = form_->grab().toImage();
        QVERIFY(!form_->UseThemeFile(damaged));
        QCOMPARE(messenger_.messages.size(), 1);
        const QString& message = messenger_.messages.first();
        QVERIFY2(message.startsWith(
                     QStringLiteral("Warning|The theme file \"damaged.theme\" cannot be used: ")),
                 qPrintable(message));
        QVERIFY2(message.contains(QRegularExpression(says.mid(1).prepend("cannot be used: "))),
                 qPrintable(message));
        QCOMPARE(form_->suiForm1->UIStyle(), TsuiUIStyle::MacOS);
        QCOMPARE(form_->suiForm1->FileTheme(), nullptr);
        QCOMPARE(form_->grab().toImage(), before);

        const QString sound =
            zd7240::test::WriteThemeFile(*dir_, QStringLiteral("xp.theme"),
                                         TsuiThemeFileWriter::FromBuiltinStyle(TsuiUIStyle::WinXP));
        QVERIFY(form_->UseThemeFile(sound));
        QCOMPARE(form_->suiForm1->UIStyle(), TsuiUIStyle::FromThemeFile);
        QCOMPARE(Show("Lan--Mmx").Edit("suiEdit401")->UIStyle(), TsuiUIStyle::FromThemeFile);
        // Offered now, the damaged file leaves the theme in force as it is.
        const QImage themed = form_->grab().toImage();
        QVERIFY(!form_->UseThemeFile(damaged));
        QCOMPARE(messenger_.messages.size(), 2);
        QCOMPARE(form_->suiForm1->FileTheme()->ThemeFile(), sound);
        QCOMPARE(form_->grab().toImage(), themed);
    }

    // ---------------------------------------------------------------- assistive technology

    // What a screen reader reads of a control, through the accessibility interface: its
    // role and name, and for a field the label that names it on the page.
    void accessibleControls_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("control"); // object name on the page; empty: the window
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label"); // the buddy label's text; empty: none expected
        const auto row = [](const char* tag, const char* page, const char* control,
                            QAccessible::Role role, const char* name, const char* label = "") {
            QTest::newRow(tag) << page << control << int(role) << name << label;
        };
        row("main window", "Adsl--Mmx", "", QAccessible::Window, "Velmar Zd7240 Helper  V2.1");
        row("first field", "Adsl--Mmx", "suiEdit1", QAccessible::EditableText,
            "Start adsl card information, Board id", "Board id:");
        row("same label, other box", "Adsl--Mmx", "suiEdit3", QAccessible::EditableText,
            "End adsl card information, Board id", "Board id:");
        row("swapped label", "Adsl--Mmx", "suiEdit9", QAccessible::EditableText,
            "Mmx card information, Port id", "Port id:");
        row("field of a nested box", "Adsl--Mmx", "suiEdit10", QAccessible::EditableText,
            "Mmx card information, Card type is Optic, Vpi", "Vpi:");
        row("read-only End field", "Adsl--Mmx", "suiEdit12", QAccessible::EditableText,
            "Mmx card information, Card type is Optic, End Vci", "End Vci:");
        row("caption with a trailing space", "Adsl--Mmx", "suiEdit37", QAccessible::EditableText,
            "Traffice Information, <Rx-cttr>", "<Rx-cttr>:");
        row("card type", "Adsl--Mmx", "suiComboBox1", QAccessible::ComboBox,
            "Mmx card information, The card type is", "The card type is: ");
        row("outer box", "Adsl--Mmx", "suiGroupBox4", QAccessible::Grouping,
            "Mmx card information");
        row("nested box", "Adsl--Mmx", "suiGroupBox6", QAccessible::Grouping, "Card type is Optic");
        row("button", "Adsl--Mmx", "suiButton2", QAccessible::Button, "Make file");
        row("Lan page field", "Lan--Mmx", "suiEdit401", QAccessible::EditableText,
            "Lan card information, Board id", "Board id:");
        row("second card type of a page", "Aiu-Mmx", "suiComboBox6", QAccessible::ComboBox, "",
            "The card type is: ");
    }
    void accessibleControls() {
        QFETCH(QString, page);
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, label);
        LinkPage& shown = Show(page);
        QObject* object = control.isEmpty() ? static_cast<QObject*>(form_.get())
                                            : shown.Sheet()->findChild<QWidget*>(control);
        QVERIFY2(object, qPrintable(control));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
        QVERIFY(iface && iface->isValid());
        QCOMPARE(iface->role(), QAccessible::Role(role));
        if (!name.isEmpty())
            QCOMPARE(iface->text(QAccessible::Name), name);
        QStringList labels;
        // The label on the page; Qt adds the box around as a label of its own.
        for (const auto& [other, relation] : iface->relations(QAccessible::Label)) {
            if (qobject_cast<QLabel*>(other->object()))
                labels << other->text(QAccessible::Name);
        }
        QCOMPARE(labels, label.isEmpty() ? QStringList() : QStringList{label});
    }

    // No two fields or card-type boxes of a page share a name, on any page (Aiu-Mmx has
    // two boxes captioned "Card type is Optic"), and each name holds its own box's caption.
    void accessibleNamesTellFieldsApart_data() { pages_data(); }
    void accessibleNamesTellFieldsApart() {
        QFETCH(int, index);
        LinkPage& page = ShowIndex(index);
        QHash<QString, QString> seen; // name -> control
        for (QWidget* control : page.Sheet()->findChildren<QWidget*>()) {
            if (!qobject_cast<TsuiEdit*>(control) && !qobject_cast<TsuiComboBox*>(control))
                continue;
            const QString name =
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            const auto* box = qobject_cast<TsuiGroupBox*>(control->parentWidget());
            QVERIFY(box);
            QVERIFY2(name.contains(box->title().trimmed() + QStringLiteral(", ")),
                     qPrintable(control->objectName() + QStringLiteral(": ") + name));
            QVERIFY2(!seen.contains(name),
                     qPrintable(name + QStringLiteral(": ") + seen.value(name) +
                                QStringLiteral(", ") + control->objectName()));
            seen.insert(name, control->objectName());
        }
        QVERIFY(seen.size() >= 10);
    }

    // The other card type renames the nested box and the fields whose box or label follow it.
    void accessibleNamesFollowTheCardType() {
        LinkPage& page = Show("Adsl--Mmx");
        page.Combo("suiComboBox1")->setCurrentIndex(1);
        const auto name = [&page](const char* control) {
            return QAccessible::queryAccessibleInterface(
                       page.Sheet()->findChild<QWidget*>(QLatin1String(control)))
                ->text(QAccessible::Name);
        };
        QCOMPARE(name("suiGroupBox6"), QStringLiteral("Card type is Ima"));
        QCOMPARE(name("suiEdit9"), QStringLiteral("Mmx card information, Group id"));
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(page.Edit("suiEdit9"));
        QStringList labels;
        for (const auto& [other, relation] : field->relations(QAccessible::Label)) {
            if (qobject_cast<QLabel*>(other->object()))
                labels << other->text(QAccessible::Name);
        }
        QCOMPARE(labels, QStringList{QStringLiteral("Group id:")});
        QCOMPARE(name("suiEdit10"), QStringLiteral("Mmx card information, Card type is Ima, Vpi"));
        page.Combo("suiComboBox1")->setCurrentIndex(0);
        QCOMPARE(name("suiEdit9"), QStringLiteral("Mmx card information, Port id"));
    }

    // The tab row is a page tab list with one page tab per sheet, the active one selected;
    // pressing a tab through the interface selects its sheet as a click does.
    void tabRowIsAPageTabList() {
        QAccessibleInterface* row =
            QAccessible::queryAccessibleInterface(form_->suiPageControl1->TopPanel());
        QVERIFY(row);
        QCOMPARE(row->role(), QAccessible::PageTabList);
        QCOMPARE(row->childCount(), 8);
        for (int i = 0; i < row->childCount(); ++i) {
            QAccessibleInterface* tab = row->child(i);
            QVERIFY(tab && tab->isValid());
            QCOMPARE(tab->role(), QAccessible::PageTab);
            QCOMPARE(tab->text(QAccessible::Name), Q(Pages()[std::size_t(i)].caption));
            QCOMPARE(tab->parent(), row);
            QCOMPARE(row->indexOfChild(tab), i);
            QVERIFY(tab->state().selectable);
            QCOMPARE(bool(tab->state().selected), i == 0);
            QVERIFY(!tab->rect().isEmpty());
            QCOMPARE(row->childAt(tab->rect().center().x(), tab->rect().center().y()), tab);
        }
        QAccessibleInterface* fourth = row->child(3);
        QAccessibleActionInterface* action = fourth->actionInterface();
        QVERIFY(action);
        QVERIFY(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
        action->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(form_->suiPageControl1->ActivePageIndex(), 3);
        QVERIFY(fourth->state().selected);
        QVERIFY(!row->child(0)->state().selected);
        // The window holds the row: the walk from the window down reaches it.
        QAccessibleInterface* walk = row;
        while (walk && walk->object() != form_.get())
            walk = walk->parent();
        QVERIFY(walk);
    }

    // The read-only End field shows that it has the focus: its caret is drawn.
    void readOnlyEndFieldShowsFocus() {
        LinkPage& page = Show("Adsl--Mmx");
        TsuiEdit* end = page.Edit("suiEdit12");
        QVERIFY(end->isReadOnly());
        end->setText(QStringLiteral("123"));
        page.Edit("suiEdit11")->setFocus();
        QTRY_VERIFY(page.Edit("suiEdit11")->hasFocus());
        const QImage unfocused = end->grab().toImage();
        end->setFocus();
        QTRY_VERIFY(end->hasFocus());
        const QImage focused = end->grab().toImage();
        QVERIFY(focused != unfocused);
        // The difference is a thin caret in the text colour, nothing else.
        int dark = 0;
        for (int y = 0; y < focused.height(); ++y) {
            for (int x = 0; x < focused.width(); ++x) {
                if (focused.pixel(x, y) != unfocused.pixel(x, y)) {
                    QCOMPARE(QColor(focused.pixel(x, y)), end->palette().color(QPalette::Text));
                    ++dark;
                }
            }
        }
        QVERIFY2(dark > 4 && dark < focused.height(), qPrintable(QString::number(dark)));
    }

    // A caption reads in every look, with the focus or without: the looks that mark the
    // focus with a bold caption draw it in a real bold face, where the regular face drawn
    // twice a pixel apart ran the letters together ("Make file" read "Make fle", "Default"
    // ended in a blot). A thin letter stays a glyph of its own, a blank column either
    // side: the "i" of "file", the "l" of "Default". Measured on the real buttons, at the
    // screen's ratio (the suite runs at 1; QT_SCALE_FACTOR=1.5 or 2 runs it there): the
    // columns where the caption leaves ink (a change of a third of the full contrast or
    // more, so that a smoothed letter's faint fringe is no ink), and the runs of them.
    void buttonCaptionLettersStayApart_data() { zd7240::test::AddLookRows(); }
    void buttonCaptionLettersStayApart() {
        QFETCH(TsuiUIStyle, style);
        form_->SetLook(style);
        LinkPage& page = Show("Adsl--Mmx");
        form_->activateWindow();
        const struct {
            const char* button;
            int thin; // letters two pixels wide or less (at ratio 1) that stand alone
        } buttons[] = {{"suiButton2", 1}, {"suiButton1", 1}};
        for (const auto& [name, thin] : buttons) {
            auto* button = page.Sheet()->findChild<TsuiButton*>(QLatin1String(name));
            QVERIFY(button);
            const QString caption = button->Caption();
            // The widths of the runs of ink, left to right; ink is where the caption changes
            // the button's picture.
            const auto runs = [button, &caption](bool focused) {
                if (focused)
                    button->setFocus();
                else
                    button->clearFocus();
                QCoreApplication::processEvents();
                const QImage with = button->grab().toImage();
                button->setCaption(QString());
                const QImage without = button->grab().toImage();
                button->setCaption(caption);
                QList<int> widths;
                int run = 0;
                for (int x = 0; x <= with.width(); ++x) {
                    bool ink = false;
                    for (int y = 0; x < with.width() && y < with.height() && !ink; ++y) {
                        const QColor a = with.pixelColor(x, y), b = without.pixelColor(x, y);
                        ink = qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) +
                                  qAbs(a.blue() - b.blue()) >=
                              255;
                    }
                    if (ink) {
                        ++run;
                    } else if (run > 0) {
                        widths << run;
                        run = 0;
                    }
                }
                return widths;
            };
            const int thinWidth = qCeil(2 * button->devicePixelRatioF());
            for (const bool focused : {false, true}) {
                const QList<int> widths = runs(focused);
                QVERIFY(button->hasFocus() == focused);
                const qsizetype thinRuns = std::count_if(
                    widths.begin(), widths.end(), [thinWidth](int w) { return w <= thinWidth; });
                QStringList shown;
                for (int w : widths)
                    shown << QString::number(w);
                QVERIFY2(thinRuns >= thin && widths.size() >= 5,
                         qPrintable(QStringLiteral("%1 \"%2\"%3: runs %4")
                                        .arg(QLatin1String(name), caption,
                                             focused ? QStringLiteral(" focused") : QString(),
                                             shown.join(QLatin1Char(' ')))));
            }
        }
    }

    // The window's look as every skinned object of it has it (title bar, its buttons and
    // system menu, main menu, page controls, fields, the message dialog), each named with
    // what differs; empty when all agree.
    QStringList LookDisagreements(TsuiUIStyle style, TsuiFileTheme* theme) {
        QStringList wrong;
        int skinned = 0;
        for (QObject* object : form_->findChildren<QObject*>()) {
            if (!HasPublishedProperty(object, "UIStyle") ||
                !HasPublishedProperty(object, "FileTheme"))
                continue;
            ++skinned;
            const auto has = object->property("UIStyle").value<TsuiUIStyle>();
            const auto* hasTheme = object->property("FileTheme").value<TsuiFileTheme*>();
            // A control on its own theme needs none to be given: only the style counts.
            if (has != style || (theme && hasTheme != theme))
                wrong << QStringLiteral("%1 %2: %3")
                             .arg(QString::fromLatin1(object->metaObject()->className()),
                                  object->objectName(), QString::number(static_cast<int>(has)));
        }
        if (skinned < 8 * 10)
            wrong << QStringLiteral("only %1 skinned objects").arg(skinned);
        return wrong;
    }

    static QStringList ItemTexts(const QMenu& menu) {
        QStringList texts;
        for (const QAction* item : menu.actions())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
        return texts;
    }

    // The title bar's system menu has a "Look" sub-menu with the five looks and "Theme
    // file…"; choosing a look gives it to every skinned object of the window at once,
    // marks it, and saves it as the next start's look.
    void lookMenuGivesTheWholeWindowTheLook_data() {
        QTest::addColumn<TsuiUIStyle>("style");
        QTest::addColumn<QString>("saved");
        for (const auto& [style, name] :
             {std::pair{TsuiUIStyle::WinXP, "WinXP"}, std::pair{TsuiUIStyle::DeepBlue, "DeepBlue"},
              std::pair{TsuiUIStyle::Protein, "Protein"},
              std::pair{TsuiUIStyle::BlueGlass, "BlueGlass"},
              std::pair{TsuiUIStyle::MacOS, "MacOS"}})
            QTest::newRow(name) << style << QStringLiteral("[General]\nlook=%1\n").arg(name);
    }
    void lookMenuGivesTheWholeWindowTheLook() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(QString, saved);
        TsuiTitleBarPopupMenu* menu = form_->suiForm1->TitleBar()->SystemMenu();
        QMenu* looks = menu->LookMenu();
        QVERIFY(looks->menuAction()->isVisible());
        QVERIFY(menu->actions().contains(looks->menuAction()));
        QCOMPARE(looks->title(), QStringLiteral("Look"));
        QCOMPARE(ItemTexts(*looks), QStringList({"MacOS", "WinXP", "DeepBlue", "Protein",
                                                 "BlueGlass", "-", "Theme file\u2026"}));
        QVERIFY(menu->LookItem(TsuiUIStyle::MacOS)->isChecked());

        // From another look, so that MacOS is a change too.
        menu->LookItem(style == TsuiUIStyle::MacOS ? TsuiUIStyle::Protein : TsuiUIStyle::MacOS)
            ->trigger();
        const quint64 readsBefore = TsuiSkinned::LookReadCount();
        menu->LookItem(style)->trigger();
        // Every skinned object of the window reads the new look once.
        int skinned = 0;
        for (QObject* object : form_->findChildren<QObject*>())
            skinned += dynamic_cast<TsuiSkinned*>(object) ? 1 : 0;
        QCOMPARE(TsuiSkinned::LookReadCount() - readsBefore, quint64(skinned));
        QCOMPARE(form_->Look(), style);
        QCOMPARE(LookDisagreements(style, nullptr), QStringList());
        QCOMPARE(form_->suiMessageDialog1->UIStyle(), style);
        QVERIFY(menu->LookItem(style)->isChecked());
        QCOMPARE(ReadAll(look_settings::SettingsPath()), saved.toUtf8());
        QCOMPARE(look_settings::ReadSavedLook(),
                 std::optional(look_settings::SavedLook{style, {}}));
        QCOMPARE(errors_.errors, QStringList());
    }

    // "Theme file…" asks the theme chooser; a theme goes to the whole window at once (and
    // its absolute path is saved), a file that is no theme is reported and changes
    // nothing, a cancel changes nothing; a built-in look chosen after it lets the theme go.
    void lookMenuLoadsAThemeFile() {
        TsuiTitleBarPopupMenu* menu = form_->suiForm1->TitleBar()->SystemMenu();
        const QString theme =
            WriteThemeFile(*dir_, QStringLiteral("blue glass.theme"),
                           TsuiThemeFileWriter::FromBuiltinStyle(TsuiUIStyle::BlueGlass));
        QVERIFY(!theme.isEmpty());
        // The user guide window, open, is a window of the program too (shown from a
        // folder without a help file).
        const QString kept = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_->path()));
        form_->Helpdocuments1->trigger();
        QVERIFY(QDir::setCurrent(kept));
        QVERIFY(form_->UserGuide());
        TsuiForm* guide = form_->UserGuide()->Frame();

        themeChooser_.answer = QFile::encodeName(theme).toStdString();
        menu->LookItem(TsuiUIStyle::FromThemeFile)->trigger();
        QCOMPARE(themeChooser_.calls, 1);
        QCOMPARE(form_->Look(), TsuiUIStyle::FromThemeFile);
        QPointer<TsuiFileTheme> loaded = form_->LookTheme();
        QVERIFY(loaded && loaded->ThemeLoaded());
        QCOMPARE(loaded->ThemeFile(), theme);
        QCOMPARE(LookDisagreements(TsuiUIStyle::FromThemeFile, loaded), QStringList());
        QCOMPARE(form_->suiMessageDialog1->FileTheme(), loaded.data());
        QCOMPARE(guide->UIStyle(), TsuiUIStyle::FromThemeFile);
        QCOMPARE(guide->FileTheme(), loaded.data());
        QVERIFY(menu->LookItem(TsuiUIStyle::FromThemeFile)->isChecked());
        QCOMPARE(look_settings::ReadSavedLook(),
                 std::optional(look_settings::SavedLook{TsuiUIStyle::FromThemeFile, theme}));

        const QString notes = dir_->filePath(QStringLiteral("notes.theme"));
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a theme\n") > 0);
        file.close();
        for (const std::optional<std::string>& answer :
             {std::optional<std::string>(QFile::encodeName(notes).toStdString()),
              std::optional<std::string>()}) {
            themeChooser_.answer = answer;
            menu->LookItem(TsuiUIStyle::FromThemeFile)->trigger();
            QCOMPARE(form_->LookTheme(), loaded.data());
            QCOMPARE(LookDisagreements(TsuiUIStyle::FromThemeFile, loaded), QStringList());
            QVERIFY(menu->LookItem(TsuiUIStyle::FromThemeFile)->isChecked());
            QCOMPARE(look_settings::ReadSavedLook(),
                     std::optional(look_settings::SavedLook{TsuiUIStyle::FromThemeFile, theme}));
        }
        QCOMPARE(errors_.errors.size(), 1);
        QVERIFY2(errors_.errors.first().startsWith("'" + notes + "': not a theme file"),
                 qPrintable(errors_.errors.first()));

        // Back to a built-in look from the theme file's own colours: the theme goes.
        menu->LookItem(TsuiUIStyle::DeepBlue)->trigger();
        QCOMPARE(LookDisagreements(TsuiUIStyle::DeepBlue, nullptr), QStringList());
        QCOMPARE(guide->UIStyle(), TsuiUIStyle::DeepBlue);
        QTRY_VERIFY(!loaded);
        QCOMPARE(look_settings::ReadSavedLook(),
                 std::optional(look_settings::SavedLook{TsuiUIStyle::DeepBlue, {}}));
    }

    // ---------------------------------------------------------------- the dialogs

    void saveDialogSettings() {
        SaveDialog& save = form_->SaveDialog1();
        QFileDialog& dialog = save.Dialog();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Save your configure to"));
        QCOMPARE(dialog.nameFilters(), QStringList({"Text File(*.txt)", "All File(*.*)"}));
        QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("Text File(*.txt)"));
        QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
        QVERIFY(!dialog.testOption(QFileDialog::ReadOnly));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(dialog.defaultSuffix().isEmpty());
        QVERIFY(dialog.isSizeGripEnabled());
        QCOMPARE(save.FileName(), QStringLiteral("zd7240.txt"));
    }

    // The list's columns read whole when the dialog opens: a file's size, its type and
    // its date fit their columns, and the name column keeps room.
    void saveDialogColumnsRead() {
        QFile file(dir_->filePath(QStringLiteral("lines.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(392, 'x')) == 392);
        file.close();
        QFileDialog& dialog = form_->SaveDialog1().Dialog();
        dialog.setDirectory(dir_->path());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.size(), SaveDialog::kSize);
        auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        QVERIFY(list);
        QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 1);
        const QModelIndex row = list->model()->index(0, 0, list->rootIndex());
        for (int column = 1; column < list->header()->count(); ++column) {
            const QString text = row.siblingAtColumn(column).data().toString();
            const int needed = list->fontMetrics().horizontalAdvance(text);
            QVERIFY2(list->header()->sectionSize(column) > needed,
                     qPrintable(QStringLiteral("%1: %2 < %3")
                                    .arg(text)
                                    .arg(list->header()->sectionSize(column))
                                    .arg(needed)));
        }
        QVERIFY(list->header()->sectionSize(0) >= 200);
        dialog.reject();
    }

    // The real dialog: a confirmed name comes back and is proposed next time; a cancel
    // answers nothing and keeps the remembered name.
    void saveDialogRemembersConfirmedName() {
        SaveDialog& save = form_->SaveDialog1();
        const QString chosen = dir_->filePath(QStringLiteral("lines"));
        QString proposedFirst;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            proposedFirst = dialog->selectedFiles().value(0);
            // The operator types a full path into the name field and confirms.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(chosen);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const std::optional<std::string> first = save.ChooseFile();
        QVERIFY(first);
        QCOMPARE(QFile::decodeName(first->c_str()), chosen);
        QCOMPARE(QFileInfo(proposedFirst).fileName(), QStringLiteral("zd7240.txt"));

        QString proposedSecond;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            proposedSecond = dialog->selectedFiles().value(0);
            dialog->reject();
        });
        QVERIFY(!save.ChooseFile());
        QCOMPARE(proposedSecond, chosen);
        QCOMPARE(save.FileName(), chosen);
    }

    // An operator saves one page's script, switches to another page and presses "Make
    // file" and Enter: the dialog proposes the first script's name, and replacing it is
    // asked first. "No" goes back to the dialog with nothing written; "Yes" replaces it.
    void saveDialogAsksBeforeReplacing_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("No keeps the file") << false;
        QTest::newRow("Yes replaces it") << true;
    }
    void saveDialogAsksBeforeReplacing() {
        QFETCH(bool, replace);
        form_->setFileChooser(nullptr); // the window's own save dialog
        const QString adslFile = dir_->filePath(QStringLiteral("adsl-0-1-4.txt"));
        const auto confirmIn = [](QFileDialog* dialog) {
            QMetaObject::invokeMethod(dialog, "accept");
        };

        LinkPage& adsl = Show("Adsl--Mmx");
        Type(adsl, {{"suiEdit1", "0"},
                    {"suiEdit2", "1"},
                    {"suiEdit3", "0"},
                    {"suiEdit4", "4"},
                    {"suiEdit10", "1"},
                    {"suiEdit11", "40"}});
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(adslFile);
            confirmIn(dialog);
        });
        Press(adsl, adsl.Table().makeButton);
        QCOMPARE(messenger_.messages, QStringList{kCongratulation});
        const QByteArray adslScript = ReadAll(adslFile);
        QCOMPARE(adslScript.count("\r\n"), 4 * 32);

        messenger_.messages.clear();
        LinkPage& lan = Show("Lan--Mmx");
        Type(lan, LanMmxExample());
        QString proposed, question;
        bool stillOpen = false;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            proposed = dialog->selectedFiles().value(0);
            WhenShown<QMessageBox>([&](QMessageBox* box) {
                question = box->text();
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            confirmIn(dialog); // Enter on the proposed name
            stillOpen = dialog->isVisible();
            if (stillOpen)
                dialog->reject();
        });
        Press(lan, lan.Table().makeButton);
        QCOMPARE(proposed, adslFile);
        QVERIFY2(question.contains(QStringLiteral("adsl-0-1-4.txt")), qPrintable(question));
        QCOMPARE(stillOpen, !replace);
        if (replace) {
            QCOMPARE(messenger_.messages, QStringList{kCongratulation});
            QCOMPARE(ReadAll(adslFile).left(20), QByteArray("pvc lan 0/5 vlanid 1"));
        } else {
            QVERIFY(messenger_.messages.isEmpty());
            QCOMPARE(form_->LastResult().outcome, FrameOutcome::Cancelled);
            QCOMPARE(ReadAll(adslFile), adslScript);
        }
    }

    // What the skin does not draw follows the application's own style and classic
    // colours, not the desktop's: a card-type box drops its list down below itself, and
    // the list highlights in classic navy on white.
    void unskinnedPartsUseTheApplicationLook() {
        LinkPage& page = Show("Lan--Mmx");
        TsuiComboBox* combo = page.Combo("suiComboBox401");
        combo->showPopup();
        QWidget* list = combo->view()->window();
        QTRY_VERIFY(list->isVisible());
        QVERIFY(list->geometry().top() >= combo->mapToGlobal(QPoint(0, combo->height() - 1)).y());
        QCOMPARE(combo->view()->palette().color(QPalette::Highlight), QColor(0, 0, 128));
        QCOMPARE(combo->view()->palette().color(QPalette::Base), QColor(255, 255, 255));
        combo->hidePopup();
        QCOMPARE(form_->SaveDialog1().Dialog().palette().color(QPalette::Window),
                 SystemColorValue(SystemColor::ButtonFace));
    }

    void messageDialog() {
        TsuiMessageDialog* dialog = form_->suiMessageDialog1;
        QCOMPARE(dialog->Caption(), QStringLiteral("Warning"));
        QCOMPARE(dialog->ButtonCount(), 1);
        QCOMPARE(dialog->property("IconType").toInt(), int(TsuiMessageDialog::suiWarning));
        QCOMPARE(dialog->UIStyle(), TsuiUIStyle::MacOS);
        QCOMPARE(dialog->property("CaptionFontColor").value<QColor>(), QColor(Qt::black));
        QCOMPARE(dialog->Position(), TsuiMessageDialog::poScreenCenter);
        QCOMPARE(dialog->ButtonCursor(), Qt::PointingHandCursor);

        dialog->setCaption(QStringLiteral("Congratulation"));
        dialog->setText(QStringLiteral("The file is ready for you! Please check it!"));
        QString title, text;
        QStringList buttons;
        WhenShown<QDialog>([&](QDialog* window) {
            title = window->windowTitle();
            text = window->findChild<QLabel*>(QStringLiteral("lbl"))->text();
            for (auto* button : window->findChildren<TsuiButton*>())
                buttons << button->Caption();
            QTest::mouseClick(window->findChild<TsuiButton*>(), Qt::LeftButton);
        });
        QCOMPARE(dialog->ShowModal(), 1);
        QCOMPARE(title, QStringLiteral("Congratulation"));
        QCOMPARE(text, QStringLiteral("The file is ready for you! Please check it!"));
        QCOMPARE(buttons, QStringList{"OK"});

        // Closed from the title bar: Cancel.
        WhenShown<QDialog>([](QDialog* window) { window->close(); });
        QCOMPARE(dialog->ShowModal(), 2);
    }

    // The dialog's caption is black on the MacOS title bar the window opens with; in a look
    // chosen for the window it takes that look's caption colour, so that it can be read on
    // the look's title bar: the caption's pixels stand out from the bar around them.
    void messageDialogCaptionInEveryLook_data() {
        QTest::addColumn<TsuiUIStyle>("style");
        QTest::addColumn<bool>("fromFile");
        QTest::addColumn<QColor>("caption");
        QTest::newRow("as the window opens") << TsuiUIStyle::MacOS << false << QColor(Qt::black);
        QTest::newRow("MacOS chosen") << TsuiUIStyle::MacOS << false << QColor(Qt::black);
        QTest::newRow("WinXP") << TsuiUIStyle::WinXP << false << QColor(Qt::white);
        QTest::newRow("DeepBlue") << TsuiUIStyle::DeepBlue << false << QColor(Qt::white);
        QTest::newRow("Protein") << TsuiUIStyle::Protein << false << QColor(Qt::white);
        QTest::newRow("BlueGlass") << TsuiUIStyle::BlueGlass << false << QColor(Qt::white);
        QTest::newRow("theme file") << TsuiUIStyle::FromThemeFile << true << QColor(Qt::white);
    }
    void messageDialogCaptionInEveryLook() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(bool, fromFile);
        QFETCH(QColor, caption);
        TsuiFileTheme* theme = nullptr;
        if (fromFile) {
            theme = new TsuiFileTheme(form_.get());
            theme->setThemeFile(
                WriteThemeFile(*dir_, QStringLiteral("xp.theme"),
                               TsuiThemeFileWriter::FromBuiltinStyle(TsuiUIStyle::WinXP)));
            QVERIFY(theme->ThemeLoaded());
        }
        if (QByteArray(QTest::currentDataTag()) != "as the window opens") {
            // Through another look first, so that nothing is left from the one before.
            form_->SetLook(style == TsuiUIStyle::WinXP ? TsuiUIStyle::MacOS : TsuiUIStyle::WinXP);
            form_->SetLook(style, theme);
        }
        TsuiMessageDialog* dialog = form_->suiMessageDialog1;
        QCOMPARE(dialog->property("CaptionFontColor").value<QColor>(), caption);

        dialog->setCaption(QStringLiteral("Warning"));
        const std::unique_ptr<QDialog> window = dialog->CreateMessageWindow();
        auto* frame = window->findChild<TsuiForm*>(QStringLiteral("suiForm1"));
        QVERIFY(frame);
        QCOMPARE(frame->UIStyle(), style);
        TsuiTitleBar* bar = frame->TitleBar();
        QCOMPARE(bar->FontColor(), caption);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        bar->setFormActive(true);
        // The caption's band: from the bar's left to its first button, where only the
        // bar's picture and the caption are drawn.
        const QImage picture = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int left = picture.width();
        for (const QRect& rect : bar->ButtonLayout().rects) {
            if (!rect.isNull())
                left = qMin(left, rect.left());
        }
        QVERIFY(left > 40);
        // The caption's own colour stands in the band, and the bar behind it differs from
        // it clearly in brightness (grey value), which is what makes text readable.
        const int captionGrey = qGray(caption.rgb());
        int inCaption = 0;
        qint64 grey = 0;
        int count = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < left; ++x) {
                const int pixel = qGray(picture.pixel(x, y));
                grey += pixel;
                ++count;
                if (qAbs(pixel - captionGrey) < 24)
                    ++inCaption;
            }
        }
        const int meanGrey = static_cast<int>(grey / count);
        QVERIFY2(inCaption > 20, qPrintable(QString::number(inCaption)));
        QVERIFY2(qAbs(meanGrey - captionGrey) > 100,
                 qPrintable(QStringLiteral("bar %1, caption %2").arg(meanGrey).arg(captionGrey)));
        window->hide();
    }

    // The pointer moving over the title bar's buttons and caption and off the window
    // repaints the buttons that lose and get the hover look, and nothing outside the bar.
    void hoverRepaintsOnlyTheTitleBar() {
        TsuiTitleBar* bar = form_->suiForm1->TitleBar();
        const QRect barRect(bar->mapTo(form_.get(), QPoint()), bar->size());
        QList<QPoint> stops;
        QList<QRect> buttons;
        for (const QRect& rect : bar->ButtonLayout().rects) {
            if (rect.isNull())
                continue;
            stops << bar->mapTo(form_.get(), rect.center());
            buttons << rect.translated(barRect.topLeft());
        }
        QVERIFY(buttons.size() >= 3);
        // Then the caption, the first button again and off the window.
        QList<QRect> under = buttons;
        stops << bar->mapTo(form_.get(), QPoint(bar->width() / 3, bar->height() / 2)) << stops[0]
              << QPoint(-20, -20);
        under << QRect() << buttons[0] << QRect();
        QTest::mouseMove(form_.get(), QPoint(form_->width() / 2, form_->height() / 2));
        PaintRecorder::Settle();

        PaintRecorder recorder(form_.get());
        QRect hovered;
        for (int i = 0; i < stops.size(); ++i) {
            recorder.Clear();
            QTest::mouseMove(form_.get(), stops[i]);
            PaintRecorder::Settle();
            const QRect now = under[i];
            QVERIFY2(recorder.Counts().contains(bar), qPrintable(QString::number(i)));
            QVERIFY2(recorder.PaintedOutside(bar).isEmpty(), qPrintable(QString::number(i)));
            QVERIFY(QRegion(barRect).contains(recorder.Region().boundingRect()));
            // Both the button that was under the pointer and the one now under it.
            for (const QRect& button : {hovered, now}) {
                if (!button.isNull())
                    QVERIFY((QRegion(button) - recorder.Region()).isEmpty());
            }
            hovered = now;
        }
    }

    // ---------------------------------------------------------------- the pages

    void pages_data() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < zd7240::Pages().size(); ++i)
            QTest::newRow(zd7240::Pages()[i].slug.data()) << static_cast<int>(i);
    }

    // Every control the table names exists under its name, with its text, caption and
    // place; labels stand beside their edits, and of a swapped pair only "Port id:" shows.
    void groupBuiltFromTable_data() { ControlRows(&PageTable::groups); }
    void groupBuiltFromTable() {
        QFETCH(int, index);
        QFETCH(int, item);
        LinkPage& page = ShowIndex(index);
        const PageTable& row = page.Table();
        const GroupRow& group = row.groups[static_cast<std::size_t>(item)];
        TsuiGroupBox* box = page.Box(group.name);
        QVERIFY(box);
        QCOMPARE(box->title(), Q(group.caption));
        QCOMPARE(box->parentWidget()->objectName(),
                 group.parent.empty() ? Q(row.sheet) : Q(group.parent));
        if (group.parent.empty()) {
            QCOMPARE(box->geometry(),
                     QRect(group.rect.left, group.rect.top, group.rect.width, group.rect.height));
        }
    }

    void fieldBuiltFromTable_data() { ControlRows(&PageTable::fields); }
    void fieldBuiltFromTable() {
        QFETCH(int, index);
        QFETCH(int, item);
        LinkPage& page = ShowIndex(index);
        const FieldRow& field = page.Table().fields[static_cast<std::size_t>(item)];
        TsuiEdit* edit = page.Edit(field.name);
        QVERIFY(edit);
        QCOMPARE(edit->text(), Q(field.initial));
        QCOMPARE(edit->parentWidget()->objectName(), Q(field.group));
        QCOMPARE(edit->isReadOnly(), field.role == FieldRole::End);
        if (field.role == FieldRole::End)
            QCOMPARE(edit->Color(), SystemColorValue(SystemColor::ThreeDLight));
        QVERIFY(edit->isVisible());
        QStringList shown;
        for (QLabel* label : edit->parentWidget()->findChildren<QLabel*>()) {
            if (label->buddy() == edit && label->isVisible()) {
                shown << label->text();
                QVERIFY(label->geometry().right() < edit->geometry().left());
            }
        }
        QCOMPARE(shown, QStringList{Q(field.label)});
    }

    void selectorBuiltFromTable_data() { ControlRows(&PageTable::selectors); }
    void selectorBuiltFromTable() {
        QFETCH(int, index);
        QFETCH(int, item);
        LinkPage& page = ShowIndex(index);
        const SelectorRow& selector = page.Table().selectors[static_cast<std::size_t>(item)];
        TsuiComboBox* combo = page.Combo(selector.name);
        QVERIFY(combo);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), Q(selector.items[0]));
        QCOMPARE(combo->itemText(1), Q(selector.items[1]));
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(combo->size(), QSize(77, 21));
        if (!selector.swap.field.empty()) {
            QLabel* first = page.Label(selector.swap.firstName);
            QLabel* other = page.Label(selector.swap.otherName);
            QVERIFY(first && other);
            QCOMPARE(first->text(), Q(selector.swap.firstText));
            QCOMPARE(other->text(), Q(selector.swap.otherText));
            QCOMPARE(first->geometry(), other->geometry());
            QVERIFY(first->isVisible() && !other->isVisible());
        }
    }

    // The notes of a page show in their boxes, and its two buttons stand where the table
    // puts them with their captions.
    void notesAndButtonsBuiltFromTable_data() { pages_data(); }
    void notesAndButtonsBuiltFromTable() {
        QFETCH(int, index);
        LinkPage& page = ShowIndex(index);
        const PageTable& row = page.Table();
        QStringList missing;
        for (const NoteRow& note : row.notes) {
            bool found = false;
            for (QLabel* label : page.Box(note.group)->findChildren<QLabel*>())
                found = found || (label->text() == Q(note.text) && label->isVisible());
            if (!found)
                missing << Q(note.text);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
        QStringList buttons, expected;
        for (const ButtonRow* button : {&row.defaultButton, &row.makeButton}) {
            const QRect rect(button->rect.left, button->rect.top, button->rect.width,
                             button->rect.height);
            expected << QStringLiteral("%1 '%2' at %3,%4 %5x%6")
                            .arg(Q(button->name), Q(button->caption))
                            .arg(rect.x())
                            .arg(rect.y())
                            .arg(rect.width())
                            .arg(rect.height());
            auto* widget = page.Sheet()->findChild<TsuiButton*>(Q(button->name));
            if (!widget)
                continue;
            const QRect at = widget->geometry();
            buttons << QStringLiteral("%1 '%2' at %3,%4 %5x%6")
                           .arg(Q(button->name), widget->Caption())
                           .arg(at.x())
                           .arg(at.y())
                           .arg(at.width())
                           .arg(at.height());
        }
        QCOMPARE(buttons, expected);
    }

    // Tab goes through a page box by box: the card-type box, the fields in table order,
    // then the nested box, and ends on the two buttons.
    void tabOrderOfLanMmx() {
        LinkPage& page = Show("Lan--Mmx");
        const QStringList expected = {"suiEdit401",     "suiEdit402", "suiEdit403", "suiEdit404",
                                      "suiComboBox401", "suiEdit405", "suiEdit406", "suiEdit407",
                                      "suiEdit408",     "suiEdit409", "suiEdit410", "suiEdit45",
                                      "suiEdit46",      "suiEdit47",  "suiEdit48",  "suiButton401",
                                      "suiButton402"};
        QStringList chain;
        QWidget* widget = page.Edit("suiEdit401");
        for (int guard = 0; guard < 200 && chain.size() < expected.size(); ++guard) {
            if (widget->focusPolicy() & Qt::TabFocus && page.Sheet()->isAncestorOf(widget))
                chain << widget->objectName();
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(chain, expected);
    }

    // The worked examples of all eight pages, typed into the window and written through
    // "Make file": End value, every line ended by CR LF, and the whole file or its line
    // count with the first and the last line, as the generator's tests check them.
    void makeFileWorkedExamples_data() {
        QTest::addColumn<int>("example");
        for (std::size_t i = 0; i < test::kWorkedExamples.size(); ++i)
            QTest::newRow(test::kWorkedExamples[i].name) << int(i);
    }
    void makeFileWorkedExamples() {
        QFETCH(int, example);
        const test::WorkedExample& e = test::kWorkedExamples[std::size_t(example)];

        LinkPage& p = Show(Q(e.page));
        for (const auto& [key, text] : e.fields) {
            if (const SelectorRow* selector = FindSelector(p.Table(), key)) {
                p.Combo(selector->name)->setCurrentIndex(QByteArray(text).toInt());
            } else {
                const FieldRow* field = FindField(p.Table(), key);
                QVERIFY2(field, key);
                Type(p, {{Q(field->name), QString::fromUtf8(text)}});
            }
        }
        Press(p, p.Table().makeButton);

        QCOMPARE(messenger_.messages, QStringList{kCongratulation});
        QVERIFY(errors_.errors.isEmpty());
        QVERIFY(confirmer_.questions.isEmpty()); // nothing the device refuses
        QCOMPARE(chooser_.calls, 1);
        QCOMPARE(p.Edit(p.Table().endField)->text(), QString::fromUtf8(e.end));
        const QByteArray bytes = ReadAll(Target());
        QVERIFY(bytes.endsWith("\r\n"));
        QList<QByteArray> written = bytes.chopped(2).split('\n');
        QCOMPARE(bytes.count("\r\n"), written.size());
        for (QByteArray& line : written)
            line.chop(line.endsWith('\r') ? 1 : 0);
        if (e.count == 0) {
            QList<QByteArray> expected;
            for (const std::string& line : e.lines)
                expected << QByteArray::fromStdString(line);
            QCOMPARE(written, expected);
        } else {
            QCOMPARE(written.size(), qsizetype(e.count));
            QCOMPARE(written.first(), QByteArray::fromStdString(e.lines.front()));
            QCOMPARE(written.last(), QByteArray::fromStdString(e.lines.back()));
        }
    }

    // The example of the Lan--Mmx page, byte for byte, into a file that existed before.
    // In every look, from a built-in style or a theme file, the whole window (frame,
    // menu, every control, the message dialog) takes it, and the page writes the same
    // bytes.
    void lanMmxExampleByteForByte_data() {
        QTest::addColumn<TsuiUIStyle>("style");
        QTest::addColumn<bool>("fromFile");
        QTest::newRow("MacOS") << TsuiUIStyle::MacOS << false;
        QTest::newRow("WinXP") << TsuiUIStyle::WinXP << false;
        QTest::newRow("BlueGlass") << TsuiUIStyle::BlueGlass << false;
        QTest::newRow("theme file") << TsuiUIStyle::FromThemeFile << true;
    }
    void lanMmxExampleByteForByte() {
        QFETCH(TsuiUIStyle, style);
        QFETCH(bool, fromFile);
        TsuiFileTheme* theme = nullptr;
        if (fromFile) {
            theme = new TsuiFileTheme(form_.get());
            theme->setThemeFile(
                WriteThemeFile(*dir_, QStringLiteral("protein.theme"),
                               TsuiThemeFileWriter::FromBuiltinStyle(TsuiUIStyle::Protein)));
            QVERIFY(theme->ThemeLoaded());
        }
        form_->SetLook(style, theme);
        int skinned = 0;
        for (QObject* object : form_->findChildren<QObject*>()) {
            if (!HasPublishedProperty(object, "UIStyle"))
                continue;
            ++skinned;
            const char* name = object->metaObject()->className();
            QCOMPARE(object->property("UIStyle").value<TsuiUIStyle>(), style);
            QVERIFY2(qvariant_cast<QObject*>(object->property("FileTheme")) == theme, name);
        }
        QVERIFY(skinned > 0);

        {
            QFile old(Target());
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("a much longer old content that must not survive\r\n");
        }
        LinkPage& page = Show("Lan--Mmx");
        Type(page, LanMmxExample());
        Press(page, page.Table().makeButton);
        QCOMPARE(page.Edit("suiEdit410")->text(), QStringLiteral("43"));
        QCOMPARE(ReadAll(Target()),
                 QByteArray("pvc lan 0/5 vlanid 100 off atm 0/7/0 optic 1 40 1 1 000 000\r\n"
                            "pvc lan 0/5 vlanid 101 off atm 0/7/0 optic 1 41 1 1 000 000\r\n"
                            "pvc lan 0/5 vlanid 102 off atm 0/7/0 optic 1 42 1 1 000 000\r\n"
                            "pvc lan 0/5 vlanid 103 off atm 0/7/0 optic 1 43 1 1 000 000\r\n"));
        QCOMPARE(messenger_.messages, QStringList{kCongratulation});
    }

    // "Default" puts every text back, the End field included, and leaves the card types,
    // the captions and the labels as the operator set them.
    void defaultKeepsCardType_data() { pages_data(); }
    void defaultKeepsCardType() {
        QFETCH(int, index);
        LinkPage& page = ShowIndex(index);
        const PageTable& row = page.Table();
        for (const SelectorRow& selector : row.selectors)
            page.Combo(selector.name)->setCurrentIndex(1);
        for (const FieldRow& field : row.fields)
            page.Edit(field.name)->setText(QStringLiteral("987"));
        Press(page, row.defaultButton);
        QStringList texts, defaults;
        for (const FieldRow& field : row.fields) {
            texts << Q(field.name) + '=' + page.Edit(field.name)->text();
            defaults << Q(field.name) + '=' + Q(field.defaults);
        }
        QCOMPARE(texts, defaults);
        for (const SelectorRow& selector : row.selectors) {
            QCOMPARE(page.Combo(selector.name)->currentIndex(), 1);
            QCOMPARE(page.Box(selector.captionGroup)->title(), Q(selector.captions[1]));
            if (!selector.swap.field.empty())
                QVERIFY(page.Label(selector.swap.otherName)->isVisible());
        }
        QVERIFY(messenger_.messages.isEmpty());
    }

    // Each card-type box relabels its own nested box and swaps its own label pair, and
    // leaves every text and the other side alone.
    void cardTypeSwitch_data() { ControlRows(&PageTable::selectors); }
    void cardTypeSwitch() {
        QFETCH(int, index);
        QFETCH(int, item);
        const int selector = item;
        LinkPage& page = ShowIndex(index);
        const PageTable& row = page.Table();
        const SelectorRow& mine = row.selectors[static_cast<std::size_t>(selector)];
        // Each field holds the number of its control name, to be told apart.
        QStringList texts;
        for (const FieldRow& field : row.fields) {
            page.Edit(field.name)->setText(Q(field.name).mid(7));
            texts << page.Edit(field.name)->text();
        }
        const auto textsNow = [&] {
            QStringList now;
            for (const FieldRow& field : row.fields)
                now << page.Edit(field.name)->text();
            return now;
        };
        const auto captionsNow = [&] {
            QStringList captions;
            for (const SelectorRow& s : row.selectors)
                captions << page.Box(s.captionGroup)->title();
            return captions;
        };
        const QStringList before = captionsNow();

        TsuiComboBox* combo = page.Combo(mine.name);
        QTest::keyClick(combo, Qt::Key_Down); // the operator picks the second entry
        QCOMPARE(combo->currentIndex(), 1);
        QStringList expected = before;
        expected[selector] = Q(mine.captions[1]);
        QCOMPARE(captionsNow(), expected);
        if (!mine.swap.field.empty()) {
            QVERIFY(!page.Label(mine.swap.firstName)->isVisible());
            QVERIFY(page.Label(mine.swap.otherName)->isVisible());
        }
        QCOMPARE(textsNow(), texts);

        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(captionsNow(), before);
        if (!mine.swap.field.empty()) {
            QVERIFY(page.Label(mine.swap.firstName)->isVisible());
            QVERIFY(!page.Label(mine.swap.otherName)->isVisible());
        }
    }

    // A refused press: one "Warning", no save dialog, the End field as it was, and the
    // first failing field in check order focused with its text selected. Each page's
    // "Make file" is wired to its own page: on a fresh window the first field fails.
    void warningFocusesFirstFailingField_data() { pages_data(); }
    void warningFocusesFirstFailingField() {
        QFETCH(int, index);
        LinkPage& page = ShowIndex(index);
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        const FieldRow* first = CheckedFields(page.Table())[0];
        page.Edit(first->name)->setText(QStringLiteral("1 2"));
        page.Edit(page.Table().endField)->setText(QStringLiteral("77"));
        Press(page, page.Table().makeButton);
        QCOMPARE(messenger_.messages, QStringList{kWarning});
        QCOMPARE(chooser_.calls, 0);
        QCOMPARE(page.Edit(page.Table().endField)->text(), QStringLiteral("77"));
        QCOMPARE(QApplication::focusWidget(), page.Edit(first->name));
        QCOMPARE(page.Edit(first->name)->selectedText(), QStringLiteral("1 2"));
    }

    // Later in the check order: Lan--Mmx with its Lan card filled stops at "Vpi:".
    void warningStopsAtLaterField() {
        LinkPage& page = Show("Lan--Mmx");
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        Type(page, {{"suiEdit401", "0"},
                    {"suiEdit402", "5"},
                    {"suiEdit403", "100"},
                    {"suiEdit404", "103"},
                    {"suiEdit408", "+1"},
                    {"suiEdit409", "x"}});
        Press(page, page.Table().makeButton);
        QCOMPARE(messenger_.messages, QStringList{kWarning});
        QCOMPARE(form_->LastResult().failedField->name, std::string_view("suiEdit408"));
        QCOMPARE(QApplication::focusWidget(), page.Edit("suiEdit408"));
        QCOMPARE(page.Edit("suiEdit408")->selectedText(), QStringLiteral("+1"));
        QVERIFY(page.Edit("suiEdit410")->text().isEmpty());
        QVERIFY(!QFile::exists(Target()));
    }

    // Cancel in the save dialog: the End value is shown, no file, no message.
    void cancelInChooserLeavesNoFile() {
        chooser_.answer.reset();
        LinkPage& page = Show("Lan--Mmx");
        Type(page, LanMmxExample());
        Press(page, page.Table().makeButton);
        QCOMPARE(chooser_.calls, 1);
        QCOMPARE(page.Edit("suiEdit410")->text(), QStringLiteral("43"));
        QVERIFY(messenger_.messages.isEmpty());
        QVERIFY(errors_.errors.isEmpty());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Values the device refuses although they are digits: after the check and the End
    // value, before the save dialog, the message dialog lists them, one line each as
    // zd7240-gen words them, with "OK" and "Cancel". "OK" goes on to the save dialog and
    // writes the script as typed; "Cancel" ends the press with no file and no message.
    void hintsAskBeforeSaving_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<int>("cardType");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("ok");

        const Texts vlans = LanMmxExample() + Texts{{"suiEdit403", "4090"}, {"suiEdit404", "4100"}};
        const QStringList vlanLines = {
            R"("End Vlan id:" in "Lan card information": VLAN id 4100 is outside 1..4094)"};
        QTest::newRow("VLAN 4090..4100, OK")
            << "Lan--Mmx" << vlans << 0 << "50" << vlanLines << true;
        QTest::newRow("VLAN 4090..4100, Cancel")
            << "Lan--Mmx" << vlans << 0 << "50" << vlanLines << false;
        // Several hints in table order; a nested box is named as the card type shows it.
        QTest::newRow("VPI and VCI on an Ima card")
            << "Lan--Mmx"
            << (LanMmxExample() + Texts{{"suiEdit408", "300"}, {"suiEdit409", "65534"}}) << 1
            << "65537"
            << QStringList{R"("Vpi:" in "Mmx card information / Card type is Ima": VPI 300 is above 255)",
                           R"("End Vci:" in "Mmx card information / Card type is Ima": VCI 65537 is above 65535)"}
            << true;
        QTest::newRow("Adsl slot 7, Cancel")
            << "Adsl--Mmx"
            << Texts{{"suiEdit1", "0"},  {"suiEdit2", "7"},   {"suiEdit3", "0"}, {"suiEdit4", "9"},
                     {"suiEdit10", "1"}, {"suiEdit11", "40"}, {"suiEdit13", "2"}}
            << 0 << "45"
            << QStringList{R"("Slot id:" in "Start adsl card information": slot 7 holds no )"
                           R"(subscriber card: the walk writes no line for it, the End value )"
                           R"(counts it)"}
            << false;
        QTest::newRow("port number 0, OK: an empty file")
            << "Adsl--Lan" << Texts{{"suiEdit301", "0"},   {"suiEdit302", "1"}, {"suiEdit303", "0"},
                                    {"suiEdit304", "2"},   {"suiEdit307", "0"}, {"suiEdit308", "5"},
                                    {"suiEdit309", "100"}, {"suiEdit311", "0"}}
            << 0 << "99"
            << QStringList{R"("Port number:" in "Default adsl port number per card": a port )"
                           R"(count of 0 gives no line)",
                           R"("End Vlan id:" in "Lan card information": the walk writes no )"
                           R"(line: the file will be empty)"}
            << true;
    }
    void hintsAskBeforeSaving() {
        QFETCH(QString, page);
        QFETCH(Texts, texts);
        QFETCH(int, cardType);
        QFETCH(QString, end);
        QFETCH(QStringList, lines);
        QFETCH(bool, ok);
        form_->setConfirmer(nullptr); // the window's own message dialog asks

        LinkPage& p = Show(page);
        Type(p, texts);
        if (!p.Table().selectors.empty())
            p.Combo(p.Table().selectors[0].name)->setCurrentIndex(cardType);
        QString title, text, endShown;
        QStringList buttons;
        int choosersBefore = -1;
        WhenShown<QDialog>([&](QDialog* window) {
            title = window->windowTitle();
            text = window->findChild<QLabel*>(QStringLiteral("lbl"))->text();
            endShown = p.Edit(p.Table().endField)->text();
            choosersBefore = chooser_.calls;
            QList<TsuiButton*> found = window->findChildren<TsuiButton*>();
            std::sort(found.begin(), found.end(),
                      [](TsuiButton* a, TsuiButton* b) { return a->x() < b->x(); });
            for (TsuiButton* button : found)
                buttons << button->Caption();
            QTest::mouseClick(found.value(ok ? 0 : 1), Qt::LeftButton);
        });
        Press(p, p.Table().makeButton);

        QCOMPARE(title, QStringLiteral("Warning"));
        QCOMPARE(text.split(QLatin1Char('\n')), lines);
        QCOMPARE(buttons, QStringList({"OK", "Cancel"}));
        QCOMPARE(endShown, end); // the End value is shown before the question
        QCOMPARE(choosersBefore, 0);
        QCOMPARE(form_->suiMessageDialog1->ButtonCount(), 1); // one button again after
        QVERIFY(errors_.errors.isEmpty());
        if (ok) {
            QCOMPARE(chooser_.calls, 1);
            QCOMPARE(form_->LastResult().outcome, FrameOutcome::Written);
            QCOMPARE(messenger_.messages, QStringList{kCongratulation});
            QVERIFY(QFile::exists(Target()));
            QCOMPARE(static_cast<qsizetype>(form_->LastResult().lines),
                     ReadAll(Target()).count("\r\n"));
        } else {
            QCOMPARE(chooser_.calls, 0);
            QCOMPARE(form_->LastResult().outcome, FrameOutcome::Cancelled);
            QVERIFY(messenger_.messages.isEmpty());
            QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        }
    }

    // The question goes through the window's seam: the injected one is asked with the same
    // caption and lines, and a refused input is never asked about.
    void hintsGoThroughTheConfirmer() {
        LinkPage& page = Show("Lan--Mmx");
        Type(page, LanMmxExample() + Texts{{"suiEdit403", "0"}});
        confirmer_.answer = false;
        Press(page, page.Table().makeButton);
        QCOMPARE(
            confirmer_.questions,
            QStringList{
                R"(Warning|"Start Vlan id:" in "Lan card information": VLAN id 0 is outside 1..4094)"});
        QCOMPARE(chooser_.calls, 0);
        QVERIFY(messenger_.messages.isEmpty());

        confirmer_.questions.clear();
        Type(page, {{"suiEdit409", "x"}});
        Press(page, page.Table().makeButton);
        QVERIFY(confirmer_.questions.isEmpty());
        QCOMPARE(messenger_.messages, QStringList{kWarning});
    }

    // Failures beyond the check go to the error report, never with the success message.
    void failuresGoToTheErrorReport() {
        LinkPage& page = Show("Lan--Mmx");
        Type(page, LanMmxExample() + Texts{{"suiEdit404", "99999999999"}});
        Press(page, page.Table().makeButton);
        QCOMPARE(errors_.errors,
                 QStringList{QStringLiteral("'99999999999' is not a valid integer value")});
        QCOMPARE(chooser_.calls, 0);
        QVERIFY(page.Edit("suiEdit410")->text().isEmpty());

        errors_.errors.clear();
        chooser_.answer = QFile::encodeName(dir_->filePath("missing/zd7240.txt")).toStdString();
        Type(page, {{"suiEdit404", "103"}});
        Press(page, page.Table().makeButton);
        QCOMPARE(errors_.errors.size(), 1);
        QVERIFY(messenger_.messages.isEmpty());
        QCOMPARE(page.Edit("suiEdit410")->text(), QStringLiteral("43"));
    }

    // A range too long to wait for: the progress dialog appears with the count of lines
    // and its Cancel ends the job, keeping the old file and showing no message.
    void longJobCancelKeepsOldFile() {
        const QByteArray old = "old script\r\n";
        {
            QFile file(Target());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        form_->setProgressDelay(0);
        LinkPage& page = Show("Lan--Mmx");
        Type(page, LanMmxExample() + Texts{{"suiEdit403", "0"}, {"suiEdit404", "2147483647"}});
        QString label;
        WhenShown<QProgressDialog>([&](QProgressDialog* dialog) {
            label = dialog->labelText();
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        Press(page, page.Table().makeButton);
        QCOMPARE(form_->LastResult().outcome, FrameOutcome::Aborted);
        QVERIFY(form_->LastResult().lines > 0);
        QVERIFY2(label.contains(QStringLiteral("lines")), qPrintable(label));
        QCOMPARE(ReadAll(Target()), old);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"zd7240.txt"});
        QVERIFY(messenger_.messages.isEmpty());
        QVERIFY(errors_.errors.isEmpty());
        QCOMPARE(confirmer_.questions.size(), 1); // the wrap was pointed out first
        // 2147483647 - 0 + 40 wraps in 32 bits.
        QCOMPARE(page.Edit("suiEdit410")->text(), QStringLiteral("-2147483609"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
