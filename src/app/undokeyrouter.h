#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

// Decides who takes the undo and redo keys. A text field grabs Ctrl+Z and
// Ctrl+Y for itself whether or not it has anything to undo, which would leave
// the journal's undo out of reach whenever the entry form has the focus. A
// field keeps the keys only while it has typing of its own to undo or redo;
// otherwise they reach the window's undo and redo commands.
class UndoKeyRouter : public QObject {
    Q_OBJECT
  public:
    explicit UndoKeyRouter(QObject *parent = nullptr);

    enum class Key { none, undo, redo };
    static Key undoKeyOf(const QKeyEvent &event);
    // Whether `field` (the focus widget) has typing of its own that the key
    // would undo or redo.
    static bool fieldKeeps(const QWidget *field, Key key);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
