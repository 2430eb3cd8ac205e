#include "precision/PrecisionTestSequence.h"

#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "precision/DecimalFormat.h"
#include "precision/WeightPlacement.h"
#include "ui/Dialogs.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WeightDialogs.h"
#include "ui/WideLanguageHandler.h"

namespace Precision {
namespace {

// Texts of the pages.
constexpr int ConnectingTextId = 11;
constexpr int SerialTextId = 19;
constexpr int FirmwareTextId = 18;
constexpr int IntensityTextId = 22;
constexpr int ExitTextId = 215;
constexpr int WelcomeTitleId = 220;
constexpr int ContinueTextId = 224;
constexpr int ProgressTextId = 227;
constexpr int StepTextId = 228;
constexpr int ReadStatusTitleId = 236;
constexpr int NoDriverTextId = 240;
constexpr int ScanningTextId = 241;
constexpr int ReadingTextId = 243;
constexpr int BucketTypeTextId = 246;
constexpr int BusAddressTextId = 247;
constexpr int NoGaugeTextId = 248;
constexpr int StatusReadTextId = 250;
constexpr int ProceedAfterStatusId = 249;
constexpr int ApplyBaseTitleId = 260;
constexpr int MeasureBaseTitleId = 288;
constexpr int DeterminesBaseTextId = 280;
constexpr int BaseDeterminedTextId = 281;
constexpr int ProceedAfterBaseId = 282;
constexpr int ApplyTestTitleId = 330;
constexpr int RecommendedWeightsTextId = 439;
constexpr int MeasureTestTitleId = 350;
constexpr int DeterminesTestTextId = 351;
constexpr int MeasuredTestTextId = 352;
constexpr int TestDeterminedTextId = 353;
constexpr int WeightRequestTitleId = 354;
constexpr int TestWeightDetailsId = 355;
constexpr int ProceedAfterTestId = 359;
constexpr int RepeatQuestionId = 358;
constexpr int EvaluationTitleId = 370;
constexpr int DetailsBelowTextId = 371;
constexpr int BaseWeightTextId = 372;
constexpr int PassedTextId = 379;
constexpr int DateTextId = 381;
constexpr int YesTextId = 300;
constexpr int NoTextId = 301;
constexpr int GramTextId = 314;
constexpr int MmTextId = 315;
constexpr int InchTextId = 316;
constexpr int FinishedTextId = 400;
constexpr int PassedMessageId = 404;
constexpr int NotPassedMessageId = 405;
constexpr int GeneratingReportId = 606;
constexpr int NoLogWrittenTextId = 764;
constexpr int FileNotWrittenTextId = 703;
constexpr int GaugeLostTextId = 940;

constexpr int WelcomeRows[] = {221, 222, 229, 219, 218, 217, 450, 451, 452, 223};
constexpr int ApplyBaseRows[] = {263, 265};
constexpr int ApplyTestRows[] = {331, 332};

constexpr double StatusPauseMs = 1500;
constexpr double AddressPauseMs = 1000;
constexpr double ReadingPauseMs = 1500;
constexpr double InformationRowPauseMs = 50;

const QString ModelPlaceholder = QStringLiteral("Axo Tessra2");
const QString LineEnd = QStringLiteral("\r\n");
const QString Indent = QStringLiteral("    ");
const QString ValueGap = QStringLiteral("      ");

QString FromBytes(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

struct PrecisionTestSequence::PageEntry {
    Page page;
    int step; // what the progress shows
    void (PrecisionTestSequence::*show)();
    void (PrecisionTestSequence::*onContinue)();
    Page back; // Page::None: Back does nothing
};

const PrecisionTestSequence::PageEntry& PrecisionTestSequence::Entry(Page page) {
    using S = PrecisionTestSequence;
    // Each page: its step, what shows it, what Continue does there, where
    // Back leads. Going back into a measuring page measures again; Back on
    // the status page reads the status again.
    static const PageEntry pages[] = {
        {Page::None, -1, nullptr, nullptr, Page::None},
        {Page::Welcome, 0, nullptr, &S::BeginTest, Page::None},
        {Page::Repeat, 1, nullptr, &S::BeginTest, Page::None},
        {Page::Status, 2, &S::StepReadStatus, &S::StepApplyBaseWeight, Page::Status},
        {Page::ApplyBase, 3, &S::StepApplyBaseWeight, &S::PlaceBaseWeight, Page::Status},
        {Page::MeasureBase, 4, &S::StepMeasureBaseWeight, &S::StepApplyTestWeight, Page::ApplyBase},
        {Page::ApplyTest, 5, &S::StepApplyTestWeight, &S::PlaceTestWeight, Page::MeasureBase},
        {Page::MeasureTest, 6, &S::StepMeasureTestWeight, &S::StepEvaluate, Page::ApplyTest},
        {Page::Evaluation, 7, &S::StepEvaluate, &S::StepFinish, Page::MeasureTest},
    };
    for (const PageEntry& entry : pages)
        if (entry.page == page)
            return entry;
    return pages[0];
}

PrecisionTestSequence::PrecisionTestSequence(TSDIHandler& gauge, PrecisionTestView& view)
    : gauge_(gauge), view_(view), logFolders_(ProgramLogFolders()),
      now_([] { return QDateTime::currentDateTime(); }) {}

int PrecisionTestSequence::Step() const {
    return Entry(page_).step;
}

PrecisionTestRecord PrecisionTestSequence::Record() const {
    return {model_, info_, evaluation_.Values, verdict_, passed_};
}

// Rows and page elements.

int PrecisionTestSequence::AddRow(RowKind kind, const QString& text) {
    PageRow row;
    row.kind = kind;
    row.caption = text;
    const QString modelName = Vocabulary::ModelName(model_);
    if (!modelName.isEmpty())
        row.caption.replace(ModelPlaceholder, modelName, Qt::CaseSensitive);
    rows_.push_back(row);
    const int index = static_cast<int>(rows_.size()) - 1;
    view_.RowAdded(index, rows_.back());
    return index;
}

void PrecisionTestSequence::ClearRows() {
    rows_.clear();
    currentRow_ = -1;
    view_.RowsCleared();
}

void PrecisionTestSequence::SetMark(int row, RowMark mark) {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    rows_[static_cast<std::size_t>(row)].mark = mark;
    view_.RowChanged(row, rows_[static_cast<std::size_t>(row)]);
}

void PrecisionTestSequence::SetValue(int row, const QString& value) {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    PageRow& r = rows_[static_cast<std::size_t>(row)];
    r.value = value;
    r.hasValue = true;
    view_.RowChanged(row, r);
}

void PrecisionTestSequence::ShowStep(Page page) {
    SetContinueCaption(ContinueTextId);
    ShowActionLabel(false);
    page_ = page;
    const int step = Step();
    view_.StepShown(step, page == Page::Welcome
                              ? QString()
                              : GetText(ProgressTextId) + u' ' + GetText(StepTextId) + u' ' +
                                    QString::number(step) + u'/' + QString::number(StepCount));
}

void PrecisionTestSequence::EnableButtons(bool continueOn, bool cancelOn, bool backOn) {
    continueOn_ = continueOn;
    cancelOn_ = cancelOn;
    backOn_ = backOn;
    view_.ButtonsChanged(continueOn_, cancelOn_, backOn_);
    view_.ProcessMessages();
}

void PrecisionTestSequence::SetTitle(const QString& title) {
    title_ = title;
    view_.TitleChanged(title_);
}

void PrecisionTestSequence::SetContinueCaption(int textId) {
    continueCaptionId_ = textId;
    view_.ContinueCaptionChanged(textId);
}

void PrecisionTestSequence::ShowActionLabel(bool shown, const QString& text) {
    actionLabelShown_ = shown;
    if (shown)
        actionLabelText_ = text;
    view_.ActionLabelChanged(shown, actionLabelText_);
}

void PrecisionTestSequence::ShowResultChart(bool shown) {
    view_.ResultChartShown(shown);
}

void PrecisionTestSequence::ShowReportButton(bool shown) {
    view_.ReportButtonShown(shown);
}

void PrecisionTestSequence::Pause(double ms) {
    TheClock().SleepMs(ms);
}

void PrecisionTestSequence::Place(PlacedWeights weights) {
    if (WeightPlacement* placement = InstalledWeightPlacement())
        placement->WeightsApplied(weights);
}

WaitResult PrecisionTestSequence::Wait(int textId) {
    return WeightDialogs().WaitForWeight(gauge_, WaitSeconds, WaitTickMs, GetText(textId));
}

void PrecisionTestSequence::WaitLostTheGauge(Page page) {
    lostPage_ = page;
    SetMark(AddRow(RowKind::Icon, GetText(GaugeLostTextId)), RowMark::Failed);
    // No evaluation on readings that never arrived: Continue stays off.
    EnableButtons(false, true, true);
}

// The welcome page and the buttons.

void PrecisionTestSequence::StartPrecisionTest(int model) {
    lostPage_ = Page::None;
    ClearRows();
    ShowResultChart(false);
    view_.ActionPanelShown(false);
    model_ = model;
    ShowReportButton(false);
    if (model == ModelTessra2S)
        view_.PictureChanged(GaugePicture::GaugeS);
    else
        view_.PictureChanged(gauge_.GetGaugeType() == 0 ? GaugePicture::Gauge200
                                                        : GaugePicture::Gauge400);
    weightUnit_ = UnitGram;
    ShowStep(Page::Welcome);
    EnableButtons(false, false, false);
    SetTitle(GetText(WelcomeTitleId));
    for (const int id : WelcomeRows)
        AddRow(RowKind::Text, GetText(id));
    evaluation_.ClearValues();
    EnableButtons(true, true, false);
    view_.Translate();
    view_.ActionPanelShown(true);
}

void PrecisionTestSequence::ContinueButtonClick() {
    const PageEntry& entry = Entry(page_);
    if (entry.step > 0) {
        backOn_ = true;
        view_.ButtonsChanged(continueOn_, cancelOn_, backOn_);
    }
    if (entry.onContinue != nullptr)
        (this->*entry.onContinue)();
}

void PrecisionTestSequence::BackButtonClick() {
    if (lostPage_ != Page::None) {
        const Page lost = lostPage_;
        lostPage_ = Page::None;
        ShowPage(lost);
        return;
    }
    continueOn_ = true;
    view_.ButtonsChanged(continueOn_, cancelOn_, backOn_);
    ShowPage(Entry(page_).back);
}

void PrecisionTestSequence::ShowPage(Page page) {
    if (const auto show = Entry(page).show)
        (this->*show)();
}

void PrecisionTestSequence::BeginTest() {
    StartRecordingReadings();
    StepReadStatus();
}

void PrecisionTestSequence::PlaceBaseWeight() {
    Place(PlacedWeights::Base);
    StepMeasureBaseWeight();
}

void PrecisionTestSequence::PlaceTestWeight() {
    Place(PlacedWeights::BaseAndTest);
    StepMeasureTestWeight();
}

void PrecisionTestSequence::AbortButtonClick() {
    // The gauge stays in its test mode; the main window's connection watch
    // finds the link closed and hides the work areas.
    readings_.reset();
    gauge_.Disconnect();
}

void PrecisionTestSequence::StartRecordingReadings() {
    readings_.reset(); // the recording before gives the installed trace back first
    readings_ = std::make_unique<RecordedTrace>(TheClock().NowMs());
}

void PrecisionTestSequence::ShowPDFButtonClick() {
    view_.BuildReport(verdict_);
}

// Step 2: status.

void PrecisionTestSequence::ReadGaugeInformation() {
    info_.firmwareVersion = FromBytes(gauge_.GetFirmwareVersion());
    info_.gaugeType = gauge_.GetGaugeType();
    if (Vocabulary::IsGaugeType(info_.gaugeType))
        info_.gaugeTypeName = Vocabulary::GaugeTypeText(info_.gaugeType);
    info_.serialNumber = FromBytes(gauge_.GetSerialNumber());
    info_.intensityUnit = gauge_.GetIntensityUnit();
    info_.intensityUnitName = Vocabulary::IntensityUnitText(info_.intensityUnit);
    info_.temperatureUnit = gauge_.GetTemperatureUnit();
    info_.temperatureUnitName = Vocabulary::TemperatureUnitText(info_.temperatureUnit);
    info_.hardwareIndex = FromBytes(gauge_.GetHardwareIndex());
    evaluation_.GaugeType = info_.gaugeType;
    evaluation_.IntensityUnit = info_.intensityUnit;
}

void PrecisionTestSequence::InformationRow(RowKind kind, const QString& label, const QString& value,
                                           bool ok) {
    const int row = AddRow(kind, Indent + label + ValueGap + value);
    Pause(InformationRowPauseMs);
    SetMark(row, ok ? RowMark::Success : RowMark::Failed);
}

void PrecisionTestSequence::StepReadStatus() {
    ClearRows();
    verdict_.clear();
    passed_ = false;
    ShowReportButton(false);
    ShowStep(Page::Status);
    EnableButtons(false, false, false);
    evaluation_.ClearValues();
    ShowResultChart(false);
    view_.BusyCursor(true);
    SetContinueCaption(ContinueTextId);
    info_.gaugeTypeName = QStringLiteral("N/A");

    SetTitle(GetText(ReadStatusTitleId));
    AddRow(RowKind::Text, GetText(237));
    AddRow(RowKind::Text, GetText(238));
    Pause(StatusPauseMs);

    const int connection = AddRow(RowKind::Icon, QStringLiteral(" > ") + GetText(ConnectingTextId));
    if (!gauge_.Connect()) {
        SetMark(connection, RowMark::Failed);
        AddRow(RowKind::Text, GetText(NoDriverTextId));
        view_.BringToFront();
        ShowMessageDialog(GetText(NoDriverTextId), MsgKind::Error, MsgButtons::Ok);
        EnableButtons(false, true, true);
    } else {
        SetMark(connection, RowMark::Success);
        const int scanning = AddRow(RowKind::Icon, GetText(ScanningTextId));
        Pause(AddressPauseMs);
        if (gauge_.QueryAddress().empty()) {
            AddRow(RowKind::Text, GetText(NoGaugeTextId));
            EnableButtons(false, true, true);
        } else {
            SetMark(scanning, RowMark::Success);
            AddRow(RowKind::Text, GetText(ReadingTextId));
            Pause(ReadingPauseMs);
            ReadGaugeInformation();
            gauge_.StartTestMode();

            const GaugeInformation& g = info_;
            InformationRow(RowKind::Icon, GetText(SerialTextId),
                           g.serialNumber + QStringLiteral(" / ") + g.hardwareIndex,
                           !g.serialNumber.isEmpty() && !g.hardwareIndex.isEmpty());
            InformationRow(RowKind::Text, GetText(FirmwareTextId), g.firmwareVersion,
                           !g.firmwareVersion.isEmpty());
            InformationRow(RowKind::Text, GetText(BucketTypeTextId), g.gaugeTypeName,
                           !g.gaugeTypeName.isEmpty());
            const QString address = FromBytes(gauge_.Address);
            InformationRow(RowKind::Text, GetText(BusAddressTextId), address, !address.isEmpty());
            InformationRow(RowKind::Text, GetText(IntensityTextId), g.intensityUnitName,
                           !g.intensityUnitName.isEmpty());
            AddRow(RowKind::Text, GetText(StatusReadTextId));
            AddRow(RowKind::Text, GetText(ProceedAfterStatusId));
            EnableButtons(true, true, false);
        }
    }
    view_.BusyCursor(false);
}

// Steps 3 to 6: the weights.

void PrecisionTestSequence::StepApplyBaseWeight() {
    ClearRows();
    ShowStep(Page::ApplyBase);
    EnableButtons(false, false, false);
    SetTitle(GetText(ApplyBaseTitleId));
    for (const int id : ApplyBaseRows)
        AddRow(RowKind::Text, GetText(id));
    EnableButtons(true, true, true);
}

void PrecisionTestSequence::StepMeasureBaseWeight() {
    ClearRows();
    ShowStep(Page::MeasureBase);
    EnableButtons(false, false, false);
    SetTitle(GetText(MeasureBaseTitleId));
    AddRow(RowKind::Text, GetText(DeterminesBaseTextId));
    // After gauge errors the wait yields 0, which is taken like any reading.
    const WaitResult result = Wait(DeterminesBaseTextId);
    if (result.gaugeLost) {
        WaitLostTheGauge(Page::MeasureBase);
        return;
    }
    evaluation_.SetBaseWeight(result.mean);
    AddRow(RowKind::Text, GetText(BaseDeterminedTextId));
    AddRow(RowKind::Text, GetText(ProceedAfterBaseId));
    EnableButtons(true, true, true);
}

void PrecisionTestSequence::StepApplyTestWeight() {
    ShowStep(Page::ApplyTest);
    EnableButtons(false, false, false);
    ClearRows();
    SetTitle(GetText(ApplyTestTitleId));
    for (const int id : ApplyTestRows)
        AddRow(RowKind::Text, GetText(id));
    ShowActionLabel(true, GetText(RecommendedWeightsTextId));
    EnableButtons(true, true, true);
}

void PrecisionTestSequence::StepMeasureTestWeight() {
    ClearRows();
    SetTitle(GetText(MeasureTestTitleId));
    currentRow_ = AddRow(RowKind::Icon, GetText(TestWeightDetailsId));

    const WeightEntry entry = WeightDialogs().RequestWeight(
        GetText(WeightRequestTitleId), GetText(TestWeightDetailsId), weightUnit_);
    weightUnit_ = entry.unit;
    if (entry.weight > 0) {
        PageRow& row = rows_[static_cast<std::size_t>(currentRow_)];
        row.caption += u' ' + FormatUpTo(entry.weight, 5) + u' ' + GetText(GramTextId + entry.unit);
        view_.RowChanged(currentRow_, row);
        SetMark(currentRow_, RowMark::Success);
    } else {
        SetMark(currentRow_, RowMark::Failed);
    }

    ShowStep(Page::MeasureTest);
    ShowActionLabel(false);
    evaluation_.SetTestWeight(entry.unit, entry.weight);

    AddRow(RowKind::Icon, GetText(DeterminesTestTextId));
    view_.ProcessMessages();
    const WaitResult result = Wait(DeterminesTestTextId);
    if (result.gaugeLost) {
        WaitLostTheGauge(Page::MeasureTest);
        return;
    }
    evaluation_.SetTotalWeight(result.mean);

    const PrecisionTestValues& v = evaluation_.Values;
    AddRow(RowKind::Text, GetText(TestDeterminedTextId));
    AddRow(RowKind::Text,
           QStringLiteral("  ") + GetText(MeasuredTestTextId) + FormatFixed(v.MeasuredTestGram, 2) +
               QStringLiteral("  ") + GetText(GramTextId) + u' ' +
               FormatFixed(v.MeasuredTestMm, 2) + QStringLiteral("  ") + GetText(MmTextId) + u' ' +
               FormatFixed(v.MeasuredTestInch, 4) + QStringLiteral("  ") + GetText(InchTextId));
    AddRow(RowKind::Text, GetText(ProceedAfterTestId));
    EnableButtons(true, true, true);
}

// Step 7: the evaluation.

void PrecisionTestSequence::ShowResultRows(const QString& verdict, const QDateTime& t) {
    const PrecisionTestValues& v = evaluation_.Values;
    const std::pair<int, QString> head[] = {
        {DateTextId, t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
        {SerialTextId, info_.serialNumber},
        {FirmwareTextId, info_.firmwareVersion},
        {IntensityTextId, info_.intensityUnitName},
    };
    for (const auto& [label, value] : head)
        SetValue(AddRow(RowKind::Text, GetText(label)), value);
    for (const WeightResultRow& row : WeightResultRows(v))
        SetValue(AddRow(RowKind::Text, GetText(row.labelTextId)), row.value);
    SetValue(AddRow(RowKind::Text, GetText(BaseWeightTextId)),
             FormatWeightTriple(v.BaseGram, v.BaseMm, v.BaseInch));
    const int passed = AddRow(RowKind::Icon, GetText(PassedTextId));
    SetValue(passed, verdict);
    SetMark(passed, passed_ ? RowMark::Success : RowMark::Failed);
}

void PrecisionTestSequence::ShowToleranceChart() {
    const PrecisionTestValues& v = evaluation_.Values;
    if (evaluation_.InchMode())
        chart_ = {v.PermittedInch, v.DeviationInch, GetText(InchTextId)};
    else
        chart_ = {v.PermittedMm, v.DeviationMm, GetText(MmTextId)};
    view_.ToleranceChartChanged(chart_);
}

void PrecisionTestSequence::WriteLog(const QString& verdict) {
    PrecisionTestRecord record = Record();
    record.verdict = verdict;
    QByteArray trace;
    if (readings_ != nullptr) {
        const QString header = QStringLiteral("# SDI-12 traffic of the accuracy test of gauge ") +
                               info_.serialNumber + QStringLiteral(", ") +
                               now_().toString(Qt::ISODate) + u'\n';
        trace = header.toUtf8() + QByteArray::fromStdString(readings_->Text());
        readings_.reset();
    }
    const LogWriteResult written = WriteTestLog(record, now_(), logFolders_, trace);
    logFilePath_ = written.path;
    traceFilePath_ = written.tracePath;
    if (!written.Written()) {
        // Nothing is lost but the log: the evaluation goes on.
        QStringList lines;
        for (const QString& path : written.failed)
            lines << GetText(FileNotWrittenTextId).arg(path);
        view_.BringToFront();
        ShowMessageDialog(lines.join(LineEnd), MsgKind::Error, MsgButtons::Ok);
    }
}

void PrecisionTestSequence::KeepInLogbook() {
    PrecisionTestRecord record = Record();
    record.verdict = verdict_;
    const GaugeIdentity gauge{info_.serialNumber, info_.hardwareIndex, record.model,
                              info_.firmwareVersion};
    ReportToLogbook(PrecisionTestDone(
        gauge, {TestLogValues(record), passed_, logFilePath_, QString(), traceFilePath_}));
}

void PrecisionTestSequence::StepEvaluate() {
    ClearRows();
    ShowStep(Page::Evaluation);
    EnableButtons(false, false, false);
    ShowActionLabel(false);
    ShowResultChart(true);
    const QDateTime t = now_();
    SetTitle(GetText(EvaluationTitleId));
    AddRow(RowKind::Text, GetText(DetailsBelowTextId));

    passed_ = evaluation_.TestPassed();
    verdict_ = passed_ ? GetText(YesTextId) : GetText(NoTextId);
    ShowResultRows(verdict_, t);
    ShowToleranceChart();
    WriteLog(verdict_);
    KeepInLogbook();
    if (passed_)
        ShowMessageDialog(GetText(PassedMessageId), MsgKind::Information, MsgButtons::Ok);
    else
        ShowMessageDialog(GetText(NotPassedMessageId), MsgKind::Error, MsgButtons::Ok);

    AddRow(RowKind::Text, GetText(GeneratingReportId));
    view_.BuildReport(verdict_);
    ShowReportButton(true);
    EnableButtons(true, false, false);
    SetContinueCaption(ExitTextId);
}

void PrecisionTestSequence::StepFinish() {
    ClearRows();
    page_ = Page::None;
    ShowResultChart(false);
    const MsgResult repeat =
        ShowMessageDialog(GetText(RepeatQuestionId), MsgKind::Confirmation, MsgButtons::YesNo);
    if (repeat == MsgResult::Yes) {
        page_ = Page::Repeat;
        ContinueButtonClick();
        return;
    }
    view_.BringToFront();
    const QString where = logFilePath_.isEmpty() ? GetText(NoLogWrittenTextId)
                                                 : GetText(FinishedTextId) + LineEnd + logFilePath_;
    ShowMessageDialog(where, MsgKind::Information, MsgButtons::Ok);
    gauge_.StopTestMode();
    ClearRows();
    view_.AreaHidden();
}

} // namespace Precision
