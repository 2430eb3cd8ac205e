// settings.ini as the program reads and writes it. Whatever bytes the file
// holds, reading gives three folders; writing them back and reading again
// gives the same three, and no value can add keys of its own.

#include "FuzzSupport.h"
#include "app/ProgramSettings.h"
#include "config/IniDocument.h"
#include "ui/FolderSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = FuzzFolder() + QStringLiteral("/settings.ini");
    {
        QFile file(path);
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Check(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    const QString program = QStringLiteral("/program/");
    ReadFolderSettings(path, program);
    const QString firmware = FirmwarePath, value = ValuePath, param = ParamPath;

    Check(WriteFolderSettings(path));
    FirmwarePath = ValuePath = ParamPath = QString();
    ReadFolderSettings(path, program);
    Check(FirmwarePath == firmware);
    Check(ValuePath == value);
    Check(ParamPath == param);

    // Each key is in the section once; the values cannot have made lines.
    const std::optional<IniDocument> written = IniDocument::Load(path);
    Check(written.has_value());
    for (const char* key : {"FIRMWAREPATH", "VALUEPATH", "PARAMPATH"})
        Check(written->Value("GENERAL", key).has_value());
    return 0;
}
