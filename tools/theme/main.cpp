// zd7240-theme: the theme file tool.
//
//   export STYLE FILE   write a built-in look as a theme file
//   dump FILE           list a theme file's entries in chain order
//   pack DIR FILE       build a theme file from a folder of bitmaps and a theme.txt
//   unpack FILE DIR     write a theme file's elements as such a folder
//
// Exit statuses follow sysexits: 64 usage, 65 bad data (not a theme, damaged, bad
// input in a folder), 66 input missing, 71 memory ran out, 73 output cannot be
// created, 74 output could not be written (the old file is kept) or standard output was
// lost; 128 + the signal's number when interrupted.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "exitstatus.h"
#include "processguard.h"
#include "scriptwriter.h"
#include "theme/bmpinspect.h"
#include "theme/themeelements.h"
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
    "                      Elements missing from DIR are reported and left out.\n"
    "  unpack FILE DIR     write the elements of a theme file into the folder DIR (made\n"
    "                      when missing, not its parents) as KEY.bmp files and a\n"
    "                      theme.txt; a bitmap several elements share is\n"
    "                      written once; links, folders or special files in DIR where a\n"
    "                      file would go are refused before anything is written;\n"
    "                      ready to edit and pack again\n"
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

// Text from a file or the command line, escaped for a message or a listing line.
std::string Escaped(const QString& text, bool backslash = false) {
    const QByteArray utf8 = text.toUtf8();
    return zd7240::EscapeText(std::string_view(utf8.constData(), std::size_t(utf8.size())),
                              backslash);
}

// 8-bit text from a theme file (names and texts are Latin-1), as UTF-8 for a listing
// line: control characters (C0 and C1) become \n, \r, \t or \xHH and a backslash \\.
void AppendLatin1Escaped(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || (byte >= 0x7f && byte < 0xa0)) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xc0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3f));
        }
    }
}

