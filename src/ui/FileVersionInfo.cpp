#include "FileVersionInfo.h"

#include "VersionResource.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// The version strings built into this program, in Field order.
constexpr std::array<const char*, TFileVersionInfo::FieldCount> OwnVersionStrings = {
    TESSRA_COMPANY_NAME,    TESSRA_FILE_DESCRIPTION, TESSRA_FILE_VERSION,      TESSRA_INTERNAL_NAME,
    TESSRA_LEGAL_COPYRIGHT, TESSRA_LEGAL_TRADEMARKS, TESSRA_ORIGINAL_FILENAME, TESSRA_PRODUCT_NAME,
    TESSRA_PRODUCT_VERSION, TESSRA_COMMENTS,
};

bool IsRunningProgram(const QString& path) {
    if (path.isEmpty() || !QCoreApplication::instance())
        return false;
    const QString own = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    return !own.isEmpty() && QFileInfo(path).canonicalFilePath() == own;
}

} // namespace

const char* TFileVersionInfo::FieldName(Field field) {
    static constexpr std::array<const char*, FieldCount> names = {
        "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
        "LegalTradeMarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments",
    };
    return field >= 0 && field < FieldCount ? names[field] : "";
}

TFileVersionInfo::TFileVersionInfo(QObject* owner) : QObject(owner) {
    if (QCoreApplication::instance())
        SetExecutableFile(QCoreApplication::applicationFilePath());
}

void TFileVersionInfo::SetExecutableFile(const QString& path) {
    executableFile_ = path;
    Read();
}

void TFileVersionInfo::Read() {
    countryCode_.clear();
    for (QString& text : texts_)
        text.clear();
    if (!IsRunningProgram(executableFile_))
        return;
    countryCode_ = QString::fromLatin1(TESSRA_VERSION_COUNTRY_CODE);
    for (int field = 0; field < FieldCount; ++field)
        texts_[field] = QString::fromLatin1(OwnVersionStrings[field]);
}

QString GetProductVersion() {
    return TFileVersionInfo().ProductVersion();
}
