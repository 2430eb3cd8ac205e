#include "precision/GuidedPrecisionTestFrame.h"

#include "link/Clock.h"
#include "logbook/GaugeHistoryWindow.h"
#include "precision/ReportPreviewForm.h"
#include "precision/ToleranceChart.h"
#include "ui/ImageControl.h"
#include "ui/Palette.h"
#include "ui/PanelButton.h"
#include "ui/Pictures.h"
#include "ui/TTNTStatusPanel.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QVBoxLayout>

using namespace Precision;

namespace {

constexpr int CancelTextId = 226;
constexpr int BackTextId = 225;
constexpr int ReportTextId = 605;
constexpr int HistoryTextId = 1000;
constexpr int HistoryGap = 10;
constexpr int TitleFontPixels = 16;
constexpr int TitleIndent = 12;

} // namespace

TGuidedPrecisionTestFrame::TGuidedPrecisionTestFrame(TSDIHandler& gauge, QWidget* parent)
    : QFrame(parent), sequence_(gauge, *this) {
    setObjectName(QStringLiteral("GuidedPrecisionTestFrame"));
    FillBackground(this, Qt::white);
    ShowReport = [this](ReportContent content) {
        TReportPreviewForm::ShowReport(std::move(content), window());
    };

    PicturePanel = new QFrame(this);
    PicturePanel->setObjectName(QStringLiteral("PicturePanel"));
    PicturePanel->setFixedWidth(PicturePanelWidth);
    FillBackground(PicturePanel, Qt::white);
    Step1Image = new ImageControl(PicturePanel);
    Step1Image->setObjectName(QStringLiteral("Step1Image"));
    Step1Image->SetPadding(10);
    auto* pictureLayout = new QVBoxLayout(PicturePanel);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addWidget(Step1Image);

    ActionPanel = new QFrame(this);
    ActionPanel->setObjectName(QStringLiteral("ActionPanel"));
    FillBackground(ActionPanel, Qt::white);

    TitlePanel = new QLabel(ActionPanel);
    TitlePanel->setObjectName(QStringLiteral("TitlePanel"));
    TitlePanel->setFixedHeight(TitlePanelHeight);
    QFont titleFont = TitlePanel->font();
    titleFont.setPixelSize(TitleFontPixels);
    titleFont.setBold(true);
    TitlePanel->setFont(titleFont);
    TitlePanel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    TitlePanel->setIndent(TitleIndent);
    TitlePanel->setTextFormat(Qt::PlainText);

    DisplayPanel = new QFrame(ActionPanel);
    DisplayPanel->setObjectName(QStringLiteral("DisplayPanel"));
    FillBackground(DisplayPanel, Qt::white);
    DisplayPanel->installEventFilter(this);
    ShowPDFButton = MakeButton(DisplayPanel, "ShowPDFButton");
    ShowPDFButton->setFixedSize(ReportButtonWidth, ButtonHeight);
    ShowPDFButton->hide();
    connect(ShowPDFButton, &TAXO_TTNTPanelButton::clicked, this,
            &TGuidedPrecisionTestFrame::ShowPDFButtonClick);
    HistoryButton = MakeButton(DisplayPanel, "HistoryButton");
    HistoryButton->setFixedSize(ReportButtonWidth, ButtonHeight);
    HistoryButton->hide();
    connect(HistoryButton, &TAXO_TTNTPanelButton::clicked, this,
            &TGuidedPrecisionTestFrame::HistoryButtonClick);

    ResultChart = new TToleranceChart(ActionPanel);
    ResultChart->hide();

    ActionLabel = new QLabel(ActionPanel);
    ActionLabel->setObjectName(QStringLiteral("ActionLabel"));
    ActionLabel->setFont(PointFont(ActionLabel, 10, true));
    ActionLabel->setWordWrap(true);
    ActionLabel->setIndent(TitleIndent);
    ActionLabel->hide();

    ButtonPanel = new QFrame(ActionPanel);
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    ButtonPanel->setFixedHeight(ButtonPanelHeight);
    FillBackground(ButtonPanel, Qt::white);
    ButtonPanel->installEventFilter(this);
    ProgressBar = new QProgressBar(ButtonPanel);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, PrecisionTestSequence::StepCount);
    ProgressBar->setTextVisible(false);
    ProgressLabel = new QLabel(ButtonPanel);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    ProgressLabel->setFont(PointFont(ProgressLabel, 9, true));
    BackButton = MakeButton(ButtonPanel, "BackButton");
    AbortButton = MakeButton(ButtonPanel, "AbortButton");
    ContinueButton = MakeButton(ButtonPanel, "ContinueButton");
    connect(BackButton, &TAXO_TTNTPanelButton::clicked, this,
            &TGuidedPrecisionTestFrame::BackButtonClick);
    connect(AbortButton, &TAXO_TTNTPanelButton::clicked, this,
            &TGuidedPrecisionTestFrame::AbortButtonClick);
    connect(ContinueButton, &TAXO_TTNTPanelButton::clicked, this,
            &TGuidedPrecisionTestFrame::ContinueButtonClick);

    auto* actions = new QVBoxLayout(ActionPanel);
    actions->setContentsMargins(0, 0, 0, 0);
    actions->setSpacing(0);
    actions->addWidget(TitlePanel);
    actions->addWidget(DisplayPanel, 1);
    actions->addWidget(ResultChart);
    actions->addWidget(ActionLabel);
    actions->addWidget(ButtonPanel);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PicturePanel);
    layout->addWidget(ActionPanel, 1);

    Translate();
    EnableButton(BackButton, false);
    EnableButton(AbortButton, false);
    EnableButton(ContinueButton, false);
}

