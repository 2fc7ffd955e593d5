#pragma once

#include "app/cpaneview.h"
#include "entry/dayentry.h"

#include <QPointer>

#include <memory>

namespace Ui {
class CInputView;
}
class QScrollArea;

// The entry form: one day's entry, typed, stored or deleted (top left pane).
// The day shown is the picker's date and nothing else; the fields hold either
// that day's stored entry or what the user typed since. Every update from the
// document puts the stored entry back.
class CInputView : public CPaneView {
    Q_OBJECT
  public:
    explicit CInputView(QWidget *parent = nullptr);
    ~CInputView() override;

    bool isCommandEnabled(PaneCommand command) const override;
    void runCommand(PaneCommand command) override;

    Date shownDate() const;

    // The buttons' commands.
    void registerShownDay();
    void stepDays(int days);
    void deleteShownDay();

  protected:
    void onUpdate(QObject *sender) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void showDay();
    void setPickerDate(Date date);
    DayTexts typedTexts() const;
    void setTexts(const DayTexts &texts);
    void reportFailure(const DayReading &reading);
    void forwardToList(PaneCommand command);
    void layOutInDialogUnits();
    void alignCalendarRight();
    QList<QWidget *> tabStops() const;

    std::unique_ptr<Ui::CInputView> ui_;
    QWidget *form_ = nullptr;
    QScrollArea *scrollArea_ = nullptr;
    QWidget *calendarPopup_ = nullptr;
    QPointer<QWidget> lastFocused_;
};
