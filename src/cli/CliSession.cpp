#include "cli/CliSession.h"

#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "ui/WideLanguageHandler.h"

#include <algorithm>

namespace {

constexpr int NotConnectedText = 91;
constexpr int SeveralAdaptersText = 803;
constexpr int NoSuchAdapterText = 804;
// How often a lost adapter is looked for.
constexpr double LookIntervalMs = 1000.0;

} // namespace

CliSession::CliSession(CliIo& io, const CliOptions& options)
    : io_(io), options_(options), dialogs_(io, options.yes) {
    gauge_.SetAdapterChooser(this);
}

void CliSession::Say(const QString& text) {
    io_.err << text << Qt::endl;
}

int CliSession::Fail(int code, const QString& text) {
    Say(text);
    return code;
}

int CliSession::OpenAdapter() {
    SDI12IO::TInfoNodeArray adapters;
    int count = 0;
    SDI12IO::EnumerateAdapters(adapters, count);
    QStringList serials;
    for (const SDI12IO::TInfoNode& node : adapters)
        if (SDI12IO::IsProgramAdapter(node.Serial()))
            serials.append(QString::fromStdString(node.Serial()));

    const QString wanted = options_.serial;
    if (!wanted.isEmpty()) {
        if (!serials.contains(wanted))
            return Fail(ExitNoAnswer, GetText(NoSuchAdapterText).arg(wanted));
    } else if (serials.size() > 1) {
        return Fail(ExitBadInput, GetText(SeveralAdaptersText).arg(serials.join(QStringLiteral(", "))));
    }
    if (serials.isEmpty())
        return Fail(ExitNoAnswer, GetText(NotConnectedText));
    chosenSerial_ = (wanted.isEmpty() ? serials.first() : wanted).toStdString();
    // Connect asks the chooser only when several adapters are listed; with
    // one it takes that one, which is then the one chosen.
    if (!gauge_.Connect())
        return Fail(ExitNoAnswer, GetText(NotConnectedText));
    return ExitSuccess;
}

int CliSession::ConnectGauge() {
    if (const int failed = OpenAdapter())
        return failed;
    if (gauge_.QueryAddress().empty())
        return Fail(ExitNoAnswer, GetText(NotConnectedText));
    model_ = gauge_.GetModel();
    return ExitSuccess;
}

bool CliSession::Reopen() {
    if (!gauge_.Reconnect() || gauge_.QueryAddress().empty())
        return false;
    model_ = gauge_.GetModel();
    return true;
}

CliSession::Return CliSession::AwaitReturn(const std::string& gaugeSerial, double timeoutMs,
                                           std::string& foundSerial) {
    foundSerial.clear();
    const std::string adapter = SDI12IO::CurrentSerial;
    // The dead port goes, so that the adapter can be opened afresh.
    gauge_.Disconnect();
    Clock& clock = TheClock();
    const double deadline = clock.NowMs() + timeoutMs;
    for (;;) {
        if (D2XXDriver::IsAdapterPresent(adapter)) {
            if (Reopen()) {
                foundSerial = gauge_.GaugeSerialNumber();
                // A gauge that is still starting may not tell its serial number yet.
                if (!foundSerial.empty() || gaugeSerial.empty())
                    return foundSerial == gaugeSerial ? Return::Same : Return::Other;
            }
            gauge_.Disconnect();
        }
        const double now = clock.NowMs();
        if (now >= deadline)
            return Return::NotBack;
        clock.SleepMs(std::min(LookIntervalMs, deadline - now));
    }
}
