// config read | export FILE | import FILE | set KEY=VALUE...

#include "cli/CliCommands.h"
#include "cli/CliConfiguration.h"
#include "cli/CliSession.h"
#include "config/ConfigurationFile.h"
#include "logbook/KnownGauge.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "ui/Dialogs.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <QDir>

namespace {

constexpr int NotConfirmedText = 811;
constexpr int WriteQuestionText = 812;
constexpr int NotReadText = 818;
constexpr int NothingWrittenText = 819;
constexpr int WrittenText = 822;
constexpr int SavedText = 823;

QString Keys(const QStringList& keys) {
    return keys.join(QStringLiteral(", "));
}

// Connects and reads the whole configuration; 0 or the exit code. A read
// with failed settings is no base for a file or a write.
int ReadConfiguration(CliSession& session, CliConfiguration& configuration, bool toWrite) {
    if (const int failed = session.ConnectGauge())
        return failed;
    configuration.Read(session.Model());
    const QStringList failed = configuration.FailedKeys();
    if (failed.isEmpty())
        return ExitSuccess;
    session.Say(GetText(NotReadText).arg(Keys(failed)));
    if (toWrite)
        session.Say(GetText(NothingWrittenText));
    return ExitNoAnswer;
}

// Writes the rows' set and says how it went.
int WriteConfiguration(CliSession& session, CliConfiguration& configuration) {
    configuration.Write(false);
    const QStringList failed = configuration.FailedKeys();
    if (!failed.isEmpty())
        return session.Fail(ExitNoAnswer, GetText(NotConfirmedText).arg(Keys(failed)));
    session.Say(GetText(WrittenText));
    return ExitSuccess;
}

int Read(CliSession& session, const QStringList& arguments) {
    if (!arguments.isEmpty())
        return WrongArguments(session, "config");
    CliConfiguration configuration(session.Gauge());
    const int read = ReadConfiguration(session, configuration, false);
    const IniDocument document =
        configuration.Export(session.Gauge().SupportsImpulseFactor(session.Model()));
    if (session.Options().json)
        session.Out() << QString::fromUtf8(CliConfiguration::Json(document)) << Qt::endl;
    else
        for (const QString& line : CliConfiguration::KeyLines(document))
            session.Out() << line << Qt::endl;
    return read;
}

int Export(CliSession& session, const QStringList& arguments) {
    if (arguments.size() != 1)
        return WrongArguments(session, "config");
    CliConfiguration configuration(session.Gauge());
    if (const int failed = ReadConfiguration(session, configuration, true))
        return failed;
    const QString path = arguments.first();
    const QString failure = Config::WriteConfigurationFile(
        path, configuration.Rows(), session.Gauge().SupportsImpulseFactor(session.Model()));
    if (!failure.isEmpty())
        return session.Fail(ExitBadInput, failure);
    ReportToLogbook(ConfigurationExported(KnownGauge(session.Gauge()), path));
    session.Say(GetText(SavedText).arg(QDir::toNativeSeparators(path)));
    return ExitSuccess;
}

int Import(CliSession& session, const QStringList& arguments) {
    if (arguments.size() != 1)
        return WrongArguments(session, "config");
    // The file first: a file that cannot be loaded needs no gauge.
    const QString path = arguments.first();
    if (!IniDocument::Load(path))
        return session.Fail(ExitBadInput, GetText(702).arg(QDir::toNativeSeparators(path)));
    CliConfiguration configuration(session.Gauge());
    if (const int failed = ReadConfiguration(session, configuration, true))
        return failed;
    QString refusal;
    const std::optional<IniDocument> document =
        Config::ReadConfigurationFile(path, configuration.Rows().Model(), refusal);
    if (!document)
        return session.Fail(ExitBadInput, refusal);
    const QString refused = configuration.ApplyFile(*document);
    if (!refused.isEmpty())
        return session.Fail(ExitBadInput, refused + u' ' + GetText(NothingWrittenText));
    ReportToLogbook(ConfigurationImported(KnownGauge(session.Gauge()), path));

    QString question;
    const IniDocument shown =
        configuration.Export(session.Gauge().SupportsImpulseFactor(session.Model()));
    for (const QString& line : CliConfiguration::KeyLines(shown))
        question += line + u'\n';
    question += GetText(WriteQuestionText).arg(Vocabulary::ModelName(session.Model()));
    if (ShowMessageDialog(question, MsgKind::Confirmation, MsgButtons::YesNo) != MsgResult::Yes)
        return session.Fail(ExitBadInput, GetText(NothingWrittenText));
    return WriteConfiguration(session, configuration);
}

int Set(CliSession& session, const QStringList& arguments) {
    if (arguments.isEmpty())
        return WrongArguments(session, "config");
    IniDocument changes;
    const QString wrong = CliConfiguration::ParseChanges(arguments, changes);
    if (!wrong.isEmpty())
        return session.Fail(ExitBadInput, wrong);
    CliConfiguration configuration(session.Gauge());
    if (const int failed = ReadConfiguration(session, configuration, true))
        return failed;
    const QString refused = configuration.ApplyChanges(changes);
    if (!refused.isEmpty())
        return session.Fail(ExitBadInput, refused + u' ' + GetText(NothingWrittenText));
    return WriteConfiguration(session, configuration);
}

} // namespace

int RunConfig(CliSession& session, const QStringList& arguments) {
    const QString action = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (session.Options().json && action != QLatin1String("read"))
        return WrongArguments(session, "config");
    if (action == QLatin1String("read"))
        return Read(session, rest);
    if (action == QLatin1String("export"))
        return Export(session, rest);
    if (action == QLatin1String("import"))
        return Import(session, rest);
    if (action == QLatin1String("set"))
        return Set(session, rest);
    return WrongArguments(session, "config");
}
