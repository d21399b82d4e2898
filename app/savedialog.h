#pragma once
// SaveDialog1: the save-file dialog every page's "Make file" shares. Qt's own dialog (not
// the desktop's), so it behaves the same everywhere: no default extension, and the last
// confirmed name proposed again next time. As that name may be another page's script,
// choosing a file that exists asks before replacing it; "No" goes back to the dialog.

#include <QSize>
#include <QString>
#include <QStringList>

#include "frame.h"

class QFileDialog;
class QWidget;

class SaveDialog : public zd7240::FileChooser {
public:
    static inline const QString kTitle = QStringLiteral("Save your configure to");
    static inline const QString kInitialName = QStringLiteral("zd7240.txt");
    static inline const QString kFilter =
        QStringLiteral("Text File(*.txt)|*.txt|All File(*.*)|*.*");

    // The size the dialog opens at.
    static constexpr QSize kSize{720, 440};

    explicit SaveDialog(QWidget* parent);
    ~SaveDialog() override;
    SaveDialog(const SaveDialog&) = delete;
    SaveDialog& operator=(const SaveDialog&) = delete;

    // Shows the dialog modally; the confirmed path, or nothing on cancel.
    std::optional<std::string> ChooseFile() override;

    // The name proposed next: the last confirmed one, at first "zd7240.txt".
    QString FileName() const { return fileName_; }
    // The dialog as it will be shown (for inspection). It is made on first use: a file
    // dialog costs more to build and to tear down than the rest of the window together,
    // and many runs never save.
    QFileDialog& Dialog();

    // "Desc|mask|Desc|mask" as Qt name filters: a description that already shows its
    // mask in parentheses is taken as it is, otherwise the mask is appended.
    static QStringList NameFilters(const QString& filterText);

private:
    void Prepare();

    QWidget* parent_;
    QFileDialog* dialog_ = nullptr;
    QString fileName_ = kInitialName;
};
