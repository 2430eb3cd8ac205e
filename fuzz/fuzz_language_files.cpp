// The menu language files zh-CHT.txt and zh-CHS.txt, whatever bytes they
// hold: decoding never fails, and a menu text is either the file's or the
// text table's, never anything else.

#include "FuzzSupport.h"
#include "ui/WideLanguageHandler.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

namespace {



void WriteFile(const QString& name, const std::string& bytes) {
    QFile file(FuzzFolder() + u'/' + name);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Check(file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()));
}

bool FileHasLine(const QStringList& lines, int id, const QString& text) {
    const QString key = QString::number(id) + u'=';
    for (const QString& line : lines)
        if (line.startsWith(key))
            return line.mid(key.size()) == text;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string traditional = input.ConsumeRandomLengthString(size);
    const std::string simplified = input.ConsumeRemainingBytesAsString();

    const QStringList decoded = DecodeLanguageFile(QByteArray::fromStdString(traditional));
    for (const QString& line : decoded)
        Check(line.contains(u'=') && !line.contains(u'\r') && !line.contains(u'\n'));

    WriteFile(QStringLiteral("zh-CHT.txt"), traditional);
    WriteFile(QStringLiteral("zh-CHS.txt"), simplified);
    LoadLanguageFiles(FuzzFolder());
    const int saved = LanguageOffset;
    for (const int offset : {OffsetRussian, OffsetTurkish}) {
        LanguageOffset = offset;
        const QStringList lines =
            DecodeLanguageFile(QByteArray::fromStdString(offset == OffsetRussian ? traditional
                                                                                 : simplified));
        for (const int id : {1, 2, 9, 10, 91, 570}) {
            const QString text = GetMenuText(id);
            const QString table = TableEntry(id + offset).isEmpty() ? TableEntry(id)
                                                                    : TableEntry(id + offset);
            Check(FileHasLine(lines, id, text) || text == table);
        }
    }
    LanguageOffset = saved;
    return 0;
}
