#include "app/ProgramMain.h"

#include "app/CommandLine.h"
#include "app/DiagnosedAdapters.h"
#include "app/Main.h"
#include "app/PrecisionTestWindows.h"
#include "app/StartupProbe.h"
#include "app/TestReport.h"
#include "logbook/ProgramLogbook.h"
#include "sim/ProgramAdapters.h"
#include "ui/Dialogs.h"
#include "ui/InterfaceFont.h"
#include "ui/PanelButton.h"
#include "ui/ProgramTrace.h"
#include "ui/WideLanguageHandler.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

int PrintHelpOrVersion(const QStringList& arguments) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (parsed.options.version && !parsed.options.help)
        std::printf("%s\n", qPrintable(VersionText()));
    else
        std::printf("%s", qPrintable(UsageText()));
    return 0;
}

} // namespace

int RunProgram(int argc, char** argv, const ProgramShownHook& shown) {
    QElapsedTimer sinceStart;
    sinceStart.start();

    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments.append(QString::fromLocal8Bit(argv[i]));
    // Before the window system starts, so that both work without a display.
    if (AsksForHelpOrVersion(rawArguments))
        return PrintHelpOrVersion(rawArguments);

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(LanguageStore::Organisation));
    QCoreApplication::setApplicationName(QString::fromLatin1(LanguageStore::Application));
    // The installed desktop entry, so that the desktop shows its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.axo_gauges.tessra2"));
    // Before any window is built: the layouts' sizes fit this font's width.
    UseInterfaceFont();

    const ParsedCommandLine parsed = ParseCommandLine(app.arguments().mid(1));
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "tessra2: %s\n\n%s", qPrintable(parsed.error),
                     qPrintable(UsageText()));
        return 2;
    }
    const ProgramOptions& options = parsed.options;

    LoadLanguageFiles();
    InstallGaugeTextSource();
    ProgramAdapters adapters(AdapterChoiceOf(options));
    // A failed connection to real adapters names what the system is doing wrong.
    const DiagnosedAdapters diagnosed(adapters);
    // The precision test's wait dialog and weight entry; with simulated
    // gauges, Continue on the weight pages puts the weights on their buckets.
    ProgramWeightDialogs weightDialogs;
    std::unique_ptr<SimulatedWeightPlacement> weightPlacement;
    if (adapters.Simulation() != nullptr)
        weightPlacement = std::make_unique<SimulatedWeightPlacement>(*adapters.Simulation());
    std::unique_ptr<TestReport> report;
    if (options.testReport)
        report = std::make_unique<TestReport>();

    // The logbook, and the team server given now or kept from an earlier run.
    const TeamServerChoice team = ChooseTeamServer(options.teamLogbook, TeamServerSetting());
    if (!team.error.isEmpty()) {
        std::fprintf(stderr, "tessra2: %s\n", qPrintable(team.error));
        if (options.teamLogbook)
            return 2;
    }
    if (!team.notice.isEmpty())
        std::fprintf(stderr, "tessra2: %s\n", qPrintable(team.notice));
    ProgramLogbook::Options logbookOptions;
    logbookOptions.path = options.logbookPath;
    logbookOptions.team = team.address;
    // The logbook outlives the window, so that what the areas keep as they
    // close (a measurement run) still reaches it.
    std::optional<ProgramLogbook> logbook;
    TTessra2ParamMainForm window;
    // After the window has read the language its warnings are written in.
    std::unique_ptr<ProgramTrace> trace;
    if (!options.tracePath.isEmpty())
        trace = std::make_unique<ProgramTrace>(options.tracePath, QStringLiteral("tessra2"));
    // A logbook warning may come in the middle of a gauge operation: it is
    // shown beside the window without stopping it.
    logbook.emplace(logbookOptions, [&window](const QString& text) {
        QTimer::singleShot(
            0, &window, [text] { ShowNotice(text, MsgKind::Warning, QStringLiteral("logbook")); });
    });
    if (report)
        report->Attach(window);
    std::unique_ptr<StartupProbe> probe;
    if (options.startupTime)
        probe = std::make_unique<StartupProbe>(window, sinceStart);
    window.show();

    for (const QString& name : options.testClicks) {
        QTimer::singleShot(0, &window, [&window, name] {
            if (TAXO_TTNTPanel* tile = window.TileNamed(name))
                window.Navigate(tile);
            else if (auto* button = window.findChild<TAXO_TTNTPanelButton*>(name))
                emit button->clicked();
        });
    }
    if (shown)
        shown(window, adapters.Simulation());
    return app.exec();
}
