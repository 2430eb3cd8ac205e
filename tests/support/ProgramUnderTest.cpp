#include "support/ProgramUnderTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

ProgramUnderTest::ProgramUnderTest(const QString& builtPath, QStringList arguments)
    : builtPath_(builtPath), arguments_(std::move(arguments)) {}

ProgramUnderTest::~ProgramUnderTest() {
    Stop();
}

QString ProgramUnderTest::ProgramPath() const {
    const QString path = qEnvironmentVariable("TESSRA_APP", builtPath_);
    return !path.isEmpty() && QFileInfo(path).isExecutable() ? path : QString();
}

QString ProgramUnderTest::DataFolder() const {
    return home_.filePath(QStringLiteral("data"));
}

QString ProgramUnderTest::JournalFolder() const {
    return QDir(DataFolder()).filePath(QStringLiteral("Axo-Gauges/Tessra2Bediensoftware/Measurements"));
}

bool ProgramUnderTest::Start(int timeoutMs) {
    const QString program = ProgramPath();
    if (program.isEmpty() || !home_.isValid()) {
        error_ = QStringLiteral("no program to start (TESSRA_APP, %1)").arg(builtPath_);
        return false;
    }
    // A private user with English stored: no language selection at start.
    QDir(home_.path()).mkpath(QStringLiteral("config/Axo-Gauges"));
    QFile language(home_.filePath(QStringLiteral("config/Axo-Gauges/Tessra2Bediensoftware.conf")));
    if (!language.open(QIODevice::WriteOnly) || language.write("[Language]\nOffset=10000\n") < 0) {
        error_ = QStringLiteral("cannot store the language: ") + language.errorString();
        return false;
    }
    language.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), DataFolder());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path());
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(program, QStringList{QStringLiteral("--test-report")} + arguments_);
    if (!process_.waitForStarted(timeoutMs)) {
        error_ = QStringLiteral("%1 did not start: %2").arg(program, process_.errorString());
        return false;
    }
    return true;
}

void ProgramUnderTest::ReadAvailable() {
    while (process_.canReadLine())
        lines_.append(QString::fromUtf8(process_.readLine()).trimmed());
}

QString ProgramUnderTest::WaitFor(const QString& prefix, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        ReadAvailable();
        while (next_ < lines_.size()) {
            const QString& line = lines_[next_++];
            if (line.startsWith(prefix))
                return line;
        }
        const qint64 left = timeoutMs - elapsed.elapsed();
        if (left <= 0 || process_.state() == QProcess::NotRunning)
            return {};
        process_.waitForReadyRead(static_cast<int>(std::min<qint64>(left, 200)));
    }
}

void ProgramUnderTest::Kill() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(5000);
}

void ProgramUnderTest::Stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000))
        Kill();
}
