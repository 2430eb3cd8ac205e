#include "link/SerialLatency.h"

#if defined(Q_OS_WIN)

// The FTDI virtual COM port driver keeps the latency timer of each port as
// "LatencyTimer" (milliseconds) in the port's device parameters and reads
// it when the port is opened. Changing it needs the right to write that
// key; without it the port keeps its setting.

#include <windows.h>

// GUID_DEVCLASS_PORTS defined here rather than taken from a library.
#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

namespace SerialLatency {

namespace {

constexpr DWORD LowestTimerMs = 1;
const wchar_t* const LatencyValueName = L"LatencyTimer";
const wchar_t* const PortNameValue = L"PortName";

// "COM3" of "COM3" or "\\.\COM3".
std::wstring PortNameOf(const std::string& location) {
    std::string name = location;
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    return std::wstring(name.begin(), name.end());
}

// The device parameters key of the present port called name, opened with
// access; nullptr when there is none or it may not be opened so.
HKEY OpenPortKey(const std::wstring& name, REGSAM access) {
    HDEVINFO ports = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (ports == INVALID_HANDLE_VALUE)
        return nullptr;
    HKEY found = nullptr;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; found == nullptr && SetupDiEnumDeviceInfo(ports, i, &device); ++i) {
        HKEY key = SetupDiOpenDevRegKey(ports, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, access);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        wchar_t portName[64] = {};
        DWORD size = sizeof portName - sizeof(wchar_t);
        DWORD type = 0;
        if (RegQueryValueExW(key, PortNameValue, nullptr, &type, reinterpret_cast<BYTE*>(portName),
                             &size) == ERROR_SUCCESS &&
            type == REG_SZ && lstrcmpiW(portName, name.c_str()) == 0)
            found = key;
        else
            RegCloseKey(key);
    }
    SetupDiDestroyDeviceInfoList(ports);
    return found;
}

bool ReadTimer(HKEY key, DWORD& value) {
    DWORD type = 0;
    DWORD size = sizeof value;
    return RegQueryValueExW(key, LatencyValueName, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                            &size) == ERROR_SUCCESS &&
           type == REG_DWORD;
}

bool WriteTimer(HKEY key, DWORD value) {
    return RegSetValueExW(key, LatencyValueName, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
}

} // namespace

Previous RequestLowest(qintptr, const std::string& location) {
    Previous previous;
    HKEY key = OpenPortKey(PortNameOf(location), KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (key == nullptr)
        return previous;
    DWORD value = 0;
    if (ReadTimer(key, value) && value > LowestTimerMs && WriteTimer(key, LowestTimerMs)) {
        previous.registrySet = true;
        previous.registryValue = value;
        previous.registryPort = location;
    }
    RegCloseKey(key);
    return previous;
}

void Restore(qintptr, const Previous& previous) {
    if (!previous.registrySet)
        return;
    HKEY key = OpenPortKey(PortNameOf(previous.registryPort), KEY_SET_VALUE | KEY_QUERY_VALUE);
    if (key == nullptr)
        return;
    WriteTimer(key, static_cast<DWORD>(previous.registryValue));
    RegCloseKey(key);
}

bool TakesEffectOnOpen() {
    return true;
}

} // namespace SerialLatency

#endif
