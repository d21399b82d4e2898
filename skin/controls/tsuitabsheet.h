#pragma once
// One page of a TsuiPageControl. Its Caption is the text of its tab.

#include <QColor>
#include <QWidget>

#include "tsuifiletheme.h"
#include "tsuistylebinding.h"

class TsuiPageControl;

class TsuiTabSheet : public QWidget {
    Q_OBJECT
    Q_PROPERTY(tsui::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(int PageIndex READ PageIndex)

public:
    explicit TsuiTabSheet(QWidget* owner = nullptr);

    TsuiUIStyle UIStyle() const { return binding_.uiStyle(); }
    void setUIStyle(TsuiUIStyle style) { binding_.setUIStyle(style); }
    TsuiFileTheme* FileTheme() const { return binding_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { binding_.setFileTheme(theme); }

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    QColor Color() const;
    void setColor(const QColor& color);

    // The page control holding this sheet, or nullptr.
    TsuiPageControl* PageControl() const;
    // Position among the page control's sheets; -1 when not on one.
    int PageIndex() const;

private:
    TsuiStyleBinding binding_;
    QString caption_;
};
