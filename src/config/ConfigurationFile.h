#pragma once

// The configuration file: section "CONFIGURATION" of an INI-style text file,
// keys in capitals. Export takes the values the rows show; import applies a
// file's values to the rows as if they had been read from the gauge, sending
// nothing but the gauge-clock query of the switching-time row.

#include "config/IniDocument.h"
#include "config/ParameterRows.h"

#include <QJsonObject>
#include <QString>
#include <optional>

namespace Config {

class ConfigurationSequence;

extern const QByteArray FileSection; // "CONFIGURATION"

// "TYPE" of a document: the gauge model it was written for, when present.
std::optional<int> FileModel(const IniDocument& document);

// Writes the keys of the rows into the document, in the file's key order:
// a setting the firmware decides only when offered (impulseFactor), a
// heating setting only while its row is shown, every other always.
void ExportConfiguration(const ParameterRows& rows, bool impulseFactor, IniDocument& document);

// The keys the export would write for the rows, with their values (the
// impulse factor when its row is shown), for the logbook.
QJsonObject ConfigurationValues(const ParameterRows& rows);

// Applies every key after "TYPE" of a setting the model has to the rows of
// the sequence, in the file's order, reporting each row to the sequence's
// view; then enables the rows.
void ImportConfiguration(const IniDocument& document, ConfigurationSequence& sequence);

// The export as a file: an existing file is updated in place (its other
// lines stay), a new one created. Empty when written, else the message to
// show (texts 702, 703).
QString WriteConfigurationFile(const QString& path, const ParameterRows& rows, bool impulseFactor);

// A configuration file for rows prepared for model: the document, or
// nothing and the message to show in refusal (texts 700 to 702). List
// positions of one model mean other settings on another model's lists, so
// a file of another model is refused before anything changes.
std::optional<IniDocument> ReadConfigurationFile(const QString& path, int model, QString& refusal);

} // namespace Config
