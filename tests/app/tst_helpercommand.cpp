// The command line of zd7240-helper: looks, theme files, --grab and --describe, and the
// refusals, run in this process; then the program itself without a display.

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QtTest>

#include "../lib/damagedthemes.h"
#include "../lib/themefile.h"
#include "applicationstyle.h"
#include "helpercommand.h"
#include "helperoptions.h"
#include "looksettings.h"
#include "pagetable.h"
#include "tform1.h"
#include "theme/themelisting.h"
#include "theme/tsuifiletheme.h"
#include "theme/tsuithemefilereader.h"
#include "theme/tsuithemefilewriter.h"

using namespace zd7240;

using zd7240::test::WriteThemeFile;

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct Run {
    int status;
    QString out;
    QString err;
};

Run RunWith(const QStringList& options) {
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = RunHelper(QStringList{QStringLiteral("zd7240-helper")} + options, out, err);
    out.flush();
    err.flush();
    return run;
}

// The described widgets by object name (unnamed ones left out).
QHash<QString, QJsonObject> ByName(const QString& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        qFatal("not a JSON array: %s", qPrintable(error.errorString()));
    QHash<QString, QJsonObject> byName;
    for (const QJsonValue value : document.array()) {
        const QJsonObject object = value.toObject();
        if (!object.value(QStringLiteral("name")).toString().isEmpty())
            byName.insert(object.value(QStringLiteral("name")).toString(), object);
    }
    return byName;
}

// The look the window opened in when the program ran with `options` and a window: the
// window is looked at once shown, then closed, which ends the run.
struct Opened {
    int status = -1;
    TsuiUIStyle look = TsuiUIStyle::FromThemeFile;
    QString themeFile;
};
Opened OpenWindowWith(const QStringList& options) {
    Opened opened;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&opened, &probe] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<TForm1*>(widget);
            if (!form || !form->isVisible())
                continue;
            probe.stop();
            opened.look = form->Look();
            if (form->LookTheme())
                opened.themeFile = form->LookTheme()->ThemeFile();
            form->close();
        }
    });
    probe.start();
    opened.status = RunWith(options).status;
    return opened;
}

} // namespace

