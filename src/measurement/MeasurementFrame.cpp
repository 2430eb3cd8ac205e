#include "measurement/MeasurementFrame.h"

#include "gauge/SDIHandler.h"
#include "link/ByteText.h"
#include "link/Clock.h"
#include "measurement/ErrorReportPanel.h"
#include "measurement/MeasurementCsv.h"
#include "measurement/MeasurementExport.h"
#include "ui/Dialogs.h"
#include "ui/FolderSettings.h"
#include "ui/Palette.h"
#include "ui/PanelButton.h"
#include "ui/Pictures.h"
#include "ui/TTNTStatusPanel.h"
#include "ui/TimeTexts.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>

using namespace Measurement;
using namespace MeasurementLayout;

namespace {

constexpr int MTitleTextId = 553;
constexpr int M1TitleTextId = 554;
constexpr int StartTextId = 36;
constexpr int ExportTextId = 41;
constexpr int PermanentTextId = 595;
constexpr int CancelTextId = 226;
constexpr int NotAllValuesTextId = 132;
constexpr int AnalysisHeaderTextId = 555;
constexpr int FileNotWrittenTextId = 703;
constexpr int JournalFailedTextId = 941;
constexpr int CsvTimeTitleTextId = 912;

// The export's file types, in the order the save dialog offers them.
const QString TextFilesFilter = QStringLiteral("Text files (*.txt *.TXT)");
const QString CsvFilter = QStringLiteral("CSV (*.csv)");
constexpr int CsvFilterIndex = 1;

// Layout of the area.
constexpr int ButtonStripHeight = 70;
constexpr int ButtonWidth = 200;
constexpr int ButtonHeight = 40;
constexpr int TitleTop = 10;
constexpr int TitleHeight = 30;
constexpr int FirstRowTop = 40;
constexpr int SideStrip = 10;
constexpr int DividerHeight = 10;
constexpr int BlockExtra = 60; // a block is this much taller than its rows
constexpr int FixedHeight = 170;
constexpr int CornerDiameter = 20;
constexpr int RowTextPoints = 10;
constexpr int ButtonTextPoints = 10;

// The error analysis grows and shrinks in steps.
constexpr int GrowSteps = 101;
constexpr int GrowWidthStep = 5;
constexpr int GrowHeightStep = 3;
constexpr int ShrinkHeightStep = 2;
constexpr int M1GrowSteps = 81;
constexpr int M1GrowHeightStep = 2;

constexpr int ChartWidth = 600;
constexpr int ChartHeight = 400;

enum Strip { LeftStrip, RightStrip, BottomStrip, TopDivider, BottomDivider };

QFrame* Colored(QWidget* parent, const QColor& colour, const char* name) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    FillBackground(frame, colour);
    return frame;
}

TAXO_TTNTPanelButton* MakeButton(QWidget* parent, const char* name, int textId) {
    auto* button = new TAXO_TTNTPanelButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(PointFont(button, ButtonTextPoints, true));
    QPalette text = button->palette();
    text.setColor(QPalette::Active, QPalette::WindowText, Qt::white);
    text.setColor(QPalette::Inactive, QPalette::WindowText, Qt::white);
    button->setPalette(text);
    button->SetCaptionById(QString(), textId);
    return button;
}

void SetRowBackground(TAXO_TTNTStatusPanel* row, const QColor& colour) {
    QPalette palette = row->palette();
    palette.setColor(QPalette::Window, colour);
    row->setPalette(palette);
    row->LeaveColor = colour;
}

} // namespace

