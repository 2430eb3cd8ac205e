#pragma once

// Runs a test, or part of one, in one language and restores the language
// that was set before.

#include "ui/WideLanguageHandler.h"

class LanguageScope {
public:
    explicit LanguageScope(int offset) : saved_(LanguageOffset) { LanguageOffset = offset; }
    ~LanguageScope() { LanguageOffset = saved_; }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    int saved_;
};
