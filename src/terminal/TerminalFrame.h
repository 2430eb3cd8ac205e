#pragma once

// SDI-12 terminal work area: free commands typed by the technician, each
// sent with one SDI-12 transaction and logged with its reply, a history of
// the last 51 commands on the arrow keys and five buttons, and a log that
// can be copied and saved. The sending is TerminalSession's; the frame
// builds the widgets and forwards keys and clicks.

#include "terminal/TerminalSession.h"
#include "ui/WorkArea.h"

#include <QFrame>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class TSDIHandler;
class TerminalLogView;

class TTerminalFrame : public QFrame, public WorkArea, private Terminal::TerminalView {
    Q_OBJECT
public:
    static constexpr int BottomPanelHeight = 80;
    static constexpr int StripHeight = 8;

    // statusBar: the main window's status bar, whose text the area sets.
    // now: the local date and time (the PC's unless a test pins it).
    TTerminalFrame(TSDIHandler& gauge, QStatusBar* statusBar, QWidget* parent = nullptr,
                   std::function<QDateTime()> now = {});

    void TranslateTerminalArea();

    // WorkArea: opening the terminal sends nothing.
    void ShowArea(int) override;
    // A red line in the log when the gauge is lost, another when it is back.
    void GaugeLost() override;
    void ResumeArea(int model) override;
    void TranslateArea() override { TranslateTerminalArea(); }
    QWidget* AreaWidget() override { return this; }

    // Event handlers (public so that tests can run them).
    // Enter, Up and Down in the entry field or the log; true when the key was used.
    bool TerminalEditFieldKeyDown(int key);
    void SendTerminalCommand() { session_.SendTerminalCommand(); }
    void LastCommandButton1Click(QPushButton* sender);
    void CopyTextonscreen1Click();
    void Saveinfile1Click();
    void LastCommandButtonsDisplay();

    Terminal::TerminalSession& Session() { return session_; }

    TerminalLogView* TerminalRichEdit = nullptr;
    QFrame* Strip = nullptr;
    QFrame* BottomPanel = nullptr;
    QLabel* CommandLabel = nullptr;
    QLineEdit* TerminalEditField = nullptr;
    QCheckBox* SetAutomaticSDIAddressCheckBox = nullptr;
    QCheckBox* SetCapitalsOnlyCheckBox = nullptr;
    QFrame* LastCommandsPanel = nullptr;
    std::array<QPushButton*, CommandHistory::Buttons> LastCommandButtons{};

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // TerminalView
    QString EntryText() const override;
    void SetEntryText(const QString& text) override;
    bool AutomaticAddress() const override;
    bool CapitalsOnly() const override;
    void AddLogLine(const QString& line, Terminal::LineKind kind) override;
    void ShowLastCommands() override { LastCommandButtonsDisplay(); }
    void DiscardPendingKeystrokes() override;
    void CommandFinished() override;

    void SetStatusText(const QString& text);
    void LayoutArea();

    QStatusBar* statusBar_;
    Terminal::TerminalSession session_;
    std::function<QDateTime()> now_;
};