TMeasurementFrame::TMeasurementFrame(TSDIHandler& gauge, int model, QStatusBar* statusBar,
                                     QWidget* parent, std::function<QDateTime()> now)
    : QFrame(parent), gauge_(gauge), statusBar_(statusBar),
      sequence_(gauge, *this, std::move(now)) {
    sequence_.SetJournal(&journal_);
    (void)model; // the rows follow the model of the first show
    setObjectName(QStringLiteral("MeasurementFrame"));
    FillBackground(this, Qt::white);

    MBlock = Colored(this, Qt::white, "MBlock");
    M1Block = Colored(this, Qt::white, "M1Block");
    int blockIndex = 0;
    for (QFrame* block : {MBlock, M1Block}) {
        auto& strips = blockStrips_[static_cast<std::size_t>(blockIndex++)];
        strips[LeftStrip] = Colored(block, Palette::Accent, "LeftStrip");
        strips[RightStrip] = Colored(block, Palette::Accent, "RightStrip");
        strips[BottomStrip] = Colored(block, Palette::Accent, "BottomStrip");
        strips[TopDivider] = Colored(block, Qt::white, "TopDivider");
        strips[BottomDivider] = Colored(block, Qt::white, "BottomDivider");
    }
    MTitleLabel = new QLabel(MBlock);
    M1TitleLabel = new QLabel(M1Block);
    int titleId = MTitleTextId;
    for (QLabel* title : {MTitleLabel, M1TitleLabel}) {
        title->setObjectName(title == MTitleLabel ? QStringLiteral("MTitleLabel")
                                                  : QStringLiteral("M1TitleLabel"));
        FillBackground(title, Palette::Accent);
        title->setAlignment(Qt::AlignCenter);
        title->setFont(PointFont(title, 11, true));
        title->setText(GetText(titleId));
        SetTag(title, titleId);
        titleId = M1TitleTextId;
    }
    M1TitleLabel->installEventFilter(this);

    ButtonStrip = Colored(this, Qt::white, "ButtonStrip");
    MStartButton = MakeButton(ButtonStrip, "MStartButton", StartTextId);
    MPermanentButton = MakeButton(ButtonStrip, "MPermanentButton", PermanentTextId);
    MExportButton = MakeButton(ButtonStrip, "MExportButton", ExportTextId);
    connect(MStartButton, &TAXO_TTNTPanelButton::clicked, this,
            &TMeasurementFrame::MStartButtonClick);
    connect(MPermanentButton, &TAXO_TTNTPanelButton::clicked, this,
            &TMeasurementFrame::MPermanentButtonClick);
    connect(MExportButton, &TAXO_TTNTPanelButton::clicked, this,
            &TMeasurementFrame::MExportButtonClick);

    ErrorPanel = new ErrorReportPanel(this);
    connect(ErrorPanel, &ErrorReportPanel::CloseRequested, this,
            &TMeasurementFrame::CloseLabelClick);

    ContinousTimer.setInterval(TimerIntervalMs);
    TessraStatusBlinkTimer.setInterval(TimerIntervalMs);
    connect(&ContinousTimer, &QTimer::timeout, this, &TMeasurementFrame::ContinousTimerTimer);
    connect(&TessraStatusBlinkTimer, &QTimer::timeout, this,
            &TMeasurementFrame::TessraStatusBlinkTimerTimer);

    TranslateMeasurementArea();
    LayoutArea();
}

TMeasurementFrame::~TMeasurementFrame() {
    ContinousTimer.stop();
    TessraStatusBlinkTimer.stop();
    // The charts go now, while the list they would leave still exists.
    const QList<QPointer<TCompareChartForm>> charts = openCharts_;
    openCharts_.clear();
    for (const QPointer<TCompareChartForm>& chart : charts) {
        if (chart.isNull())
            continue;
        disconnect(chart, nullptr, this, nullptr);
        delete chart.data();
    }
}

TAXO_TTNTStatusPanel* TMeasurementFrame::RowPanel(int position) const {
    if (position < 0 || position >= PositionCount)
        return nullptr;
    return rows_[static_cast<std::size_t>(position)];
}

QList<TAXO_TTNTStatusPanel*> TMeasurementFrame::BlinkRows() const {
    QList<TAXO_TTNTStatusPanel*> rows;
    for (int position = 0; position < PositionCount; ++position)
        if (rows_[static_cast<std::size_t>(position)] != nullptr && sequence_.Row(position).warning)
            rows << rows_[static_cast<std::size_t>(position)];
    return rows;
}

const TMeasurementValueArray& TMeasurementFrame::GetMeasurementHistory() {
    return sequence_.History();
}

QStringList TMeasurementFrame::DecodeStatusWord(int word) {
    return MeasurementLayout::DecodeStatusWord(word);
}

// ---- the operations the main window calls ----

void TMeasurementFrame::ShowMeasurementArea(int model) {
    if (sequence_.Prepare(model, gauge_.KnownGaugeSerial()) || rows_[0] == nullptr) {
        DestroyRows();
        BuildRows();
    }
    LayoutArea();
}

void TMeasurementFrame::ResetMeasurementArea() {
    sequence_.Reset();
}

void TMeasurementFrame::ResumeMeasurementArea(int model) {
    ShowMeasurementArea(model);
    if (!sequence_.Resume())
        return;
    MStartButton->setEnabled(true);
    MExportButton->setEnabled(true);
    // The first resumed measurement starts now, not a second later.
    ContinousTimerTimer();
}

