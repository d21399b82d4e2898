// zd7240-theme: the theme file tool.
//
//   export STYLE FILE   write a built-in look as a theme file
//   dump FILE           list a theme file's entries in chain order
//   pack DIR FILE       build a theme file from a folder of bitmaps and a theme.txt
//
// Exit statuses follow sysexits: 64 usage, 65 bad data (not a theme, damaged, bad
// input in a folder), 66 input missing, 73 output cannot be written.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMetaEnum>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <map>

#include "themeelements.h"
#include "tsuithemefilereader.h"
#include "tsuithemefilewriter.h"

namespace {

enum Exit { Ok = 0, Usage = 64, DataError = 65, NoInput = 66, CantCreate = 73, Software = 70 };

const char kUsage[] =
    "Usage: zd7240-theme COMMAND ARGS\n"
    "\n"
    "Commands:\n"
    "  export STYLE FILE   write the built-in look STYLE (MacOS, WinXP, DeepBlue,\n"
    "                      Protein or BlueGlass) as a complete theme file\n"
    "  dump FILE           print every entry of a theme file in chain order, one per\n"
    "                      line: key, kind (bitmap, integer, boolean, text) and value\n"
    "                      (bitmap: its pixel size as WIDTHxHEIGHT; integer: decimal;\n"
    "                      boolean: 0 or 1)\n"
    "  pack DIR FILE       build a theme file from the folder DIR:\n"
    "                        KEY.bmp    the bitmap of an image element, named by its key\n"
    "                                   (ButtonImage.bmp, TabControlTabImage.bmp, ...)\n"
    "                        theme.txt  one Key=value line per other element:\n"
    "                                   colours as 0xBBGGRR hex (low byte red) or decimal,\n"
    "                                   integers in decimal (or 0x hex), booleans as\n"
    "                                   True/False or 1/0; blank lines and lines\n"
    "                                   starting with # are ignored\n"
    "                      Elements missing from DIR are reported and left out.\n"
    "  --help              this text\n"
    "\n"
    "Exit status: 0 success, 64 usage error, 65 bad or damaged data, 66 input missing,\n"
    "73 output cannot be written.\n";

void Err(const QString& text) {
    std::fprintf(stderr, "zd7240-theme: %s\n", qPrintable(text));
}

void Out(const QString& text) {
    const QByteArray line = text.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
}

int UsageError(const QString& text) {
    Err(text);
    std::fputs("Try 'zd7240-theme --help'.\n", stderr);
    return Usage;
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
    QString error;
    if (!writer.writeTo(path, &error)) {
        Err(QStringLiteral("cannot write \"%1\": %2").arg(path, error));
        return CantCreate;
    }
    return Ok;
}

int Dump(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        Err(QStringLiteral("\"%1\": no such file").arg(path));
        return NoInput;
    }
    const TsuiThemeFileReader reader(path);
    if (!reader.isTheme()) {
        Err(QStringLiteral("\"%1\": %2").arg(path, reader.errorString()));
        return DataError;
    }
    QStringList problems;
    if (reader.damaged())
        problems << reader.errorString();
    for (const TsuiThemeFileReader::Entry& entry : reader.entries()) {
        QString kind, value;
        switch (entry.kind) {
        case TsuiThemeFileReader::Bitmap: {
            kind = QStringLiteral("bitmap");
            const QImage image = QImage::fromData(reader.entryData(entry), "BMP");
            if (!entry.valid) {
                value = QStringLiteral("(data outside the file)");
            } else if (image.isNull()) {
                value = QStringLiteral("(not a readable bitmap, %1 bytes)").arg(entry.dataSize);
                problems << QStringLiteral("bitmap entry \"%1\" is not a readable BMP image")
                                .arg(entry.name);
            } else {
                value = QStringLiteral("%1x%2").arg(image.width()).arg(image.height());
            }
            break;
        }
        case TsuiThemeFileReader::Integer:
            kind = QStringLiteral("integer");
            value = entry.valid ? QString::number(entry.value)
                                : QStringLiteral("(data outside the file)");
            break;
        case TsuiThemeFileReader::Boolean:
            kind = QStringLiteral("boolean");
            value = entry.valid ? QString::number(entry.value != 0 ? 1 : 0)
                                : QStringLiteral("(data outside the file)");
            break;
        case TsuiThemeFileReader::Text:
            kind = QStringLiteral("text");
            value = entry.valid ? QString::fromLatin1(reader.entryData(entry))
                                : QStringLiteral("(data outside the file)");
            break;
        default:
            kind = QStringLiteral("unknown(%1)").arg(entry.kind);
            value = QStringLiteral("(skipped)");
            break;
        }
        Out(entry.name + QLatin1Char(' ') + kind + QLatin1Char(' ') + value);
    }
    if (!problems.isEmpty()) {
        Err(QStringLiteral("\"%1\": %2").arg(path, problems.join(QStringLiteral("; "))));
        return DataError;
    }
    return Ok;
}

