#include "theme/tsuifiletheme.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "drawing/drawingoperations.h"

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
    themeFile_ = candidate;
    loaded_ = mgr_.OpenThemeFile(candidate);
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
