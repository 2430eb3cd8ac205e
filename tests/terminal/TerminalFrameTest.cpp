// The terminal work area: keys, buttons, the log's colours and context
// menu, copying and saving the log, against the simulated gauge.

#include "support/QtPrinters.h"
#include "support/GaugeOnSim.h"

#include "terminal/TerminalFrame.h"
#include "terminal/TerminalLogView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>

#include <set>

using Commands = std::vector<std::string>;

namespace {

class TerminalArea : public GaugeOnSim {
protected:
    TerminalArea() {
        area.resize(1100, 600);
        area.show();
    }
    void Type(const QString& text) {
        area.TerminalEditField->setText(text);
        area.SendTerminalCommand();
    }
    QStringList LogLines() const { return area.TerminalRichEdit->Lines(); }
    QColor LineColour(int line) const {
        const QTextBlock block = area.TerminalRichEdit->document()->findBlockByNumber(line);
        return block.begin().fragment().charFormat().foreground().color();
    }
    QPushButton* Button(int i) const { return area.LastCommandButtons[static_cast<std::size_t>(i)]; }

    QStatusBar statusBar;
    TTerminalFrame area{handler, &statusBar, nullptr, PinnedNow()};
};

} // namespace

TEST_F(TerminalArea, EnterInTheEntryFieldSendsTheCommandAndClearsTheField) {
    SimGauge& gauge = ConnectedGauge(1);
    area.TerminalEditField->setFocus();
    QTest::keyClicks(area.TerminalEditField, "i");
    QTest::keyClick(area.TerminalEditField, Qt::Key_Return);
    EXPECT_EQ(gauge.Commands(), (Commands{"0I!"}));
    EXPECT_EQ(area.TerminalEditField->text(), "");
    EXPECT_EQ(LogLines().size(), 2);
}

TEST_F(TerminalArea, KeysTypedWhileACommandIsUnderWayAreDiscarded) {
    SimGauge& gauge = ConnectedGauge(1);
    area.TerminalEditField->setText("I");
    // Keys that reached the queue while the window was frozen by the transaction.
    for (const char c : {'x', 'y'}) {
        QCoreApplication::postEvent(area.TerminalEditField,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier,
                                                  QString(QChar(c))));
        QCoreApplication::postEvent(area.TerminalEditField,
                                    new QKeyEvent(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier,
                                                  QString(QChar(c))));
    }
    QCoreApplication::postEvent(area.TerminalEditField,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    area.SendTerminalCommand();
    QCoreApplication::processEvents();
    EXPECT_EQ(area.TerminalEditField->text(), "");
    EXPECT_EQ(gauge.Commands(), (Commands{"0I!"})) << "the queued Enter sent nothing";
}

TEST_F(TerminalArea, LinesAreBlackGreenAndRed) {
    SimGauge& gauge = ConnectedGauge(1);
    Type("I");
    gauge.Faults().silent = true;
    Type("I");
    ASSERT_EQ(LogLines().size(), 4);
    EXPECT_EQ(LineColour(0), QColor(0, 0, 0));
    EXPECT_EQ(LineColour(1), QColor(0, 128, 0));
    EXPECT_EQ(LineColour(2), QColor(0, 0, 0));
    EXPECT_EQ(LineColour(3), QColor(255, 0, 0));
    EXPECT_TRUE(LogLines()[3].endsWith(" SDI-RET> ERROR"));
    EXPECT_TRUE(area.TerminalRichEdit->isReadOnly());
}

TEST_F(TerminalArea, AReplyIsShownAsTextEvenWithMarkup) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Gauge().serialNumber = "<b>1&amp;";
    Type("OOS");
    EXPECT_TRUE(LogLines().last().endsWith("SDI-RET> 0<b>1&amp;<cr><lf>"))
        << LogLines().last().toStdString();
}

TEST_F(TerminalArea, TheButtonsShowTheFiveMostRecentCommandsAndSendThem) {
    SimGauge& gauge = ConnectedGauge(1);
    EXPECT_EQ(Button(0)->text(), "- - -");
    EXPECT_EQ(Button(2)->text(), " - - -");
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(Button(i)->isEnabled()) << i;
    for (int n = 1; n <= 53; ++n)
        Type(QStringLiteral("X%1").arg(n));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Button(i)->text(), QStringLiteral("0X%1!").arg(53 - i)) << i;
        EXPECT_TRUE(Button(i)->isEnabled());
        EXPECT_TRUE(Button(i)->isVisible());
    }
    gauge.ClearCommands();
    QTest::mouseClick(Button(1), Qt::LeftButton);
    ASSERT_FALSE(gauge.Commands().empty());
    EXPECT_EQ(std::set<std::string>(gauge.Commands().begin(), gauge.Commands().end()),
              std::set<std::string>{"0X52!"}) << "sent (and tried again, unanswered)";
    EXPECT_EQ(Button(0)->text(), "0X52!");
    EXPECT_EQ(Button(1)->text(), "0X53!");
    Type("0ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(Button(0)->text(), "0ABCDEFGHIJKLMN ...");
}

TEST_F(TerminalArea, TheButtonsShareTheWidthOfTheEntryField) {
    const int width = (400 - 5 * 5) / 5;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Button(i)->width(), width) << i;
        EXPECT_EQ(Button(i)->x(), 160 + 5 + i * (width + 5)) << i;
        EXPECT_EQ(Button(i)->y(), 5);
    }
    EXPECT_EQ(area.TerminalRichEdit->height(), 600 - 88);
    EXPECT_EQ(area.BottomPanel->height(), 80);
    EXPECT_TRUE(area.SetAutomaticSDIAddressCheckBox->isChecked());
    EXPECT_TRUE(area.SetCapitalsOnlyCheckBox->isChecked());
    EXPECT_EQ(area.SetAutomaticSDIAddressCheckBox->text(), "Insert SDI-12 address automatically");
    EXPECT_EQ(area.SetCapitalsOnlyCheckBox->text(), "Capital letters only");
    EXPECT_EQ(area.CommandLabel->text(), "SDI-12 command:");
}

