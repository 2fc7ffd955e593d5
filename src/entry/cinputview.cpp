#include "entry/cinputview.h"

#include "entry/entryformtexts.h"
#include "faces/designfaces.h"
#include "journal/cquilloxdoc.h"
#include "pane/edittexts.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"
#include "qttext/qtdate.h"
#include "qttext/uitext.h"
#include "ui_cinputview.h"
#include "widgets/calendarpopup.h"
#include "widgets/dialogunits.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

const QString messageTitle = QStringLiteral("Zephalonte");

// The form's face is the design's "ＭＳ Ｐゴシック" at 9 points.
constexpr int formFontPoints = 9;

// The earliest day a QDateEdit accepts; the journal's own last day is the
// picker's last day too.
const QDate firstPickableDay(100, 1, 1);
const QDate lastPickableDay(maxJournalYear, 12, 31);

// The window's keys for moving through the journal, which the form passes on
// to the list; they come before the focused control sees them.
std::optional<PaneCommand> listCommandForKey(int key)
{
    switch (key) {
    case Qt::Key_Down:
        return PaneCommand::NextLine;
    case Qt::Key_Up:
        return PaneCommand::PreviousLine;
    case Qt::Key_Home:
        return PaneCommand::FirstLine;
    case Qt::Key_End:
        return PaneCommand::LastLine;
    case Qt::Key_PageDown:
        return PaneCommand::NextPage;
    case Qt::Key_PageUp:
        return PaneCommand::PreviousPage;
    default:
        return std::nullopt;
    }
}

// Sends the key a standard edit command is bound to, as the control would
// receive it from the keyboard: every kind of control (line edit, memo, the
// picker's text) then does its own cut, copy or paste.
void sendStandardKey(QWidget *target, QKeySequence::StandardKey command)
{
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(command);
    if (bindings.isEmpty())
        return;
    const QKeyCombination combination = bindings.first()[0];
    QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, combination.key(), combination.keyboardModifiers());
    QCoreApplication::sendEvent(target, &release);
}

} // namespace

CInputView::CInputView(JournalContext &context, QWidget *parent)
    : CPaneView(context, parent), ui_(std::make_unique<Ui::CInputView>())
{
    setObjectName(QStringLiteral("inputView"));

    form_ = new QWidget;
    // The template's face, set before its controls exist so that each is
    // made in the installed family at once.
    QFont formFont(designFamily(DesignFace::PGothic));
    formFont.setPointSize(formFontPoints);
    form_->setFont(formFont);
    ui_->setupUi(form_);
    ui_->datePicker->setDateRange(firstPickableDay, lastPickableDay);
    ui_->datePicker->setDisplayFormat(::ui(longDateFormat));
    layOutInDialogUnits();
    nameForScreenReaders();

    // A pane smaller than the form shows scroll bars instead of squeezing it.
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidget(form_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);

    setPickerDate(context.selectedDate());
    alignCalendarPopupRight(ui_->datePicker);

    for (QWidget *control : tabStops())
        control->installEventFilter(this);
    lastFocused_ = ui_->weightEdit;
    // The pane hands the focus straight on to the control that had it last.
    // Taking it first and passing it on would leave screen readers told of
    // the nameless pane after the control.
    setFocusProxy(lastFocused_);

    connect(ui_->registerButton, &QPushButton::clicked, this, &CInputView::registerShownDay);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CInputView::deleteShownDay);
    // A journal only read: the day can be looked at, not registered or deleted.
    connect(&context.editor(), &JournalEditor::readOnlyChanged, this, [this](bool readOnly) {
        ui_->registerButton->setEnabled(!readOnly);
        ui_->deleteButton->setEnabled(!readOnly);
    });
    connect(ui_->previousDayButton, &QPushButton::clicked, this, [this] { stepDays(-1); });
    connect(ui_->nextDayButton, &QPushButton::clicked, this, [this] { stepDays(+1); });
    // The program sets the picker with its signals blocked, so this is the user.
    connect(ui_->datePicker, &QDateEdit::dateChanged, this, &CInputView::pickedInPicker);
    // The fields are filled at the first update: the document may still be
    // loading on another thread while the window is built.
}

