#include "firmware/FirmwareupdateFrame.h"

#include "firmware/FirmwareUpdateSequence.h"
#include "firmware/UpdateInputGuard.h"
#include "link/Clock.h"
#include "ui/FrameStyle.h"
#include "ui/ImageControl.h"
#include "ui/Palette.h"
#include "ui/PanelButton.h"
#include "ui/Pictures.h"
#include "ui/TTNTStatusPanel.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

using namespace Firmware;

namespace {

constexpr int StartTextId = 161;
constexpr int CancelTextId = 302;
constexpr int BlinkMs = 1000;
constexpr int VersionPixels = 16;
constexpr int ResultPixels = 21;
constexpr int RowTextPoints = 10;
constexpr int ButtonPoints = 10;

const QColor AreaColour(246, 246, 246);

TAXO_TTNTPanelButton* MakeButton(QWidget* parent, const char* name) {
    auto* button = new TAXO_TTNTPanelButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    QFont font = button->font();
    font.setPointSize(ButtonPoints);
    font.setBold(true);
    button->setFont(font);
    QPalette text = button->palette();
    text.setColor(QPalette::Active, QPalette::WindowText, Qt::white);
    text.setColor(QPalette::Inactive, QPalette::WindowText, Qt::white);
    button->setPalette(text);
    return button;
}

// The result text as a label shows it: one line per CR LF.
QString Lines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines;
}

} // namespace

TFirmwareupdateFrame::TFirmwareupdateFrame(TSDIHandler& gauge, QStatusBar* statusBar,
                                           QWidget* parent)
    : QFrame(parent), gauge_(gauge), statusBar_(statusBar),
      sequence_(std::make_unique<FirmwareUpdateSequence>(gauge, *this)) {
    setObjectName(QStringLiteral("FirmwareupdateFrame"));
    FillBackground(this, Qt::white);
    BuildWidgets();
    inputGuard_ =
        std::make_unique<UpdateInputGuard>(this, FwCancelButton, [this] { FwCancelButtonClick(); });

    Blinktimer.setInterval(BlinkMs);
    connect(&Blinktimer, &QTimer::timeout, this, &TFirmwareupdateFrame::BlinktimerTimer);
    ProgressTimer.setSingleShot(true);
    ProgressTimer.setInterval(static_cast<int>(ProgressIntervalMs));
    connect(&ProgressTimer, &QTimer::timeout, this, [this] { ShowProgress(); });
    connect(FwStartButton, &TAXO_TTNTPanelButton::clicked, this,
            &TFirmwareupdateFrame::StartFirmwareUpdate);
    connect(FwCancelButton, &TAXO_TTNTPanelButton::clicked, this,
            &TFirmwareupdateFrame::FwCancelButtonClick);

    TranslateFirmwareArea();
    AreaShown();
    sequence_->ResetView();
    LayoutArea();
}

TFirmwareupdateFrame::~TFirmwareupdateFrame() {
    Blinktimer.stop();
    ProgressTimer.stop();
    inputGuard_.reset();
}

