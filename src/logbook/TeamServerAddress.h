#pragma once

// The team's PostgreSQL server, named once on the command line as
//     postgresql://user@host[:port]/database[?sslmode=...]
// and kept in the per-user settings for later runs. The password never
// appears here: libpq reads it from ~/.pgpass or the file PGPASSFILE
// names, and an address that carries one is refused.

#include <QString>
#include <optional>

struct TeamServerAddress {
    QString user;
    QString host;
    int port = 5432;
    QString database;
    QString sslMode; // empty: libpq's default

    // The address in the form it is given and kept.
    QString Url() const;
    // "user@host:port/database", for messages.
    QString Shown() const;
    bool operator==(const TeamServerAddress&) const = default;
};

struct ParsedTeamAddress {
    std::optional<TeamServerAddress> address;
    QString error; // why text is refused, in the current language; empty when valid
};

ParsedTeamAddress ParseTeamAddress(const QString& text);

// The address kept in the per-user settings (the store the language is
// kept in), under "Logbook/TeamServer". Tests name a store of their own.
class TeamServerSetting {
public:
    TeamServerSetting();
    TeamServerSetting(QString organisation, QString application);

    QString Read() const; // empty when none is kept
    bool Write(const QString& url) const;
    void Clear() const;

private:
    QString organisation_;
    QString application_;
};

// The team server of this run. An address given on the command line is
// checked and kept for later runs; "off" forgets the kept one. Without one
// the kept address is used.
struct TeamServerChoice {
    std::optional<TeamServerAddress> address;
    QString error;  // a refused address: the message, in the current language
    QString notice; // a change of the kept address, said once
};
TeamServerChoice ChooseTeamServer(const std::optional<QString>& commandLine,
                                  const TeamServerSetting& setting);
