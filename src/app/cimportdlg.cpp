#include "app/cimportdlg.h"

#include "activity/activitytexts.h"
#include "activity/importreader.h"
#include "journal/cquilloxdoc.h"
#include "qttext/uitext.h"
#include "text/entrytext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column {
    tickColumn,
    dateColumn,
    fileColumn,
    sportColumn,
    fieldColumn,
    valueColumn,
    heldColumn,
    afterColumn,
    columnCount
};

// The choices in the order of their combo boxes.
const std::optional<ActivityField> fieldChoices[] = {std::nullopt, ActivityField::jog,
                                                     ActivityField::walk};
const WeightPick pickChoices[] = {WeightPick::first, WeightPick::last, WeightPick::mean};
const std::optional<WeightUnit> unitChoices[] = {std::nullopt, WeightUnit::lb, WeightUnit::kg};

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

QComboBox *comboOf(QWidget *parent, const char *name, std::initializer_list<const char *> items)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    for (const char *item : items)
        combo->addItem(ui(item));
    return combo;
}

} // namespace

CImportDlg::CImportDlg(const CQuilloxDoc &document, std::vector<std::string> paths,
                       std::vector<ImportFile> files, QWidget *parent)
    : QDialog(parent), document_(document), paths_(std::move(paths)), files_(std::move(files))
{
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(ui(activitytext::dialogTitle));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ui(activitytext::dialogIntro), this));

    table_ = new QTableWidget(0, columnCount, this);
    table_->setObjectName(QStringLiteral("importTable"));
    table_->setAccessibleName(ui(activitytext::tableName));
    table_->setHorizontalHeaderLabels({QString(), ui(activitytext::columnDate),
                                       ui(activitytext::columnFile), ui(activitytext::columnSport),
                                       ui(activitytext::columnField), ui(activitytext::columnValue),
                                       ui(activitytext::columnHeldNow),
                                       ui(activitytext::columnAfter)});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab moves on to the choices; the arrows move within the table.
    table_->setTabKeyNavigation(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_, 1);

    countLine_ = new QLabel(this);
    countLine_->setObjectName(QStringLiteral("countLine"));
    layout->addWidget(countLine_);

    auto *form = new QFormLayout;
    fieldChoice_ = comboOf(this, "fieldChoice",
                           {activitytext::fieldChoiceBySport, activitytext::fieldChoiceJog,
                            activitytext::fieldChoiceWalk});
    form->addRow(ui(activitytext::fieldChoiceLabel), fieldChoice_);
    pickChoice_ =
        comboOf(this, "pickChoice",
                {activitytext::pickFirst, activitytext::pickLast, activitytext::pickMean});
    form->addRow(ui(activitytext::pickLabel), pickChoice_);
    // Only a Fitbit export leaves the unit open; its weighings wait for it.
    const bool unitNeeded = std::any_of(
        files_.begin(), files_.end(), [](const ImportFile &file) { return file.needsWeightUnit; });
    if (unitNeeded) {
        unitChoice_ = comboOf(
            this, "unitChoice",
            {activitytext::unitUnchosen, activitytext::unitPounds, activitytext::unitKilograms});
        form->addRow(ui(activitytext::unitLabel), unitChoice_);
    }
    layout->addLayout(form);

    keepExisting_ = new QCheckBox(ui(activitytext::keepExisting), this);
    keepExisting_->setObjectName(QStringLiteral("keepExisting"));
    layout->addWidget(keepExisting_);
    addToDay_ = new QCheckBox(ui(activitytext::addToDay), this);
    addToDay_->setObjectName(QStringLiteral("addToDay"));
    layout->addWidget(addToDay_);

    problemsLabel_ = new QLabel(ui(activitytext::problemsLabel), this);
    problems_ = new QPlainTextEdit(this);
    problems_->setObjectName(QStringLiteral("problems"));
    problems_->setAccessibleName(ui(activitytext::problemsName));
    problems_->setReadOnly(true);
    problems_->setTabChangesFocus(true);
    problems_->setMaximumHeight(problems_->fontMetrics().lineSpacing() * 5);
    problemsLabel_->setBuddy(problems_);
    layout->addWidget(problemsLabel_);
    layout->addWidget(problems_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);

    connect(fieldChoice_, &QComboBox::currentIndexChanged, this, &CImportDlg::replan);
    connect(pickChoice_, &QComboBox::currentIndexChanged, this, &CImportDlg::replan);
    connect(keepExisting_, &QCheckBox::toggled, this, &CImportDlg::replan);
    connect(addToDay_, &QCheckBox::toggled, this, &CImportDlg::replan);
    if (unitChoice_)
        connect(unitChoice_, &QComboBox::currentIndexChanged, this, &CImportDlg::readAgainWithUnit);
    connect(table_, &QTableWidget::itemChanged, this, &CImportDlg::rowTicked);
    replan();
    resize(860, 420);
}

