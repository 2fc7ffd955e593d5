#pragma once

#include "journal/edit.h"
#include "journal/objective.h"
#include "journal/userinfo.h"

#include <QDialog>

#include <memory>

class CQuilloxDoc;
class QButtonGroup;
namespace Ui {
class CObjectiveDlg;
}

// "目的・目標設定": the purpose, the targets and an event to prepare for, with
// a note on standard weights for the user's height beside the targets.
class CObjectiveDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CObjectiveDlg(QWidget *parent = nullptr);
    ~CObjectiveDlg() override;

    // Fills the fields; the note is composed here from the profile and stays
    // as it is while the dialog is open.
    void setObjective(const Objective &objective, const UserInfo &user);
    // Valid after the dialog was accepted; before that, what setObjective gave.
    Objective objective() const;

    // Opens the dialog on the document's objective. Returns what OK changes,
    // for the caller's editor: nothing on Cancel or when OK keeps every value.
    // With readOnly, OK is disabled: the values can be looked at, not changed.
    static Edit askForEdit(const CQuilloxDoc &doc, QWidget *parent, bool readOnly = false);

  public slots:
    void accept() override;

  private:
    std::unique_ptr<Ui::CObjectiveDlg> ui;
    QButtonGroup *purposeGroup_;
    Objective result_;
};
