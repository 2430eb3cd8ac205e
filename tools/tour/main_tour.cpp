// tessra2-tour: starts the window program as tessra2 does (with its other
// command-line options, e.g. --simulate=0,1,2), walks it through the
// screenshot steps and saves what it shows as PNG files in OUTDIR, then
// quits. A tool for the documentation and for CI; not installed.
//
//     tessra2-tour OUTDIR [tessra2 options]

#include "ScreenshotTour.h"
#include "app/ProgramMain.h"

#include <QString>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: tessra2-tour OUTDIR [tessra2 options]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    // The program sees its own options only.
    std::vector<char*> arguments{argv[0]};
    for (int i = 2; i < argc; ++i)
        arguments.push_back(argv[i]);
    arguments.push_back(nullptr);
    int count = argc - 1;
    return RunProgram(count, arguments.data(),
                      [folder](TTessra2ParamMainForm& window, SimBackend* simulation) {
                          StartScreenshotTour(window, simulation, folder, ScreenshotSteps());
                      });
}