TEST_F(TerminalArea, ArrowKeysBrowseTheHistory) {
    ConnectedGauge(1);
    area.TerminalEditField->setText("typed");
    QTest::keyClick(area.TerminalEditField, Qt::Key_Up);
    EXPECT_EQ(area.TerminalEditField->text(), "") << "an empty history empties the field";
    Type("I");
    Type("V");
    QTest::keyClick(area.TerminalEditField, Qt::Key_Up);
    EXPECT_EQ(area.TerminalEditField->text(), "0V!");
    QTest::keyClick(area.TerminalRichEdit, Qt::Key_Up);
    EXPECT_EQ(area.TerminalEditField->text(), "0I!") << "the log passes its arrows on";
    QTest::keyClick(area.TerminalEditField, Qt::Key_Down);
    EXPECT_EQ(area.TerminalEditField->text(), "0I!");
    QTest::keyClick(area.TerminalEditField, Qt::Key_Down);
    EXPECT_EQ(area.TerminalEditField->text(), "0V!");
}

TEST_F(TerminalArea, TheContextMenuOffersItsEntriesInOrderWithTheirShortcuts) {
    QStringList entries;
    for (QAction* action : area.TerminalRichEdit->ContextMenu()->actions()) {
        entries << action->text() + "|" + action->shortcut().toString();
        if (action->text().startsWith("---")) {
            EXPECT_FALSE(action->isEnabled());
        }
    }
    const QString separator = QStringLiteral("----------------------------|");
    EXPECT_EQ(entries, (QStringList{"Select All|Ctrl+A", "Copy|Ctrl+C", "Clear|Ctrl+E", separator,
                                    "Copy Text on screen|Ctrl+D", "Copy All|Ctrl+Y", separator,
                                    "Font Size ++|F5", "Font Size --|F6", separator,
                                    "Send Last Command|F7", separator, "Save in file...|"}));
}

TEST_F(TerminalArea, SendLastCommandAndClearWorkFromTheMenu) {
    SimGauge& gauge = ConnectedGauge(1);
    Type("I");
    gauge.ClearCommands();
    area.TerminalRichEdit->Action("Send Last Command")->trigger();
    EXPECT_EQ(gauge.Commands(), (Commands{"0I!"}));
    EXPECT_EQ(LogLines().size(), 4);
    area.TerminalRichEdit->Action("Clear")->trigger();
    EXPECT_TRUE(LogLines().isEmpty());
    EXPECT_EQ(Button(0)->text(), "0I!") << "the history stays";
}

TEST_F(TerminalArea, FontSizeKeysChangeTheWholeLog) {
    ConnectedGauge(1);
    Type("I");
    const int before = area.TerminalRichEdit->font().pointSize();
    EXPECT_EQ(before, 12);
    area.TerminalRichEdit->Action("Font Size ++")->trigger();
    EXPECT_EQ(area.TerminalRichEdit->font().pointSize(), 13);
    const QTextBlock first = area.TerminalRichEdit->document()->firstBlock();
    EXPECT_EQ(first.begin().fragment().charFormat().fontPointSize(), 13);
    area.TerminalRichEdit->Action("Font Size --")->trigger();
    area.TerminalRichEdit->Action("Font Size --")->trigger();
    EXPECT_EQ(area.TerminalRichEdit->font().pointSize(), 11);
}

TEST_F(TerminalArea, CopyTextOnScreenCopiesTheVisibleLinesAndCountsTheirCharacters) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Faults().silent = true;
    for (int n = 0; n < 40; ++n)
        Type(QStringLiteral("X%1").arg(n));
    area.CopyTextonscreen1Click();
    const QString copied = QApplication::clipboard()->text();
    ASSERT_FALSE(copied.isEmpty());
    EXPECT_EQ(statusBar.currentMessage(), QStringLiteral("CNT:%1").arg(copied.size()));
    const QStringList lines = copied.split('\n');
    EXPECT_LT(lines.size(), 80) << "only what the view shows";
    EXPECT_EQ(lines.last(), LogLines().last()) << "the view is scrolled to the end";
    EXPECT_TRUE(LogLines().contains(lines.first())) << "whole lines";
}

TEST_F(TerminalArea, TheLogIsSavedInUtf16WithCrLfUnderTheProposedName) {
    ConnectedGauge(1);
    Type("I");
    Type("M");
    const QString path = PathOf("log.txt");
    dialogs.QueueFileAnswer(path);
    area.Saveinfile1Click();
    ASSERT_EQ(dialogs.FileRequests().size(), 1);
    const FileDialogRequest& request = dialogs.FileRequests()[0].request;
    EXPECT_EQ(request.fileName, "05032014_140709_Terminal.txt");
    EXPECT_EQ(request.defaultSuffix, "txt");
    EXPECT_TRUE(request.filter.contains("*.txt"));
    EXPECT_EQ(QDir(QDir::currentPath()), QDir(folder.path())) << "the chosen folder becomes current";

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xFF\xFE"));
    const QString text = QStringDecoder(QStringConverter::Utf16LE)(bytes.mid(2));
    EXPECT_EQ(text, LogLines().join("\r\n") + "\r\n");
    EXPECT_EQ(text.count("\r\n"), 4);
}

TEST_F(TerminalArea, CancellingTheSaveDialogWritesNothing) {
    ConnectedGauge(1);
    Type("I");
    const QString before = QDir::currentPath();
    area.Saveinfile1Click();
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}