TGuidedPrecisionTestFrame::~TGuidedPrecisionTestFrame() {
    if (busy_)
        QApplication::restoreOverrideCursor();
}

TAXO_TTNTPanelButton* TGuidedPrecisionTestFrame::MakeButton(QWidget* parent, const char* name) {
    auto* button = new TAXO_TTNTPanelButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(PointFont(button, 11, true));
    button->setAlignment(Qt::AlignCenter);
    button->NormalColor = Palette::ButtonBlue;
    button->HoverColor = Palette::Accent;
    button->PressedColor = Palette::Light;
    button->SetBackground(button->NormalColor);
    return button;
}

void TGuidedPrecisionTestFrame::StartPrecisionTest(int model) {
    sequence_.StartPrecisionTest(model);
}

void TGuidedPrecisionTestFrame::TranslatePrecisionTest() {
    Translate();
}

void TGuidedPrecisionTestFrame::Translate() {
    TranslateComponents(this);
    AbortButton->SetCaptionById(QString(), CancelTextId);
    BackButton->SetCaptionById(QString(), BackTextId);
    ContinueButton->SetCaptionById(QString(), sequence_.ContinueCaptionId());
    ShowPDFButton->SetCaptionById(QString(), ReportTextId);
    HistoryButton->SetCaptionById(QString(), HistoryTextId);
}

void TGuidedPrecisionTestFrame::FrameResize() {
    LayoutFrame();
    update();
}

void TGuidedPrecisionTestFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    FrameResize();
}

bool TGuidedPrecisionTestFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && (watched == DisplayPanel || watched == ButtonPanel))
        LayoutFrame();
    return QFrame::eventFilter(watched, event);
}

void TGuidedPrecisionTestFrame::LayoutFrame() {
    setUpdatesEnabled(false);
    const int q = ButtonPanel->contentsRect().width() / 4;
    const int buttonTop = ProgressBarTop + ProgressBarHeight + 5;
    const int buttonHeight = ButtonPanel->contentsRect().height() - ProgressBarHeight - 10;
    int centre = q;
    for (TAXO_TTNTPanelButton* button : {BackButton, AbortButton, ContinueButton}) {
        button->setGeometry(centre - ButtonWidth / 2, buttonTop, ButtonWidth, buttonHeight);
        centre += q;
    }
    const int left = BackButton->x();
    ProgressBar->setGeometry(left, ProgressBarTop, ContinueButton->geometry().right() - left + 1,
                             ProgressBarHeight);
    ProgressLabel->setGeometry(left + 6, ProgressBarTop, ProgressBar->width() - 6,
                               ProgressBarHeight);
    ActionLabel->setFixedWidth(ButtonPanel->width());
    const int width = DisplayPanel->contentsRect().width();
    for (TAXO_TTNTStatusPanel* row : rowPanels_)
        row->setGeometry(0, row->y(), width, row->height());
    PlaceReportButton();
    setUpdatesEnabled(true);
}

