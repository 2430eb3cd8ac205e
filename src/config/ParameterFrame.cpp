#include "config/ParameterFrame.h"

#include "config/ConfigurationSequence.h"
#include "config/FrameStyle.h"
#include "config/ParameterFields.h"
#include "config/ParameterRow.h"
#include "link/Clock.h"
#include "ui/GaugeVocabulary.h"
#include "ui/PanelButton.h"
#include "ui/WideLanguageHandler.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QTimer>

using namespace Config;

namespace {

constexpr int ShowResultPauseMs = 20;
constexpr int ClockIntervalMs = 1000;

struct RowDefinition {
    const char* panel;
    int labelTextId;
};

// Panel names and label texts, in row order.
constexpr std::array<RowDefinition, RowCount> RowDefinitions{{
    {"BusAddressPanel", 48},
    {"CommunicationInterfacePanel", 25},
    {"ProtocolTypePanel", 26},
    {"TemperatureSetPanel", 21},
    {"PrecipitationUnitPanel", 22},
    {"ImpulseOutputPanel", 27},
    {"ImpulsOutputFactorPanel", 108},
    {"HeatingSwitchPanel", 23},
    {"TemperatureValuePanel", 24},
    {"HeatingThresholdTemperaturePanel", 561},
    {"HeatingStartTimePanel", 562},
    {"HeatingDurationPanel", 563},
    {"HeatingSelfTestPanel", 564},
}};

QComboBox* MakeList(const char* name) {
    auto* combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    combo->setMaxVisibleItems(12);
    return combo;
}

template <typename Field> Field* MakeField(const char* name) {
    auto* field = new Field;
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

QLabel* MakeTitle(QWidget* parent, const char* name, int textId) {
    auto* title = new QLabel(parent);
    title->setObjectName(QString::fromLatin1(name));
    title->setAutoFillBackground(true);
    QPalette palette = title->palette();
    palette.setColor(QPalette::Window, FrameStyle::Accent);
    palette.setColor(QPalette::WindowText, Qt::black);
    title->setPalette(palette);
    title->setFont(FrameStyle::LabelFont());
    title->setContentsMargins(14, 0, 14, 0);
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    title->setText(GetText(textId));
    SetTag(title, textId);
    return title;
}

} // namespace

// The frame as the view of its read and write sequences.
class TParameterFrame::FrameView : public ConfigurationView {
public:
    explicit FrameView(TParameterFrame& frame) : frame_(frame) {}

    void TransferStarting() override {
        frame_.SyncAll();
        frame_.repaint();
        TheClock().ProcessMessages();
    }
    void RowReported(Row row) override {
        frame_.SyncAll();
        frame_.ShowRowResult(row);
        TheClock().ProcessMessages();
    }
    void TransferFinished() override { frame_.SyncAll(); }

private:
    TParameterFrame& frame_;
};

TParameterFrame::TParameterFrame(TSDIHandler& gauge, int model, QWidget* parent)
    : QWidget(parent), gauge_(gauge), rows_(std::make_unique<ParameterRows>()),
      view_(std::make_unique<FrameView>(*this)),
      sequence_(std::make_unique<ConfigurationSequence>(gauge, *rows_, *view_)) {
    setObjectName(QStringLiteral("ParameterFrame"));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);

    BuildRows();
    BuildButtonBar();
    Tessras2Timecounter = new QTimer(this);
    Tessras2Timecounter->setObjectName(QStringLiteral("Tessras2Timecounter"));
    Tessras2Timecounter->setInterval(ClockIntervalMs);
    connect(Tessras2Timecounter, &QTimer::timeout, this,
            &TParameterFrame::Tessras2TimecounterTimer);

    // The rows of the model known at creation, nothing read yet.
    rows_->SetModel(model);
    rows_->PrepareLists();
    rows_->EnableAllRows();
    rows_->ShowRowsOfModel(true);
    FillLists();
    ConnectEditHandlers();
    SetWriteButtonsShown(false);
    RefreshParameterTexts();
    SyncAll();
    LayoutFrame();
}

