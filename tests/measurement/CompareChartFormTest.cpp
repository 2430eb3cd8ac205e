// The compare chart window: its points, list, refresh and closing, and
// reading a long run with the mouse.

#include "measurement/CompareChartForm.h"
#include "measurement/CompareValuesModel.h"
#include "support/LanguageScope.h"
#include "support/QtPrinters.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeView>
#include <QValueAxis>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

class FakeArea : public MeasurementHistorySource {
public:
    const TMeasurementValueArray& GetMeasurementHistory() override { return history; }
    // A record with value at position 9, at 08:00:00 + second seconds.
    void Add(const std::string& value, int second) {
        MeasurementValues::Strings strings;
        strings[9] = value;
        const QDateTime when(QDate(2024, 5, 6), QTime(8, 0).addSecs(second));
        history.Append(MeasurementValues(DateTimeValue(when), strings));
    }
    TMeasurementValueArray history;
};

class CompareChart : public ::testing::Test {
protected:
    CompareChart() { QLocale::setDefault(QLocale::c()); }
    ~CompareChart() override { QLocale::setDefault(saved); }

    TCompareChartForm& Opened() {
        chart = new TCompareChartForm();
        chart->SetupCompareChart(&area, area.history, 9, QStringLiteral(" Internal temperature"));
        return *chart;
    }
    QString Cell(int row, int column) const {
        QAbstractItemModel* model = chart->ValuesListView->model();
        return model->data(model->index(row, column)).toString();
    }
    int Rows() const { return chart->ValuesListView->model()->rowCount(); }

    // Shown and laid out at its real size.
    TCompareChartForm& Shown() {
        Opened().show();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        return *chart;
    }
    // Where on the chart's viewport point is drawn.
    QPointF PixelOf(const QPointF& point) const {
        QChart* plot = chart->CompareChart->chart();
        return chart->CompareChart->viewportTransform().map(
            plot->mapToScene(plot->mapToPosition(point, chart->Series1)));
    }
    double Low() const { return chart->TimeAxis()->min(); }
    double High() const { return chart->TimeAxis()->max(); }
    // The position drawn at pixel column x of the viewport.
    double PositionAt(double x) const {
        QChart* plot = chart->CompareChart->chart();
        const QPointF scene =
            chart->CompareChart->viewportTransform().inverted().map(QPointF(x, 10));
        return plot->mapToValue(plot->mapFromScene(scene), chart->Series1).x();
    }
    void Wheel(const QPointF& at, int notches) {
        QWheelEvent wheel(at, chart->CompareChart->viewport()->mapToGlobal(at), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(chart->CompareChart->viewport(), &wheel);
    }
    void Mouse(QEvent::Type type, const QPointF& at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
        QMouseEvent mouse(type, at, chart->CompareChart->viewport()->mapToGlobal(at), button,
                          buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(chart->CompareChart->viewport(), &mouse);
    }
    void Drag(const QPointF& from, const QPointF& to) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    // Every drawn point, of every series.
    QList<QPointF> Drawn() const {
        QList<QPointF> points;
        for (QLineSeries* run : chart->Runs())
            points += run->points();
        return points;
    }
    // A series that joins a point before position at to one at or after it.
    bool ASeriesCrosses(double at) const {
        for (QLineSeries* run : chart->Runs()) {
            const QList<QPointF> points = run->points();
            for (qsizetype i = 1; i < points.size(); ++i)
                if (points[i - 1].x() < at && points[i].x() >= at)
                    return true;
        }
        return false;
    }

    QLocale saved;
    FakeArea area;
    QPointer<TCompareChartForm> chart;
};

} // namespace

TEST_F(CompareChart, ThreeRecordsArePointsAtZeroOneTwoAndTheListStartsWithTheThird) {
    area.Add("+20.5", 0);
    area.Add("+21.0", 1);
    area.Add("+19.75", 2);
    Opened();
    EXPECT_EQ(chart->Series1->points(), (QList<QPointF>{{0, 20.5}, {1, 21.0}, {2, 19.75}}));
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Cell(0, 0), "08:00:02");
    EXPECT_EQ(Cell(0, 1), "+19.75");
    EXPECT_EQ(Cell(2, 0), "08:00:00");
    EXPECT_EQ(chart->Title(), " Internal temperature");
    delete chart;
}

