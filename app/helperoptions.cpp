#include "helperoptions.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QTextStream>
#include <algorithm>
#include <cstring>
#include <iterator>

#include "pagetable.h"
#include "processguard.h"

namespace {

// The looks an operator can name, in the order of the style table.
constexpr TsuiUIStyle kLooks[] = {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP, TsuiUIStyle::DeepBlue,
                                  TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass};

QString LookNames() {
    QStringList names;
    for (TsuiUIStyle look : kLooks)
        names << LookName(look);
    return names.join(QStringLiteral(", "));
}

int PageCount() {
    return static_cast<int>(zd7240::Pages().size());
}

// The file a picture option's name leads to, for telling whether two names are one file:
// links followed, and for a file yet to be made, its folder's real path and its name.
QString ResolvedTarget(const QString& name) {
    QFileInfo info(name);
    // As the writer does, a link (even one to a file yet to be made) leads to its target.
    for (int hops = 0; hops < 40 && info.isSymLink(); ++hops)
        info = QFileInfo(info.symLinkTarget());
    if (info.exists()) {
        const QString real = info.canonicalFilePath();
        if (!real.isEmpty())
            return real;
    }
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                            : QDir(folder).filePath(info.fileName());
}

int UsageError(QTextStream& err, const QString& message) {
    err << kHelperProgram << ": " << Shown(message) << "\n"
        << "Try '" << kHelperProgram << " --help' for more information.\n";
    err.flush();
    return helper_exit::kUsage;
}

} // namespace

QString LookName(TsuiUIStyle style) {
    return QString::fromLatin1(
        QMetaEnum::fromType<TsuiUIStyle>().valueToKey(static_cast<int>(style)));
}

QString Shown(const QString& text) {
    return QString::fromStdString(zd7240::EscapeText(QFile::encodeName(text).toStdString()));
}

void PrintHelperUsage(QTextStream& out) {
    out << "Usage: " << kHelperProgram << " [--look STYLE | --theme FILE] [--page N]\n"
        << "       " << kHelperProgram
        << " [--look STYLE | --theme FILE] [--page N] [--grab FILE.png]\n"
        << "                     [--grab-dialog FILE.png] [--grab-menu FILE.png] [--describe]\n"
        << "       " << kHelperProgram << " [--look STYLE | --theme FILE] --selftest-frame\n"
        << "       " << kHelperProgram << " --help | --version\n"
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
        << "The three --grab options and --describe can be combined and need no display;\n"
        << "each option is given once at most, and each picture goes to a file of its own.\n"
        << "Exit status: 0 done; 64 bad usage (unknown option or look, page out of range,\n"
        << "an option given twice, two pictures naming one file); 65 the theme file is not\n"
        << "a theme; 66 the theme file cannot be found; 70 a\n"
        << "--selftest-frame step did not happen in time; 71 not enough memory to draw a\n"
        << "picture; 73 a picture cannot be created; 74 writing a picture or the output failed.\n";
}

std::optional<int> ParseHelperOptions(const QStringList& arguments, HelperCommandLine& parsed,
                                      QTextStream& err) {
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
    const QList<QCommandLineOption> options = {look,     theme,    page,     grab, grabDialog,
                                               grabMenu, describe, selfTest, help, version};
    parser.addOptions(options);
    if (!parser.parse(arguments))
        return UsageError(err, parser.errorText());
    // Each option once: of two values only the last would count, so a second --grab
    // would leave the first picture unwritten and a second --look overrule the first
    // without a word. -h and --help are one option.
    QStringList given;
    for (const QString& name : parser.optionNames()) {
        const auto option = std::find_if(options.begin(), options.end(), [&name](const auto& o) {
            return o.names().contains(name);
        });
        const QString longName = option == options.end() ? name : option->names().last();
        if (given.contains(longName))
            return UsageError(err, QStringLiteral("--%1 is given twice").arg(longName));
        given << longName;
    }
    if (!parser.positionalArguments().isEmpty())
        return UsageError(
            err,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    parsed.help = parser.isSet(help);
    parsed.version = parser.isSet(version);
    HelperOptions& o = parsed.options;
    if (parser.isSet(look) && parser.isSet(theme))
        return UsageError(err, QStringLiteral("--look and --theme cannot be used together"));
    o.lookGiven = parser.isSet(look) || parser.isSet(theme);
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
    // Two pictures into one file: the second would replace the first.
    for (std::size_t i = 0; i < std::size(pictures); ++i) {
        for (std::size_t j = i + 1; j < std::size(pictures); ++j) {
            const QString& first = *pictures[i].second;
            const QString& second = *pictures[j].second;
            if (!first.isEmpty() && !second.isEmpty() &&
                ResolvedTarget(first) == ResolvedTarget(second))
                return UsageError(err, QStringLiteral("--%1 '%2' and --%3 '%4' name the same file")
                                           .arg(pictures[i].first->names().first(), first,
                                                pictures[j].first->names().first(), second));
        }
    }
    o.describe = parser.isSet(describe);
    o.selfTestFrame = parser.isSet(selfTest);
    if (o.selfTestFrame && o.WritesOutput())
        return UsageError(err, QStringLiteral("--selftest-frame shows the window; it cannot be "
                                              "used with --grab, --grab-dialog, --grab-menu or "
                                              "--describe"));
    return std::nullopt;
}

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
