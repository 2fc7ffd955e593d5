#include "app/cimportrundlg.h"

#include "activity/activitytexts.h"
#include "journal/cquilloxdoc.h"
#include "qttext/uitext.h"
#include "text/entrytext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column {
    dateColumn,
    fileColumn,
    sportColumn,
    fieldColumn,
    distanceColumn,
    timeColumn,
    heldColumn,
    columnCount
};

// The field choices in the order of the combo box.
const std::optional<ActivityField> fieldChoices[] = {std::nullopt, ActivityField::jog,
                                                     ActivityField::walk};

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

CImportRunDlg::CImportRunDlg(const CQuilloxDoc &document, std::vector<RunImportSource> sources,
                             QWidget *parent)
    : QDialog(parent), document_(document), sources_(std::move(sources))
{
    setObjectName(QStringLiteral("importRunDialog"));
    setWindowTitle(ui(activitytext::dialogTitle));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ui(activitytext::dialogIntro), this));

    table_ = new QTableWidget(0, columnCount, this);
    table_->setObjectName(QStringLiteral("activityTable"));
    table_->setHorizontalHeaderLabels(
        {ui(activitytext::columnDate), ui(activitytext::columnFile), ui(activitytext::columnSport),
         ui(activitytext::columnField), ui(activitytext::columnDistance),
         ui(activitytext::columnTime), ui(activitytext::columnHeldNow)});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_, 1);

    auto *choices = new QHBoxLayout;
    auto *choiceLabel = new QLabel(ui(activitytext::fieldChoiceLabel), this);
    fieldChoice_ = new QComboBox(this);
    fieldChoice_->setObjectName(QStringLiteral("fieldChoice"));
    fieldChoice_->addItems({ui(activitytext::fieldChoiceBySport), ui(activitytext::fieldChoiceJog),
                            ui(activitytext::fieldChoiceWalk)});
    choiceLabel->setBuddy(fieldChoice_);
    choices->addWidget(choiceLabel);
    choices->addWidget(fieldChoice_);
    choices->addStretch(1);
    layout->addLayout(choices);

    addToDay_ = new QCheckBox(ui(activitytext::addToDay), this);
    addToDay_->setObjectName(QStringLiteral("addToDay"));
    layout->addWidget(addToDay_);

    problemsLabel_ = new QLabel(ui(activitytext::problemsLabel), this);
    problems_ = new QPlainTextEdit(this);
    problems_->setObjectName(QStringLiteral("problems"));
    problems_->setReadOnly(true);
    problems_->setMaximumHeight(problems_->fontMetrics().lineSpacing() * 5);
    layout->addWidget(problemsLabel_);
    layout->addWidget(problems_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);

    connect(fieldChoice_, &QComboBox::currentIndexChanged, this, &CImportRunDlg::replan);
    replan();
    resize(720, 360);
}

bool CImportRunDlg::addToDay() const
{
    return addToDay_->isChecked();
}

void CImportRunDlg::replan()
{
    const int choice = std::max(0, fieldChoice_->currentIndex());
    plan_ = planRunImport(sources_, fieldChoices[choice], activitytext::refusedSportHintWindow);

    table_->setRowCount(static_cast<int>(plan_.rows.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const RunImportRow &row = plan_.rows[static_cast<std::size_t>(r)];
        const QString held =
            row.field ? fromUtf8(distanceAndTimeText(heldValues(document_, row.day, *row.field)))
                      : QString();
        const QString cells[columnCount] = {
            QString::fromStdString(formatDate(row.day)),
            fromUtf8(row.fileName),
            row.sport.empty() ? ui(activitytext::noSport) : fromUtf8(row.sport),
            row.field ? QString::fromLatin1(fieldName(*row.field)) : ui(activitytext::notImported),
            QString::fromStdString(row.kilometres == 0 ? "0" : formatEntryNumber(row.kilometres)) +
                QStringLiteral(" km"),
            QString::fromStdString(formatDuration(row.seconds)),
            held,
        };
        for (int c = 0; c < columnCount; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c == distanceColumn || c == timeColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();

    QStringList lines;
    for (const std::string &problem : plan_.problems)
        lines << fromUtf8(problem);
    for (const std::string &note : plan_.notes)
        lines << fromUtf8(note);
    problems_->setPlainText(lines.join(QLatin1Char('\n')));
    problemsLabel_->setVisible(!lines.isEmpty());
    problems_->setVisible(!lines.isEmpty());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(plan_.hasImportable());
}