void TGuidedPrecisionTestFrame::PlaceReportButton() {
    // The report button centred, the history button to its right.
    const int left = DisplayPanel->contentsRect().width() / 2 - ShowPDFButton->width() / 2;
    ShowPDFButton->move(left, rowsHeight_ + ReportButtonGap);
    HistoryButton->move(left + ShowPDFButton->width() + HistoryGap, rowsHeight_ + ReportButtonGap);
}

void TGuidedPrecisionTestFrame::HistoryButtonClick() {
    ShowGaugeHistory(sequence_.Record().gauge.serialNumber, window());
}

void TGuidedPrecisionTestFrame::DrawNow(QWidget* widget) {
    if (widget->isVisible())
        widget->repaint();
}

// What the sequence reports.

void TGuidedPrecisionTestFrame::TitleChanged(const QString& title) {
    TitlePanel->setText(title);
    DrawNow(TitlePanel);
}

void TGuidedPrecisionTestFrame::RowsCleared() {
    for (TAXO_TTNTStatusPanel* row : rowPanels_)
        delete row;
    rowPanels_.clear();
    rowsHeight_ = 0;
    DrawNow(DisplayPanel);
}

void TGuidedPrecisionTestFrame::ApplyRow(TAXO_TTNTStatusPanel* panel, const PageRow& row) {
    // Whether the row wraps was decided when it was added.
    const bool wraps = panel->height() == WrappedRowHeight;
    panel->SetCaptionText(row.caption, -1);
    panel->SetCaptionWordWrap(wraps);
    if (wraps) {
        // Both lines start at the same place: an indent instead of the
        // caption's leading blank.
        QLabel* caption = panel->CaptionLabel();
        caption->setIndent(QFontMetrics(caption->font()).horizontalAdvance(u' '));
        caption->setText(row.caption);
    }
    if (row.hasValue)
        panel->SetValueText(row.value);
    if (row.mark == RowMark::Success)
        panel->SetStatusImage(Pictures::successImage());
    else if (row.mark == RowMark::Failed)
        panel->SetStatusImage(Pictures::failedImage());
}

void TGuidedPrecisionTestFrame::RowAdded(int index, const PageRow& row) {
    Q_UNUSED(index);
    auto* panel = new TAXO_TTNTStatusPanel(DisplayPanel);
    panel->hide();
    const int height = row.caption.size() > LongestOneLineRow ? WrappedRowHeight : RowHeight;
    panel->setGeometry(0, rowsHeight_, DisplayPanel->contentsRect().width(), height);
    rowsHeight_ += height;
    const QColor background = DisplayPanel->palette().color(QPalette::Window);
    panel->setFrameStyle(QFrame::NoFrame);
    panel->LeaveColor = background;
    panel->EnterColor = background;
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, background);
    panel->setPalette(colours);
    panel->setAttribute(Qt::WA_OpaquePaintEvent, false);
    panel->SetTextSize(RowTextSize);
    panel->SetPartsVisible(true, false, row.kind == RowKind::Icon);
    ApplyRow(panel, row);
    panel->show();
    rowPanels_.push_back(panel);
    panel->repaint();
}

void TGuidedPrecisionTestFrame::RowChanged(int index, const PageRow& row) {
    if (index < 0 || index >= static_cast<int>(rowPanels_.size()))
        return;
    TAXO_TTNTStatusPanel* panel = rowPanels_[static_cast<std::size_t>(index)];
    ApplyRow(panel, row);
    DrawNow(panel);
}

