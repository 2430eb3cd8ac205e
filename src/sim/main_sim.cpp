// tessra2-sim: serves one simulated Tessra2 gauge on a new pseudo-terminal.
// The terminal's path is the first line of standard output (and each new
// one after the adapter is plugged in again); commands and replies are
// logged with their times on standard error.

#include "sim/PtyGaugeServer.h"
#include "sim/SimGauge.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const Usage =
    "usage: tessra2-sim [options]\n"
    "Serves one simulated Tessra2 gauge on a new pseudo-terminal and prints its path.\n"
    "\n"
    "  --model N        0 Tessra2, 1 Tessra2 L (default), 2 Tessra2 S\n"
    "  --address C      SDI-12 address (default 0)\n"
    "  --latency MS     time between a command and the first reply byte (default 0)\n"
    "  --pace           bytes take 10 bits each at the line's baud rate (default)\n"
    "  --no-pace        bytes arrive without wire time\n"
    "  --firmware TEXT  firmware version the gauge reports (default V1.31.0)\n"
    "  --serial TEXT    serial number the gauge reports (default 123456789)\n"
    "  --link PATH      keep a symbolic link at PATH pointing at the current terminal\n"
    "                   (removed while the adapter is unplugged and at the end)\n"
    "  --help           this text\n"
    "\n"
    "The adapter can be pulled and plugged in again, with the same gauge behind it:\n"
    "  SIGUSR1          unplug: both ends of the terminal are closed, so the program\n"
    "                   using it sees its line hang up; the link is removed\n"
    "  SIGUSR2          plug in again: a new terminal (1200 baud), the link points at\n"
    "                   it, and its path is printed as a new line\n"
    "\n"
    "Ends on SIGTERM, SIGINT or end of standard input (pipe or terminal).\n";

bool Number(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

} // namespace

int main(int argc, char** argv) {
    SimGauge::Settings settings;
    settings.paceWire = true;
    std::string firmware, serial, link;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        double number = 0.0;
        if (option == "--help" || option == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        } else if (option == "--pace") {
            settings.paceWire = true;
        } else if (option == "--no-pace") {
            settings.paceWire = false;
        } else if (option == "--model" && hasValue && Number(argv[i + 1], number) &&
                   (number == 0 || number == 1 || number == 2)) {
            settings.model = static_cast<int>(number);
            ++i;
        } else if (option == "--address" && hasValue && std::string(argv[i + 1]).size() == 1) {
            settings.address = argv[++i][0];
        } else if (option == "--latency" && hasValue && Number(argv[i + 1], number) &&
                   number >= 0 && number < 10000) {
            settings.replyLatencyMs = number;
            ++i;
        } else if (option == "--firmware" && hasValue) {
            firmware = argv[++i];
        } else if (option == "--serial" && hasValue) {
            serial = argv[++i];
        } else if (option == "--link" && hasValue && argv[i + 1][0] != '\0') {
            link = argv[++i];
        } else {
            std::fprintf(stderr, "tessra2-sim: bad option %s\n\n%s", option.c_str(), Usage);
            return 2;
        }
    }
    SimGauge gauge(settings);
    if (!firmware.empty())
        gauge.Gauge().firmwareVersion = firmware;
    if (!serial.empty())
        gauge.Gauge().serialNumber = serial;
#if defined(__unix__) || defined(__APPLE__)
    return PtyGaugeServer::Serve(gauge, stderr, link);
#else
    std::fputs("tessra2-sim: pseudo-terminals are not available on this system\n", stderr);
    return 1;
#endif
}
