#include "terminal/TerminalFrame.h"

#include "link/ByteText.h"
#include "terminal/PendingKeystrokes.h"
#include "terminal/TerminalLogView.h"
#include "ui/Dialogs.h"
#include "ui/FolderSettings.h"
#include "ui/Palette.h"
#include "ui/UiHelpers.h"
#include "ui/Utf16TextFile.h"
#include "ui/WideLanguageHandler.h"

#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

using Terminal::LineKind;

namespace {

constexpr int CommandLabelTextId = 311;
constexpr int AutomaticAddressTextId = 591;
constexpr int CapitalsOnlyTextId = 592;
constexpr int FileNotWrittenTextId = 703;

constexpr int TextPoints = 12;
constexpr int ButtonPoints = 8;
constexpr int EntryLeft = 160;
constexpr int EntryTop = 8;
constexpr int EntryWidth = 400;
constexpr int EntryHeight = 40;
constexpr int CheckBoxGap = 15;
constexpr int CheckBoxWidth = 280;
constexpr int CheckBoxHeight = 20;
constexpr int ButtonGap = 5;

const QColor ReplyColour(0, 128, 0);
const QColor NoReplyColour(255, 0, 0);

const QString EmptyCaption = QStringLiteral("- - -");
const QString LogFilter = QStringLiteral("Text files (*.txt *.TXT)");

QColor ColourOf(LineKind kind) {
    switch (kind) {
    case LineKind::Reply:
        return ReplyColour;
    case LineKind::NoReply:
        return NoReplyColour;
    case LineKind::Command:
        break;
    }
    return Qt::black;
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TTerminalFrame::TTerminalFrame(TSDIHandler& gauge, QStatusBar* statusBar, QWidget* parent,
                               std::function<QDateTime()> now)
    : QFrame(parent), statusBar_(statusBar), session_(gauge, *this, now),
      now_(now ? std::move(now) : [] { return QDateTime::currentDateTime(); }) {
    setObjectName(QStringLiteral("TerminalFrame"));
    FillBackground(this, Qt::white);

    TerminalRichEdit = new TerminalLogView(this);
    TerminalRichEdit->installEventFilter(this);
    connect(TerminalRichEdit, &TerminalLogView::CopiedTextOnScreen, this,
            [this](int characters) { SetStatusText(QStringLiteral("CNT:%1").arg(characters)); });
    connect(TerminalRichEdit, &TerminalLogView::SendLastCommandRequested, this,
            [this] { LastCommandButton1Click(LastCommandButtons[0]); });
    connect(TerminalRichEdit, &TerminalLogView::SaveRequested, this,
            &TTerminalFrame::Saveinfile1Click);

    Strip = new QFrame(this);
    Strip->setObjectName(QStringLiteral("Strip"));
    FillBackground(Strip, Palette::Accent);

    BottomPanel = new QFrame(this);
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    FillBackground(BottomPanel, Palette::Light);

    CommandLabel = new QLabel(BottomPanel);
    CommandLabel->setObjectName(QStringLiteral("CommandLabel"));
    CommandLabel->setFont(PointFont(CommandLabel, TextPoints));
    SetTag(CommandLabel, CommandLabelTextId);

    TerminalEditField = new QLineEdit(BottomPanel);
    TerminalEditField->setObjectName(QStringLiteral("TerminalEditField"));
    TerminalEditField->setFont(PointFont(TerminalEditField, TextPoints));
    TerminalEditField->installEventFilter(this);

    SetAutomaticSDIAddressCheckBox = new QCheckBox(BottomPanel);
    SetAutomaticSDIAddressCheckBox->setObjectName(QStringLiteral("SetAutomaticSDIAddressCheckBox"));
    SetAutomaticSDIAddressCheckBox->setChecked(true);
    SetTag(SetAutomaticSDIAddressCheckBox, AutomaticAddressTextId);
    SetCapitalsOnlyCheckBox = new QCheckBox(BottomPanel);
    SetCapitalsOnlyCheckBox->setObjectName(QStringLiteral("SetCapitalsOnlyCheckBox"));
    SetCapitalsOnlyCheckBox->setChecked(true);
    SetTag(SetCapitalsOnlyCheckBox, CapitalsOnlyTextId);

    LastCommandsPanel = new QFrame(BottomPanel);
    LastCommandsPanel->setObjectName(QStringLiteral("LastCommandsPanel"));
    FillBackground(LastCommandsPanel, Palette::Light);
    for (int i = 0; i < CommandHistory::Buttons; ++i) {
        auto* button = new QPushButton(LastCommandsPanel);
        button->setObjectName(QStringLiteral("LastCommandButton%1").arg(i + 1));
        button->setFont(PointFont(button, ButtonPoints));
        button->setText(i == 2 ? u' ' + EmptyCaption : EmptyCaption);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this,
                [this, button] { LastCommandButton1Click(button); });
        LastCommandButtons[static_cast<std::size_t>(i)] = button;
    }

    TranslateTerminalArea();
    LastCommandButtonsDisplay();
    LayoutArea();
}

void TTerminalFrame::TranslateTerminalArea() {
    TranslateComponents(this);
    TranslateComponents(BottomPanel);
}

void TTerminalFrame::ShowArea(int) {
    TerminalEditField->setFocus();
}

void TTerminalFrame::GaugeLost() {
    session_.NoteLinkChange(false);
}

void TTerminalFrame::ResumeArea(int model) {
    session_.NoteLinkChange(true);
    ShowArea(model);
}

// ---- keys and clicks ----

bool TTerminalFrame::TerminalEditFieldKeyDown(int key) {
    if (IsEnter(key)) {
        session_.SendTerminalCommand();
        return true;
    }
    if (key == Qt::Key_Up) {
        session_.ShowOlderCommand();
        return true;
    }
    if (key == Qt::Key_Down) {
        session_.ShowNewerCommand();
        return true;
    }
    return false;
}

bool TTerminalFrame::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == TerminalEditField || watched == TerminalRichEdit) &&
        event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (TerminalEditFieldKeyDown(key->key()))
                return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void TTerminalFrame::LastCommandButton1Click(QPushButton* sender) {
    for (int i = 0; i < CommandHistory::Buttons; ++i)
        if (LastCommandButtons[static_cast<std::size_t>(i)] == sender)
            session_.SendRecent(i);
}

