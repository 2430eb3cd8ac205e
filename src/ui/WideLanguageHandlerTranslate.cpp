// Translation of windows and frames by the text ids their widgets carry.
//
// TranslateComponents(owner) visits what owner owns directly: its direct
// children in creation order, the entries of a menu bar or popup menu among
// them (menu entries belong to the window that shows the menu), and the
// actions added to owner. Objects with tag 0 are left alone. T = GetText(tag):
//
//   QAction, QMenu (menu entry)          GetMenuText(tag), when not empty
//   widget with a QString property
//     "caption" (status panels, tiles,
//     panel buttons)                     "caption" := T, when not empty
//   window (a child dialog; owner itself) window title := T, when not empty
//   QCheckBox, QRadioButton, and a
//     QLabel with a buddy (the label of
//     a labelled edit)                   colon rule, when T is not empty
//   other buttons, other QLabels,
//     plain QGroupBox                    text / title := T, when not empty
//   QGroupBox holding QRadioButtons
//     (radio group)                      items from tag % 65536, title from tag / 65536
//   QComboBox                            items from tag on, selection kept
//   QTreeWidget (list view)              each tagged column heading := GetText(column tag)
//   QTabWidget                           each page with a tag: tab text := T of the page's tag
//                                        (pages are visited whatever the tab widget's tag)
//
// Colon rule: when the current caption ends with ":", the new caption is T
// followed by ":" (unless T already ends with one); otherwise it is T.
// Edits, pictures, date/time pickers and text views are never touched.

#include "WideLanguageHandler.h"

#include "TextTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaProperty>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

// Text of item i of a list whose first item has text id firstId.
QString ItemText(int firstId, qsizetype i) {
    const qint64 id = qint64(firstId) + i;
    if (firstId == 0 || id <= 0 || id >= TextTable::BlockSize)
        return {};
    return GetText(int(id));
}

QString WithColonRule(const QString& current, const QString& text) {
    if (current.endsWith(u':') && !text.endsWith(u':'))
        return text + u':';
    return text;
}

bool HasCaptionProperty(const QObject* object) {
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty("caption");
    return index >= 0 && meta->property(index).metaType().id() == QMetaType::QString;
}

bool IsRadioGroup(const QGroupBox* group) {
    return !RadioGroupItems(group).isEmpty();
}

void TranslateTabPages(QTabWidget* tabs) {
    for (int i = 0; i < tabs->count(); ++i) {
        const int tag = Tag(tabs->widget(i));
        if (tag == 0)
            continue;
        const QString text = GetText(tag);
        if (!text.isEmpty())
            tabs->setTabText(i, text);
    }
}

void TranslateListView(QTreeWidget* listView) {
    for (int column = 0; column < listView->columnCount(); ++column) {
        const int tag = ColumnTag(listView, column);
        if (tag != 0)
            listView->headerItem()->setText(column, GetText(tag));
    }
}

void TranslateRadioGroup(QGroupBox* group, int tag) {
    TranslateItems(group, tag % 65536);
    const int captionId = tag / 65536;
    if (captionId == 0)
        return;
    const QString caption = GetText(captionId);
    if (!caption.isEmpty())
        group->setTitle(caption);
}

void TranslateComboBox(QComboBox* combo, int tag) {
    const int selected = combo->currentIndex();
    TranslateItems(combo, tag);
    combo->setCurrentIndex(selected);
}

void TranslateMenuEntry(QObject* object) {
    const int tag = Tag(object);
    if (tag == 0)
        return;
    const QString text = GetMenuText(tag);
    if (text.isEmpty())
        return;
    if (auto* menu = qobject_cast<QMenu*>(object))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(object))
        action->setText(text);
}