void TMeasurementFrame::GaugeConnected(const std::string& gaugeSerial) {
    sequence_.GaugeConnected(gaugeSerial);
}

void TMeasurementFrame::TranslateMeasurementArea() {
    TranslateComponents(this);
    TranslateComponents(MBlock);
    TranslateComponents(M1Block);
    for (TAXO_TTNTStatusPanel* row : rows_)
        if (row != nullptr)
            row->RetranslateCaption();
    MStartButton->SetCaptionById(QString(), StartTextId);
    MExportButton->SetCaptionById(QString(), ExportTextId);
    // While continuous mode runs, its button keeps offering to cancel it.
    MPermanentButton->SetCaptionById(QString(),
                                     sequence_.ContinuousActive() ? CancelTextId : PermanentTextId);
    for (const QPointer<TCompareChartForm>& chart : openCharts_)
        if (!chart.isNull())
            chart->TranslateCompareChart();
    LayoutArea();
}

void TMeasurementFrame::ContinousMeasurementStop() {
    sequence_.StopContinuous();
}

// ---- rows ----

void TMeasurementFrame::DestroyRows() {
    for (TAXO_TTNTStatusPanel*& row : rows_) {
        delete row;
        row = nullptr;
    }
}

void TMeasurementFrame::BuildRows() {
    for (int position = 0; position < PositionCount; ++position) {
        QFrame* block = position < MRowCount ? MBlock : M1Block;
        auto* row = new TAXO_TTNTStatusPanel(block);
        row->setObjectName(QStringLiteral("ValueRow%1").arg(position));
        row->SetTextSize(RowTextPoints);
        row->EnterColor = Palette::Accent;
        const ValueRow& data = sequence_.Row(position);
        row->SetCaptionText(GetText(data.titleTextId), data.titleTextId);
        row->SetValueText(data.valueText);
        row->StatusIcon()->hide();
        row->ForwardClicks();
        connect(row, &TAXO_TTNTStatusPanel::clicked, this,
                [this, position] { RowClick(position); });
        row->setVisible(!data.hidden);
        rows_[static_cast<std::size_t>(position)] = row;
    }
}

void TMeasurementFrame::ShowRow(int position) {
    TAXO_TTNTStatusPanel* row = RowPanel(position);
    if (row == nullptr)
        return;
    const ValueRow& data = sequence_.Row(position);
    row->SetValueText(data.valueText);
    row->SetRawValue(Latin1Text(data.rawValue));
    row->SetUnitText(data.unitText);
    if (row->isHidden() != data.hidden) {
        row->setVisible(!data.hidden);
        LayoutArea();
    }
    if (position == StatusPosition) {
        if (data.warning) {
            row->SetStatusImage(Pictures::WarningImage());
        } else {
            row->StatusIcon()->hide();
            // The row's own background, not a colour left from blinking or hovering.
            SetRowBackground(row, row->LeaveColor);
        }
    }
    row->repaint();
}

void TMeasurementFrame::RowChanged(int position) {
    ShowRow(position);
}

void TMeasurementFrame::Refresh() {
    repaint();
}

// ---- clicks ----

void TMeasurementFrame::MStartButtonClick() {
    sequence_.SingleMeasurement();
}

void TMeasurementFrame::MPermanentButtonClick() {
    sequence_.ToggleContinuous();
    MStartButton->setEnabled(true);
    MExportButton->setEnabled(true);
}

void TMeasurementFrame::ContinousTimerTimer() {
    sequence_.ContinuousTick(isVisible());
    MStartButton->setEnabled(true);
    MExportButton->setEnabled(true);
}

void TMeasurementFrame::TessraStatusBlinkTimerTimer() {
    for (TAXO_TTNTStatusPanel* row : BlinkRows())
        row->StatusIcon()->setVisible(row->StatusIcon()->isHidden());
}

void TMeasurementFrame::RowClick(int position) {
    if (RowPanel(position) == nullptr)
        return;
    switch (sequence_.Row(position).action) {
    case RowAction::Chart:
        OpenCompareChart(position);
        break;
    case RowAction::Analysis:
        OpenErrorAnalysis(position);
        break;
    case RowAction::None:
        break;
    }
}

