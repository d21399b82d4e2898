#pragma once
// The look seam: how a skinned control reads its look.
//
// A control never asks for element numbers or frame counts. It holds a SkinLook, resolved
// once per UIStyle/FileTheme assignment (TsuiSkinned, tsuiskinned.h, does that for every
// control), and asks it typed questions:
//
//     const SkinLook& look = this->look();
//     QColor border = look.color(SkinColor::ControlBorder);          // element 25
//     int top = look.integer(SkinInt::TitleBarButtonTop);              // element 9
//     bool transparent = look.flag(SkinBool::ButtonTransparent);       // element 2
//     SkinStrip<ButtonFrame> face = look.strip<SkinImage::Button>();   // element 1, 3 frames
//     const QImage& hover = face.frame(ButtonFrame::Hover);
//     SkinStrip<MessageIconFrame> icons = SkinLook::picture<SkinPicture::MessageIcons>();
//
// Asking a colour of an image element, or a button frame of a tab strip, does not compile.
//
// Resolution follows ResolveUIStyle: a built-in style reads the built-in table and the
// program's bitmaps; FromThemeFile with a loaded theme reads every element from the theme;
// FromThemeFile without one reads DeepBlue. Bitmaps are loaded and cut into frames when the
// look is resolved, never at paint time; a built-in look and a theme load are each resolved
// once per process and shared by every control that uses them. The frames are 1x images:
// sizes and geometry come from them. A device of ratio above 1 draws them from the @2x set
// (loaded on the first such paint), through the drawing operations (drawingoperations.h).
//
// Fallback, so that a control always paints: a bitmap that is missing (a theme file without
// the entry, a resource not compiled in) or damaged (not decodable; a theme bitmap narrower
// than its frame count; a built-in bitmap not of its catalogue size) becomes a blank, fully
// transparent strip with the catalogue's frame count, each frame of SkinFallbackFrameSize
// (74 x 21 for the push button, the DeepBlue frame size otherwise). strip.isFallback() tells
// a control that wants to draw a plain fill instead. Colours, integers and flags that a
// theme file lacks answer as the theme does: -1 (colour 0xFFFFFF) and False.

#include <QColor>
#include <QImage>
#include <QList>

#include <memory>

#include "catalogue/skincatalogue.h"
#include "catalogue/tsuiuistyle.h"
#include "theme/themeelements.h"

class TsuiFileTheme;
struct LookTraits;

// A bitmap as painted: the whole strip and its frames, untyped.
struct SkinFrameSet {
    QImage whole;
    QList<QImage> frames; // frame n (1-based) at index n - 1
    bool fallback = true;
};

// A bitmap strip whose frames are named by Frame (ButtonFrame, TabFrame, ...).
template <typename Frame> class SkinStrip {
public:
    static constexpr int kFrames = SkinFrameCount<Frame>;
    static_assert(kFrames > 0, "Frame must be a frame layout of skincatalogue.h");

    SkinStrip() = default;
    explicit SkinStrip(SkinFrameSet set) : set_(std::move(set)) {}

    // The frame, as ExtractBitmapFrame cuts it (width = strip width / kFrames).
    const QImage& frame(Frame frame) const { return set_.frames.at(static_cast<int>(frame) - 1); }
    const QImage& whole() const { return set_.whole; }
    QSize frameSize() const { return set_.frames.isEmpty() ? QSize() : set_.frames.front().size(); }
    // True when the bitmap was missing or damaged and this is the blank stand-in.
    bool isFallback() const { return set_.fallback; }

private:
    SkinFrameSet set_;
};

struct SkinLookData;

class SkinLook {
public:
    // The look of DeepBlue, the fallback style.
    SkinLook();
    static SkinLook Resolve(const TsuiFileTheme* theme, TsuiUIStyle style);

    // Whether the elements come from the theme file, and otherwise the built-in style read.
    bool usesFileTheme() const;
    TsuiUIStyle effectiveStyle() const;
    // What the controls do differently in this look (looktraits.h): the row of the style
    // read, or the theme file's row.
    const LookTraits& traits() const;

    QColor color(SkinColor element) const;
    // The raw 0x00BBGGRR value (-1 when a theme file lacks the entry).
    qint32 colorValue(SkinColor element) const;
    int integer(SkinInt element) const;
    bool flag(SkinBool element) const;

    template <SkinImage E> SkinStrip<SkinImageFrame<E>> strip() const {
        return SkinStrip<SkinImageFrame<E>>(frameSet(E));
    }
    const SkinFrameSet& frameSet(SkinImage element) const;

    // A bitmap loaded by name, the same in every look; loaded once per process.
    template <SkinPicture P> static SkinStrip<SkinPictureFrame<P>> picture() {
        return SkinStrip<SkinPictureFrame<P>>(pictureSet(P));
    }
    static const SkinFrameSet& pictureSet(SkinPicture picture);

    // Two looks are the same when they were resolved from the same source.
    bool operator==(const SkinLook& other) const { return d_ == other.d_; }

private:
    explicit SkinLook(std::shared_ptr<const SkinLookData> d) : d_(std::move(d)) {}
    std::shared_ptr<const SkinLookData> d_;
};

// Cuts a bitmap into its frames, or gives the blank stand-in (see above) when the image
// is null or narrower than `frames`, or, with a valid `expected` size, of another size.
// With the name of the program's bitmap it was loaded from, the whole and every frame are
// noted as parts of it, so that screens of device pixel ratio above 1 are drawn from its
// @2x set (SkinImageForRatio, skinbitmaps.h). Theme file bitmaps have no @2x set.
SkinFrameSet CutSkinFrames(const QImage& image, int frames, QSize fallbackFrame,
                           QSize expected = QSize(), const QString& resource = QString());
