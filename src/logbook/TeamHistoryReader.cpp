#include "logbook/TeamHistoryReader.h"

#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <mutex>
#include <thread>

namespace {

std::atomic<int> instances{0};

} // namespace

struct TeamHistoryReader::Shared {
    TeamServerAddress server;
    QString serialNumber;
    int connectTimeoutSeconds = 10;
    int pageSize = 1000;
    QString connectionName;
    Deliver deliver;

    // Lives on the owner's thread while the reader does; null once it is
    // gone. The pages are delivered through it.
    std::mutex mutex;
    QObject* receiver = nullptr;
    std::atomic<bool> stop{false};

    void Run(const std::shared_ptr<Shared>& self);
};

void TeamHistoryReader::Shared::Run(const std::shared_ptr<Shared>& self) {
    std::optional<TeamServerConnection> connection;
    connection.emplace(server, connectionName, connectTimeoutSeconds);
    std::optional<TeamServerConnection::Position> after;
    while (!stop) {
        Page page;
        page.outcome = connection->ReadGauge(serialNumber, after, pageSize, page.entries);
        page.last = page.outcome.status != TeamStatus::Sent ||
                    page.entries.size() < static_cast<std::size_t>(pageSize);
        const bool last = page.last;
        // The connection is closed before the last page is handed over, so
        // that nothing of the thread's is left once the owner has it all.
        if (last)
            connection.reset();
        if (!page.entries.empty())
            after =
                TeamServerConnection::Position{page.entries.back().timeUtc, page.entries.back().id};
        {
            std::lock_guard lock(mutex);
            if (receiver == nullptr)
                return;
            // The page goes to the owner's thread; the reader may be gone
            // by the time it is there, and then it is dropped with the
            // receiver.
            QMetaObject::invokeMethod(
                receiver, [self, page = std::move(page)] { self->deliver(page); },
                Qt::QueuedConnection);
        }
        if (last)
            return;
    }
}

TeamHistoryReader::TeamHistoryReader(TeamServerAddress server, QString serialNumber,
                                     int connectTimeoutSeconds, Deliver deliver, int pageSize)
    : shared_(std::make_shared<Shared>()) {
    shared_->server = std::move(server);
    shared_->serialNumber = std::move(serialNumber);
    shared_->connectTimeoutSeconds = connectTimeoutSeconds;
    shared_->pageSize = std::max(1, pageSize);
    shared_->connectionName = QStringLiteral("tessra2-history-team-%1").arg(++instances);
    shared_->deliver = std::move(deliver);
    shared_->receiver = new QObject();
    std::thread([shared = shared_] { shared->Run(shared); }).detach();
}

TeamHistoryReader::~TeamHistoryReader() {
    shared_->stop = true;
    QObject* receiver = nullptr;
    {
        std::lock_guard lock(shared_->mutex);
        receiver = shared_->receiver;
        shared_->receiver = nullptr;
    }
    // Pages posted to it and not yet delivered go with it.
    delete receiver;
}
