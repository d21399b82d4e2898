#pragma once
// The component skinned controls point their FileTheme at: it holds the theme file named
// by ThemeFile and answers the controls' element lookups from it.

#include <QImage>
#include <QObject>
#include <QString>

#include "theme/tsuifilethememgr.h"

class TsuiFileTheme : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ ThemeFile WRITE setThemeFile NOTIFY themeChanged)
    Q_PROPERTY(bool ThemeLoaded READ ThemeLoaded NOTIFY themeChanged)

public:
    explicit TsuiFileTheme(QObject* owner = nullptr);
    ~TsuiFileTheme() override;

    QString ThemeFile() const { return themeFile_; }
    // Loads the named file. The same path again does nothing (no reload). A path where
    // no file exists is tried once more as the file name in the program's own folder; if
    // that does not exist either, nothing changes. Otherwise ThemeFile takes the path
    // found, ThemeLoaded whether it holds a theme, and elementsChanged tells the skinned
    // controls on this theme to re-read their look.
    void setThemeFile(const QString& value);
    // Loads the file at path only when it is a sound theme, judged as `zd7240-theme dump`
    // judges it (ThemeFileProblems): then as setThemeFile does, even when the path is the
    // one held (the file may have changed). Otherwise nothing changes, the controls keep
    // the look they have, `why` gets the problems joined by "; " and the result is false.
    bool LoadSoundThemeFile(const QString& path, QString* why);

    // The last load found a theme file and read it.
    bool ThemeLoaded() const { return loaded_; }
    // A number that no other load of any theme in this process had: it changes whenever
    // the data held changes, so a look resolved from this theme can be cached under it.
    quint64 loadSerial() const { return loadSerial_; }
    // Why the last load failed, or what was damaged in the file; empty when all was well.
    QString errorString() const { return mgr_.errorString(); }
    // A bitmap of the theme could not be decoded for want of memory (errorString() names
    // it); the controls that asked for it keep the built-in look's piece.
    bool outOfMemory() const { return mgr_.outOfMemory(); }

    void ThemeBitmap(int element, QImage& graphic) const;
    // Frame frameIndex (1-based) of frameCount of the element's bitmap; graphic stays as
    // it was when the theme has no such bitmap.
    void ThemeBitmapFrame(int element, QImage& graphic, int frameCount, int frameIndex) const;
    bool ThemeBool(int element) const;
    qint32 ThemeColor(int element) const;
    qint32 ThemeInt(int element) const;

Q_SIGNALS:
    void themeChanged();
    // The elements answered now differ from those before: a load read a theme, or a failed
    // one dropped the theme held until then. Every skinned control on this theme follows.
    void elementsChanged();

private:
    void Loaded(const QString& path, bool hadReader);

    QString themeFile_;
    bool loaded_ = false;
    quint64 loadSerial_ = 0;
    TsuiFileThemeMgr mgr_;
};
