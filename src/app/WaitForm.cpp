#include "app/WaitForm.h"

#include "gauge/SDIHandler.h"
#include "ui/Dialogs.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <string>

namespace {

constexpr int WaitCaptionTextId = 317;
constexpr int MeasuringTextId = 287;
constexpr int NotAllValuesTextId = 132;
constexpr int ErrorsOccuredTextId = 401;
constexpr int GaugeLostTextId = 940;

const QString ReadingMark = QStringLiteral(" . ");
const QString LineEnd = QStringLiteral("\r\n");

} // namespace

void TWaitCountdown::StartWait(int durationSeconds, int tickMs, const QString& text) {
    Messages.clear();
    view_.ShowCaption(GetText(WaitCaptionTextId), text);
    ReadingSum = 0;
    ReadingCount = 0;
    tickMs_ = tickMs;
    view_.StartTimer(tickMs_);
    duration_ = durationSeconds;
    Remaining = durationSeconds;
    view_.ShowProgress(0, duration_);
    LastReadingFailed = false;
    Result = 0;
    Finished = false;
    GaugeLost = false;
    ReadingMarks.clear();
    view_.ShowReadingMarks(ReadingMarks);
}

bool TWaitCountdown::TakeReading() {
    std::string valueText;
    const double value = gauge_.MeasureWithStatus(Messages, valueText);
    // A reading whose data never arrived comes back as -1 without a
    // message and without a value text: it is a failed reading, not a
    // bucket content of -1.
    if (Messages.isEmpty() && valueText.empty())
        Messages.append(GetText(NotAllValuesTextId));
    if (!Messages.isEmpty())
        return false;
    ReadingSum = static_cast<float>(double(ReadingSum) + value);
    ++ReadingCount;
    return true;
}

void TWaitCountdown::Timer1Timer() {
    if (Finished)
        return;
    // Only the receive queue is asked: nothing goes on the line.
    if (!gauge_.IsPortAlive()) {
        FinishLost();
        return;
    }
    view_.StopTimer();
    view_.ShowRemaining(QString::number(Remaining));
    view_.ShowProgress(duration_ - Remaining, duration_);

    bool reading = false;
    if (Remaining < MeasuringBelow && Remaining % ReadingEverySeconds == 0) {
        view_.ShowRemaining(GetText(MeasuringTextId) + QStringLiteral(" (") +
                            QString::number(ReadingCount) + u')');
        view_.Repaint();
        reading = true;
        if (TakeReading()) {
            ReadingMarks += ReadingMark;
            view_.ShowReadingMarks(ReadingMarks);
            LastReadingFailed = false;
        } else {
            LastReadingFailed = true;
        }
    }

    // (A countdown started below zero ends at its first tick.)
    if ((Remaining == 0 && reading) || ReadingCount == GoodReadingsWanted || Remaining < 0) {
        Finish();
        return;
    }
    --Remaining;
    view_.Repaint();
    view_.StartTimer(tickMs_);
    Messages.clear();
}

void TWaitCountdown::Finish() {
    if (!LastReadingFailed) {
        Result = ReadingCount > 0 ? static_cast<float>(double(ReadingSum) / ReadingCount) : 0.0f;
    } else {
        Result = 0;
        QString text = GetText(ErrorsOccuredTextId) + LineEnd + Messages.join(LineEnd);
        ShowMessageDialog(text, MsgKind::Error, MsgButtons::Ok);
    }
    Messages.clear();
    Finished = true;
    view_.CloseWindow();
}

void TWaitCountdown::FinishLost() {
    view_.StopTimer();
    Result = 0;
    GaugeLost = true;
    Messages.clear();
    Finished = true;
    ShowMessageDialog(GetText(GaugeLostTextId), MsgKind::Error, MsgButtons::Ok);
    view_.CloseWindow();
}

TWaitForm::TWaitForm(TSDIHandler& gauge, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      countdown_(gauge, *this) {
    setObjectName(QStringLiteral("WaitForm"));
    setModal(true);
    setFixedSize(FormWidth, FormHeight);
    FillBackground(this, Qt::white);

    WaitPanel = new QLabel(this);
    WaitPanel->setObjectName(QStringLiteral("WaitPanel"));
    WaitPanel->setAlignment(Qt::AlignCenter);
    WaitPanel->setWordWrap(true);
    WaitPanel->setFont(PointFont(WaitPanel, 10));

    RestWaitTimePanel = new QLabel(this);
    RestWaitTimePanel->setObjectName(QStringLiteral("RestWaitTimePanel"));
    RestWaitTimePanel->setAlignment(Qt::AlignCenter);
    RestWaitTimePanel->setFont(PointFont(RestWaitTimePanel, 16));

    WaitProgressBar = new QProgressBar(this);
    WaitProgressBar->setObjectName(QStringLiteral("WaitProgressBar"));
    WaitProgressBar->setTextVisible(false);

    ProgressLabel = new QLabel(this);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressLabel->setAlignment(Qt::AlignCenter);
    ProgressLabel->setFont(PointFont(ProgressLabel, 16, true));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(WaitPanel, 1);
    layout->addWidget(RestWaitTimePanel, 1);
    layout->addWidget(WaitProgressBar);
    layout->addWidget(ProgressLabel, 1);

    connect(&Timer1, &QTimer::timeout, this, &TWaitForm::Timer1Timer);
}

void TWaitForm::StartWait(int durationSeconds, int tickMs, const QString& text) {
    closing_ = false;
    countdown_.StartWait(durationSeconds, tickMs, text);
}

WaitResult TWaitForm::Run(TSDIHandler& gauge, QWidget* owner, int durationSeconds, int tickMs,
                     const QString& text) {
    TWaitForm form(gauge, owner);
    form.StartWait(durationSeconds, tickMs, text);
    form.exec();
    form.Timer1.stop();
    return form.Outcome();
}

void TWaitForm::closeEvent(QCloseEvent* event) {
    if (closing_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void TWaitForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the owner.
    if (QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->window()->frameGeometry().center());
        move(frame.topLeft());
    }
}

void TWaitForm::StopTimer() {
    Timer1.stop();
}

void TWaitForm::StartTimer(int intervalMs) {
    Timer1.start(intervalMs);
}

void TWaitForm::ShowCaption(const QString& windowCaption, const QString& waitText) {
    setWindowTitle(windowCaption);
    WaitPanel->setText(waitText);
}

void TWaitForm::ShowRemaining(const QString& text) {
    RestWaitTimePanel->setText(text);
}

void TWaitForm::ShowProgress(int position, int maximum) {
    WaitProgressBar->setRange(0, qMax(0, maximum));
    WaitProgressBar->setValue(position);
}

void TWaitForm::ShowReadingMarks(const QString& marks) {
    ProgressLabel->setText(marks);
}

void TWaitForm::Repaint() {
    repaint();
}

void TWaitForm::CloseWindow() {
    closing_ = true;
    Timer1.stop();
    done(QDialog::Accepted);
}