TParameterFrame::~TParameterFrame() {
    // Child widgets are destroyed after this frame: a field that loses the
    // focus then still reports its editing as finished. None of that may
    // reach the frame's handlers any more.
    for (QWidget* child : findChildren<QWidget*>())
        child->disconnect(this);
}

void TParameterFrame::BuildRows() {
    ConfigurationTitle = MakeTitle(this, "ConfigurationTitle", 550);
    HeatingTitle = MakeTitle(this, "HeatingTitle", 565);
    for (int i = 0; i < RowCount; ++i)
        panels_[i] = new TParameterRow(QString::fromLatin1(RowDefinitions[i].panel),
                                       RowDefinitions[i].labelTextId, this);

    BusAddressComboBox = MakeList("BusAddressComboBox");
    CommunicationInterfaceComboBox = MakeList("CommunicationInterfaceComboBox");
    ProtocolTypeComboBox = MakeList("ProtocolTypeComboBox");
    TemperatureSetComboBox = MakeList("TemperatureSetComboBox");
    PrecipitationUnitComboBox = MakeList("PrecipitationUnitComboBox");
    ImpulseOutputComboBox = MakeList("ImpulseOutputComboBox");
    ImpulsOutputFactorCombobox = MakeList("ImpulsOutputFactorCombobox");
    HeatingMainSwitchComboBox = MakeList("HeatingMainSwitchComboBox");
    HeatingTemperatureValueEdit = MakeField<TemperatureField>("HeatingTemperatureValueEdit");
    HeatingThresholdEdit = MakeField<TemperatureField>("HeatingThresholdEdit");
    HeatingStartTimePicker = MakeField<QTimeEdit>("HeatingStartTimePicker");
    HeatingStartTimePicker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    HeatingDurationEdit = MakeField<DurationField>("HeatingDurationEdit");
    HeatingSelfTestComboBox = MakeList("HeatingSelfTestComboBox");

    const std::array<QWidget*, RowCount> controls{
        BusAddressComboBox,         CommunicationInterfaceComboBox, ProtocolTypeComboBox,
        TemperatureSetComboBox,     PrecipitationUnitComboBox,      ImpulseOutputComboBox,
        ImpulsOutputFactorCombobox, HeatingMainSwitchComboBox,      HeatingTemperatureValueEdit,
        HeatingThresholdEdit,       HeatingStartTimePicker,         HeatingDurationEdit,
        HeatingSelfTestComboBox,
    };
    for (int i = 0; i < RowCount; ++i)
        panels_[i]->SetControl(controls[i], i == SwitchTimeRow ? TParameterRow::PickerWidth
                                                               : TParameterRow::ListWidth);

    // The gauge's own clock beside the switching time (not translated).
    TParameterRow* timeRow = panels_[SwitchTimeRow];
    Tessra2TimeLabel = new QLabel(QStringLiteral("Tessra Time:"), timeRow);
    Tessra2TimeLabel->setObjectName(QStringLiteral("Tessra2TimeLabel"));
    Tessra2TimeLabel->setFont(FrameStyle::LabelFont());
    Tessra2TimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Tessra2TimePicker = new QDateTimeEdit(timeRow);
    Tessra2TimePicker->setObjectName(QStringLiteral("Tessra2TimePicker"));
    Tessra2TimePicker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    Tessra2TimePicker->setReadOnly(true);
    Tessra2TimePicker->setButtonSymbols(QAbstractSpinBox::NoButtons);
    Tessra2TimePicker->setFont(FrameStyle::RowFont());
    Tessra2TimeLabel->hide();
    Tessra2TimePicker->hide();
}

