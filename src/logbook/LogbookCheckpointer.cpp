#include "logbook/LogbookCheckpointer.h"

#include "logbook/LocalLogbook.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

std::atomic<int> instances{0};

} // namespace

struct LogbookCheckpointer::Shared {
    QString path;
    int pauseMs = 0;
    QString connectionName;
    std::mutex mutex;
    std::condition_variable wake;
    bool written = false;
    bool stop = false;
    std::thread thread;

    void Run() {
        LocalLogbook logbook(path, {}, connectionName);
        std::unique_lock lock(mutex);
        while (true) {
            wake.wait(lock, [this] { return written || stop; });
            if (stop)
                break;
            written = false;
            lock.unlock();
            logbook.Checkpoint();
            lock.lock();
            // Entries written meanwhile wait for the next copy.
            wake.wait_for(lock, std::chrono::milliseconds(pauseMs), [this] { return stop; });
        }
    }
};

LogbookCheckpointer::LogbookCheckpointer(QString path, int pauseMs)
    : shared_(std::make_unique<Shared>()) {
    shared_->path = std::move(path);
    shared_->pauseMs = pauseMs;
    shared_->connectionName = QStringLiteral("checkpoints-%1").arg(++instances);
    shared_->thread = std::thread([shared = shared_.get()] { shared->Run(); });
}

LogbookCheckpointer::~LogbookCheckpointer() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
    }
    shared_->wake.notify_all();
    shared_->thread.join();
}

void LogbookCheckpointer::Poke() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->written = true;
    }
    shared_->wake.notify_all();
}
