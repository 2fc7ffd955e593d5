#include "dialogs/cgraphsettingsdlg.h"

#include "ui_cgraphsettingsdlg.h"

#include "dialogs/dialogtexts.h"
#include "faces/designfaces.h"
#include "journal/cquilloxdoc.h"
#include "qttext/uitext.h"
#include "widgets/dialogunits.h"
#include "widgets/namedcombo.h"

#include <QButtonGroup>
#include <QRegularExpression>

#include <algorithm>

CGraphSettingsDlg::CGraphSettingsDlg(QWidget *parent)
    : QDialog(parent), ui(new Ui::CGraphSettingsDlg), mainAxisGroup_(new QButtonGroup(this))
{
    // The design's "ＭＳ Ｐゴシック" at 9 points, as installed, set before the
    // controls exist so that each is made in that family at once.
    QFont dialogFont(designFamily(DesignFace::PGothic));
    dialogFont.setPointSize(9);
    setFont(dialogFont);
    ui->setupUi(this);
    showChecks_ = {ui->showCheck0, ui->showCheck1, ui->showCheck2, ui->showCheck3,
                   ui->showCheck4, ui->showCheck5, ui->showCheck6, ui->showCheck7};
    styleCombos_ = {ui->styleCombo0, ui->styleCombo1, ui->styleCombo2, ui->styleCombo3,
                    ui->styleCombo4, ui->styleCombo5, ui->styleCombo6, ui->styleCombo7};
    colourButtons_ = {ui->colourButton0, ui->colourButton1, ui->colourButton2, ui->colourButton3,
                      ui->colourButton4, ui->colourButton5, ui->colourButton6, ui->colourButton7,
                      ui->colourButton8, ui->colourButton9, ui->colourButton10};
    const std::array<QRadioButton *, seriesRowCount> mainAxisRadios = {
        ui->mainAxisRadio0, ui->mainAxisRadio1, ui->mainAxisRadio2, ui->mainAxisRadio3,
        ui->mainAxisRadio4, ui->mainAxisRadio5, ui->mainAxisRadio6, ui->mainAxisRadio7};
    for (int row = 0; row < seriesRowCount; ++row)
        mainAxisGroup_->addButton(mainAxisRadios[static_cast<std::size_t>(row)], row);

    // The series' controls beside the show box are named after it.
    for (std::size_t row = 0; row < seriesRowCount; ++row) {
        // "体重(&W)" and "&Jog 距離" name "体重" and "Jog 距離".
        static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&"));
        const QString series = showChecks_[row]->text().remove(mnemonic);
        mainAxisRadios[row]->setAccessibleName(::ui(dialogtext::mainAxisName).arg(series));
        colourButtons_[row]->setAccessibleName(::ui(dialogtext::colourName).arg(series));
        nameComboBox(styleCombos_[row],
                     ::ui(static_cast<int>(row) >= firstBarRow ? dialogtext::barStyleName
                                                               : dialogtext::lineStyleName)
                         .arg(series));
    }

    placeInDialogUnits();
    // The first control in tab order, as the dialog's start gives it.
    ui->okButton->setFocus(Qt::OtherFocusReason);
}

CGraphSettingsDlg::~CGraphSettingsDlg() = default;

// The form gives every control's place in dialog units, as a dialog template
// does, so that the rows, columns and separating lines keep their proportions.
void CGraphSettingsDlg::placeInDialogUnits()
{
    const DialogUnits units(font());

    const QList<QWidget *> controls = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    const auto isSeparator = [](const QWidget *control) {
        const auto *frame = qobject_cast<const QFrame *>(control);
        return frame && frame->frameShape() == QFrame::HLine;
    };
    int rightmost = 0;
    for (QWidget *control : controls) {
        QRect place = units.toPixels(control->geometry());
        // A control that needs more room than its units give (a font with
        // taller glyphs, a list's arrow button) grows to the right and about
        // its centre line rather than clipping its text.
        const QSize needed = control->minimumSizeHint();
        if (needed.height() > place.height()) {
            const int extra = needed.height() - place.height();
            place.adjust(0, -extra / 2, 0, extra - extra / 2);
        }
        if (needed.width() > place.width() && !isSeparator(control))
            place.setWidth(needed.width());
        control->setGeometry(place);
        rightmost = std::max(rightmost, place.x() + place.width());
    }

    // The dialog keeps its right margin around what grew; the separating
    // lines lengthen with it.
    constexpr int marginUnits = 7;
    const int widthNeeded = rightmost + units.across(marginUnits);
    const int extra = std::max(0, widthNeeded - units.across(width()));
    for (QWidget *control : controls)
        if (isSeparator(control))
            control->resize(control->width() + extra, control->height());
    setFixedSize(units.across(width()) + extra, units.down(height()));
}

void CGraphSettingsDlg::setForm(const GraphSettingsForm &form)
{
    for (std::size_t row = 0; row < showChecks_.size(); ++row) {
        showChecks_[row]->setChecked(form.shown[row]);
        styleCombos_[row]->setCurrentIndex(
            choiceIndex(form.styles[row], styleCount(static_cast<int>(row))));
        colourButtons_[row]->setColour(form.colours[row]);
    }
    for (std::size_t i = seriesRowCount; i < colourButtons_.size(); ++i)
        colourButtons_[i]->setColour(form.colours[i]);

    // An exclusive group cannot be cleared by unchecking its checked button.
    mainAxisGroup_->setExclusive(false);
    for (QAbstractButton *button : mainAxisGroup_->buttons())
        button->setChecked(false);
    mainAxisGroup_->setExclusive(true);
    if (QAbstractButton *owner = mainAxisGroup_->button(choiceIndex(form.mainAxis, seriesRowCount)))
        owner->setChecked(true);
}

GraphSettingsForm CGraphSettingsDlg::form() const
{
    GraphSettingsForm form;
    for (std::size_t row = 0; row < showChecks_.size(); ++row) {
        form.shown[row] = showChecks_[row]->isChecked();
        form.styles[row] = styleCombos_[row]->currentIndex();
    }
    for (std::size_t i = 0; i < colourButtons_.size(); ++i)
        form.colours[i] = colourButtons_[i]->colour();
    form.mainAxis = mainAxisGroup_->checkedId();
    return form;
}

CColorButton *CGraphSettingsDlg::colourButton(int index) const
{
    return colourButtons_.at(static_cast<std::size_t>(index));
}

Edit CGraphSettingsDlg::askForEdit(const CQuilloxDoc &doc, QWidget *parent, bool readOnly)
{
    CGraphSettingsDlg dialog(parent);
    // A journal only read: the values can be looked at, not changed.
    dialog.ui->okButton->setEnabled(!readOnly);
    dialog.setForm(graphSettingsForm(doc.graphSettings()));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    GraphSettings edited = doc.graphSettings();
    applyGraphSettingsForm(dialog.form(), edited);
    EditBuilder edit(doc);
    edit.changeGraphSettings(edited);
    return edit.take();
}
