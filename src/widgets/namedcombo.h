#pragma once

class QComboBox;
class QString;

// Names a drop-down list for screen readers. On Linux Qt names a list by its
// current item and leaves its label to a relation, so a list without a label
// of its own ("4", "12", "細線") said only its value; named here, it says
// what it sets, and its value stays the current item.
void nameComboBox(QComboBox *combo, const QString &name);
