#include "TextTable.h"

#include <QFile>
#include <QStringDecoder>

// The data files sit in a static library: registering them explicitly makes
// sure the linker keeps them.
static void RegisterTextResources() {
    Q_INIT_RESOURCE(texts);
}

namespace TextTable {

const std::vector<Language>& Languages() {
    static const std::vector<Language> languages = {
        {"de", 0}, {"en", 10000}, {"fr", 20000}, {"es", 30000}, {"ru", 40000}, {"tr", 50000},
    };
    return languages;
}

bool IsLanguageOffset(int offset) {
    for (const Language& language : Languages()) {
        if (language.offset == offset)
            return true;
    }
    return false;
}

namespace {

// "\r\n" written in the data file becomes a real CR LF.
QString Unescape(QString text) {
    text.replace(QStringLiteral("\\r\\n"), QStringLiteral("\r\n"));
    return text;
}

int ParseId(QStringView digits) {
    if (digits.isEmpty() || digits.size() > 4)
        return 0;
    int id = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return 0;
        id = id * 10 + (c.unicode() - u'0');
    }
    return id < BlockSize ? id : 0;
}

} // namespace

ParsedBlock ParseBlock(const QByteArray& utf8) {
    ParsedBlock block;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString all = decoder(utf8); // skips a leading BOM
    if (decoder.hasError())
        block.problems << QStringLiteral("0: not valid UTF-8");
    const QStringList lines = all.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QString number = QString::number(i + 1);
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            block.problems << number + QStringLiteral(": no \"=\"");
            continue;
        }
        const int id = ParseId(line.left(equals));
        if (id == 0) {
            block.problems << number + QStringLiteral(": bad text id");
            continue;
        }
        if (block.texts.contains(id)) {
            block.problems << number + QStringLiteral(": text id %1 repeated").arg(id);
            continue;
        }
        block.texts.insert(id, Unescape(line.mid(equals + 1).toString()));
    }
    return block;
}

namespace {

struct BuiltTable {
    QHash<int, QString> table;
    QStringList problems;

    BuiltTable() {
        RegisterTextResources();
        for (const Language& language : Languages()) {
            const QString name = QStringLiteral(":/texts/%1.txt").arg(QLatin1String(language.code));
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) {
                problems << name + QStringLiteral(": missing");
                continue;
            }
            const ParsedBlock block = ParseBlock(file.readAll());
            for (const QString& problem : block.problems)
                problems << name + QStringLiteral(":") + problem;
            for (auto it = block.texts.cbegin(); it != block.texts.cend(); ++it)
                table.insert(it.key() + language.offset, it.value());
        }
    }
};

const BuiltTable& Built() {
    static const BuiltTable built;
    return built;
}

} // namespace

const QHash<int, QString>& Table() {
    return Built().table;
}

const QStringList& Problems() {
    return Built().problems;
}

} // namespace TextTable
