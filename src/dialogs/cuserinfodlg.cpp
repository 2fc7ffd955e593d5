#include "dialogs/cuserinfodlg.h"

#include "ui_cuserinfodlg.h"

#include "dialogs/dialogtexts.h"
#include "dialogs/formfield.h"
#include "dialogs/heartrate.h"
#include "journal/cquilloxdoc.h"
#include "qttext/uitext.h"
#include "widgets/namedcombo.h"

#include <QMessageBox>
#include <QShowEvent>
#include <QTimer>

namespace {

// The fields' valid ranges and the reach of the year's up/down buttons. The
// buttons deliberately go further than the check.
constexpr int birthYearMinimum = 1900;
constexpr int birthYearMaximum = 2100;
constexpr int yearButtonsMinimum = 1000;
constexpr int yearButtonsMaximum = 2999;
constexpr double heightMinimum = 0;
constexpr double heightMaximum = 300;
constexpr int initialIntensity = 70;
constexpr int monthCount = 12;
constexpr int dayCount = 31; // whatever the month: 31 February can be chosen

std::string_view utf8View(const QByteArray &bytes)
{
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::optional<int> fieldInteger(const QString &text)
{
    return parseFieldInteger(utf8View(text.toUtf8()));
}

std::optional<double> fieldNumber(const QString &text)
{
    return parseFieldNumber(utf8View(text.toUtf8()));
}

QString notIntegerMessage()
{
    return ui(dialogtext::notInteger);
}

QString integerRangeMessage(int minimum, int maximum)
{
    return ui(dialogtext::integerRange).arg(minimum).arg(maximum);
}

QString notNumberMessage()
{
    return ui(dialogtext::notNumber);
}

QString numberRangeMessage(double minimum, double maximum)
{
    return ui(dialogtext::numberRange)
        .arg(QString::fromStdString(formatFieldNumber(minimum)),
             QString::fromStdString(formatFieldNumber(maximum)));
}

QString rangeText(int from, int to)
{
    return ui(dialogtext::heartRateRange).arg(from).arg(to);
}

// Writes only when the text differs, as typing in a field would otherwise see
// its cursor jump to the end at every recomputation.
void setFieldText(QLineEdit *field, const QString &text)
{
    if (field->text() != text)
        field->setText(text);
}

} // namespace

CUserInfoDlg::CUserInfoDlg(QWidget *parent) : QDialog(parent), ui(new Ui::CUserInfoDlg)
{
    ui->setupUi(this);
    ui->yearEdit->setRange(yearButtonsMinimum, yearButtonsMaximum);
    for (int month = 1; month <= monthCount; ++month)
        ui->monthCombo->addItem(QString::number(month));
    for (int day = 1; day <= dayCount; ++day)
        ui->dayCombo->addItem(QString::number(day));
    // Show the whole list of days at once rather than a scrolling strip.
    ui->dayCombo->setMaxVisibleItems(dayCount);
    // Named for screen readers rather than by the number they show.
    nameComboBox(ui->monthCombo, ::ui(dialogtext::birthMonthName));
    nameComboBox(ui->dayCombo, ::ui(dialogtext::birthDayName));
    ui->monthCombo->setMaxVisibleItems(monthCount);

    connect(ui->okButton, &QPushButton::clicked, this, &CUserInfoDlg::accept);

    // Name, sex and height do not enter the figures: no recomputation for them.
    connect(ui->yearEdit, &SpinEdit::textChanged, this, &CUserInfoDlg::recompute);
    connect(ui->restBpmEdit, &QLineEdit::textChanged, this, &CUserInfoDlg::recompute);
    connect(ui->intensityEdit, &QLineEdit::textChanged, this, &CUserInfoDlg::recompute);
    connect(ui->monthCombo, &QComboBox::currentIndexChanged, this, &CUserInfoDlg::recompute);
    connect(ui->dayCombo, &QComboBox::currentIndexChanged, this, &CUserInfoDlg::recompute);

    setUserInfo(UserInfo{});
}

CUserInfoDlg::~CUserInfoDlg() = default;

void CUserInfoDlg::setUserInfo(const UserInfo &info)
{
    result_ = info;
    values_ = Values{};
    values_.name = fromJournalText(info.name);
    values_.sexChoice = info.sex ? 0 : 1;
    values_.birthYear = info.birthYear;
    values_.height = info.height;
    values_.restBpm = info.restBpm;
    values_.intensity = initialIntensity;

    busy_ = true;
    writeFields();
    // A month or day outside the lists (a hand-edited file) selects nothing;
    // OK then keeps the stored number rather than inventing one.
    ui->monthCombo->setCurrentIndex(
        info.birthMonth >= 1 && info.birthMonth <= monthCount ? info.birthMonth - 1 : -1);
    ui->dayCombo->setCurrentIndex(
        info.birthDay >= 1 && info.birthDay <= dayCount ? info.birthDay - 1 : -1);
    busy_ = false;
    pendingFailure_.reset();
    recompute();
}

UserInfo CUserInfoDlg::userInfo() const
{
    return result_;
}

void CUserInfoDlg::setToday(const QDate &today)
{
    today_ = today;
    recompute();
}

QDate CUserInfoDlg::today() const
{
    return today_.isValid() ? today_ : QDate::currentDate();
}

int CUserInfoDlg::selectedBirthMonth() const
{
    const int index = ui->monthCombo->currentIndex();
    return index >= 0 ? index + 1 : result_.birthMonth;
}

int CUserInfoDlg::selectedBirthDay() const
{
    const int index = ui->dayCombo->currentIndex();
    return index >= 0 ? index + 1 : result_.birthDay;
}

std::optional<CUserInfoDlg::FieldFailure> CUserInfoDlg::readFields()
{
    const auto year = fieldInteger(ui->yearEdit->text());
    if (!year)
        return FieldFailure{ui->yearEdit, notIntegerMessage()};
    values_.birthYear = *year;
    if (*year < birthYearMinimum || *year > birthYearMaximum)
        return FieldFailure{ui->yearEdit, integerRangeMessage(birthYearMinimum, birthYearMaximum)};

    const auto height = fieldNumber(ui->heightEdit->text());
    if (!height)
        return FieldFailure{ui->heightEdit, notNumberMessage()};
    values_.height = *height;
    if (!(*height >= heightMinimum && *height <= heightMaximum))
        return FieldFailure{ui->heightEdit, numberRangeMessage(heightMinimum, heightMaximum)};

    values_.name = ui->nameEdit->text();
    values_.sexChoice = ui->maleRadio->isChecked() ? 0 : ui->femaleRadio->isChecked() ? 1 : -1;

    const auto rest = fieldInteger(ui->restBpmEdit->text());
    if (!rest)
        return FieldFailure{ui->restBpmEdit, notIntegerMessage()};
    values_.restBpm = *rest;

    // The maximum, the ranges and the rate at intensity are read-only and
    // always hold what the dialog wrote; values_ already has them.

    const auto intensity = fieldInteger(ui->intensityEdit->text());
    if (!intensity)
        return FieldFailure{ui->intensityEdit, notIntegerMessage()};
    values_.intensity = *intensity;
    return std::nullopt;
}

void CUserInfoDlg::writeFields()
{
    const bool wasBusy = busy_;
    busy_ = true;
    setFieldText(ui->nameEdit, values_.name);
    ui->maleRadio->setChecked(values_.sexChoice == 0);
    ui->femaleRadio->setChecked(values_.sexChoice == 1);
    ui->yearEdit->setText(QString::number(values_.birthYear));
    setFieldText(ui->heightEdit, QString::fromStdString(formatFieldNumber(values_.height)));
    setFieldText(ui->restBpmEdit, QString::number(values_.restBpm));
    setFieldText(ui->maxBpmEdit, QString::number(values_.maxBpm));
    setFieldText(ui->fatBurnRangeEdit, values_.fatBurnRange);
    setFieldText(ui->aerobicRangeEdit, values_.aerobicRange);
    setFieldText(ui->intensityEdit, QString::number(values_.intensity));
    setFieldText(ui->intensityBpmEdit, QString::number(values_.intensityBpm));
    busy_ = wasBusy;
}

void CUserInfoDlg::recompute()
{
    if (busy_)
        return;
    busy_ = true;
    if (const auto failure = readFields()) {
        // Stop here: writing the values back would overwrite what the user is
        // typing in the failing field and in the fields after it.
        reportFailure(*failure);
        busy_ = false;
        return;
    }

    const QDate now = today();
    const int age = ageInYears(values_.birthYear, selectedBirthMonth(), selectedBirthDay(),
                               now.year(), now.month(), now.day());
    values_.maxBpm = maximumHeartRate(age);
    if (values_.restBpm != 0) {
        const TargetHeartRates rates = karvonenRates(values_.maxBpm, values_.restBpm);
        values_.fatBurnRange = rangeText(rates.low, rates.mid);
        values_.aerobicRange = rangeText(rates.mid, rates.high);
        values_.intensityBpm = rateAtIntensity(values_.maxBpm, values_.restBpm, values_.intensity);
    }
    writeFields();
    busy_ = false;
}

void CUserInfoDlg::reportFailure(const FieldFailure &failure)
{
    if (!isVisible()) {
        // Checked while the dialog is being filled: say it once it is shown,
        // so that the message has a window to belong to.
        pendingFailure_ = failure;
        return;
    }
    ui->yearEdit->stopAutoRepeat();
    QMessageBox::warning(this, ::ui(applicationTitle), failure.message);
    failure.field->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(failure.field))
        edit->selectAll();
    else if (auto *spin = qobject_cast<QAbstractSpinBox *>(failure.field))
        spin->selectAll();
}

void CUserInfoDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (pendingFailure_) {
        QTimer::singleShot(0, this, [this] {
            if (!pendingFailure_ || busy_ || !isVisible())
                return;
            const FieldFailure failure = *pendingFailure_;
            pendingFailure_.reset();
            busy_ = true;
            reportFailure(failure);
            busy_ = false;
        });
    }
}

void CUserInfoDlg::accept()
{
    if (busy_)
        return;
    busy_ = true;
    const auto failure = [this]() -> std::optional<FieldFailure> {
        if (auto readFailure = readFields())
            return readFailure;
        // Blanks alone would be stored as a name that reads back empty, and
        // the user would be asked for it again at every start.
        if (values_.name.trimmed().isEmpty())
            return FieldFailure{ui->nameEdit, ::ui(dialogtext::nameMissing)};
        return std::nullopt;
    }();
    if (failure) {
        reportFailure(*failure);
        busy_ = false;
        return;
    }

    QString encodingError;
    const auto name = toJournalText(values_.name, &encodingError);
    if (!name) {
        reportFailure({ui->nameEdit, encodingError});
        busy_ = false;
        return;
    }

    result_.name = *name;
    result_.sex = values_.sexChoice == 0;
    result_.birthYear = values_.birthYear;
    result_.birthMonth = selectedBirthMonth();
    result_.birthDay = selectedBirthDay();
    result_.height = values_.height;
    result_.restBpm = values_.restBpm;
    busy_ = false;
    QDialog::accept();
}

Edit CUserInfoDlg::askForEdit(const CQuilloxDoc &doc, QWidget *parent, bool readOnly)
{
    CUserInfoDlg dialog(parent);
    // A journal only read: the values can be looked at, not changed.
    dialog.ui->okButton->setEnabled(!readOnly);
    dialog.setUserInfo(doc.userInfo());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    EditBuilder edit(doc);
    edit.changeUserInfo(dialog.userInfo());
    return edit.take();
}
