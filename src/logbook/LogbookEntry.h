#pragma once

// One entry of the logbook: what was done to which gauge, when, by whom and
// with which program. Entries are written once and never changed.

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>
#include <vector>

// What was done. The names are stored in the logbook and typed after
// "tessra2-cli logbook --kind", so they never change.
enum class LogbookKind {
    Connection,
    ConfigurationRead,
    ConfigurationWrite,
    ConfigurationExport,
    ConfigurationImport,
    ClockSet,
    ClockSync,
    TotalReset,
    FactoryReset,
    FirmwareUpdate,
    PrecisionTest,
    MeasurementRun,
};

// "connection", "config-read", ... in the order above.
QString KindName(LogbookKind kind);
std::optional<LogbookKind> KindFromName(const QString& name);
// Every kind's name, in the order above.
QStringList KindNames();

// The gauge an entry is about, as far as the program knows it.
struct GaugeIdentity {
    QString serialNumber;
    QString hardwareIndex;
    int model = -1; // GaugeModel code; -1: not known
    QString firmwareVersion;

    bool operator==(const GaugeIdentity&) const = default;
};

struct LogbookEntry {
    QUuid id;
    QDateTime timeUtc;
    GaugeIdentity gauge;
    LogbookKind kind = LogbookKind::Connection;
    QString summary; // one line, in the language of the program that wrote it
    QJsonObject details;
    QStringList files; // the files the entry refers to, absolute paths
    QString osUser;
    QString host;
    QString programVersion;

    bool operator==(const LogbookEntry&) const = default;
};

// Fills what the program knows itself, where it is still empty: a new id,
// the time now, the user and the computer, the program's version.
void CompleteEntry(LogbookEntry& entry);

// The entry's time as stored and shown: "2025-03-01T09:30:00.000Z". The
// text sorts as the time does.
QString StoredTime(const QDateTime& timeUtc);
QDateTime TimeFromStored(const QString& text);

// The entry as one JSON object with every field (tessra2-cli logbook --json).
QJsonObject EntryToJson(const LogbookEntry& entry);
