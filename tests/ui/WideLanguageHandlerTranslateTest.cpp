// TranslateComponents and its helpers applied to real widgets.

#include "support/LanguageScope.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// A panel that shows its caption somewhere inside, like the status panels.
class CaptionPanel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(QString caption READ Caption WRITE SetCaption)
public:
    using QFrame::QFrame;
    QString Caption() const { return caption_; }
    void SetCaption(const QString& text) { caption_ = text; }

private:
    QString caption_;
};

template <typename W> W* Make(QWidget* parent, int tag, const QString& text = QString()) {
    auto* widget = new W(parent);
    if constexpr (std::is_base_of_v<QAbstractButton, W> || std::is_base_of_v<QLabel, W>)
        widget->setText(text);
    SetTag(widget, tag);
    return widget;
}

QComboBox* MakeCombo(QWidget* parent, int tag, const QStringList& items, int selected) {
    auto* combo = new QComboBox(parent);
    combo->addItems(items);
    combo->setCurrentIndex(selected);
    SetTag(combo, tag);
    return combo;
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace

TEST(TranslateComponents, CaptionsOfButtonsLabelsAndGroups) {
    LanguageScope english(OffsetEnglish);
    QWidget frame;
    auto* button = Make<QPushButton>(&frame, 10, "x");
    auto* tool = Make<QToolButton>(&frame, 31, "x");
    auto* label = Make<QLabel>(&frame, 48, "x:");
    auto* untagged = Make<QLabel>(&frame, 0, "design time");
    auto* missing = Make<QLabel>(&frame, 14, "kept"); // id without any text
    auto* group = new QGroupBox("x", &frame);
    SetTag(group, 20);
    auto* edit = new QLineEdit("typed", &frame);
    SetTag(edit, 2);
    auto* panel = new CaptionPanel(&frame);
    SetTag(panel, 16);

    TranslateComponents(&frame);
    EXPECT_EQ(button->text(), "Connect");
    EXPECT_EQ(tool->text(), "Reset");
    EXPECT_EQ(label->text(), "Bus address:");
    EXPECT_EQ(untagged->text(), "design time");
    EXPECT_EQ(missing->text(), "kept");
    EXPECT_EQ(group->title(), "Axo Tessra2 settings");
    EXPECT_EQ(edit->text(), "typed");
    EXPECT_EQ(panel->Caption(), "Status");

    LanguageScope german(OffsetGerman);
    TranslateComponents(&frame);
    EXPECT_EQ(button->text(), TableEntry(10));
    EXPECT_EQ(panel->Caption(), TableEntry(16));
}

TEST(TranslateComponents, ColonRuleOfCheckBoxesRadioButtonsAndLabelledEdits) {
    LanguageScope english(OffsetEnglish);
    QWidget frame;
    auto* colon = Make<QCheckBox>(&frame, 591, "Automatisch:");
    auto* plain = Make<QCheckBox>(&frame, 592, "Nur Grossbuchstaben");
    auto* empty = Make<QCheckBox>(&frame, 591, "");
    auto* radio = Make<QRadioButton>(&frame, 595, "Dauer:");
    auto* label = Make<QLabel>(&frame, 595, "Dauer:"); // a plain label: no colon added
    auto* edit = new QLineEdit(&frame);
    auto* editLabel = Make<QLabel>(&frame, 595, "Dauer:");
    editLabel->setBuddy(edit);
    auto* alreadyColon = Make<QCheckBox>(&frame, 48, "Adresse:"); // text 48 ends with ":" itself

    TranslateComponents(&frame);
    EXPECT_EQ(colon->text(), "Insert SDI-12 address automatically:");
    EXPECT_EQ(plain->text(), "Capital letters only");
    EXPECT_EQ(empty->text(), "Insert SDI-12 address automatically");
    EXPECT_EQ(radio->text(), "Permanent Measurement:");
    EXPECT_EQ(label->text(), "Permanent Measurement");
    EXPECT_EQ(editLabel->text(), "Permanent Measurement:");
    EXPECT_EQ(alreadyColon->text(), "Bus address:");

    // Translating again (a language change) keeps one colon.
    TranslateComponents(&frame);
    EXPECT_EQ(colon->text(), "Insert SDI-12 address automatically:");
    EXPECT_EQ(alreadyColon->text(), "Bus address:");
}

TEST(TranslateComponents, ComboBoxesKeepTheirSelectionAndCount) {
    LanguageScope english(OffsetEnglish);
    QWidget frame;
    auto* units = MakeCombo(&frame, 50, {"C", "F"}, 1);
    auto* untagged = MakeCombo(&frame, 0, {"design 1", "design 2"}, 0);
    // Texts 52 to 54 do not exist: those items keep their text.
    auto* surplus = MakeCombo(&frame, 50, {"a", "b", "c", "d", "e", "f"}, 5);
    auto* emptyCombo = MakeCombo(&frame, 50, {}, -1);

    TranslateComponents(&frame);
    EXPECT_EQ(Items(units), QStringList({QString::fromUtf8("°C"), QString::fromUtf8("°F")}));
    EXPECT_EQ(units->currentIndex(), 1);
    EXPECT_EQ(Items(untagged), QStringList({"design 1", "design 2"}));
    EXPECT_EQ(Items(surplus), QStringList({QString::fromUtf8("°C"), QString::fromUtf8("°F"), "c",
                                           "d", "e", "mm/min"}));
    EXPECT_EQ(surplus->currentIndex(), 5);
    EXPECT_EQ(emptyCombo->count(), 0);
}

TEST(TranslateItems, ListsKeepSurplusEntriesAndEntriesWithoutText) {
    LanguageScope english(OffsetEnglish);
    QStringList items = {"a", "b", "c", "d", "e", "f", "g"};
    TranslateItems(items, 73); // 73 English; 74 German only; 75, 76; 77 to 79 have no text
    EXPECT_EQ(items, QStringList({"Retrieve ASCII text (1200 bd)", "ASCII Text 57600 bd", "5Hz",
                                  "2Hz", "e", "f", "g"}));
    QStringList untouched = {"a"};
    TranslateItems(untouched, 0);
    EXPECT_EQ(untouched, QStringList({"a"}));
    TranslateItems(untouched, 9999);
    EXPECT_EQ(untouched, QStringList({"a"}));
    QStringList none;
    TranslateItems(none, 2);
    EXPECT_TRUE(none.isEmpty());
}

TEST(TranslateComponents, RadioGroupTakesCaptionAndItemsFromOneTag) {
    LanguageScope english(OffsetEnglish);
    QWidget frame;
    auto* group = new QGroupBox("Heizung", &frame);
    SetTag(group, RadioGroupTag(23, 60));
    QList<QRadioButton*> items;
    for (const char* text : {"aus", "an", "Bereich", "extra"})
        items << new QRadioButton(text, group);
    items[1]->setChecked(true);
    auto* itemsOnly = new QGroupBox("Schnittstelle", &frame);
    SetTag(itemsOnly, RadioGroupTag(0, 65));
    auto* sdi = new QRadioButton("x", itemsOnly);

    TranslateComponents(&frame);
    EXPECT_EQ(group->title(), "Heating mode:");
    EXPECT_EQ(items[0]->text(), "deactivated");
    EXPECT_EQ(items[1]->text(), "permanent");
    EXPECT_EQ(items[2]->text(), "Temperature range control");
    EXPECT_EQ(items[3]->text(), "NWS-Standard");
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_EQ(itemsOnly->title(), "Schnittstelle");
    EXPECT_EQ(sdi->text(), "SDI-12");
    EXPECT_EQ(RadioGroupItems(group), items);
}

TEST(TranslateComponents, ListViewHeadingsFromColumnTags) {
    LanguageScope english(OffsetEnglish);
    QWidget frame;
    auto* list = new QTreeWidget(&frame);
    list->setHeaderLabels({"Nr", "keep", "Beschreibung", "Seriennummer"});
    SetTag(list, 1);
    SetColumnTag(list, 0, 85);
    SetColumnTag(list, 2, 86);
    SetColumnTag(list, 3, 14); // no text: the heading becomes empty
    auto* notVisited = new QTreeWidget(&frame);
    notVisited->setHeaderLabels({"Nr"});
    SetColumnTag(notVisited, 0, 85);
    auto* byProperty = new QTreeWidget(&frame);
    byProperty->setHeaderLabels({"a", "b"});
    byProperty->setProperty("columnTags", QVariantList{150, 151});
    SetTag(byProperty, 1);

    TranslateComponents(&frame);
    EXPECT_EQ(list->headerItem()->text(0), "No.");
    EXPECT_EQ(list->headerItem()->text(1), "keep");
    EXPECT_EQ(list->headerItem()->text(2), "Description of the USB device");
    EXPECT_EQ(list->headerItem()->text(3), "");
    EXPECT_EQ(notVisited->headerItem()->text(0), "Nr");
    EXPECT_EQ(byProperty->headerItem()->text(1), "Name");

    // TranslateListColumns sets every heading, empty for an untagged column.
    SetColumnTag(list, 3, 87);
    TranslateListColumns(list);
    EXPECT_EQ(list->headerItem()->text(1), "");
    EXPECT_EQ(list->headerItem()->text(3), "Serial number of the USB device");
    EXPECT_EQ(ColumnTag(list, 2), 86);
    EXPECT_EQ(ColumnTag(list, 9), 0);
}

TEST(TranslateComponents, TabPagesWindowsAndOnlyDirectChildren) {
    LanguageScope english(OffsetEnglish);
    QDialog window;
    SetTag(&window, 80);
    auto* tabs = new QTabWidget(&window);
    auto* first = new QWidget;
    SetTag(first, 34);
    auto* second = new QWidget;
    tabs->addTab(first, "Messung");
    tabs->addTab(second, "Zweite");
    auto* childWindow = new QDialog(&window);
    SetTag(childWindow, 144);
    auto* inner = new QWidget(&window);
    auto* deeper = Make<QLabel>(inner, 2, "Datei");

    TranslateComponents(&window);
    EXPECT_EQ(window.windowTitle(), "Connected USB devices");
    EXPECT_EQ(tabs->tabText(0), "Measurement");
    EXPECT_EQ(tabs->tabText(1), "Zweite");
    EXPECT_EQ(childWindow->windowTitle(), "Axo Tessra2 SDI-12 terminal");
    EXPECT_EQ(deeper->text(), "Datei"); // inner translates itself
    TranslateComponents(inner);
    EXPECT_EQ(deeper->text(), "File");

    // A frame (not a window) does not take a title from its tag.
    QWidget top;
    auto* frame = new QWidget(&top);
    SetTag(frame, 2);
    TranslateComponents(frame);
    EXPECT_EQ(frame->windowTitle(), "");
    TranslateComponents(nullptr);
}

TEST(TranslateComponents, AStoredOffsetThatIsNoLanguageShowsGerman) {
    LanguageScope odd(12345);
    QWidget frame;
    auto* label = Make<QLabel>(&frame, 300, "x");
    auto* combo = MakeCombo(&frame, 300, {"a", "b"}, 0);
    TranslateComponents(&frame);
    EXPECT_EQ(label->text(), "Ja");
    EXPECT_EQ(Items(combo), QStringList({"Ja", "Nein"}));
}

TEST(TranslateComponents, MenuEntriesUseTheMenuTexts) {
    QTemporaryDir dir;
    {
        QFile file(QDir(dir.path()).filePath("zh-CHT.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF"
                   "2=Menu file\r\n");
    }
    LoadLanguageFiles(dir.path());

    QMainWindow window;
    QMenu* fileMenu = window.menuBar()->addMenu("Datei");
    SetTag(fileMenu, 2);
    QAction* exit = fileMenu->addAction("Beenden");
    SetTag(exit, 3);
    QMenu* sub = fileMenu->addMenu("Weiter");
    QAction* next = sub->addAction("x");
    SetTag(next, 224);
    auto* ownAction = new QAction("x", &window);
    SetTag(ownAction, 225);
    auto* label = Make<QLabel>(&window, 2, "x");
    label->setObjectName("label");

    {
        LanguageScope english(OffsetEnglish);
        TranslateComponents(&window);
        EXPECT_EQ(fileMenu->title(), "File");
        EXPECT_EQ(exit->text(), "Exit");
        EXPECT_EQ(next->text(), "&Continue"); // the accelerator mark stays
        EXPECT_EQ(ownAction->text(), "&Back");
        EXPECT_EQ(sub->title(), "Weiter");
    }
    {
        LanguageScope russian(OffsetRussian);
        TranslateComponents(&window);
        EXPECT_EQ(fileMenu->title(), "Menu file");
        EXPECT_EQ(label->text(), QString::fromUtf8("Файл"));
        EXPECT_EQ(exit->text(), TableEntry(OffsetRussian + 3));
    }
    QTemporaryDir empty;
    LoadLanguageFiles(empty.path());
}

#include "WideLanguageHandlerTranslateTest.moc"
