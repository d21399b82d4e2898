// The skinned-control protocol: the style a control starts with, re-reading on every
// assignment, passing style and theme on to children, and the fall-back to DeepBlue when
// the theme component goes away.
#include <QtTest>
#include <stdexcept>

#include "../lib/themefile.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuimainmenu.h"
#include "chrome/tsuimessagedialog.h"
#include "controls/tsuibutton.h"
#include "controls/tsuicombobox.h"
#include "controls/tsuiedit.h"
#include "controls/tsuigroupbox.h"
#include "controls/tsuipagecontrol.h"
#include "controls/tsuitabsheet.h"
#include "look/styleselection.h"
#include "look/tsuiskinned.h"
#include "theme/themeelements.h"
#include "theme/tsuifiletheme.h"
#include "theme/tsuithemefilewriter.h"

// Everything the probes did, in order, as "name:event".
QStringList journal;

// A skinned control as the library writes them, on TsuiSkinned; its setters shadow the
// inherited ones only to log the property writes.
class TsuiProbe : public QWidget, public TsuiSkinned {
    Q_OBJECT
    TSUI_SKINNED_PROPERTIES
public:
    explicit TsuiProbe(QWidget* parent, bool container = false)
        : QWidget(parent),
          TsuiSkinned(this, parent, container ? LookScope::SelfAndChildren : LookScope::Self) {}
    void setUIStyle(TsuiUIStyle s) {
        note(QStringLiteral("UIStyle"));
        TsuiSkinned::setUIStyle(s);
    }
    void setFileTheme(TsuiFileTheme* t) {
        note(QStringLiteral("FileTheme"));
        TsuiSkinned::setFileTheme(t);
    }

    QStringList log;
    int applied = 0;
    QColor border;

protected:
    void styleUpdated(const SkinLook& look) override {
        ++applied;
        journal << objectName() + QStringLiteral(":applied");
        border = look.color(SkinColor::ControlBorder);
    }

private:
    void note(const QString& what) {
        log << what;
        journal << objectName() + QLatin1Char(':') + what;
    }
};

// Publishes only one of the two properties: ApplyThemeToChildren must leave it alone.
class HalfProbe : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
public:
    using QWidget::QWidget;
    TsuiUIStyle UIStyle() const { return style; }
    void setUIStyle(TsuiUIStyle s) {
        style = s;
        ++writes;
    }
    TsuiUIStyle style = TsuiUIStyle::WinXP;
    int writes = 0;
};

// A skinned control by its properties but not by its class name.
class OtherProbe : public TsuiProbe {
    Q_OBJECT
public:
    using TsuiProbe::TsuiProbe;
};

using zd7240::test::WriteThemeFile;

class TestStyleProtocol : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString themeFile(const QString& name, qint32 border) {
        TsuiThemeFileWriter writer;
        writer.addInteger(QStringLiteral("ControlBorderColor"), border);
        return WriteThemeFile(dir_, name, writer);
    }