void CImportDlg::readAgainWithUnit()
{
    ImportReadOptions options;
    options.fitbitUnit = unitChoices[std::max(0, unitChoice_->currentIndex())];
    for (std::size_t i = 0; i < files_.size() && i < paths_.size(); ++i) {
        if (files_[i].needsWeightUnit || files_[i].format == ActivityFormat::fitbitJson) {
            const std::string name = files_[i].name;
            files_[i] = readImportInput(paths_[i], name, options);
        }
    }
    // The rows of the files read again are new: the user's ticks start over.
    choices_.ticks.clear();
    replan();
}

void CImportDlg::rowTicked(QTableWidgetItem *item)
{
    if (filling_ || item->column() != tickColumn)
        return;
    choices_.ticks[static_cast<std::size_t>(item->row())] = item->checkState() == Qt::Checked;
    replan();
}

void CImportDlg::replan()
{
    choices_.runField = fieldChoices[std::max(0, fieldChoice_->currentIndex())];
    choices_.pick = pickChoices[std::max(0, pickChoice_->currentIndex())];
    choices_.keepExisting = keepExisting_->isChecked();
    choices_.addToDay = addToDay_->isChecked();
    plan_ = planImport(files_, document_.dayList(), choices_, activitytext::refusedSportHintWindow);

    filling_ = true;
    table_->setRowCount(static_cast<int>(plan_.rows.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const ImportRow &row = plan_.rows[static_cast<std::size_t>(r)];
        const DayRecord *held = document_.findDay(row.day);
        const ImportDayChange *change = plan_.changeOf(row.day);
        QString heldText;
        QString afterText;
        if (row.target) {
            heldText =
                held ? fromUtf8(dayValueText(*held, *row.target)) : ui(activitytext::nothingHeld);
            const DayRecord *after = change ? &*change->after : held;
            afterText =
                after ? fromUtf8(dayValueText(*after, *row.target)) : ui(activitytext::nothingHeld);
        }
        if (row.state == RowState::sameAsHeld)
            afterText = ui(activitytext::alreadyHeld);
        const bool weighing = row.kind == PatchKind::weighing;
        const QString cells[columnCount] = {
            QString(),
            QString::fromStdString(formatDate(row.day)),
            fromUtf8(files_[row.file].name),
            weighing ? ui(activitytext::weighingSport)
                     : (row.sport.empty() ? ui(activitytext::noSport) : fromUtf8(row.sport)),
            row.target ? ui(targetName(*row.target)) : ui(activitytext::notImported),
            fromUtf8(rowValueText(row)),
            heldText,
            afterText,
        };
        for (int c = 0; c < columnCount; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c == tickColumn) {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
                item->setCheckState(row.ticked ? Qt::Checked : Qt::Unchecked);
            } else if (c == valueColumn) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    filling_ = false;

    const ImportCounts &counts = plan_.counts;
    countLine_->setText(plan_.hasChanges() ? ui(activitytext::changeCount)
                                                 .arg(counts.days)
                                                 .arg(counts.weights)
                                                 .arg(counts.fats)
                                                 .arg(counts.jogs)
                                                 .arg(counts.walks)
                                           : ui(activitytext::nothingChanges));

    QStringList lines;
    for (const std::string &problem : plan_.problems)
        lines << fromUtf8(problem);
    for (const std::string &note : plan_.notes)
        lines << fromUtf8(note);
    problems_->setPlainText(lines.join(QLatin1Char('\n')));
    problemsLabel_->setVisible(!lines.isEmpty());
    problems_->setVisible(!lines.isEmpty());
    const bool unitMissing = unitChoice_ && unitChoice_->currentIndex() <= 0;
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(plan_.hasChanges() && !unitMissing);
}
