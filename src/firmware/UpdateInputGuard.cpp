#include "firmware/UpdateInputGuard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace Firmware {

namespace {

bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

UpdateInputGuard::UpdateInputGuard(QWidget* area, QWidget* allowed,
                                   std::function<void()> closeRequested)
    : area_(area), allowed_(allowed), closeRequested_(std::move(closeRequested)) {}

UpdateInputGuard::~UpdateInputGuard() {
    SetActive(false);
}

void UpdateInputGuard::SetActive(bool active) {
    if (active == active_ || QCoreApplication::instance() == nullptr)
        return;
    active_ = active;
    if (active)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool UpdateInputGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!active_ || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    QWidget* window = area_->window();
    if (event->type() == QEvent::Close && widget == window) {
        event->ignore();
        if (closeRequested_)
            closeRequested_();
        return true;
    }
    if (!IsInput(event->type()) || widget->window() != window)
        return false;
    if (allowed_ != nullptr && (widget == allowed_ || allowed_->isAncestorOf(widget)))
        return false;
    return true;
}

} // namespace Firmware
