#include "app/ConnectionFrame.h"

#include "gauge/SDIHandler.h"
#include "link/ByteText.h"
#include "link/Clock.h"
#include "logbook/GaugeHistoryWindow.h"
#include "service/TimeSetFrame.h"
#include "ui/GaugeVocabulary.h"
#include "ui/ImageControl.h"
#include "ui/Palette.h"
#include "ui/PanelButton.h"
#include "ui/Pictures.h"
#include "ui/TTNTStatusPanel.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

constexpr int TitleTextId = 552;
constexpr int ReadFromTextId = 28;
constexpr int SetTimeTextId = 596;
constexpr int HistoryTextId = 1000;

constexpr int RowHeightAtBuild = 30;
constexpr int RowTextSize = 10;
constexpr int RowsTop = 40;
constexpr int RowsLeft = 15;
constexpr int RightPart = 225;
constexpr int ControlHeight = 70;
constexpr int InfoReadButtonWidth = 320;
constexpr int AdjustButtonWidth = 120;
constexpr int HistoryButtonWidth = 180;
constexpr int ButtonGap = 10;
constexpr int BorderWidth = 4;
constexpr int CaptionIndent = 8;

const QColor TitleColour = Palette::Accent;
const QColor ShadeColour = Palette::Light;
const QColor DarkColour = Palette::Dark;

} // namespace

TConnectionFrame::TConnectionFrame(TSDIHandler& gauge, int model, QWidget* parent)
    : QFrame(parent), gauge_(gauge), shownModel_(model) {
    setObjectName(QStringLiteral("ConnectionFrame"));
    FillBackground(this, Qt::white);

    ConnectStatusPanel = new QFrame(this);
    ConnectStatusPanel->setObjectName(QStringLiteral("ConnectStatusPanel"));
    FillBackground(ConnectStatusPanel, Qt::white);

    StaticInfoTitlePanel = new QFrame(ConnectStatusPanel);
    StaticInfoTitlePanel->setObjectName(QStringLiteral("StaticInfoTitlePanel"));
    FillBackground(StaticInfoTitlePanel, TitleColour);
    StaticTitleLabel = new QLabel(StaticInfoTitlePanel);
    StaticTitleLabel->setObjectName(QStringLiteral("StaticTitleLabel"));
    SetTag(StaticTitleLabel, TitleTextId);
    StaticTitleLabel->setFont(PointFont(StaticTitleLabel, 12, true));
    StaticTitleLabel->setAlignment(Qt::AlignCenter);
    QPalette titleText = StaticTitleLabel->palette();
    titleText.setColor(QPalette::WindowText, DarkColour);
    StaticTitleLabel->setPalette(titleText);

    Leftborderpanel = new QFrame(ConnectStatusPanel);
    Leftborderpanel->setObjectName(QStringLiteral("Leftborderpanel"));
    FillBackground(Leftborderpanel, TitleColour);
    RightBorderPanel = new QFrame(ConnectStatusPanel);
    RightBorderPanel->setObjectName(QStringLiteral("RightBorderPanel"));
    FillBackground(RightBorderPanel, TitleColour);
    DividerPanelTop = new QFrame(ConnectStatusPanel);
    DividerPanelTop->setObjectName(QStringLiteral("DividerPanelTop"));
    FillBackground(DividerPanelTop, Qt::white);

    DeviceLabel = new QLabel(ConnectStatusPanel);
    DeviceLabel->setObjectName(QStringLiteral("DeviceLabel"));
    DeviceLabel->setFont(PointFont(DeviceLabel, 12, true));
    DeviceLabel->setAlignment(Qt::AlignCenter);
    Img = new ImageControl(ConnectStatusPanel);
    Img->setObjectName(QStringLiteral("Img"));

    ControlPanel = new QFrame(ConnectStatusPanel);
    ControlPanel->setObjectName(QStringLiteral("ControlPanel"));
    FillBackground(ControlPanel, Qt::white);
    InfoReadButton = new TAXO_TTNTPanelButton(ControlPanel);
    InfoReadButton->setObjectName(QStringLiteral("InfoReadButton"));
    InfoReadButton->setFont(PointFont(InfoReadButton, 11, true));
    connect(InfoReadButton, &TAXO_TTNTPanelButton::clicked, this,
            &TConnectionFrame::InfoReadButtonClick);
    HistoryButton = new TAXO_TTNTPanelButton(ControlPanel);
    HistoryButton->setObjectName(QStringLiteral("HistoryButton"));
    HistoryButton->setFont(PointFont(HistoryButton, 11, true));
    HistoryButton->setEnabled(false);
    connect(HistoryButton, &TAXO_TTNTPanelButton::clicked, this,
            &TConnectionFrame::HistoryButtonClick);

    ReadTimer.setSingleShot(true);
    connect(&ReadTimer, &QTimer::timeout, this, &TConnectionFrame::ReadTimerTimer);
    SetTimeTimer.setInterval(SetTimeCheckMs);
    connect(&SetTimeTimer, &QTimer::timeout, this, &TConnectionFrame::SetTimeTimerTimer);
}