bool ParseNumber(const QString& text, qint32* value) {
    QString t = text.trimmed();
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

int Pack(const QString& dirPath, const QString& path) {
    const QDir dir(dirPath);
    if (!QFileInfo(dirPath).isDir()) {
        Err(QStringLiteral("\"%1\": no such folder").arg(dirPath));
        return NoInput;
    }
    std::map<int, QByteArray> bitmaps;
    std::map<int, qint32> values;
    QStringList errors;

    const QStringList files = dir.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        const int element = ThemeElementByKey(QFileInfo(name).completeBaseName());
        if (element == 0 || ThemeElementKind(element) != TsuiElementKind::Image) {
            Err(QStringLiteral("warning: \"%1\" is not named after an image element; ignored")
                    .arg(name));
            continue;
        }
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            errors << QStringLiteral("cannot read \"%1\": %2").arg(name, file.errorString());
            continue;
        }
        const QByteArray bytes = file.readAll();
        if (QImage::fromData(bytes, "BMP").isNull()) {
            errors << QStringLiteral("\"%1\" is not a readable BMP image").arg(name);
            continue;
        }
        bitmaps[element] = bytes;
    }

    const QString textPath = dir.filePath(QStringLiteral("theme.txt"));
    if (QFileInfo(textPath).isFile()) {
        QFile file(textPath);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            Err(QStringLiteral("cannot read \"%1\": %2").arg(textPath, file.errorString()));
            return NoInput;
        }
        int lineNumber = 0;
        while (!file.atEnd()) {
            ++lineNumber;
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const auto where = QStringLiteral("theme.txt line %1: ").arg(lineNumber);
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq < 0) {
                errors << where + QStringLiteral("expected Key=value");
                continue;
            }
            const QString key = line.left(eq).trimmed();
            const QString text = line.mid(eq + 1);
            const int element = ThemeElementByKey(key);
            if (element == 0) {
                errors << where + QStringLiteral("\"%1\" is not a theme element").arg(key);
                continue;
            }
            qint32 number = 0;
            bool flag = false;
            switch (ThemeElementKind(element)) {
            case TsuiElementKind::Image:
                errors << where + QStringLiteral("\"%1\" is an image: give it as %1.bmp").arg(key);
                break;
            case TsuiElementKind::Boolean:
                if (ParseBool(text, &flag))
                    values[element] = flag ? 1 : 0;
                else
                    errors << where + QStringLiteral("\"%1\" is not True or False").arg(text);
                break;
            case TsuiElementKind::Integer:
            case TsuiElementKind::Colour:
                if (ParseNumber(text, &number))
                    values[element] = number;
                else
                    errors << where + QStringLiteral("\"%1\" is not a 32-bit number").arg(text);
                break;
            }
        }
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
    QString error;
    if (!writer.writeTo(path, &error)) {
        Err(QStringLiteral("cannot write \"%1\": %2").arg(path, error));
        return CantCreate;
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
    return UsageError(QStringLiteral("unknown command \"%1\"").arg(command));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        return Run(app.arguments().mid(1));
    } catch (const std::exception& e) {
        Err(QString::fromLocal8Bit(e.what()));
        return Software;
    }
}
