// Speed and memory of the skinned main window against the same window built from plain
// Qt widgets (same controls, same places, Fusion): a full repaint (grab) in each look,
// start and quit as a process and inside one, and peak resident memory. Then what the
// pointer moving over the title bar's buttons repaints, per look: the widgets that get
// paint events and the area they paint. Prints tables; it is a measurement, not a test,
// and never fails on speed.
//
//   zd7240-windowbench [--repeat N]
//   zd7240-windowbench --hover                  (only what a hover repaints)
//   zd7240-windowbench --child skinned|plain   (one start and quit, used by the above)

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "appfonts.h"
#include "applicationstyle.h"
#include "chrome/tsuiform.h"
#include "chrome/tsuititlebar.h"
#include "pagelayout.h"
#include "pagetable.h"
#include "paintrecorder.h"
#include "tform1.h"
#include "windowdescription.h"

namespace {

using namespace zd7240;
namespace wd = window_description;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The main window's controls as stock Qt widgets: a menu bar, a tab widget and on each
// page the boxes, labels, edits, combo boxes and buttons where the skinned window has them.
std::unique_ptr<QWidget> BuildPlainWindow() {
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(wd::kCaption);
    window->resize(wd::kClientWidth, wd::kClientHeight);
    window->setFont(DescriptionFont(wd::kFontName, wd::kFontPoints));
    auto* menu = new QMenuBar(window.get());
    menu->setGeometry(2, 24, 532, 22);
    QMenu* help = menu->addMenu(QStringLiteral("&Help"));
    for (const char* item : {"Help documents", "Online help", "-------------------", "Quit"})
        help->addAction(QString::fromLatin1(item));
    auto* tabs = new QTabWidget(window.get());
    tabs->setGeometry(5, 56, 525, 513);
    const QFontMetrics metrics(window->font());
    const auto width = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(Q(text));
    };
    for (const PageTable& page : Pages()) {
        auto* sheet = new QWidget;
        const PageLayout layout = LayOutPage(page, width);
        QHash<QString, QWidget*> boxes;
        for (const BoxPlacement& placement : layout.boxes) {
            QWidget* parent =
                placement.row->parent.empty() ? sheet : boxes.value(Q(placement.row->parent));
            auto* box = new QGroupBox(Q(placement.row->caption), parent);
            box->setGeometry(placement.rect);
            boxes.insert(Q(placement.row->name), box);
        }
        for (const FieldPlacement& field : layout.fields) {
            QWidget* box = boxes.value(Q(field.row->group));
            (new QLabel(Q(field.row->label), box))->setGeometry(field.label);
            auto* edit = new QLineEdit(Q(field.row->initial), box);
            edit->setGeometry(field.edit);
            edit->setReadOnly(field.row->role == FieldRole::End);
        }
        for (const NotePlacement& note : layout.notes)
            (new QLabel(Q(note.row->text), boxes.value(Q(note.row->group))))
                ->setGeometry(note.rect);
        for (const SelectorPlacement& selector : layout.selectors) {
            auto* combo = new QComboBox(boxes.value(Q(selector.row->group)));
            for (std::string_view item : selector.row->items)
                combo->addItem(Q(item));
            combo->setGeometry(selector.combo);
        }
        for (const ButtonRow* row : {&page.defaultButton, &page.makeButton}) {
            auto* button = new QPushButton(Q(row->caption), sheet);
            button->setGeometry(row->rect.left, row->rect.top, row->rect.width, row->rect.height);
        }
        tabs->addTab(sheet, Q(page.caption));
    }
    return window;
}

std::unique_ptr<QWidget> BuildWindow(bool skinned, TsuiUIStyle look = TsuiUIStyle::MacOS) {
    if (!skinned)
        return BuildPlainWindow();
    auto form = std::make_unique<TForm1>();
    if (look != TsuiUIStyle::MacOS)
        form->SetLook(look);
    return form;
}

// Shows the window (offscreen) and waits until it has been exposed and painted.
void ShowAndPaint(QWidget& window) {
    window.show();
    QElapsedTimer waited;
    waited.start();
    while ((!window.windowHandle() || !window.windowHandle()->isExposed()) &&
           waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    window.repaint();
    QCoreApplication::processEvents();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of one call, median of `repeat` calls after one warm-up.
double TimeMs(int repeat, const std::function<void()>& work) {
    work();
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return Median(times);
}

long PeakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// One start and quit: the window built, shown and painted, then closed; prints the peak
// resident memory in KiB.
int RunChild(bool skinned) {
    {
        std::unique_ptr<QWidget> window = BuildWindow(skinned);
        ShowAndPaint(*window);
        window->close();
    }
    std::printf("%ld\n", PeakResidentKiB());
    return 0;
}

struct ProcessRun {
    double ms = 0;
    long peakKiB = 0;
};

ProcessRun RunProcess(bool skinned, int repeat) {
    std::vector<double> times;
    long peak = 0;
    for (int i = 0; i < repeat + 1; ++i) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer timer;
        timer.start();
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--child"),
                       skinned ? QStringLiteral("skinned") : QStringLiteral("plain")});
        process.waitForFinished(60000);
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (i > 0) // the first run warms the caches
            times.push_back(ms);
        peak = std::max(peak, process.readAllStandardOutput().trimmed().toLong());
    }
    return {Median(times), peak};
}

const struct Look {
    TsuiUIStyle style;
    const char* name;
} kLooks[] = {{TsuiUIStyle::MacOS, "MacOS"},
              {TsuiUIStyle::WinXP, "WinXP"},
              {TsuiUIStyle::DeepBlue, "DeepBlue"},
              {TsuiUIStyle::Protein, "Protein"},
              {TsuiUIStyle::BlueGlass, "BlueGlass"}};

