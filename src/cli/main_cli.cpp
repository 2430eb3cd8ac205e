// tessra2-cli: the command-line front end of the Tessra2 service program.

#include "cli/CliRun.h"
#include "ui/WideLanguageHandler.h"

#include <QCoreApplication>
#include <QStringConverter>
#include <QTextStream>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessra2-cli"));
    InstallGaugeTextSource();

    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    for (QTextStream* stream : {&out, &err, &in})
        stream->setEncoding(QStringConverter::Utf8);
    CliIo io{out, err};
    io.in = &in;
    io.inIsTerminal = isatty(fileno(stdin)) != 0;
    io.errIsTerminal = isatty(fileno(stderr)) != 0;
    return RunCli(app.arguments(), io);
}
