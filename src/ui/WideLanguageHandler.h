#pragma once

// Texts in six languages, selected by text id and LanguageOffset, and the
// translation of windows by the text ids their widgets carry.

#include <QString>
#include <QStringList>

class QObject;
class QWidget;
class QComboBox;
class QTreeWidget;

// 0 German, 10000 English, 20000 French, 30000 Spanish, 40000 Russian, 50000 Turkish.
extern int LanguageOffset;

constexpr int OffsetGerman = 0;
constexpr int OffsetEnglish = 10000;
constexpr int OffsetFrench = 20000;
constexpr int OffsetSpanish = 30000;
constexpr int OffsetRussian = 40000;
constexpr int OffsetTurkish = 50000;

QString GetText(int id);
QString GetMenuText(int id);
// Entry id of the table as stored (id + offset), or a null QString when absent.
QString TableEntry(int storedId);

// The text id a widget (or QAction) carries, in the dynamic property "tag".
// 0 = never touched by translation.
void SetTag(QObject* object, int tag);
int Tag(const QObject* object);

// Applies texts to every object owned directly by owner (not deeper).
void TranslateComponents(QObject* owner);
void TranslateItems(QComboBox* items, int firstId);
void TranslateItems(QStringList& items, int firstId);
void TranslateListColumns(QTreeWidget* listView);

// Reads "zh-CHT.txt" and "zh-CHS.txt" from folder (the program's folder by default).
void LoadLanguageFiles(const QString& folder = QString());
// Decodes one language file's bytes into its lines (exposed for tests).
QStringList DecodeLanguageFile(const QByteArray& bytes);
