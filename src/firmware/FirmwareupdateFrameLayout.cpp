// Layout of the firmware update work area, on every resize.

#include "firmware/FirmwareupdateFrame.h"

#include "ui/ImageControl.h"
#include "ui/PanelButton.h"
#include "ui/TTNTStatusPanel.h"

#include <QLabel>
#include <QProgressBar>
#include <algorithm>

using namespace Firmware;

namespace {

constexpr int StripWidth = 4;
constexpr int VersionHeight = 30;
constexpr int RowHeight = 40;
constexpr int BarHeight = 30;
constexpr int BarLeftGap = 24;
constexpr int BarRightGap = 20;
constexpr int LabelHeight = 40;
constexpr int ButtonStripHeight = 70;
constexpr int ButtonWidth = 200;
constexpr int ButtonHeight = 40;
// Space kept free between the result panel and the progress bar.
constexpr int ResultGap = 10;
constexpr int ResultMargin = 12;
constexpr int ResultPictureHeight = 110;

} // namespace

void TFirmwareupdateFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    LayoutArea();
}

void TFirmwareupdateFrame::LayoutArea() {
    const int w = width();
    const int h = height();
    const int pictureWidth = w / 5;
    const int bottom = std::max(0, h - ButtonStripHeight);

    PicturePanel->setGeometry(0, 0, pictureWidth, bottom);
    PictureStrip->setGeometry(std::max(0, pictureWidth - StripWidth), 0, StripWidth, bottom);
    TessraImage->setGeometry(0, 0, std::max(0, pictureWidth - StripWidth), bottom);

    const int right = w - pictureWidth;
    VersionPanel->setGeometry(pictureWidth, 0, right, VersionHeight);
    FWVersionLabel->setGeometry(0, 0, right, VersionHeight);

    StepPanel->setGeometry(pictureWidth, VersionHeight, right, std::max(0, bottom - VersionHeight));
    for (int row = 0; row < StepRowCount; ++row)
        StepRows[static_cast<std::size_t>(row)]->setGeometry(0, row * RowHeight, right, RowHeight);

    // The bar at two thirds of the area's height, in the step panel's coordinates.
    const int barTop = h * 2 / 3 - VersionHeight;
    const int barWidth = std::max(0, right - BarLeftGap - BarRightGap);
    UpdateProgressBar->setGeometry(BarLeftGap, barTop, barWidth, BarHeight);
    UpdateLabel->setGeometry(BarLeftGap, barTop + BarHeight, barWidth, LabelHeight);
    LayoutResult();

    ButtonPanel->setGeometry(0, bottom, w, ButtonStripHeight);
    const int buttonTop = (ButtonStripHeight - ButtonHeight) / 2;
    FwStartButton->setGeometry(w / 4 - ButtonWidth / 2, buttonTop, ButtonWidth, ButtonHeight);
    FwCancelButton->setGeometry(w * 3 / 4 - ButtonWidth / 2, buttonTop, ButtonWidth,
                                ButtonHeight);
}

void TFirmwareupdateFrame::LayoutResult() {
    // Over the step rows, down to the progress bar.
    const int width = StepPanel->width();
    const int height = std::max(StepRowCount * RowHeight, UpdateProgressBar->y() - ResultGap);
    ResultPanel->setGeometry(0, 0, width, height);
    const int inner = std::max(0, width - 2 * ResultMargin);
    const auto heightOf = [inner](QLabel* label) {
        if (label->text().isEmpty())
            return 0;
        const int h = label->heightForWidth(inner);
        return h > 0 ? h : label->sizeHint().height();
    };
    const int textHeight = heightOf(ResultLabel);
    const int notesHeight = heightOf(ResultNotesLabel);
    const int picture =
        std::clamp(height - textHeight - notesHeight - 4 * ResultMargin, 0, ResultPictureHeight);
    const int top =
        std::max(0, (height - textHeight - picture - notesHeight - 2 * ResultMargin) / 2);
    ResultLabel->setGeometry(ResultMargin, top, inner, textHeight);
    ResultImage->setGeometry(ResultMargin, top + textHeight + ResultMargin, inner, picture);
    ResultNotesLabel->setGeometry(ResultMargin, top + textHeight + picture + 2 * ResultMargin,
                                  inner, notesHeight);
}
