#include "terminal/TerminalLogView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>

namespace {

// The separators of the menu look like this and cannot be chosen.
const QString SeparatorCaption = QStringLiteral("----------------------------");
constexpr int SmallestPoints = 4;
constexpr int LargestPoints = 72;

QFont LogFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(TerminalLogView::InitialPoints);
    return font;
}

} // namespace

TerminalLogView::TerminalLogView(QWidget* parent) : QPlainTextEdit(parent), menu_(new QMenu(this)) {
    setObjectName(QStringLiteral("TerminalRichEdit"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(LogFont());
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);

    // The view's own keys act on the log; the others work anywhere in the
    // terminal, also while typing a command.
    connect(AddAction(QStringLiteral("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A),
                      Qt::WidgetShortcut),
            &QAction::triggered, this, &QPlainTextEdit::selectAll);
    connect(AddAction(QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C),
                      Qt::WidgetShortcut),
            &QAction::triggered, this, &QPlainTextEdit::copy);
    connect(AddAction(QStringLiteral("Clear"), QKeySequence(Qt::CTRL | Qt::Key_E),
                      Qt::WidgetShortcut),
            &QAction::triggered, this, &QPlainTextEdit::clear);
    AddSeparator();
    connect(AddAction(QStringLiteral("Copy Text on screen"), QKeySequence(Qt::CTRL | Qt::Key_D),
                      Qt::WindowShortcut),
            &QAction::triggered, this, [this] { emit CopiedTextOnScreen(CopyTextOnScreen()); });
    connect(AddAction(QStringLiteral("Copy All"), QKeySequence(Qt::CTRL | Qt::Key_Y),
                      Qt::WindowShortcut),
            &QAction::triggered, this, &TerminalLogView::CopyAll);
    AddSeparator();
    connect(AddAction(QStringLiteral("Font Size ++"), QKeySequence(Qt::Key_F5), Qt::WindowShortcut),
            &QAction::triggered, this, [this] { ChangeFontSize(1); });
    connect(AddAction(QStringLiteral("Font Size --"), QKeySequence(Qt::Key_F6), Qt::WindowShortcut),
            &QAction::triggered, this, [this] { ChangeFontSize(-1); });
    AddSeparator();
    connect(AddAction(QStringLiteral("Send Last Command"), QKeySequence(Qt::Key_F7),
                      Qt::WindowShortcut),
            &QAction::triggered, this, &TerminalLogView::SendLastCommandRequested);
    AddSeparator();
    connect(AddAction(QStringLiteral("Save in file..."), QKeySequence(), Qt::WidgetShortcut),
            &QAction::triggered, this, &TerminalLogView::SaveRequested);
}

QAction* TerminalLogView::AddAction(const QString& caption, const QKeySequence& shortcut,
                                    Qt::ShortcutContext context) {
    auto* action = new QAction(caption, this);
    action->setShortcut(shortcut);
    action->setShortcutContext(context);
    menu_->addAction(action);
    // Added to the view as well, so that the shortcut works without the menu.
    addAction(action);
    return action;
}

void TerminalLogView::AddSeparator() {
    QAction* separator = menu_->addAction(SeparatorCaption);
    separator->setEnabled(false);
}

QAction* TerminalLogView::Action(const QString& caption) const {
    for (QAction* action : menu_->actions())
        if (action->text() == caption)
            return action;
    return nullptr;
}

void TerminalLogView::contextMenuEvent(QContextMenuEvent* event) {
    menu_->exec(event->globalPos());
}

void TerminalLogView::AddLine(const QString& line, const QColor& colour) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!document()->isEmpty())
        cursor.insertBlock();
    QTextCharFormat format;
    format.setForeground(colour);
    // Text only: a reply's "<" or "&" is shown as it came.
    cursor.insertText(line, format);
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    setTextCursor(end);
}

QStringList TerminalLogView::Lines() const {
    QStringList lines;
    if (document()->isEmpty())
        return lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

int TerminalLogView::CopyTextOnScreen() {
    const QRect view = viewport()->rect();
    QTextCursor first = cursorForPosition(view.topLeft());
    QTextCursor last = cursorForPosition(QPoint(view.left(), view.bottom()));
    first.movePosition(QTextCursor::StartOfBlock);
    last.movePosition(QTextCursor::EndOfBlock);
    QTextCursor selection(document());
    selection.setPosition(first.position());
    selection.setPosition(last.position(), QTextCursor::KeepAnchor);
    setTextCursor(selection);
    copy();
    // The selection as the clipboard has it: its line breaks count as characters.
    return static_cast<int>(selection.selectedText().size());
}

void TerminalLogView::CopyAll() {
    selectAll();
    copy();
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    setTextCursor(cursor);
}

void TerminalLogView::ChangeFontSize(int points) {
    QFont bigger = font();
    bigger.setPointSize(std::clamp(bigger.pointSize() + points, SmallestPoints, LargestPoints));
    setFont(bigger);
    // Lines keep their colour; their size follows the view's font.
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    QTextCharFormat size;
    size.setFontPointSize(bigger.pointSize());
    all.mergeCharFormat(size);
}

void TerminalLogView::ScrollToEnd() {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    setTextCursor(end);
    ensureCursorVisible();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
