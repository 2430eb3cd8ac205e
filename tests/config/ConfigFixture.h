#pragma once

// Fixture for the configuration and service areas: the shared work-area
// fixture, with the configuration folder set to the test's own folder.

#include "support/GaugeOnSim.h"
#include "ui/FolderSettings.h"

#include <QRegularExpression>
#include <string>
#include <vector>

using Commands = std::vector<std::string>;

class ConfigOnSim : public GaugeOnSim {
protected:
    void SetUp() override { ParamPath = folder.path() + QLatin1Char('/'); }
};

// The commands with the date and time of "ODC" (now, on the PC) replaced by "*".
inline Commands Masked(const Commands& commands) {
    static const QRegularExpression stamp(QStringLiteral("^(0ODC).*(!)$"));
    Commands masked;
    for (const std::string& command : commands)
        masked.push_back(QString::fromStdString(command)
                             .replace(stamp, QStringLiteral("\\1*\\2"))
                             .toStdString());
    return masked;
}

// A setting written inside the configuration-write bracket.
inline Commands Bracketed(const std::string& command) {
    return {"0OOE0!", "0" + command, "0OOE1!"};
}

inline Commands& operator+=(Commands& commands, const Commands& more) {
    commands.insert(commands.end(), more.begin(), more.end());
    return commands;
}
