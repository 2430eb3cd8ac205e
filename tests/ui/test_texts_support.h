#pragma once

// Shared by the text, dialog and version tests: running a test in one
// language, and acting on a modal window while it runs.

#include "ui/WideLanguageHandler.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

class LanguageScope {
public:
    explicit LanguageScope(int offset) : saved_(LanguageOffset) { LanguageOffset = offset; }
    ~LanguageScope() { LanguageOffset = saved_; }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    int saved_;
};

// Calls action with the active modal window as soon as one is shown (it must
// close it). Should none be closed within guardMs, the guard fails the test
// and ends the modal window so that the test cannot hang. Both timers die
// with the object.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> action, int guardMs = 10000)
        : action_(std::move(action)) {
        poll_.setInterval(0);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                poll_.stop();
                action_(modal);
            }
        });
        poll_.start();
        guard_.setSingleShot(true);
        QObject::connect(&guard_, &QTimer::timeout, [] {
            ADD_FAILURE() << "modal window still open";
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->done(QDialog::Rejected);
        });
        guard_.start(guardMs);
    }

private:
    std::function<void(QWidget*)> action_;
    QTimer poll_;
    QTimer guard_;
};
