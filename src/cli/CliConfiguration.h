#pragma once

// The configuration on the command line: the work area's rows and its read
// and write sequence without a view, and the configuration file's keys as
// text, as JSON, and as KEY=VALUE changes checked like a file's values.

#include "config/ConfigurationSequence.h"
#include "config/IniDocument.h"
#include "config/ParameterRows.h"

#include <QString>
#include <QStringList>

class TSDIHandler;

class CliConfiguration {
public:
    explicit CliConfiguration(TSDIHandler& gauge);

    // Rows prepared for model and read from the gauge, as the work area does
    // when it is opened.
    void Read(int model);
    // Writes the rows' set (force: also the heating settings of hidden rows).
    void Write(bool force);
    void Write(const ParameterSet& set, bool force);

    Config::ParameterRows& Rows() { return rows_; }
    Config::ConfigurationSequence& Sequence() { return sequence_; }

    // The file keys of the shown rows whose last transfer failed.
    QStringList FailedKeys() const;
    // The configuration file's section for the rows, as the export writes it.
    IniDocument Export(bool impulseFactor) const;
    // "KEY=VALUE" lines of the exported section, in the file's order.
    static QStringList KeyLines(const IniDocument& document);
    // One JSON object with the same keys (numbers as numbers).
    static QByteArray Json(const IniDocument& document);

    // "KEY=VALUE" words as a configuration section (without "TYPE"):
    // empty, or the message naming the word that is no known key with a
    // value of the right kind.
    static QString ParseChanges(const QStringList& changes, IniDocument& document);
    // Applies such changes to the rows as a configuration file's values.
    // Empty when every value was taken and will be written; else the message
    // why not (the rows may then hold some of the values: not to be written).
    QString ApplyChanges(const IniDocument& changes);
    // Applies a file's document; empty or the message naming refused keys.
    QString ApplyFile(const IniDocument& document);

private:
    // The message for keys of document the rows did not take.
    QString RefusedKeys(const IniDocument& document) const;

    Config::ParameterRows rows_;
    Config::ConfigurationView view_;
    Config::ConfigurationSequence sequence_;
};
