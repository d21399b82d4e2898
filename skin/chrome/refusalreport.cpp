#include "chrome/refusalreport.h"

#include <QMessageBox>

namespace {
RefusalHandler& Handler() {
    static RefusalHandler handler;
    return handler;
}
} // namespace

void ReportRefusal(QWidget* parent, const QString& text) {
    if (Handler()) {
        Handler()(text);
        return;
    }
    QMessageBox::critical(parent, QStringLiteral("Error"), text, QMessageBox::Ok);
}

RefusalHandler SetRefusalHandler(RefusalHandler handler) {
    RefusalHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}
