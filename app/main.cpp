// zd7240-helper: the window that writes configuration scripts for the Zd7240. It takes
// no options and keeps no settings.

#include <QApplication>

#include "appfonts.h"
#include "tform1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zd7240-helper"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmar Zd7240 Helper"));
    RegisterFontSubstitutions();
    TForm1 form;
    form.show();
    return app.exec();
}
