#include "service/ServiceFrame.h"

#include "config/ParameterFrame.h"
#include "service/ServiceActions.h"
#include "ui/Dialogs.h"
#include "ui/FileVersionInfo.h"
#include "ui/FrameStyle.h"
#include "ui/ImageControl.h"
#include "ui/Palette.h"
#include "ui/PanelButton.h"
#include "ui/Pictures.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QFrame>
#include <QLabel>

namespace {

constexpr int Margin = 15;
constexpr int FirstRowTop = 50;
constexpr int RowHeight = 80;
constexpr int RowGap = 20;
constexpr int ActionPanelHeight = FirstRowTop + 2 * RowHeight + RowGap + 30;
constexpr int ButtonWidth = 200;
constexpr int LogoHeight = 145;
constexpr int InfoLabelHeight = 32;
constexpr int AcknowledgementHeight = 50;
constexpr int LabelPixels = 16;

QLabel* MakeLabel(QWidget* parent, const char* name, int textId, int pixels, bool bold) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(FrameStyle::PixelFont(pixels, bold));
    label->setAlignment(Qt::AlignCenter);
    label->setForegroundRole(QPalette::Text);
    if (textId > 0) {
        label->setText(GetText(textId));
        SetTag(label, textId);
    }
    return label;
}

TAXO_TTNTPanelButton* MakeButton(QWidget* parent, const char* name) {
    auto* button = new TAXO_TTNTPanelButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(FrameStyle::LabelFont());
    QPalette text = button->palette();
    text.setColor(QPalette::Active, QPalette::WindowText, Qt::white);
    text.setColor(QPalette::Inactive, QPalette::WindowText, Qt::white);
    button->setPalette(text);
    button->SetCaptionById(QString(), 33);
    SetTag(button, 33);
    return button;
}

} // namespace

TServiceFrame::TServiceFrame(TSDIHandler& gauge,
                             std::function<TParameterFrame*()> showConfiguration, QWidget* parent)
    : QWidget(parent), gauge_(gauge), showConfiguration_(std::move(showConfiguration)) {
    setObjectName(QStringLiteral("ServiceFrame"));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);

    ActionPanel = MakePanel(this, "ActionPanel", Qt::white, true);
    ResetNrtRow = new QFrame(ActionPanel);
    ResetNrtRow->setObjectName(QStringLiteral("ResetNrtRow"));
    ResetNrtLabel = MakeLabel(ResetNrtRow, "ResetNrtLabel", 30, LabelPixels, false);
    ResetNrtButton = MakeButton(ResetNrtRow, "ResetNrtButton");
    FactoryResetRow = new QFrame(ActionPanel);
    FactoryResetRow->setObjectName(QStringLiteral("FactoryResetRow"));
    FactoryResetLabel = MakeLabel(FactoryResetRow, "FactoryResetLabel", 32, LabelPixels, false);
    FactoryResetButton = MakeButton(FactoryResetRow, "FactoryResetButton");
    connect(ResetNrtButton, &TAXO_TTNTPanelButton::clicked, this,
            &TServiceFrame::ResetNrtButtonClick);
    connect(FactoryResetButton, &TAXO_TTNTPanelButton::clicked, this,
            &TServiceFrame::FactoryResetButtonClick);

    InfoPanel = MakePanel(this, "InfoPanel", Qt::white);
    LogoImage = new ImageControl(InfoPanel);
    LogoImage->setObjectName(QStringLiteral("LogoImage"));
    LogoImage->SetPicture(Pictures::LogoImage());
    // Filled once, in the language of their creation: no tags.
    TitleLabel = MakeLabel(InfoPanel, "TitleLabel", 0, LabelPixels, true);
    VersionLabel = MakeLabel(InfoPanel, "VersionLabel", 0, LabelPixels, true);
    CopyrightLabel = MakeLabel(InfoPanel, "CopyrightLabel", 0, LabelPixels, true);
    MPLLabel = new QLabel(InfoPanel);
    MPLLabel->setObjectName(QStringLiteral("MPLLabel"));
    QFont small = FrameStyle::RowFont();
    small.setPointSize(7);
    MPLLabel->setFont(small);
    MPLLabel->setWordWrap(true);
    MPLLabel->setAlignment(Qt::AlignCenter);

    ShowVersionInfo();
    factory_ = FactoryParameters(model_, factory_);
    RefreshServiceTexts();
}

