// The skinned-control protocol: the style a control starts with, re-reading on every
// assignment, passing style and theme on to children, and the fall-back to DeepBlue when
// the theme component goes away.
#include <QtTest>
#include <stdexcept>

#include "styleselection.h"
#include "themeelements.h"
#include "tsuifiletheme.h"
#include "tsuiform.h"
#include "tsuistylebinding.h"
#include "tsuithemefilewriter.h"

// A skinned control as the library writes them: both properties forward to the binding;
// as a container it passes its look on to its children and, when its theme goes away,
// sends them to DeepBlue first.
class TsuiProbe : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TsuiUIStyle UIStyle READ uiStyle WRITE setUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ fileTheme WRITE setFileTheme)
public:
    explicit TsuiProbe(QWidget* parent, bool container = false)
        : QWidget(parent), container_(container), binding_(parent, [this] { apply(); }) {
        if (container_)
            binding_.setThemeRemovedHook([this] {
                log << QStringLiteral("hook");
                ApplyThemeToChildren(this, TsuiUIStyle::DeepBlue, nullptr);
            });
    }
    TsuiUIStyle uiStyle() const { return binding_.uiStyle(); }
    void setUIStyle(TsuiUIStyle s) {
        log << QStringLiteral("UIStyle");
        binding_.setUIStyle(s);
    }
    TsuiFileTheme* fileTheme() const { return binding_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* t) {
        log << QStringLiteral("FileTheme");
        binding_.setFileTheme(t);
    }
    TsuiStyleBinding& binding() { return binding_; }

    QStringList log;
    int applied = 0;
    QColor border;

private:
    void apply() {
        ++applied;
        border = binding_.color(TsuiElement::ControlBorderColor);
        if (container_)
            ApplyThemeToChildren(this, binding_.uiStyle(), binding_.fileTheme());
    }
    bool container_;
    TsuiStyleBinding binding_;
};

// Publishes only one of the two properties: ApplyThemeToChildren must leave it alone.
class HalfProbe : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TsuiUIStyle UIStyle READ uiStyle WRITE setUIStyle)
public:
    using QWidget::QWidget;
    TsuiUIStyle uiStyle() const { return style; }
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

class TestStyleProtocol : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString themeFile(const QString& name, qint32 border) {
        TsuiThemeFileWriter writer;
        writer.addInteger(QStringLiteral("ControlBorderColor"), border);
        const QString path = dir_.filePath(name);
        QString error;
        if (!writer.writeTo(path, &error))
            qFatal("%s", qPrintable(error));
        return path;
    }

