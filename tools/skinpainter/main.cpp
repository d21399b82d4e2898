// zd7240-skinpainter: draws every skin bitmap of the program, at 1x and at 2x, and writes
// them as 24-bit BMP files (NAME.bmp, NAME@2x.bmp) into a folder. The committed
// skin/resources/ folder is its output.

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "bmpfile.h"
#include "catalogue/skincatalogue.h"
#include "exitstatus.h"
#include "foldertargets.h"
#include "paintedskin.h"
#include "previewsheet.h"
#include "processguard.h"
#include "scriptwriter.h"
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
               "fuchsia 0xFF00FF where the picture is transparent), and painted again at\n"
               "twice the size for scaled screens as OUTDIR/NAME@2x.bmp. The folder is created\n"
               "when missing (its parent must exist); existing files of the same names are\n"
               "replaced whole, others are left alone. Every name is looked at before any\n"
               "file is written: a folder, a symbolic link or a special file where a file\n"
               "goes, or a file that cannot be written, ends the run (73) with nothing\n"
               "written. The output is the same, byte for byte, on every run. A FILE that is\n"
               "a device, a FIFO or a standard stream is written into.\n"
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

// A name from the command line as a message shows it, control characters escaped.
QString shown(const QString& name) {
    return QString::fromStdString(zd7240::EscapeText(QFile::encodeName(name).toStdString()));
}

// Writes one file through the shared safe writer: replaced whole or not at all, devices
// and FIFOs written into. Returns 0, or the status after saying why.
int writeFile(const QString& path, const QByteArray& bytes) {
    if (bytes.isEmpty())
        return fail(zd7240::exit_status::kOsError,
                    QStringLiteral("cannot encode %1: not enough memory").arg(shown(path)));
    try {
        zd7240::WriteWholeFile(
            QFile::encodeName(path).toStdString(),
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        return 0;
    } catch (const zd7240::FileError& e) {
        return fail(e.kind() == zd7240::FileError::Kind::Create ? kCantCreate : kIoError,
                    shown(QString::fromLocal8Bit(e.what())));
    }
}

// The picture as PNG bytes, encoded in memory; empty when that failed.
QByteArray encodePng(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return png;
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
        return writeFile(args[2], encodePng(skinpainter::paintAppIcon(size)));
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

    // The folder itself is made when missing, never its parents: a mistyped path must
    // not grow a tree of folders somewhere.
    const QString outDir = args[0];
    const QByteArray outDirName = QFile::encodeName(outDir);
    if (mkdir(outDirName.constData(), 0777) != 0 && errno != EEXIST)
        return fail(kCantCreate,
                    QStringLiteral("cannot create the folder %1: %2")
                        .arg(shown(outDir), QString::fromLocal8Bit(std::strerror(errno))));
    struct stat folder {};
    if (stat(outDirName.constData(), &folder) != 0 || !S_ISDIR(folder.st_mode))
        return fail(kCantCreate, QStringLiteral("%1 is not a folder").arg(shown(outDir)));

    // Every file is painted and encoded before the first is written, and every name is
    // looked at: a name that cannot be written (a folder, a link or a special file in
    // its place, a write-protected file) stops the run with the folder as it was,
    // rather than after part of the set has replaced the files there.
    struct OutputFile {
        QString name;
        QByteArray bytes;
    };
    std::vector<OutputFile> files;
    QString paintError;
    if (previewScale > 0) {
        // The previews show the 1x set, enlarged.
        const std::vector<skinpainter::SkinBitmap> bitmaps =
            skinpainter::paintSkinBitmaps(1, &paintError);
        if (bitmaps.empty())
            return fail(kSoftware, paintError);
        for (const auto& [name, sheet] : skinpainter::previewSheets(bitmaps))
            files.push_back({name + QStringLiteral(".png"),
                             encodePng(sheet.scaled(sheet.size() * previewScale))});
        for (const skinpainter::SkinBitmap& bitmap : bitmaps)
            files.push_back({bitmap.name + QStringLiteral(".png"),
                             encodePng(skinpainter::previewImage(bitmap.image, previewScale))});
    } else {
        for (const int scale : skinpainter::kSkinScales) {
            const std::vector<skinpainter::SkinBitmap> bitmaps =
                skinpainter::paintSkinBitmaps(scale, &paintError);
            if (bitmaps.empty())
                return fail(kSoftware, paintError);
            for (const skinpainter::SkinBitmap& bitmap : bitmaps)
                files.push_back({skinpainter::skinBitmapFileName(bitmap.name, scale),
                                 skinpainter::encodeBmp24(bitmap.image)});
        }
    }
    std::vector<std::string> names;
    for (const OutputFile& file : files) {
        if (file.bytes.isEmpty())
            return fail(zd7240::exit_status::kOsError,
                        QStringLiteral("cannot encode %1: not enough memory; nothing written")
                            .arg(shown(file.name)));
        names.push_back(QFile::encodeName(file.name).toStdString());
    }
    if (const auto refused = zd7240::CheckFolderTargets(outDirName.toStdString(), names))
        return fail(kCantCreate, QStringLiteral("%1 %2; nothing written")
                                     .arg(shown(QFile::decodeName(refused->path.c_str())),
                                          QString::fromLocal8Bit(refused->why)));
    const QDir dir(outDir);
    for (const OutputFile& file : files) {
        // Each file is replaced whole or not at all, so an interrupted run leaves no
        // truncated bitmap behind.
        if (const int status = writeFile(dir.filePath(file.name), file.bytes))
            return status;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    zd7240::GuardStandardDescriptors();
    zd7240::ExitOnInterrupt("zd7240-skinpainter");
    // The catalogue and the usage text that did not arrive are a failure (74).
    return zd7240::FinishStandardOutput("zd7240-skinpainter", run(argc, argv));
}
