#include "theme/themefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <string_view>

#include "processguard.h"
#include "theme/bmpinspect.h"
#include "theme/themeelements.h"
#include "theme/tsuithemefilereader.h"

namespace zd7240 {

namespace {

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

// The image element whose bitmap the file `name` gives (KEY.bmp, in any case), or 0.
int ImageElementOfFile(const QString& name) {
    if (!name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
        return 0;
    const int element = ThemeElementByKey(name.left(name.size() - 4));
    return element != 0 && ThemeElementKind(element) == TsuiElementKind::Image ? element : 0;
}

// Every entry of the folder that looks like a bitmap, whatever it is: a folder or a
// dangling link named ButtonImage.bmp is an error, not a missing element.
void ReadBitmaps(const QDir& dir, std::map<int, QByteArray>& bitmaps, PackedFolder& packed) {
    const QStringList files = dir.entryList(
        {QStringLiteral("*.bmp")},
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : files) {
        const int element = ImageElementOfFile(name);
        if (element == 0) {
            packed.ignored << name;
            continue;
        }
        QString why;
        const QByteArray bytes = ReadInputFile(dir.filePath(name), &why);
        if (bytes.isNull()) {
            packed.errors << QStringLiteral("\"%1\" %2").arg(name, why);
            continue;
        }
        const BmpInfo bmp =
            InspectBmp(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        if (!bmp.ok) {
            packed.errors << QStringLiteral("\"%1\" is not a complete BMP image: %2")
                                 .arg(name, QString::fromStdString(bmp.problem));
            continue;
        }
        if (bitmaps.count(element)) {
            packed.errors << QStringLiteral("\"%1\": %2 is given twice (names differ only in case)")
                                 .arg(name, QLatin1String(ThemeElementKey(element)));
            continue;
        }
        bitmaps[element] = bytes;
    }
}

// The Key=value lines of theme.txt; errors go to packed.errors with their line number.
void ReadSettings(const QByteArray& text, std::map<int, QByteArray>& bitmaps,
                  std::map<int, qint32>& values, PackedFolder& packed) {
    std::map<int, int> firstLine; // element -> line that set it
    std::map<int, int> shared;    // element -> the element whose bitmap it shares
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const int lineNumber = int(index) + 1;
        const auto where = QStringLiteral("theme.txt line %1: ").arg(lineNumber);
        const QByteArray& raw = lines[index];
        if (raw.contains('\0')) {
            packed.errors << where + QStringLiteral("contains a NUL byte");
            continue;
        }
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) {
            packed.errors << where + QStringLiteral("expected Key=value");
            continue;
        }
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1);
        const int element = ThemeElementByKey(key);
        if (element == 0) {
            packed.errors << where + QStringLiteral("\"%1\" is not a theme element").arg(key);
            continue;
        }
        if (const auto it = firstLine.find(element); it != firstLine.end()) {
            packed.errors << where + QStringLiteral("\"%1\" is given again (first on line %2)")
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
                packed.errors << where + QStringLiteral("\"%1\" is an image: give it as %1.bmp, "
                                                        "or as \"same as KEY.bmp\" of a bitmap "
                                                        "given")
                                             .arg(key);
            else if (bitmaps.count(element))
                packed.errors << where + QStringLiteral("\"%1\" is also given as %1.bmp").arg(key);
            else
                shared[element] = other;
            break;
        }
        case TsuiElementKind::Boolean:
            if (ParseThemeBool(value, &flag))
                values[element] = flag ? 1 : 0;
            else
                packed.errors << where + QStringLiteral("\"%1\" is not True or False").arg(value);
            break;
        case TsuiElementKind::Integer:
        case TsuiElementKind::Colour:
            if (ParseThemeNumber(value, &number))
                values[element] = number;
            else
                packed.errors << where + QStringLiteral("\"%1\" is not a 32-bit number").arg(value);
            break;
        }
    }
    for (const auto& [element, other] : shared)
        bitmaps[element] = bitmaps[other];
}

// The first valid entry of `kind` named `key` (in any case), or nullptr.
const TsuiThemeFileReader::Entry* FindEntry(const TsuiThemeFileReader& reader, quint8 kind,
                                            const QString& key) {
    const auto& entries = reader.entries();
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const auto& e) {
        return e.valid && e.kind == kind && e.name.compare(key, Qt::CaseInsensitive) == 0;
    });
    return entry == entries.end() ? nullptr : &*entry;
}

} // namespace

bool IsThemeFolderFile(const QString& name) {
    return name == QLatin1String(kThemeTextName) || ImageElementOfFile(name) != 0;
}

bool ParseThemeNumber(const QString& text, qint32* value) {
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
    if (v < INT32_MIN || v > qint64(UINT32_MAX))
        return false;
    *value = static_cast<qint32>(static_cast<quint32>(v));
    return true;
}

