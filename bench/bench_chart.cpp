// Compare chart on 24 hours of continuous measurement (86,400 records,
// built directly), rendered on the offscreen platform:
//   - opening a chart on the full history, until its first picture
//     (goal: at most 300 ms),
//   - the one-second refresh with all records already charted, one new
//     record a tick (goal: at most 5 ms a tick),
//   - a full repaint of the window (goal: at most 16 ms, one frame at 60 Hz),
//   - the heap an open chart holds per point (goal: at most 200 bytes);
// and on about a week of continuous measurement (200,000 records, with two
// lost gauges in it):
//   - each redraw after a wheel zoom step and after a hover move: the event,
//     the chart's layout and the painting of what changed (goal: at most
//     16 ms, one frame at 60 Hz), median and worst, wall and processor time,
//   - the heap of the history and an open chart per record (goal: at most
//     300 bytes).
//
//   bench_chart [runs]        (default 9; medians, and the worst refresh)

#include "bench_measurement_history.h"

#include "measurement/CompareChartForm.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QMouseEvent>
#include <QPixmap>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class BenchArea : public MeasurementHistorySource {
public:
    const TMeasurementValueArray& GetMeasurementHistory() override { return history; }
    TMeasurementValueArray history;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

constexpr std::size_t WeekOfRecords = 200000;

// Wall and processor time of each repetition of some work.
struct Timed {
    std::vector<double> wall;
    std::vector<double> cpu;

    template <typename Work> void Measure(const Work& work) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = CpuMs();
        work();
        cpu.push_back(CpuMs() - cpuStart);
        wall.push_back(MsSince(start));
    }
    void Print(const char* what, double goal) const {
        const double worstWall = *std::max_element(wall.begin(), wall.end());
        const double worstCpu = *std::max_element(cpu.begin(), cpu.end());
        std::printf("%s: median %.2f ms, worst of %zu %.2f ms (processor: median %.2f ms, worst "
                    "%.2f ms), goal <= %.0f ms  %s\n",
                    what, Median(wall), wall.size(), worstWall, Median(cpu), worstCpu, goal,
                    Verdict(worstCpu, goal));
    }
};

// Opens a chart of position on area's history as the measurement area does
// and waits for its first picture.
TCompareChartForm* Open(BenchArea& area, int position) {
    auto* chart = new TCompareChartForm();
    chart->SetupCompareChart(&area, area.history, position, QStringLiteral(" Intensity RT"));
    chart->resize(600, 400);
    chart->show();
    QCoreApplication::processEvents();
    chart->grab();
    return chart;
}

// The viewport position of chart coordinates.
QPointF ViewPosition(TCompareChartForm* chart, const QPointF& inChart) {
    return chart->CompareChart->viewportTransform().map(
        chart->CompareChart->chart()->mapToScene(inChart));
}

// Counts the pictures the chart paints.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// An event to the chart, then what the window does until its next picture
// is painted (the chart's layout, the scene's update, the painting of
// what changed); false when nothing was painted.
bool SendAndPaint(TCompareChartForm* chart, QEvent* event, PaintCounter& counter) {
    const int before = counter.paints;
    QCoreApplication::sendEvent(chart->CompareChart->viewport(), event);
    QCoreApplication::processEvents();
    return counter.paints > before;
}

