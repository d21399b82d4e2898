#pragma once
// How the window answers the generation frame: messages and questions through
// suiMessageDialog1, other failures through a top-level error dialog, and progress of
// long jobs.

#include <QElapsedTimer>
#include <QPointer>

#include "frame.h"

class QProgressDialog;
class QWidget;
class TsuiMessageDialog;

// A question the operator answers with "OK" (true) or "Cancel" (false).
class Confirmer {
public:
    virtual ~Confirmer() = default;
    virtual bool Confirm(std::string_view caption, std::string_view text) = 0;
};

class DialogMessenger : public zd7240::Messenger, public Confirmer {
public:
    explicit DialogMessenger(TsuiMessageDialog& dialog) : dialog_(dialog) {}
    // Sets Caption and Text, shows the dialog; its result means nothing here.
    void ShowMessage(std::string_view caption, std::string_view text) override;
    // The same dialog with "OK" and "Cancel" for this one question: true for "OK";
    // "Cancel" and the title bar's close button answer false. The dialog has its one
    // button again afterwards.
    bool Confirm(std::string_view caption, std::string_view text) override;

private:
    TsuiMessageDialog& dialog_;
};

// The application's general error report: a critical message box titled with the
// application's name.
class MessageBoxErrorReport : public zd7240::ErrorReport {
public:
    explicit MessageBoxErrorReport(QWidget* parent) : parent_(parent) {}
    void ReportError(std::string_view message) override;

private:
    QPointer<QWidget> parent_;
};

// Keeps the window alive during a long job: once the job has run for `delayMs`, a modal
// progress dialog shows the number of lines written, with a Cancel button. Before that
// only repaints are handled, so no click can start a second job meanwhile.
class ProgressFeedback : public zd7240::ProgressMonitor {
public:
    static constexpr int kDefaultDelayMs = 500;

    ProgressFeedback(QWidget* parent, int delayMs);
    ~ProgressFeedback() override;
    ProgressFeedback(const ProgressFeedback&) = delete;
    ProgressFeedback& operator=(const ProgressFeedback&) = delete;

    bool Progress(std::uint64_t lines) override;
    void Finished() override;

private:
    QPointer<QWidget> parent_;
    int delayMs_;
    QElapsedTimer clock_;
    QProgressDialog* dialog_ = nullptr;
};
