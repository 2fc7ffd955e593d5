#pragma once

#include "journal/edit.h"
#include "journal/userinfo.h"

#include <QDate>
#include <QDialog>

#include <memory>
#include <optional>

class CQuilloxDoc;
class QLineEdit;
class QWidget;
namespace Ui {
class CUserInfoDlg;
}

// "ﾕｰｻﾞ情報設定": edits the profile and shows heart-rate training figures
// derived from it (shown only, never stored).
class CUserInfoDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CUserInfoDlg(QWidget *parent = nullptr);
    ~CUserInfoDlg() override;

    void setUserInfo(const UserInfo &info);
    // Valid after the dialog was accepted; before that, what setUserInfo gave.
    UserInfo userInfo() const;

    // The date the ages are counted to; today unless a test says otherwise.
    void setToday(const QDate &today);

    // Opens the dialog on the document's profile. Returns what OK changes,
    // for the caller's editor: nothing on Cancel or when OK keeps every value.
    // With readOnly, OK is disabled: the values can be looked at, not changed.
    static Edit askForEdit(const CQuilloxDoc &doc, QWidget *parent, bool readOnly = false);

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    // What the fields hold, as last read or written. The derived figures are
    // kept too, because a resting rate of 0 leaves the older ranges in place.
    struct Values {
        QString name;
        int sexChoice = 0; // 0 male, 1 female, -1 none
        int birthYear = 1980;
        double height = 0;
        int restBpm = 60;
        int maxBpm = 0;
        QString fatBurnRange;
        QString aerobicRange;
        int intensity = 70;
        int intensityBpm = 0;
    };

    struct FieldFailure {
        QWidget *field = nullptr;
        QString message;
    };

    // Reads the fields in their fixed order into values_, stopping at the
    // first one that fails its check; the fields before it have been taken.
    std::optional<FieldFailure> readFields();
    void writeFields();
    void recompute();
    void reportFailure(const FieldFailure &failure);
    int selectedBirthMonth() const;
    int selectedBirthDay() const;
    QDate today() const;

    std::unique_ptr<Ui::CUserInfoDlg> ui;
    Values values_;
    UserInfo result_;
    QDate today_;
    // Set while the dialog reads, writes or reports: the change notifications
    // that its own writing and a message box's event loop cause must not start
    // another recomputation.
    bool busy_ = false;
    // A check that failed before the dialog was on screen; reported once it is.
    std::optional<FieldFailure> pendingFailure_;
};
