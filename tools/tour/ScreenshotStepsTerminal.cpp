// The screenshot tour's steps of the terminal work area: the log after a
// few commands, among them data replies with an SDI-12 CRC.

#include "app/Main.h"
#include "ScreenshotTour.h"
#include "terminal/TerminalFrame.h"

#include <QLineEdit>

std::vector<TourStep> TerminalTourSteps() {
    return {
        {QStringLiteral("terminal after a few commands"),
         [](TourContext& tour) {
             tour.Disconnect();
             if (!tour.ConnectToModel(1))
                 return false;
             tour.window.Navigate(tour.window.Tile(TTessra2ParamMainForm::TerminalTile));
             TTerminalFrame* area = tour.window.TerminalArea;
             for (const char* command : {"I", "OOV", "MC", "D0", "D1", "M1", "D0", "X"}) {
                 area->TerminalEditField->setText(QString::fromLatin1(command));
                 area->SendTerminalCommand();
                 tour.Settle(50);
             }
             // Typed, not yet sent.
             area->TerminalEditField->setText(QStringLiteral("0RC0!"));
             tour.Settle(300);
             const bool saved = tour.Save(QStringLiteral("terminal"), &tour.window);
             area->TerminalEditField->clear();
             tour.Disconnect();
             return saved;
         }},
    };
}
