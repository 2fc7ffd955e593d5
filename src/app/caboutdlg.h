#pragma once

#include <QDialog>

class QLabel;

// "ﾊﾞｰｼﾞｮﾝ情報": the program icon, the build line and an OK button.
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget *parent = nullptr);

    // The build number shown as four hexadecimal digits.
    static constexpr unsigned buildNumber = 0x15;
    static QString buildLine();
};
