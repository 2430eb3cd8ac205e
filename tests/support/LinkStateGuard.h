#pragma once

// The link's module state (adapter port and SDI-12 transaction) as at
// program start for the lifetime of the guard, with a backend installed;
// afterwards the backend is removed and the state is reset again, so no test
// sees what an earlier one left behind.
//
//     SimBackend backend;
//     LinkStateGuard link{&backend}; // declared after the backend it installs

#include "link/AdapterBackend.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"

class LinkStateGuard {
public:
    explicit LinkStateGuard(AdapterBackend* backend = nullptr) {
        Reset();
        D2XXDriver::InstallBackend(backend);
    }
    ~LinkStateGuard() {
        D2XXDriver::InstallBackend(nullptr);
        Reset();
    }
    LinkStateGuard(const LinkStateGuard&) = delete;
    LinkStateGuard& operator=(const LinkStateGuard&) = delete;

    static void Reset() {
        D2XXDriver::ResetModuleState();
        SDI12IO::ResetModuleState();
    }
};
