#include "config/ParameterFrame.h"

#include "config/ConfigurationSequence.h"
#include "ui/FrameStyle.h"
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

// The control a setting is shown and edited with.
QWidget* MakeControl(const Setting& setting) {
    switch (setting.kind) {
    case Control::AddressList:
    case Control::List:
        return MakeList(setting.control);
    case Control::Temperature:
        return MakeField<TemperatureField>(setting.control);
    case Control::Minutes:
        return MakeField<DurationField>(setting.control);
    case Control::Time:
        break;
    }
    auto* picker = MakeField<QTimeEdit>(setting.control);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
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
    for (const Setting& setting : Settings()) {
        TParameterRow* panel =
            new TParameterRow(QString::fromLatin1(setting.panel), setting.label, this);
        panel->SetControl(MakeControl(setting), setting.kind == Control::Time
                                                    ? TParameterRow::PickerWidth
                                                    : TParameterRow::ListWidth);
        panels_[setting.row] = panel;
    }

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
    for (const Setting& setting : Settings()) {
        const Row row = setting.row;
        QWidget* control = panels_[row]->Control();
        switch (setting.kind) {
        case Control::AddressList:
        case Control::List:
            connect(static_cast<QComboBox*>(control), &QComboBox::currentIndexChanged, this,
                    [this, row](int index) { ControlChange(row, index); });
            break;
        case Control::Temperature:
        case Control::Minutes:
            connect(static_cast<QSpinBox*>(control), &QSpinBox::valueChanged, this,
                    [this, row](int value) { ControlChange(row, value); });
            if (setting.kind == Control::Minutes)
                connect(static_cast<QSpinBox*>(control), &QSpinBox::editingFinished, this,
                        [this, row] { MinutesFieldLeft(row); });
            break;
        case Control::Time:
            connect(static_cast<QTimeEdit*>(control), &QTimeEdit::timeChanged, this,
                    &TParameterFrame::TimeChange);
            break;
        }
    }
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
    for (TParameterRow* panel : panels_) {
        if (auto* temperature = qobject_cast<TemperatureField*>(panel->Control()))
            temperature->Redisplay();
        else if (auto* minutes = qobject_cast<DurationField*>(panel->Control()))
            minutes->Redisplay();
    }
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

    const Range range = rows_->RangeOf(row);
    switch (SettingOf(row).kind) {
    case Control::AddressList:
    case Control::List: {
        auto* combo = static_cast<QComboBox*>(control);
        if (combo->currentIndex() != rows_->Selection(row))
            combo->setCurrentIndex(rows_->Selection(row));
        break;
    }
    case Control::Temperature: {
        auto* field = static_cast<TemperatureField*>(control);
        field->setRange(range.min, range.max);
        field->setValue(rows_->Position(row));
        const int unit = std::max(rows_->Selection(TemperatureUnitRow), 0);
        if (field->Unit() != unit)
            field->SetUnit(unit);
        break;
    }
    case Control::Minutes: {
        auto* field = static_cast<DurationField*>(control);
        field->setRange(range.min, range.max);
        if (!field->hasFocus())
            field->setValue(rows_->Position(row));
        break;
    }
    case Control::Time: {
        auto* picker = static_cast<QTimeEdit*>(control);
        if (picker->time() != rows_->SwitchTime())
            picker->setTime(rows_->SwitchTime());
        break;
    }
    }
}

void TParameterFrame::SyncGaugeClock() {
    if (rows_->GaugeClock().isValid())
        Tessra2TimePicker->setDateTime(rows_->GaugeClock());
    const bool shown = rows_->Shown(SwitchTimeRow);
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

void TParameterFrame::ControlChange(Row row, int value) {
    if (updating_)
        return;
    sequence_->Edit(row, value);
    SyncAll();
}

void TParameterFrame::TimeChange(const QTime& time) {
    if (updating_)
        return;
    rows_->EditSwitchTime(time);
    SyncAll();
}

void TParameterFrame::MinutesFieldLeft(Row row) {
    if (updating_)
        return;
    // What was typed is read when the field is left.
    auto* field = static_cast<DurationField*>(panels_[row]->Control());
    if (field->value() != rows_->Set().*SettingOf(row).field)
        sequence_->Edit(row, field->value());
    field->Redisplay();
    SyncAll();
}
