#pragma once

#include "activity/runimport.h"

#include <QDialog>

#include <vector>

class CQuilloxDoc;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

// The confirmation before runs from a watch's files are stored: each
// activity with its day, sport, distance, time and what its day holds now,
// the field to store them in, and whether to add to the day. The rules are
// planRunImport's; the dialog only shows the plan and takes the choices.
class CImportRunDlg : public QDialog {
    Q_OBJECT
  public:
    CImportRunDlg(const CQuilloxDoc &document, std::vector<RunImportSource> sources,
                  QWidget *parent = nullptr);

    const RunImportPlan &plan() const { return plan_; }
    bool addToDay() const;

  private:
    void replan();

    const CQuilloxDoc &document_;
    std::vector<RunImportSource> sources_;
    RunImportPlan plan_;
    QTableWidget *table_ = nullptr;
    QComboBox *fieldChoice_ = nullptr;
    QCheckBox *addToDay_ = nullptr;
    QLabel *problemsLabel_ = nullptr;
    QPlainTextEdit *problems_ = nullptr;
    QDialogButtonBox *buttons_ = nullptr;
};
