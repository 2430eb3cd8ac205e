#pragma once

// Texts in six languages, selected by text id and LanguageOffset, and the
// translation of windows by the text ids their widgets carry.

#include <QList>
#include <QString>
#include <QStringList>
#include <Qt>

class QObject;
class QWidget;
class QComboBox;
class QGroupBox;
class QRadioButton;
class QTreeWidget;

// 0 German, 10000 English, 20000 French, 30000 Spanish, 40000 Russian, 50000 Turkish.
// Any other value selects no block: every lookup then shows German.
extern int LanguageOffset;

constexpr int OffsetGerman = 0;
constexpr int OffsetEnglish = 10000;
constexpr int OffsetFrench = 20000;
constexpr int OffsetSpanish = 30000;
constexpr int OffsetRussian = 40000;
constexpr int OffsetTurkish = 50000;

// Text of id (1 to 9999) in the current language, German when the language
// lacks it, empty when neither has it. The first "&" is deleted ("&&" -> "&").
QString GetText(int id);
// Menu caption of id: the menu language file of the current language first
// (Russian: "zh-CHT.txt", Turkish: "zh-CHS.txt"), then the table as GetText,
// but keeping every "&".
QString GetMenuText(int id);
// Entry id of the table as stored (id + offset), or a null QString when absent.
QString TableEntry(int storedId);

// The text id a widget (or QAction, QMenu, ...) carries, in the dynamic
// property "tag". 0 = never touched by translation.
void SetTag(QObject* object, int tag);
int Tag(const QObject* object);

// Radio groups: a QGroupBox that directly holds QRadioButtons is a radio
// group. Its tag is caption id * 65536 + id of the first item; item i (the
// radio buttons in creation order) takes text id first + i.
constexpr int RadioGroupTag(int captionId, int firstItemId) {
    return captionId * 65536 + firstItemId;
}
QList<QRadioButton*> RadioGroupItems(const QGroupBox* group);

// List views (QTreeWidget): each column carries its own tag, kept in the
// header item's data for that column under ColumnTagRole. A list view that
// instead has a dynamic property "columnTags" (a list of ints) is read
// from that list for the columns the header data does not tag.
constexpr int ColumnTagRole = Qt::UserRole + 0x7A6;
void SetColumnTag(QTreeWidget* listView, int column, int tag);
int ColumnTag(const QTreeWidget* listView, int column);

// Applies texts to every object owned directly by owner (not deeper): its
// direct children in creation order, the menu entries of a menu bar or
// menu it owns, and the actions added to it. owner itself gets its title
// when it is a window with a tag. How each kind of widget is translated is
// described in WideLanguageHandlerTranslate.cpp.
void TranslateComponents(QObject* owner);
// Item i becomes GetText(firstId + i) where that text is not empty; the
// number of items never changes. firstId 0 leaves the items alone.
void TranslateItems(QComboBox* items, int firstId);
void TranslateItems(QStringList& items, int firstId);
void TranslateItems(QGroupBox* radioGroup, int firstId);
// Every column heading becomes GetText(column tag); tag 0 gives an empty heading.
void TranslateListColumns(QTreeWidget* listView);

// Reads "zh-CHT.txt" and "zh-CHS.txt" from folder (the program's folder by
// default). A file that is missing, unreadable or larger than
// MaxLanguageFileBytes counts as absent. Replaces what an earlier call read.
constexpr qint64 MaxLanguageFileBytes = 4 * 1024 * 1024;
void LoadLanguageFiles(const QString& folder = QString());
// Decodes one language file's bytes into its lines that contain "=" (exposed
// for tests). Byte-order marks FF FE (UTF-16 LE), FE FF (UTF-16 BE) and
// EF BB BF (UTF-8); otherwise the system's 8-bit code page, with Latin-1 for
// bytes that code page cannot decode. Lines end in CR LF, CR, LF or U+2028;
// a NUL ends the text.
QStringList DecodeLanguageFile(const QByteArray& bytes);

// Makes the gauge handler's messages use GetText. The main window calls it at start.
void InstallGaugeTextSource();
