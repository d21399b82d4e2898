#include "theme/tsuifiletheme.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <memory>

#include "drawing/drawingoperations.h"
#include "theme/themelisting.h"

TsuiFileTheme::TsuiFileTheme(QObject* owner) : QObject(owner) {}

TsuiFileTheme::~TsuiFileTheme() = default;

void TsuiFileTheme::setThemeFile(const QString& value) {
    if (value == themeFile_)
        return;
    QString candidate = value;
    if (!QFileInfo(candidate).isFile()) {
        const QString inProgramFolder =
            QDir(QCoreApplication::applicationDirPath()).filePath(QFileInfo(value).fileName());
        if (!QFileInfo(inProgramFolder).isFile())
            return;
        candidate = inProgramFolder;
    }
    const bool hadReader = mgr_.hasReader();
    loaded_ = mgr_.OpenThemeFile(candidate);
    Loaded(candidate, hadReader);
}

bool TsuiFileTheme::LoadSoundThemeFile(const QString& path, QString* why) {
    auto reader = std::make_unique<TsuiThemeFileReader>(path);
    const QStringList problems = zd7240::ThemeFileProblems(*reader);
    if (!problems.isEmpty()) {
        if (why)
            *why = problems.join(QStringLiteral("; "));
        return false;
    }
    const bool hadReader = mgr_.hasReader();
    loaded_ = mgr_.AdoptReader(std::move(reader));
    Loaded(path, hadReader);
    return loaded_;
}

void TsuiFileTheme::Loaded(const QString& path, bool hadReader) {
    themeFile_ = path;
    static quint64 lastSerial = 0;
    loadSerial_ = ++lastSerial;
    // A failed load leaves no reader behind (and ThemeLoaded false), so the controls on
    // the theme fall back to DeepBlue; they are told as much as after a good load.
    if (loaded_ || hadReader)
        Q_EMIT elementsChanged();
    Q_EMIT themeChanged();
}

void TsuiFileTheme::ThemeBitmap(int element, QImage& graphic) const {
    mgr_.ThemeBitmap(element, graphic);
}

void TsuiFileTheme::ThemeBitmapFrame(int element, QImage& graphic, int frameCount,
                                     int frameIndex) const {
    QImage scratch;
    mgr_.ThemeBitmap(element, scratch);
    if (!scratch.isNull())
        graphic = ExtractBitmapFrame(scratch, frameCount, frameIndex);
}

bool TsuiFileTheme::ThemeBool(int element) const {
    return mgr_.ThemeBool(element);
}
qint32 TsuiFileTheme::ThemeColor(int element) const {
    return mgr_.ThemeColor(element);
}
qint32 TsuiFileTheme::ThemeInt(int element) const {
    return mgr_.ThemeInt(element);
}