void TGuidedPrecisionTestFrame::StepShown(int step, const QString& progressText) {
    ProgressBar->setValue(step);
    ProgressLabel->setText(progressText);
    DrawNow(ButtonPanel);
}

void TGuidedPrecisionTestFrame::EnableButton(TAXO_TTNTPanelButton* button, bool on) {
    button->setEnabled(on);
    button->SetBackground(on ? button->NormalColor : button->PressedColor);
}

void TGuidedPrecisionTestFrame::ButtonsChanged(bool continueOn, bool cancelOn, bool backOn) {
    EnableButton(ContinueButton, continueOn);
    EnableButton(AbortButton, cancelOn);
    EnableButton(BackButton, backOn);
    DrawNow(ButtonPanel);
}

void TGuidedPrecisionTestFrame::ContinueCaptionChanged(int textId) {
    ContinueButton->SetCaptionById(QString(), textId);
}

void TGuidedPrecisionTestFrame::ActionLabelChanged(bool shown, const QString& text) {
    ActionLabel->setText(text);
    ActionLabel->setVisible(shown);
}

void TGuidedPrecisionTestFrame::ActionPanelShown(bool shown) {
    ActionPanel->setVisible(shown);
    if (shown)
        LayoutFrame();
}

void TGuidedPrecisionTestFrame::PictureChanged(GaugePicture picture) {
    switch (picture) {
    case GaugePicture::GaugeS:
        Step1Image->SetPicture(Pictures::Tessra2SImage());
        break;
    case GaugePicture::Gauge200:
        Step1Image->SetPicture(Pictures::Tessra2_200_Image());
        break;
    case GaugePicture::Gauge400:
        Step1Image->SetPicture(Pictures::Tessra2_400_Image());
        break;
    }
}

void TGuidedPrecisionTestFrame::ResultChartShown(bool shown) {
    ResultChart->setVisible(shown);
}

void TGuidedPrecisionTestFrame::ToleranceChartChanged(const ToleranceChartData& chart) {
    ResultChart->ShowToleranceChart(chart);
    ForceFullRelayout();
}

void TGuidedPrecisionTestFrame::ReportButtonShown(bool shown) {
    ShowPDFButton->SetCaptionById(QString(), ReportTextId);
    HistoryButton->SetCaptionById(QString(), HistoryTextId);
    PlaceReportButton();
    ShowPDFButton->setVisible(shown);
    HistoryButton->setVisible(shown);
}

void TGuidedPrecisionTestFrame::BusyCursor(bool on) {
    if (on == busy_)
        return;
    busy_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TGuidedPrecisionTestFrame::BringToFront() {
    window()->raise();
    window()->activateWindow();
}

void TGuidedPrecisionTestFrame::ProcessMessages() {
    TheClock().ProcessMessages();
}

void TGuidedPrecisionTestFrame::ForceFullRelayout() {
    resize(width() + 1, height());
    resize(width() - 1, height());
    LayoutFrame();
}

ReportContent TGuidedPrecisionTestFrame::CurrentReport() const {
    // The chart as it is laid out on the page, not as it was before it was
    // shown: pending layouts are applied first.
    layout()->activate();
    ActionPanel->layout()->activate();
    QCoreApplication::sendPostedEvents(ResultChart, QEvent::LayoutRequest);
    ReportContent content;
    content.record = sequence_.Record();
    content.date = QDateTime::currentDateTime();
    TToleranceChart* chart = ResultChart;
    content.drawChart = [chart](QPainter& painter, const QRectF& target) {
        chart->RenderInto(painter, target);
    };
    content.chartSize = QSizeF(ResultChart->ShownSize());
    return content;
}

void TGuidedPrecisionTestFrame::BuildReport(const QString& verdict) {
    ReportContent content = CurrentReport();
    content.record.verdict = verdict;
    if (ShowReport)
        ShowReport(std::move(content));
}

void TGuidedPrecisionTestFrame::AreaHidden() {
    hide();
}
