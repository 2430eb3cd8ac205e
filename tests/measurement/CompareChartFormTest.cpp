// The compare chart window: its points, list, refresh and closing.

#include "support/QtPrinters.h"
#include "measurement/CompareChartForm.h"
#include "measurement/CompareValuesModel.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QPointer>
#include <QTreeView>
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
        const double x =
            plot->mapToPosition(QPointF(axis->endValue(label), 0), chart->Series1).x();
        const double half = metrics.horizontalAdvance(label) / 2.0;
        EXPECT_GT(x - half, previousRight) << label.toStdString();
        previousRight = x + half;
    }
    // The labels name the times of the points they stand at.
    EXPECT_EQ(labels.first(), "08:00:00");
    delete chart;
}
