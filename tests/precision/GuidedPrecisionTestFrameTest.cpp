// The precision test's frame on the offscreen platform: rows as status
// panels, the buttons' states and colours, the button panel's layout, the
// chart and the report button on the evaluation page, and a language change.

#include "precision/GuidedPrecisionTestFrame.h"
#include "precision/PrecisionTestFixture.h"
#include "precision/ToleranceChart.h"
#include "ui/PanelButton.h"
#include "ui/TTNTStatusPanel.h"

#include <QLabel>
#include <QProgressBar>
#include <QValueAxis>

class FrameOnSim : public PageFlow {
protected:
    void SetUp() override {
        PageFlow::SetUp();
        frame.resize(1000, 700);
        frame.show();
        frame.Sequence().SetLogFolders({logs.path(), userLogs.path()});
        frame.ShowReport = [this](ReportContent content) { reports.push_back(std::move(content)); };
    }
    static QColor Colour(const TAXO_TTNTPanelButton* button) { return button->Background(); }

    TGuidedPrecisionTestFrame frame{handler};
    std::vector<ReportContent> reports;
};

TEST_F(FrameOnSim, RowsOfTheWelcomePage) {
    ConnectedGauge(1);
    frame.StartPrecisionTest(1);
    const auto& rows = frame.RowPanels();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(
        rows[0]->GetCaptionText().trimmed(),
        "With the aid of the \"Guided accuracy test\" you are able to check if a Axo Tessra2 L "
        "is within its specified measurement limits.");
    EXPECT_EQ(rows[0]->height(), 60);
    EXPECT_TRUE(rows[0]->CaptionLabel()->wordWrap());
    EXPECT_EQ(rows[2]->height(), 30);
    EXPECT_FALSE(rows[2]->CaptionLabel()->wordWrap());
    EXPECT_EQ(rows[1]->y(), 60);
    EXPECT_EQ(rows[2]->y(), 120);
    // 217 has 62 characters, 218 has 98: each row starts where the one before ended.
    EXPECT_EQ(rows[5]->GetCaptionText().trimmed(),
              "Accessories required (see operating instructions, Chapter 2):");
    EXPECT_EQ(rows[5]->height(), 30);
    EXPECT_EQ(rows[4]->height(), 60);
    int top = 0;
    for (const TAXO_TTNTStatusPanel* row : rows) {
        EXPECT_EQ(row->y(), top);
        top += row->height();
    }
    EXPECT_EQ(frame.RowsHeight(), top);
    for (const TAXO_TTNTStatusPanel* row : rows)
        EXPECT_EQ(row->width(), frame.DisplayPanel->contentsRect().width());
    EXPECT_EQ(frame.TitlePanel->text(), "Welcome to the guided accuracy test!");
    EXPECT_EQ(frame.ProgressLabel->text(), "");
}

TEST_F(FrameOnSim, ButtonsAndTheirColours) {
    ConnectedGauge(1);
    frame.StartPrecisionTest(1);
    EXPECT_EQ(frame.ContinueButton->text(), "Continue");
    EXPECT_EQ(frame.AbortButton->text(), "Cancel");
    EXPECT_EQ(frame.BackButton->text(), "Back");
    EXPECT_TRUE(frame.ContinueButton->isEnabled());
    EXPECT_FALSE(frame.BackButton->isEnabled());
    EXPECT_EQ(Colour(frame.ContinueButton), QColor(19, 177, 228));
    EXPECT_EQ(Colour(frame.BackButton), QColor(212, 212, 212));

    frame.ContinueButtonClick();
    EXPECT_EQ(frame.ProgressLabel->text(), "Guided accuracy test Step 2/7");
    EXPECT_EQ(frame.ProgressBar->value(), 2);
    EXPECT_EQ(frame.ProgressBar->maximum(), 7);
    EXPECT_FALSE(frame.BackButton->isEnabled());
    frame.ContinueButtonClick();
    EXPECT_TRUE(frame.BackButton->isEnabled());
    EXPECT_EQ(Colour(frame.BackButton), QColor(19, 177, 228));
}

