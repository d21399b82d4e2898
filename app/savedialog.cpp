#include "savedialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

SaveDialog::SaveDialog(QWidget* parent) : parent_(parent) {}

SaveDialog::~SaveDialog() {
    delete dialog_;
}

QFileDialog& SaveDialog::Dialog() {
    if (dialog_) {
        Prepare();
        return *dialog_;
    }
    dialog_ = new QFileDialog(parent_);
    dialog_->setObjectName(QStringLiteral("SaveDialog1"));
    dialog_->setWindowTitle(kTitle);
    dialog_->setAcceptMode(QFileDialog::AcceptSave);
    dialog_->setFileMode(QFileDialog::AnyFile);
    // Qt's own question before an existing file is replaced: "Yes" confirms it, "No" keeps
    // the dialog open with nothing chosen.
    dialog_->setOptions(QFileDialog::DontUseNativeDialog);
    dialog_->setDefaultSuffix(QString());
    dialog_->setNameFilters(NameFilters(kFilter));
    dialog_->setSizeGripEnabled(true);
    // Opened large enough that the list's columns read whole ("392 bytes", the type and
    // the date), the name taking what is left.
    dialog_->resize(kSize);
    if (auto* list = dialog_->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    Prepare();
    return *dialog_;
}

QStringList SaveDialog::NameFilters(const QString& filterText) {
    const QStringList parts = filterText.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        const QString& mask = parts.at(i + 1);
        if (description.contains(QLatin1Char('(') + mask + QLatin1Char(')')))
            filters.append(description);
        else
            filters.append(description + QStringLiteral(" (") + mask + QLatin1Char(')'));
    }
    return filters;
}

void SaveDialog::Prepare() {
    // A bare name is proposed in the current working directory.
    const QFileInfo proposed(QDir::current(), fileName_);
    dialog_->setDirectory(proposed.absolutePath());
    dialog_->selectFile(proposed.fileName());
    dialog_->selectNameFilter(dialog_->nameFilters().value(0));
}

std::optional<std::string> SaveDialog::ChooseFile() {
    QFileDialog& dialog = Dialog();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().value(0);
    if (chosen.isEmpty())
        return std::nullopt;
    fileName_ = chosen;
    return QFile::encodeName(chosen).toStdString();
}
