#include "app/ConnectedDevicesForm.h"

#include "diag/ConnectionDiagnosis.h"
#include "link/SDI12IO.h"
#include "ui/Dialogs.h"
#include "ui/Palette.h"
#include "ui/PanelButton.h"
#include "ui/WideLanguageHandler.h"

#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr int WindowTextId = 80;
constexpr int TitleTextId = 81;
constexpr int NumberColumnTextId = 85;
constexpr int DescriptionColumnTextId = 86;
constexpr int SerialColumnTextId = 87;
constexpr int StartTextId = 90;
constexpr int NoSerialTextId = 100;
constexpr int NotOpenedTextId = 101;

constexpr int TitleHeight = 40;
constexpr int ButtonStripHeight = 60;
constexpr int Margin = 12;

const QColor TitleColour = Palette::Accent;
const QColor DarkText = Palette::Dark;

} // namespace

TConnectForm::TConnectForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ConnectForm"));
    SetTag(this, WindowTextId);
    setFixedSize(FormWidth, FormHeight);
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    TitlePanel = new QLabel(this);
    TitlePanel->setObjectName(QStringLiteral("TitlePanel"));
    SetTag(TitlePanel, TitleTextId);
    TitlePanel->setAlignment(Qt::AlignCenter);
    QFont titleFont = TitlePanel->font();
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    TitlePanel->setFont(titleFont);
    QPalette titlePalette = TitlePanel->palette();
    titlePalette.setColor(QPalette::Window, TitleColour);
    titlePalette.setColor(QPalette::WindowText, DarkText);
    TitlePanel->setPalette(titlePalette);
    TitlePanel->setAutoFillBackground(true);

    USBDevicesListView = new QTreeWidget(this);
    USBDevicesListView->setObjectName(QStringLiteral("USBDevicesListView"));
    USBDevicesListView->setColumnCount(3);
    USBDevicesListView->setRootIsDecorated(false);
    USBDevicesListView->setItemsExpandable(false);
    USBDevicesListView->setUniformRowHeights(true);
    USBDevicesListView->setAllColumnsShowFocus(true);
    USBDevicesListView->setSelectionMode(QAbstractItemView::SingleSelection);
    USBDevicesListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    USBDevicesListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    USBDevicesListView->setStyleSheet(QStringLiteral(
        "QTreeWidget { border: 1px solid #d4d4d4; gridline-color: #d4d4d4; }"
        "QTreeWidget::item { border-right: 1px solid #d4d4d4; border-bottom: 1px solid #d4d4d4;"
        " padding: 4px; }"
        "QTreeWidget::item:selected { background: #13b1e4; color: white; }"
        "QHeaderView::section { background: #d4d4d4; color: #4d4d4d; border: none;"
        " border-right: 1px solid white; padding: 5px; font-weight: bold; }"));
    SetTag(USBDevicesListView, DescriptionColumnTextId);
    SetColumnTag(USBDevicesListView, 0, NumberColumnTextId);
    SetColumnTag(USBDevicesListView, 1, DescriptionColumnTextId);
    SetColumnTag(USBDevicesListView, 2, SerialColumnTextId);
    QHeaderView* header = USBDevicesListView->header();
    header->setStretchLastSection(true);
    header->setSectionsMovable(false);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->resizeSection(0, 30);
    header->resizeSection(1, 250);
    header->setSectionResizeMode(0, QHeaderView::Fixed);

    StartButton = new TAXO_TTNTPanelButton(this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    SetTag(StartButton, StartTextId);
    QFont buttonFont = StartButton->font();
    buttonFont.setPointSize(11);
    buttonFont.setBold(true);
    StartButton->setFont(buttonFont);
    StartButton->SetCaptionById(QString(), StartTextId);
    connect(StartButton, &TAXO_TTNTPanelButton::clicked, this, &TConnectForm::StartButtonClick);
    connect(USBDevicesListView, &QTreeWidget::itemDoubleClicked, this,
            &TConnectForm::StartButtonClick);

    FormCreate();
}

void TConnectForm::FormCreate() {
    setWindowTitle(GetText(WindowTextId));
    TranslateComponents(this);
    TranslateListColumns(USBDevicesListView);

    USBDevicesListView->clear();
    SDI12IO::TInfoNodeArray adapters;
    int count = 0;
    SDI12IO::EnumerateAdapters(adapters, count);
    for (int i = 0; i < count && i < static_cast<int>(adapters.size()); ++i) {
        const SDI12IO::TInfoNode& node = adapters[static_cast<std::size_t>(i)];
        auto* row = new QTreeWidgetItem(USBDevicesListView);
        row->setText(0, QString::number(i + 1));
        row->setText(1, QString::fromLatin1(node.DescriptionText().c_str()));
        row->setText(2, QString::fromLatin1(node.Serial().c_str()));
        for (int column = 0; column < 3; ++column)
            row->setTextAlignment(column, Qt::AlignCenter);
    }
    if (USBDevicesListView->topLevelItemCount() > 0)
        USBDevicesListView->setCurrentItem(USBDevicesListView->topLevelItem(0));
}

void TConnectForm::StartButtonClick() {
    const QList<QTreeWidgetItem*> selected = USBDevicesListView->selectedItems();
    // Nothing selected (the user cleared the selection): keep the window
    // open so that a row can still be chosen.
    if (selected.isEmpty())
        return;
    const std::string serial = selected.first()->text(2).toLatin1().toStdString();
    const std::string description = selected.first()->text(1).toLatin1().toStdString();
    if (serial.empty() && !selected.first()->text(1).toUpper().contains(QLatin1String("TESSRA"))) {
        raise();
        ShowMessageDialog(GetText(NoSerialTextId), MsgKind::Error, MsgButtons::Ok);
    } else if (SDI12IO::OpenSdiPort(serial, 7, 2, 0) == -1) {
        raise();
        ShowMessageDialog(GetText(NotOpenedTextId), ConnectionDoctor::ConnectionErrorDetails(),
                          MsgKind::Error, MsgButtons::Ok);
    } else {
        ChosenSerial = serial;
        ChosenDescription = description;
        SDI12IO::CloseSdiPort();
    }
    close();
}

void TConnectForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    TitlePanel->setGeometry(0, 0, w, TitleHeight);
    USBDevicesListView->setGeometry(Margin, TitleHeight + Margin, w - 2 * Margin,
                                    h - TitleHeight - ButtonStripHeight - Margin);
    const int buttonWidth = 300;
    const int buttonHeight = 40;
    StartButton->setGeometry((w - buttonWidth) / 2,
                             h - ButtonStripHeight + (ButtonStripHeight - buttonHeight) / 2,
                             buttonWidth, buttonHeight);
}

std::string TConnectFormChooser::ChooseAdapterSerial() {
    TConnectForm form(owner_);
    if (whileShown_) {
        QPointer<TConnectForm> shown(&form);
        QTimer::singleShot(0, &form, [this, shown] {
            if (shown)
                whileShown_(*shown);
        });
    }
    form.exec();
    return form.ChosenSerial;
}
