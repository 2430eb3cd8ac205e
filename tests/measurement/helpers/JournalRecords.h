#pragma once

// The records the journal tests write, numbered, so that a reader of the
// journal can tell each one's values without asking the writer.

#include "measurement/MeasurementExport.h"
#include "measurement/MeasurementValues.h"

#include <QDateTime>

#include <array>
#include <string>

// Record n: taken n seconds after 05.03.2014 14:07:09; the value of
// position i is "+<n>.<i>", the status "+0".
inline MeasurementValues NumberedRecord(int n) {
    std::array<std::string, MeasurementPositionCount> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = "+" + std::to_string(n) + "." + std::to_string(i);
    texts[8] = "+0";
    MeasurementValues::Strings strings;
    for (std::size_t i = 0; i < texts.size(); ++i)
        strings[i] = texts[i];
    const QDateTime start(QDate(2014, 3, 5), QTime(14, 7, 9));
    return MeasurementValues(DateTimeValue(start.addSecs(n)), strings);
}

// The rows as a freshly built area shows them in English, with °C and mm/h.
inline MeasurementExport::RowTexts EnglishRows() {
    const char* titles[] = {"Intensity RT ( real-time )",
                            "Accu RT/NRT",
                            "Accu NRT",
                            "Accu total NRT",
                            "Bucket RT (real-time)",
                            "Bucket NRT ( non real-time)",
                            "Temperature load cell",
                            "Heating status",
                            "Axo Tessra2 status",
                            "Internal temperature",
                            "Supply voltage",
                            "Temperature heating rim"};
    const char* units[] = {"mm/h",
                           "mm (inactive while USB connected)",
                           "mm (inactive while USB connected)",
                           "mm (inactive while USB connected)",
                           "mm",
                           "mm",
                           "°C",
                           "",
                           "",
                           "°C",
                           "V",
                           "°C"};
    MeasurementExport::RowTexts rows;
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {QStringLiteral(" ") + QString::fromUtf8(titles[i]), QString::fromUtf8(units[i])};
    return rows;
}
