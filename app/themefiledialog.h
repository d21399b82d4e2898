#pragma once
// The file chooser behind "Theme file…" in the title bar's "Look" sub-menu: Qt's own
// open-file dialog (not the desktop's, as the save dialog), asking for an existing file.
// The window takes it through the same FileChooser seam as the save dialog, so tests and
// automation can answer in its place.

#include <QString>

#include "frame.h"

class QWidget;

class ThemeFileDialog : public zd7240::FileChooser {
public:
    static inline const QString kTitle = QStringLiteral("Theme file");
    static inline const QString kFilters = QStringLiteral("Theme files (*.theme);;All files (*)");

    explicit ThemeFileDialog(QWidget* parent) : parent_(parent) {}

    // Shows the dialog modally; the chosen path, or nothing on cancel.
    std::optional<std::string> ChooseFile() override;

private:
    QWidget* parent_;
    QString folder_; // the folder of the last file chosen
};
