#pragma once

// The entries of the events the logbook keeps, one function per event:
// each builds the entry's details (JSON), its files and its one-line
// summary in the current language. The caller hands the entry on:
//
//     ReportToLogbook(ConfigurationWritten(gauge, {{"TEMPERATUREUNIT", "0", "1"}}));

#include "logbook/LogbookEntry.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

// A connection: the gauge's identification (the "I!" reply without its
// address) and the status rows as read, name -> value.
LogbookEntry GaugeConnected(const GaugeIdentity& gauge, const QString& identification,
                            const QJsonObject& status);

// A configuration read from the gauge: the configuration file's keys -> values.
LogbookEntry ConfigurationRead(const GaugeIdentity& gauge, const QJsonObject& values);

struct SettingChange {
    QString key; // the configuration file's key
    QString before;
    QString after;
};
// A configuration written to the gauge, with each changed key, old -> new.
LogbookEntry ConfigurationWritten(const GaugeIdentity& gauge,
                                  const std::vector<SettingChange>& changes);

// A configuration saved to a file, or loaded from one.
LogbookEntry ConfigurationExported(const GaugeIdentity& gauge, const QString& file);
LogbookEntry ConfigurationImported(const GaugeIdentity& gauge, const QString& file);

// The gauge's clock set to a chosen time, or to the computer's: its time
// before and after, as the gauge gave them.
LogbookEntry GaugeClockSet(const GaugeIdentity& gauge, const QString& before, const QString& after);
LogbookEntry GaugeClockSynchronised(const GaugeIdentity& gauge, const QString& before,
                                    const QString& after);

// The accumulated precipitation set to zero.
LogbookEntry GaugeTotalReset(const GaugeIdentity& gauge);
// The factory settings written; heatingOn: the Tessra2's heating question
// as answered (none for the models that do not ask it).
LogbookEntry GaugeFactoryReset(const GaugeIdentity& gauge, std::optional<bool> heatingOn);

enum class UpdateOutcome { Succeeded, Failed, Cancelled };
struct FirmwareUpdateFacts {
    QString image;         // the image file loaded
    QString versionBefore; // the gauge's firmware before
    QString versionAfter;  // and after (empty when it was not read)
    UpdateOutcome outcome = UpdateOutcome::Succeeded;
    QString backup; // the configuration backup saved first (empty: none)
};
LogbookEntry FirmwareUpdated(const GaugeIdentity& gauge, const FirmwareUpdateFacts& facts);

struct PrecisionTestFacts {
    // Every value of the test's log, by its name (the test's own names:
    // "DeviationMm", "PermittedMm", ...). The gauge history's chart reads
    // DeviationMm and PermittedMm, as numbers.
    QJsonObject values;
    bool passed = false;
    QString log;
    QString report; // empty when none was saved
    QString trace;
};
LogbookEntry PrecisionTestDone(const GaugeIdentity& gauge, const PrecisionTestFacts& facts);

struct MeasurementRunFacts {
    QDateTime start;
    QDateTime end;
    int records = 0;
    QString journal; // the run's journal file (empty: none)
};
LogbookEntry MeasurementRunEnded(const GaugeIdentity& gauge, const MeasurementRunFacts& facts);
