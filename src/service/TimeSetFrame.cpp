#include "service/TimeSetFrame.h"

#include "ui/Dialogs.h"
#include "ui/Palette.h"
#include "ui/PanelButton.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QDateEdit>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimeEdit>

namespace {

constexpr int TitleHeight = 25;
constexpr int ButtonBarHeight = 45;
constexpr int PickerWidth = 135;
constexpr int PickerHeight = 25;
constexpr int EdgeGap = 20;
constexpr int CloseWidth = 35;
constexpr int CornerDiameter = 20;

constexpr int ModelSTextId = 572;
constexpr int TitleTextId = 597;
constexpr int GaugeTimeTextId = 598;
constexpr int NewTimeTextId = 599;
constexpr int ButtonTextIds[] = {600, 601, 602};
constexpr int ButtonPoints = 12;
// The synchronise button's caption is long in most languages: two lines of
// a smaller size in its third of the bar.
constexpr int SyncButton = 2;
constexpr int SyncButtonPoints = 10;

constexpr int Border = 1;

const QColor TitleColour = Palette::Accent;
const QColor BorderColour(160, 160, 160);
const QColor GreyColour = Palette::Light;

} // namespace

TTimeSetFrame::TTimeSetFrame(TSDIHandler* gauge, QWidget* parent)
    : QFrame(parent), clock_(gauge), now_([] { return QDateTime::currentDateTime(); }) {
    setObjectName(QStringLiteral("TimeSetArea"));
    FillBackground(this, Qt::white);
    setFrameShape(QFrame::NoFrame);

    TitlePanel = new QFrame(this);
    TitlePanel->setObjectName(QStringLiteral("TitlePanel"));
    FillBackground(TitlePanel, TitleColour);
    TitleLabel = new QLabel(TitlePanel);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    TitleLabel->setAlignment(Qt::AlignCenter);
    CloseLabel = new QLabel(QStringLiteral("X "), TitlePanel);
    CloseLabel->setObjectName(QStringLiteral("CloseLabel"));
    CloseLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    CloseLabel->setCursor(Qt::PointingHandCursor);
    CloseLabel->installEventFilter(this);

    CurrentTimePanel = new QFrame(this);
    CurrentTimePanel->setObjectName(QStringLiteral("CurrentTimePanel"));
    FillBackground(CurrentTimePanel, GreyColour);
    Tessra2TimeLabel = new QLabel(CurrentTimePanel);
    Tessra2TimeLabel->setObjectName(QStringLiteral("Tessra2TimeLabel"));
    ReadDatePicker = new QDateEdit(CurrentTimePanel);
    ReadDatePicker->setObjectName(QStringLiteral("ReadDatePicker"));
    ReadTimePicker = new QTimeEdit(CurrentTimePanel);
    ReadTimePicker->setObjectName(QStringLiteral("ReadTimePicker"));
    // Display only: read-only rather than disabled, so the gauge clock
    // stays legible.
    for (QAbstractSpinBox* shown :
         std::initializer_list<QAbstractSpinBox*>{ReadDatePicker, ReadTimePicker}) {
        shown->setReadOnly(true);
        shown->setButtonSymbols(QAbstractSpinBox::NoButtons);
        shown->setFocusPolicy(Qt::NoFocus);
    }

    NewTimePanel = new QFrame(this);
    NewTimePanel->setObjectName(QStringLiteral("NewTimePanel"));
    FillBackground(NewTimePanel, Qt::white);
    SetTimeLabel = new QLabel(NewTimePanel);
    SetTimeLabel->setObjectName(QStringLiteral("SetTimeLabel"));
    WriteDatePicker = new QDateEdit(NewTimePanel);
    WriteDatePicker->setObjectName(QStringLiteral("WriteDatePicker"));
    WriteTimePicker = new QTimeEdit(NewTimePanel);
    WriteTimePicker->setObjectName(QStringLiteral("WriteTimePicker"));

    for (QDateEdit* date : {ReadDatePicker, WriteDatePicker}) {
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        date->setAlignment(Qt::AlignCenter);
    }
    WriteDatePicker->setCalendarPopup(true);
    for (QTimeEdit* time : {ReadTimePicker, WriteTimePicker}) {
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        time->setAlignment(Qt::AlignCenter);
    }

    ControlPanel = new QFrame(this);
    ControlPanel->setObjectName(QStringLiteral("ControlPanel"));
    FillBackground(ControlPanel, Qt::white);
    ControlPanel->installEventFilter(this);

    ClockTick.setInterval(1000);
    connect(&ClockTick, &QTimer::timeout, this, &TTimeSetFrame::ClockTickTimer);

    resize(PanelWidth, PanelHeight);
}