void TParameterFrame::BuildButtonBar() {
    ButtonBar = new QWidget(this);
    ButtonBar->setObjectName(QStringLiteral("ButtonBar"));
    const auto makeButton = [this](const char* name) {
        auto* button = new TAXO_TTNTPanelButton(ButtonBar);
        button->setObjectName(QString::fromLatin1(name));
        button->setFont(FrameStyle::LabelFont());
        QPalette text = button->palette();
        text.setColor(QPalette::Active, QPalette::WindowText, Qt::white);
        text.setColor(QPalette::Inactive, QPalette::WindowText, Qt::white);
        button->setPalette(text);
        return button;
    };
    ReadConfigurationButton = makeButton("ReadConfigurationButton");
    WriteConfigurationButton = makeButton("WriteConfigurationButton");
    ReadFromFileButton = makeButton("ReadFromFileButton");
    WriteToFileButton = makeButton("WriteToFileButton");
    // The gauge buttons carry the model name, set by SetButtonCaptions.
    SetTag(ReadFromFileButton, 46);
    SetTag(WriteToFileButton, 47);
    connect(ReadConfigurationButton, &TAXO_TTNTPanelButton::clicked, this,
            &TParameterFrame::ReadConfigurationButtonClick);
    connect(WriteConfigurationButton, &TAXO_TTNTPanelButton::clicked, this,
            &TParameterFrame::WriteConfigurationButtonClick);
    connect(ReadFromFileButton, &TAXO_TTNTPanelButton::clicked, this,
            [this] { ReadFromFileButtonClick(); });
    connect(WriteToFileButton, &TAXO_TTNTPanelButton::clicked, this,
            [this] { WriteToFileButtonClick(); });
}

void TParameterFrame::ConnectEditHandlers() {
    const auto onList = [this](QComboBox* combo, void (TParameterFrame::*handler)(int)) {
        connect(combo, &QComboBox::currentIndexChanged, this, handler);
    };
    onList(BusAddressComboBox, &TParameterFrame::BusAddressComboBoxChange);
    onList(CommunicationInterfaceComboBox, &TParameterFrame::CommunicationInterfaceComboBoxChange);
    onList(ProtocolTypeComboBox, &TParameterFrame::ProtocolTypeComboBoxChange);
    onList(TemperatureSetComboBox, &TParameterFrame::TemperatureSetComboBoxChange);
    onList(PrecipitationUnitComboBox, &TParameterFrame::PrecipitationUnitComboBoxChange);
    onList(ImpulseOutputComboBox, &TParameterFrame::ImpulseOutputComboBoxChange);
    onList(ImpulsOutputFactorCombobox, &TParameterFrame::ImpulsOutputFactorComboboxChange);
    onList(HeatingMainSwitchComboBox, &TParameterFrame::HeatingMainSwitchComboBoxChange);
    onList(HeatingSelfTestComboBox, &TParameterFrame::HeatingSelfTestComboBoxChange);
    connect(HeatingTemperatureValueEdit, &QSpinBox::valueChanged, this,
            &TParameterFrame::HeatingTemperatureValueEditChange);
    connect(HeatingThresholdEdit, &QSpinBox::valueChanged, this,
            &TParameterFrame::HeatingThresholdEditChange);
    connect(HeatingStartTimePicker, &QTimeEdit::timeChanged, this,
            &TParameterFrame::HeatingStartTimePickerChange);
    connect(HeatingDurationEdit, &QSpinBox::valueChanged, this,
            &TParameterFrame::HeatingDurationEditChange);
    connect(HeatingDurationEdit, &QSpinBox::editingFinished, this,
            &TParameterFrame::HeatingDurationEditExit);
}

// ---- the interface of the work area ----

const ParameterSet& TParameterFrame::Parameters() const {
    return rows_->Set();
}

int TParameterFrame::CurrentModel() const {
    return rows_->Model();
}

bool TParameterFrame::ConfigurationRead() const {
    return rows_->ConfigurationRead;
}

void TParameterFrame::SelectModel(int model) {
    if (rows_->ConfigurationRead && model == rows_->Model()) {
        RefreshParameterTexts();
        LayoutFrame();
        return;
    }
    SetWriteButtonsShown(false);
    sequence_->Prepare(model);
    FillLists();
    SetButtonCaptions();
    SyncAll();
    LayoutFrame();
    ReadConfiguration();
}

