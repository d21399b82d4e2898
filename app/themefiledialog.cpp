#include "themefiledialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

std::optional<std::string> ThemeFileDialog::ChooseFile() {
    QFileDialog dialog(parent_, kTitle, folder_, kFilters);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    folder_ = QFileInfo(path).absolutePath();
    return QFile::encodeName(path).toStdString();
}
