// Layout of the configuration work area: two groups of rows under their
// title bars, all shown rows sharing one height, and the button bar.

#include "config/ParameterFrame.h"

#include "config/ParameterRow.h"
#include "ui/PanelButton.h"
#include "ui/UiHelpers.h"

#include <QDateTimeEdit>
#include <QLabel>

using namespace Config;

namespace {
constexpr int TopMargin = 10;
constexpr int SideMargin = 15;
constexpr int TitleHeight = 30;
constexpr int GroupGap = 10;
constexpr int ReservedHeight = 140; // margins, title bars and the button bar
constexpr int TitleCornerDiameter = 20;
constexpr int ButtonBarHeight = 70;
constexpr int ButtonWidth = 200;
constexpr int ButtonHeight = 50;
constexpr int ButtonTop = 5;
constexpr int ClockLabelGap = 10;
} // namespace

void TParameterFrame::resizeEvent(QResizeEvent*) {
    LayoutFrame();
}

void TParameterFrame::LayoutFrame() {
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);

    unsigned shownRows = 0;
    int shownCount = 0;
    for (int i = 0; i < RowCount; ++i) {
        if (rows_->Shown(Row(i))) {
            shownRows |= 1u << i;
            ++shownCount;
        }
    }
    laidOutRows_ = shownRows;
    const int rowHeight =
        shownCount > 0 ? std::max(0, (height() - ReservedHeight) / shownCount) : 0;
    const int groupWidth = std::max(0, width() - 2 * SideMargin);

    int y = TopMargin;
    const auto placeGroup = [&](QLabel* title, int first, int last) {
        title->setGeometry(SideMargin, y, groupWidth, TitleHeight);
        RoundPanelCorners(title, TitleCornerDiameter);
        y += TitleHeight;
        bool grey = false;
        for (int i = first; i <= last; ++i) {
            TParameterRow* panel = panels_[i];
            if (!rows_->Shown(Row(i))) {
                panel->hide();
                continue;
            }
            panel->setGeometry(SideMargin, y, groupWidth, rowHeight);
            panel->SetAlternate(grey);
            panel->show();
            grey = !grey;
            y += rowHeight;
        }
    };
    placeGroup(ConfigurationTitle, 0, FirstHeatingRow - 1);
    y += GroupGap;
    placeGroup(HeatingTitle, FirstHeatingRow, RowCount - 1);

    ButtonBar->setGeometry(0, y, width(), ButtonBarHeight);
    const int gap = std::max(0, (ButtonBar->width() - 4 * ButtonWidth) / 5);
    const std::array<TAXO_TTNTPanelButton*, 4> buttons{
        ReadConfigurationButton, WriteConfigurationButton, ReadFromFileButton, WriteToFileButton};
    for (int i = 0; i < 4; ++i)
        buttons[i]->setGeometry(gap + i * (ButtonWidth + gap), ButtonTop, ButtonWidth,
                                ButtonHeight);

    // The gauge clock at the right end of the switching-time row's control column.
    const int rowH = panels_[SwitchTimeRow]->height();
    const int pickerHeight =
        std::min(Tessra2TimePicker->sizeHint().height(), std::max(rowH - 4, 0));
    const int pickerLeft =
        TParameterRow::ControlLeft + TParameterRow::ListWidth - TParameterRow::PickerWidth;
    Tessra2TimePicker->setGeometry(pickerLeft, (rowH - pickerHeight) / 2,
                                   TParameterRow::PickerWidth, pickerHeight);
    const int labelLeft = TParameterRow::ControlLeft + TParameterRow::PickerWidth + ClockLabelGap;
    Tessra2TimeLabel->setGeometry(labelLeft, 0, std::max(0, pickerLeft - ClockLabelGap - labelLeft),
                                  rowH);

    setUpdatesEnabled(updates);
}