void TTerminalFrame::LastCommandButtonsDisplay() {
    const int width = (TerminalEditField->width() - 5 * ButtonGap) / CommandHistory::Buttons;
    const int height = std::max(0, LastCommandsPanel->height() - 10);
    for (int i = 0; i < CommandHistory::Buttons; ++i) {
        QPushButton* button = LastCommandButtons[static_cast<std::size_t>(i)];
        const std::string command = session_.History().Recent(i);
        if (!command.empty())
            button->setText(CommandHistory::ButtonCaption(command));
        button->setGeometry(TerminalEditField->x() + ButtonGap + i * (width + ButtonGap), ButtonGap,
                            std::max(0, width), height);
        button->setVisible(true);
        button->setEnabled(!button->text().contains(EmptyCaption));
        button->setToolTip(Latin1Text(command));
    }
}

void TTerminalFrame::CopyTextonscreen1Click() {
    SetStatusText(QStringLiteral("CNT:%1").arg(TerminalRichEdit->CopyTextOnScreen()));
}

void TTerminalFrame::Saveinfile1Click() {
    FileDialogRequest request;
    request.title = TerminalRichEdit->Action(QStringLiteral("Save in file..."))->text();
    request.filter = LogFilter;
    request.folder = QDir::currentPath();
    request.fileName = Terminal::TerminalSession::ProposedLogFileName(now_());
    request.defaultSuffix = QStringLiteral("txt");
    const QString path = Dialogs().SaveFile(request);
    if (path.isEmpty())
        return;
    QDir::setCurrent(FolderOf(path));
    QString error;
    if (!SaveWholeFile(path, EncodeUtf16Lines(TerminalRichEdit->Lines()), &error))
        ShowMessageDialog(GetText(FileNotWrittenTextId).arg(path) + QLatin1Char('\n') + error,
                          MsgKind::Error, MsgButtons::Ok);
}

// ---- what the session asks of the view ----

QString TTerminalFrame::EntryText() const {
    return TerminalEditField->text();
}

void TTerminalFrame::SetEntryText(const QString& text) {
    TerminalEditField->setText(text);
}

bool TTerminalFrame::AutomaticAddress() const {
    return SetAutomaticSDIAddressCheckBox->isChecked();
}

bool TTerminalFrame::CapitalsOnly() const {
    return SetCapitalsOnlyCheckBox->isChecked();
}

void TTerminalFrame::AddLogLine(const QString& line, LineKind kind) {
    TerminalRichEdit->AddLine(line, ColourOf(kind));
    TerminalRichEdit->repaint();
}

void TTerminalFrame::DiscardPendingKeystrokes() {
    ::DiscardPendingKeystrokes();
}

void TTerminalFrame::CommandFinished() {
    TerminalEditField->clear();
    TerminalRichEdit->ScrollToEnd();
    TerminalEditField->setFocus();
}

void TTerminalFrame::SetStatusText(const QString& text) {
    if (statusBar_ != nullptr)
        statusBar_->showMessage(text);
}

// ---- layout ----

void TTerminalFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    LayoutArea();
}

void TTerminalFrame::LayoutArea() {
    const int w = width();
    const int h = height();
    const int logHeight = std::max(0, h - BottomPanelHeight - StripHeight);
    TerminalRichEdit->setGeometry(0, 0, w, logHeight);
    Strip->setGeometry(0, logHeight, w, StripHeight);
    BottomPanel->setGeometry(0, h - BottomPanelHeight, w, BottomPanelHeight);
    CommandLabel->setGeometry(3, EntryTop, EntryLeft - 6, EntryHeight);
    TerminalEditField->setGeometry(EntryLeft, EntryTop, EntryWidth, EntryHeight);
    const int rowTop = EntryTop + EntryHeight;
    LastCommandsPanel->setGeometry(0, rowTop, EntryLeft + EntryWidth,
                                   BottomPanelHeight - EntryHeight - 16);
    const int boxLeft = EntryLeft + EntryWidth + CheckBoxGap;
    SetAutomaticSDIAddressCheckBox->setGeometry(boxLeft, 20 - CheckBoxHeight / 2, CheckBoxWidth,
                                                CheckBoxHeight);
    SetCapitalsOnlyCheckBox->setGeometry(boxLeft, 60 - CheckBoxHeight / 2, CheckBoxWidth,
                                         CheckBoxHeight);
    LastCommandButtonsDisplay();
}