TConnectionFrame::~TConnectionFrame() = default;

void TConnectionFrame::ShowConnectionArea() {
    QCoreApplication::processEvents();
    const int model = gauge_.GetModel();
    if (model != shownModel_)
        infosRead_ = false;
    shownModel_ = model;
    BuildInfoRows();
    TranslateConnectionArea();
    ShowModelPicture(model);
    HistoryButton->setEnabled(true);
    Relayout();
}

void TConnectionFrame::StartDelayedRead() {
    if (infosRead_)
        return;
    ReadTimer.start(DelayedReadMs);
}

void TConnectionFrame::ResetConnectionArea() {
    infosRead_ = false;
    shownModel_ = NoModel;
    ++rowsGeneration_;
    ReadTimer.stop();
    // The gauge is gone: its clock panel closes with it.
    if (TimeSetArea != nullptr && !TimeSetArea->isHidden())
        TimeSetArea->CloseLabelClick();
    SetTimeTimer.stop();
    SetRowsVisible(true);
    HistoryButton->setEnabled(false);
}

void TConnectionFrame::TranslateConnectionArea() {
    TranslateComponents(this);
    TranslateComponents(ConnectStatusPanel);
    TranslateComponents(StaticInfoTitlePanel);
    for (TAXO_TTNTStatusPanel* row : infoRows_)
        row->RetranslateCaption();
    if (AdjustTimeButton != nullptr)
        AdjustTimeButton->SetCaptionById(QString(), SetTimeTextId);
    InfoReadButton->SetCaptionById(GetText(ReadFromTextId) + Vocabulary::ModelName(shownModel_), 0);
    HistoryButton->SetCaptionById(QString(), HistoryTextId);
    if (TimeSetArea != nullptr && !TimeSetArea->isHidden())
        TimeSetArea->RefreshClockTexts();
}

void TConnectionFrame::FreeInfoRows() {
    delete AdjustTimeButton;
    AdjustTimeButton = nullptr;
    for (TAXO_TTNTStatusPanel* row : infoRows_)
        delete row;
    infoRows_.clear();
    rowKinds_.clear();
    ++rowsGeneration_;
}

void TConnectionFrame::AddInfoRow(InfoRow kind) {
    auto* row = new TAXO_TTNTStatusPanel(ConnectStatusPanel);
    row->setObjectName(QStringLiteral("InfoRow%1").arg(infoRows_.size() + 1));
    row->setFrameShape(QFrame::NoFrame);
    const int captionId = InfoRowCaptionId(kind);
    row->SetCaptionText(GetText(captionId), captionId);
    row->SetValueText(NotReadValue);
    row->SetTextSize(RowTextSize);
    // A little air before the caption, whatever language set its text.
    row->CaptionLabel()->setIndent(CaptionIndent);
    const QColor shade = rowShading_ ? ShadeColour : QColor(Qt::white);
    rowShading_ = !rowShading_;
    row->LeaveColor = shade;
    FillBackground(row, shade);
    row->setGeometry(RowsLeft, RowsTop + rowsHeight_, width() - RightPart, RowHeightAtBuild);
    rowsHeight_ += RowHeightAtBuild;
    row->show();
    infoRows_.push_back(row);
    rowKinds_.push_back(kind);
}

