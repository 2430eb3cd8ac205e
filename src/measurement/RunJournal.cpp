#include "measurement/RunJournal.h"

#include "measurement/FileSync.h"
#include "ui/Utf16TextFile.h"
#include "ui/WideLanguageHandler.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr int FolderNotWritableTextId = 910;
constexpr int NotWrittenTextId = 911;
constexpr int NotOpenTextId = 917;

// A serial number longer than this is cut in the file name.
constexpr qsizetype MaxSerialInName = 64;
// Runs started in one second before the program gives up finding a name.
constexpr int MaxRunsPerSecond = 1000;

const QString Extension = QStringLiteral(".txt");

// The serial number as a part of a file name on every system: letters,
// digits and "-" as they are, anything else "_".
QString NamePart(const QString& serial) {
    QString part = serial.trimmed().left(MaxSerialInName);
    for (QChar& c : part) {
        const bool plain = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
                           (c >= u'0' && c <= u'9') || c == u'-';
        if (!plain)
            c = u'_';
    }
    return part.isEmpty() ? QStringLiteral("gauge") : part;
}

QString Reason(const QString& text, const QString& path, const QString& why) {
    return text.arg(QDir::toNativeSeparators(path), why);
}

} // namespace

RunJournal::RunJournal(QString folder) : folder_(std::move(folder)) {}

RunJournal::~RunJournal() {
    Close();
}

QString RunJournal::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/Measurements");
}

bool RunJournal::IsJournalName(const QString& fileName) {
    static const QRegularExpression pattern(
        QStringLiteral("^.+_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d(_\\d+)?\\.txt$"));
    return pattern.match(fileName).hasMatch();
}

bool RunJournal::Start(const QString& gaugeSerial, const QDateTime& start, QString* error) {
    Close();
    path_.clear();
    std::error_code made;
    std::filesystem::create_directories(std::filesystem::path(folder_.toStdU16String()), made);
    if (made) {
        if (error != nullptr)
            *error = Reason(GetText(FolderNotWritableTextId), folder_,
                            QString::fromLocal8Bit(made.message()));
        return false;
    }
    const QString baseName =
        NamePart(gaugeSerial) + u'_' + start.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    if (!Create(baseName, error))
        return false;
    DeleteOldJournals(start);
    return true;
}

bool RunJournal::Create(const QString& baseName, QString* error) {
    const QDir folder(folder_);
    for (int run = 1; run <= MaxRunsPerSecond; ++run) {
        const QString name =
            run == 1 ? baseName + Extension : baseName + u'_' + QString::number(run) + Extension;
        file_.setFileName(folder.filePath(name));
        // Unbuffered: each record goes to the system in the one write call.
        if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (!QFileInfo::exists(file_.fileName()) || run == MaxRunsPerSecond) {
            if (error != nullptr)
                *error = Reason(GetText(FolderNotWritableTextId), folder_, file_.errorString());
            return false;
        }
    }
    const QByteArray mark = Utf16LeByteOrderMark();
    QString why;
    if (file_.write(mark) != mark.size() || !SyncFileData(file_, &why)) {
        if (why.isEmpty())
            why = file_.errorString();
        if (error != nullptr)
            *error = Reason(GetText(FolderNotWritableTextId), folder_, why);
        file_.close();
        file_.remove();
        return false;
    }
    size_ = mark.size();
    path_ = file_.fileName();
    return true;
}

bool RunJournal::Append(const MeasurementValues& record, const MeasurementExport::RowTexts& rows,
                        QChar timeSeparator, QString* error) {
    if (!IsOpen()) {
        if (error != nullptr)
            *error = GetText(NotOpenTextId);
        return false;
    }
    if (!rows_ || *rows_ != rows) {
        rows_ = rows;
        lines_.emplace(rows);
    }
    QByteArray bytes;
    lines_->AppendTo(bytes, record, timeSeparator);
    // One write call; only when the system takes part of it (a full disk)
    // does the rest go again, to have it written or the reason.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 now = file_.write(bytes.constData() + written, bytes.size() - written);
        if (now <= 0)
            break;
        written += now;
    }
    QString why;
    if (written != bytes.size())
        why = file_.errorString();
    else if (!SyncFileData(file_, &why) && why.isEmpty())
        why = file_.errorString();
    if (!why.isEmpty()) {
        // Whatever part of the record got written is cut off again, so that
        // the journal ends with a whole record.
        file_.resize(size_);
        if (error != nullptr)
            *error = Reason(GetText(NotWrittenTextId), path_, why);
        Close();
        return false;
    }
    size_ += bytes.size();
    return true;
}

void RunJournal::Close() {
    if (file_.isOpen())
        file_.close();
    rows_.reset();
    lines_.reset();
}

void RunJournal::DeleteOldJournals(const QDateTime& now) {
    const QString current = QFileInfo(path_).absoluteFilePath();
    QFileInfoList journals;
    const QFileInfoList files = QDir(folder_).entryInfoList(QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& file : files)
        if (IsJournalName(file.fileName()) && file.absoluteFilePath() != current)
            journals.append(file);
    std::sort(journals.begin(), journals.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() > b.lastModified();
    });
    // The current run counts among the newest.
    const qsizetype keptOthers = KeptRuns - 1;
    const QDateTime oldest = now.addDays(-KeptDays);
    for (qsizetype i = keptOthers; i < journals.size(); ++i)
        if (journals[i].lastModified() < oldest)
            QFile::remove(journals[i].absoluteFilePath());
}
