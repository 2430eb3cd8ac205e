#include "terminal/PendingKeystrokes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <vector>

namespace {

bool IsKeyEvent(QEvent::Type type) {
    return type == QEvent::KeyPress || type == QEvent::KeyRelease ||
           type == QEvent::ShortcutOverride || type == QEvent::Shortcut;
}

bool IsClick(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick;
}

class KeySwallower : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (IsKeyEvent(event->type()))
            return true;
        // Clicks reach the window first; they wait for the next round of the
        // event loop, as they would have without the discarding.
        if (IsClick(event->type()) && watched->isWindowType()) {
            deferred_.push_back({watched, event->clone()});
            return true;
        }
        return false;
    }

    void Repost() {
        for (const Deferred& click : deferred_) {
            if (click.receiver.isNull())
                delete click.event;
            else
                QCoreApplication::postEvent(click.receiver, click.event);
        }
        deferred_.clear();
    }

private:
    struct Deferred {
        QPointer<QObject> receiver;
        QEvent* event;
    };
    std::vector<Deferred> deferred_;
};

} // namespace

void DiscardPendingKeystrokes() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return;
    KeySwallower swallower;
    application->installEventFilter(&swallower);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    application->removeEventFilter(&swallower);
    swallower.Repost();
}
