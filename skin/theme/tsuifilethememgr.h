#pragma once
// Owns the reader of the theme file in force and answers lookups by element number.

#include <QHash>
#include <QImage>
#include <QPair>
#include <QSet>
#include <QString>
#include <memory>

#include "theme/tsuithemefilereader.h"

class TsuiFileThemeMgr {
public:
    TsuiFileThemeMgr();
    ~TsuiFileThemeMgr();
    TsuiFileThemeMgr(const TsuiFileThemeMgr&) = delete;
    TsuiFileThemeMgr& operator=(const TsuiFileThemeMgr&) = delete;

    // False, changing nothing, when no file exists at path. Otherwise the present reader
    // is dropped and the file read; the result says whether it is a theme (a damaged
    // theme still counts: it keeps what could be read). Without a theme the manager holds
    // no reader and errorString() says why.
    bool OpenThemeFile(const QString& path);
    // The same with a file already read: the present reader is dropped for this one.
    bool AdoptReader(std::unique_ptr<TsuiThemeFileReader> reader);

    bool hasReader() const { return reader_ != nullptr; }
    const TsuiThemeFileReader* reader() const { return reader_.get(); }
    // Why the load failed or what was damaged in the file, followed by what went wrong
    // while decoding its bitmaps (memory ran out, the bound was reached); empty when all
    // was well.
    QString errorString() const { return error_; }
    // A bitmap that passed inspection could not be decoded for want of memory.
    bool outOfMemory() const { return outOfMemory_; }

    // The element's bitmap decoded into graphic; left as it was without a reader, without
    // an entry, or when the entry is not a complete BMP image (checked before decoding,
    // so a hostile header cannot make it allocate more than its data justify). Each
    // distinct bitmap is decoded once and then shared. What the bitmaps of one theme
    // hand out together is bounded (kDecodedBudget): the controls cut and mask their own
    // copies of what they get, so one large bitmap named by every element would
    // otherwise cost its size once per element. An element is counted the first time it
    // asks only, so a look built again from the same load costs nothing more. An element
    // past the bound is left as it was (its control keeps the built-in look's piece).
    void ThemeBitmap(int element, QImage& graphic) const;

    // The bound on the bytes of decoded bitmaps one theme hands out, summed over the
    // elements that ask (shared bitmaps counted each time): 256 MiB, an 8192 x 8192
    // bitmap once. Tests may lower it.
    static constexpr qint64 kDecodedBudget = 256LL << 20;
    static void setDecodedBudgetForTests(qint64 bytes);
    // FindBoolEntry of the element's key; false without a reader.
    bool ThemeBool(int element) const;
    // FindIntEntry of the element's key (-1 when missing); 0 without a reader.
    qint32 ThemeColor(int element) const;
    qint32 ThemeInt(int element) const;

private:
    std::unique_ptr<TsuiThemeFileReader> reader_;
    // Decoded bitmaps by data offset and size; a null image for data that are not one.
    mutable QHash<QPair<qint64, qint64>, QImage> images_;
    mutable qint64 handedOut_ = 0; // bytes of decoded bitmaps handed out so far
    mutable QSet<int> counted_;    // elements whose bitmap is in handedOut_
    mutable QString error_;
    mutable bool outOfMemory_ = false;
    mutable bool overBudgetNoted_ = false;

    void note(const QString& what) const;
};