void Week(int runs) {
    const std::size_t heapBefore = HeapInUse();
    auto* area = new BenchArea();
    area->history.Reserve(WeekOfRecords);
    FillBenchHistory(area->history, WeekOfRecords / 3);
    area->history.MarkGap();
    FillBenchHistory(area->history, 2 * WeekOfRecords / 3);
    area->history.MarkGap();
    FillBenchHistory(area->history, WeekOfRecords);
    const std::size_t heapHistory = HeapInUse();
    TCompareChartForm* chart = Open(*area, 0);
    const std::size_t heapChart = HeapInUse();
    if (heapChart > heapBefore) {
        const double history = static_cast<double>(heapHistory - heapBefore) / WeekOfRecords;
        const double total = static_cast<double>(heapChart - heapBefore) / WeekOfRecords;
        std::printf("week: memory of the history and an open chart: %.0f bytes per record (the "
                    "history %.0f, the chart %.0f; allocator), goal <= 300  %s\n",
                    total, history, total - history, Verdict(total, 300));
    }
    std::printf("week: the chart's points with their extremes index: %.1f bytes per record\n",
                static_cast<double>(chart->Points().HeapBytes()) / WeekOfRecords);

    // Zooming in notch by notch at places across the run, then out again.
    const QRectF plot = chart->CompareChart->chart()->plotArea();
    PaintCounter counter;
    chart->CompareChart->viewport()->installEventFilter(&counter);
    int unpainted = 0;
    const auto redraw = [&](QEvent* event) {
        unpainted += SendAndPaint(chart, event, counter) ? 0 : 1;
    };
    Timed zoom;
    for (int run = 0; run < runs; ++run) {
        const QPointF at = ViewPosition(
            chart, QPointF(plot.left() + plot.width() * (run + 1) / (runs + 1), plot.center().y()));
        for (const int notch : {120, -120}) {
            for (int step = 0; step < 30; ++step) {
                QWheelEvent wheel(at, chart->CompareChart->viewport()->mapToGlobal(at), QPoint(),
                                  QPoint(0, notch), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                                  false);
                zoom.Measure([&] { redraw(&wheel); });
            }
        }
    }
    zoom.Print("week: redraw after a wheel zoom step", 16);

    // Hovering across the whole run and across a zoomed part.
    Timed hover;
    const auto sweep = [&] {
        for (int step = 0; step < 100; ++step) {
            const QPointF at = ViewPosition(
                chart, QPointF(plot.left() + plot.width() * step / 100.0,
                               plot.top() + plot.height() * ((step * 37) % 100) / 100.0));
            QMouseEvent move(QEvent::MouseMove, at,
                             chart->CompareChart->viewport()->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            hover.Measure([&] { redraw(&move); });
        }
    };
    for (int run = 0; run < runs; ++run) {
        sweep();
        const QPointF middle = ViewPosition(chart, plot.center());
        QWheelEvent wheel(middle, chart->CompareChart->viewport()->mapToGlobal(middle), QPoint(),
                          QPoint(0, 120 * 8), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        redraw(&wheel);
        sweep();
        QMouseEvent twice(QEvent::MouseButtonDblClick, middle,
                          chart->CompareChart->viewport()->mapToGlobal(middle), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        redraw(&twice);
    }
    hover.Print("week: redraw after a hover move", 16);
    if (unpainted > 0)
        std::printf("week: %d of the events above painted nothing\n", unpainted);
    delete chart;
    delete area;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    BenchArea area;
    FillBenchHistory(area.history, DayOfRecords);

    // Memory: a chart of the whole day against a chart of nothing.
    BenchArea empty;
    const std::size_t beforeEmpty = HeapInUse();
    TCompareChartForm* nothing = Open(empty, 0);
    const std::size_t emptyChart = HeapInUse() - beforeEmpty;
    const std::size_t beforeFull = HeapInUse();
    TCompareChartForm* full = Open(area, 0);
    const std::size_t fullChart = HeapInUse() - beforeFull;
    delete nothing;
    if (fullChart > emptyChart) {
        const double perPoint = static_cast<double>(fullChart - emptyChart) / DayOfRecords;
        std::printf("open chart memory: %.0f bytes per point (allocator), goal <= 200  %s\n",
                    perPoint, Verdict(perPoint, 200));
    }
    const double counted = static_cast<double>(full->Points().HeapBytes()) / DayOfRecords;
    std::printf("open chart memory: %.0f bytes per point (counted points; the list and the "
                "drawn line hold no per-record objects), goal <= 200  %s\n",
                counted, Verdict(counted, 200));

    // Each figure as wall time and as processor time: on a busy machine the
    // wall time also holds the time other programs had the processor.
    const auto measure = [](Timed& timed, const auto& work) { timed.Measure(work); };

    // Opening.
    Timed open;
    for (int run = 0; run < runs; ++run) {
        TCompareChartForm* chart = nullptr;
        measure(open, [&] { chart = Open(area, 6); });
        delete chart;
        QCoreApplication::processEvents();
    }
    std::printf("opening a chart on %zu records, to its first picture: %.1f ms (processor %.1f "
                "ms), goal <= 300 ms  %s\n",
                area.history.Size(), Median(open.wall), Median(open.cpu),
                Verdict(Median(open.cpu), 300));

    // Refresh: one new record a tick on top of the charted day.
    const int ticks = 100 * runs;
    Timed refresh;
    for (int tick = 0; tick < ticks; ++tick) {
        area.history.Append(BenchRecord(area.history.Size()));
        measure(refresh, [&] { full->ReadTimerTimer(); });
    }
    const double worstWall = *std::max_element(refresh.wall.begin(), refresh.wall.end());
    const double worstCpu = *std::max_element(refresh.cpu.begin(), refresh.cpu.end());
    std::printf("refresh with %zu records charted, one new a tick: median %.2f ms, worst of %d "
                "%.2f ms (processor: median %.2f ms, worst %.2f ms), goal <= 5 ms  %s\n",
                full->Points().Count(), Median(refresh.wall), ticks, worstWall, Median(refresh.cpu),
                worstCpu, Verdict(worstCpu, 5));
    Timed idle;
    for (int tick = 0; tick < ticks; ++tick)
        measure(idle, [&] { full->ReadTimerTimer(); });
    std::printf("refresh with nothing new: %.3f ms\n", Median(idle.wall));

    // Drawing: the whole window rendered offscreen.
    Timed paint;
    Timed plot;
    for (int run = 0; run < 3 * runs; ++run) {
        measure(paint, [&] { full->grab(); });
        measure(plot, [&] { full->CompareChart->grab(); });
    }
    std::printf("full repaint of the %dx%d window: %.1f ms (processor %.1f ms; the chart alone "
                "%.1f ms), goal <= 16 ms  %s\n",
                full->width(), full->height(), Median(paint.wall), Median(paint.cpu),
                Median(plot.cpu), Verdict(Median(paint.cpu), 16));
    delete full;

    Week(runs);
    return 0;
}
