#pragma once

// The gauge handler: the one object through which the program talks to the
// connected gauge. It owns the link state (connected, SDI-12 address),
// connects to an adapter, identifies the model, formats every command and
// judges every reply. Failures come back only as results: false, an empty
// text, -1 (-9999 for the heating threshold); nothing is shown from here.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Asked by Connect when two or more adapters are present: shows the adapter
// selection and returns the serial number the user confirmed (empty if none).
class AdapterChooser {
public:
    virtual ~AdapterChooser() = default;
    virtual std::string ChooseAdapterSerial() = 0;
};

// Model codes returned by GetModel.
enum GaugeModel : int { ModelTessra2 = 0, ModelTessra2L = 1, ModelTessra2S = 2 };

class TSDIHandler {
public:
    int FirmwareMajor = 0;
    int FirmwareMinor = 0;
    int FirmwarePatch = 0;
    bool Connected = false;
    std::string Address;

    // Failure value of GetHeatingThreshold (the other integer getters use -1).
    static constexpr int ThresholdFailure = -9999;

    // Not owned; nullptr makes Connect fail when several adapters are present.
    void SetAdapterChooser(AdapterChooser* chooser) { chooser_ = chooser; }
    // True while Connect waits for the user to choose one of several
    // adapters: the link is closed then on purpose, not lost.
    bool ChoosingAdapter() const { return choosingAdapter_; }

    // Link, identity and modes.
    bool Connect();
    // Opens the adapter that was open last again, with the SDI-12 line
    // settings and without asking which adapter to use; Connect when none
    // was open before. False when that adapter cannot be opened (it is
    // gone): no other adapter is taken in its place.
    bool Reconnect();
    void Disconnect();
    bool IsPortAlive();
    std::string QueryAddress();
    std::string ReadAddress();
    bool ChangeAddress(const std::string& newAddress);
    int GetModel();
    // The identification of the last GetModel: the "I!" reply without its
    // address and line end; empty when the gauge did not answer it.
    const std::string& Identification() const { return identification_; }
    // The serial number the identification carries after the sensor
    // version (the optional field of an SDI-12 identification, trimmed);
    // empty when it carries none. Sends nothing.
    std::string IdentifiedSerial() const;
    // The connected gauge's serial number: the one its identification
    // carries, else what "OOS!" answers (asked once per identification).
    std::string GaugeSerialNumber();
    // The same as far as it is known, without asking the gauge.
    std::string KnownGaugeSerial() const;
    // What the last GetModel, GetHardwareIndex and GetFirmwareVersion gave
    // for the identified gauge, without asking it again (-1 and empty
    // before the first answer; a new identification forgets them).
    int KnownModel() const { return knownModel_; }
    const std::string& KnownHardwareIndex() const { return knownHardwareIndex_; }
    const std::string& KnownFirmwareVersion() const { return knownFirmwareVersion_; }
    // Called when IsPortAlive finds the adapter gone while its port is open
    // (not when the program closed the port itself): the adapter was
    // unplugged or its line hung up.
    void SetLossListener(std::function<void()> listener) { lossListener_ = std::move(listener); }
    bool SupportsImpulseFactor(int model);
    bool SetTransferRate(std::uint32_t baud);
    bool ReadPending(std::string& text);
    bool BeginConfigWrite();
    bool EndConfigWrite();
    bool StartTestMode();
    bool StopTestMode();

    // Generic query: content of the reply to a full command (address included).
    std::string QueryText(const std::string& command);

    // Text queries.
    std::string GetHardwareIndex();
    std::string GetSerialNumber();
    std::string GetFirmwareVersion();
    std::string GetLastConfigurationDate();
    std::string GetLastFirmwareUpdateDate();
    std::string GetHeatingSwitchTime();

    // Integer queries (-1 on failure; -9999 for the threshold).
    int GetGaugeType();
    int GetTemperatureUnit();
    int GetIntensityUnit();
    int GetHeatingMode();
    int GetCommunicationInterface();
    int GetProtocolType();
    int GetImpulseFrequency();
    int GetImpulseFactor();
    int GetHeatingTemperature();
    int GetHeatingDuration();
    int GetHeatingSelfTest();
    int GetAsciiBaudRate();
    int GetHeatingThreshold();

    // Setters, each inside the configuration-write bracket.
    bool SetTemperatureUnit(int n);
    bool SetIntensityUnit(int n);
    bool SetHeatingMode(int n);
    bool SetCommunicationInterface(int n);
    bool SetProtocolType(int n);
    bool SetImpulseFrequency(int n);
    bool SetImpulseFactor(int n);
    bool SetHeatingTemperature(int n);
    bool SetHeatingThreshold(int n);
    bool SetHeatingSwitchTime(const std::string& text);
    bool SetHeatingDuration(int n);
    bool SetHeatingSelfTest(int n);
    bool SetAsciiBaudRate(int n);
    bool SetLastConfigurationDate(const QDateTime& when);
    bool SetLastFirmwareUpdateDate(const QDateTime& when);

    // Clock and counters.
    std::string GetDeviceTime();
    bool SetDeviceTime(const std::string& text);
    bool ResetAccumulatedPrecipitation();

    // Measurement.
    int StartMeasurement(const std::string& command, int& count);
    void WaitForServiceRequest(int seconds);
    bool CollectData(int count, std::vector<std::string>& values);
    // messages receive the failure lines (texts from the installed text source).
    double MeasureWithStatus(QStringList& messages, std::string& valueText);

    // Source of the user-visible texts used in MeasureWithStatus's messages;
    // the user interface installs its text lookup here (GetText).
    static void SetTextSource(QString (*lookup)(int id));
    static QString Text(int id);

    // "yyyy-mm-ddThh:nn:ss"
    static std::string FormatDateTime(const QDateTime& when);

private:
    // Address + command through one SDI-12 transaction; true when a reply came.
    bool Send(const std::string& command, std::uint32_t timeoutMs, std::string& reply);
    // Address + command; true when the raw reply equals one of the accepted lines.
    bool SendExpecting(const std::string& command, std::uint32_t timeoutMs,
                       const std::vector<std::string>& acceptedLines);
    // A setter: bracket, command, echo check of address + one of the accepted contents.
    bool WriteSetting(const std::string& command, std::uint32_t timeoutMs,
                      const std::vector<std::string>& acceptedContents);
    // QueryText of Address + command converted to an integer.
    int QueryInteger(const std::string& command, bool exactlyOneCharacter, int failure);

    // GetModel's traffic: "I!" and, for the Tessra2 L/S, "OZY!".
    int IdentifyModel();

    AdapterChooser* chooser_ = nullptr;
    bool choosingAdapter_ = false;
    std::string identification_;
    std::string askedSerial_; // the "OOS!" answer for the current identification
    bool serialAsked_ = false;
    int knownModel_ = -1;
    std::string knownHardwareIndex_;
    std::string knownFirmwareVersion_;
    std::function<void()> lossListener_;
};
