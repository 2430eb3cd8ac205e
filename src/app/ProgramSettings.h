#pragma once

// Where the program keeps what it remembers between runs:
// - settings.ini with the three folders of section "GENERAL", beside the
//   program file, or in the per-user configuration folder when the
//   program's folder cannot be written;
// - the chosen language, per user, in the platform's native settings store
//   (the registry on Windows) under "Axo-Gauges/Tessra2Bediensoftware",
//   group "Language", value "Offset".

#include <QString>
#include <optional>

struct SettingsLocation {
    QString readPath;  // the file read at start-up
    QString writePath; // the file written when the program closes
};

// The settings file beside the program when programFolder can be written,
// else in userFolder. When the file is written per user but does not exist
// there yet, a settings.ini beside the program is still read.
SettingsLocation LocateSettings(const QString& programFolder, const QString& userFolder);
// The same for the running program (its folder and the per-user
// configuration folder of the application).
SettingsLocation ProgramSettingsLocation();
bool FolderWritable(const QString& folder);

// ReadSettings: FirmwarePath, ValuePath and ParamPath from the file, each
// defaulting to programFolder (which ends with the path separator).
void ReadFolderSettings(const QString& path, const QString& programFolder);
// WriteSettings: the three folders into the file, written whole.
bool WriteFolderSettings(const QString& path);

class LanguageStore {
public:
    static constexpr const char* Organisation = "Axo-Gauges";
    static constexpr const char* Application = "Tessra2Bediensoftware";

    explicit LanguageStore(QString organisation = QString::fromLatin1(Organisation),
                           QString application = QString::fromLatin1(Application));

    // The stored offset; none when the value is missing, not an integer or
    // the store cannot be read.
    std::optional<int> Read() const;
    // Stores offset; false when the store cannot be written.
    bool Write(int offset) const;
    // Removes the value (for tests).
    void Clear() const;

private:
    QString organisation_;
    QString application_;
};