TServiceFrame::~TServiceFrame() = default;

const ParameterSet& TServiceFrame::FactorySet() const {
    return factory_;
}

void TServiceFrame::ShowVersionInfo() {
    const TFileVersionInfo info;
    TitleLabel->setText(GetText(1));
    VersionLabel->setText(GetText(130) + QLatin1Char(' ') + info.ProductVersion());
    // "Copyright" and the program's copyright text, which may begin with that word itself.
    const QString copyright = info.LegalCopyright();
    const QString word = GetText(131);
    CopyrightLabel->setText(copyright.startsWith(word, Qt::CaseInsensitive)
                                ? copyright
                                : word + QLatin1Char(' ') + copyright);
}

QString TServiceFrame::LibraryAcknowledgement() {
    return QStringLiteral(
        "The report's print preview, printing and PDF export use Qt (Qt Print Support, "
        "QPdfWriter), used under the GNU Lesser General Public License version 3.\n"
        "Qt is \u00A9 The Qt Company Ltd. and other contributors; licence and source code: "
        "https://www.qt.io/licensing");
}

void TServiceFrame::ShowServiceArea(int model) {
    model_ = model;
    RefreshServiceTexts();
    factory_ = FactoryParameters(model, factory_);
    TranslateComponents(this);
}

void TServiceFrame::RefreshServiceTexts() {
    TranslateComponents(this);
    TranslateComponents(ResetNrtRow);
    TranslateComponents(FactoryResetRow);
    LayoutArea();
    MPLLabel->setText(LibraryAcknowledgement());
}

ParameterSet TServiceFrame::FactoryParameters(int model, const ParameterSet& previous) {
    return Service::FactoryParameters(model, previous);
}

QStringList TServiceFrame::FactoryLines(const ParameterSet& set, bool impulseFactor) {
    return Service::FactoryLines(set, impulseFactor);
}

void TServiceFrame::ResetNrtButtonClick() {
    Service::ResetAccumulatedTotal(gauge_);
}

void TServiceFrame::FactoryResetButtonClick() {
    std::optional<bool> heating;
    if (!Service::ConfirmFactoryReset(gauge_, model_, factory_, heating))
        return;
    TParameterFrame* configuration = showConfiguration_ ? showConfiguration_() : nullptr;
    if (configuration == nullptr)
        return;
    configuration->WriteConfiguration(factory_, true);
    Service::ReportFactoryReset(gauge_, heating);
}

void TServiceFrame::resizeEvent(QResizeEvent*) {
    LayoutArea();
}

void TServiceFrame::LayoutArea() {
    const int panelWidth = std::max(0, width() - 2 * Margin);
    ActionPanel->setGeometry(Margin, Margin, panelWidth, ActionPanelHeight);
    const auto placeRow = [panelWidth](QFrame* row, QLabel* label, QWidget* button, int top) {
        row->setGeometry(0, top, panelWidth, RowHeight);
        label->setGeometry(0, 0, panelWidth / 2, RowHeight);
        button->setGeometry(panelWidth / 2, 5, ButtonWidth, RowHeight - 10);
    };
    placeRow(ResetNrtRow, ResetNrtLabel, ResetNrtButton, FirstRowTop);
    placeRow(FactoryResetRow, FactoryResetLabel, FactoryResetButton,
             FirstRowTop + RowHeight + RowGap);

    const int infoTop = Margin + ActionPanelHeight + Margin;
    InfoPanel->setGeometry(Margin, infoTop, panelWidth, std::max(0, height() - infoTop - Margin));
    int y = Margin;
    LogoImage->setGeometry(0, y, panelWidth, LogoHeight);
    y += LogoHeight + 10;
    for (QLabel* label : {TitleLabel, VersionLabel, CopyrightLabel}) {
        label->setGeometry(0, y, panelWidth, InfoLabelHeight);
        y += InfoLabelHeight;
    }
    MPLLabel->setGeometry(10, y, std::max(0, panelWidth - 20), AcknowledgementHeight);
}
