#include "helpercommand.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMetaEnum>
#include <QPainter>
#include <QPixmap>
#include <QTextStream>
#include <QWidget>
#include <cstring>
#include <functional>
#include <memory>

#include "chrome/framemenubar.h"
#include "chrome/framemenubarbutton.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuimessagedialog.h"
#include "controls/tsuipagecontrol.h"
#include "frameselftest.h"
#include "linkpage.h"
#include "pagetable.h"
#include "processguard.h"
#include "scriptwriter.h"
#include "tform1.h"
#include "theme/tsuifiletheme.h"

#include "version.h"

namespace {

constexpr const char* kProgram = "zd7240-helper";

// The looks an operator can name, in the order of the style table.
constexpr TsuiUIStyle kLooks[] = {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP, TsuiUIStyle::DeepBlue,
                                  TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass};

QString LookName(TsuiUIStyle style) {
    return QString::fromLatin1(
        QMetaEnum::fromType<TsuiUIStyle>().valueToKey(static_cast<int>(style)));
}

QString LookNames() {
    QStringList names;
    for (TsuiUIStyle look : kLooks)
        names << LookName(look);
    return names.join(QStringLiteral(", "));
}

int PageCount() {
    return static_cast<int>(zd7240::Pages().size());
}

void PrintUsage(QTextStream& out) {
    out << "Usage: " << kProgram << " [--look STYLE | --theme FILE] [--page N]\n"
        << "       " << kProgram << " [--look STYLE | --theme FILE] [--page N] [--grab FILE.png]\n"
        << "                     [--grab-dialog FILE.png] [--grab-menu FILE.png] [--describe]\n"
        << "       " << kProgram << " [--look STYLE | --theme FILE] --selftest-frame\n"
        << "       " << kProgram << " --help | --version\n"
        << "\n"
        << "Opens the window that writes configuration scripts for the Zd7240.\n"
        << "\n"
        << "  --look STYLE   the window's look: " << LookNames() << "\n"
        << "                 (any case; default MacOS)\n"
        << "  --theme FILE   the window's look from a theme file\n"
        << "  --page N       the page shown first, 0 to " << PageCount() - 1
        << " in tab order (default 0)\n"
        << "  --grab FILE    lay the window out without showing it, write a PNG picture of it\n"
        << "                 to FILE and end\n"
        << "  --grab-dialog FILE\n"
        << "                 write a PNG picture of the message window, as \"Make file\" shows\n"
        << "                 it when the first field of the page is empty, to FILE and end\n"
        << "  --grab-menu FILE\n"
        << "                 write a PNG picture of the window with its \"Help\" menu open\n"
        << "                 (the menu drawn over the window) to FILE and end\n"
        << "  --describe     lay the window out without showing it, print every widget as a\n"
        << "                 JSON array (class, name, x, y, width, height in window\n"
        << "                 coordinates, visible, enabled, text, UIStyle) and end\n"
        << "  --selftest-frame\n"
        << "                 show the window, maximize and restore it with its title bar's\n"
        << "                 maximize button, change its look while maximized (its size must\n"
        << "                 stay), close it with its close button, print each step and end\n"
        << "\n"
        << "The three --grab options and --describe can be combined and need no display.\n"
        << "Exit status: 0 done; 64 bad usage (unknown option or look, page out of range);\n"
        << "65 the theme file is not a theme; 66 the theme file cannot be found; 70 a\n"
        << "--selftest-frame step did not happen in time; 71 not enough memory to draw a\n"
        << "picture; 73 a picture cannot be created; 74 writing a picture or the output failed.\n";
}

// Text from outside (a name, an option) as a message shows it: control characters
// escaped, so that they cannot act on the terminal.
QString Shown(const QString& text) {
    return QString::fromStdString(zd7240::EscapeText(QFile::encodeName(text).toStdString()));
}

int UsageError(QTextStream& err, const QString& message) {
    err << kProgram << ": " << Shown(message) << "\n"
        << "Try '" << kProgram << " --help' for more information.\n";
    err.flush();
    return helper_exit::kUsage;
}

// The text a widget shows: its caption, text or title, whichever it publishes first.
QString WidgetText(const QWidget* widget) {
    static const char* const kTextProperties[] = {"Caption", "Text", "text", "title",
                                                  "currentText"};
    const QMetaObject* meta = widget->metaObject();
    for (const char* name : kTextProperties) {
        if (meta->indexOfProperty(name) >= 0)
            return widget->property(name).toString();
    }
    return widget->isWindow() ? widget->windowTitle() : QString();
}

void DescribeInto(QJsonArray& out, QWidget* window, QWidget* widget) {
    QJsonObject object;
    object.insert(QStringLiteral("class"), QString::fromLatin1(widget->metaObject()->className()));
    object.insert(QStringLiteral("name"), widget->objectName());
    const QPoint origin = widget == window ? QPoint(0, 0) : widget->mapTo(window, QPoint(0, 0));
    object.insert(QStringLiteral("x"), origin.x());
    object.insert(QStringLiteral("y"), origin.y());
    object.insert(QStringLiteral("width"), widget->width());
    object.insert(QStringLiteral("height"), widget->height());
    object.insert(QStringLiteral("visible"),
                  widget == window ? widget->isVisible() : widget->isVisibleTo(window));
    object.insert(QStringLiteral("enabled"), widget->isEnabled());
    object.insert(QStringLiteral("text"), WidgetText(widget));
    if (widget->metaObject()->indexOfProperty("UIStyle") >= 0)
        object.insert(QStringLiteral("UIStyle"),
                      LookName(widget->property("UIStyle").value<TsuiUIStyle>()));
    out.append(object);
    for (QObject* child : widget->children()) {
        auto* childWidget = qobject_cast<QWidget*>(child);
        if (childWidget && !childWidget->isWindow())
            DescribeInto(out, window, childWidget);
    }
}

struct Parsed {
    HelperOptions options;
    bool help = false;
    bool version = false;
};

// Reads the options; on a usage error writes the message and returns the status.
std::optional<int> Parse(const QStringList& arguments, Parsed& parsed, QTextStream& err) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption look(QStringLiteral("look"), QString(), QStringLiteral("STYLE"));
    const QCommandLineOption theme(QStringLiteral("theme"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption page(QStringLiteral("page"), QString(), QStringLiteral("N"));
    const QCommandLineOption grab(QStringLiteral("grab"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption grabDialog(QStringLiteral("grab-dialog"), QString(),
                                        QStringLiteral("FILE"));
    const QCommandLineOption grabMenu(QStringLiteral("grab-menu"), QString(),
                                      QStringLiteral("FILE"));
    const QCommandLineOption describe(QStringLiteral("describe"));
    const QCommandLineOption selfTest(QStringLiteral("selftest-frame"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions(
        {look, theme, page, grab, grabDialog, grabMenu, describe, selfTest, help, version});
    if (!parser.parse(arguments))
        return UsageError(err, parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return UsageError(
            err,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    parsed.help = parser.isSet(help);
    parsed.version = parser.isSet(version);
    HelperOptions& o = parsed.options;
    if (parser.isSet(look) && parser.isSet(theme))
        return UsageError(err, QStringLiteral("--look and --theme cannot be used together"));
    if (parser.isSet(look)) {
        const std::optional<TsuiUIStyle> style = LookByName(parser.value(look));
        if (!style)
            return UsageError(err, QStringLiteral("unknown look '%1' (one of %2)")
                                       .arg(parser.value(look), LookNames()));
        o.look = *style;
    }
    if (parser.isSet(theme)) {
        o.themeFile = parser.value(theme);
        if (o.themeFile.isEmpty())
            return UsageError(err, QStringLiteral("--theme needs a file name"));
        o.look = TsuiUIStyle::FromThemeFile;
    }
    if (parser.isSet(page)) {
        bool ok = false;
        o.page = parser.value(page).toInt(&ok);
        if (!ok || o.page < 0 || o.page >= PageCount())
            return UsageError(err, QStringLiteral("no page '%1' (pages are 0 to %2)")
                                       .arg(parser.value(page))
                                       .arg(PageCount() - 1));
    }
    const std::pair<const QCommandLineOption*, QString*> pictures[] = {
        {&grab, &o.grabFile}, {&grabDialog, &o.grabDialogFile}, {&grabMenu, &o.grabMenuFile}};
    for (const auto& [option, file] : pictures) {
        if (!parser.isSet(*option))
            continue;
        *file = parser.value(*option);
        if (file->isEmpty())
            return UsageError(
                err, QStringLiteral("--%1 needs a file name").arg(option->names().first()));
    }
    o.describe = parser.isSet(describe);
    o.selfTestFrame = parser.isSet(selfTest);
    if (o.selfTestFrame && o.WritesOutput())
        return UsageError(err, QStringLiteral("--selftest-frame shows the window; it cannot be "
                                              "used with --grab, --grab-dialog, --grab-menu or "
                                              "--describe"));
    return std::nullopt;
}

// Loads the theme file; on failure writes why and returns the status.
std::optional<int> LoadTheme(const QString& path, TsuiFileTheme& theme, QTextStream& err) {
    if (!QFileInfo(path).isFile()) {
        err << kProgram << ": cannot read theme file '" << Shown(path)
            << "': " << (QFileInfo::exists(path) ? "not a regular file" : "no such file") << "\n";
        return helper_exit::kNoInput;
    }
    theme.setThemeFile(path);
    if (!theme.ThemeLoaded()) {
        err << kProgram << ": '" << Shown(path) << "' is not a theme file";
        if (!theme.errorString().isEmpty())
            err << ": " << Shown(theme.errorString());
        err << "\n";
        return helper_exit::kData;
    }
    return std::nullopt;
}

// The messenger of a "Make file" press that only remembers what it was to show.
class MessageCapture : public zd7240::Messenger {
public:
    void ShowMessage(std::string_view caption, std::string_view text) override {
        caption_ = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
        text_ = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    QString caption_;
    QString text_;
};

// Neither a file nor an error is wanted: the press ends at the field check.
class NoFile : public zd7240::FileChooser, public zd7240::ErrorReport {
public:
    std::optional<std::string> ChooseFile() override { return std::nullopt; }
    void ReportError(std::string_view) override {}
};

// Shows the widget laid out and polished as on the screen, without reaching it.
void ShowOffScreen(QWidget& widget) {
    widget.setAttribute(Qt::WA_DontShowOnScreen);
    widget.show();
    QCoreApplication::processEvents();
}

// The message window the window shows when "Make file" is pressed with the page's first
// field empty: the press runs as the operator's would, its message is kept, and the
// window's own message dialog builds its window with that caption and text. The field
// gets its text back afterwards.
QImage GrabWarning(TForm1& form, int page) {
    LinkPage& link = *form.Pages().at(static_cast<std::size_t>(page));
    const std::string field(link.Table().fields.front().name);
    const std::string kept = link.Text(field);
    link.SetText(field, std::string());
    MessageCapture message;
    NoFile none;
    link.MakeFile(none, message, none, nullptr);
    link.SetText(field, kept);

    TsuiMessageDialog& component = *form.suiMessageDialog1;
    const QString caption = component.Caption();
    const QString text = component.Text();
    component.setCaption(message.caption_);
    component.setText(message.text_);
    const std::unique_ptr<QDialog> dialog = component.CreateMessageWindow();
    component.setCaption(caption);
    component.setText(text);
    ShowOffScreen(*dialog);
    QImage image = dialog->grab().toImage();
    dialog->hide();
    return image;
}

// The window with the first item of its menu bar open, as the keyboard opens it (its
// first item selected). The menu is a window of its own, so its picture is drawn over the
// window's where it stands on the screen; the picture grows if the menu reaches past the
// window.
QImage GrabWithMenuOpen(TForm1& form) {
    FrameMenuBar* bar = form.suiForm1->MenuBar();
    if (!bar || bar->Buttons().isEmpty())
        return form.grab().toImage();
    const auto* item = bar->Buttons().front()->Item();
    QMenu* menu = item ? item->menu() : nullptr;
    if (!menu)
        return form.grab().toImage();
    menu->setAttribute(Qt::WA_DontShowOnScreen);
    bar->OpenMenu(0, true);
    QCoreApplication::processEvents();
    const QImage window = form.grab().toImage();
    const QPixmap popup = menu->grab();
    const QPoint at = menu->mapToGlobal(QPoint(0, 0)) - form.mapToGlobal(QPoint(0, 0));
    menu->close();
    QCoreApplication::processEvents();
    menu->setAttribute(Qt::WA_DontShowOnScreen, false);

    const QRect bounds = QRect(QPoint(0, 0), window.size()).united(QRect(at, popup.size()));
    QImage image = window;
    if (bounds.size() != window.size()) {
        // Past the window: transparent around the two.
        image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
    }
    QPainter painter(&image);
    if (bounds.size() != window.size())
        painter.drawImage(-bounds.topLeft(), window);
    painter.drawPixmap(at - bounds.topLeft(), popup);
    painter.end();
    return image;
}

} // namespace

bool RunsWithoutWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            break;
        for (const char* option : {"--grab", "--grab-dialog", "--grab-menu", "--describe", "--help",
                                   "-h", "--version", "-v"}) {
            const std::size_t length = std::strlen(option);
            if (std::strncmp(arg, option, length) == 0 &&
                (arg[length] == '\0' || arg[length] == '='))
                return true;
        }
    }
    return false;
}

std::optional<TsuiUIStyle> LookByName(const QString& name) {
    for (TsuiUIStyle look : kLooks) {
        if (name.compare(LookName(look), Qt::CaseInsensitive) == 0)
            return look;
    }
    return std::nullopt;
}

QJsonArray DescribeWidgets(QWidget* window) {
    QJsonArray out;
    DescribeInto(out, window, window);
    return out;
}

int RunHelper(const QStringList& arguments, QTextStream& out, QTextStream& err, bool noDisplay) {
    Parsed parsed;
    if (const std::optional<int> status = Parse(arguments, parsed, err))
        return *status;
    if (parsed.help) {
        PrintUsage(out);
        return helper_exit::kOk;
    }
    if (parsed.version) {
        out << kProgram << " " << zd7240::kVersion << "\n";
        return helper_exit::kOk;
    }
    const HelperOptions& o = parsed.options;
    if (noDisplay && !o.WritesOutput()) {
        err << kProgram
            << ": no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); to run the "
               "window without one, start it under a virtual X server: xvfb-run -a "
            << kProgram << "\n";
        return helper_exit::kUnavailable;
    }

    auto theme = std::make_unique<TsuiFileTheme>();
    if (!o.themeFile.isEmpty()) {
        if (const std::optional<int> status = LoadTheme(o.themeFile, *theme, err))
            return *status;
    }
    // Opened before the window is built, so that a path that cannot be written fails at
    // once; each picture is encoded in memory and replaces its file only once complete.
    struct Picture {
        QString path;
        std::unique_ptr<zd7240::ScriptWriter> file;
    };
    Picture window{o.grabFile, nullptr};
    Picture dialog{o.grabDialogFile, nullptr};
    Picture menu{o.grabMenuFile, nullptr};
    for (Picture* picture : {&window, &dialog, &menu}) {
        if (picture->path.isEmpty())
            continue;
        try {
            picture->file = std::make_unique<zd7240::ScriptWriter>(
                QFile::encodeName(picture->path).toStdString());
        } catch (const zd7240::FileError& e) {
            err << kProgram << ": " << Shown(QString::fromLocal8Bit(e.what())) << "\n";
            return e.kind() == zd7240::FileError::Kind::Create ? helper_exit::kCantCreate
                                                               : helper_exit::kIoError;
        }
    }
    int failure = helper_exit::kOk;
    const auto save = [&err, &failure](Picture& picture, const std::function<QImage()>& draw) {
        if (!picture.file)
            return true;
        const QImage image = draw();
        QByteArray png;
        QBuffer buffer(&png);
        if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
            // Drawing or encoding fails only when memory runs out.
            err << kProgram << ": cannot draw '" << Shown(picture.path)
                << "': not enough memory for the picture\n";
            failure = helper_exit::kOsError;
            return false;
        }
        try {
            picture.file->Write(
                std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
            picture.file->Commit();
            return true;
        } catch (const zd7240::FileError& e) {
            err << kProgram << ": " << Shown(QString::fromLocal8Bit(e.what())) << "\n";
            failure = e.kind() == zd7240::FileError::Kind::Create ? helper_exit::kCantCreate
                                                                  : helper_exit::kIoError;
            return false;
        }
    };

    auto form = std::make_unique<TForm1>();
    theme->setParent(form.get());
    TsuiFileTheme* const windowTheme = o.themeFile.isEmpty() ? nullptr : theme.get();
    if (o.look != TsuiUIStyle::MacOS || windowTheme)
        form->SetLook(o.look, windowTheme);
    static_cast<void>(theme.release()); // owned by the window from here on
    form->suiPageControl1->setActivePageIndex(o.page);

    if (o.selfTestFrame)
        return RunFrameSelfTest(*form, o.look, windowTheme, out, err);
    if (!o.WritesOutput()) {
        form->show();
        return QApplication::exec();
    }

    ShowOffScreen(*form);
    TForm1& shown = *form;
    if (!save(window, [&shown] { return shown.grab().toImage(); }) ||
        !save(menu, [&shown] { return GrabWithMenuOpen(shown); }) ||
        !save(dialog, [&shown, &o] { return GrabWarning(shown, o.page); }))
        return failure;
    if (o.describe) {
        out << QJsonDocument(DescribeWidgets(form.get())).toJson(QJsonDocument::Indented);
        out.flush();
    }
    return helper_exit::kOk;
}
