#include "logbook/GaugeHistoryWindow.h"

#include "ui/Dialogs.h"
#include "ui/FolderSettings.h"
#include "ui/UrlOpener.h"
#include "ui/WideLanguageHandler.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace {

constexpr int WindowTitleText = 1001;
constexpr int AllKindsText = 1002;
constexpr int ExportText = 1021;
constexpr int DeviationText = 1022;
constexpr int PermittedText = 1023;
constexpr int TeamReadingText = 1024;
constexpr int TeamShownText = 1025;
constexpr int NoFileText = 1027;
constexpr int NotOpenedText = 1029;
constexpr int FileNotWrittenText = 703;

const QString CsvFilter = QStringLiteral("CSV (*.csv)");

// A chart's time axis needs some width, also for a single test.
constexpr qint64 MinimumSpanMs = 24LL * 3600 * 1000;

} // namespace

GaugeHistoryWindow::GaugeHistoryWindow(HistorySources sources, const QString& serialNumber,
                                       QWidget* parent)
    : QDialog(parent), history_(std::make_unique<GaugeHistory>(std::move(sources), serialNumber)) {
    setObjectName(QStringLiteral("GaugeHistoryWindow"));
    setSizeGripEnabled(true);
    resize(900, 640);

    KindFilter = new QComboBox(this);
    KindFilter->setObjectName(QStringLiteral("KindFilter"));
    ExportButton = new QPushButton(this);
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    TeamLabel = new QLabel(this);
    TeamLabel->setObjectName(QStringLiteral("TeamLabel"));
    TeamLabel->setWordWrap(true);

    table_ = new GaugeHistoryTable(*history_, this);
    EntryList = new QTableView(this);
    EntryList->setObjectName(QStringLiteral("EntryList"));
    EntryList->setModel(table_);
    EntryList->setSelectionBehavior(QAbstractItemView::SelectRows);
    EntryList->setSelectionMode(QAbstractItemView::SingleSelection);
    EntryList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    EntryList->setWordWrap(false);
    EntryList->verticalHeader()->hide();
    EntryList->horizontalHeader()->setSectionResizeMode(GaugeHistoryTable::SummaryColumn,
                                                        QHeaderView::Stretch);

    auto* chart = new QChart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    DeviationChart = new QChartView(chart, this);
    DeviationChart->setObjectName(QStringLiteral("DeviationChart"));
    DeviationChart->setRenderHint(QPainter::Antialiasing);
    // Tall enough for the value axis to show its numbers.
    DeviationChart->setMinimumHeight(280);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(EntryList);
    splitter->addWidget(DeviationChart);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* top = new QHBoxLayout();
    top->addWidget(KindFilter);
    top->addStretch(1);
    top->addWidget(ExportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addWidget(TeamLabel);

    connect(KindFilter, &QComboBox::activated, this, &GaugeHistoryWindow::KindFilterChange);
    connect(EntryList, &QTableView::doubleClicked, this, &GaugeHistoryWindow::EntryDoubleClick);
    connect(ExportButton, &QPushButton::clicked, this, &GaugeHistoryWindow::ExportButtonClick);
    history_->SetChanged([this] { HistoryChanged(); });

    Retranslate();
    EntryList->resizeColumnsToContents();
}

GaugeHistoryWindow::~GaugeHistoryWindow() {
    history_->SetChanged({});
}

void GaugeHistoryWindow::Retranslate() {
    setWindowTitle(GetText(WindowTitleText).arg(history_->SerialNumber()));
    const int chosen = std::max(0, KindFilter->currentIndex());
    KindFilter->clear();
    KindFilter->addItem(GetText(AllKindsText));
    for (const QString& name : KindNames()) {
        const LogbookKind kind = *KindFromName(name);
        KindFilter->addItem(LogbookKindText(kind), name);
    }
    KindFilter->setCurrentIndex(chosen);
    ExportButton->setText(GetText(ExportText));
    table_->Retranslate();
    ShowDeviations();
    ShowTeamState();
}

void GaugeHistoryWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void GaugeHistoryWindow::KindFilterChange(int index) {
    const QString name = KindFilter->itemData(index).toString();
    history_->SetKind(name.isEmpty() ? std::nullopt : KindFromName(name));
    EntryList->scrollToTop();
}

void GaugeHistoryWindow::HistoryChanged() {
    table_->Reload();
    ShowDeviations();
    ShowTeamState();
}

void GaugeHistoryWindow::ShowTeamState() {
    switch (history_->TeamState()) {
    case TeamHistoryState::NotSet:
        TeamLabel->hide();
        return;
    case TeamHistoryState::Reading:
        TeamLabel->setText(GetText(TeamReadingText).arg(history_->TeamServer()));
        break;
    case TeamHistoryState::Read:
        TeamLabel->setText(GetText(TeamShownText).arg(history_->TeamServer()));
        break;
    case TeamHistoryState::Failed:
        TeamLabel->setText(history_->TeamProblem());
        break;
    }
    TeamLabel->show();
}

void GaugeHistoryWindow::ShowDeviations() {
    QChart* chart = DeviationChart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);

    const std::vector<DeviationPoint>& points = history_->Deviations();
    auto* deviation = new QLineSeries();
    deviation->setName(GetText(DeviationText));
    deviation->setPointsVisible(true);
    auto* upper = new QLineSeries();
    auto* lower = new QLineSeries();
    double reach = 0.1;
    for (const DeviationPoint& point : points) {
        const auto x = static_cast<qreal>(point.timeUtc.toMSecsSinceEpoch());
        deviation->append(x, point.deviationMm);
        upper->append(x, point.permittedMm);
        lower->append(x, -point.permittedMm);
        reach = std::max({reach, std::abs(point.deviationMm), point.permittedMm});
    }
    auto* band = new QAreaSeries(upper, lower);
    band->setName(GetText(PermittedText));
    band->setColor(QColor(120, 200, 120, 90));
    band->setBorderColor(QColor(60, 150, 60));
    chart->addSeries(band);
    chart->addSeries(deviation);

    auto* time = new QDateTimeAxis();
    time->setFormat(QStringLiteral("yyyy-MM-dd"));
    qint64 first = QDateTime::currentMSecsSinceEpoch() - MinimumSpanMs;
    qint64 last = QDateTime::currentMSecsSinceEpoch();
    if (!points.empty()) {
        first = points.front().timeUtc.toMSecsSinceEpoch();
        last = points.back().timeUtc.toMSecsSinceEpoch();
        const qint64 margin = std::max((last - first) / 20, MinimumSpanMs / 2);
        first -= margin;
        last += margin;
    }
    time->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
    auto* value = new QValueAxis();
    value->setTitleText(GetText(DeviationText));
    value->setRange(-reach * 1.2, reach * 1.2);
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(value, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(time);
        series->attachAxis(value);
    }
}

