#pragma once

#include <QAbstractSpinBox>

// A free-text edit with up/down buttons. Unlike QSpinBox it never clamps or
// rejects what is typed: the text is the value, and the dialog that owns the
// field checks it with its own rules and messages. The buttons, the arrow
// keys and the wheel step the number in the text within the button range, so
// a field whose valid range is narrower than the button range can be stepped
// past its limits and the owner's check reports it.
class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
  public:
    explicit SpinEdit(QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // Replaces the text; emits textChanged when it differs.
    void setText(const QString &text);

    // Ends a press-and-hold on a button. Needed before a modal message is
    // shown from a textChanged handler: the button never sees the release,
    // and its repeat timer would otherwise keep stepping behind the message.
    void stopAutoRepeat();

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void textChanged(const QString &text);

  protected:
    StepEnabled stepEnabled() const override;

  private:
    // The number the buttons start from: the text's number when it is one,
    // else the last number the buttons wrote or read.
    int steppingBase() const;

    int minimum_ = 0;
    int maximum_ = 99;
    int lastPosition_ = 0;
};
