#include "pane/journaleditor.h"

#include "journal/cquilloxdoc.h"

#include <QUndoCommand>

// One step of the history. The edit it redoes and the edit it undoes are each
// the inverse the document returned the last time the other was applied, so
// the two stay exact inverses of what really happened.
class JournalEditor::Step : public QUndoCommand {
  public:
    Step(JournalEditor &editor, Edit forward, const QString &name)
        : QUndoCommand(name), editor_(editor), forward_(std::move(forward))
    {
    }

    void redo() override { backward_ = editor_.applyNow(forward_); }
    void undo() override { forward_ = editor_.applyNow(backward_); }

  private:
    JournalEditor &editor_;
    Edit forward_;
    Edit backward_;
};

JournalEditor::JournalEditor(CQuilloxDoc &document, QObject *parent)
    : QObject(parent), document_(document)
{
    stack_.setUndoLimit(undoLimit);
    connect(&stack_, &QUndoStack::indexChanged, this, &JournalEditor::historyChanged);
    connect(&stack_, &QUndoStack::cleanChanged, this, &JournalEditor::historyChanged);
}

JournalEditor::~JournalEditor() = default;

Edit JournalEditor::applyNow(const Edit &edit)
{
    lastApplied_ = edit;
    Edit undo = document_.applyEdit(edit);
    // The record has the befores the document really held.
    if (recorder_)
        recorder_->record(undo.inverse());
    return undo;
}

void JournalEditor::announce(QObject *sender)
{
    document_.setModified(!stack_.isClean());
    const Edit applied = std::exchange(lastApplied_, Edit{});
    emit edited(applied, sender);
}

void JournalEditor::setReadOnly(bool readOnly)
{
    if (readOnly_ == readOnly)
        return;
    readOnly_ = readOnly;
    emit historyChanged();
    emit readOnlyChanged(readOnly);
}

bool JournalEditor::apply(const Edit &edit, const QString &name, QObject *sender)
{
    if (edit.empty())
        return false;
    if (readOnly_) {
        emit refused();
        return false;
    }
    stack_.push(new Step(*this, edit, name));
    announce(sender);
    return true;
}

void JournalEditor::step(bool undo)
{
    if (readOnly_) {
        emit refused();
        return;
    }
    if (undo ? !stack_.canUndo() : !stack_.canRedo())
        return;
    const QString name = undo ? stack_.undoText() : stack_.redoText();
    if (undo)
        stack_.undo();
    else
        stack_.redo();
    const std::optional<Date> first = firstChangedDay(lastApplied_);
    announce(nullptr);
    emit stepped(name, undo, first);
}

void JournalEditor::undo()
{
    step(true);
}

void JournalEditor::redo()
{
    step(false);
}

void JournalEditor::clearHistory()
{
    stack_.clear();
    document_.setModified(false);
}

void JournalEditor::markUnstored()
{
    stack_.resetClean();
    document_.setModified(true);
}

void JournalEditor::markStored()
{
    stack_.setClean();
    document_.setModified(false);
}
