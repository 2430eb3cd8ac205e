#include "WideLanguageHandler.h"

#include "EightBitText.h"
#include "SmallFile.h"
#include "TextTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QVariant>

int LanguageOffset = OffsetGerman;

namespace {

// Lines of the two menu language files, read once at program start.
QStringList chtLines; // "zh-CHT.txt", used with the Russian offset
QStringList chsLines; // "zh-CHS.txt", used with the Turkish offset

// Table text of id in the current language, German when that is missing or
// empty. An offset that is not one of the six languages selects German
// directly, so it can never reach a neighbouring id or another block.
QString TableText(int id) {
    if (id <= 0 || id >= TextTable::BlockSize)
        return {};
    if (LanguageOffset != OffsetGerman && TextTable::IsLanguageOffset(LanguageOffset)) {
        const QString text = TableEntry(id + LanguageOffset);
        if (!text.isEmpty())
            return text;
    }
    return TableEntry(id);
}

QString MenuFileText(const QStringList& lines, int id) {
    const QString key = QString::number(id);
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (QStringView(line).left(equals) == key)
            return line.mid(equals + 1);
    }
    return {};
}

QStringList ReadLanguageFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return {};
    const std::optional<QByteArray> bytes = ReadSmallFile(path, MaxLanguageFileBytes);
    return bytes ? DecodeLanguageFile(*bytes) : QStringList();
}

QString DecodeWithoutBom(const QByteArray& bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArray text = nul < 0 ? bytes : bytes.left(nul);
    return DecodeTextFileBytes(text);
}

QString Decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringDecoder::Utf8)(bytes.mid(3));
    return DecodeWithoutBom(bytes);
}

} // namespace

QString TableEntry(int storedId) {
    return TextTable::Table().value(storedId);
}

QString GetText(int id) {
    QString text = TableText(id);
    const qsizetype ampersand = text.indexOf(u'&');
    if (ampersand >= 0)
        text.remove(ampersand, 1);
    return text;
}

QString GetMenuText(int id) {
    if (id <= 0)
        return {};
    QString text;
    if (LanguageOffset == OffsetRussian)
        text = MenuFileText(chtLines, id);
    else if (LanguageOffset == OffsetTurkish)
        text = MenuFileText(chsLines, id);
    if (text.isEmpty())
        text = TableText(id);
    return text;
}

void SetTag(QObject* object, int tag) {
    if (object)
        object->setProperty("tag", tag);
}

int Tag(const QObject* object) {
    if (!object)
        return 0;
    bool ok = false;
    const int tag = object->property("tag").toInt(&ok);
    return ok ? tag : 0;
}

void LoadLanguageFiles(const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty() && QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    chtLines.clear();
    chsLines.clear();
    if (dir.isEmpty())
        return;
    chtLines = ReadLanguageFile(QDir(dir).filePath(QStringLiteral("zh-CHT.txt")));
    chsLines = ReadLanguageFile(QDir(dir).filePath(QStringLiteral("zh-CHS.txt")));
}

QStringList DecodeLanguageFile(const QByteArray& bytes) {
    QString text = Decode(bytes);
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);

    QStringList lines;
    qsizetype start = 0;
    const auto takeLine = [&](qsizetype end) {
        const QString line = text.mid(start, end - start);
        if (line.contains(u'='))
            lines << line;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c != u'\r' && c != u'\n' && c != u'\x2028')
            continue;
        takeLine(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    takeLine(text.size());
    return lines;
}
