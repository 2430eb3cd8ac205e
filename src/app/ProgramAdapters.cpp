#include "app/ProgramAdapters.h"

#include "diag/ConnectionDiagnosis.h"
#include "link/D2XXDriver.h"
#include "link/SerialBackend.h"
#include "sim/SimBackend.h"

#include <QFile>

ProgramAdapters::ProgramAdapters(const ProgramOptions& options) {
    switch (options.adapters) {
    case ProgramOptions::Adapters::Simulated: {
        auto simulation = std::make_unique<SimBackend>();
        for (int model : options.simulatedModels) {
            SimGauge::Settings settings;
            settings.model = model;
            simulation->AddGauge(settings);
        }
        simulation_ = simulation.get();
        backend_ = std::move(simulation);
        break;
    }
    case ProgramOptions::Adapters::Port: {
        auto serial = std::make_unique<SerialBackend>();
        serial->SetListSystemPorts(false);
        serial->AddPath(QFile::encodeName(options.portPath).toStdString());
        backend_ = std::move(serial);
        break;
    }
    case ProgramOptions::Adapters::Real:
        backend_ = std::make_unique<SerialBackend>();
        break;
    }
    D2XXDriver::InstallBackend(backend_.get());
    // Real adapters that fail are diagnosed on the running system;
    // simulated ones never depend on it.
    if (simulation_ == nullptr)
        ConnectionDoctor::InstallDiagnosedSystem(&ConnectionDoctor::RunningSystem());
}

ProgramAdapters::~ProgramAdapters() {
    if (D2XXDriver::InstalledBackend() == backend_.get())
        D2XXDriver::InstallBackend(nullptr);
    if (ConnectionDoctor::DiagnosedSystem() == &ConnectionDoctor::RunningSystem())
        ConnectionDoctor::InstallDiagnosedSystem(nullptr);
}