void TFirmwareupdateFrame::BuildWidgets() {
    PicturePanel = MakePanel(this, "PicturePanel", AreaColour);
    TessraImage = new ImageControl(PicturePanel);
    TessraImage->setObjectName(QStringLiteral("TessraImage"));
    TessraImage->SetPadding(12);
    PictureStrip = MakePanel(PicturePanel, "PictureStrip", Palette::Accent);

    VersionPanel = MakePanel(this, "VersionPanel", AreaColour);
    FWVersionLabel = new QLabel(VersionPanel);
    FWVersionLabel->setObjectName(QStringLiteral("FWVersionLabel"));
    FWVersionLabel->setFont(FrameStyle::PixelFont(VersionPixels));
    FWVersionLabel->setAlignment(Qt::AlignCenter);
    FWVersionLabel->setTextFormat(Qt::PlainText);

    StepPanel = MakePanel(this, "StepPanel", AreaColour);
    for (int row = 0; row < StepRowCount; ++row) {
        auto* panel = new TAXO_TTNTStatusPanel(StepPanel);
        panel->setObjectName(QStringLiteral("StepRow%1").arg(row));
        panel->LeaveColor = AreaColour;
        panel->EnterColor = AreaColour;
        QPalette background = panel->palette();
        background.setColor(QPalette::Window, AreaColour);
        panel->setPalette(background);
        panel->SetTextSize(RowTextPoints);
        panel->setFrameStyle(QFrame::NoFrame);
        StepRows[static_cast<std::size_t>(row)] = panel;
    }
    UpdateProgressBar = new QProgressBar(StepPanel);
    UpdateProgressBar->setObjectName(QStringLiteral("UpdateProgressBar"));
    UpdateProgressBar->setRange(0, 0);
    UpdateProgressBar->setMinimum(0);
    UpdateProgressBar->setMaximum(1);
    UpdateProgressBar->setValue(0);
    UpdateLabel = new QLabel(QStringLiteral("0 / 0"), StepPanel);
    UpdateLabel->setObjectName(QStringLiteral("UpdateLabel"));
    UpdateLabel->setAlignment(Qt::AlignCenter);
    UpdateLabel->setTextFormat(Qt::PlainText);
    UpdateLabel->setWordWrap(true);

    ResultPanel = MakePanel(StepPanel, "ResultPanel", AreaColour);
    ResultLabel = new QLabel(ResultPanel);
    ResultLabel->setObjectName(QStringLiteral("ResultLabel"));
    ResultLabel->setFont(FrameStyle::PixelFont(ResultPixels));
    ResultLabel->setAlignment(Qt::AlignCenter);
    ResultLabel->setTextFormat(Qt::PlainText);
    ResultLabel->setWordWrap(true);
    ResultLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ResultImage = new ImageControl(ResultPanel);
    ResultImage->setObjectName(QStringLiteral("ResultImage"));
    ResultImage->SetWhiteTransparent(true);
    // The backup and the causes, below the mark in the rows' text size.
    ResultNotesLabel = new QLabel(ResultPanel);
    ResultNotesLabel->setObjectName(QStringLiteral("ResultNotesLabel"));
    QFont notes = ResultNotesLabel->font();
    notes.setPointSize(RowTextPoints);
    ResultNotesLabel->setFont(notes);
    ResultNotesLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ResultNotesLabel->setTextFormat(Qt::PlainText);
    ResultNotesLabel->setWordWrap(true);
    ResultNotesLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ResultPanel->hide();

    ButtonPanel = MakePanel(this, "ButtonPanel", Qt::white);
    FwStartButton = MakeButton(ButtonPanel, "FwStartButton");
    // In French and Spanish the caption takes two lines.
    FwStartButton->setWordWrap(true);
    FwCancelButton = MakeButton(ButtonPanel, "FwCancelButton");
    // The hourglass of a running update spares the one button that works.
    FwCancelButton->setCursor(Qt::PointingHandCursor);
}

const UpdateState& TFirmwareupdateFrame::State() const {
    return sequence_->State();
}

int TFirmwareupdateFrame::ShownModel() const {
    return sequence_->Model();
}

void TFirmwareupdateFrame::ShowFirmwareArea(int model) {
    if (State().running)
        return;
    sequence_->ShowArea(model);
    TranslateFirmwareArea();
    sequence_->ResetView();
}

void TFirmwareupdateFrame::TranslateFirmwareArea() {
    TranslateComponents(this);
    sequence_->TranslateTexts();
    FwStartButton->SetCaptionById(QString(), StartTextId);
    FwCancelButton->SetCaptionById(QString(), CancelTextId);
    FWVersionLabel->setText(VersionCaption(State()));
    for (int row = 0; row < StepRowCount; ++row)
        SyncRow(row);
}

void TFirmwareupdateFrame::StartFirmwareUpdate() {
    sequence_->StartFirmwareUpdate();
}

void TFirmwareupdateFrame::FwCancelButtonClick() {
    if (!State().cancelEnabled)
        return;
    sequence_->Cancel();
}

void TFirmwareupdateFrame::BlinktimerTimer() {
    const int row = State().currentRow;
    if (row == NoRow)
        return;
    TAXO_TTNTStatusPanel* panel = StepRows[static_cast<std::size_t>(row)];
    panel->setVisible(panel->isHidden());
    panel->repaint();
}

void TFirmwareupdateFrame::SyncRow(int row) {
    const RowState& state = State().rows[static_cast<std::size_t>(row)];
    TAXO_TTNTStatusPanel* panel = StepRows[static_cast<std::size_t>(row)];
    panel->SetCaptionText(state.title, state.titleTextId);
    // A composed title must not be retranslated as the text it had before.
    if (state.titleTextId <= 0)
        SetTag(panel->CaptionLabel(), 0);
    if (!state.text.isEmpty())
        panel->SetValueText(state.text);
    switch (state.mark) {
    case Mark::None:
        panel->SetPartsVisible(true, !state.text.isEmpty(), false);
        break;
    case Mark::Success:
        panel->SetStatusImage(Pictures::successImage());
        break;
    case Mark::Failure:
        panel->SetStatusImage(Pictures::failedImage());
        break;
    }
    Dirty(panel);
}

void TFirmwareupdateFrame::SetButtonEnabled(TAXO_TTNTPanelButton* button, bool enabled) {
    button->setEnabled(enabled);
    button->SetBackground(enabled ? button->NormalColor : Palette::Light);
}