void TMeasurementFrame::OpenCompareChart(int position) {
    if (sequence_.History().Empty())
        return;
    auto* chart = new TCompareChartForm(this);
    chart->SetupCompareChart(this, sequence_.History(), position,
                             RowPanel(position)->GetCaptionText());
    chart->resize(ChartWidth, ChartHeight);
    QRect placed(QPoint(0, 0), chart->frameGeometry().size());
    placed.moveCenter(window()->frameGeometry().center());
    chart->move(placed.topLeft());
    openCharts_ << QPointer<TCompareChartForm>(chart);
    // A chart the user closes is destroyed; the list forgets it at once.
    connect(chart, &TCompareChartForm::Destroying, this, [this](TCompareChartForm* gone) {
        openCharts_.removeIf([gone](const QPointer<TCompareChartForm>& open) {
            return open.isNull() || open.data() == gone;
        });
    });
    chart->show();
}

void TMeasurementFrame::CloseCharts() {
    const QList<QPointer<TCompareChartForm>> charts = openCharts_;
    openCharts_.clear();
    for (const QPointer<TCompareChartForm>& chart : charts) {
        if (chart.isNull())
            continue;
        chart->close();
        // Closed windows are destroyed; one that refused to close goes as well.
        if (!chart.isNull())
            chart->deleteLater();
    }
}

void TMeasurementFrame::OpenErrorAnalysis(int position) {
    const int word = sequence_.StatusWord();
    if (word == 0)
        return;
    TAXO_TTNTStatusPanel* row = RowPanel(position);
    ErrorPanel->SetHeader(GetText(AnalysisHeaderTextId));
    ErrorPanel->SetReport(AnalysisReport(word));
    QPoint topLeft(MBlock->x() + MBlock->width() / 2, MBlock->y() + row->y());
    // Keep the grown panel inside the area.
    const int fullWidth = GrowSteps * GrowWidthStep;
    const int fullHeight = GrowSteps * GrowHeightStep;
    topLeft.setX(std::max(0, std::min(topLeft.x(), width() - fullWidth)));
    topLeft.setY(std::max(0, std::min(topLeft.y(), height() - fullHeight)));
    ErrorPanel->Grow(topLeft, GrowSteps, GrowWidthStep, GrowHeightStep);
}

void TMeasurementFrame::M1_TtitleLabelClick() {
    ErrorPanel->SetReport(DecodedLinesReport(sequence_.StatusWord()));
    const QPoint centre(MBlock->x() + MBlock->width() / 2, MBlock->y() + MBlock->height() / 2);
    ErrorPanel->Grow(centre, M1GrowSteps, GrowWidthStep, M1GrowHeightStep);
}

void TMeasurementFrame::CloseLabelClick() {
    ErrorPanel->Shrink(GrowSteps, GrowWidthStep, ShrinkHeightStep);
}

bool TMeasurementFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == M1TitleLabel && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        M1_TtitleLabelClick();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

// ---- what the sequence reports ----

void TMeasurementFrame::GroupFailed() {
    raise();
    activateWindow();
    ShowMessageDialog(GetText(NotAllValuesTextId), MsgKind::Error, MsgButtons::Ok);
}

void TMeasurementFrame::BlinkingChanged(bool on) {
    if (on)
        TessraStatusBlinkTimer.start();
    else
        TessraStatusBlinkTimer.stop();
}

void TMeasurementFrame::ContinuousModeChanged(bool on) {
    SetStatusText(on ? ContinuousStatusText : QString());
    MPermanentButton->SetCaptionById(QString(), on ? CancelTextId : PermanentTextId);
}

void TMeasurementFrame::ContinuousTimerChanged(bool armed) {
    if (armed)
        ContinousTimer.start();
    else
        ContinousTimer.stop();
}

void TMeasurementFrame::SetStatusText(const QString& text) {
    if (statusBar_ == nullptr)
        return;
    if (text.isEmpty())
        statusBar_->clearMessage();
    else
        statusBar_->showMessage(text);
}

// ---- export ----

void TMeasurementFrame::MExportButtonClick() {
    FileDialogRequest request;
    request.title = GetText(ExportTextId);
    // The text file first, so that it stays the one selected.
    request.filter = TextFilesFilter + QStringLiteral(";;") + CsvFilter;
    // A name typed without an extension stays as it is for the text file;
    // a CSV file gets ".csv", so that spreadsheets recognise it.
    request.filterSuffixes = {QString(), QStringLiteral("csv")};
    request.folder = ValuePath;
    const SaveFileChoice choice = Dialogs().SaveFileWithFilter(request);
    if (choice.path.isEmpty())
        return;
    ValuePath = FolderOf(choice.path);
    QString error;
    const bool written = choice.filterIndex == CsvFilterIndex
                             ? ExportCsv(choice.path, &error)
                             : ExportMeasurements(choice.path, &error);
    if (!written)
        ShowMessageDialog(GetText(FileNotWrittenTextId).arg(choice.path) + u'\n' + error,
                          MsgKind::Error, MsgButtons::Ok);
}

