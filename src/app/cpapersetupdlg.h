#pragma once

#include <QDialog>
#include <QPageLayout>

class QComboBox;
class QRadioButton;

// Paper size and orientation for a printer that Qt's page set-up dialog
// refuses to edit: the PDF printer used when the system has no printer.
// Without it the print set-up command would do nothing at all there.
class CPaperSetupDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CPaperSetupDlg(const QPageLayout &layout, QWidget *parent = nullptr);

    // The layout given, with the chosen size and orientation.
    QPageLayout pageLayout() const;

  private:
    QPageLayout layout_;
    QComboBox *size_ = nullptr;
    QRadioButton *portrait_ = nullptr;
    QRadioButton *landscape_ = nullptr;
};