TAXO_TTNTPanelButton* TTimeSetFrame::ActionButton(int index) const {
    if (index < 0 || index >= static_cast<int>(buttons_.size()))
        return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

QDateTime TTimeSetFrame::ShownDeviceClock() const {
    return QDateTime(ReadDatePicker->date(), ReadTimePicker->time());
}

void TTimeSetFrame::InitalizeFrame() {
    ClockTick.stop();
    ReadDeviceClock();
    SetTimeToSet(now_());
    CreateActionButtons();
    StyleControls();
    RefreshClockTexts();
    Relayout();
}

void TTimeSetFrame::CreateActionButtons() {
    if (buttons_[0] != nullptr)
        return;
    for (int i = 0; i < 3; ++i) {
        auto* button = new TAXO_TTNTPanelButton(ControlPanel);
        button->setObjectName(QStringLiteral("ActionButton%1").arg(i + 1));
        button->setFont(PointFont(button, i == SyncButton ? SyncButtonPoints : ButtonPoints));
        button->setWordWrap(i == SyncButton);
        button->SetCaptionById(QString(), ButtonTextIds[i]);
        connect(button, &TAXO_TTNTPanelButton::clicked, this, [this, i] { ActionButtonClick(i); });
        buttons_[static_cast<std::size_t>(i)] = button;
    }
}

void TTimeSetFrame::StyleControls() {
    for (QWidget* picker : std::initializer_list<QWidget*>{ReadDatePicker, ReadTimePicker,
                                                           WriteDatePicker, WriteTimePicker}) {
        picker->setFont(PointFont(picker, 12));
        picker->setFixedSize(PickerWidth, PickerHeight);
    }
    for (QLabel* label : {Tessra2TimeLabel, SetTimeLabel, CloseLabel})
        label->setFont(PointFont(label, 12));
    Tessra2TimeLabel->setWordWrap(true);
    SetTimeLabel->setWordWrap(true);
    TitleLabel->setFont(PointFont(TitleLabel, 13));
}

void TTimeSetFrame::RefreshClockTexts() {
    const QString modelS = GetText(ModelSTextId);
    TitleLabel->setText(modelS + u' ' + GetText(TitleTextId));
    Tessra2TimeLabel->setText(modelS + u' ' + GetText(GaugeTimeTextId));
    SetTimeLabel->setText(GetText(NewTimeTextId));
    for (int i = 0; i < 3; ++i)
        if (TAXO_TTNTPanelButton* button = ActionButton(i))
            button->SetCaptionById(QString(), ButtonTextIds[i]);
}

void TTimeSetFrame::ActionButtonClick(int button) {
    switch (button) {
    case 0:
        ReadDeviceClock();
        break;
    case 1:
        WriteDeviceClock(false);
        break;
    case 2:
        SetTimeToSet(now_());
        WriteDeviceClock(true);
        break;
    default:
        break;
    }
}

void TTimeSetFrame::ReadDeviceClock() {
    const ClockReading reading = clock_.Read();
    switch (reading.outcome) {
    case ClockReading::Outcome::NoReply:
        return;
    case ClockReading::Outcome::Valid:
        ShowDeviceClock(reading.when);
        ClockTick.start();
        return;
    case ClockReading::Outcome::Invalid:
        ShowDeviceClock(now_());
        ShowMessageDialog(InvalidTimeMessage(reading.parts), MsgKind::Error, MsgButtons::Ok);
        return;
    }
}

void TTimeSetFrame::WriteDeviceClock(bool synchronised) {
    const std::string text = DeviceClockText(WriteDatePicker->date(), WriteTimePicker->time());
    // The gauge's time as last read and running on since.
    const QDateTime before = ShownDeviceClock();
    if (clock_.Write(text)) {
        ReadDeviceClock();
        clock_.Report(synchronised, before, ShownDeviceClock());
        return;
    }
    ShowMessageDialog(TimeNotSetMessage(text), MsgKind::Error, MsgButtons::Ok);
}

void TTimeSetFrame::CloseLabelClick() {
    ClockTick.stop();
    hide();
}

void TTimeSetFrame::ControlPanelClick() {
    CloseLabelClick();
}

void TTimeSetFrame::ClockTickTimer() {
    // The shown clock runs on as one date and time, so it also passes midnight.
    ShowDeviceClock(ShownDeviceClock().addSecs(1));
    ReadDatePicker->update();
    ReadTimePicker->update();
}

void TTimeSetFrame::ShowDeviceClock(const QDateTime& when) {
    ReadDatePicker->setDate(when.date());
    ReadTimePicker->setTime(when.time());
}

void TTimeSetFrame::SetTimeToSet(const QDateTime& when) {
    WriteDatePicker->setDate(when.date());
    WriteTimePicker->setTime(when.time());
}

bool TTimeSetFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == CloseLabel) {
            CloseLabelClick();
            return true;
        }
        if (watched == ControlPanel) {
            ControlPanelClick();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void TTimeSetFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Relayout();
}

