#include "sim/ProgramAdapters.h"

#include "link/D2XXDriver.h"
#include "link/SerialBackend.h"
#include "sim/SimBackend.h"

ProgramAdapters::ProgramAdapters(const AdapterChoice& choice) {
    switch (choice.kind) {
    case AdapterChoice::Kind::Simulated: {
        auto simulation = std::make_unique<SimBackend>();
        for (int model : choice.simulatedModels) {
            SimGauge::Settings settings;
            settings.model = model;
            simulation->AddGauge(settings);
        }
        simulation_ = simulation.get();
        backend_ = std::move(simulation);
        break;
    }
    case AdapterChoice::Kind::Port: {
        auto serial = std::make_unique<SerialBackend>();
        serial->SetListSystemPorts(false);
        serial->AddPath(choice.portPath);
        backend_ = std::move(serial);
        break;
    }
    case AdapterChoice::Kind::Real:
        backend_ = std::make_unique<SerialBackend>();
        break;
    }
    D2XXDriver::InstallBackend(backend_.get());
}

ProgramAdapters::~ProgramAdapters() {
    if (D2XXDriver::InstalledBackend() == backend_.get())
        D2XXDriver::InstallBackend(nullptr);
}
