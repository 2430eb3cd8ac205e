#pragma once

// The configuration file: section "CONFIGURATION" of an INI-style text file,
// keys in capitals. Export takes the values the rows show; import applies a
// file's values to the rows as if they had been read from the gauge, sending
// nothing but the gauge-clock query of the switching-time row.

#include "config/IniDocument.h"

#include <optional>

namespace Config {

class ConfigurationSequence;
class ParameterRows;

extern const QByteArray FileSection; // "CONFIGURATION"

// "TYPE" of a document: the gauge model it was written for, when present.
std::optional<int> FileModel(const IniDocument& document);

// Writes the keys of the rows into the document, in the file's key order,
// each under its condition. impulseFactor: the gauge offers that setting.
void ExportConfiguration(const ParameterRows& rows, bool impulseFactor, IniDocument& document);

// Applies every key after "TYPE" to the rows of the sequence, in the file's
// order, reporting each row to the sequence's view; then enables the rows.
void ImportConfiguration(const IniDocument& document, ConfigurationSequence& sequence);

} // namespace Config
