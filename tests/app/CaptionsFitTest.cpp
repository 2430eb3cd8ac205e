// Every caption of the windows fits its control in each of the six
// languages, in the font the program takes at start: labels, tiles, panel
// buttons, buttons, check boxes and group titles are as wide as their text,
// and word-wrapped labels as high as their wrapped lines.

#include "AppFixture.h"
#include "app/WaitForm.h"
#include "config/ParameterFrame.h"
#include "measurement/CompareChartForm.h"
#include "precision/GuidedPrecisionTestFrame.h"
#include "precision/ReportPreviewForm.h"
#include "precision/WeightRequestForm.h"
#include "support/ScriptedWeightDialogs.h"
#include "support/SimWeightPlacement.h"
#include "ui/Dialogs.h"
#include "ui/InterfaceFont.h"
#include "ui/LanguageSelectionForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <optional>

namespace {

using Main = TTessra2ParamMainForm;

// Texts the precision test hands to its wait dialog and weight entry, and
// a message that names its cause at length.
constexpr int WaitTextId = 280;
constexpr int WeightTitleId = 354;
constexpr int WeightPromptId = 355;
constexpr int MessageTextId = 211;

constexpr std::array Languages = {OffsetGerman,  OffsetEnglish, OffsetFrench,
                                  OffsetSpanish, OffsetRussian, OffsetTurkish};

// The program's font for the duration of a test.
class InterfaceFontScope {
public:
    InterfaceFontScope() : saved_(QApplication::font()) { applied_ = UseInterfaceFont(); }
    ~InterfaceFontScope() { QApplication::setFont(saved_); }
    InterfaceFontScope(const InterfaceFontScope&) = delete;
    InterfaceFontScope& operator=(const InterfaceFontScope&) = delete;
    bool Applied() const { return applied_; }

private:
    QFont saved_;
    bool applied_ = false;
};

QString PathOf(const QWidget* widget) {
    QStringList names;
    for (const QObject* o = widget; o != nullptr; o = o->parent()) {
        const QString name = o->objectName();
        names.prepend(name.isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : name);
    }
    return names.join(u'/');
}

QString Describe(const QWidget* widget, const QString& text, const QSize& needed,
                 const QSize& available) {
    return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
        .arg(PathOf(widget), text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(available.width())
        .arg(available.height());
}

// A label's text against the rectangle QLabel draws it in.
std::optional<QString> CutLabel(const QLabel* label) {
    const QString text = label->text();
    if (text.isEmpty() || Qt::mightBeRichText(text) || label->textFormat() == Qt::RichText)
        return std::nullopt;
    const QFontMetrics metrics = label->fontMetrics();
    const int margin = label->margin();
    QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0)
        indent = metrics.horizontalAdvance(u'x') / 2;
    if (indent > 0) {
        if (label->alignment() & Qt::AlignLeft)
            room.setLeft(room.left() + indent);
        else if (label->alignment() & Qt::AlignRight)
            room.setRight(room.right() - indent);
    }
    const bool wrapped = label->wordWrap();
    const int flags = int(label->alignment()) | (wrapped ? Qt::TextWordWrap : 0);
    const QSize needed = metrics.boundingRect(room, flags, text).size();
    // A single line is checked by its width: its height is the row's design.
    const bool checkHeight = wrapped || text.contains(u'\n');
    if (needed.width() > room.width() || (checkHeight && needed.height() > room.height()))
        return Describe(label, text, needed, room.size());
    return std::nullopt;
}

// A button's or check box's text against the part of it the style gives
// the text.
std::optional<QString> CutButton(const QAbstractButton* button) {
    const QString text = button->text();
    if (text.isEmpty())
        return std::nullopt;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button) != nullptr)
        element = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(button) != nullptr)
        element = QStyle::SE_RadioButtonContents;
    const QRect room = button->style()->subElementRect(element, &option, button);
    const QSize needed = button->fontMetrics().size(Qt::TextShowMnemonic, text);
    if (needed.width() > room.width())
        return Describe(button, text, needed, room.size());
    return std::nullopt;
}

std::optional<QString> CutGroupTitle(const QGroupBox* group) {
    const QString title = group->title();
    if (title.isEmpty())
        return std::nullopt;
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = title;
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect frame = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxFrame, group);
    const QSize needed = group->fontMetrics().size(Qt::TextShowMnemonic, title);
    if (needed.width() > frame.width())
        return Describe(group, title, needed, frame.size());
    return std::nullopt;
}

// Every visible caption under top (top included) that its control cuts.
QStringList CutCaptions(QWidget* top) {
    // Layouts and resizes that a change of texts asked for.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
    QStringList cuts;
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (const QWidget* widget : widgets) {
        if (!widget->isVisible())
            continue;
        std::optional<QString> cut;
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            cut = CutLabel(label);
        else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            cut = CutButton(button);
        else if (const auto* group = qobject_cast<const QGroupBox*>(widget))
            cut = CutGroupTitle(group);
        if (cut)
            cuts << QStringLiteral("[%1] %2").arg(LanguageOffset).arg(*cut);
    }
    return cuts;
}