MeasurementExport::RowTexts TMeasurementFrame::ExportRows() const {
    MeasurementExport::RowTexts texts = sequence_.RowTexts();
    for (int position = 0; position < PositionCount; ++position) {
        if (const TAXO_TTNTStatusPanel* row = RowPanel(position)) {
            auto& text = texts[static_cast<std::size_t>(position)];
            text.title = row->GetCaptionText();
            text.unit = row->GetUnitText();
        }
    }
    return texts;
}

void TMeasurementFrame::JournalFailed(const QString& reason) {
    // The run goes on; a dialog waiting for OK would hold it up.
    ShowNotice(reason + u'\n' + GetText(JournalFailedTextId), MsgKind::Warning);
}

bool TMeasurementFrame::ExportMeasurements(const QString& fileName, QString* error) {
    return MeasurementExport::ExportMeasurements(fileName, sequence_.History(), ExportRows(),
                                                 LocaleTimeSeparator(), error);
}

bool TMeasurementFrame::ExportCsv(const QString& fileName, QString* error) {
    return MeasurementCsv::ExportCsv(fileName, sequence_.History(), ExportRows(),
                                     GetText(CsvTimeTitleTextId), error);
}

// ---- layout ----

void TMeasurementFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    LayoutArea();
}

int TMeasurementFrame::LayoutBlock(QFrame* block, QLabel* title, int top, int firstRow,
                                   int rowCount, int rowHeight, bool firstRowLight, bool dividers) {
    const int w = width();
    int y = FirstRowTop;
    bool light = firstRowLight;
    for (int position = firstRow; position < firstRow + rowCount; ++position) {
        TAXO_TTNTStatusPanel* row = RowPanel(position);
        if (row == nullptr || row->isHidden())
            continue;
        row->setGeometry(SideStrip, y, std::max(0, w - 2 * SideStrip), rowHeight);
        SetRowBackground(row, light ? Palette::Light : QColor(Qt::white));
        light = !light;
        y += rowHeight;
    }
    const int height = y - FirstRowTop + BlockExtra;
    block->setGeometry(0, top, w, height);
    title->setGeometry(0, TitleTop, w, TitleHeight);
    RoundPanelCorners(title, CornerDiameter);
    auto& strips = blockStrips_[block == MBlock ? 0 : 1];
    const int stripTop = TitleTop + TitleHeight / 2;
    strips[LeftStrip]->setGeometry(3, stripTop, SideStrip - 3, y - stripTop);
    strips[RightStrip]->setGeometry(w - SideStrip, stripTop, SideStrip - 3, y - stripTop);
    strips[BottomStrip]->setGeometry(3, y, std::max(0, w - 6), SideStrip);
    strips[TopDivider]->setGeometry(0, 0, w, dividers ? DividerHeight : 0);
    strips[BottomDivider]->setGeometry(0, height - DividerHeight, w, dividers ? DividerHeight : 0);
    title->raise();
    return top + height;
}

void TMeasurementFrame::LayoutArea() {
    if (layingOut_)
        return;
    layingOut_ = true;
    const int w = width();
    const int h = height();
    const int rowHeight = std::max(0, (h - FixedHeight - 2 * DividerHeight) / PositionCount);
    const int mBottom = LayoutBlock(MBlock, MTitleLabel, 0, 0, MRowCount, rowHeight, false, true);
    LayoutBlock(M1Block, M1TitleLabel, mBottom, MRowCount, M1RowCount, rowHeight, true, false);

    ButtonStrip->setGeometry(0, std::max(0, h - ButtonStripHeight), w, ButtonStripHeight);
    const int buttonTop = (ButtonStripHeight - ButtonHeight) / 2;
    MStartButton->setGeometry(w / 6 - ButtonWidth / 2, buttonTop, ButtonWidth, ButtonHeight);
    MPermanentButton->setGeometry(w / 2 - ButtonWidth / 2, buttonTop, ButtonWidth, ButtonHeight);
    MExportButton->setGeometry(5 * w / 6 - ButtonWidth / 2, buttonTop, ButtonWidth, ButtonHeight);
    ErrorPanel->raise();
    layingOut_ = false;
}
