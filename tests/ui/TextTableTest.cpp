// The built-in text table: completeness of the six blocks, the fallback to
// German and the "&" rules of GetText and GetMenuText.

#include "support/LanguageScope.h"
#include "ui/TextTable.h"

#include <QSet>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

// The text ids the program has had from the start (German holds them all).
QSet<int> AllTextIds() {
    static const std::vector<std::pair<int, int>> ranges = {
        {1, 13},    {16, 44},   {46, 51},   {55, 58},   {60, 76},   {80, 81},   {85, 87},
        {90, 91},   {100, 108}, {110, 118}, {120, 122}, {130, 153}, {158, 158}, {160, 177},
        {180, 194}, {199, 215}, {217, 253}, {260, 260}, {263, 263}, {265, 268}, {280, 289},
        {300, 307}, {310, 317}, {330, 332}, {350, 356}, {358, 359}, {370, 384}, {400, 442},
        {450, 453}, {457, 458}, {515, 515}, {519, 519}, {530, 532}, {550, 565}, {570, 572},
        {580, 585}, {590, 606}, {610, 618}, {620, 623},
    };
    QSet<int> ids;
    for (auto [first, last] : ranges)
        for (int id = first; id <= last; ++id)
            ids.insert(id);
    return ids;
}

QSet<int> Without(QSet<int> ids, std::initializer_list<int> removed) {
    for (int id : removed)
        ids.remove(id);
    return ids;
}

QSet<int> Range(int first, int last) {
    QSet<int> ids;
    for (int id = first; id <= last; ++id)
        ids.insert(id);
    return ids;
}

// Ids present (with a non-empty text) in the block at offset.
QSet<int> BlockIds(int offset) {
    QSet<int> ids;
    const QHash<int, QString>& table = TextTable::Table();
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        if (it.key() >= offset && it.key() < offset + TextTable::BlockSize && !it.value().isEmpty())
            ids.insert(it.key() - offset);
    }
    return ids;
}

QString Describe(const QSet<int>& ids) {
    QList<int> sorted = ids.values();
    std::sort(sorted.begin(), sorted.end());
    QStringList parts;
    for (int id : sorted)
        parts << QString::number(id);
    return parts.join(u' ');
}

void ExpectBlock(const char* language, int offset, const QSet<int>& expected) {
    const QSet<int> actual = BlockIds(offset);
    EXPECT_TRUE((expected - actual).isEmpty())
        << language << " lacks " << Describe(expected - actual).toStdString();
    EXPECT_TRUE((actual - expected).isEmpty())
        << language << " has unexpected " << Describe(actual - expected).toStdString();
}

} // namespace

TEST(TextTable, DataFilesParseCleanly) {
    EXPECT_TRUE(TextTable::Problems().isEmpty()) << TextTable::Problems().join(u'\n').toStdString();
}

TEST(TextTable, EveryBlockHoldsTheEnglishListWithExactlyTheKnownGaps) {
    const QSet<int> german = {74, 532}; // these two exist only in German
    const QSet<int> english = BlockIds(OffsetEnglish);
    // The English block holds every text the program has always had, and
    // may hold texts added since; the German-only ones are not in it.
    const QSet<int> required = AllTextIds() - german;
    ASSERT_EQ(required.size(), 375);
    EXPECT_TRUE((required - english).isEmpty())
        << "English lacks " << Describe(required - english).toStdString();
    EXPECT_TRUE((english & german).isEmpty());
    // Every other block holds the English list, with exactly the known gaps.
    ExpectBlock("German", OffsetGerman, english + german);
    ExpectBlock("French", OffsetFrench, english);
    ExpectBlock("Spanish", OffsetSpanish, english - Range(68, 74));
    ExpectBlock("Russian", OffsetRussian, Without(english, {65, 66}));
    ExpectBlock("Turkish", OffsetTurkish, Without(english, {289}));
    // Nothing outside the six blocks.
    for (auto it = TextTable::Table().cbegin(); it != TextTable::Table().cend(); ++it)
        EXPECT_TRUE(TextTable::IsLanguageOffset(it.key() / 10000 * 10000)) << it.key();
}

TEST(TextTable, SampleWordingsOfEveryLanguage) {
    struct Row {
        int id;
        const char* texts[6]; // de en fr es ru tr
    };
    const Row rows[] = {
        {2, {"Datei", "File", "Fichier", "Archivo", "Файл", "Dosya"}},
        {60, {"deaktiviert", "deactivated", "OFF", "OFF", "ВЫКЛ", "Durduruldu"}},
        {300, {"Ja", "Yes", "Oui", "Sí", "Да", "Evet"}},
        {302, {"Abbrechen", "Cancel", "Annuler", "Cancelar", "Прервать", "Iptal et"}},
        {307, {"Warnung", "Warning", "Avertissement", "Advertencia", "Предупреждение", "Uyari"}},
    };
    for (const Row& row : rows) {
        for (int language = 0; language < 6; ++language) {
            LanguageScope scope(language * 10000);
            EXPECT_EQ(GetText(row.id), QString::fromUtf8(row.texts[language]))
                << "id " << row.id << " offset " << language * 10000;
        }
    }
}

TEST(TextTable, TurkishIsWrittenWithoutTurkishLetters) {
    const QString turkishLetters = QString::fromUtf8("ğĞıİşŞçÇöÖüÜ");
    for (int id : BlockIds(OffsetTurkish)) {
        const QString text = TableEntry(OffsetTurkish + id);
        for (QChar c : turkishLetters)
            EXPECT_FALSE(text.contains(c)) << "Turkish text " << id << ": " << text.toStdString();
    }
}

