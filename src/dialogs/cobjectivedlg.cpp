#include "dialogs/cobjectivedlg.h"

#include "ui_cobjectivedlg.h"

#include "dialogs/dialogtexts.h"
#include "dialogs/settingsforms.h"
#include "journal/cquilloxdoc.h"
#include "qttext/qtdate.h"
#include "qttext/uitext.h"
#include "widgets/calendarpopup.h"

#include <QButtonGroup>
#include <QMessageBox>

namespace {

std::string utf8(const QString &text)
{
    return text.toStdString();
}

} // namespace

CObjectiveDlg::CObjectiveDlg(QWidget *parent)
    : QDialog(parent), ui(new Ui::CObjectiveDlg), purposeGroup_(new QButtonGroup(this))
{
    ui->setupUi(this);
    // The purpose is the button's place in the dialog, row by row, left
    // before right: not the digit of its label.
    QRadioButton *const purposeButtons[] = {
        ui->purposeRadio0, ui->purposeRadio1, ui->purposeRadio2,
        ui->purposeRadio3, ui->purposeRadio4, ui->purposeRadio5,
    };
    static_assert(std::size(purposeButtons) == purposeCount);
    for (int id = 0; id < purposeCount; ++id)
        purposeGroup_->addButton(purposeButtons[id], id);

    ui->eventDateEdit->setDisplayFormat(::ui(longDateFormat));
    // Every date the journal can hold, so that a stored date is never moved
    // into the edit's narrower default range.
    ui->eventDateEdit->setDateRange(QDate(minJournalYear, 1, 1), QDate(maxJournalYear, 12, 31));
    alignCalendarPopupRight(ui->eventDateEdit);

    connect(ui->okButton, &QPushButton::clicked, this, &CObjectiveDlg::accept);
    setObjective(Objective{}, UserInfo{});
}

CObjectiveDlg::~CObjectiveDlg() = default;

void CObjectiveDlg::setObjective(const Objective &objective, const UserInfo &user)
{
    result_ = objective;
    ui->weightEdit->setText(QString::fromStdString(targetFieldText(objective.weight)));
    ui->fatPercentEdit->setText(QString::fromStdString(targetFieldText(objective.fatPercent)));
    ui->jogDistanceMonthEdit->setText(
        QString::fromStdString(targetFieldText(objective.jogDistanceMonth)));

    // An exclusive group cannot be cleared by unchecking its checked button.
    purposeGroup_->setExclusive(false);
    for (QAbstractButton *button : purposeGroup_->buttons())
        button->setChecked(false);
    purposeGroup_->setExclusive(true);
    if (QAbstractButton *chosen =
            purposeGroup_->button(choiceIndex(objective.intention, purposeCount)))
        chosen->setChecked(true);

    ui->eventNameEdit->setText(fromJournalText(objective.eventName));
    ui->eventDateEdit->setDate(toQDate(objective.eventDate));

    // The edit shows line breaks as "\n"; "\r" would show as a character.
    ui->noteEdit->setPlainText(QString::fromStdString(objectiveNote(user))
                                   .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

Objective CObjectiveDlg::objective() const
{
    return result_;
}

void CObjectiveDlg::accept()
{
    QString encodingError;
    const auto eventName = toJournalText(ui->eventNameEdit->text(), &encodingError);
    if (!eventName) {
        // Stored, the character would come back as another one: say which it
        // is and keep the dialog open with the text as typed.
        QMessageBox::warning(this, ::ui(applicationTitle), encodingError);
        ui->eventNameEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    const Date date = fromQDate(ui->eventDateEdit->date());

    result_.intention = purposeGroup_->checkedId();
    result_.weight = targetFieldValue(utf8(ui->weightEdit->text()));
    result_.fatPercent = targetFieldValue(utf8(ui->fatPercentEdit->text()));
    result_.jogDistanceMonth = targetFieldValue(utf8(ui->jogDistanceMonthEdit->text()));
    result_.eventName = *eventName;
    result_.eventDate = date;
    QDialog::accept();
}

Edit CObjectiveDlg::askForEdit(const CQuilloxDoc &doc, QWidget *parent, bool readOnly)
{
    CObjectiveDlg dialog(parent);
    // A journal only read: the values can be looked at, not changed.
    dialog.ui->okButton->setEnabled(!readOnly);
    dialog.setObjective(doc.objective(), doc.userInfo());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    EditBuilder edit(doc);
    edit.changeObjective(dialog.objective());
    return edit.take();
}
