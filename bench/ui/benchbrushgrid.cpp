// The brush grid with many brushes: the time from pressing the brush kind button to
// the first frame of the filled grid, frame times while the grid scrolls from top to
// bottom at a steady pace, and the resident memory, with the software renderer.
//
//   bench_brushgrid [brushes] [pixels per frame]     (defaults: 50000 and 70, a row of small tiles)
//   run it under X (xvfb-run -a); it sets QT_QUICK_BACKEND=software itself
//
// The interface test fixture builds the program folder and the library; the brushes
// are added to its ZBrush folder before the program starts, so start-up scans them.

#include "bench/common/residentmemory.h"
#include "tools/writers/zbrushfilewriter.h"
#include "tests/ui/common/uifixture.h"

#include "Model/brushdataservice.h"
#include "appservices.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QEventLoop>

#include <algorithm>
#include <ctime>

namespace {

QTextStream out(stdout);

// Resident and peak resident memory of this process in MiB.
QPair<double, double> residentMemory()
{
    const QPair<qint64, qint64> kib = residentMemoryKiB();
    return {kib.first / 1024.0, kib.second / 1024.0};
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2) : QString();
}

bool writeBrushes(const QString &folder, int count)
{
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        // A few hues, so that neighbouring thumbnails differ.
        const QRgb colour = qRgba(60 + (i * 37) % 180, 60 + (i * 71) % 180, 60 + (i * 13) % 180, 255);
        QFile file(QStringLiteral("%1/Brush %2.ZBP").arg(folder).arg(i, 5, 10, QLatin1Char('0')));
        const QByteArray bytes = ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(colour), 6);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

// Waits for the next frame of window; false after timeoutMs.
bool nextFrame(QQuickWindow *window, int timeoutMs = 5000)
{
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    QObject::connect(window, &QQuickWindow::frameSwapped, &loop, [&loop] { loop.exit(0); });
    timeout.start(timeoutMs);
    window->update();
    return loop.exec() == 0;
}

// CPU time of the calling thread in milliseconds. The software renderer draws on the
// GUI thread, so this is the work a frame costs there, whatever else the machine runs.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Figures
{
    double mean = 0, median = 0, p95 = 0, worst = 0;
    int over16 = 0;
};

Figures figures(QVector<double> values)
{
    Figures f;
    if (values.isEmpty())
        return f;
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double v : values) {
        sum += v;
        if (v > 16)
            ++f.over16;
    }
    f.mean = sum / values.size();
    f.median = values.at(values.size() / 2);
    f.p95 = values.at(values.size() * 95 / 100);
    f.worst = values.constLast();
    return f;
}

QTextStream &operator<<(QTextStream &stream, const Figures &f)
{
    return stream << "mean " << f.mean << " ms, median " << f.median << " ms, 95th percentile " << f.p95
                  << " ms, worst " << f.worst << " ms, over 16 ms: " << f.over16;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int brushes = arguments.size() > 1 ? arguments.at(1).toInt() : 50000;
    const int step = arguments.size() > 2 ? arguments.at(2).toInt() : 70;

    UiFixture fixture;
    QElapsedTimer timer;
    timer.start();
    if (!fixture.isValid() || !writeBrushes(fixture.zbrushFolder() + QStringLiteral("/ZBrushes"), brushes)) {
        out << "cannot build the library\n";
        return 1;
    }
    out << "library: " << brushes << " brush files written in " << timer.elapsed() << " ms\n";
    fixture.setWindowSetting(QStringLiteral("viewType/brush"), 2);
    timer.restart();
    if (!fixture.start() || !fixture.waitForRendering(fixture.mainWindow(), 60000)) {
        out << "cannot start: " << fixture.warningText() << '\n';
        return 1;
    }
    auto *brushData = qobject_cast<BrushDataService *>(
        fixture.engine()->rootContext()->contextProperty(QStringLiteral("brushData")).value<QObject *>());
    while (brushData->pendingReads() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    out << "start-up with the scan: " << timer.elapsed() << " ms, " << brushData->model()->rowCount() << " brushes\n";

    QQuickWindow *window = fixture.mainWindow();
    // Another kind first, so that the brush view is made anew by the press.
    fixture.click(QStringLiteral("kindButton_alpha"));
    nextFrame(window);
    QTest::qWait(300);
    const auto before = residentMemory();

    QQuickItem *kindButton = fixture.findItem(QStringLiteral("kindButton_brush"));
    const QPoint at = kindButton->mapToScene(QPointF(kindButton->width() / 2, kindButton->height() / 2)).toPoint();
    QQuickItem *grid = nullptr;
    qint64 firstFrame = -1;
    double pressCpu = 0;
    double firstFrameCpu = 0;
    QMetaObject::Connection watch = QObject::connect(window, &QQuickWindow::frameSwapped, window, [&] {
        if (firstFrame >= 0)
            return;
        QQuickItem *view = fixture.findItem(QStringLiteral("resourceView_brush"));
        grid = view ? view->property("contentView").value<QQuickItem *>() : nullptr;
        if (grid && fixture.findItem(QStringLiteral("tile_0"), grid)) {
            firstFrame = timer.nsecsElapsed();
            firstFrameCpu = threadCpuMs() - pressCpu;
        }
    });
    timer.restart();
    pressCpu = threadCpuMs();
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
    while (firstFrame < 0 && timer.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QObject::disconnect(watch);
    if (!grid) {
        out << "the brush grid did not appear\n";
        return 1;
    }
    out << "kind button to first frame of the filled grid: " << firstFrame / 1e6 << " ms, GUI thread CPU "
        << firstFrameCpu << " ms (load " << loadAverage() << ")\n";

    // Scroll from top to bottom, the same distance every frame; a frame's time is from
    // the move to the frame that shows it.
    QTest::qWait(500);
    const qreal bottom = grid->property("contentHeight").toReal() - grid->height();
    QVector<double> frames;
    QVector<double> cpu;
    frames.reserve(int(bottom / step) + 2);
    QElapsedTimer frameTimer;
    timer.restart();
    for (qreal y = 0; y <= bottom; y += step) {
        frameTimer.start();
        const double cpuStart = threadCpuMs();
        grid->setProperty("contentY", y);
        if (!nextFrame(window))
            break;
        frames << frameTimer.nsecsElapsed() / 1e6;
        cpu << threadCpuMs() - cpuStart;
    }
    const qint64 scrollMs = timer.elapsed();
    const auto after = residentMemory();
    out << "scrolling " << frames.size() << " frames of " << step << " px over " << bottom << " px in " << scrollMs
        << " ms (load " << loadAverage() << ")\n";
    out << "  frame time (move to frame shown): " << figures(frames) << '\n';
    out << "  GUI thread CPU per frame: " << figures(cpu) << '\n';
    out << "resident memory: " << before.first << " MiB before the press, " << after.first << " MiB after scrolling, peak "
        << after.second << " MiB\n";
    out.flush();
    fixture.stop();
    return 0;
}