void TConnectionFrame::BuildInfoRows() {
    if (infosRead_)
        return;
    FreeInfoRows();
    rowsHeight_ = 0;
    rowShading_ = false;
    for (InfoRow kind : InfoRowsForModel(shownModel_))
        AddInfoRow(kind);
    if (!rowKinds_.empty() && rowKinds_.back() == InfoRow::DeviceTime) {
        AdjustTimeButton = new TAXO_TTNTPanelButton(infoRows_.back());
        AdjustTimeButton->setObjectName(QStringLiteral("AdjustTimeButton"));
        AdjustTimeButton->setFont(PointFont(AdjustTimeButton, 10, true));
        AdjustTimeButton->SetCaptionById(QString(), SetTimeTextId);
        connect(AdjustTimeButton, &TAXO_TTNTPanelButton::clicked, this,
                &TConnectionFrame::AdjustTimeButtonClick);
        AdjustTimeButton->show();
    }
}

void TConnectionFrame::ShowModelPicture(int model) {
    QPixmap picture = Pictures::Tessra2_200_Image();
    shownPicture_ = QStringLiteral("200");
    if (model == 0 || model == 1) {
        if (gauge_.GetGaugeType() != 0) {
            picture = Pictures::Tessra2_400_Image();
            shownPicture_ = QStringLiteral("400");
        }
    } else if (model == 2) {
        picture = Pictures::Tessra2SImage();
        shownPicture_ = QStringLiteral("S");
    }
    Img->SetPicture(picture);
    DeviceLabel->setText(Vocabulary::ModelName(model));
    DeviceLabel->setVisible(true);
}

void TConnectionFrame::ReadTimerTimer() {
    ReadTimer.stop();
    // A reading already running (this timer fired while it let the window
    // process its messages) finishes first; this one follows.
    if (reading_) {
        ReadTimer.start(DelayedReadMs);
        return;
    }
    ReadInfos();
}

void TConnectionFrame::InfoReadButtonClick() {
    if (reading_)
        return;
    setEnabled(false);
    infosRead_ = false;
    ReadInfos();
    setEnabled(true);
}

void TConnectionFrame::ReadInfos() {
    reading_ = true;
    readingGeneration_ = rowsGeneration_;
    ConnectionInfoReader reader(gauge_, *this);
    const bool complete = reader.ReadInfos(rowKinds_, shownModel_);
    reading_ = false;
    if (complete)
        infosRead_ = true;
    emit InfosReadFinished(complete);
}

void TConnectionFrame::HideRowMark(std::size_t index) {
    if (index >= infoRows_.size())
        return;
    infoRows_[index]->StatusIcon()->hide();
    infoRows_[index]->repaint();
}

bool TConnectionFrame::RowShown(std::size_t index) {
    return index < infoRows_.size() && !infoRows_[index]->isHidden();
}

void TConnectionFrame::ShowRowResult(std::size_t index, const InfoReading& reading) {
    if (index >= infoRows_.size())
        return;
    TAXO_TTNTStatusPanel* row = infoRows_[index];
    if (reading.ok) {
        row->SetValueText(reading.value);
        row->SetStatusImage(Pictures::successImage());
    } else {
        row->SetStatusImage(Pictures::failedImage());
    }
    row->repaint();
    emit InfoRowShown(static_cast<int>(index), reading.ok);
}

void TConnectionFrame::ProcessMessages() {
    TheClock().ProcessMessages();
}

bool TConnectionFrame::RowsReplaced() {
    return readingGeneration_ != rowsGeneration_;
}

void TConnectionFrame::AdjustTimeButtonClick() {
    if (TimeSetArea == nullptr) {
        TimeSetArea = new TTimeSetFrame(&gauge_, ConnectStatusPanel);
        TimeSetArea->hide();
    }
    TimeSetArea->InitalizeFrame();
    TimeSetArea->resize(TTimeSetFrame::PanelWidth, TTimeSetFrame::PanelHeight);
    Relayout();
    TimeSetArea->show();
    TimeSetArea->raise();
    TimeSetArea->repaint();
    SetTimeTimer.start();
    SetRowsVisible(false);
}