void TTimeSetFrame::LayoutHalf(QFrame* half, QLabel* label, QWidget* datePicker,
                               QWidget* timePicker) {
    const int w = half->width();
    const int h = half->height();
    const int timeLeft = w - EdgeGap - PickerWidth;
    const int dateLeft = timeLeft - EdgeGap - PickerWidth;
    const int pickerTop = (h - PickerHeight) / 2;
    timePicker->setGeometry(timeLeft, pickerTop, PickerWidth, PickerHeight);
    datePicker->setGeometry(dateLeft, pickerTop, PickerWidth, PickerHeight);
    label->setGeometry(EdgeGap, 0, std::max(0, dateLeft - EdgeGap - 10), h);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TTimeSetFrame::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(BorderColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TTimeSetFrame::Relayout() {
    // Everything inside a one-pixel border.
    const int x = Border;
    const int w = std::max(0, width() - 2 * Border);
    const int h = std::max(0, height() - 2 * Border);
    TitlePanel->setGeometry(x, x, w, TitleHeight);
    TitleLabel->setGeometry(0, 0, std::max(0, w - CloseWidth), TitleHeight);
    // The close mark takes the whole right end of the title bar, so that a
    // click near it closes the panel rather than doing anything else.
    CloseLabel->setGeometry(w - CloseWidth, 0, CloseWidth, TitleHeight);
    RoundPanelCorners(TitlePanel, CornerDiameter);

    const int centre = std::max(0, h - TitleHeight - ButtonBarHeight);
    const int upper = centre / 2;
    CurrentTimePanel->setGeometry(x, x + TitleHeight, w, upper);
    NewTimePanel->setGeometry(x, x + TitleHeight + upper, w, centre - upper);
    LayoutHalf(CurrentTimePanel, Tessra2TimeLabel, ReadDatePicker, ReadTimePicker);
    LayoutHalf(NewTimePanel, SetTimeLabel, WriteDatePicker, WriteTimePicker);

    ControlPanel->setGeometry(x, x + h - ButtonBarHeight, w, ButtonBarHeight);
    const int buttonWidth = (w - 40) / 3;
    int left = 10;
    for (TAXO_TTNTPanelButton* button : buttons_) {
        if (button == nullptr)
            continue;
        button->setGeometry(left, 6, buttonWidth, ButtonBarHeight - 12);
        left += buttonWidth + 10;
    }
}
