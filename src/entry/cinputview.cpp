#include "entry/cinputview.h"

#include "app/czephalonteapp.h"
#include "dialogs/uitext.h"
#include "graph/graphprint.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "ui_cinputview.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

const QString messageTitle = QStringLiteral("Zephalonte");

// Days since 1970-01-01 against the Julian day number QDate counts in.
constexpr qint64 julianDayOfEpoch = 2440588;

QDate toQDate(Date date)
{
    return QDate::fromJulianDay(date.time_since_epoch().count() + julianDayOfEpoch);
}

Date fromQDate(QDate date)
{
    return Date{std::chrono::days{date.toJulianDay() - julianDayOfEpoch}};
}

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

// MulDiv as the dialog manager uses it: rounded to the nearest pixel.
int scaled(int units, int base, int divisor)
{
    return (units * base + divisor / 2) / divisor;
}

} // namespace

CInputView::CInputView(QWidget *parent) : CPaneView(parent), ui_(std::make_unique<Ui::CInputView>())
{
    setObjectName(QStringLiteral("inputView"));

    form_ = new QWidget;
    ui_->setupUi(form_);
    ui_->datePicker->setDateRange(firstPickableDay, lastPickableDay);
    ui_->datePicker->setDisplayFormat(::ui(longDateFormat));
    layOutInDialogUnits();

    // A pane smaller than the form shows scroll bars instead of squeezing it.
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidget(form_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);

    if (CZephalonteApp *app = theApp())
        setPickerDate(app->selectedDate);
    else
        setPickerDate(todayDate());
    alignCalendarRight();

    for (QWidget *control : tabStops())
        control->installEventFilter(this);
    lastFocused_ = ui_->weightEdit;

    connect(ui_->registerButton, &QPushButton::clicked, this, &CInputView::registerShownDay);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CInputView::deleteShownDay);
    connect(ui_->previousDayButton, &QPushButton::clicked, this, [this] { stepDays(-1); });
    connect(ui_->nextDayButton, &QPushButton::clicked, this, [this] { stepDays(+1); });
    // The program sets the picker with its signals blocked, so this is the user.
    connect(ui_->datePicker, &QDateEdit::dateChanged, this, &CInputView::showDay);

    // The first day shown is the selected one; the other panes are told once
    // the document has been loaded.
    if (CZephalonteApp *app = theApp(); app && app->theDocument)
        setTexts(textsForDay(app->theDocument->findDay(shownDate())));
}

CInputView::~CInputView() = default;

// ---- the day shown ----

Date CInputView::shownDate() const
{
    return fromQDate(ui_->datePicker->date());
}

void CInputView::setPickerDate(Date date)
{
    const QSignalBlocker blocker(ui_->datePicker);
    ui_->datePicker->setDate(toQDate(date));
}

void CInputView::showDay()
{
    CZephalonteApp *app = theApp();
    if (!app || !app->theDocument)
        return;
    const Date day = shownDate();
    app->selectedDate = day;
    setTexts(textsForDay(app->theDocument->findDay(day)));
    app->updateAllViews(this);
}

void CInputView::onUpdate(QObject *)
{
    CZephalonteApp *app = theApp();
    if (app && app->selectedDate != shownDate())
        setPickerDate(app->selectedDate);
    showDay();
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
    CZephalonteApp *app = theApp();
    if (!app || !app->theDocument)
        return;
    const Date day = shownDate();
    const DayReading reading =
        registerDay(*app->theDocument, day, typedTexts(), TypedEncoding::utf8);
    if (!reading.day) {
        reportFailure(reading);
        return;
    }
    // The form is among the views: it shows the day again as stored.
    app->updateAllViews();
    const Date next = dayAfterRegistering(day, todayDate());
    if (next != day) {
        setPickerDate(next);
        showDay();
    }
}

void CInputView::stepDays(int days)
{
    CZephalonteApp *app = theApp();
    if (!app || !app->theDocument)
        return;
    const DayStep step =
        stepDay(*app->theDocument, shownDate(), days, typedTexts(), TypedEncoding::utf8);
    if (!step.reading.day) {
        reportFailure(step.reading);
        return;
    }
    if (step.stored)
        app->updateAllViews();
    setPickerDate(step.next);
    showDay();
}

void CInputView::deleteShownDay()
{
    CZephalonteApp *app = theApp();
    if (!app || !app->theDocument)
        return;
    const Date day = shownDate();
    QMessageBox question(QMessageBox::NoIcon, messageTitle,
                         QString::fromStdString(deleteQuestion(day)),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::Yes);
    if (question.exec() != QMessageBox::Yes)
        return;
    app->theDocument->removeDay(day);
    app->updateAllViews();
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
        forwardToList(command);
        break;
    case PaneCommand::FirstLine:
    case PaneCommand::LastLine:
    case PaneCommand::NextPage:
    case PaneCommand::PreviousPage:
        forwardToList(command);
        break;
    case PaneCommand::Print:
    case PaneCommand::PrintDirect:
    case PaneCommand::PrintPreview:
        printGraphPage(this, command);
        break;
    }
}

void CInputView::forwardToList(PaneCommand command)
{
    // The list moves the selected day and updates the views, so the form
    // shows the new day before this returns.
    if (CZephalonteApp *app = theApp(); app && app->theListView)
        app->theListView->runCommand(command);
}

// ---- keyboard and focus ----

bool CInputView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        lastFocused_ = qobject_cast<QWidget *>(watched);
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
    } else if (watched == calendarPopup_ && event->type() == QEvent::Show) {
        // The calendar drops down under the picker, its right edge under the
        // picker's, and stays on the screen.
        QWidget *picker = ui_->datePicker;
        QPoint topLeft = picker->mapToGlobal(QPoint(picker->width(), picker->height()));
        topLeft.rx() -= calendarPopup_->width();
        if (const QScreen *screen = picker->screen()) {
            const QRect area = screen->availableGeometry();
            topLeft.setX(std::max(topLeft.x(), area.left()));
        }
        calendarPopup_->move(topLeft);
    }
    return CPaneView::eventFilter(watched, event);
}

void CInputView::focusInEvent(QFocusEvent *event)
{
    // The pane itself takes no input: the control that last had the focus
    // gets it back.
    CPaneView::focusInEvent(event);
    if (lastFocused_)
        lastFocused_->setFocus(event->reason());
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

void CInputView::layOutInDialogUnits()
{
    // The template gives places in dialog units of the form's font: across,
    // a quarter of its average character width; down, an eighth of its height.
    const QFontMetrics metrics(form_->font());
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int baseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    const int baseY = metrics.height();
    const auto toPixels = [&](const QRect &units) {
        return QRect(scaled(units.x(), baseX, 4), scaled(units.y(), baseY, 8),
                     scaled(units.width(), baseX, 4), scaled(units.height(), baseY, 8));
    };
    for (QWidget *child : form_->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->setGeometry(toPixels(child->geometry()));
    QSize formSize = toPixels(QRect(QPoint(0, 0), form_->size())).size();

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

void CInputView::alignCalendarRight()
{
    if (QCalendarWidget *calendar = ui_->datePicker->calendarWidget()) {
        calendarPopup_ = calendar->window();
        calendarPopup_->installEventFilter(this);
    }
}
