#include "logbook/TeamSync.h"

#include "logbook/LocalLogbook.h"

#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

std::atomic<int> instances{0};

} // namespace

struct TeamSync::Shared {
    Settings settings;
    Report report;
    QString connectionName;
    // Lives on the owner's thread; the outcomes are delivered through it.
    std::unique_ptr<QObject> receiver = std::make_unique<QObject>();

    std::mutex mutex;
    std::condition_variable wake;
    bool poked = true; // send at start
    std::atomic<bool> stop{false};
    std::thread thread;

    void Run();
    void Deliver(const TeamOutcome& outcome);
};

void TeamSync::Shared::Deliver(const TeamOutcome& outcome) {
    // The receiver lives until the thread has been joined, so it is there.
    QMetaObject::invokeMethod(
        receiver.get(),
        [this, outcome] {
            if (report)
                report(outcome);
        },
        Qt::QueuedConnection);
}

void TeamSync::Shared::Run() {
    const auto interval = std::chrono::milliseconds(settings.retryIntervalMs);
    {
        LocalLogbook local(settings.localPath, {}, connectionName + QStringLiteral("-local"));
        TeamServerConnection server(settings.server, connectionName + QStringLiteral("-team"),
                                    settings.connectTimeoutSeconds);
        bool waiting = false;
        while (true) {
            {
                std::unique_lock lock(mutex);
                const auto due = [this] { return poked || stop.load(); };
                if (waiting)
                    wake.wait_for(lock, interval, due);
                else
                    wake.wait(lock, due);
                if (stop)
                    break;
                poked = false;
            }
            const TeamOutcome outcome = SendUnsent(local, server, &stop, settings.batchSize);
            waiting = outcome.waiting != 0;
            if (stop)
                break;
            Deliver(outcome);
        }
    }
}

TeamSync::TeamSync(Settings settings, Report report) : shared_(std::make_unique<Shared>()) {
    shared_->settings = std::move(settings);
    shared_->report = std::move(report);
    shared_->connectionName = QStringLiteral("tessra2-team-sync-%1").arg(++instances);
    shared_->thread = std::thread([shared = shared_.get()] { shared->Run(); });
}

TeamSync::~TeamSync() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
    }
    shared_->wake.notify_all();
    shared_->thread.join();
}

void TeamSync::Poke() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->poked = true;
    }
    shared_->wake.notify_all();
}
