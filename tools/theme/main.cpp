// zd7240-theme: the theme file tool.
//
//   export STYLE FILE   write a built-in look as a theme file
//   dump FILE           list a theme file's entries in chain order
//   pack DIR FILE       build a theme file from a folder of bitmaps and a theme.txt
//   unpack [--force] FILE DIR
//                       write a theme file's elements as such a folder
//
// Exit statuses follow sysexits: 64 usage, 65 bad data (not a theme, damaged, bad
// input in a folder), 66 input missing, 71 memory ran out, 73 output cannot be
// created, 74 output could not be written (the old file is kept) or standard output was
// lost; 128 + the signal's number when interrupted.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "exitstatus.h"
#include "foldertargets.h"
#include "processguard.h"
#include "scriptwriter.h"
#include "theme/themefolder.h"
#include "theme/themelisting.h"
#include "theme/tsuithemefilereader.h"
#include "theme/tsuithemefilewriter.h"
#include "version.h"

namespace {

enum Exit {
    Ok = zd7240::exit_status::kOk,
    Usage = zd7240::exit_status::kUsage,
    DataError = zd7240::exit_status::kData,
    NoInput = zd7240::exit_status::kNoInput,
    Software = zd7240::exit_status::kSoftware,
    OsError = zd7240::exit_status::kOsError,
    CantCreate = zd7240::exit_status::kCantCreate,
    IoError = zd7240::exit_status::kIoError
};

constexpr const char* kProgram = "zd7240-theme";

const char kUsage[] =
    "Usage: zd7240-theme COMMAND ARGS\n"
    "\n"
    "Commands:\n"
    "  export STYLE FILE   write the built-in look STYLE (MacOS, WinXP, DeepBlue,\n"
    "                      Protein or BlueGlass) as a complete theme file\n"
    "  dump FILE           print every entry of a theme file in chain order, one per\n"
    "                      line: key, kind (bitmap, integer, boolean, text) and value\n"
    "                      (bitmap: its pixel size as WIDTHxHEIGHT; integer: decimal;\n"
    "                      boolean: 0 or 1). Control characters in names and texts are\n"
    "                      printed escaped (\\n, \\x1b, \\\\); data shared with an earlier\n"
    "                      entry are printed as (same data as \"NAME\")\n"
    "  pack DIR FILE       build a theme file from the folder DIR:\n"
    "                        KEY.bmp    the bitmap of an image element, named by its key\n"
    "                                   (ButtonImage.bmp, TabControlTabImage.bmp, ...),\n"
    "                                   a complete BMP file\n"
    "                        theme.txt  one Key=value line per other element:\n"
    "                                   colours as 0xBBGGRR hex (low byte red) or decimal,\n"
    "                                   integers in decimal (or 0x hex), booleans as\n"
    "                                   True/False or 1/0; blank lines and lines\n"
    "                                   starting with # are ignored; each key once;\n"
    "                                   KEY=same as OTHER.bmp gives an image element\n"
    "                                   the bitmap of another\n"
    "                      Elements missing from DIR are reported and left out; a DIR\n"
    "                      without any element is refused (65) and FILE left as it was.\n"
    "  unpack [--force] FILE DIR\n"
    "                      write the elements of a theme file into the folder DIR (made\n"
    "                      when missing, not its parents) as KEY.bmp files and a\n"
    "                      theme.txt; a bitmap several elements share is\n"
    "                      written once; links, folders, special files or files that\n"
    "                      cannot be written in DIR where a file would go are refused\n"
    "                      before anything is written; ready to edit and pack again.\n"
    "                      A DIR that is not empty is refused (73), so that another\n"
    "                      theme's files cannot mix with these ones\n"
    "    --force           unpack into a DIR that is not empty: first remove the theme\n"
    "                      files in it (theme.txt and KEY.bmp of every image element,\n"
    "                      what pack would read); other files are left alone\n"
    "  -h, --help          this text\n"
    "  -V, --version       the program's version\n"
    "\n"
    "FILE may be - for standard output (export, pack). An existing file is replaced only\n"
    "once the whole theme is written; devices, FIFOs and pipes are written directly.\n"
    "\n"
    "Exit status: 0 success, 64 usage error, 65 bad or damaged data, 66 input missing,\n"
    "71 memory ran out, 73 output cannot be created, 74 writing failed (the old file is\n"
    "kept) or standard output was lost, 130 interrupted (143 SIGTERM, 129 SIGHUP; the old\n"
    "file is kept).\n";

// Text from a file or the command line, escaped for a message.
std::string Escaped(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return zd7240::EscapeText(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

void Err(const QString& text) {
    const std::string line = std::string(kProgram) + ": " + Escaped(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

int UsageError(const QString& text) {
    Err(text);
    std::fputs("Try 'zd7240-theme --help'.\n", stderr);
    return Usage;
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Writes `bytes` (or the theme of `writer`) to `path`, "-" being standard output,
// through the script writer: 0, 73 or 74 with the system's description.
int WriteOutput(const QString& path, const std::function<void(zd7240::ScriptWriter&)>& fill) {
    try {
        std::unique_ptr<zd7240::ScriptWriter> out;
        if (path == QLatin1String("-")) {
            out = std::make_unique<zd7240::ScriptWriter>(STDOUT_FILENO, "standard output");
        } else {
            out = std::make_unique<zd7240::ScriptWriter>(LocalPath(path));
            zd7240::SetInterruptNote("; " + Escaped(path) + " was left as it was");
        }
        fill(*out);
        out->Commit();
        zd7240::SetInterruptNote({});
        return Ok;
    } catch (const zd7240::FileError& e) {
        Err(QString::fromLocal8Bit(e.what()));
        return e.kind() == zd7240::FileError::Kind::Create ? CantCreate : IoError;
    }
}

int WriteBytes(const QString& path, const QByteArray& bytes) {
    return WriteOutput(path, [&](zd7240::ScriptWriter& out) {
        out.Write(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    });
}

int Export(const QString& styleName, const QString& path) {
    const QMetaEnum meta = QMetaEnum::fromType<TsuiUIStyle>();
    int style = -1;
    for (int i = 0; i < meta.keyCount(); ++i) {
        if (styleName.compare(QLatin1String(meta.key(i)), Qt::CaseInsensitive) == 0)
            style = meta.value(i);
    }
    if (style <= 0)
        return UsageError(QStringLiteral("\"%1\" is not a built-in look (MacOS, WinXP, DeepBlue, "
                                         "Protein, BlueGlass)")
                              .arg(styleName));
    const TsuiThemeFileWriter writer =
        TsuiThemeFileWriter::FromBuiltinStyle(static_cast<TsuiUIStyle>(style));
    return WriteOutput(path, [&](zd7240::ScriptWriter& out) { writer.writeTo(out); });
}

// 0 when `path` names something that can be read as a file; otherwise prints why and
// returns 66.
int CheckInputFile(const QString& path) {
    const QFileInfo info(path);
    QString why;
    if (info.isSymLink() && !info.exists())
        why = QStringLiteral("a symbolic link to \"%1\", which does not exist")
                  .arg(info.symLinkTarget());
    else if (!info.exists())
        why = QStringLiteral("no such file");
    else if (info.isDir())
        why = QStringLiteral("a folder, not a theme file");
    if (why.isEmpty()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            return Ok;
        why = file.errorString();
    }
    Err(QStringLiteral("\"%1\": %2").arg(path, why));
    return NoInput;
}

int Dump(const QString& path) {
    if (const int status = CheckInputFile(path))
        return status;
    const TsuiThemeFileReader reader(path);
    if (!reader.isTheme()) {
        Err(QStringLiteral("\"%1\": %2").arg(path, reader.errorString()));
        return DataError;
    }
    const QStringList problems = zd7240::ListThemeEntries(
        reader, [](std::string_view piece) { std::fwrite(piece.data(), 1, piece.size(), stdout); });
    if (!problems.isEmpty()) {
        Err(QStringLiteral("\"%1\": %2").arg(path, problems.join(QStringLiteral("; "))));
        return DataError;
    }
    return Ok;
}

int Pack(const QString& dirPath, const QString& path) {
    const zd7240::PackedFolder packed = zd7240::PackThemeFolder(dirPath);
    for (const QString& name : packed.ignored)
        Err(QStringLiteral("warning: \"%1\" is not named after an image element; ignored")
                .arg(name));
    for (const QString& error : packed.errors)
        Err(error);
    switch (packed.refusal) {
    case zd7240::PackedFolder::Refusal::None:
        break;
    case zd7240::PackedFolder::Refusal::NoFolder:
    case zd7240::PackedFolder::Refusal::TextUnreadable:
        return NoInput;
    case zd7240::PackedFolder::Refusal::BadData:
    case zd7240::PackedFolder::Refusal::NoTheme:
        return DataError;
    }
    if (!packed.leftOut.isEmpty())
        Err(QStringLiteral("warning: %1 elements left out: %2")
                .arg(packed.leftOut.size())
                .arg(packed.leftOut.join(QStringLiteral(", "))));
    return WriteOutput(path, [&](zd7240::ScriptWriter& out) { packed.theme.writeTo(out); });
}

// The other half of pack: every element the theme holds, as KEY.bmp files and
// theme.txt lines that pack reads back to the same bytes.
int Unpack(const QString& path, const QString& dirPath, bool force) {
    if (const int status = CheckInputFile(path))
        return status;
    const TsuiThemeFileReader reader(path);
    if (!reader.isTheme()) {
        Err(QStringLiteral("\"%1\": %2").arg(path, reader.errorString()));
        return DataError;
    }
    const QFileInfo dirInfo(dirPath);
    if (dirInfo.exists() && !dirInfo.isDir()) {
        Err(QStringLiteral("\"%1\" is not a folder").arg(dirPath));
        return CantCreate;
    }
    // The folder itself is made when missing, never its parents: a mistyped path must not
    // grow a tree of folders somewhere.
    const QByteArray dirName = QFile::encodeName(dirPath);
    if (mkdir(dirName.constData(), 0777) != 0 && errno != EEXIST) {
        Err(QStringLiteral("cannot make the folder \"%1\": %2")
                .arg(QString::fromStdString(Escaped(dirPath)),
                     QString::fromLocal8Bit(std::strerror(errno))));
        return CantCreate;
    }
    const QDir dir(dirPath);
    const zd7240::UnpackedTheme unpacked = zd7240::UnpackTheme(reader, QFileInfo(path).fileName());
    // What the folder holds already: the files of a theme (which pack would read along
    // with the new ones) go with --force; any other entry stays, whatever it is.
    const QStringList present =
        dir.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    QStringList stale;
    for (const QString& name : present) {
        if (zd7240::IsThemeFolderFile(name))
            stale << name;
    }
    // Only regular files inside the folder are written or removed: every name is looked
    // at before anything changes, and a link (which could lead out of the folder), a
    // folder, a special file or a file that cannot be written is refused.
    QStringList names{QLatin1String(zd7240::kThemeTextName)};
    for (const auto& bitmap : unpacked.bitmaps)
        names << bitmap.name;
    std::vector<std::string> targets;
    for (const QString& name : names + stale)
        targets.push_back(LocalPath(name));
    if (const auto refused = zd7240::CheckFolderTargets(LocalPath(dirPath), targets)) {
        Err(QStringLiteral("\"%1\" %2; nothing written")
                .arg(QFile::decodeName(QByteArray::fromStdString(refused->path)),
                     QString::fromLocal8Bit(refused->why)));
        return CantCreate;
    }
    // Unpacked over another theme's files, the folder would pack as a mix of both.
    if (!present.isEmpty() && !force) {
        Err(QStringLiteral("\"%1\" is not empty (%2 entries); nothing written: unpack into a "
                           "new or empty folder, or give --force to replace the theme files in it")
                .arg(dirPath)
                .arg(present.size()));
        return CantCreate;
    }
    for (const QString& name : stale) {
        const QByteArray entry = QFile::encodeName(dir.filePath(name));
        if (unlink(entry.constData()) != 0 && errno != ENOENT) {
            Err(QStringLiteral("cannot remove \"%1\": %2")
                    .arg(dir.filePath(name), QString::fromLocal8Bit(std::strerror(errno))));
            return CantCreate;
        }
    }
    for (const auto& bitmap : unpacked.bitmaps) {
        if (const int status = WriteBytes(dir.filePath(bitmap.name), bitmap.bytes))
            return status;
    }
    if (const int status =
            WriteBytes(dir.filePath(QLatin1String(zd7240::kThemeTextName)), unpacked.text))
        return status;
    if (!unpacked.missing.isEmpty())
        Err(QStringLiteral("warning: %1 elements not in the theme: %2")
                .arg(unpacked.missing.size())
                .arg(unpacked.missing.join(QStringLiteral(", "))));
    if (reader.damaged()) {
        Err(QStringLiteral("\"%1\": %2").arg(path, reader.errorString()));
        return DataError;
    }
    return Ok;
}

int Run(const QStringList& args) {
    if (args.isEmpty())
        return UsageError(QStringLiteral("no command given"));
    const QString& command = args.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return Ok;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("-V")) {
        std::printf("zd7240-theme (Velmar Zd7240 Helper) %s\n", zd7240::kVersion);
        return Ok;
    }
    if (command == QLatin1String("export")) {
        if (args.size() != 3)
            return UsageError(QStringLiteral("export takes STYLE and FILE"));
        return Export(args[1], args[2]);
    }
    if (command == QLatin1String("dump")) {
        if (args.size() != 2)
            return UsageError(QStringLiteral("dump takes FILE"));
        return Dump(args[1]);
    }
    if (command == QLatin1String("pack")) {
        if (args.size() != 3)
            return UsageError(QStringLiteral("pack takes DIR and FILE"));
        return Pack(args[1], args[2]);
    }
    if (command == QLatin1String("unpack")) {
        QStringList operands = args.mid(1);
        const qsizetype forced = operands.removeAll(QStringLiteral("--force"));
        if (forced > 1)
            return UsageError(QStringLiteral("--force is given %1 times").arg(forced));
        if (operands.size() != 2)
            return UsageError(QStringLiteral("unpack takes [--force] FILE and DIR"));
        return Unpack(operands[0], operands[1], forced == 1);
    }
    return UsageError(QStringLiteral("unknown command \"%1\"").arg(command));
}

} // namespace

int main(int argc, char** argv) {
    zd7240::GuardStandardDescriptors();
    zd7240::ExitOnInterrupt(kProgram);
    // Over a file size limit, let the write fail and the old file stay, rather than die.
    std::signal(SIGXFSZ, SIG_IGN);
    int status = Software;
    {
        QCoreApplication app(argc, argv);
        try {
            status = Run(app.arguments().mid(1));
        } catch (const std::bad_alloc&) {
            // A theme file is read whole and a theme built in memory: 64 MiB at most, but
            // the system may still refuse it. The old output file is kept.
            static const char kNoMemory[] = "zd7240-theme: memory ran out\n";
            std::fwrite(kNoMemory, 1, sizeof kNoMemory - 1, stderr);
            status = OsError;
        } catch (const std::exception& e) {
            Err(QString::fromLocal8Bit(e.what()));
            status = Software;
        }
    }
    return zd7240::FinishStandardOutput(kProgram, status);
}
