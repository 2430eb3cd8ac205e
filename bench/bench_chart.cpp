// Compare chart on 24 hours of continuous measurement (86,400 records,
// built directly), rendered on the offscreen platform:
//   - opening a chart on the full history, until its first picture
//     (goal: at most 300 ms),
//   - the one-second refresh with all records already charted, one new
//     record a tick (goal: at most 5 ms a tick),
//   - a full repaint of the window (goal: at most 16 ms, one frame at 60 Hz),
//   - the heap an open chart holds per point (goal: at most 200 bytes).
//
//   bench_chart [runs]        (default 9; medians, and the worst refresh)

#include "bench_measurement_history.h"

#include "measurement/CompareChartForm.h"

#include <QApplication>
#include <QChartView>
#include <QPixmap>

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
    struct Timed {
        std::vector<double> wall;
        std::vector<double> cpu;
    };
    const auto measure = [](Timed& timed, const auto& work) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = CpuMs();
        work();
        timed.cpu.push_back(CpuMs() - cpuStart);
        timed.wall.push_back(MsSince(start));
    };

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
                full->Points().Count(), Median(refresh.wall), ticks, worstWall,
                Median(refresh.cpu), worstCpu, Verdict(worstCpu, 5));
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
    return 0;
}
