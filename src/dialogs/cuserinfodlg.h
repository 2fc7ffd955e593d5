#pragma once

#include "journal/userinfo.h"

#include <QDate>
#include <QDialog>

#include <memory>

class CQuilloxDoc;
class QSpinBox;
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
    // Valid after the dialog was accepted.
    UserInfo userInfo() const;

    // The date the ages are counted to; today unless a test says otherwise.
    void setToday(const QDate &today);

    // Opens the dialog on the document's profile; on OK copies it back and
    // sets the modified flag. Returns true on OK.
    static bool editDocument(CQuilloxDoc &doc, QWidget *parent);

private:
    std::unique_ptr<Ui::CUserInfoDlg> ui;
    // ... private slots and state are the dialog's own.
};
