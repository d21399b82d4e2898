#include "windowseams.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProgressDialog>

#include "chrome/tsuimessagedialog.h"
#include "windowdescription.h"

namespace {
QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

void DialogMessenger::ShowMessage(std::string_view caption, std::string_view text) {
    dialog_.setCaption(ToQString(caption));
    dialog_.setText(ToQString(text));
    dialog_.ShowModal();
}

bool DialogMessenger::Confirm(std::string_view caption, std::string_view text) {
    dialog_.setCaption(ToQString(caption));
    dialog_.setText(ToQString(text));
    const int buttons = dialog_.ButtonCount();
    dialog_.setButtonCount(2);
    const int result = dialog_.ShowModal();
    dialog_.setButtonCount(buttons);
    return result == dialog_.property("Button1ModalResult").toInt();
}

void MessageBoxErrorReport::ReportError(std::string_view message) {
    QMessageBox box(QMessageBox::Critical, window_description::kProgramName, ToQString(message),
                    QMessageBox::Ok, parent_);
    box.exec();
}

ProgressFeedback::ProgressFeedback(QWidget* parent, int delayMs)
    : parent_(parent), delayMs_(delayMs) {}

ProgressFeedback::~ProgressFeedback() {
    Finished();
}

bool ProgressFeedback::Progress(std::uint64_t lines) {
    // The first report comes right after writing began (the save dialog is closed).
    if (!clock_.isValid())
        clock_.start();
    if (!dialog_ && clock_.elapsed() >= delayMs_) {
        dialog_ = new QProgressDialog(parent_);
        dialog_->setObjectName(QStringLiteral("progressDialog"));
        dialog_->setWindowTitle(window_description::kProgramName);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setCancelButtonText(QStringLiteral("Cancel"));
        dialog_->setRange(0, 0); // the number of lines is not known in advance
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }
    if (!dialog_) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }
    dialog_->setLabelText(QStringLiteral("Writing the script: %L1 lines").arg(lines));
    QCoreApplication::processEvents();
    return !dialog_->wasCanceled();
}

void ProgressFeedback::Finished() {
    delete dialog_;
    dialog_ = nullptr;
}
