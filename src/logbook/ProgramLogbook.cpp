#include "logbook/ProgramLogbook.h"

#include <atomic>

namespace {

std::atomic<int> instances{0};

QString PathOf(const ProgramLogbook::Options& options) {
    return options.path.isEmpty() ? DefaultLogbookPath() : options.path;
}

} // namespace

ProgramLogbook::ProgramLogbook(Options options, Warn warn)
    : options_(std::move(options)), warn_(std::move(warn)),
      local_(
          PathOf(options_),
          [this](const QString& text) {
              if (warn_)
                  warn_(text);
          },
          QStringLiteral("tessra2-logbook-%1").arg(++instances)),
      previous_(ActiveLogbook()) {
    // The window never waits for the log to be copied into the file.
    if (options_.background) {
        local_.SetCheckpointOnCommit(false);
        checkpointer_ = std::make_unique<LogbookCheckpointer>(local_.Path());
    }
    // Opened (and brought up to date) before the sending thread reads it.
    if (options_.openNow || (options_.team && options_.background))
        local_.Open();
    if (options_.team && options_.background) {
        TeamSync::Settings settings;
        settings.localPath = local_.Path();
        settings.server = *options_.team;
        settings.retryIntervalMs = options_.retryIntervalMs;
        settings.connectTimeoutSeconds = options_.connectTimeoutSeconds;
        sync_ = std::make_unique<TeamSync>(settings,
                                           [this](const TeamOutcome& outcome) { Sent(outcome); });
    }
    InstallLogbook(this);
}

ProgramLogbook::~ProgramLogbook() {
    if (ActiveLogbook() == this)
        InstallLogbook(previous_);
    sync_.reset();
    checkpointer_.reset();
}

void ProgramLogbook::Add(const LogbookEntry& entry) {
    if (!local_.Add(entry))
        return;
    if (checkpointer_)
        checkpointer_->Poke();
    if (sync_)
        sync_->Poke();
}

void ProgramLogbook::Sent(const TeamOutcome& outcome) {
    lastSend_ = outcome;
    ++sendsDone_;
    // Offline is a laptop's normal state: the entries simply wait. A
    // server that refuses them needs somebody to act: said once per cause.
    if (outcome.status == TeamStatus::Sent || outcome.status == TeamStatus::Unreachable) {
        if (outcome.status == TeamStatus::Sent)
            lastProblem_.clear();
        return;
    }
    const QString message = outcome.Message(*options_.team);
    if (message == lastProblem_)
        return;
    lastProblem_ = message;
    if (warn_)
        warn_(message);
}