class CaptionsFit : public AppOnSim, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        if (!font.Applied())
            GTEST_SKIP() << "none of the interface fonts is installed: "
                         << InterfaceFontFamilies().join(u", ").toStdString();
        AppOnSim::SetUp();
    }

    // Steps the window through the six languages (F3), gathering what is cut.
    void InEveryLanguage(const std::function<QStringList()>& check, QStringList& cuts) {
        for (std::size_t i = 0; i < Languages.size(); ++i) {
            cuts << check();
            window->FormKeyDown(Qt::Key_F3);
        }
    }

    InterfaceFontScope font;
};

TEST_P(CaptionsFit, EveryAreaOfTheMainWindow) {
    AddGauge(GetParam());
    MakeWindow(OffsetGerman);
    QStringList cuts;
    InEveryLanguage([&] { return CutCaptions(window.get()); }, cuts);
    ConnectAndRead();
    for (int tile = 0; tile < Main::TileCount; ++tile) {
        window->Navigate(Tile(tile));
        InEveryLanguage([&] { return CutCaptions(window.get()); }, cuts);
    }
    // The clock panel of the connection area.
    window->Navigate(Tile(Main::ConnectTile));
    window->ConnectionArea->AdjustTimeButtonClick();
    InEveryLanguage([&] { return CutCaptions(window.get()); }, cuts);
    EXPECT_TRUE(cuts.isEmpty()) << cuts.join(u'\n').toStdString();
}

TEST_P(CaptionsFit, EveryPageOfThePrecisionTest) {
    SimGauge& gauge = AddGauge(GetParam());
    ScriptedWeightDialogs weights{clock};
    weights.QueueEntry({1000, 0});
    SimWeightPlacement hand{gauge, 2500.0, 1000.0};
    MakeWindow(OffsetGerman);
    ConnectAndRead();
    Precision::PrecisionTestSequence& sequence = window->PrecisionArea->Sequence();
    sequence.SetLogFolders({folder.path(), folder.path()});
    // The report's preview is a dialog of its own, walked below.
    window->PrecisionArea->ShowReport = [](const Precision::ReportContent&) {};
    window->Navigate(Tile(Main::PrecisionTile));
    QStringList cuts;
    int pages = 0;
    for (int step = -1; step != sequence.Step(); ++pages) {
        step = sequence.Step();
        InEveryLanguage([&] { return CutCaptions(window.get()); }, cuts);
        window->PrecisionArea->ContinueButtonClick();
    }
    EXPECT_GE(pages, Precision::PrecisionTestSequence::StepCount);
    EXPECT_TRUE(cuts.isEmpty()) << cuts.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Models, CaptionsFit, ::testing::Values(0, 1, 2));

// The windows that open over the main window, each shown in every language.
class DialogCaptionsFit : public CaptionsFit {
protected:
    template <typename Make> void InEveryLanguageShown(Make make, QStringList& cuts) {
        for (const int language : Languages) {
            LanguageScope scope(language);
            std::unique_ptr<QWidget> dialog = make();
            dialog->show();
            cuts << CutCaptions(dialog.get());
        }
    }
};

TEST_F(DialogCaptionsFit, EveryDialog) {
    AddGauge(0);
    AddGauge(1);
    AddGauge(2);
    MakeWindow(OffsetGerman);
    QStringList cuts;
    InEveryLanguageShown([&] { return std::make_unique<TConnectForm>(window.get()); }, cuts);
    InEveryLanguageShown([&] { return std::make_unique<TLanguageSelectionForm>(window.get()); },
                         cuts);
    InEveryLanguageShown(
        [&] {
            auto form = std::make_unique<TWaitForm>(window->Gauge(), window.get());
            form->StartWait(120, 1000, GetText(WaitTextId));
            return form;
        },
        cuts);
    InEveryLanguageShown(
        [&] {
            auto form = std::make_unique<TWeightRequestForm>(window.get());
            form->SetupWeightRequest(GetText(WeightTitleId), GetText(WeightPromptId), 0);
            return form;
        },
        cuts);
    InEveryLanguageShown(
        [&] {
            return std::make_unique<TReportPreviewForm>(Precision::ReportContent{}, window.get());
        },
        cuts);
    InEveryLanguageShown([&] { return std::make_unique<TCompareChartForm>(window.get()); }, cuts);
    // The message dialog, as a notice that waits for nobody.
    RealDialogProvider real;
    for (const int language : Languages) {
        LanguageScope scope(language);
        real.Notice(GetText(MessageTextId), MsgKind::Warning, QStringLiteral("captions"));
        QPointer<QWidget> notice;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("NoticeBox") && top->isVisible())
                notice = top;
        ASSERT_FALSE(notice.isNull());
        cuts << CutCaptions(notice);
        real.WithdrawNotice(QStringLiteral("captions"));
    }
    EXPECT_TRUE(cuts.isEmpty()) << cuts.join(u'\n').toStdString();
}

} // namespace