private Q_SLOTS:
    void startsWithTheFormStyle() {
        QWidget window;
        QCOMPARE(TsuiProbe(&window).uiStyle(), TsuiUIStyle::DeepBlue); // no TsuiForm

        auto* form = new TsuiForm(&window);
        form->setUIStyle(TsuiUIStyle::MacOS);
        // A second frame on the same window is refused.
        QVERIFY_THROWS_EXCEPTION(std::logic_error, new TsuiForm(&window));
        TsuiProbe onWindow(&window);
        QCOMPARE(onWindow.uiStyle(), TsuiUIStyle::MacOS);
        QCOMPARE(onWindow.applied, 0); // creation does not apply yet
        QWidget panel(&window);
        QCOMPARE(TsuiProbe(&panel).uiStyle(), TsuiUIStyle::MacOS); // same window

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
        QCOMPARE(control.binding().effectiveStyle(), TsuiUIStyle::DeepBlue);

        TsuiFileTheme theme;
        theme.setThemeFile(themeFile(QStringLiteral("red.theme"), 0x0000FF));
        QVERIFY(theme.ThemeLoaded());
        control.setFileTheme(&theme); // stores, then assigns the style again
        QCOMPARE(control.applied, 3);
        QVERIFY(control.binding().usesFileTheme());
        QCOMPARE(control.border, QColor(255, 0, 0));
        QCOMPARE(control.binding().integer(TsuiElement::FormBorderWidthInt), -1); // not in file
        QCOMPARE(control.binding().boolean(TsuiElement::ButtonTransparentBool), false);
        QVERIFY(control.binding().bitmap(TsuiElement::ButtonImage).isNull());
        // A built-in style ignores the theme.
        control.setUIStyle(TsuiUIStyle::MacOS);
        QCOMPARE(control.border, QColor(0x7F, 0x7F, 0x7F));
        QVERIFY(!control.binding().bitmap(TsuiElement::ButtonImage).isNull());
        QCOMPARE(control.binding().bitmap(TsuiElement::ButtonImage, 3, 1).width(), 84);
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
        auto* child = new TsuiProbe(&container);
        container.setFileTheme(theme);
        container.setUIStyle(TsuiUIStyle::MacOS);
        QCOMPARE(child->uiStyle(), TsuiUIStyle::MacOS);
        QCOMPARE(child->fileTheme(), theme);
        container.log.clear();
        const int appliedBefore = container.applied;

        delete theme;
        QCOMPARE(container.uiStyle(), TsuiUIStyle::DeepBlue);
        QCOMPARE(container.fileTheme(), nullptr);
        QCOMPARE(container.applied, appliedBefore + 1);
        QCOMPARE(container.log, QStringList{QStringLiteral("hook")}); // children first
        QCOMPARE(child->uiStyle(), TsuiUIStyle::DeepBlue);
        QCOMPARE(child->fileTheme(), nullptr);
        QCOMPARE(container.border, QColor(0, 0, 0));
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
        QCOMPARE(full->uiStyle(), TsuiUIStyle::BlueGlass);
        QCOMPARE(full->fileTheme(), &theme);
        QCOMPARE(half->writes, 0);
        QCOMPARE(half->style, TsuiUIStyle::WinXP);
        QCOMPARE(nestedInner->uiStyle(), TsuiUIStyle::BlueGlass); // through the container
        QCOMPARE(nestedInner->fileTheme(), &theme);
        QVERIFY(grandchild->log.isEmpty());

        QVERIFY(HasPublishedProperty(full, "FileTheme"));
        QVERIFY(!HasPublishedProperty(half, "FileTheme"));
        QVERIFY(HasPublishedProperty(half, "UIStyle"));
        QVERIFY(!HasPublishedProperty(nullptr, "UIStyle"));
        ApplyThemeToChildren(nullptr, TsuiUIStyle::MacOS, nullptr);
    }

    // Loading a file makes the window's "Tsui" components on that theme re-read it.
    void loadingReappliesToTheWindow() {
        QWidget window;
        auto* theme = new TsuiFileTheme(&window);
        TsuiFileTheme otherTheme;
        auto* panel = new QWidget(&window);
        auto* onTheme = new TsuiProbe(panel);
        auto* onOther = new TsuiProbe(&window);
        auto* wrongName = new OtherProbe(&window);
        onTheme->setFileTheme(theme);
        onTheme->setUIStyle(TsuiUIStyle::FromThemeFile);
        onOther->setFileTheme(&otherTheme);
        wrongName->setFileTheme(theme);
        for (TsuiProbe* p : {onTheme, onOther, static_cast<TsuiProbe*>(wrongName)})
            p->log.clear();
        QCOMPARE(onTheme->border, QColor(0, 0, 0)); // not loaded yet: DeepBlue

        theme->setThemeFile(themeFile(QStringLiteral("green.theme"), 0x00FF00));
        QCOMPARE(onTheme->log, QStringList{QStringLiteral("FileTheme")});
        QCOMPARE(onTheme->border, QColor(0, 255, 0));
        QVERIFY(onOther->log.isEmpty());
        QVERIFY(wrongName->log.isEmpty());

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
    }
};

QTEST_MAIN(TestStyleProtocol)
#include "tst_styleprotocol.moc"
