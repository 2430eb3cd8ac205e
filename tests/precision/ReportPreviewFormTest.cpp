// The report's preview window: its caption, exactly three commands of its
// own, and the export through the save-file dialog.

#include "precision/ReportPreviewForm.h"
#include "precision/PdfTools.h"
#include "support/FolderSettingsGuard.h"
#include "support/LanguageScope.h"
#include "support/ScriptedDialogs.h"
#include "ui/FolderSettings.h"
#include "ui/PanelButton.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QToolBar>

using namespace Precision;

namespace {

ReportContent Content() {
    ReportContent content;
    content.record.model = 0;
    content.record.verdict = QStringLiteral("Yes");
    content.date = QDateTime(QDate(2024, 6, 11), QTime(9, 30, 15));
    return content;
}

} // namespace

class Preview : public ::testing::Test {
protected:
    LanguageScope english{OffsetEnglish};
    FolderSettingsGuard folderSettings;
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
};

TEST_F(Preview, ThreeCommandsAndTheTitle) {
    TReportPreviewForm form(Content());
    EXPECT_EQ(form.windowTitle(), "Guided accuracy test");
    EXPECT_TRUE(form.isModal());
    QStringList commands;
    for (const TAXO_TTNTPanelButton* button : form.findChildren<TAXO_TTNTPanelButton*>())
        commands << button->text();
    EXPECT_EQ(commands, QStringList({"Print", "Export to PDF", "Close"}));
    // None of the stock preview tools: no tool bar, no other buttons.
    EXPECT_TRUE(form.findChildren<QToolBar*>().isEmpty());
    EXPECT_TRUE(form.findChildren<QAbstractButton*>().isEmpty());
    EXPECT_NE(form.findChild<QPrintPreviewWidget*>(), nullptr);
}

TEST_F(Preview, ExportWritesThePdfWhereTheUserChose) {
    if (!PdfTools::Available())
        GTEST_SKIP() << "poppler-utils are not installed";
    ValuePath = folder.path() + u'/';
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("reports")));
    const QString path = folder.filePath(QStringLiteral("reports/chosen.pdf"));
    dialogs.QueueFileAnswer(path);
    TReportPreviewForm form(Content());
    form.ExportButtonClick();
    ASSERT_EQ(dialogs.FileRequests().size(), 1);
    const FileDialogRequest& request = dialogs.FileRequests()[0].request;
    EXPECT_EQ(request.title, "Export to PDF");
    EXPECT_EQ(request.fileName, "PrecisionTest_2024_06_11_09_30_15.pdf");
    EXPECT_EQ(request.folder, folder.path() + u'/') << "the first report: the measurement folder";
    EXPECT_TRUE(
        PdfTools::Text(path).contains(QStringLiteral("Axo Tessra2 - Guided accuracy test")));
    EXPECT_TRUE(dialogs.Messages().isEmpty());

    // The report remembers its folder; the measurement exports keep theirs.
    EXPECT_EQ(ValuePath, folder.path() + u'/');
    form.ExportButtonClick();
    ASSERT_EQ(dialogs.FileRequests().size(), 2);
    EXPECT_EQ(dialogs.FileRequests()[1].request.folder, folder.filePath(QStringLiteral("reports/")));
}

TEST_F(Preview, ExportCancelledWritesNothing) {
    TReportPreviewForm form(Content());
    form.ExportButtonClick(); // the scripted dialog is cancelled
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(Preview, ExportThatCannotBeWrittenSaysSo) {
    QFile blocker(folder.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = blocker.fileName() + QStringLiteral("/report.pdf");
    dialogs.QueueFileAnswer(path);
    TReportPreviewForm form(Content());
    form.ExportButtonClick();
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text, "The file " + path + " could not be written.");
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
}

TEST_F(Preview, CloseEndsTheWindow) {
    TReportPreviewForm form(Content());
    form.show();
    form.CloseButtonClick();
    EXPECT_FALSE(form.isVisible());
}
