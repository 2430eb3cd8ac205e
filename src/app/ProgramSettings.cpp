#include "app/ProgramSettings.h"

#include "config/IniDocument.h"
#include "ui/FolderSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

const QString SettingsFileName = QStringLiteral("settings.ini");
const QByteArray Section = QByteArrayLiteral("GENERAL");
const QByteArray FirmwareKey = QByteArrayLiteral("FIRMWAREPATH");
const QByteArray ValueKey = QByteArrayLiteral("VALUEPATH");
const QByteArray ParamKey = QByteArrayLiteral("PARAMPATH");
const QByteArray ReportKey = QByteArrayLiteral("REPORTPATH");
const QString LanguageGroup = QStringLiteral("Language");
const QString OffsetValue = QStringLiteral("Offset");

QString Joined(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name);
}

} // namespace

bool FolderWritable(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    // Permission bits do not tell the whole truth (ACLs, read-only mounts):
    // try it.
    QTemporaryFile probe(Joined(folder, QStringLiteral(".tessra2-write-test-XXXXXX")));
    return probe.open();
}

SettingsLocation LocateSettings(const QString& programFolder, const QString& userFolder) {
    const QString besideProgram = Joined(programFolder, SettingsFileName);
    if (FolderWritable(programFolder))
        return {besideProgram, besideProgram};
    const QString perUser = Joined(userFolder, SettingsFileName);
    if (!QFileInfo::exists(perUser) && QFileInfo::exists(besideProgram))
        return {besideProgram, perUser};
    return {perUser, perUser};
}

SettingsLocation ProgramSettingsLocation() {
    return LocateSettings(ProgramFolder(),
                          QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

void ReadFolderSettings(const QString& path, const QString& programFolder) {
    // A missing or unreadable file gives the program folder for all three.
    const IniDocument file = IniDocument::Load(path).value_or(IniDocument());
    const auto read = [&](const QByteArray& key) {
        return file.Text(Section, key).value_or(programFolder);
    };
    FirmwarePath = read(FirmwareKey);
    ValuePath = read(ValueKey);
    ParamPath = read(ParamKey);
    ReportPath = file.Text(Section, ReportKey).value_or(QString());
}

bool WriteFolderSettings(const QString& path) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    // Other sections and lines of an existing file are kept.
    IniDocument file = IniDocument::Load(path).value_or(IniDocument());
    file.SetText(Section, FirmwareKey, FirmwarePath);
    file.SetText(Section, ValueKey, ValuePath);
    file.SetText(Section, ParamKey, ParamPath);
    if (!ReportPath.isEmpty())
        file.SetText(Section, ReportKey, ReportPath);
    return file.Save(path);
}

LanguageStore::LanguageStore(QString organisation, QString application)
    : organisation_(std::move(organisation)), application_(std::move(application)) {}

std::optional<int> LanguageStore::Read() const {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organisation_, application_);
    if (store.status() != QSettings::NoError)
        return std::nullopt;
    const QVariant value = store.value(LanguageGroup + u'/' + OffsetValue);
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int offset = value.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return offset;
}

bool LanguageStore::Write(int offset) const {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organisation_, application_);
    store.setValue(LanguageGroup + u'/' + OffsetValue, offset);
    store.sync();
    return store.status() == QSettings::NoError;
}

void LanguageStore::Clear() const {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organisation_, application_);
    store.remove(LanguageGroup + u'/' + OffsetValue);
    store.sync();
}
