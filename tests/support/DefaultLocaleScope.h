#pragma once

// Runs a test, or part of one, with another default locale (the user's
// locale as the program sees it) and restores the one set before.

#include <QLocale>

class DefaultLocaleScope {
public:
    explicit DefaultLocaleScope(const QLocale& locale) : saved_(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~DefaultLocaleScope() { QLocale::setDefault(saved_); }
    DefaultLocaleScope(const DefaultLocaleScope&) = delete;
    DefaultLocaleScope& operator=(const DefaultLocaleScope&) = delete;

private:
    QLocale saved_;
};