TEST(TextTable, LineBreaksAndBlanksOfTheDataFiles) {
    LanguageScope english(OffsetEnglish);
    EXPECT_EQ(GetText(457), "An error code was displayed.\r\nTo ensure wether the error is "
                            "permanent,\r\nplease repeat the measuring");
    EXPECT_EQ(GetText(28), "Read from "); // trailing blank kept
    EXPECT_EQ(GetText(243), " > The assistant is reading the Axo Tessra2 device parameters: ");
    EXPECT_EQ(GetText(221), "With the aid of the \"Guided accuracy test\" you are able to check if "
                            "a Axo Tessra2 is within its specified measurement limits.");
    for (int offset = 0; offset <= OffsetTurkish; offset += 10000) {
        for (int id : BlockIds(offset))
            EXPECT_FALSE(TableEntry(offset + id).contains(u'\\')) << offset + id;
    }
}

TEST(GetText, FallsBackToGermanForTheGapsOfEachLanguage) {
    {
        LanguageScope spanish(OffsetSpanish);
        EXPECT_EQ(GetText(68), "SDI-12 Protokoll");
        EXPECT_EQ(GetText(73), TableEntry(73));
        EXPECT_EQ(GetText(67), TableEntry(OffsetSpanish + 67));
        EXPECT_EQ(GetText(75), TableEntry(OffsetSpanish + 75));
    }
    for (int offset = 0; offset <= OffsetTurkish; offset += 10000) {
        LanguageScope scope(offset);
        EXPECT_EQ(GetText(74), "ASCII Text 57600 bd") << offset;
        EXPECT_EQ(GetText(532), "0.05") << offset;
    }
    {
        LanguageScope russian(OffsetRussian);
        EXPECT_EQ(GetText(65), TableEntry(65));
        EXPECT_EQ(GetText(66), TableEntry(66));
        EXPECT_EQ(GetText(67), TableEntry(OffsetRussian + 67));
    }
    {
        LanguageScope turkish(OffsetTurkish);
        EXPECT_EQ(GetText(289), QString::fromUtf8("Messversuch läuft..."));
        EXPECT_EQ(GetText(288), TableEntry(OffsetTurkish + 288));
    }
}

TEST(GetText, NoTextGivesAnEmptyText) {
    LanguageScope english(OffsetEnglish);
    EXPECT_TRUE(GetText(0).isEmpty());
    EXPECT_TRUE(GetText(14).isEmpty()); // unused id: neither English nor German
    EXPECT_TRUE(GetText(-10000 + 2).isEmpty());
    EXPECT_TRUE(GetText(9999).isEmpty());
    EXPECT_TRUE(TableEntry(14).isNull());
    EXPECT_TRUE(GetMenuText(0).isEmpty());
    EXPECT_TRUE(GetMenuText(14).isEmpty());
    LanguageScope german(OffsetGerman);
    // A stored id is not a text id: it never reaches another language's block.
    EXPECT_TRUE(GetText(OffsetEnglish + 2).isEmpty());
}

TEST(GetText, AnOffsetThatIsNoLanguageShowsGerman) {
    for (int offset : {5, 1, -1, -10000, 9999, 12345, 60000, 2147483647, -2147483647 - 1}) {
        LanguageScope scope(offset);
        EXPECT_EQ(GetText(1),
                  QString::fromUtf8("Bedienprogramm für Axo Tessra2, Tessra2 S & Tessra2 L"))
            << offset;
        EXPECT_EQ(GetText(300), "Ja") << offset;
        EXPECT_EQ(GetMenuText(224), "&Weiter") << offset;
    }
}

TEST(GetText, DeletesTheFirstAmpersandOnlyWhileMenuTextsKeepThemAll) {
    LanguageScope english(OffsetEnglish);
    EXPECT_EQ(GetText(1), "Axo Tessra2, Tessra2 S & Tessra2 L operating program");
    EXPECT_EQ(GetMenuText(1), "Axo Tessra2, Tessra2 S && Tessra2 L operating program");
    EXPECT_EQ(GetText(224), "Continue");
    EXPECT_EQ(GetMenuText(224), "&Continue");
    EXPECT_EQ(GetText(2), "File");
    EXPECT_EQ(GetMenuText(2), "File");
    LanguageScope german(OffsetGerman);
    EXPECT_EQ(GetText(226), "Abbrechen");
    EXPECT_EQ(GetMenuText(226), TableEntry(226));
    EXPECT_TRUE(GetMenuText(226).startsWith(u'&'));
}

TEST(TextTable, ParseBlockRejectsMalformedLinesAndKeepsTheFirstOfTwo) {
    const TextTable::ParsedBlock block = TextTable::ParseBlock("\xEF\xBB\xBF# comment\r\n"
                                                               "2=File\r\n"
                                                               "2=Second\n"
                                                               "\n"
                                                               "   \n"
                                                               "3=a=b\\r\\nc\n"
                                                               " 4=blank before the id\n"
                                                               "5 =blank after the id\n"
                                                               "no equals sign\n"
                                                               "0=zero\n"
                                                               "10000=too large\n"
                                                               "x7=letters\n"
                                                               "8=\n"
                                                               "9=last line without line end");
    EXPECT_EQ(block.texts.value(2), "File");
    EXPECT_EQ(block.texts.value(3), "a=b\r\nc");
    EXPECT_TRUE(block.texts.contains(8));
    EXPECT_EQ(block.texts.value(8), "");
    EXPECT_EQ(block.texts.value(9), "last line without line end");
    EXPECT_EQ(block.texts.size(), 4);
    EXPECT_EQ(block.problems.size(), 7) << block.problems.join(u'|').toStdString();
    EXPECT_TRUE(block.problems.first().startsWith("3:")) << block.problems.first().toStdString();
    EXPECT_FALSE(TextTable::ParseBlock("1=\xFF\xFE").problems.isEmpty());
}