private Q_SLOTS:
    void startsWithTheFormStyle() {
        QWidget window;
        QCOMPARE(TsuiProbe(&window).UIStyle(), TsuiUIStyle::DeepBlue); // no TsuiForm

        auto* form = new TsuiForm(&window);
        form->setUIStyle(TsuiUIStyle::MacOS);
        // A second frame on the same window is refused.
        QVERIFY_THROWS_EXCEPTION(std::logic_error, new TsuiForm(&window));
        TsuiProbe onWindow(&window);
        QCOMPARE(onWindow.UIStyle(), TsuiUIStyle::MacOS);
        QCOMPARE(onWindow.applied, 0); // creation does not apply yet
        QWidget panel(&window);
        QCOMPARE(TsuiProbe(&panel).UIStyle(), TsuiUIStyle::MacOS); // same window

        QCOMPARE(OwnerFormStyle(nullptr), TsuiUIStyle::DeepBlue);
        QObject notAWidget;
        QCOMPARE(OwnerFormStyle(&notAWidget), TsuiUIStyle::DeepBlue);
    }

    void assignmentsReReadTheLook() {
        TsuiProbe control(nullptr);
        control.setUIStyle(TsuiUIStyle::WinXP);
        QCOMPARE(control.applied, 1);
        QCOMPARE(control.border, QColor(0x68, 0x68, 0x68));
        // FromThemeFile without a theme draws as DeepBlue.
        control.setUIStyle(TsuiUIStyle::FromThemeFile);
        QCOMPARE(control.border, QColor(0, 0, 0));
        QCOMPARE(control.look().effectiveStyle(), TsuiUIStyle::DeepBlue);

        TsuiFileTheme theme;
        theme.setThemeFile(themeFile(QStringLiteral("red.theme"), 0x0000FF));
        QVERIFY(theme.ThemeLoaded());
        control.setFileTheme(&theme); // stores, then assigns the style again
        QCOMPARE(control.applied, 3);
        QVERIFY(control.look().usesFileTheme());
        QCOMPARE(control.border, QColor(255, 0, 0));
        QCOMPARE(control.look().integer(SkinInt::FormBorderWidth), -1); // not in file
        QCOMPARE(control.look().flag(SkinBool::ButtonTransparent), false);
        QVERIFY(control.look().strip<SkinImage::Button>().isFallback());
        // A built-in style ignores the theme.
        control.setUIStyle(TsuiUIStyle::MacOS);
        QCOMPARE(control.border, QColor(0x7F, 0x7F, 0x7F));
        QVERIFY(!control.look().strip<SkinImage::Button>().isFallback());
        QCOMPARE(control.look().strip<SkinImage::Button>().frame(ButtonFrame::Normal).width(), 84);
    }

    // What a write keeps of values set by hand since the last look: the frame ignores the
    // theme it already has, its title bar keeps its caption colour through a change of the
    // theme alone, and writing the style sets both from the look again. A plain control
    // re-reads on every write.
    void writesKeepWhatTheyShould() {
        QWidget window;
        TsuiFileTheme theme;
        auto* frame = new TsuiForm(&window);
        TsuiTitleBar* bar = frame->TitleBar();
        frame->setLook(TsuiUIStyle::MacOS, &theme);
        frame->setBorderColor(Qt::red);
        bar->setFontColor(Qt::yellow);

        frame->setFileTheme(&theme);
        QCOMPARE(frame->BorderColor(), QColor(Qt::red));
        QCOMPARE(bar->FontColor(), QColor(Qt::yellow));
        bar->setFileTheme(nullptr);
        QCOMPARE(bar->FontColor(), QColor(Qt::yellow));
        frame->setUIStyle(TsuiUIStyle::MacOS);
        QCOMPARE(frame->BorderColor(), QColor(0x7F, 0x7F, 0x7F));
        QCOMPARE(bar->FontColor(), QColor(Qt::black));
        // Another theme on the frame applies its style again, to the title bar too.
        frame->setBorderColor(Qt::red);
        bar->setFontColor(Qt::yellow);
        frame->setFileTheme(nullptr);
        QCOMPARE(frame->BorderColor(), QColor(0x7F, 0x7F, 0x7F));
        QCOMPARE(bar->FontColor(), QColor(Qt::black));

        TsuiProbe plain(nullptr);
        plain.setFileTheme(&theme);
        const int applied = plain.applied;
        plain.setFileTheme(&theme);
        QCOMPARE(plain.applied, applied + 1);
    }

    void resolveUIStyle() {
        TsuiFileTheme unloaded, loaded;
        loaded.setThemeFile(themeFile(QStringLiteral("loaded.theme"), 1));
        QVERIFY(loaded.ThemeLoaded());
        const auto check = [](const TsuiFileTheme* theme, TsuiUIStyle given, bool useFile,
                              TsuiUIStyle effective) {
            const ResolvedStyle r = ResolveUIStyle(theme, given);
            return r.useFile == useFile && r.effective == effective;
        };
        QVERIFY(check(&loaded, TsuiUIStyle::Protein, false, TsuiUIStyle::Protein));
        QVERIFY(check(nullptr, TsuiUIStyle::WinXP, false, TsuiUIStyle::WinXP));
        QVERIFY(check(&loaded, TsuiUIStyle::FromThemeFile, true, TsuiUIStyle::FromThemeFile));
        QVERIFY(check(&unloaded, TsuiUIStyle::FromThemeFile, false, TsuiUIStyle::DeepBlue));
        QVERIFY(check(nullptr, TsuiUIStyle::FromThemeFile, false, TsuiUIStyle::DeepBlue));
    }

    void removedThemeSendsToDeepBlue() {
        QWidget window;
        auto* theme = new TsuiFileTheme(&window);
        TsuiProbe container(&window, true);
        container.setObjectName(QStringLiteral("container"));
        auto* child = new TsuiProbe(&container);
        child->setObjectName(QStringLiteral("child"));
        container.setFileTheme(theme);
        container.setUIStyle(TsuiUIStyle::MacOS);
        QCOMPARE(child->UIStyle(), TsuiUIStyle::MacOS);
        QCOMPARE(child->FileTheme(), theme);
        journal.clear();
        const int appliedBefore = container.applied;

        delete theme;
        QCOMPARE(container.UIStyle(), TsuiUIStyle::DeepBlue);
        QCOMPARE(container.FileTheme(), nullptr);
        QCOMPARE(container.applied, appliedBefore + 1);
        // The children are sent to DeepBlue first, then the container takes it; each
        // re-reads its look once, and the children are not written a second time.
        QCOMPARE(
            journal,
            (QStringList{QStringLiteral("child:FileTheme"), QStringLiteral("child:UIStyle"),
                         QStringLiteral("child:applied"), QStringLiteral("container:applied")}));
        QCOMPARE(child->UIStyle(), TsuiUIStyle::DeepBlue);
        QCOMPARE(child->FileTheme(), nullptr);
        QCOMPARE(container.border, QColor(0, 0, 0));
    }

    // However deeply containers nest, one change re-reads every control inside once, its
    // children are written once (FileTheme, then UIStyle), and each property notifies
    // once when its value changed.
    void oneReadPerControlPerChange_data() {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("cause");
        for (const int depth : {0, 1, 2, 6}) {
            for (const char* cause : {"UIStyle", "FileTheme", "setLook", "ApplyThemeToChildren",
                                      "theme reload", "theme removed"})
                QTest::addRow("%s, depth %d", cause, depth) << depth << QString::fromLatin1(cause);
        }
    }
    void oneReadPerControlPerChange() {
        QFETCH(int, depth);
        QFETCH(QString, cause);
        QWidget window;
        auto* theme = new TsuiFileTheme(&window);
        TsuiFileTheme otherTheme;
        // A container per level, each holding the next one and a plain control.
        auto* top = new TsuiProbe(&window, true);
        QList<TsuiProbe*> probes = {top};
        TsuiProbe* level = top;
        for (int i = 0; i < depth; ++i) {
            probes << new TsuiProbe(level);
            level = new TsuiProbe(level, true);
            probes << level;
        }
        auto* leaf = new TsuiProbe(level);
        probes << leaf;
        top->setLook(TsuiUIStyle::FromThemeFile, theme);
        for (TsuiProbe* probe : std::as_const(probes)) {
            QCOMPARE(probe->FileTheme(), theme);
            probe->log.clear();
        }
        QList<int> before;
        for (TsuiProbe* probe : std::as_const(probes))
            before << probe->applied;
        QSignalSpy styleSpy(leaf, &TsuiProbe::UIStyleChanged);
        QSignalSpy themeSpy(leaf, &TsuiProbe::FileThemeChanged);
        const quint64 readsBefore = TsuiSkinned::LookReadCount();

        bool styleChanges = true, themeChanges = true;
        if (cause == QLatin1String("UIStyle")) {
            top->setUIStyle(TsuiUIStyle::MacOS);
            themeChanges = false;
        } else if (cause == QLatin1String("FileTheme")) {
            top->setFileTheme(&otherTheme);
            styleChanges = false;
        } else if (cause == QLatin1String("setLook")) {
            top->setLook(TsuiUIStyle::WinXP, nullptr);
        } else if (cause == QLatin1String("ApplyThemeToChildren")) {
            ApplyThemeToChildren(&window, TsuiUIStyle::Protein, &otherTheme);
        } else if (cause == QLatin1String("theme reload")) {
            theme->setThemeFile(themeFile(QStringLiteral("nested.theme"), 0x00FF00));
            styleChanges = themeChanges = false;
        } else {
            delete theme;
        }

        for (int i = 0; i < probes.size(); ++i)
            QCOMPARE(probes[i]->applied, before[i] + 1);
        QCOMPARE(TsuiSkinned::LookReadCount() - readsBefore, quint64(probes.size()));
        // What a container holds is written by it, once per property.
        QCOMPARE(leaf->log, (QStringList{QStringLiteral("FileTheme"), QStringLiteral("UIStyle")}));
        QCOMPARE(styleSpy.count(), styleChanges ? 1 : 0);
        QCOMPARE(themeSpy.count(), themeChanges ? 1 : 0);
    }

    // The same for the library's own container: a control under six group boxes reads
    // the look once when the outermost box takes a style.
    void nestedGroupBoxesReadOnce() {
        QWidget window;
        auto* outer = new TsuiGroupBox(&window);
        QWidget* level = outer;
        for (int i = 0; i < 5; ++i)
            level = new TsuiGroupBox(level);
        auto* edit = new TsuiEdit(level);
        const quint64 before = TsuiSkinned::LookReadCount();
        outer->setUIStyle(TsuiUIStyle::WinXP);
        QCOMPARE(TsuiSkinned::LookReadCount() - before, quint64(7));
        QCOMPARE(edit->UIStyle(), TsuiUIStyle::WinXP);
        QCOMPARE(edit->look().effectiveStyle(), TsuiUIStyle::WinXP);
    }

    void applyThemeToChildren() {
        QWidget container;
        auto* full = new TsuiProbe(&container);
        auto* half = new HalfProbe(&container);
        auto* plain = new QWidget(&container);
        auto* nestedOuter = new TsuiProbe(&container, true);
        auto* nestedInner = new TsuiProbe(nestedOuter);
        auto* grandchild = new TsuiProbe(plain); // not a direct child
        TsuiFileTheme theme;

        ApplyThemeToChildren(&container, TsuiUIStyle::BlueGlass, &theme);
        QCOMPARE(full->log, (QStringList{QStringLiteral("FileTheme"), QStringLiteral("UIStyle")}));
        QCOMPARE(full->UIStyle(), TsuiUIStyle::BlueGlass);
        QCOMPARE(full->FileTheme(), &theme);
        QCOMPARE(half->writes, 0);
        QCOMPARE(half->style, TsuiUIStyle::WinXP);
        QCOMPARE(nestedInner->UIStyle(), TsuiUIStyle::BlueGlass); // through the container
        QCOMPARE(nestedInner->FileTheme(), &theme);
        QVERIFY(grandchild->log.isEmpty());

        QVERIFY(HasPublishedProperty(full, "FileTheme"));
        QVERIFY(!HasPublishedProperty(half, "FileTheme"));
        QVERIFY(HasPublishedProperty(half, "UIStyle"));
        QVERIFY(!HasPublishedProperty(nullptr, "UIStyle"));
        ApplyThemeToChildren(nullptr, TsuiUIStyle::MacOS, nullptr);
    }

    // Every skinned class publishes both properties through TSUI_SKINNED_PROPERTIES, and a
    // container passes its look on to them.
    void everySkinnedClassPublishesItsLook() {
        QWidget window;
        auto* box = new TsuiGroupBox(&window);
        const QList<QObject*> controls = {
            new TsuiButton(box),   new TsuiEdit(box),        new TsuiComboBox(box),
            new TsuiGroupBox(box), new TsuiPageControl(box), new TsuiTabSheet(box),
            new TsuiForm(box),     new TsuiMainMenu(box),    new TsuiMessageDialog(box)};
        box->setUIStyle(TsuiUIStyle::Protein);
        // The classes that miss a property or the look, so a failure names each one.
        QStringList unpublished, notPassedOn;
        for (QObject* control : controls) {
            const QString name = QLatin1String(control->metaObject()->className());
            if (!HasPublishedProperty(control, "UIStyle") ||
                !HasPublishedProperty(control, "FileTheme"))
                unpublished << name;
            if (control->property("UIStyle").value<TsuiUIStyle>() != TsuiUIStyle::Protein)
                notPassedOn << name;
        }
        QCOMPARE(unpublished, QStringList());
        QCOMPARE(notPassedOn, QStringList());
    }

    // Loading a file makes every control on that theme re-read its look once, whatever its
    // class is called and wherever it or the theme lives; controls on another theme stay.
    void loadingRereadsTheControlsOnTheTheme() {
        QWidget window;
        auto* theme = new TsuiFileTheme(&window);
        TsuiFileTheme otherTheme;
        auto* panel = new QWidget(&window);
        auto* onTheme = new TsuiProbe(panel);
        auto* onOther = new TsuiProbe(&window);
        auto* otherName = new OtherProbe(&window);
        auto* container = new TsuiProbe(&window, true);
        auto* inContainer = new TsuiProbe(container);
        QWidget otherWindow;
        auto* offWindow = new TsuiProbe(&otherWindow);
        const QList<TsuiProbe*> following = {onTheme, otherName, container, offWindow};
        for (TsuiProbe* p : following)
            p->setLook(TsuiUIStyle::FromThemeFile, theme);
        onOther->setLook(TsuiUIStyle::FromThemeFile, &otherTheme);
        QList<int> before;
        for (TsuiProbe* p : following)
            before << p->applied;
        const int otherBefore = onOther->applied;
        QCOMPARE(onTheme->border, QColor(0, 0, 0)); // not loaded yet: DeepBlue

        theme->setThemeFile(themeFile(QStringLiteral("green.theme"), 0x00FF00));
        for (int i = 0; i < following.size(); ++i) {
            QCOMPARE(following[i]->applied, before[i] + 1);
            QCOMPARE(following[i]->border, QColor(0, 255, 0));
        }
        QCOMPARE(inContainer->FileTheme(), theme);
        QCOMPARE(inContainer->border, QColor(0, 255, 0));
        QCOMPARE(onOther->applied, otherBefore);
        // A control moved to another theme no longer follows this one.
        otherName->setFileTheme(&otherTheme);
        const int movedBefore = otherName->applied;

        // A file that is not a theme: ThemeLoaded goes false and the control, told again,
        // falls back to DeepBlue rather than keep a look whose file is gone.
        QFile junk(dir_.filePath(QStringLiteral("junk.theme")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a theme at all, just some text");
        junk.close();
        theme->setThemeFile(junk.fileName());
        QVERIFY(!theme->ThemeLoaded());
        QVERIFY(theme->errorString().contains(QStringLiteral("not a theme")));
        QCOMPARE(onTheme->border, QColor(0, 0, 0));
        QCOMPARE(otherName->applied, movedBefore);
    }
};

QTEST_MAIN(TestStyleProtocol)
#include "tst_styleprotocol.moc"