void TParameterFrame::ResetParameterArea() {
    rows_->SetModel(NoModel);
}

void TParameterFrame::ReadConfiguration() {
    sequence_->Read();
    SetWriteButtonsShown(true);
    SyncAll();
}

void TParameterFrame::WriteConfiguration(const ParameterSet& set, bool force) {
    sequence_->Write(set, force);
    SyncAll();
}

void TParameterFrame::ReadConfigurationButtonClick() {
    rows_->ConfigurationRead = false;
    ReadConfiguration();
}

void TParameterFrame::WriteConfigurationButtonClick() {
    WriteConfiguration(rows_->Set(), false);
}

void TParameterFrame::RefreshParameterTexts() {
    const bool wasUpdating = updating_;
    updating_ = true;
    TranslateComponents(this);
    for (TParameterRow* panel : panels_)
        TranslateComponents(panel);
    TranslateComponents(ButtonBar);
    SetButtonCaptions();
    HeatingTemperatureValueEdit->Redisplay();
    HeatingThresholdEdit->Redisplay();
    HeatingDurationEdit->Redisplay();
    updating_ = wasUpdating;
}

void TParameterFrame::SetButtonCaptions() {
    const int model = rows_->Model();
    const QString name = Vocabulary::ModelName(model);
    ReadConfigurationButton->SetCaptionById(GetText(28) + name, 0);
    WriteConfigurationButton->SetCaptionById(GetText(29) + name, 0);
    ReadFromFileButton->SetCaptionById(QString(), 46);
    WriteToFileButton->SetCaptionById(QString(), 47);
}

void TParameterFrame::SetWriteButtonsShown(bool shown) {
    writeButtonsShown_ = shown;
    WriteConfigurationButton->setVisible(shown);
    WriteToFileButton->setVisible(shown);
}

void TParameterFrame::Tessras2TimecounterTimer() {
    if (!rows_->TickGaugeClock())
        Tessras2Timecounter->stop();
    SyncGaugeClock();
}

// ---- mirroring the rows in the widgets ----

void TParameterFrame::FillLists() {
    const bool wasUpdating = updating_;
    updating_ = true;
    for (int i = 0; i < RowCount; ++i) {
        const Row row = Row(i);
        auto* combo = qobject_cast<QComboBox*>(panels_[row]->Control());
        if (combo == nullptr)
            continue;
        const ListEntries& entries = rows_->Entries(row);
        combo->clear();
        if (entries.firstTextId > 0) {
            for (int item = 0; item < entries.count; ++item)
                combo->addItem(GetText(entries.firstTextId + item));
        } else {
            combo->addItems(entries.literals);
        }
        SetTag(combo, entries.firstTextId);
        combo->setCurrentIndex(rows_->Selection(row));
    }
    updating_ = wasUpdating;
}

void TParameterFrame::SyncAll() {
    const bool wasUpdating = updating_;
    updating_ = true;
    for (int i = 0; i < RowCount; ++i)
        SyncRow(Row(i));
    SyncGaugeClock();
    updating_ = wasUpdating;

    unsigned shown = 0;
    for (int i = 0; i < RowCount; ++i)
        if (rows_->Shown(Row(i)))
            shown |= 1u << i;
    if (shown != laidOutRows_)
        LayoutFrame();
}

void TParameterFrame::SyncRow(Row row) {
    TParameterRow* panel = panels_[row];
    QWidget* control = panel->Control();
    control->setEnabled(rows_->Enabled(row));
    panel->ShowMark(rows_->MarkOf(row));

    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->currentIndex() != rows_->Selection(row))
            combo->setCurrentIndex(rows_->Selection(row));
        return;
    }
    const Range range = rows_->RangeOf(row);
    if (row == NominalTemperatureRow || row == ThresholdRow) {
        auto* field = static_cast<TemperatureField*>(control);
        field->setRange(range.min, range.max);
        field->setValue(rows_->Position(row));
        const int unit = std::max(rows_->Selection(TemperatureUnitRow), 0);
        if (field->Unit() != unit)
            field->SetUnit(unit);
    } else if (row == DurationRow) {
        HeatingDurationEdit->setRange(range.min, range.max);
        if (!HeatingDurationEdit->hasFocus())
            HeatingDurationEdit->setValue(rows_->Position(row));
    } else if (row == SwitchTimeRow) {
        if (HeatingStartTimePicker->time() != rows_->SwitchTime())
            HeatingStartTimePicker->setTime(rows_->SwitchTime());
    }
}

