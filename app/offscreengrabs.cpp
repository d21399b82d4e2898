#include "offscreengrabs.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <memory>

#include "chrome/framemenubar.h"
#include "chrome/framemenubarbutton.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuimessagedialog.h"
#include "linkpage.h"
#include "tform1.h"

namespace {

// The messenger of a "Make file" press that only remembers what it was to show.
class MessageCapture : public zd7240::Messenger {
public:
    void ShowMessage(std::string_view caption, std::string_view text) override {
        caption_ = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
        text_ = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    QString caption_;
    QString text_;
};

// Neither a file nor an error is wanted: the press ends at the field check.
class NoFile : public zd7240::FileChooser, public zd7240::ErrorReport {
public:
    std::optional<std::string> ChooseFile() override { return std::nullopt; }
    void ReportError(std::string_view) override {}
};

} // namespace

void ShowOffScreen(QWidget& widget) {
    widget.setAttribute(Qt::WA_DontShowOnScreen);
    widget.show();
    QCoreApplication::processEvents();
}

// The message window the window shows when "Make file" is pressed with the page's first
// field empty: the press runs as the operator's would, its message is kept, and the
// window's own message dialog builds its window with that caption and text. The field
// gets its text back afterwards.
QImage GrabWarning(TForm1& form, int page) {
    LinkPage& link = *form.Pages().at(static_cast<std::size_t>(page));
    const std::string field(link.Table().fields.front().name);
    const std::string kept = link.Text(field);
    link.SetText(field, std::string());
    MessageCapture message;
    NoFile none;
    link.MakeFile(none, message, none, nullptr);
    link.SetText(field, kept);

    TsuiMessageDialog& component = *form.suiMessageDialog1;
    const QString caption = component.Caption();
    const QString text = component.Text();
    component.setCaption(message.caption_);
    component.setText(message.text_);
    const std::unique_ptr<QDialog> dialog = component.CreateMessageWindow();
    component.setCaption(caption);
    component.setText(text);
    ShowOffScreen(*dialog);
    QImage image = dialog->grab().toImage();
    dialog->hide();
    return image;
}

// The window with the first item of its menu bar open, as the keyboard opens it (its
// first item selected). The menu is a window of its own, so its picture is drawn over the
// window's where it stands on the screen; the picture grows if the menu reaches past the
// window.
QImage GrabWithMenuOpen(TForm1& form) {
    FrameMenuBar* bar = form.suiForm1->MenuBar();
    if (!bar || bar->Buttons().isEmpty())
        return form.grab().toImage();
    const auto* item = bar->Buttons().front()->Item();
    QMenu* menu = item ? item->menu() : nullptr;
    if (!menu)
        return form.grab().toImage();
    menu->setAttribute(Qt::WA_DontShowOnScreen);
    bar->OpenMenu(0, true);
    QCoreApplication::processEvents();
    const QImage window = form.grab().toImage();
    const QPixmap popup = menu->grab();
    const QPoint at = menu->mapToGlobal(QPoint(0, 0)) - form.mapToGlobal(QPoint(0, 0));
    menu->close();
    QCoreApplication::processEvents();
    menu->setAttribute(Qt::WA_DontShowOnScreen, false);

    const QRect bounds = QRect(QPoint(0, 0), window.size()).united(QRect(at, popup.size()));
    QImage image = window;
    if (bounds.size() != window.size()) {
        // Past the window: transparent around the two.
        image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
    }
    QPainter painter(&image);
    if (bounds.size() != window.size())
        painter.drawImage(-bounds.topLeft(), window);
    painter.drawPixmap(at - bounds.topLeft(), popup);
    painter.end();
    return image;
}