void TFirmwareupdateFrame::Dirty(QWidget* widget) {
    for (QWidget* each : dirty_)
        if (each == widget)
            return;
    dirty_.push_back(widget);
}

// FirmwareUpdateView

void TFirmwareupdateFrame::AreaShown() {
    FWVersionLabel->setText(VersionCaption(State()));
    switch (State().picture) {
    case GaugePicture::Tessra2S:
        TessraImage->SetPicture(Pictures::Tessra2SImage());
        break;
    case GaugePicture::Tessra2_400:
        TessraImage->SetPicture(Pictures::Tessra2_400_Image());
        break;
    case GaugePicture::Tessra2_200:
        TessraImage->SetPicture(Pictures::Tessra2_200_Image());
        break;
    }
    Dirty(FWVersionLabel);
}

void TFirmwareupdateFrame::ViewReset() {
    for (int row = 0; row < StepRowCount; ++row)
        SyncRow(row);
    ResultPanel->hide();
    ShowProgress();
}

void TFirmwareupdateFrame::RowBegun(int previous, int row) {
    if (previous != NoRow)
        StepRows[static_cast<std::size_t>(previous)]->show();
    SyncRow(row);
}

void TFirmwareupdateFrame::RowChanged(int row) {
    SyncRow(row);
}

void TFirmwareupdateFrame::BlinkingChanged() {
    if (State().blinking)
        Blinktimer.start();
    else
        Blinktimer.stop();
}

void TFirmwareupdateFrame::CurrentRowShown() {
    const int row = State().currentRow;
    if (row != NoRow) {
        StepRows[static_cast<std::size_t>(row)]->show();
        Dirty(StepRows[static_cast<std::size_t>(row)]);
    }
}

void TFirmwareupdateFrame::ProgressChanged() {
    // A transfer moves bar and label with every block. Nothing is drawn on
    // the sender's way from one acknowledgement to the next block: the timer
    // draws them, at most every ProgressIntervalMs, while the sender waits
    // for the line and lets the window process its messages.
    if (ProgressTimer.isActive())
        return;
    const double since = TheClock().NowMs() - progressShownAt_;
    ProgressTimer.start(
        static_cast<int>(std::clamp(ProgressIntervalMs - since, 0.0, ProgressIntervalMs)));
}

void TFirmwareupdateFrame::ShowProgress() {
    ProgressTimer.stop();
    progressShownAt_ = TheClock().NowMs();
    const UpdateState& state = State();
    // The bar counts blocks; a maximum beyond its range is scaled into it.
    const std::int64_t maximum = std::max<std::int64_t>(1, state.progressMaximum);
    const int range = static_cast<int>(std::min<std::int64_t>(maximum, 1 << 30));
    const int value =
        static_cast<int>(std::min<std::int64_t>(state.progressPosition, maximum) * range / maximum);
    if (UpdateProgressBar->maximum() != range)
        UpdateProgressBar->setMaximum(range);
    UpdateProgressBar->setValue(value);
    if (UpdateLabel->text() != state.progressLabel)
        UpdateLabel->setText(state.progressLabel);
}

void TFirmwareupdateFrame::ResultShown() {
    const UpdateState& state = State();
    ShowProgress();
    // The result and its detail as the panel's line; the notes below the mark.
    ResultLabel->setText(Lines(state.resultLine).trimmed());
    ResultNotesLabel->setText(state.resultNotes.join(u'\n'));
    ResultImage->SetPicture(state.resultSuccess ? Pictures::successImage()
                                                : Pictures::failedImage());
    LayoutResult();
    ResultPanel->show();
    ResultPanel->raise();
    Dirty(ResultPanel);
}

void TFirmwareupdateFrame::CancelEnabledChanged() {
    SetButtonEnabled(FwCancelButton, State().cancelEnabled);
}

void TFirmwareupdateFrame::BusyChanged() {
    if (State().busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void TFirmwareupdateFrame::RunningChanged() {
    const bool running = State().running;
    ShowProgress();
    SetButtonEnabled(FwStartButton, !running);
    inputGuard_->SetActive(running);
}

void TFirmwareupdateFrame::Repaint() {
    // Only what changed is drawn now, a progress still waiting for its
    // timer included; the rest follows with the next message processing.
    if (ProgressTimer.isActive())
        ShowProgress();
    std::vector<QWidget*> widgets;
    widgets.swap(dirty_);
    for (QWidget* widget : widgets)
        if (widget->isVisible())
            widget->repaint();
}

void TFirmwareupdateFrame::BringToFront() {
    if (parentWidget() == nullptr)
        return;
    raise();
    if (QWidget* top = window(); top->isVisible()) {
        top->raise();
        top->activateWindow();
    }
}

void TFirmwareupdateFrame::StatusText(const QString& text) {
    if (statusBar_ != nullptr)
        statusBar_->showMessage(text);
}
