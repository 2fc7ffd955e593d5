#pragma once

#include "graph/graphgeometry.h"
#include "graph/graphoverlays.h"
#include "graph/graphperiod.h"
#include "pane/cpaneview.h"

#include <QImage>
#include <QPointer>

class QAction;
class QMenu;
class QPainter;
class QRect;

// The graph of the recent weeks or months (bottom pane, full width). Its
// period and the layout of its last drawing are the renderer's state, kept
// here between drawings: periodValid, periodDays, periodStart, periodEnd,
// plotRect, dayWidth and the two button rectangles.
class CGraphView : public CPaneView, public GraphPeriodState, public GraphLayout {
    Q_OBJECT
  public:
    explicit CGraphView(JournalContext &context, QWidget *parent = nullptr);

    // The period is worked out again from graphNDays at the next drawing.
    void invalidatePeriod();

    // The printed page: the whole graph in pageRect, paper sizes. Used when
    // printing from any pane.
    void printGraph(QPainter &painter, const QRect &pageRect);

    // The command the pop-up menu's settings item triggers, and follows in
    // being available: the main window's.
    void setSettingsAction(QAction *action) { settingsAction_ = action; }

    // What the graph shows, in words (graphDescription), for screen readers.
    QString accessibleSummary();
    bool isCommandEnabled(PaneCommand command) const override;
    void runCommand(PaneCommand command) override;

    // The pop-up menu: the period submenu with the current period checked,
    // the trend and goal line switches, then the graph settings. The caller
    // owns it.
    QMenu *createContextMenu(QWidget *parent);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

  private:
    // A navigation button's new period; it stays until a period command.
    void movePeriod(const GraphPeriodState &moved);
    // The period for today when none is worked out yet and there is
    // something to show.
    void ensurePeriod();
    // The trend and goal lines as the context's options have them.
    GraphOverlays overlays() const;

    QPointer<QAction> settingsAction_;
    QImage buffer_; // the off-screen image of the last paint
};
