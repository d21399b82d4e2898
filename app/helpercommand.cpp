#include "helpercommand.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>
#include <functional>
#include <memory>

#include "controls/tsuipagecontrol.h"
#include "frameselftest.h"
#include "helperoptions.h"
#include "looksettings.h"
#include "offscreengrabs.h"
#include "processguard.h"
#include "scriptwriter.h"
#include "tform1.h"
#include "theme/tsuifiletheme.h"
#include "version.h"
#include "widgetdescription.h"

namespace {

// Loads the theme file; on failure writes why and returns the status.
std::optional<int> LoadTheme(const QString& path, TsuiFileTheme& theme, QTextStream& err) {
    const auto problem = look_settings::LoadThemeFile(path, theme);
    if (!problem)
        return std::nullopt;
    err << kHelperProgram << ": " << problem->message << "\n";
    return problem->missing ? helper_exit::kNoInput : helper_exit::kData;
}

} // namespace

int RunHelper(const QStringList& arguments, QTextStream& out, QTextStream& err, bool noDisplay) {
    HelperCommandLine parsed;
    if (const std::optional<int> status = ParseHelperOptions(arguments, parsed, err))
        return *status;
    if (parsed.help) {
        PrintHelperUsage(out);
        return helper_exit::kOk;
    }
    if (parsed.version) {
        out << kHelperProgram << " " << zd7240::kVersion << "\n";
        return helper_exit::kOk;
    }
    const HelperOptions& o = parsed.options;
    if (noDisplay && !o.WritesOutput()) {
        err << kHelperProgram
            << ": no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); to run the "
               "window without one, start it under a virtual X server: xvfb-run -a "
            << kHelperProgram << "\n";
        return helper_exit::kUnavailable;
    }

    auto theme = std::make_unique<TsuiFileTheme>();
    if (!o.themeFile.isEmpty()) {
        if (const std::optional<int> status = LoadTheme(o.themeFile, *theme, err))
            return *status;
    }
    // Opened before the window is built, so that a path that cannot be written fails at
    // once; each picture is encoded in memory and replaces its file only once complete.
    struct Picture {
        QString path;
        std::unique_ptr<zd7240::ScriptWriter> file;
    };
    Picture window{o.grabFile, nullptr};
    Picture dialog{o.grabDialogFile, nullptr};
    Picture menu{o.grabMenuFile, nullptr};
    for (Picture* picture : {&window, &dialog, &menu}) {
        if (picture->path.isEmpty())
            continue;
        try {
            picture->file = std::make_unique<zd7240::ScriptWriter>(
                QFile::encodeName(picture->path).toStdString());
        } catch (const zd7240::FileError& e) {
            err << kHelperProgram << ": " << Shown(QString::fromLocal8Bit(e.what())) << "\n";
            return e.kind() == zd7240::FileError::Kind::Create ? helper_exit::kCantCreate
                                                               : helper_exit::kIoError;
        }
    }
    int failure = helper_exit::kOk;
    const auto save = [&err, &failure](Picture& picture, const std::function<QImage()>& draw) {
        if (!picture.file)
            return true;
        const QImage image = draw();
        QByteArray png;
        QBuffer buffer(&png);
        if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
            // Drawing or encoding fails only when memory runs out.
            err << kHelperProgram << ": cannot draw '" << Shown(picture.path)
                << "': not enough memory for the picture\n";
            failure = helper_exit::kOsError;
            return false;
        }
        try {
            picture.file->Write(
                std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
            picture.file->Commit();
            return true;
        } catch (const zd7240::FileError& e) {
            err << kHelperProgram << ": " << Shown(QString::fromLocal8Bit(e.what())) << "\n";
            failure = e.kind() == zd7240::FileError::Kind::Create ? helper_exit::kCantCreate
                                                                  : helper_exit::kIoError;
            return false;
        }
    };

    // The window opens in the look chosen from its "Look" menu at an earlier start, unless
    // the command line names one. Pictures and the description keep to the command line,
    // so that they come out the same for everyone.
    TsuiUIStyle look = o.look;
    bool themed = !o.themeFile.isEmpty();
    if (!o.lookGiven && !o.WritesOutput()) {
        if (const auto saved = look_settings::ReadSavedLook()) {
            if (saved->style != TsuiUIStyle::FromThemeFile) {
                look = saved->style;
            } else if (!look_settings::LoadThemeFile(saved->themeFile, *theme)) {
                look = TsuiUIStyle::FromThemeFile;
                themed = true;
            } else {
                // A saved theme file that no longer loads: the window opens in MacOS.
                theme = std::make_unique<TsuiFileTheme>();
            }
        }
    }
    auto form = std::make_unique<TForm1>();
    theme->setParent(form.get());
    TsuiFileTheme* const windowTheme = themed ? theme.get() : nullptr;
    if (look != TsuiUIStyle::MacOS || windowTheme)
        form->SetLook(look, windowTheme);
    static_cast<void>(theme.release()); // owned by the window from here on
    form->suiPageControl1->setActivePageIndex(o.page);

    if (o.selfTestFrame)
        return RunFrameSelfTest(*form, look, windowTheme, out, err);
    if (!o.WritesOutput()) {
        form->show();
        return QApplication::exec();
    }

    ShowOffScreen(*form);
    TForm1& shown = *form;
    if (!save(window, [&shown] { return shown.grab().toImage(); }) ||
        !save(menu, [&shown] { return GrabWithMenuOpen(shown); }) ||
        !save(dialog, [&shown, &o] { return GrabWarning(shown, o.page); }))
        return failure;
    if (o.describe) {
        out << QJsonDocument(DescribeWidgets(form.get())).toJson(QJsonDocument::Indented);
        out.flush();
    }
    return helper_exit::kOk;
}