void TParameterFrame::SyncGaugeClock() {
    if (rows_->GaugeClock().isValid())
        Tessra2TimePicker->setDateTime(rows_->GaugeClock());
    const bool shown = rows_->Model() > 0 && rows_->Shown(SwitchTimeRow);
    Tessra2TimePicker->setVisible(shown);
    Tessra2TimeLabel->setVisible(shown);
    if (!rows_->GaugeClockRunning())
        Tessras2Timecounter->stop();
    else if (!Tessras2Timecounter->isActive())
        Tessras2Timecounter->start();
}

void TParameterFrame::ShowRowResult(Row row) {
    TParameterRow* panel = panels_[row];
    panel->ShowMark(rows_->MarkOf(row));
    if (panel->isVisible())
        panel->repaint();
    TheClock().SleepMs(ShowResultPauseMs);
}

// ---- the user's edits ----

void TParameterFrame::BusAddressComboBoxChange(int index) {
    if (updating_)
        return;
    rows_->EditBusAddress(index);
    SyncAll();
}

void TParameterFrame::CommunicationInterfaceComboBoxChange(int index) {
    if (updating_)
        return;
    rows_->EditInterface(index);
    SyncAll();
}

void TParameterFrame::ProtocolTypeComboBoxChange(int index) {
    if (updating_)
        return;
    rows_->EditProtocol(index);
    SyncAll();
}

void TParameterFrame::TemperatureSetComboBoxChange(int index) {
    if (updating_)
        return;
    rows_->EditTemperatureUnit(index);
    SyncAll();
}

void TParameterFrame::PrecipitationUnitComboBoxChange(int index) {
    if (updating_)
        return;
    rows_->EditListValue(PrecipitationUnitRow, index);
    SyncAll();
}

void TParameterFrame::ImpulseOutputComboBoxChange(int index) {
    if (updating_)
        return;
    rows_->EditListValue(ImpulseOutputRow, index);
    SyncAll();
}

void TParameterFrame::ImpulsOutputFactorComboboxChange(int index) {
    if (updating_)
        return;
    rows_->EditImpulseFactor(index);
    SyncAll();
}

void TParameterFrame::HeatingMainSwitchComboBoxChange(int index) {
    if (updating_)
        return;
    sequence_->ChooseHeatingMode(index);
    SyncAll();
}

void TParameterFrame::HeatingTemperatureValueEditChange(int celsius) {
    if (updating_)
        return;
    rows_->EditNominalTemperature(celsius);
    SyncAll();
}

void TParameterFrame::HeatingThresholdEditChange(int celsius) {
    if (updating_)
        return;
    rows_->EditThreshold(celsius);
    SyncAll();
}

void TParameterFrame::HeatingStartTimePickerChange() {
    if (updating_)
        return;
    rows_->EditSwitchTime(HeatingStartTimePicker->time());
    SyncAll();
}

void TParameterFrame::HeatingDurationEditChange(int minutes) {
    if (updating_)
        return;
    rows_->EditDuration(minutes);
    SyncAll();
}

void TParameterFrame::HeatingDurationEditExit() {
    if (updating_)
        return;
    if (HeatingDurationEdit->value() != rows_->Set().HeatingDuration)
        rows_->EditDuration(HeatingDurationEdit->value());
    HeatingDurationEdit->Redisplay();
    SyncAll();
}

void TParameterFrame::HeatingSelfTestComboBoxChange(int index) {
    if (updating_)
        return;
    rows_->EditSelfTest(index);
    SyncAll();
}