CInputView::~CInputView() = default;

// ---- the day shown ----

void CInputView::setPickerDate(Date date)
{
    shownDate_ = date;
    QDateEdit *picker = ui_->datePicker;
    const QSignalBlocker blocker(picker);
    const QDate shown = toQDate(date);
    if (shown < picker->minimumDate()) {
        // The picker holds no day before the year 100: it shows the day as
        // its special text on its first day, and never clamps it.
        picker->setSpecialValueText(shown.toString(::ui(longDateFormat)));
        picker->setDate(picker->minimumDate());
    } else {
        picker->setSpecialValueText(QString());
        picker->setDate(shown);
    }
}

void CInputView::pickedInPicker()
{
    // A step from a day the picker could not hold leaves its special text
    // behind, which would name its first day wrongly later.
    if (!ui_->datePicker->specialValueText().isEmpty()) {
        const QSignalBlocker blocker(ui_->datePicker);
        ui_->datePicker->setSpecialValueText(QString());
    }
    shownDate_ = fromQDate(ui_->datePicker->date());
    showDay();
}

void CInputView::showDay()
{
    context().setSelectedDate(shownDate_);
    setTexts(textsForDay(context().document().findDay(shownDate_)));
    context().updateAllViews(this);
}

void CInputView::onUpdate(QObject *)
{
    // Another pane or the document changed: the form follows the selected
    // day and tells nobody, as every other pane has the same notice.
    if (context().selectedDate() != shownDate_)
        setPickerDate(context().selectedDate());
    setTexts(textsForDay(context().document().findDay(shownDate_)));
}

DayTexts CInputView::typedTexts() const
{
    return {
        .weight = ui_->weightEdit->text().toStdString(),
        .fatPercent = ui_->fatPercentEdit->text().toStdString(),
        .jogDistance = ui_->jogDistanceEdit->text().toStdString(),
        .jogDuration = ui_->jogDurationEdit->text().toStdString(),
        .walkDistance = ui_->walkDistanceEdit->text().toStdString(),
        .walkDuration = ui_->walkDurationEdit->text().toStdString(),
        .memo = ui_->memoEdit->toPlainText().toStdString(),
    };
}

void CInputView::setTexts(const DayTexts &texts)
{
    ui_->weightEdit->setText(QString::fromStdString(texts.weight));
    ui_->fatPercentEdit->setText(QString::fromStdString(texts.fatPercent));
    ui_->jogDistanceEdit->setText(QString::fromStdString(texts.jogDistance));
    ui_->jogDurationEdit->setText(QString::fromStdString(texts.jogDuration));
    ui_->walkDistanceEdit->setText(QString::fromStdString(texts.walkDistance));
    ui_->walkDurationEdit->setText(QString::fromStdString(texts.walkDuration));
    ui_->memoEdit->setPlainText(QString::fromStdString(texts.memo));
}

// ---- the buttons ----

void CInputView::registerShownDay()
{
    const Date day = shownDate_;
    const DayReading reading = readDayTexts(day, typedTexts(), TypedEncoding::utf8);
    if (!reading.day) {
        reportFailure(reading);
        return;
    }
    // The form is among the views: the notice shows the day again as stored.
    // Registered unchanged, it is shown again all the same.
    if (!context().editor().apply(dayEdit(context().document(), *reading.day),
                                  dayStepName(edittext::registerDay, day)))
        onUpdate(nullptr);
    const Date next = dayAfterRegistering(day, todayDate());
    if (next != day) {
        setPickerDate(next);
        showDay();
    }
}

