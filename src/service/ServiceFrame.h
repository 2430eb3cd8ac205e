#pragma once

// Service work area: reset of the accumulated total, factory reset, and the
// program's version information.
//
// Public interface used by the main window; the service helper owns the rest.

#include "config/ParameterSet.h"
#include "ui/WorkArea.h"

#include <QStringList>
#include <QWidget>
#include <functional>

class TSDIHandler;
class TParameterFrame;
class TAXO_TTNTPanelButton;
class ImageControl;
class QFrame;
class QLabel;

class TServiceFrame : public QWidget, public WorkArea {
    Q_OBJECT
public:
    // showConfiguration switches the main window to the configuration work
    // area exactly as a click on its tile does and returns that area.
    TServiceFrame(TSDIHandler& gauge, std::function<TParameterFrame*()> showConfiguration,
                  QWidget* parent = nullptr);
    ~TServiceFrame() override;

    void ShowServiceArea(int model);
    void RefreshServiceTexts();

    // WorkArea
    void ShowArea(int model) override { ShowServiceArea(model); }
    void TranslateArea() override { RefreshServiceTexts(); }
    QWidget* AreaWidget() override { return this; }
    void ResetNrtButtonClick();
    void FactoryResetButtonClick();

    const ParameterSet& FactorySet() const;

    // The factory set of a model (its heating mode before the question of model 0).
    static ParameterSet FactoryParameters(int model, const ParameterSet& previous);
    // The lines of the factory confirmation for set; impulseFactor: the gauge
    // offers that setting.
    static QStringList FactoryLines(const ParameterSet& set, bool impulseFactor);
    // The fixed acknowledgement of the library behind the report's preview,
    // printing and PDF export (the same in every language).
    static QString LibraryAcknowledgement();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowVersionInfo();
    void LayoutArea();

    TSDIHandler& gauge_;
    std::function<TParameterFrame*()> showConfiguration_;
    int model_ = 0;
    ParameterSet factory_;

    QFrame* ActionPanel = nullptr;
    QFrame* ResetNrtRow = nullptr;
    QLabel* ResetNrtLabel = nullptr;
    TAXO_TTNTPanelButton* ResetNrtButton = nullptr;
    QFrame* FactoryResetRow = nullptr;
    QLabel* FactoryResetLabel = nullptr;
    TAXO_TTNTPanelButton* FactoryResetButton = nullptr;
    QFrame* InfoPanel = nullptr;
    ImageControl* LogoImage = nullptr;
    QLabel* TitleLabel = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* CopyrightLabel = nullptr;
    QLabel* MPLLabel = nullptr;
};
