// Feeds arbitrary reply bytes to every reply the gauge handler judges: the
// scripted adapter answers each command with bytes taken from the input
// (silence, one piece or several pieces, as the input chooses), and the
// input also chooses the operations to run.

#include "FuzzSupport.h"
#include "support/ScriptedAdapter.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

namespace {

QString TextForFuzzing(int id) {
    return QStringLiteral("T%1").arg(id);
}

ScriptedLine::Answer AnswerFrom(FuzzedDataProvider& input) {
    ScriptedLine::Answer answer;
    const int pieces = input.ConsumeIntegralInRange<int>(0, 3);
    for (int i = 0; i < pieces; ++i)
        answer.push_back(input.ConsumeRandomLengthString(200));
    return answer;
}


void RunOperation(TSDIHandler& handler, int operation, FuzzedDataProvider& input) {
    std::string text;
    int count = 0;
    switch (operation) {
    case 0: {
        const std::string before = handler.Address;
        const std::string address = handler.QueryAddress();
        Check(address.empty() ? handler.Address == before
                              : (address.size() == 1 && handler.Address == address));
        break;
    }
    case 1:
        Check(handler.ReadAddress().size() <= 1);
        break;
    case 2:
        handler.ChangeAddress(input.ConsumeBytesAsString(1));
        Check(handler.Address.size() <= 1);
        break;
    case 3: {
        const int model = handler.GetModel();
        Check(model >= 0 && model <= 2);
        break;
    }
    case 4:
        handler.SupportsImpulseFactor(input.ConsumeIntegralInRange<int>(0, 2));
        break;
    case 5:
        handler.SetTransferRate(input.ConsumeBool() ? 115200 : 4800);
        break;
    case 6:
        handler.ReadPending(text);
        break;
    case 7:
        handler.BeginConfigWrite();
        handler.EndConfigWrite();
        handler.StartTestMode();
        handler.StopTestMode();
        break;
    case 8:
        handler.GetHardwareIndex();
        handler.GetSerialNumber();
        handler.GetFirmwareVersion();
        handler.GetLastConfigurationDate();
        handler.GetLastFirmwareUpdateDate();
        handler.GetHeatingSwitchTime();
        break;
    case 9:
        Check(handler.GetGaugeType() >= -1);
        Check(handler.GetTemperatureUnit() >= -1);
        Check(handler.GetIntensityUnit() >= -1);
        Check(handler.GetHeatingMode() >= -1);
        Check(handler.GetCommunicationInterface() >= -1);
        Check(handler.GetProtocolType() >= -1);
        Check(handler.GetImpulseFrequency() >= -1);
        Check(handler.GetImpulseFactor() >= -1);
        break;
    case 10:
        handler.GetHeatingTemperature();
        handler.GetHeatingDuration();
        handler.GetHeatingSelfTest();
        handler.GetAsciiBaudRate();
        handler.GetHeatingThreshold();
        break;
    case 11: {
        const int n = input.ConsumeIntegral<int>();
        handler.SetTemperatureUnit(n);
        handler.SetIntensityUnit(n);
        handler.SetHeatingMode(n);
        handler.SetCommunicationInterface(n);
        handler.SetProtocolType(n);
        handler.SetImpulseFrequency(n);
        handler.SetImpulseFactor(n);
        break;
    }
    case 12: {
        const int n = input.ConsumeIntegral<int>();
        handler.SetHeatingTemperature(n);
        handler.SetHeatingThreshold(n);
        handler.SetHeatingSwitchTime(input.ConsumeRandomLengthString(20));
        handler.SetHeatingDuration(n);
        handler.SetHeatingSelfTest(n);
        handler.SetAsciiBaudRate(n);
        break;
    }
    case 13: {
        const QDateTime when(QDate(2013, 4, 5), QTime(14, 3, 9));
        handler.SetLastConfigurationDate(when);
        handler.SetLastFirmwareUpdateDate(when);
        Check(handler.Address.size() <= 1);
        break;
    }
    case 14:
        handler.GetDeviceTime();
        handler.SetDeviceTime(input.ConsumeRandomLengthString(24));
        handler.ResetAccumulatedPrecipitation();
        break;
    case 15: {
        const int seconds = handler.StartMeasurement(input.ConsumeBool() ? "M!" : "M1!", count);
        handler.WaitForServiceRequest(seconds);
        std::vector<std::string> values;
        const bool complete = handler.CollectData(count, values);
        Check(!complete || values.size() == static_cast<std::size_t>(count));
        break;
    }
    case 16: {
        QStringList messages;
        std::string valueText;
        const double value = handler.MeasureWithStatus(messages, valueText);
        Check(value == value); // never NaN
        break;
    }
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ManualClock clock(5.0); // coarse steps: the waits matter, not their resolution
    static ScriptedBackend backend;
    static bool prepared = false;
    if (!prepared) {
        InstallClock(&clock);
        clock.SetMessageStepMs(1000.0);
        TSDIHandler::SetTextSource(&TextForFuzzing);
        backend.adapters = {{"AX000001", "Tessra2 USB SDI-12 adapter"}};
        prepared = true;
    }

    FuzzedDataProvider input(data, size);
    backend.line = ScriptedLine();
    backend.line.responder = [&input](const std::string&) { return AnswerFrom(input); };
    D2XXDriver::ResetModuleState();
    SDI12IO::ResetModuleState();
    D2XXDriver::InstallBackend(&backend);

    TSDIHandler handler;
    handler.Connect();
    handler.Address = "0";
    for (int step = 0; step < 6 && input.remaining_bytes() > 0; ++step)
        RunOperation(handler, input.ConsumeIntegralInRange<int>(0, 16), input);
    handler.Disconnect();
    D2XXDriver::InstallBackend(nullptr);
    backend.line.responder = nullptr;
    return 0;
}