void CInputView::stepDays(int days)
{
    const DayStep step =
        stepDay(context().document(), shownDate_, days, typedTexts(), TypedEncoding::utf8);
    if (!step.reading.day) {
        reportFailure(step.reading);
        return;
    }
    if (step.stored)
        context().editor().apply(step.edit, dayStepName(edittext::registerDay, shownDate_));
    setPickerDate(step.next);
    showDay();
}

void CInputView::deleteShownDay()
{
    const Date day = shownDate_;
    QMessageBox question(QMessageBox::NoIcon, messageTitle,
                         QString::fromStdString(deleteQuestion(day)),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::Yes);
    if (question.exec() != QMessageBox::Yes)
        return;
    context().editor().apply(removeDayEdit(context().document(), day),
                             dayStepName(edittext::deleteDay, day));
}

void CInputView::reportFailure(const DayReading &reading)
{
    QMessageBox::warning(this, messageTitle, QString::fromStdString(reading.message));
    // The typed text stays as it was, ready to be corrected.
    QWidget *field = nullptr;
    switch (reading.failedField) {
    case DayTextField::jogDuration:
        field = ui_->jogDurationEdit;
        break;
    case DayTextField::walkDuration:
        field = ui_->walkDurationEdit;
        break;
    case DayTextField::memo:
        field = ui_->memoEdit;
        break;
    case DayTextField::none:
        break;
    }
    if (field)
        field->setFocus(Qt::OtherFocusReason);
}

// ---- commands routed by the main window ----

bool CInputView::isCommandEnabled(PaneCommand) const
{
    // Every routed command means something here; printing prints the graph.
    return true;
}

void CInputView::runCommand(PaneCommand command)
{
    QWidget *focused = QApplication::focusWidget();
    switch (command) {
    case PaneCommand::Cut:
        if (focused)
            sendStandardKey(focused, QKeySequence::Cut);
        break;
    case PaneCommand::Copy:
        if (focused)
            sendStandardKey(focused, QKeySequence::Copy);
        break;
    case PaneCommand::Paste:
        if (focused)
            sendStandardKey(focused, QKeySequence::Paste);
        break;
    case PaneCommand::NextLine:
    case PaneCommand::PreviousLine:
        // In the memo the arrows move the caret between its lines.
        if (focused == ui_->memoEdit) {
            const int key = command == PaneCommand::NextLine ? Qt::Key_Down : Qt::Key_Up;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(ui_->memoEdit, &press);
            break;
        }
        emit listCommandRequested(command);
        break;
    case PaneCommand::FirstLine:
    case PaneCommand::LastLine:
    case PaneCommand::NextPage:
    case PaneCommand::PreviousPage:
        // The list moves the selected day and updates the views, so the form
        // shows the new day before this returns.
        emit listCommandRequested(command);
        break;
    case PaneCommand::Print:
    case PaneCommand::PrintDirect:
    case PaneCommand::PrintPreview:
        emit printRequested(command);
        break;
    }
}

// ---- keyboard and focus ----

bool CInputView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        lastFocused_ = qobject_cast<QWidget *>(watched);
        setFocusProxy(lastFocused_);
    } else if (event->type() == QEvent::EnabledChange && watched == lastFocused_ &&
               !lastFocused_->isEnabled()) {
        // 登録 and 削除 go grey in a journal only read: the pane's focus
        // then goes to the first field, never to a control that takes none.
        lastFocused_ = ui_->weightEdit;
        setFocusProxy(lastFocused_);
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return CPaneView::eventFilter(watched, event);
        const bool inMemo = watched == ui_->memoEdit;
        if (const std::optional<PaneCommand> command = listCommandForKey(key->key())) {
            // Up and Down in the memo are the caret's; every other key of the
            // journal's goes to the list from anywhere in the form.
            const bool caretKey =
                *command == PaneCommand::NextLine || *command == PaneCommand::PreviousLine;
            if (inMemo && caretKey)
                return false;
            runCommand(*command);
            return true;
        }
        // Enter presses the default button from every one-line control; the
        // memo takes it as a new line and a focused button presses itself.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !inMemo &&
            !qobject_cast<QPushButton *>(watched)) {
            registerShownDay();
            return true;
        }
    }
    return CPaneView::eventFilter(watched, event);
}

