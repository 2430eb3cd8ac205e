#pragma once

// Acting on a modal window while it runs: the test's action gets the window
// as soon as it is shown, and a guard ends it should the action not.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

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