// The widget kinds whose caption is one text.
void TranslateCaption(QWidget* widget, int tag) {
    const QString text = GetText(tag);
    if (text.isEmpty())
        return;
    if (HasCaptionProperty(widget)) {
        widget->setProperty("caption", text);
    } else if (widget->isWindow()) {
        widget->setWindowTitle(text);
    } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
        auto* button = static_cast<QAbstractButton*>(widget);
        button->setText(WithColonRule(button->text(), text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(label->buddy() ? WithColonRule(label->text(), text) : text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    }
}

void TranslateWidget(QWidget* widget) {
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        TranslateTabPages(tabs);
        return;
    }
    const int tag = Tag(widget);
    if (tag == 0)
        return;
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        TranslateComboBox(combo, tag);
    else if (auto* listView = qobject_cast<QTreeWidget*>(widget))
        TranslateListView(listView);
    else if (auto* group = qobject_cast<QGroupBox*>(widget); group && IsRadioGroup(group))
        TranslateRadioGroup(group, tag);
    else
        TranslateCaption(widget, tag);
}

class Translator {
public:
    void Visit(QObject* object) {
        if (!object || visited_.contains(object))
            return;
        visited_.insert(object);
        if (qobject_cast<QAction*>(object)) {
            TranslateMenuEntry(object);
        } else if (auto* menu = qobject_cast<QMenu*>(object)) {
            TranslateMenuEntry(menu);
            VisitMenuEntries(menu);
        } else if (auto* bar = qobject_cast<QMenuBar*>(object)) {
            VisitMenuEntries(bar);
        } else if (auto* widget = qobject_cast<QWidget*>(object)) {
            TranslateWidget(widget);
        }
    }

private:
    void VisitMenuEntries(QWidget* menu) {
        const QList<QAction*> actions = menu->actions();
        for (QAction* action : actions) {
            Visit(action);
            if (action->menu())
                Visit(action->menu());
        }
    }

    QSet<QObject*> visited_;
};

} // namespace

void TranslateComponents(QObject* owner) {
    if (!owner)
        return;
    auto* window = qobject_cast<QWidget*>(owner);
    if (window && window->isWindow() && Tag(window) != 0) {
        const QString title = GetText(Tag(window));
        if (!title.isEmpty())
            window->setWindowTitle(title);
    }
    Translator translator;
    const QObjectList children = owner->children();
    for (QObject* child : children)
        translator.Visit(child);
    if (window) {
        const QList<QAction*> actions = window->actions();
        for (QAction* action : actions)
            translator.Visit(action);
    }
}

void TranslateItems(QComboBox* items, int firstId) {
    if (!items || firstId == 0)
        return;
    for (int i = 0; i < items->count(); ++i) {
        const QString text = ItemText(firstId, i);
        if (!text.isEmpty())
            items->setItemText(i, text);
    }
}

void TranslateItems(QStringList& items, int firstId) {
    if (firstId == 0)
        return;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString text = ItemText(firstId, i);
        if (!text.isEmpty())
            items[i] = text;
    }
}

void TranslateItems(QGroupBox* radioGroup, int firstId) {
    if (!radioGroup || firstId == 0)
        return;
    const QList<QRadioButton*> items = RadioGroupItems(radioGroup);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString text = ItemText(firstId, i);
        if (!text.isEmpty())
            items[i]->setText(text);
    }
}

void TranslateListColumns(QTreeWidget* listView) {
    if (!listView)
        return;
    for (int column = 0; column < listView->columnCount(); ++column)
        listView->headerItem()->setText(column, GetText(ColumnTag(listView, column)));
}

QList<QRadioButton*> RadioGroupItems(const QGroupBox* group) {
    if (!group)
        return {};
    return group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

void SetColumnTag(QTreeWidget* listView, int column, int tag) {
    if (listView && column >= 0 && column < listView->columnCount())
        listView->headerItem()->setData(column, ColumnTagRole, tag);
}

int ColumnTag(const QTreeWidget* listView, int column) {
    if (!listView || column < 0 || column >= listView->columnCount())
        return 0;
    const QVariant stored = listView->headerItem()->data(column, ColumnTagRole);
    if (stored.isValid())
        return stored.toInt();
    const QVariantList tags = listView->property("columnTags").toList();
    return column < tags.size() ? tags.at(column).toInt() : 0;
}