TEST_F(CompareChart, ARecordAddedIsChartedAndListedAtTheTopWithinASecond) {
    area.Add("+1", 0);
    Opened();
    chart->show();
    EXPECT_TRUE(chart->ReadTimer.isActive());
    EXPECT_EQ(chart->ReadTimer.interval(), 1000);
    area.Add("+2", 1);
    chart->ReadTimerTimer();
    EXPECT_EQ(chart->Series1->points(), (QList<QPointF>{{0, 1}, {1, 2}}));
    EXPECT_EQ(Cell(0, 0), "08:00:01");
    EXPECT_EQ(Cell(0, 1), "+2");
    delete chart;
}

TEST_F(CompareChart, AnEmptiedHistoryLeavesThePointsUntilItHoldsMore) {
    area.Add("+1", 0);
    area.Add("+2", 1);
    Opened();
    area.history.Clear();
    chart->ReadTimerTimer();
    EXPECT_EQ(chart->Points().Count(), 2u);
    area.Add("+5", 10);
    area.Add("+6", 11);
    chart->ReadTimerTimer();
    EXPECT_EQ(chart->Points().Count(), 2u);
    area.Add("+7", 12);
    chart->ReadTimerTimer();
    EXPECT_EQ(chart->Series1->points().last(), QPointF(2, 7));
    EXPECT_EQ(Cell(0, 1), "+7");
    delete chart;
}

TEST_F(CompareChart, ARecordWithoutANumberLeavesAGapAndIsListedWithItsText) {
    area.Add("+1", 0);
    area.Add("+2", 1);
    area.Add("", 2);
    area.Add("+4", 3);
    Opened();
    ASSERT_EQ(chart->Runs().size(), 2u);
    EXPECT_EQ(chart->Runs()[0]->points(), (QList<QPointF>{{0, 1}, {1, 2}}));
    EXPECT_EQ(chart->Runs()[1]->points(), (QList<QPointF>{{3, 4}}));
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(Cell(1, 0), "08:00:02");
    EXPECT_EQ(Cell(1, 1), "");
    // Once the run is joined again by data, the extra series stays in step.
    area.Add("+5", 4);
    chart->ReadTimerTimer();
    EXPECT_EQ(chart->Runs().size(), 2u);
    EXPECT_EQ(chart->Runs()[1]->points(), (QList<QPointF>{{3, 4}, {4, 5}}));
    delete chart;
}

TEST_F(CompareChart, TheWindowLooksAsDescribed) {
    area.Add("+1", 0);
    Opened();
    EXPECT_EQ(chart->windowTitle(), "");
    EXPECT_EQ(chart->TitlePanel->font().pointSize(), 12);
    EXPECT_EQ(chart->TitlePanel->height(), 35);
    EXPECT_EQ(chart->TablePanel->width(), 144);
    const QPen pen = chart->Series1->pen();
    EXPECT_EQ(pen.color(), QColor(255, 0, 0));
    EXPECT_FALSE(chart->Series1->lightMarker().isNull()) << "diamond marks at the points";
    QChart* plot = chart->CompareChart->chart();
    EXPECT_FALSE(plot->legend()->isVisible());
    EXPECT_EQ(plot->title(), "");
    EXPECT_FALSE(chart->TimeAxis()->isGridLineVisible());
    QAbstractItemModel* model = chart->ValuesListView->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Time");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Value");
    EXPECT_EQ(chart->ValuesListView->columnWidth(1), 70);
    EXPECT_FALSE(chart->ValuesListView->header()->sectionsClickable());
    EXPECT_EQ(chart->ValuesListView->editTriggers(), QAbstractItemView::NoEditTriggers);
    delete chart;
}

