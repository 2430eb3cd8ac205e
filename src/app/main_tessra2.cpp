// tessra2: the configuration and service program for Tessra2 gauges.

#include "app/ProgramMain.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
