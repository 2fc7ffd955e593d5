#pragma once

#include "journal/calendardate.h"
#include "journal/edit.h"
#include "journal/editlog.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <optional>

class CQuilloxDoc;

// The one way the window changes the journal. Every change — a day
// registered or deleted, a dialog's OK, the paper orientation, an import, a
// restore — is handed over as an Edit; the editor applies it to the document
// as one undoable step, keeps the modified flag in step with the undo stack
// (undoing back to what was last stored clears it) and sends one notice
// naming what changed. Whatever shows or keeps the journal's contents (the
// panes, the summary window, the recovery file) follows that notice, so no
// change can reach the document without reaching them.
class JournalEditor : public QObject {
    Q_OBJECT
  public:
    // More steps than this and the oldest is forgotten.
    static constexpr int undoLimit = 1000;

    explicit JournalEditor(CQuilloxDoc &document, QObject *parent = nullptr);
    ~JournalEditor() override;

    // Applies the edit as one step named `name` (shown in the edit menu as
    // "元に戻す: name" would be, see the menu texts). False, and nothing
    // happens, when the edit changes nothing. `sender` is passed on with the
    // notice, for a pane that has already shown the change itself.
    bool apply(const Edit &edit, const QString &name, QObject *sender = nullptr);

    bool canUndo() const { return !readOnly_ && stack_.canUndo(); }
    bool canRedo() const { return !readOnly_ && stack_.canRedo(); }

    // A journal only read (opened without its lock): every edit, undo and
    // redo is refused, with the `refused` notice, so that no way of changing
    // it is forgotten.
    void setReadOnly(bool readOnly);
    bool readOnly() const { return readOnly_; }
    QString undoName() const { return stack_.undoText(); }
    QString redoName() const { return stack_.redoText(); }
    void undo();
    void redo();

    // A load, a new journal: what was there before cannot be undone into
    // the new one. The document is unmodified afterwards.
    void clearHistory();
    // A store: the document as it is now is what the file holds.
    void markStored();
    // The file now holds what no step of the history is (another program's
    // version taken under unsaved edits): modified until the next store.
    void markUnstored();

    // What takes every change as it is applied, before apply(), undo() or
    // redo() returns (the edit log); null for none.
    void setRecorder(EditRecorder *recorder) { recorder_ = recorder; }

    int stepCount() const { return stack_.count(); }

  signals:
    // After every change of the document's contents: `applied` is what
    // changed, in the order applied (for undo, the inverse of the step).
    void edited(const Edit &applied, QObject *sender);
    // After an undo or a redo, with the step's name and the first day it
    // changed, so that the window can select it and say what happened.
    void stepped(const QString &name, bool undone, std::optional<Date> firstDay);
    // Undo or redo became possible or impossible, or their names changed.
    void historyChanged();
    // An edit, undo or redo was refused: the journal is only read.
    void refused();
    // The journal became only read, or writable again: the commands that
    // change it follow.
    void readOnlyChanged(bool readOnly);

  private:
    class Step;
    friend class Step;

    // The document takes the edit; the notice waits until the stack has
    // settled, so that the modified flag is right when listeners look.
    Edit applyNow(const Edit &edit);
    void announce(QObject *sender);
    void step(bool undo);

    CQuilloxDoc &document_;
    QUndoStack stack_;
    Edit lastApplied_;
    EditRecorder *recorder_ = nullptr;
    bool readOnly_ = false;
};
