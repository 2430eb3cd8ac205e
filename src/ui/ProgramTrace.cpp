#include "ui/ProgramTrace.h"

#include "link/Clock.h"
#include "ui/WideLanguageHandler.h"

#include "VersionResource.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

constexpr int TraceNotWrittenText = 800;

// The trace reports through a plain function; the one trace of the run
// says where its message goes.
std::function<void(const QString&)>* currentWarn = nullptr;

void Warn(const std::string& path) {
    const QString text = ProgramTrace::WarningText(QFile::decodeName(QByteArray::fromStdString(path)));
    if (currentWarn != nullptr && *currentWarn)
        (*currentWarn)(text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

QString ProgramTrace::WarningText(const QString& path) {
    return GetText(TraceNotWrittenText).arg(QDir::toNativeSeparators(path));
}

ProgramTrace::ProgramTrace(const QString& path, const QString& program,
                           std::function<void(const QString&)> warn)
    : warn_(std::move(warn)) {
    currentWarn = &warn_;
    const QString header = program + QLatin1Char(' ') + QStringLiteral(TESSRA_PRODUCT_VERSION) +
                           QStringLiteral(", trace started ") +
                           QDateTime::currentDateTime().toString(Qt::ISODate) +
                           QStringLiteral("; times in seconds since then");
    trace_ = std::make_unique<FileTrace>(QFile::encodeName(path).toStdString(),
                                         header.toStdString(), TheClock().NowMs(), &Warn);
    InstallTrace(trace_.get());
}

ProgramTrace::~ProgramTrace() {
    if (ActiveTrace() == trace_.get())
        InstallTrace(nullptr);
    trace_.reset();
    if (currentWarn == &warn_)
        currentWarn = nullptr;
}