bool ParseThemeBool(const QString& text, bool* value) {
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

PackedFolder PackThemeFolder(const QString& dirPath) {
    PackedFolder packed;
    if (!QFileInfo(dirPath).isDir()) {
        packed.refusal = PackedFolder::Refusal::NoFolder;
        packed.errors << QStringLiteral("\"%1\": no such folder").arg(dirPath);
        return packed;
    }
    const QDir dir(dirPath);
    std::map<int, QByteArray> bitmaps;
    std::map<int, qint32> values;
    ReadBitmaps(dir, bitmaps, packed);

    const QString textPath = dir.filePath(QLatin1String(kThemeTextName));
    const QFileInfo textInfo(textPath);
    if (textInfo.exists() || textInfo.isSymLink()) {
        QString why;
        const QByteArray text = ReadInputFile(textPath, &why);
        if (text.isNull()) {
            // Said alone: the bitmaps' errors wait until the folder can be read whole.
            packed.refusal = PackedFolder::Refusal::TextUnreadable;
            packed.errors = QStringList{QStringLiteral("\"%1\" %2").arg(textPath, why)};
            return packed;
        }
        ReadSettings(text, bitmaps, values, packed);
    }
    if (!packed.errors.isEmpty()) {
        packed.refusal = PackedFolder::Refusal::BadData;
        return packed;
    }

    for (int element = 1; element <= kThemeElementCount; ++element) {
        const QString key = QLatin1String(ThemeElementKey(element));
        const TsuiElementKind kind = ThemeElementKind(element);
        if (kind == TsuiElementKind::Image ? !bitmaps.count(element) : !values.count(element)) {
            packed.leftOut << key;
            continue;
        }
        switch (kind) {
        case TsuiElementKind::Image:
            packed.theme.addBitmap(key, bitmaps[element]);
            break;
        case TsuiElementKind::Boolean:
            packed.theme.addBoolean(key, values[element] != 0);
            break;
        case TsuiElementKind::Integer:
        case TsuiElementKind::Colour:
            packed.theme.addInteger(key, values[element]);
            break;
        }
    }
    // A folder without a single element (a mistyped path, the wrong folder) is not an
    // empty theme: a theme file made of it would replace a good one with nothing.
    if (packed.leftOut.size() == kThemeElementCount) {
        packed.refusal = PackedFolder::Refusal::NoTheme;
        packed.errors << QStringLiteral("\"%1\" holds no theme: no KEY.bmp named after an "
                                        "image element and no setting in %2")
                             .arg(dirPath, QLatin1String(kThemeTextName));
    }
    return packed;
}

UnpackedTheme UnpackTheme(const TsuiThemeFileReader& reader, const QString& themeName) {
    UnpackedTheme unpacked;
    // A bitmap that several elements share goes into the folder once, as the first
    // element's file; the others name it ("KEY=same as FIRST.bmp").
    QHash<QByteArray, QString> written; // bitmap -> the key whose file holds it
    // The theme file's name is escaped: a newline in it would start a setting of its own.
    const QByteArray shownName = themeName.toUtf8();
    unpacked.text = "# Theme elements of " +
                    QByteArray::fromStdString(EscapeText(
                        std::string_view(shownName.constData(), std::size_t(shownName.size())))) +
                    "; colours are 0xBBGGRR (low byte red).\n";
    for (int element = 1; element <= kThemeElementCount; ++element) {
        const QString key = QLatin1String(ThemeElementKey(element));
        switch (ThemeElementKind(element)) {
        case TsuiElementKind::Image: {
            const QByteArray bytes = reader.FindBitmapStream(key);
            if (bytes.isNull()) {
                unpacked.missing << key;
                break;
            }
            if (const auto first = written.constFind(bytes); first != written.constEnd()) {
                unpacked.text += key.toLatin1() + "=same as " + first->toLatin1() + ".bmp\n";
                break;
            }
            written.insert(bytes, key);
            unpacked.bitmaps.push_back({key + QLatin1String(".bmp"), bytes});
            break;
        }
        case TsuiElementKind::Boolean:
            if (!FindEntry(reader, TsuiThemeFileReader::Boolean, key))
                unpacked.missing << key;
            else
                unpacked.text +=
                    key.toLatin1() + (reader.FindBoolEntry(key) ? "=True\n" : "=False\n");
            break;
        case TsuiElementKind::Integer:
        case TsuiElementKind::Colour: {
            const TsuiThemeFileReader::Entry* entry =
                FindEntry(reader, TsuiThemeFileReader::Integer, key);
            if (!entry) {
                unpacked.missing << key;
                break;
            }
            const qint32 value = entry->value;
            if (ThemeElementKind(element) == TsuiElementKind::Colour)
                unpacked.text +=
                    key.toLatin1() + "=0x" +
                    QByteArray::number(quint32(value), 16).rightJustified(6, '0').toUpper() + "\n";
            else
                unpacked.text += key.toLatin1() + "=" + QByteArray::number(value) + "\n";
            break;
        }
        }
    }
    return unpacked;
}

} // namespace zd7240