TEST_F(FrameOnSim, ButtonPanelLayout) {
    ConnectedGauge(1);
    frame.StartPrecisionTest(1);
    EXPECT_EQ(frame.PicturePanel->width(), 185);
    EXPECT_EQ(frame.TitlePanel->height(), 57);
    EXPECT_EQ(frame.ButtonPanel->height(), 70);
    const int q = frame.ButtonPanel->contentsRect().width() / 4;
    EXPECT_EQ(frame.BackButton->geometry(), QRect(q - 75, 26, 150, 40));
    EXPECT_EQ(frame.AbortButton->geometry(), QRect(2 * q - 75, 26, 150, 40));
    EXPECT_EQ(frame.ContinueButton->geometry(), QRect(3 * q - 75, 26, 150, 40));
    EXPECT_EQ(frame.ProgressBar->geometry(), QRect(q - 75, 1, 2 * q + 150, 20));
}

TEST_F(FrameOnSim, EvaluationPageWithChartAndReportButton) {
    ConnectedGauge(1);
    frame.StartPrecisionTest(1);
    frame.ContinueButtonClick();
    weights.QueueEntry({1000.0f, 0});
    for (int i = 0; i < 5; ++i)
        frame.ContinueButtonClick();
    ASSERT_EQ(frame.Sequence().Step(), 7);
    EXPECT_TRUE(frame.ResultChart->isVisible());
    EXPECT_EQ(frame.ResultChart->height(), 64);
    EXPECT_EQ(frame.ResultChart->AxisX->titleText(), "mm");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].record.verdict, "Yes");
    EXPECT_EQ(reports[0].record.gauge.serialNumber, "123456789");
    // The report takes the chart as laid out on the page, across the frame.
    EXPECT_EQ(reports[0].chartSize, QSizeF(frame.ActionPanel->width(), 64));
    ASSERT_TRUE(frame.ShowPDFButton->isVisible());
    EXPECT_EQ(frame.ShowPDFButton->text(), "PDF Report");
    // 10 px below the last row; the page's rows start at the top again.
    EXPECT_EQ(frame.RowPanels().front()->y(), 0);
    EXPECT_EQ(frame.ShowPDFButton->y(), frame.RowPanels().back()->geometry().bottom() + 1 + 10);
    EXPECT_EQ(frame.ShowPDFButton->x(),
              frame.DisplayPanel->contentsRect().width() / 2 - frame.ShowPDFButton->width() / 2);
    EXPECT_EQ(frame.ContinueButton->text(), "Exit");
    const TAXO_TTNTStatusPanel* verdict = frame.RowPanels()[11];
    EXPECT_EQ(verdict->GetCaptionText().trimmed(), "Test passed:");
    EXPECT_EQ(verdict->FullValueText(), "Yes");
    EXPECT_TRUE(verdict->IconShowsPicture());

    frame.ShowPDFButtonClick();
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(FrameOnSim, LanguageChangeRenamesTheButtons) {
    ConnectedGauge(1);
    frame.StartPrecisionTest(1);
    {
        LanguageScope german(OffsetGerman);
        frame.TranslatePrecisionTest();
        EXPECT_EQ(frame.ContinueButton->text(), "Weiter");
        EXPECT_EQ(frame.AbortButton->text(), "Abbrechen");
        EXPECT_EQ(frame.BackButton->text(), "Zurück");
    }
    frame.TranslatePrecisionTest();
    EXPECT_EQ(frame.ContinueButton->text(), "Continue");
}

TEST_F(FrameOnSim, FinishedTestHidesTheArea) {
    ConnectedGauge(1);
    frame.StartPrecisionTest(1);
    frame.ContinueButtonClick();
    weights.QueueEntry({1000.0f, 0});
    for (int i = 0; i < 6; ++i)
        frame.ContinueButtonClick();
    EXPECT_TRUE(frame.isHidden());
    EXPECT_TRUE(frame.RowPanels().empty());
    EXPECT_FALSE(frame.ResultChart->isVisible());
}