void TConnectionFrame::HistoryButtonClick() {
    std::string serial = gauge_.KnownGaugeSerial();
    if (serial.empty())
        serial = gauge_.GaugeSerialNumber();
    ShowGaugeHistory(Latin1Text(serial), window());
}

void TConnectionFrame::SetRowsVisible(bool visible) {
    for (TAXO_TTNTStatusPanel* row : infoRows_)
        row->setVisible(visible);
    // The read button belongs to the rows: reading while the clock panel
    // covers them would read nothing.
    ControlPanel->setVisible(visible);
}

void TConnectionFrame::SetTimeTimerTimer() {
    if (TimeSetArea != nullptr && !TimeSetArea->isHidden()) {
        SetRowsVisible(false);
        return;
    }
    SetRowsVisible(true);
    SetTimeTimer.stop();
    if (shownModel_ != 0)
        ReadDeviceTimeRow();
    QCoreApplication::processEvents();
}

void TConnectionFrame::ReadDeviceTimeRow() {
    for (std::size_t i = 0; i < rowKinds_.size(); ++i) {
        if (rowKinds_[i] != InfoRow::DeviceTime || !RowShown(i))
            continue;
        ShowRowResult(i, ReadInfoRow(gauge_, InfoRow::DeviceTime));
    }
}

void TConnectionFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Relayout();
}

void TConnectionFrame::Relayout() {
    setUpdatesEnabled(false);
    const int w = width();
    const int h = height();
    ConnectStatusPanel->setGeometry(0, 0, w, h);

    StaticInfoTitlePanel->setGeometry(0, 10, w, 30);
    StaticTitleLabel->setGeometry(0, 0, w, 30);
    RoundPanelCorners(StaticInfoTitlePanel, 20);
    DividerPanelTop->setGeometry(0, 0, w, 10);
    Leftborderpanel->setGeometry(0, 40, BorderWidth, std::max(0, h - 40));
    RightBorderPanel->setGeometry(w - BorderWidth, 40, BorderWidth, std::max(0, h - 40));

    const int count = static_cast<int>(infoRows_.size());
    const int rowHeight = count > 0 ? (h - 110) / count : 0;
    const int rowWidth = w - RightPart;
    int top = RowsTop;
    for (TAXO_TTNTStatusPanel* row : infoRows_) {
        row->setGeometry(RowsLeft, top, rowWidth, rowHeight);
        top += rowHeight;
    }
    ControlPanel->setGeometry(RowsLeft, top, rowWidth, ControlHeight);
    const int historyWidth = std::min(HistoryButtonWidth, rowWidth / 3);
    const int buttonWidth =
        std::max(0, std::min(InfoReadButtonWidth, rowWidth - historyWidth - ButtonGap));
    const int buttonsLeft = (rowWidth - buttonWidth - ButtonGap - historyWidth) / 2;
    InfoReadButton->setGeometry(buttonsLeft, 5, buttonWidth, ControlHeight - 10);
    HistoryButton->setGeometry(buttonsLeft + buttonWidth + ButtonGap, 5, historyWidth,
                               ControlHeight - 10);

    if (AdjustTimeButton != nullptr && !infoRows_.empty()) {
        TAXO_TTNTStatusPanel* row = infoRows_.back();
        const int buttonHeight = std::max(0, row->height() - 8);
        // At the right end of the row, just left of the row's status mark.
        AdjustTimeButton->setGeometry(
            row->width() - TAXO_TTNTStatusPanel::IconWidth - AdjustButtonWidth,
            (row->height() - buttonHeight) / 2, AdjustButtonWidth, buttonHeight);
        AdjustTimeButton->raise();
    }

    DeviceLabel->setGeometry(w - 205, 40, 190, 50);
    Img->setGeometry(w - 200, 90, 180, std::max(0, h - 90));

    if (TimeSetArea != nullptr) {
        const int areaWidth = w - 200;
        TimeSetArea->setGeometry((areaWidth - TTimeSetFrame::PanelWidth) / 2,
                                 (h - TTimeSetFrame::PanelHeight) / 2, TTimeSetFrame::PanelWidth,
                                 TTimeSetFrame::PanelHeight);
    }
    setUpdatesEnabled(true);
}
