#include "logbook/TeamServerAddress.h"

#include "ui/WideLanguageHandler.h"

#include "VersionResource.h"

#include <QRegularExpression>
#include <QSettings>
#include <QUrl>
#include <QUrlQuery>

namespace {

constexpr int NotValidText = 980;
constexpr int NotPostgresqlText = 981;
constexpr int PasswordText = 982;
constexpr int NoUserText = 983;
constexpr int NoHostText = 984;
constexpr int NoDatabaseText = 985;
constexpr int BadPortText = 986;
constexpr int BadSslModeText = 987;
constexpr int UnknownParameterText = 988;
constexpr int NowUsedText = 995;
constexpr int NoLongerUsedText = 996;

constexpr int DefaultPort = 5432;
const QString Key = QStringLiteral("Logbook/TeamServer");
const QString Off = QStringLiteral("off");
const QString SslModeKey = QStringLiteral("sslmode");

bool KnownSslMode(const QString& mode) {
    for (const char* known : {"disable", "allow", "prefer", "require", "verify-ca", "verify-full"})
        if (mode == QLatin1String(known))
            return true;
    return false;
}

ParsedTeamAddress Refused(const QString& text, int causeId) {
    return {std::nullopt, GetText(NotValidText).arg(text, GetText(causeId))};
}

} // namespace

QString TeamServerAddress::Url() const {
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    url.setHost(host);
    if (port != DefaultPort)
        url.setPort(port);
    url.setPath(u'/' + database);
    if (!sslMode.isEmpty()) {
        QUrlQuery query;
        query.addQueryItem(SslModeKey, sslMode);
        url.setQuery(query);
    }
    return url.toString();
}

QString TeamServerAddress::Shown() const {
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return user + u'@' + shownHost + u':' + QString::number(port) + u'/' + database;
}

ParsedTeamAddress ParseTeamAddress(const QString& text) {
    // scheme://[user[:password]@]host[:port][/database][?query][#fragment]
    static const QRegularExpression form(
        QStringLiteral("^postgres(?:ql)?://([^/?#]*)(/[^?#]*)?(?:\\?([^#]*))?(#.*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return Refused(text, NotPostgresqlText);
    const QString authority = match.captured(1);
    const qsizetype at = authority.lastIndexOf(u'@');
    const QString userInfo = at < 0 ? QString() : authority.left(at);
    // Checked first, so that no later message repeats the password.
    if (userInfo.contains(u':')) {
        const QString given = text.trimmed();
        const qsizetype start = given.indexOf(QLatin1String("://")) + 3;
        const QString withoutPassword = given.left(start) + userInfo.left(userInfo.indexOf(u':')) +
                                        given.mid(start + userInfo.size());
        return {std::nullopt, GetText(PasswordText).arg(withoutPassword)};
    }
    const QString hostPort = authority.mid(at + 1);
    QString host = hostPort;
    QString port;
    if (hostPort.startsWith(u'[')) {
        const qsizetype close = hostPort.indexOf(u']');
        host = hostPort.mid(1, close - 1);
        const QString rest = close < 0 ? QString() : hostPort.mid(close + 1);
        if (close < 0 || (!rest.isEmpty() && !rest.startsWith(u':')))
            return Refused(text, NoHostText);
        port = rest.isEmpty() ? QString() : rest.mid(1);
        if (rest == QLatin1String(":"))
            port = QStringLiteral("?");
    } else if (const qsizetype colon = hostPort.lastIndexOf(u':'); colon >= 0) {
        host = hostPort.left(colon);
        port = hostPort.mid(colon + 1);
        if (port.isEmpty())
            port = QStringLiteral("?");
    }

    TeamServerAddress address;
    address.user = QUrl::fromPercentEncoding(userInfo.toUtf8());
    address.host = QUrl::fromPercentEncoding(host.toUtf8());
    address.database = QUrl::fromPercentEncoding(match.captured(2).mid(1).toUtf8());
    if (address.user.isEmpty())
        return Refused(text, NoUserText);
    if (address.host.isEmpty())
        return Refused(text, NoHostText);
    if (address.database.isEmpty() || address.database.contains(u'/'))
        return Refused(text, NoDatabaseText);
    if (!port.isEmpty()) {
        bool number = false;
        address.port = port.toInt(&number);
        if (!number || !port.front().isDigit() || address.port < 1 || address.port > 65535)
            return Refused(text, BadPortText);
    }
    if (!match.captured(4).isEmpty())
        return Refused(text, UnknownParameterText);
    const QUrlQuery query(match.captured(3));
    for (const auto& [name, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (name != SslModeKey)
            return Refused(text, UnknownParameterText);
        if (!KnownSslMode(value))
            return Refused(text, BadSslModeText);
        address.sslMode = value;
    }
    return {address, QString()};
}

TeamServerSetting::TeamServerSetting()
    : TeamServerSetting(QStringLiteral(TESSRA_COMPANY_NAME), QStringLiteral(TESSRA_INTERNAL_NAME)) {
}

TeamServerSetting::TeamServerSetting(QString organisation, QString application)
    : organisation_(std::move(organisation)), application_(std::move(application)) {}

QString TeamServerSetting::Read() const {
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, organisation_,
                          application_);
    return store.value(Key).toString();
}

bool TeamServerSetting::Write(const QString& url) const {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organisation_, application_);
    store.setValue(Key, url);
    store.sync();
    return store.status() == QSettings::NoError;
}

void TeamServerSetting::Clear() const {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organisation_, application_);
    store.remove(Key);
    store.sync();
}

TeamServerChoice ChooseTeamServer(const std::optional<QString>& commandLine,
                                  const TeamServerSetting& setting) {
    TeamServerChoice choice;
    const QString kept = setting.Read();
    if (!commandLine) {
        if (kept.isEmpty())
            return choice;
        ParsedTeamAddress parsed = ParseTeamAddress(kept);
        choice.address = parsed.address;
        choice.error = parsed.error;
        return choice;
    }
    if (commandLine->trimmed().toLower() == Off) {
        if (!kept.isEmpty()) {
            setting.Clear();
            choice.notice = GetText(NoLongerUsedText);
        }
        return choice;
    }
    ParsedTeamAddress parsed = ParseTeamAddress(*commandLine);
    if (!parsed.address) {
        choice.error = parsed.error;
        return choice;
    }
    choice.address = parsed.address;
    const QString url = parsed.address->Url();
    if (url != kept) {
        setting.Write(url);
        choice.notice = GetText(NowUsedText).arg(parsed.address->Shown());
    }
    return choice;
}
