#pragma once

#include "pane/cpaneview.h"

#include <QBasicTimer>
#include <QString>

class QPlainTextEdit;

// The advisor (top right pane): the mascot under a speech balloon in which it
// comments on the selected day. A click makes the mascot wave its flipper.
class CMessageView : public CPaneView {
    Q_OBJECT
  public:
    explicit CMessageView(JournalContext &context, QWidget *parent = nullptr);

    // The composed message, lines separated by CR LF.
    QString message() const { return message_; }
    // Timer ticks left of the current wave; 0 while the mascot rests.
    int waveTicksLeft() const { return animationCounter_; }
    // The picture a paint shows. The press that starts a wave sets the
    // counter to 7 but shows the seal at rest: the flipper first goes up at
    // the first tick, whatever paints the pane before it (the click's own
    // focus repaint), so that a click raises it three times.
    bool isFlipperRaised() const
    {
        return animationCounter_ % 2 != 0 && animationCounter_ < waveTicks;
    }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void onUpdate(QObject *sender) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

  private:
    // Seven ticks of 400 ms: the flipper goes up three times and ends at rest.
    static constexpr int waveTicks = 7;
    static constexpr int waveTickMilliseconds = 400;

    void composeMessage();
    // Tells screen readers of a message an edit changed.
    void announceMessage();

    QPlainTextEdit *textBox_ = nullptr;
    QString message_;
    // Hidden: what screen readers are told as a notification (see the .cpp).
    QWidget *notice_ = nullptr;
    // The message as last announced or read with its day.
    QString announcedMessage_;
    // An edit happened; the message is compared once it has settled.
    bool noticeDue_ = false;
    // Counts the wave's ticks down from 7; odd values show the raised flipper.
    int animationCounter_ = 0;
    QBasicTimer waveTimer_;
};
