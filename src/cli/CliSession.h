#pragma once

// One run of a command: the streams, the options, the gauge handler, the
// dialogs that answer the sequences' questions, and the connection to the
// adapter and the gauge the command needs.

#include "cli/CliDialogs.h"
#include "cli/CliIo.h"
#include "cli/CliOptions.h"
#include "gauge/SDIHandler.h"

#include <QString>
#include <string>

class ProgramLogbook;

class CliSession : public AdapterChooser {
public:
    CliSession(CliIo& io, const CliOptions& options);

    CliIo& Io() { return io_; }
    QTextStream& Out() { return io_.out; }
    const CliOptions& Options() const { return options_; }
    TSDIHandler& Gauge() { return gauge_; }
    CliDialogs& Questions() { return dialogs_; }
    // The model GetModel reported when the gauge was connected.
    int Model() const { return model_; }
    // The logbook of this run (set by RunCli).
    ProgramLogbook& Logbook() { return *logbook_; }
    void SetLogbook(ProgramLogbook* logbook) { logbook_ = logbook; }

    // A message line in the chosen language.
    void Say(const QString& text);
    // Says text and returns code, for "return Fail(...)".
    int Fail(int code, const QString& text);

    // Opens the adapter the options choose (no gauge traffic). 0 or an exit code.
    int OpenAdapter();
    // Opens the adapter, finds the gauge's address and its model, as the
    // window connects. 0 or an exit code (with its message said).
    int ConnectGauge();

    // After the adapter was lost (unplugged, its line hung up): whether it
    // came back, and with which gauge.
    enum class Return { Same, Other, NotBack };
    // Looks once a second, for at most timeoutMs, whether the adapter that
    // was open is there again, with no traffic while it is away. When it
    // is, connects as ConnectGauge does and compares the gauge's serial
    // number (GaugeSerialNumber) with gaugeSerial (foundSerial: the one it
    // has). A gauge that
    // does not answer yet is looked at again a second later.
    Return AwaitReturn(const std::string& gaugeSerial, double timeoutMs, std::string& foundSerial);

    // AdapterChooser: the adapter picked by --serial.
    std::string ChooseAdapterSerial() override { return chosenSerial_; }

private:
    // Opens the adapter that was open again and finds the gauge behind it.
    bool Reopen();

    CliIo& io_;
    const CliOptions& options_;
    TSDIHandler gauge_;
    CliDialogs dialogs_;
    std::string chosenSerial_;
    int model_ = 0;
    ProgramLogbook* logbook_ = nullptr;
};
