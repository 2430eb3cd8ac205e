#pragma once

// The two service actions without any widget: the reset of the accumulated
// total and the factory reset's set and questions. They ask and report
// through the common message dialog (ui/Dialogs.h), so the service work
// area and the command line run the same steps.

#include "config/ParameterSet.h"

#include <QStringList>
#include <optional>

class TSDIHandler;

namespace Service {

enum class Outcome {
    Refused, // the user did not confirm: nothing was sent
    Done,
    Failed, // the gauge did not confirm it
};

// Asks text 208, resets the total and says text 207 or 206.
Outcome ResetAccumulatedTotal(TSDIHandler& gauge);

// The factory set of a model (its heating mode before the question of model 0).
ParameterSet FactoryParameters(int model, const ParameterSet& previous);
// The lines of the factory confirmation for set; impulseFactor: the gauge
// offers that setting.
QStringList FactoryLines(const ParameterSet& set, bool impulseFactor);

// The questions of the factory reset for the set of model: model 0 asks
// text 515 (unless heating already answers it) and keeps the answer in
// factory and in heating (the other models leave heating empty); then text
// 209 with the lines of the set. True on Yes: the set is then to be
// written with force on.
bool ConfirmFactoryReset(TSDIHandler& gauge, int model, ParameterSet& factory,
                         std::optional<bool>& heating);
// Keeps a factory reset in the logbook, with the heating question's answer.
void ReportFactoryReset(const TSDIHandler& gauge, std::optional<bool> heating);

} // namespace Service