bool CInputView::focusNextPrevChild(bool next)
{
    // Tab goes round the form's controls in the template's order and stays
    // in the form.
    const QList<QWidget *> controls = tabStops();
    QList<QWidget *> reachable;
    for (QWidget *control : controls) {
        if (control->isEnabled() && control->isVisibleTo(this))
            reachable.append(control);
    }
    if (reachable.isEmpty())
        return CPaneView::focusNextPrevChild(next);
    const qsizetype count = reachable.size();
    qsizetype index = reachable.indexOf(QApplication::focusWidget());
    if (index < 0)
        index = next ? count - 1 : 0;
    const qsizetype target = (index + (next ? 1 : count - 1)) % count;
    reachable.at(target)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    scrollArea_->ensureWidgetVisible(reachable.at(target));
    return true;
}

QList<QWidget *> CInputView::tabStops() const
{
    return {ui_->weightEdit,        ui_->fatPercentEdit,   ui_->jogDistanceEdit,
            ui_->jogDurationEdit,   ui_->walkDistanceEdit, ui_->walkDurationEdit,
            ui_->memoEdit,          ui_->registerButton,   ui_->deleteButton,
            ui_->previousDayButton, ui_->datePicker,       ui_->nextDayButton};
}

// ---- layout ----

void CInputView::nameForScreenReaders()
{
    ui_->datePicker->setAccessibleName(::ui(entrytext::datePickerName));
    ui_->previousDayButton->setAccessibleName(::ui(entrytext::previousDayName));
    ui_->nextDayButton->setAccessibleName(::ui(entrytext::nextDayName));
    // The fields take their names from their labels; the unit beside each
    // says what its number counts.
    for (const auto &[field, unit] : {std::pair{ui_->weightEdit, ui_->weightUnit},
                                      std::pair{ui_->fatPercentEdit, ui_->fatPercentUnit},
                                      std::pair{ui_->jogDistanceEdit, ui_->jogDistanceUnit},
                                      std::pair{ui_->jogDurationEdit, ui_->jogDurationHint},
                                      std::pair{ui_->walkDistanceEdit, ui_->walkDistanceUnit},
                                      std::pair{ui_->walkDurationEdit, ui_->walkDurationHint}})
        field->setAccessibleDescription(unit->text());
}

void CInputView::layOutInDialogUnits()
{
    // The template gives places in dialog units of the form's font.
    const DialogUnits units(form_->font());
    for (QWidget *child : form_->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->setGeometry(units.toPixels(child->geometry()));
    QSize formSize = units.toPixels(QRect(QPoint(0, 0), form_->size())).size();

    // This platform's picker, with its frame and drop-down button, needs more
    // room than the template gives it to show a long date whole. It grows
    // about its centre and the day buttons beside it move out as far as they
    // must.
    QDateEdit *picker = ui_->datePicker;
    const int missing = picker->sizeHint().width() - picker->width();
    if (missing > 0) {
        constexpr int buttonGap = 2;
        QRect place = picker->geometry().adjusted(-missing / 2, 0, missing - missing / 2, 0);
        QRect previous = ui_->previousDayButton->geometry();
        QRect next = ui_->nextDayButton->geometry();
        previous.moveRight(std::min(previous.right(), place.left() - buttonGap));
        if (previous.left() < 0) {
            place.translate(-previous.left(), 0);
            previous.moveLeft(0);
        }
        next.moveLeft(std::max(next.left(), place.right() + buttonGap));
        picker->setGeometry(place);
        ui_->previousDayButton->setGeometry(previous);
        ui_->nextDayButton->setGeometry(next);
        formSize.setWidth(std::max(formSize.width(), next.right() + 1));
    }
    form_->setFixedSize(formSize);
}
