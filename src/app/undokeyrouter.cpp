#include "app/undokeyrouter.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

UndoKeyRouter::UndoKeyRouter(QObject *parent) : QObject(parent)
{
}

UndoKeyRouter::Key UndoKeyRouter::undoKeyOf(const QKeyEvent &event)
{
    // The window's own keys for the two commands, and the platform's.
    const QKeyCombination key = event.keyCombination();
    if (event.matches(QKeySequence::Undo) || key == QKeyCombination(Qt::ALT, Qt::Key_Backspace))
        return Key::undo;
    if (event.matches(QKeySequence::Redo) || key == QKeyCombination(Qt::CTRL, Qt::Key_Y) ||
        key == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z))
        return Key::redo;
    return Key::none;
}

bool UndoKeyRouter::fieldKeeps(const QWidget *field, Key key)
{
    // A date picker's own undo is of no use: the journal's always wins there.
    if (!field || qobject_cast<const QAbstractSpinBox *>(field) ||
        qobject_cast<const QAbstractSpinBox *>(field->parentWidget()))
        return false;
    if (const auto *line = qobject_cast<const QLineEdit *>(field))
        return key == Key::undo ? line->isUndoAvailable() : line->isRedoAvailable();
    if (const auto *text = qobject_cast<const QPlainTextEdit *>(field))
        return key == Key::undo ? text->document()->isUndoAvailable()
                                : text->document()->isRedoAvailable();
    return false;
}

bool UndoKeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const Key key = undoKeyOf(*static_cast<QKeyEvent *>(event));
    if (key == Key::none)
        return false;
    if (fieldKeeps(qobject_cast<QWidget *>(watched), key))
        return false;
    // Not accepted, and seen by nobody else: the shortcut goes to the window.
    event->ignore();
    return true;
}
