#pragma once

class QDateEdit;

// Makes the picker's calendar drop down under it with its right edge under
// the picker's right edge, as the journal's date pickers always have, and
// keeps it on the screen. The picker must show its calendar as a pop-up.
void alignCalendarPopupRight(QDateEdit *picker);
