#pragma once
// One picture of a title bar's strip: at the left, at the right or stretched between.
// Every change repaints the bar that owns it.

#include <QImage>

class TsuiTitleBarSections;

enum TsuiTitleBarAlign { suiLeft, suiRight, suiClient };

class TsuiTitleBarSection {
public:
    explicit TsuiTitleBarSection(TsuiTitleBarSections* collection);
    TsuiTitleBarSection(const TsuiTitleBarSection&) = delete;
    TsuiTitleBarSection& operator=(const TsuiTitleBarSection&) = delete;

    int Index() const;

    bool AutoSize() const { return autoSize_; }
    // Stores the flag and takes Width from the picture when there is one.
    void setAutoSize(bool autoSize);
    int Width() const { return width_; }
    void setWidth(int width);
    TsuiTitleBarAlign Align() const { return align_; }
    // Refused (with a message, returning false) when another section already is the
    // client section; suiClient always stretches.
    bool setAlign(TsuiTitleBarAlign align);
    const QImage& Picture() const { return picture_; }
    // Copies the picture; with AutoSize the width follows it.
    void setPicture(const QImage& picture);
    // A client section is always stretched.
    bool Stretch() const { return stretch_ || align_ == suiClient; }
    void setStretch(bool stretch);

    // Copies Width, Align, Picture, Stretch and AutoSize.
    void Assign(const TsuiTitleBarSection& other);

private:
    void changed();

    TsuiTitleBarSections* collection_;
    bool autoSize_ = false;
    int width_ = 10;
    TsuiTitleBarAlign align_ = suiLeft;
    QImage picture_;
    bool stretch_ = false;
};
