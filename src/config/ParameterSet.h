#pragma once

#include <QString>

// One complete gauge configuration: the values the configuration area shows
// and will write, the configuration file holds, and the factory reset sends.
struct ParameterSet {
    int Model = 0;
    QString BusAddress = QStringLiteral("0");
    int CommunicationInterface = 0;
    int ProtocolType = 0;
    int TemperatureUnit = 0;
    int PrecipitationUnit = 0;
    int ImpulseFrequency = 0;
    int ImpulseFactor = 0;
    int HeatingMode = 0;
    int HeatingTemperature = 0;
    int AsciiBaudIndex = 0;
    int HeatingThreshold = 0;
    QString HeatingSwitchTime = QStringLiteral("00:00:00");
    int HeatingDuration = 1;
    int HeatingSelfTest = 60;
};