void GaugeHistoryWindow::EntryDoubleClick(const QModelIndex& index) {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= history_->Entries().size())
        return;
    OpenEntryFile(history_->Entries()[static_cast<std::size_t>(index.row())]);
}

void GaugeHistoryWindow::ExportButtonClick() {
    FileDialogRequest request;
    request.title = GetText(ExportText);
    request.filter = CsvFilter;
    request.filterSuffixes = {QStringLiteral("csv")};
    request.defaultSuffix = QStringLiteral("csv");
    request.folder = ValuePath;
    request.fileName = QStringLiteral("%1_history.csv").arg(history_->SerialNumber());
    const QString path = Dialogs().SaveFile(request);
    if (path.isEmpty())
        return;
    ValuePath = FolderOf(path);
    QString error;
    if (!history_->ExportCsv(path, &error))
        ShowMessageDialog(GetText(FileNotWrittenText).arg(QDir::toNativeSeparators(path)) + u'\n' +
                              error,
                          MsgKind::Error, MsgButtons::Ok);
}

bool OpenEntryFile(const LogbookEntry& entry) {
    if (entry.files.isEmpty())
        return false;
    const auto there = std::find_if(entry.files.begin(), entry.files.end(),
                                    [](const QString& file) { return QFileInfo::exists(file); });
    if (there == entry.files.end()) {
        QStringList shown;
        for (const QString& file : entry.files)
            shown.append(QDir::toNativeSeparators(file));
        ShowMessageDialog(GetText(NoFileText) + u'\n' + shown.join(u'\n'), MsgKind::Warning,
                          MsgButtons::Ok);
        return false;
    }
    if (OpenUrl(QUrl::fromLocalFile(*there)))
        return true;
    ShowMessageDialog(GetText(NotOpenedText).arg(QDir::toNativeSeparators(*there)), MsgKind::Error,
                      MsgButtons::Ok);
    return false;
}

GaugeHistoryWindow* ShowGaugeHistory(const QString& serialNumber, QWidget* parent) {
    auto* window = new GaugeHistoryWindow(ProgramHistorySources(), serialNumber, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
