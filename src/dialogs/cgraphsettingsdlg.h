#pragma once

#include "dialogs/settingsforms.h"
#include "journal/edit.h"

#include <QDialog>

#include <array>
#include <memory>

class CColorButton;
class CQuilloxDoc;
class QButtonGroup;
class QCheckBox;
class QComboBox;
namespace Ui {
class CGraphSettingsDlg;
}

// "ｸﾞﾗﾌ設定": which series the graph shows, which one owns the main axis,
// the colour and the line or bar style of each, and the colours of the
// selected-day marker, the scale lines and the background.
class CGraphSettingsDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CGraphSettingsDlg(QWidget *parent = nullptr);
    ~CGraphSettingsDlg() override;

    // A style or main axis outside its list shows nothing selected.
    void setForm(const GraphSettingsForm &form);
    // What the controls hold; nothing selected reads as -1.
    GraphSettingsForm form() const;

    // The swatch of colour `index` in the exchange order (the eight series,
    // then the selected day, the scale lines and the background).
    CColorButton *colourButton(int index) const;

    // Opens the dialog on the document's graph settings. Returns what OK
    // changes, for the caller's editor: nothing on Cancel or when OK keeps
    // every value. With readOnly, OK is disabled: the values can be looked
    // at, not changed.
    static Edit askForEdit(const CQuilloxDoc &doc, QWidget *parent, bool readOnly = false);

  private:
    void placeInDialogUnits();

    std::unique_ptr<Ui::CGraphSettingsDlg> ui;
    std::array<QCheckBox *, seriesRowCount> showChecks_{};
    std::array<QComboBox *, seriesRowCount> styleCombos_{};
    std::array<CColorButton *, graphColourCount> colourButtons_{};
    QButtonGroup *mainAxisGroup_;
};
