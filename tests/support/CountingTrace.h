#pragma once

// A trace sink that only counts the reports reaching it, standing for the
// --trace file of a run.

#include "link/TrafficTrace.h"

class CountingTrace final : public TraceSink {
public:
    void Attempt(double, int, int, const std::string&, const std::string&, double) override {
        ++reports;
    }
    void Awaited(double, const std::string&, const std::string&, bool, double) override {
        ++reports;
    }
    void Block(double, int, int, const std::string&) override { ++reports; }
    void Note(double, const std::string&) override { ++reports; }
    int reports = 0;
};