QString RegionText(const QRegion& region) {
    if (region.isEmpty())
        return QStringLiteral("nothing");
    const QRect box = region.boundingRect();
    qint64 area = 0;
    for (const QRect& rect : region)
        area += qint64(rect.width()) * rect.height();
    return QStringLiteral("%1 px in %2x%3 at (%4,%5)")
        .arg(area)
        .arg(box.width())
        .arg(box.height())
        .arg(box.x())
        .arg(box.y());
}

// The pointer comes from the page onto the title bar's close button, moves on to the
// caption, back onto the button and off the window, as a user's pointer does (through the
// window system, with the enter and leave events Qt makes of it). After each step: how
// many widgets painted, how many of them lie outside the title bar, and the area painted.
void MeasureHover(TsuiUIStyle style, const char* name) {
    std::unique_ptr<QWidget> window = BuildWindow(true, style);
    auto& form = static_cast<TForm1&>(*window);
    ShowAndPaint(form);
    TsuiTitleBar* bar = form.suiForm1->TitleBar();
    const int closeIndex = bar->Buttons().IndexOfType(TsuiTitleBarBtnType::suiClose);
    const QRect close = closeIndex >= 0 ? bar->ButtonLayout().rects.at(closeIndex) : QRect();
    const QPoint onButton = bar->mapTo(&form, close.center());
    const QPoint onCaption = bar->mapTo(&form, QPoint(bar->width() / 3, bar->height() / 2));
    const QRect barRect(bar->mapTo(&form, QPoint()), bar->size());
    QTest::mouseMove(&form, QPoint(form.width() / 2, form.height() / 2));
    PaintRecorder::Settle();

    PaintRecorder recorder(&form);
    const struct {
        const char* step;
        QPoint to;
    } steps[] = {{"onto the close button", onButton},
                 {"onto the caption", onCaption},
                 {"back onto the close button", onButton},
                 {"off the window", QPoint(-20, -20)}};
    for (const auto& step : steps) {
        recorder.Clear();
        QTest::mouseMove(&form, step.to);
        PaintRecorder::Settle();
        const QRegion outsideArea = recorder.Region() - QRegion(barRect);
        std::printf("| %s | %dx%d at (%d,%d) | %s | %d | %d | %s | %s |\n", name, barRect.width(),
                    barRect.height(), barRect.x(), barRect.y(), step.step,
                    int(recorder.Counts().size()), int(recorder.PaintedOutside(bar).size()),
                    qPrintable(RegionText(recorder.Region())), qPrintable(RegionText(outsideArea)));
    }
}

void PrintHoverTable() {
    std::printf("Pointer over the title bar: widgets that painted, those of them outside the "
                "title bar, area painted, area painted outside the title bar (window "
                "coordinates)\n\n");
    std::printf("| look | title bar | pointer moves | widgets | outside the bar | painted | "
                "outside the bar |\n|---|---|---|---|---|---|---|\n");
    for (const auto& look : kLooks)
        MeasureHover(look.style, look.name);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool child = args.size() == 3 && args[1] == QLatin1String("--child");
    const bool skinnedChild = child && args[2] == QLatin1String("skinned");
    // The skinned program installs its application look; the bare one keeps Qt's own.
    if (!child || skinnedChild)
        InstallApplicationLook();
    if (child)
        return RunChild(skinnedChild);
    if (args.size() == 2 && args[1] == QLatin1String("--hover")) {
        PrintHoverTable();
        return 0;
    }
    int repeat = 20;
    if (args.size() == 3 && args[1] == QLatin1String("--repeat"))
        repeat = std::max(1, args[2].toInt());

    std::printf("Window benchmark: median of %d runs, offscreen, milliseconds\n\n", repeat);
    std::printf("| measure | skinned | plain Qt | ratio | target |\n|---|---|---|---|---|\n");

    std::unique_ptr<QWidget> plain = BuildWindow(false);
    ShowAndPaint(*plain);
    const double plainGrab = TimeMs(repeat, [&] { (void)plain->grab(); });
    for (const auto& look : kLooks) {
        std::unique_ptr<QWidget> form = BuildWindow(true, look.style);
        ShowAndPaint(*form);
        const double grab = TimeMs(repeat, [&] { (void)form->grab(); });
        std::printf("| full repaint (grab), %s | %.2f | %.2f | %.2f | <= 2 |\n", look.name, grab,
                    plainGrab, grab / plainGrab);
    }
    plain.reset();

    const auto startQuit = [](bool skinned) {
        std::unique_ptr<QWidget> window = BuildWindow(skinned);
        ShowAndPaint(*window);
        window->close();
    };
    const double inSkinned = TimeMs(repeat, [&] { startQuit(true); });
    const double inPlain = TimeMs(repeat, [&] { startQuit(false); });
    std::printf("| build, show, paint, close (in process) | %.2f | %.2f | %.2f | <= 3 |\n",
                inSkinned, inPlain, inSkinned / inPlain);

    const int processRepeat = std::max(3, repeat / 4);
    const ProcessRun skinned = RunProcess(true, processRepeat);
    const ProcessRun bare = RunProcess(false, processRepeat);
    std::printf("| start and quit (process, median of %d) | %.1f | %.1f | %.2f | <= 3 |\n",
                processRepeat, skinned.ms, bare.ms, skinned.ms / bare.ms);
    std::printf("| peak resident memory, MiB | %.1f | %.1f | %.2f | skinned <= 60 |\n",
                static_cast<double>(skinned.peakKiB) / 1024.0,
                static_cast<double>(bare.peakKiB) / 1024.0,
                static_cast<double>(skinned.peakKiB) / static_cast<double>(bare.peakKiB));
    std::printf("\n");
    PrintHoverTable();
    return 0;
}
