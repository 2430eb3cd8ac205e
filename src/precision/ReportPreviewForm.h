#pragma once

// The report's preview window: the report's pages and exactly three
// commands, print, export to a PDF file and close. Modal; the report is
// not saved anywhere unless the technician exports it.

#include "precision/PrecisionReport.h"

#include <QDialog>
#include <QPrinter>

class QPrintPreviewWidget;
class TAXO_TTNTPanelButton;

class TReportPreviewForm : public QDialog {
    Q_OBJECT
public:
    explicit TReportPreviewForm(Precision::ReportContent content, QWidget* owner = nullptr);

    // Shows the window modally until it is closed.
    static void ShowReport(Precision::ReportContent content, QWidget* owner);

    void PrintButtonClick();
    void ExportButtonClick();
    void CloseButtonClick();
    // Writes the PDF to path; shows an error when it cannot be written.
    bool ExportTo(const QString& path);

    QPrintPreviewWidget* Preview = nullptr;
    TAXO_TTNTPanelButton* PrintButton = nullptr;
    TAXO_TTNTPanelButton* ExportButton = nullptr;
    TAXO_TTNTPanelButton* CloseButton = nullptr;

signals:
    // The pages were painted on screen for the first time.
    void FirstPainted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintPages(QPrinter* printer);
    QString ProposedFileName() const;

    Precision::ReportContent content_;
    QPrinter printer_;
    bool painted_ = false;
};
