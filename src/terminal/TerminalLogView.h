#pragma once

// The terminal's log: a read-only text view in a fixed-pitch font, one line
// per command and reply in its colour, with the context menu of the log
// (select, copy, clear, copy the text on screen, copy all, font size, send
// the last command, save in a file).

#include <QColor>
#include <QPlainTextEdit>

class QAction;
class QMenu;

class TerminalLogView : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int InitialPoints = 12;

    explicit TerminalLogView(QWidget* parent = nullptr);

    // Appends line in colour, as a line of its own.
    void AddLine(const QString& line, const QColor& colour);
    // The log's lines as shown, one per entry.
    QStringList Lines() const;
    // Selects from the start of the first visible line to the end of the
    // last one (the line at the bottom of the view), copies it to the
    // clipboard; the number of characters selected.
    int CopyTextOnScreen();
    // Selects everything, copies it, then clears the selection.
    void CopyAll();
    // The whole log and its font one point larger (or smaller).
    void ChangeFontSize(int points);
    void ScrollToEnd();

    QMenu* ContextMenu() const { return menu_; }
    // The menu's entries by caption ("Select All", "Copy", ...).
    QAction* Action(const QString& caption) const;

signals:
    void CopiedTextOnScreen(int characters);
    void SendLastCommandRequested();
    void SaveRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QAction* AddAction(const QString& caption, const QKeySequence& shortcut,
                       Qt::ShortcutContext context);
    void AddSeparator();

    QMenu* menu_;
};
