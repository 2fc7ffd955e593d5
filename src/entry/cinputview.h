#pragma once

#include "entry/dayentry.h"
#include "pane/cpaneview.h"

#include <QPointer>

#include <memory>

namespace Ui {
class CInputView;
}
class QScrollArea;

// The entry form: one day's entry, typed, stored or deleted (top left pane).
// The fields hold either the shown day's stored entry or what the user typed
// since. Every update from the document puts the stored entry back.
class CInputView : public CPaneView {
    Q_OBJECT
  public:
    explicit CInputView(JournalContext &context, QWidget *parent = nullptr);
    ~CInputView() override;

    bool isCommandEnabled(PaneCommand command) const override;
    void runCommand(PaneCommand command) override;

    // The day the form shows, the picker's date; a day before the year 100
    // stays this one although the picker cannot hold it.
    Date shownDate() const { return shownDate_; }

    // The buttons' commands.
    void registerShownDay();
    void stepDays(int days);
    void deleteShownDay();

  signals:
    // The journal's keys the form passes on to the list (line and page moves).
    void listCommandRequested(PaneCommand command);

  protected:
    void onUpdate(QObject *sender) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    // The form's own controls moved to another day: it becomes the selected
    // day and the other panes are told.
    void showDay();
    void pickedInPicker();
    void setPickerDate(Date date);
    DayTexts typedTexts() const;
    void setTexts(const DayTexts &texts);
    void reportFailure(const DayReading &reading);
    void layOutInDialogUnits();
    // Names and descriptions for the controls a label does not name.
    void nameForScreenReaders();
    QList<QWidget *> tabStops() const;

    std::unique_ptr<Ui::CInputView> ui_;
    QWidget *form_ = nullptr;
    QScrollArea *scrollArea_ = nullptr;
    QPointer<QWidget> lastFocused_;
    Date shownDate_{};
};
