#pragma once

#include "list/listgeometry.h"
#include "list/listrows.h"
#include "pane/cpaneview.h"

#include <QImage>
#include <QRawFont>

#include <optional>

class QScrollBar;

// The journal list: every entry, one line per day, newest first (top middle
// pane). The selected day's line is highlighted; a click, or the keys the
// entry form forwards, select another day.
class CQuilloxView : public CPaneView {
    Q_OBJECT
  public:
    explicit CQuilloxView(JournalContext &context, QWidget *parent = nullptr);

    bool isCommandEnabled(PaneCommand command) const override;
    void runCommand(PaneCommand command) override;

    // The row of the selected day, -1 when that day has no entry.
    int selectedRow() const { return selectedRow_; }
    int scrollPosition() const;
    QScrollBar *verticalScrollBar() const { return scrollBar_; }
    // The area the rows are drawn in: the pane less its scroll bar.
    QRect clientRect() const;

    // The rows as a screen reader reads them: the count, each line as drawn,
    // its day and where it is drawn now (empty when scrolled out of sight).
    int rowCount();
    QString rowText(int row);
    std::optional<Date> rowDate(int row);
    QRect rowRect(int row) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void onUpdate(QObject *sender) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

  private:
    // Takes the rows and the selected row anew and brings that row into view.
    void refresh();
    // Tells screen readers the selected line moved.
    void announceSelectedRow();
    // Tells screen readers the selected line has the keyboard.
    void announceFocusedRow();
    // Takes the rows anew when entries were added or removed; true then.
    bool syncRows();
    void applyScrollRange();
    void scrollBy(int delta);
    void moveSelection(ListMove move);
    void selectRow(int row);

    ListRows rows_;
    ListScrollSizes sizes_;
    int selectedRow_ = -1;
    // Wheel turn not yet worth a whole notch (fine-grained wheels and pads).
    int wheelRemainder_ = 0;
    // Until the first paint the pane's size is not yet the one the user
    // sees: the selected row is brought into view from the top again at
    // every show and resize, so the newest entries stay above it.
    bool placedAtShownSize_ = false;
    QScrollBar *scrollBar_ = nullptr;
    QImage offscreen_;
    QRawFont rawFont_;
    // The face's advance of a digit: the splitters ask for the size hint a
    // hundred times while the window is laid out.
    int columnWidth_ = 0;
    // The day last announced as selected to screen readers.
    std::optional<Date> announcedDay_;
};
