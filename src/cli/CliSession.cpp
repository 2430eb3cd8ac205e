#include "cli/CliSession.h"

#include "link/SDI12IO.h"
#include "ui/WideLanguageHandler.h"

namespace {

constexpr int NotConnectedText = 91;
constexpr int SeveralAdaptersText = 803;
constexpr int NoSuchAdapterText = 804;

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
