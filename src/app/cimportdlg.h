#pragma once

#include "activity/importplan.h"

#include <QDialog>

#include <string>
#include <vector>

class CQuilloxDoc;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QTableWidget;
class QTableWidgetItem;

// The confirmation before an import is stored: every run and weighing of the
// files with its day, where it goes, its value, what the day holds now and
// what it will hold, a tick to leave it out, and the choices that shape the
// plan. The rules are planImport's; the dialog shows the plan, takes the
// choices and plans again at each one.
class CImportDlg : public QDialog {
    Q_OBJECT
  public:
    // `paths` are the inputs `files` were read from, in the same order: a
    // Fitbit export is read again once the user names its unit.
    CImportDlg(const CQuilloxDoc &document, std::vector<std::string> paths,
               std::vector<ImportFile> files, QWidget *parent = nullptr);

    const ImportPlan &plan() const { return plan_; }

  private:
    void readAgainWithUnit();
    void replan();
    void rowTicked(QTableWidgetItem *item);

    const CQuilloxDoc &document_;
    std::vector<std::string> paths_;
    std::vector<ImportFile> files_;
    ImportChoices choices_;
    ImportPlan plan_;
    bool filling_ = false;
    QTableWidget *table_ = nullptr;
    QComboBox *fieldChoice_ = nullptr;
    QComboBox *pickChoice_ = nullptr;
    QComboBox *unitChoice_ = nullptr;
    QCheckBox *keepExisting_ = nullptr;
    QCheckBox *addToDay_ = nullptr;
    QLabel *countLine_ = nullptr;
    QLabel *problemsLabel_ = nullptr;
    QPlainTextEdit *problems_ = nullptr;
    QDialogButtonBox *buttons_ = nullptr;
};