std::string Latin1Escaped(const QString& text) {
    std::string out;
    const QByteArray bytes = text.toLatin1();
    AppendLatin1Escaped(out, std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return out;
}

void Err(const QString& text) {
    const std::string line = std::string(kProgram) + ": " + Escaped(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void Out(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
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

std::string_view View(QByteArrayView bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}

int Dump(const QString& path) {
    if (const int status = CheckInputFile(path))
        return status;
    const TsuiThemeFileReader reader(path);
    if (!reader.isTheme()) {
        Err(QStringLiteral("\"%1\": %2").arg(path, reader.errorString()));
        return DataError;
    }
    QStringList problems;
    if (reader.damaged())
        problems << reader.errorString();
    const auto& entries = reader.entries();
    // Each distinct bitmap is inspected once; entries sharing its data share the result.
    std::vector<zd7240::BmpInfo> bitmaps(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TsuiThemeFileReader::Entry& entry = entries[i];
        std::string kind, value;
        const std::string same =
            entry.sameDataAs >= 0
                ? "(same data as \"" + Latin1Escaped(entries[std::size_t(entry.sameDataAs)].name) +
                      "\")"
                : std::string();
        if (!entry.valid) {
            value = entry.overlapping ? "(skipped: its data overlap other entries beyond the "
                                        "file's size)"
                                      : "(data outside the file)";
        }
        switch (entry.kind) {
        case TsuiThemeFileReader::Bitmap: {
            kind = "bitmap";
            if (!entry.valid)
                break;
            if (entry.sameDataAs >= 0) {
                bitmaps[i] = bitmaps[std::size_t(entry.sameDataAs)];
            } else {
                bitmaps[i] = zd7240::InspectBmp(View(reader.entryBytes(entry)));
                if (!bitmaps[i].ok)
                    problems << QStringLiteral(
                                    "bitmap entry \"%1\" is not a complete BMP image: %2")
                                    .arg(entry.name, QString::fromStdString(bitmaps[i].problem));
            }
            const zd7240::BmpInfo& bmp = bitmaps[i];
            value = bmp.ok
                        ? std::to_string(bmp.width) + "x" + std::to_string(bmp.height)
                        : "(not a readable bitmap, " + std::to_string(entry.dataSize) + " bytes)";
            break;
        }
        case TsuiThemeFileReader::Integer:
            kind = "integer";
            if (entry.valid)
                value = std::to_string(entry.value);
            break;
        case TsuiThemeFileReader::Boolean:
            kind = "boolean";
            if (entry.valid)
                value = entry.value != 0 ? "1" : "0";
            break;
        case TsuiThemeFileReader::Text:
            kind = "text";
            if (entry.valid && !same.empty())
                value = same;
            break;
        default:
            kind = "unknown(" + std::to_string(entry.kind) + ")";
            value = "(skipped)";
            break;
        }
        std::string line = Latin1Escaped(entry.name) + " " + kind + " " + value;
        if (entry.kind == TsuiThemeFileReader::Text && entry.valid && same.empty()) {
            // Long texts go out in pieces, so the listing needs no copy of them.
            const std::string_view text = View(reader.entryBytes(entry));
            for (std::size_t at = 0; at < text.size(); at += 65536) {
                AppendLatin1Escaped(line, text.substr(at, 65536));
                std::fwrite(line.data(), 1, line.size(), stdout);
                line.clear();
            }
        }
        Out(line);
    }
    if (!problems.isEmpty()) {
        Err(QStringLiteral("\"%1\": %2").arg(path, problems.join(QStringLiteral("; "))));
        return DataError;
    }
    return Ok;
}

bool ParseNumber(const QString& text, qint32* value) {
    QString t = text.trimmed();
    // One optional minus, then decimal digits, 0x and hex digits, or $ and hex digits;
    // nothing else (a second sign, as in "--5" or "-$-5", is no number).
    static const QRegularExpression kNumber(
        QStringLiteral("^-?(0[xX][0-9A-Fa-f]+|\\$[0-9A-Fa-f]+|[0-9]+)$"));
    if (!kNumber.match(t).hasMatch())
        return false;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-'))) {
        negative = true;
        t = t.mid(1);
    }
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok, 10);
    if (!ok)
        return false;
    if (negative)
        v = -v;
    // Colours and integers share 32 bits; hex up to 0xFFFFFFFF is taken as its bit pattern.
    if (v < INT32_MIN || v > qint64(UINT32_MAX))
        return false;
    *value = static_cast<qint32>(static_cast<quint32>(v));
    return true;
}

bool ParseBool(const QString& text, bool* value) {
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1")) {
        *value = true;
        return true;
    }
    if (t == QLatin1String("false") || t == QLatin1String("0")) {
        *value = false;
        return true;
    }
    return false;
}

// The bytes of a file named in a folder to pack, or a null array with the reason in
// *why: a folder, a dangling link, a device or a FIFO under an expected name is an
// error, not something to skip. Files above the theme size limit are refused unread.
QByteArray ReadInputFile(const QString& path, QString* why) {
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists()) {
        *why = QStringLiteral("is a symbolic link to \"%1\", which does not exist")
                   .arg(info.symLinkTarget());
        return {};
    }
    if (!info.isFile()) {
        *why = info.isDir() ? QStringLiteral("is a folder") : QStringLiteral("is not a file");
        return {};
    }
    if (info.size() > TsuiThemeFileReader::kMaxFileSize) {
        *why = QStringLiteral("is %1 bytes, more than a theme file can hold").arg(info.size());
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot be read: ") + file.errorString();
        return {};
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *why = QStringLiteral("cannot be read: ") + file.errorString();
        return {};
    }
    if (bytes.isNull())
        bytes = QByteArray(""); // an empty file is data, not a failure
    return bytes;
}

