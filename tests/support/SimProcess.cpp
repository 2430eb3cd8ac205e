#include "support/SimProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

SimProcess::SimProcess(QStringList arguments) : arguments_(std::move(arguments)) {}

SimProcess::~SimProcess() {
    if (IsRunning() && !Stop(2000))
        Kill();
}

QString SimProcess::ProgramPath() {
    const QString named = qEnvironmentVariable("TESSRA_SIM");
#ifdef TESSRA_SIM_BUILT
    if (named.isEmpty())
        return QStringLiteral(TESSRA_SIM_BUILT);
#endif
    return named;
}

bool SimProcess::Available() {
    const QString path = ProgramPath();
    return !path.isEmpty() && QFileInfo(path).isExecutable();
}

bool SimProcess::Start(int timeoutMs) {
    if (!Available()) {
        error_ = "TESSRA_SIM does not name the tessra2-sim program";
        return false;
    }
    if (!log_.open()) {
        error_ = "no temporary file for the log";
        return false;
    }
    process_.setProgram(ProgramPath());
    process_.setArguments(arguments_);
    process_.setStandardErrorFile(log_.fileName());
    process_.start();
    if (!process_.waitForStarted(timeoutMs)) {
        error_ = "tessra2-sim did not start: " + process_.errorString();
        return false;
    }
    return ReadPath(timeoutMs);
}

void SimProcess::UseLink(const QString& path) {
    linkPath_ = path;
    arguments_ << QStringLiteral("--link") << path;
}

bool SimProcess::ReadPath(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!process_.canReadLine() && !deadline.hasExpired() &&
           process_.state() == QProcess::Running)
        process_.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    if (!process_.canReadLine()) {
        error_ = "tessra2-sim printed no terminal path; log:\n" + Log();
        return false;
    }
    ptyPath_ = QString::fromLocal8Bit(process_.readLine()).trimmed().toStdString();
    return !ptyPath_.empty();
}

bool SimProcess::Unplug(int timeoutMs) {
    const QString terminal = QString::fromStdString(ptyPath_);
    if (!IsRunning() || !SendPlugSignal(false)) {
        error_ = "tessra2-sim does not run";
        return false;
    }
    const auto gone = [&] {
        return !QFileInfo::exists(terminal) &&
               (linkPath_.isEmpty() || !QFileInfo(linkPath_).isSymLink());
    };
    const QDeadlineTimer deadline(timeoutMs);
    while (!gone() && !deadline.hasExpired())
        QThread::msleep(2);
    if (!gone()) {
        error_ = "the terminal or its link is still there after the unplug; log:\n" + Log();
        return false;
    }
    return true;
}

bool SimProcess::Replug(int timeoutMs) {
    if (!IsRunning() || !SendPlugSignal(true)) {
        error_ = "tessra2-sim does not run";
        return false;
    }
    return ReadPath(timeoutMs);
}

bool SimProcess::IsRunning() const {
    return process_.state() != QProcess::NotRunning;
}

void SimProcess::Kill() {
    if (!IsRunning())
        return;
    process_.kill();
    process_.waitForFinished(3000);
}

bool SimProcess::Stop(int timeoutMs) {
    if (!IsRunning())
        return true;
    process_.terminate();
    return process_.waitForFinished(timeoutMs) && process_.exitStatus() == QProcess::NormalExit &&
           process_.exitCode() == 0;
}

QString SimProcess::Log() const {
    QFile file(log_.fileName());
    if (log_.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll());
}
