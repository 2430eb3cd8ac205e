#include "logbook/KnownGauge.h"

#include "gauge/SDIHandler.h"

GaugeIdentity KnownGauge(const TSDIHandler& gauge) {
    GaugeIdentity identity;
    identity.serialNumber = QString::fromStdString(gauge.KnownGaugeSerial()).trimmed();
    identity.hardwareIndex = QString::fromStdString(gauge.KnownHardwareIndex()).trimmed();
    identity.model = gauge.KnownModel();
    identity.firmwareVersion = QString::fromStdString(gauge.KnownFirmwareVersion()).trimmed();
    return identity;
}