int Pack(const QString& dirPath, const QString& path) {
    const QDir dir(dirPath);
    if (!QFileInfo(dirPath).isDir()) {
        Err(QStringLiteral("\"%1\": no such folder").arg(dirPath));
        return NoInput;
    }
    std::map<int, QByteArray> bitmaps;
    std::map<int, qint32> values;
    QStringList errors;

    // Every entry that looks like a bitmap, whatever it is: a folder or a dangling link
    // named ButtonImage.bmp is an error, not a missing element.
    const QStringList files = dir.entryList(
        {QStringLiteral("*.bmp")},
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : files) {
        const int element = ThemeElementByKey(name.left(name.size() - 4));
        if (element == 0 || ThemeElementKind(element) != TsuiElementKind::Image) {
            Err(QStringLiteral("warning: \"%1\" is not named after an image element; ignored")
                    .arg(name));
            continue;
        }
        QString why;
        const QByteArray bytes = ReadInputFile(dir.filePath(name), &why);
        if (bytes.isNull()) {
            errors << QStringLiteral("\"%1\" %2").arg(name, why);
            continue;
        }
        const zd7240::BmpInfo bmp = zd7240::InspectBmp(View(bytes));
        if (!bmp.ok) {
            errors << QStringLiteral("\"%1\" is not a complete BMP image: %2")
                          .arg(name, QString::fromStdString(bmp.problem));
            continue;
        }
        if (bitmaps.count(element)) {
            errors << QStringLiteral("\"%1\": %2 is given twice (names differ only in case)")
                          .arg(name, QLatin1String(ThemeElementKey(element)));
            continue;
        }
        bitmaps[element] = bytes;
    }

    const QString textPath = dir.filePath(QStringLiteral("theme.txt"));
    const QFileInfo textInfo(textPath);
    if (textInfo.exists() || textInfo.isSymLink()) {
        QString why;
        const QByteArray text = ReadInputFile(textPath, &why);
        if (text.isNull()) {
            Err(QStringLiteral("\"%1\" %2").arg(textPath, why));
            return NoInput;
        }
        std::map<int, int> firstLine; // element -> line that set it
        std::map<int, int> shared;    // element -> the element whose bitmap it shares
        const QList<QByteArray> lines = text.split('\n');
        for (qsizetype index = 0; index < lines.size(); ++index) {
            const int lineNumber = int(index) + 1;
            const auto where = QStringLiteral("theme.txt line %1: ").arg(lineNumber);
            const QByteArray& raw = lines[index];
            if (raw.contains('\0')) {
                errors << where + QStringLiteral("contains a NUL byte");
                continue;
            }
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq < 0) {
                errors << where + QStringLiteral("expected Key=value");
                continue;
            }
            const QString key = line.left(eq).trimmed();
            const QString value = line.mid(eq + 1);
            const int element = ThemeElementByKey(key);
            if (element == 0) {
                errors << where + QStringLiteral("\"%1\" is not a theme element").arg(key);
                continue;
            }
            if (const auto it = firstLine.find(element); it != firstLine.end()) {
                errors << where + QStringLiteral("\"%1\" is given again (first on line %2)")
                                      .arg(key)
                                      .arg(it->second);
                continue;
            }
            firstLine[element] = lineNumber;
            qint32 number = 0;
            bool flag = false;
            switch (ThemeElementKind(element)) {
            case TsuiElementKind::Image: {
                // "KEY=same as OTHER.bmp": the bitmap of another element, as unpack writes a
                // bitmap that several elements share.
                static const QRegularExpression kSameAs(
                    QStringLiteral("^\\s*same as ([A-Za-z]+)\\.bmp\\s*$"));
                const QRegularExpressionMatch same = kSameAs.match(value);
                const int other = same.hasMatch() ? ThemeElementByKey(same.captured(1)) : 0;
                if (other == 0 || !bitmaps.count(other))
                    errors << where + QStringLiteral("\"%1\" is an image: give it as %1.bmp, or "
                                                     "as \"same as KEY.bmp\" of a bitmap given")
                                          .arg(key);
                else if (bitmaps.count(element))
                    errors << where + QStringLiteral("\"%1\" is also given as %1.bmp").arg(key);
                else
                    shared[element] = other;
                break;
            }
            case TsuiElementKind::Boolean:
                if (ParseBool(value, &flag))
                    values[element] = flag ? 1 : 0;
                else
                    errors << where + QStringLiteral("\"%1\" is not True or False").arg(value);
                break;
            case TsuiElementKind::Integer:
            case TsuiElementKind::Colour:
                if (ParseNumber(value, &number))
                    values[element] = number;
                else
                    errors << where + QStringLiteral("\"%1\" is not a 32-bit number").arg(value);
                break;
            }
        }
        for (const auto& [element, other] : shared)
            bitmaps[element] = bitmaps[other];
    }
    if (!errors.isEmpty()) {
        for (const QString& error : errors)
            Err(error);
        return DataError;
    }

    TsuiThemeFileWriter writer;
    QStringList missing;
    for (int element = 1; element <= kThemeElementCount; ++element) {
        const QString key = QLatin1String(ThemeElementKey(element));
        switch (ThemeElementKind(element)) {
        case TsuiElementKind::Image:
            if (bitmaps.count(element))
                writer.addBitmap(key, bitmaps[element]);
            else
                missing << key;
            break;
        case TsuiElementKind::Boolean:
            if (values.count(element))
                writer.addBoolean(key, values[element] != 0);
            else
                missing << key;
            break;
        case TsuiElementKind::Integer:
        case TsuiElementKind::Colour:
            if (values.count(element))
                writer.addInteger(key, values[element]);
            else
                missing << key;
            break;
        }
    }
    if (!missing.isEmpty())
        Err(QStringLiteral("warning: %1 elements left out: %2")
                .arg(missing.size())
                .arg(missing.join(QStringLiteral(", "))));
    return WriteOutput(path, [&](zd7240::ScriptWriter& out) { writer.writeTo(out); });
}