TEST_F(CompareChart, ClosingEmptiesTheWindowStopsItsTimerAndDestroysIt) {
    area.Add("+1", 0);
    Opened();
    chart->show();
    chart->close();
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(chart->Series1->points().isEmpty());
    EXPECT_FALSE(chart->ReadTimer.isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(chart.isNull());
}

TEST_F(CompareChart, TimeLabelsOfThousandsOfPointsNeverOverlap) {
    for (int i = 0; i < 5000; ++i)
        area.Add(std::to_string(20 + i % 7), i);
    Opened();
    chart->show();
    // Let the chart lay itself out and redraw for its real width.
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QCategoryAxis* axis = chart->TimeAxis();
    const QStringList labels = axis->categoriesLabels();
    ASSERT_GE(labels.size(), 2);
    EXPECT_LT(labels.size(), 50);
    QChart* plot = chart->CompareChart->chart();
    const QFontMetrics metrics(axis->labelsFont());
    double previousRight = -1e9;
    for (const QString& label : labels) {
        const double x = plot->mapToPosition(QPointF(axis->endValue(label), 0), chart->Series1).x();
        const double half = metrics.horizontalAdvance(label) / 2.0;
        EXPECT_GT(x - half, previousRight) << label.toStdString();
        previousRight = x + half;
    }
    // The labels name the times of the points they stand at.
    EXPECT_EQ(labels.first(), "08:00:00");
    delete chart;
}

TEST_F(CompareChart, AWheelStepOverAPointKeepsItUnderThePointerAndNarrowsTheRange) {
    for (int i = 0; i < 1000; ++i)
        area.Add(std::to_string(i % 10), i);
    Shown();
    const double span = High() - Low();
    const QPointF before = PixelOf({600, 0});
    Wheel(before, 1);
    EXPECT_LT(High() - Low(), 0.9 * span);
    EXPECT_LE(Low(), 600);
    EXPECT_GE(High(), 600);
    EXPECT_NEAR(PixelOf({600, 0}).x(), before.x(), 1.0);
    Wheel(before, 3);
    EXPECT_NEAR(PixelOf({600, 0}).x(), before.x(), 1.0);
    delete chart;
}

TEST_F(CompareChart, ADragMovesTheRangeWithThePointer) {
    for (int i = 0; i < 1000; ++i)
        area.Add(std::to_string(i % 10), i);
    Shown();
    Wheel(PixelOf({500, 0}), 5);
    const double low = Low();
    const double span = High() - Low();
    const QPointF grip = PixelOf({500, 0});
    const double gripped = PositionAt(grip.x());
    Drag(grip, grip - QPointF(100, 0));
    EXPECT_GT(Low(), low) << "dragged to the left: later records come into view";
    EXPECT_NEAR(High() - Low(), span, 1e-6);
    EXPECT_NEAR(PositionAt(grip.x() - 100), gripped, span / 200);
    delete chart;
}

TEST_F(CompareChart, ADoubleClickShowsTheWholeRunAgain) {
    for (int i = 0; i < 1000; ++i)
        area.Add(std::to_string(i % 10), i);
    Shown();
    const QPointF middle = PixelOf({500, 0});
    Wheel(middle, 6);
    ASSERT_GT(Low(), 0);
    Mouse(QEvent::MouseButtonDblClick, middle, Qt::LeftButton, Qt::LeftButton);
    EXPECT_LE(Low(), 0);
    EXPECT_GE(High(), 999);
    EXPECT_EQ(Drawn().first().x(), 0);
    EXPECT_EQ(Drawn().last().x(), 999);
    delete chart;
}

TEST_F(CompareChart, NewRecordsMoveAZoomedViewOfTheNewestOnAndLeaveOneFurtherBack) {
    for (int i = 0; i < 1000; ++i)
        area.Add(std::to_string(i % 10), i);
    Shown();
    Wheel(PixelOf({999, 0}), 8);
    const double span = High() - Low();
    ASSERT_GE(High(), 999);
    for (int i = 1000; i < 1010; ++i)
        area.Add("5", i);
    chart->ReadTimerTimer();
    EXPECT_GE(High(), 1009) << "the newest record stays in view";
    EXPECT_NEAR(High() - Low(), span, 1e-6);
    Drag(PixelOf({Low() + span / 4, 0}), PixelOf({Low() + span * 3 / 4, 0}));
    const double low = Low();
    ASSERT_LT(High(), 1009);
    area.Add("5", 1010);
    chart->ReadTimerTimer();
    EXPECT_EQ(Low(), low);
    delete chart;
}

TEST_F(CompareChart, TheHoverLabelNamesTheNearestRecordsTimeAndValue) {
    for (int i = 0; i < 20; ++i)
        area.Add("+" + std::to_string(20 + i) + ".5", i);
    Shown();
    EXPECT_FALSE(chart->HoverShown());
    Mouse(QEvent::MouseMove, PixelOf({7, 27.5}) + QPointF(3, -2), Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(chart->HoverShown());
    EXPECT_TRUE(chart->HoverText().contains("08:00:07")) << chart->HoverText().toStdString();
    EXPECT_TRUE(chart->HoverText().contains("+27.5")) << chart->HoverText().toStdString();
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(chart->CompareChart->viewport(), &leave);
    EXPECT_FALSE(chart->HoverShown());
    delete chart;
}

TEST_F(CompareChart, PauseStopsTheRefreshAndUnpausingCatchesUpAtOnce) {
    LanguageScope english(OffsetEnglish);
    area.Add("+1", 0);
    Shown();
    EXPECT_EQ(chart->PauseCheckBox->text(), "Pause");
    chart->PauseCheckBox->click();
    area.Add("+2", 1);
    area.Add("+3", 2);
    chart->ReadTimerTimer();
    EXPECT_EQ(chart->Points().Count(), 1u);
    EXPECT_FALSE(chart->ReadTimer.isActive());
    chart->PauseCheckBox->click();
    EXPECT_EQ(chart->Points().Count(), 3u);
    EXPECT_EQ(Cell(0, 1), "+3");
    EXPECT_TRUE(chart->ReadTimer.isActive());
    delete chart;
}

TEST_F(CompareChart, NoDrawnSeriesJoinsTheRecordsAroundALostGauge) {
    for (int i = 0; i < 5000; ++i) {
        if (i == 2500 || i == 4000)
            area.history.MarkGap();
        area.Add(std::to_string(20 + i % 7), i);
    }
    Shown();
    EXPECT_FALSE(ASeriesCrosses(2500));
    EXPECT_FALSE(ASeriesCrosses(4000));
    Wheel(PixelOf({2500, 0}), 20);
    ASSERT_LT(High() - Low(), 100) << "every point drawn";
    EXPECT_FALSE(ASeriesCrosses(2500));
    const QList<QPointF> drawn = Drawn();
    EXPECT_TRUE(drawn.contains(QPointF(2499, 20 + 2499 % 7)));
    EXPECT_TRUE(drawn.contains(QPointF(2500, 20 + 2500 % 7)));
    delete chart;
}

TEST_F(CompareChart, TheExtremesOfAZoomedRangeAreAllDrawn) {
    for (int i = 0; i < 50000; ++i) {
        const int spike = i % 1000 == 321 ? 500 : i % 1000 == 654 ? -500 : 0;
        area.Add(std::to_string(10 + (i * 7919) % 13 + spike), i);
    }
    Shown();
    Wheel(PixelOf({25000, 0}), 6);
    ASSERT_GT(High() - Low(), 2000) << "more records than pixels";
    ASSERT_LT(High() - Low(), 20000);
    const QList<QPointF> drawn = Drawn();
    int spikes = 0;
    for (int i = static_cast<int>(std::ceil(Low())); i <= High(); ++i) {
        const int value = 10 + (i * 7919) % 13;
        if (i % 1000 == 321 || i % 1000 == 654) {
            ++spikes;
            EXPECT_TRUE(drawn.contains(QPointF(i, value + (i % 1000 == 321 ? 500 : -500)))) << i;
        }
    }
    EXPECT_GT(spikes, 4);
    delete chart;
}
