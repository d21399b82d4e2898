// zd7240-skinpainter: draws every skin bitmap of the program and writes them as 24-bit BMP
// files (NAME.bmp) into a folder. The committed skin/resources/ folder is its output.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

#include "bmpfile.h"
#include "exitstatus.h"
#include "paintedskin.h"
#include "previewsheet.h"
#include "processguard.h"
#include "skincatalogue.h"
#include "skinparts.h"

namespace {

using zd7240::exit_status::kCantCreate;
using zd7240::exit_status::kIoError;
using zd7240::exit_status::kSoftware;
using zd7240::exit_status::kUsage;

void printUsage(FILE* to) {
    std::fputs("Usage: zd7240-skinpainter [--preview SCALE] OUTDIR\n"
               "       zd7240-skinpainter --icon SIZE FILE.png\n"
               "       zd7240-skinpainter --catalogue\n"
               "\n"
               "Paints every skin bitmap and writes it as OUTDIR/NAME.bmp (24-bit BMP,\n"
               "fuchsia 0xFF00FF where the picture is transparent). The folder is created\n"
               "when missing; existing files of the same names are replaced, others are\n"
               "left alone. The output is the same, byte for byte, on every run.\n"
               "\n"
               "  --preview SCALE  instead write NAME.png enlarged SCALE times (1 to 16),\n"
               "                   with a checkerboard where the bitmap is transparent,\n"
               "                   and SHEET_<LOOK>.png, a mock window of each look\n"
               "  --icon SIZE      write the program's icon, SIZE x SIZE pixels (16 to 1024),\n"
               "                   as a PNG with a transparent background (the desktop icon)\n"
               "  --catalogue      print the catalogue of names, sizes and frames as the\n"
               "                   Markdown tables of skin/resources/README.md\n",
               to);
}

int fail(int status, const QString& message) {
    std::fprintf(stderr, "zd7240-skinpainter: %s\n", qPrintable(message));
    return status;
}

int run(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int previewScale = 0;
    if (args.size() == 1 &&
        (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        printUsage(stdout);
        return 0;
    }
    if (args.size() == 3 && args[0] == QLatin1String("--icon")) {
        bool ok = false;
        const int size = args[1].toInt(&ok);
        if (!ok || size < 16 || size > 1024) {
            printUsage(stderr);
            return fail(kUsage, QStringLiteral("the icon size must be a number from 16 to 1024"));
        }
        QSaveFile file(args[2]);
        if (!file.open(QIODevice::WriteOnly) ||
            !skinpainter::paintAppIcon(size).save(&file, "PNG") || !file.commit())
            return fail(kIoError,
                        QStringLiteral("cannot write %1: %2").arg(args[2], file.errorString()));
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--catalogue")) {
        std::fputs(SkinCatalogueMarkdown().toUtf8().constData(), stdout);
        return 0;
    }
    if (args.size() == 3 && args[0] == QLatin1String("--preview")) {
        bool ok = false;
        previewScale = args[1].toInt(&ok);
        if (!ok || previewScale < 1 || previewScale > 16) {
            printUsage(stderr);
            return fail(kUsage, QStringLiteral("the preview scale must be a number from 1 to 16"));
        }
        args = args.mid(2);
    }
    if (args.size() != 1 || args[0].isEmpty() || args[0].startsWith(QLatin1Char('-'))) {
        printUsage(stderr);
        return kUsage;
    }

    const QString outDir = args[0];
    if (!QDir().mkpath(outDir))
        return fail(kCantCreate, QStringLiteral("cannot create the folder %1").arg(outDir));

    const QDir dir(outDir);
    QString paintError;
    const std::vector<skinpainter::SkinBitmap> bitmaps = skinpainter::paintSkinBitmaps(&paintError);
    if (bitmaps.empty())
        return fail(kSoftware, paintError);
    if (previewScale > 0) {
        for (const auto& [name, sheet] : skinpainter::previewSheets(bitmaps)) {
            const QString path = dir.filePath(name + QStringLiteral(".png"));
            if (!sheet.scaled(sheet.size() * previewScale).save(path, "PNG"))
                return fail(kIoError, QStringLiteral("cannot write %1").arg(path));
        }
    }
    for (const skinpainter::SkinBitmap& bitmap : bitmaps) {
        if (previewScale > 0) {
            const QString path = dir.filePath(bitmap.name + QStringLiteral(".png"));
            if (!skinpainter::previewImage(bitmap.image, previewScale).save(path, "PNG"))
                return fail(kIoError, QStringLiteral("cannot write %1").arg(path));
            continue;
        }
        // Each file is replaced whole or not at all, so an interrupted run leaves no
        // truncated bitmap behind.
        const QString path = dir.filePath(bitmap.name + QStringLiteral(".bmp"));
        const QByteArray bytes = skinpainter::encodeBmp24(bitmap.image);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.commit()) {
            return fail(kIoError,
                        QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        }
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    zd7240::GuardStandardDescriptors();
    // The catalogue and the usage text that did not arrive are a failure (74).
    return zd7240::FinishStandardOutput("zd7240-skinpainter", run(argc, argv));
}