// The other half of pack: every element the theme holds, as KEY.bmp files and
// theme.txt lines that pack reads back to the same bytes.
int Unpack(const QString& path, const QString& dirPath) {
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
    // Only regular files inside the folder are written: every name is looked at before
    // anything is written, and a link (which could lead out of the folder), a folder or
    // a special file where a file is to go is refused.
    // A bitmap that several elements share is written once, as the first element's file;
    // the others name it in theme.txt ("KEY=same as FIRST.bmp"), so the folder is never
    // larger than the theme's own data.
    QStringList names{QStringLiteral("theme.txt")};
    std::map<int, QString> sameAs; // element -> the key whose file holds its bitmap
    {
        QHash<QByteArray, QString> written;
        for (int element = 1; element <= kThemeElementCount; ++element) {
            const QString key = QLatin1String(ThemeElementKey(element));
            if (ThemeElementKind(element) != TsuiElementKind::Image)
                continue;
            const QByteArray bytes = reader.FindBitmapStream(key);
            if (bytes.isNull())
                continue;
            if (const auto first = written.constFind(bytes); first != written.constEnd()) {
                sameAs[element] = *first;
                continue;
            }
            written.insert(bytes, key);
            names << key + QLatin1String(".bmp");
        }
    }
    for (const QString& name : names) {
        struct stat st {};
        const QByteArray entry = QFile::encodeName(dir.filePath(name));
        if (lstat(entry.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
            Err(QStringLiteral("\"%1\" is %2, not a file; nothing written")
                    .arg(QString::fromStdString(Escaped(dir.filePath(name))),
                         QLatin1String(S_ISLNK(st.st_mode)   ? "a symbolic link"
                                       : S_ISDIR(st.st_mode) ? "a folder"
                                                             : "a special file")));
            return CantCreate;
        }
    }
    // The theme file's name is escaped: a newline in it would start a setting of its own.
    QByteArray text = "# Theme elements of " +
                      QByteArray::fromStdString(Escaped(QFileInfo(path).fileName())) +
                      "; colours are 0xBBGGRR (low byte red).\n";
    QStringList missing;
    for (int element = 1; element <= kThemeElementCount; ++element) {
        const QString key = QLatin1String(ThemeElementKey(element));
        switch (ThemeElementKind(element)) {
        case TsuiElementKind::Image: {
            const QByteArray bytes = reader.FindBitmapStream(key);
            if (bytes.isNull()) {
                missing << key;
                break;
            }
            if (const auto first = sameAs.find(element); first != sameAs.end()) {
                text += key.toLatin1() + "=same as " + first->second.toLatin1() + ".bmp\n";
                break;
            }
            if (const int status = WriteBytes(dir.filePath(key + QLatin1String(".bmp")), bytes))
                return status;
            break;
        }
        case TsuiElementKind::Boolean: {
            const bool present =
                std::any_of(reader.entries().begin(), reader.entries().end(), [&](const auto& e) {
                    return e.valid && e.kind == TsuiThemeFileReader::Boolean &&
                           e.name.compare(key, Qt::CaseInsensitive) == 0;
                });
            if (!present)
                missing << key;
            else
                text += key.toLatin1() + (reader.FindBoolEntry(key) ? "=True\n" : "=False\n");
            break;
        }
        case TsuiElementKind::Integer:
        case TsuiElementKind::Colour: {
            const auto entry =
                std::find_if(reader.entries().begin(), reader.entries().end(), [&](const auto& e) {
                    return e.valid && e.kind == TsuiThemeFileReader::Integer &&
                           e.name.compare(key, Qt::CaseInsensitive) == 0;
                });
            if (entry == reader.entries().end()) {
                missing << key;
                break;
            }
            const qint32 value = entry->value;
            if (ThemeElementKind(element) == TsuiElementKind::Colour)
                text += key.toLatin1() + "=0x" +
                        QByteArray::number(quint32(value), 16).rightJustified(6, '0').toUpper() +
                        "\n";
            else
                text += key.toLatin1() + "=" + QByteArray::number(value) + "\n";
            break;
        }
        }
    }
    if (const int status = WriteBytes(dir.filePath(QStringLiteral("theme.txt")), text))
        return status;
    if (!missing.isEmpty())
        Err(QStringLiteral("warning: %1 elements not in the theme: %2")
                .arg(missing.size())
                .arg(missing.join(QStringLiteral(", "))));
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
        if (args.size() != 3)
            return UsageError(QStringLiteral("unpack takes FILE and DIR"));
        return Unpack(args[1], args[2]);
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