class TestHelperCommand : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString Path(const QString& name) const { return dir_.filePath(name); }

    QString WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // The saved look of the runs here (and of the program started as a process) lives
        // in the test's folder; QSettings reads XDG_CONFIG_HOME once.
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("config")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Path(QStringLiteral("config"))));
        InstallApplicationLook();
        WriteFile(QStringLiteral("notes.txt"), "not a theme\n");
        // A link to where a refused picture would go, that picture not being there.
        QVERIFY(QFile::link(Path(QStringLiteral("refused.png")), Path(QStringLiteral("link.png"))));
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(!WriteThemeFile(dir_, QStringLiteral("xp.theme"),
                                TsuiThemeFileWriter::FromBuiltinStyle(TsuiUIStyle::WinXP))
                     .isEmpty());
    }

    // Every refusal: its status, a message on stderr that says what is wrong, nothing on
    // stdout and no picture.
    void refusals_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString grab = QStringLiteral("--grab");
        const QString picture = Path(QStringLiteral("refused.png"));
        QTest::newRow("unknown look")
            << QStringList{"--look", "Aqua", grab, picture} << 64 << "unknown look 'Aqua'";
        QTest::newRow("empty look")
            << QStringList{"--look=", grab, picture} << 64 << "unknown look ''";
        QTest::newRow("FromThemeFile is no look")
            << QStringList{"--look", "FromThemeFile", grab, picture} << 64 << "unknown look";
        QTest::newRow("page past the last")
            << QStringList{"--page", "8", grab, picture} << 64 << "no page '8' (pages are 0 to 7)";
        QTest::newRow("negative page")
            << QStringList{"--page", "-1", grab, picture} << 64 << "no page '-1'";
        QTest::newRow("page not a number")
            << QStringList{"--page", "two", grab, picture} << 64 << "no page 'two'";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 64 << "frobnicate";
        QTest::newRow("missing value") << QStringList{"--look"} << 64 << "look";
        QTest::newRow("stray argument")
            << QStringList{"MacOS"} << 64 << "unexpected argument 'MacOS'";
        QTest::newRow("look and theme")
            << QStringList{"--look", "WinXP", "--theme", Path("xp.theme"), grab, picture} << 64
            << "cannot be used together";
        QTest::newRow("theme not a theme")
            << QStringList{"--theme", Path("notes.txt"), grab, picture} << 65
            << "notes.txt': not a theme file: ";
        QTest::newRow("theme missing")
            << QStringList{"--theme", Path("none.theme"), grab, picture} << 66 << "no such file";
        QTest::newRow("theme is a folder")
            << QStringList{"--theme", dir_.path(), grab, picture} << 66 << "not a regular file";
        QTest::newRow("self-test with describe")
            << QStringList{"--selftest-frame", "--describe"} << 64 << "--selftest-frame shows";
        QTest::newRow("grab into a missing folder")
            << QStringList{grab, Path("no/such/folder/w.png")} << 73 << "No such file or directory";
        QTest::newRow("grab under a file")
            << QStringList{grab, Path("notes.txt/w.png")} << 73 << "Not a directory";
        QTest::newRow("grab onto a folder")
            << QStringList{grab, dir_.path()} << 73 << "Is a directory";
        QTest::newRow("dialog picture into a missing folder")
            << QStringList{grab, picture, "--grab-dialog", Path("no/such/folder/d.png")} << 73
            << "Cannot create file";
        QTest::newRow("menu picture without a name")
            << QStringList{grab, picture, "--grab-menu="} << 64 << "--grab-menu needs a file name";
        // Each option once, whatever it is: a second value would silently win.
        const QString other = Path(QStringLiteral("other.png"));
        QTest::newRow("grab twice")
            << QStringList{grab, other, grab, picture} << 64 << "--grab is given twice";
        QTest::newRow("dialog picture twice")
            << QStringList{"--grab-dialog", picture, "--grab-dialog=" + other} << 64
            << "--grab-dialog is given twice";
        QTest::newRow("page twice") << QStringList{"--page", "1", grab, picture, "--page", "1"}
                                    << 64 << "--page is given twice";
        QTest::newRow("look twice") << QStringList{"--look", "WinXP", "--look=MacOS", grab, picture}
                                    << 64 << "--look is given twice";
        QTest::newRow("theme twice")
            << QStringList{"--theme", Path("xp.theme"), "--theme", Path("xp.theme"), grab, picture}
            << 64 << "--theme is given twice";
        QTest::newRow("describe twice") << QStringList{"--describe", grab, picture, "--describe"}
                                        << 64 << "--describe is given twice";
        QTest::newRow("-h and --help")
            << QStringList{"-h", "--help"} << 64 << "--help is given twice";
        // Two pictures into one file, by the same name or another name of it.
        QTest::newRow("window and dialog pictures into one file")
            << QStringList{grab, picture, "--grab-dialog", picture} << 64 << "name the same file";
        QTest::newRow("the same file by another path")
            << QStringList{"--grab-menu", dir_.path() + "/sub/../refused.png", grab, picture} << 64
            << "name the same file";
        QTest::newRow("the same file through a link")
            << QStringList{grab, picture, "--grab-menu", Path(QStringLiteral("link.png"))} << 64
            << "name the same file";
    }
    void refusals() {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, message);
        const Run run = RunWith(options);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.startsWith(QStringLiteral("zd7240-helper: ")), qPrintable(run.err));
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        // One line says it, once, with nothing of it repeated.
        QCOMPARE(run.err.count(message), 1);
        QVERIFY2(run.err.count(QStringLiteral("not a theme file")) <= 1, qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QVERIFY(!QFile::exists(Path(QStringLiteral("refused.png"))));
        QVERIFY(!QFile::exists(Path(QStringLiteral("other.png"))));
    }

    void helpAndVersion() {
        const Run help = RunWith({QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        for (const char* word : {"--look STYLE", "--theme FILE", "--page N", "--grab FILE",
                                 "--grab-dialog FILE", "--grab-menu FILE", "--describe",
                                 "--selftest-frame", "MacOS, WinXP, DeepBlue, Protein, BlueGlass"})
            QVERIFY2(help.out.contains(QLatin1String(word)), word);
        QVERIFY(help.err.isEmpty());
        const Run version = RunWith({QStringLiteral("--version")});
        QCOMPARE(version.status, 0);
        QCOMPARE(version.out, QStringLiteral("zd7240-helper 2.1\n"));
    }

    // The frame's self-test: every step reported, the look with the wider border applied
    // while maximized, status 0 once the close button closed the window.
    void frameSelfTest_data() {
        QTest::addColumn<QString>("look");
        QTest::addColumn<QString>("borders");
        QTest::newRow("MacOS") << QStringLiteral("MacOS") << QStringLiteral("border 1 to 3");
        QTest::newRow("WinXP") << QStringLiteral("WinXP") << QStringLiteral("border 3 to 1");
    }
    void frameSelfTest() {
        QFETCH(QString, look);
        QFETCH(QString, borders);
        const Run run = RunWith({"--look", look, "--selftest-frame"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.at(0), QStringLiteral("platform: offscreen"));
        QVERIFY(lines.at(1).startsWith(QLatin1String("shown: ")));
        QVERIFY(lines.at(2).startsWith(QLatin1String("maximized: ")));
        QVERIFY2(lines.at(3).contains(borders), qPrintable(lines.at(3)));
        QCOMPARE(lines.at(4), QStringLiteral("restored: ") + lines.at(1).mid(7));
        QCOMPARE(lines.at(5), QStringLiteral("closed"));
    }

    // A picture of the window in each look, any case, on any page: the window's size,
    // and different pages and looks give different pictures. The frame keeps its panel at 534 x 574
    // and the window grows around a wider border (WinXP's is 3 pixels).
    static QSize WindowSize(int border) { return QSize(534 + 2 * border, 574 + border / 2 + 1); }
    void grab_data() {
        QTest::addColumn<QString>("look");
        for (const char* look : {"MacOS", "winxp", "DEEPBLUE", "Protein", "BlueGlass"})
            QTest::newRow(look) << QString::fromLatin1(look);
    }
    void grab() {
        QFETCH(QString, look);
        QImage pages[2];
        for (int page : {0, 7}) {
            const QString path = Path(QStringLiteral("%1-%2.png").arg(look).arg(page));
            const Run run =
                RunWith({"--look", look, "--page", QString::number(page), "--grab", path});
            QCOMPARE(run.status, 0);
            QVERIFY(run.out.isEmpty());
            QVERIFY(pages[page ? 1 : 0].load(path, "PNG"));
            const int border = look == QLatin1String("winxp") ? 3 : 1;
            QCOMPARE(pages[page ? 1 : 0].size(), WindowSize(border));
        }
        QVERIFY(pages[0] != pages[1]);
        if (look != QLatin1String("MacOS")) {
            QImage macos;
            QVERIFY(macos.load(Path(QStringLiteral("MacOS-0.png")), "PNG"));
            QVERIFY(macos != pages[0]);
        }
    }

    // The message window and the open menu in each look and from a theme file, in one run
    // with the window's picture. The dialog is laid out 336 x 169 (one line of text, the
    // icon, one button) with a 3-pixel border and resized around its 330-pixel panel for
    // the look's border: 332 wide with a 1-pixel border, 336 with a 3-pixel one, which
    // also makes it a pixel taller (style and theme are applied in one step, so a theme of
    // the WinXP look gives the size of WinXP itself). The menu picture is the window's size
    // and the same as the window's picture but where the menu stands, below the menu bar at
    // the left.
    void grabDialogAndMenu_data() {
        QTest::addColumn<QStringList>("look");
        QTest::addColumn<int>("border");
        QTest::addColumn<QSize>("dialogSize");
        for (const char* look : {"MacOS", "DeepBlue", "Protein", "BlueGlass"})
            QTest::newRow(look) << QStringList{"--look", look} << 1 << QSize(332, 169);
        QTest::newRow("WinXP") << QStringList{"--look", "WinXP"} << 3 << QSize(336, 170);
        QTest::newRow("theme file")
            << QStringList{"--theme", Path("xp.theme")} << 3 << QSize(336, 170);
    }
    void grabDialogAndMenu() {
        QFETCH(QStringList, look);
        QFETCH(int, border);
        QFETCH(QSize, dialogSize);
        const QString window = Path(QStringLiteral("window.png"));
        const QString dialog = Path(QStringLiteral("dialog.png"));
        const QString menu = Path(QStringLiteral("menu.png"));
        const Run run = RunWith(
            look + QStringList{"--grab", window, "--grab-dialog", dialog, "--grab-menu", menu});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(QImage(dialog).size(), dialogSize);

        const QImage plain = QImage(window).convertToFormat(QImage::Format_RGB32);
        const QImage open = QImage(menu).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(open.size(), WindowSize(border));
        QRect changed;
        for (int y = 0; y < open.height(); ++y) {
            for (int x = 0; x < open.width(); ++x) {
                if (open.pixel(x, y) != plain.pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
            }
        }
        // The menu's four items and the bar's highlighted button.
        QVERIFY2(changed.width() > 100 && changed.height() > 4 * 20,
                 qPrintable(QString::number(changed.height())));
        QVERIFY2(changed.left() <= border + 2 && changed.top() >= 18 && changed.bottom() < 160 &&
                     changed.right() < 250,
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(changed.x())
                                .arg(changed.y())
                                .arg(changed.width())
                                .arg(changed.height())));
    }

    // The description names every control of the pages with its class, in the window's
    // coordinates, in the chosen look, with only the chosen page shown.
    void describe_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("look");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("border");
        QTest::newRow("default") << QStringList{} << "MacOS" << 0 << 1;
        QTest::newRow("Protein, Lan--Mmx")
            << QStringList{"--look", "protein", "--page", "3"} << "Protein" << 3 << 1;
        QTest::newRow("theme file, Aiu-Mmx")
            << QStringList{"--theme", Path("xp.theme"), "--page", "7"} << "FromThemeFile" << 7 << 3;
    }
    void describe() {
        QFETCH(QStringList, options);
        QFETCH(QString, look);
        QFETCH(int, page);
        QFETCH(int, border);
        const Run run = RunWith(options + QStringList{QStringLiteral("--describe")});
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.isEmpty());
        const QHash<QString, QJsonObject> widgets = ByName(run.out);

        // Everything found wrong with the controls, so that one failure names each of them.
        QStringList wrong;
        const auto expect = [&wrong](bool ok, const QString& what) {
            if (!ok)
                wrong << what;
        };
        const auto check = [&](const QString& name, const char* className,
                               const QString& text = QString()) {
            if (!widgets.contains(name)) {
                wrong << name + " missing";
                return;
            }
            const QJsonObject w = widgets.value(name);
            const QString has = w.value("class").toString();
            expect(has == QLatin1String(className), name + " is a " + has);
            expect(w.value("UIStyle").toString() == look,
                   name + " in " + w.value("UIStyle").toString());
            if (!text.isNull())
                expect(w.value("text").toString() == text,
                       name + " says '" + w.value("text").toString() + "'");
            for (const char* key : {"x", "y", "width", "height"})
                expect(w.value(QLatin1String(key)).isDouble(), name + " has no " + key);
            expect(w.value("enabled").toBool(), name + " disabled");
        };
        const QJsonObject form = widgets.value("Form1");
        QCOMPARE(form.value("class").toString(), QStringLiteral("TForm1"));
        QCOMPARE(form.value("text").toString(), QStringLiteral("Velmar Zd7240 Helper  V2.1"));
        QCOMPARE(QRect(form.value("x").toInt(), form.value("y").toInt(),
                       form.value("width").toInt(), form.value("height").toInt()),
                 QRect(QPoint(0, 0), WindowSize(border)));
        check("suiForm1", "TsuiForm", "Velmar Zd7240 Helper  V2.1");
        check("suiPageControl1", "TsuiPageControl");
        const QJsonObject pages = widgets.value("suiPageControl1");
        QCOMPARE(pages.value("x").toInt(), border + 4); // the frame stands at x = border
        QCOMPARE(pages.value("y").toInt(), 56);

        for (std::size_t i = 0; i < Pages().size(); ++i) {
            const PageTable& table = Pages()[i];
            const bool shown = static_cast<int>(i) == page;
            check(Q(table.sheet), "TsuiTabSheet", Q(table.caption));
            expect(widgets.value(Q(table.sheet)).value("visible").toBool() == shown,
                   Q(table.sheet) + " visible or hidden wrongly");
            for (const GroupRow& group : table.groups)
                check(Q(group.name), "TsuiGroupBox", Q(group.caption));
            for (const FieldRow& field : table.fields) {
                check(Q(field.name), "TsuiEdit", Q(field.initial));
                expect(widgets.value(Q(field.name)).value("visible").toBool() == shown,
                       Q(field.name) + " visible or hidden wrongly");
            }
            for (const SelectorRow& selector : table.selectors)
                check(Q(selector.name), "TsuiComboBox", Q(selector.items[0]));
            for (const ButtonRow* button : {&table.defaultButton, &table.makeButton}) {
                check(Q(button->name), "TsuiButton", Q(button->caption));
                const QJsonObject b = widgets.value(Q(button->name));
                // The sheet stands 3 pixels inside the page area below the tab row, whose
                // height follows the look's tab images: at (3, 37) in MacOS.
                const int sheetTop = widgets.value(Q(table.sheet)).value("y").toInt();
                if (look == QLatin1String("MacOS"))
                    expect(sheetTop == 56 + 37,
                           Q(table.sheet) + " at y " + QString::number(sheetTop));
                const QPoint at(b.value("x").toInt(), b.value("y").toInt());
                expect(
                    at == QPoint(border + 4 + 3 + button->rect.left, sheetTop + button->rect.top),
                    QStringLiteral("%1 at (%2, %3)").arg(Q(button->name)).arg(at.x()).arg(at.y()));
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }

    // A damaged theme file is refused as `zd7240-theme dump` refuses it: 65 and the same
    // words, before any window is made, with pictures asked for or not. The program itself
    // on an offscreen display ends at once rather than opening its window.
    void damagedThemesRefused_data() { zd7240::test::AddDamagedThemeRows(); }
    void damagedThemesRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        const QString theme = WriteFile(QStringLiteral("damaged.theme"), bytes);
        const QString picture = Path(QStringLiteral("refused.png"));
        const QString expected =
            QStringLiteral("zd7240-helper: '%1': %2\n")
                .arg(theme, zd7240::ThemeFileProblems(TsuiThemeFileReader(theme))
                                .join(QStringLiteral("; ")));
        QVERIFY2(expected.contains(QRegularExpression(says.mid(1).prepend("': "))),
                 qPrintable(expected));
        for (const QStringList& more :
             {QStringList{"--grab", picture}, QStringList{"--describe"},
              QStringList{"--grab-dialog", picture, "--grab-menu", Path("m.png"), "--page", "3"}}) {
            const Run run = RunWith(QStringList{"--theme", theme} + more);
            QCOMPARE(run.status, 65);
            QCOMPARE(run.err, expected);
            QVERIFY(run.out.isEmpty());
            QVERIFY(!QFile::exists(picture));
            QVERIFY(!QFile::exists(Path("m.png")));
        }
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(ZD7240_HELPER_PATH), {"--theme", theme});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 65);
        QVERIFY(QString::fromLocal8Bit(process.readAllStandardError()).endsWith(expected));
    }

    // The look saved from the window's "Look" menu opens the next start's window; --look
    // and --theme win for their one start and leave the saved look as it was (or unsaved);
    // a saved theme file that is gone opens MacOS.
    void savedLookOpensTheNextStart_data() {
        QTest::addColumn<QString>("saved"); // a look's name, a theme file's name, or none
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<TsuiUIStyle>("look");
        QTest::addColumn<QString>("theme"); // the file the look came from
        const QStringList none;
        QTest::newRow("nothing saved") << "" << none << TsuiUIStyle::MacOS << "";
        QTest::newRow("saved WinXP") << "WinXP" << none << TsuiUIStyle::WinXP << "";
        QTest::newRow("saved BlueGlass") << "BlueGlass" << none << TsuiUIStyle::BlueGlass << "";
        QTest::newRow("saved theme file")
            << "xp.theme" << none << TsuiUIStyle::FromThemeFile << "xp.theme";
        QTest::newRow("saved theme file gone") << "gone.theme" << none << TsuiUIStyle::MacOS << "";
        QTest::newRow("saved WinXP, --look Protein")
            << "WinXP" << QStringList{"--look", "protein"} << TsuiUIStyle::Protein << "";
        QTest::newRow("saved WinXP, --look MacOS")
            << "WinXP" << QStringList{"--look", "MacOS"} << TsuiUIStyle::MacOS << "";
        QTest::newRow("saved theme file, --look DeepBlue")
            << "xp.theme" << QStringList{"--look", "DeepBlue"} << TsuiUIStyle::DeepBlue << "";
        QTest::newRow("saved Protein, --theme")
            << "Protein" << QStringList{"--theme", Path("xp.theme")} << TsuiUIStyle::FromThemeFile
            << "xp.theme";
        QTest::newRow("nothing saved, --look Protein")
            << "" << QStringList{"--look", "Protein"} << TsuiUIStyle::Protein << "";
    }
    void savedLookOpensTheNextStart() {
        QFETCH(QString, saved);
        QFETCH(QStringList, options);
        QFETCH(TsuiUIStyle, look);
        QFETCH(QString, theme);
        const QString settings = look_settings::SettingsPath();
        QCOMPARE(settings, Path(QStringLiteral("config/Velmar/zd7240-helper.conf")));
        QFile::remove(settings);
        if (saved.endsWith(QStringLiteral(".theme"))) {
            QVERIFY(!look_settings::SaveLook({TsuiUIStyle::FromThemeFile, Path(saved)}));
        } else if (!saved.isEmpty()) {
            QVERIFY(!look_settings::SaveLook({*LookByName(saved), {}}));
        }
        QByteArray before;
        if (QFile file(settings); file.open(QIODevice::ReadOnly))
            before = file.readAll();

        const Opened opened = OpenWindowWith(options);
        QCOMPARE(opened.status, 0);
        QCOMPARE(opened.look, look);
        QCOMPARE(opened.themeFile, theme.isEmpty() ? QString() : Path(theme));
        // A start saves nothing: the settings file is as it was, or still missing.
        QCOMPARE(QFileInfo::exists(settings), !saved.isEmpty());
        QFile file(settings);
        if (file.open(QIODevice::ReadOnly))
            QCOMPARE(file.readAll(), before);
    }

    // A saved theme file's path is read back as written, whatever characters it holds.
    void savedThemePathReadBack_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/home/me/my.theme";
        QTest::newRow("spaces, comma, semicolon, equals") << "/home/me/a b, c; d=e #f.theme";
        QTest::newRow("quotes and backslashes") << "/tmp/\"q\" \\ back\\slash\\.theme";
        QTest::newRow("not ASCII") << "/tmp/th\u00e8me \u30c6\u30fc\u30de.theme";
        QTest::newRow("control characters, digits after them")
            << QStringLiteral("/tmp/a\nb\tc\rd\x01"
                              "5\x1b"
                              "7\x02"
                              "57.theme");
        QTest::newRow("looks like an INI section") << "[General]";
    }
    void savedThemePathReadBack() {
        QFETCH(QString, path);
        QVERIFY(!look_settings::SaveLook({TsuiUIStyle::FromThemeFile, path}));
        const auto read = look_settings::ReadSavedLook();
        QVERIFY(read);
        QCOMPARE(read->style, TsuiUIStyle::FromThemeFile);
        QCOMPARE(read->themeFile, path);
    }

    // The program itself, without a display: --grab and --describe draw offscreen on
    // their own; a refusal ends with its status before any window exists.
    void programRunsWithoutDisplay() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        const auto run = [&env](const QStringList& options, QByteArray* out = nullptr,
                                QByteArray* err = nullptr) {
            QProcess process;
            process.setProcessEnvironment(env);
            process.start(QStringLiteral(ZD7240_HELPER_PATH), options);
            if (!process.waitForFinished(60000))
                return -1;
            if (out)
                *out = process.readAllStandardOutput();
            if (err)
                *err = process.readAllStandardError();
            return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        };
        const QString picture = Path(QStringLiteral("process.png"));
        QCOMPARE(run({"--look", "BlueGlass", "--grab", picture}), 0);
        QCOMPARE(QImage(picture).size(), QSize(536, 575));
        const QString menu = Path(QStringLiteral("process-menu.png"));
        QCOMPARE(run({"--grab-menu", menu}), 0);
        QCOMPARE(QImage(menu).size(), QSize(536, 575));
        QByteArray out;
        QCOMPARE(run({"--describe"}, &out), 0);
        QVERIFY(QJsonDocument::fromJson(out).isArray());
        QByteArray err;
        QCOMPARE(run({"--describe", "--page", "9"}, nullptr, &err), 64);
        QVERIFY2(err.contains("no page '9'"), err.constData());
    }
};

QTEST_MAIN(TestHelperCommand)
#include "tst_helpercommand.moc"
