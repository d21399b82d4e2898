#include "looksettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "helperoptions.h"
#include "scriptwriter.h"
#include "theme/tsuifiletheme.h"

namespace look_settings {

namespace {

const QString kLookKey = QStringLiteral("look");
const QString kThemeKey = QStringLiteral("theme");
const QString kThemeFileLook = QStringLiteral("ThemeFile");

// The native format, which on Linux is INI text in a .conf file under XDG_CONFIG_HOME.
QSettings Settings() {
    return QSettings(kOrganization, kApplication);
}

// A value in double quotes as QSettings reads it back: backslash, quote and the control
// characters a file name can hold are escaped, every other character is written as it
// is (the file is UTF-8).
QByteArray Quoted(const QString& value) {
    QByteArray out = "\"";
    // QSettings reads every octal digit after a backslash as part of one escape, so a
    // digit 0 to 7 right after an octal escape is written as an octal escape too.
    bool afterOctal = false;
    for (const char c : value.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        const bool octal = byte < 0x20 || byte == 0x7f || (afterOctal && c >= '0' && c <= '7');
        afterOctal = false;
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (octal) {
            out += QByteArray("\\") + QByteArray::number(byte, 8).rightJustified(3, '0');
            afterOctal = true;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

QString SettingsPath() {
    return Settings().fileName();
}

std::optional<SavedLook> ReadSavedLook() {
    QSettings settings = Settings();
    const QString look = settings.value(kLookKey).toString();
    if (look.compare(kThemeFileLook, Qt::CaseInsensitive) == 0) {
        const QString theme = settings.value(kThemeKey).toString();
        if (theme.isEmpty())
            return std::nullopt;
        return SavedLook{TsuiUIStyle::FromThemeFile, theme};
    }
    const std::optional<TsuiUIStyle> style = LookByName(look);
    if (!style)
        return std::nullopt;
    return SavedLook{*style, {}};
}

QByteArray SettingsText(const SavedLook& look) {
    QByteArray text = "[General]\n";
    if (look.style == TsuiUIStyle::FromThemeFile) {
        text += kLookKey.toUtf8() + '=' + kThemeFileLook.toUtf8() + '\n';
        text += kThemeKey.toUtf8() + '=' + Quoted(look.themeFile) + '\n';
    } else {
        text += kLookKey.toUtf8() + '=' + LookName(look.style).toUtf8() + '\n';
    }
    return text;
}

std::optional<QString> SaveLook(const SavedLook& look) {
    const QString path = SettingsPath();
    // The settings folder is the program's own: made when missing, as QSettings would.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot make the folder '%1'").arg(Shown(folder));
    try {
        zd7240::ScriptWriter writer(QFile::encodeName(path).toStdString());
        const QByteArray text = SettingsText(look);
        writer.Write(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        writer.Commit();
    } catch (const zd7240::FileError& e) {
        return Shown(QString::fromLocal8Bit(e.what()));
    }
    return std::nullopt;
}

std::optional<ThemeProblem> LoadThemeFile(const QString& path, TsuiFileTheme& theme) {
    if (!QFileInfo(path).isFile()) {
        return ThemeProblem{true, QStringLiteral("cannot read theme file '%1': %2")
                                      .arg(Shown(path), QFileInfo::exists(path)
                                                            ? QStringLiteral("not a regular file")
                                                            : QStringLiteral("no such file"))};
    }
    // Judged as `zd7240-theme dump` judges it: a file that is not a theme or is damaged
    // is refused with the same words, and the theme keeps what it had.
    QString why;
    if (theme.LoadSoundThemeFile(path, &why))
        return std::nullopt;
    // The reason already says "not a theme file: ..." and is given as it is.
    return ThemeProblem{
        false,
        QStringLiteral("'%1': %2")
            .arg(Shown(path), why.isEmpty() ? QStringLiteral("not a theme file") : Shown(why))};
}

} // namespace look_settings
