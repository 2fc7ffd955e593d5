#include "widgets/lineeditaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// The places where items of `type` begin or end, 0 and the length included.
QList<int> itemBoundaries(const QString &text, QTextBoundaryFinder::BoundaryType type)
{
    QList<int> at{0};
    QTextBoundaryFinder finder(type, text);
    // toNextBoundary() answers -1 past the end: the loop that waited for the
    // length there is the one that never ended.
    for (qsizetype next = finder.toNextBoundary(); next > 0; next = finder.toNextBoundary())
        at.append(static_cast<int>(next));
    if (at.last() != text.size())
        at.append(static_cast<int>(text.size()));
    return at;
}

class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
  public:
    explicit LineEditAccessible(QLineEdit *edit)
        : QAccessibleWidget(edit, QAccessible::EditableText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return shownText();
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = edit()->placeholderText();
        return text;
    }
    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t == QAccessible::Value && !edit()->isReadOnly())
            edit()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = edit()->isReadOnly();
        state.editable = !edit()->isReadOnly();
        state.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    // ---- text ----
    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index != 0 || !edit()->hasSelectedText())
            return;
        *start = edit()->selectionStart();
        *end = edit()->selectionEnd();
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            edit()->deselect();
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        const QString shown = shownText();
        start = std::clamp(start, 0, static_cast<int>(shown.size()));
        end = std::clamp(end < 0 ? static_cast<int>(shown.size()) : end, start,
                         static_cast<int>(shown.size()));
        return shown.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(shownText().size()); }
    QRect characterRect(int offset) const override
    {
        // Found through the positions the field gives points: the change
        // from `offset` to the next lies at the middle of the character.
        const QString shown = shownText();
        if (offset < 0 || offset >= shown.size())
            return {};
        const QRect inside = edit()->contentsRect();
        const int middle = inside.center().y();
        int left = -1;
        for (int x = inside.left(); x <= inside.right() && left < 0; ++x) {
            if (edit()->cursorPositionAt(QPoint(x, middle)) > offset)
                left = x;
        }
        if (left < 0)
            return {};
        const QFontMetrics metrics = edit()->fontMetrics();
        const int width = metrics.horizontalAdvance(shown.mid(offset, 1));
        const QRect local(left - width / 2, inside.top(), width, inside.height());
        return QRect(edit()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override
    {
        edit()->setCursorPosition(end);
        edit()->setCursorPosition(start);
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        // One run without attributes over the whole text.
        Q_UNUSED(offset);
        *start = 0;
        *end = characterCount();
        return {};
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                             int *end) const override
    {
        return item(offset, boundary, -1, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                            int *end) const override
    {
        return item(offset, boundary, +1, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                         int *end) const override
    {
        return item(offset, boundary, 0, start, end);
    }

    // ---- editing ----
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString &text) override
    {
        replaceText(offset, offset, text);
        edit()->setCursorPosition(offset + static_cast<int>(text.size()));
    }
    void replaceText(int start, int end, const QString &text) override
    {
        if (edit()->isReadOnly())
            return;
        const QString old = edit()->text();
        start = std::clamp(start, 0, static_cast<int>(old.size()));
        end = std::clamp(end, start, static_cast<int>(old.size()));
        edit()->setText(QString(old).replace(start, end - start, text));
    }

  private:
    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }

    QString shownText() const
    {
        switch (edit()->echoMode()) {
        case QLineEdit::Normal:
            return edit()->text();
        case QLineEdit::NoEcho:
            return {};
        default:
            return QString(edit()->text().size(), QLatin1Char('*'));
        }
    }

    // The item holding `offset` (step 0), the one before it (-1) or after
    // it (+1). Offset -2 is the caret, -1 the end. At the end of the text no
    // item holds the offset: the empty item there, as Qt answers.
    QString item(int offset, QAccessible::TextBoundaryType boundary, int step, int *start,
                 int *end) const
    {
        const QString shown = shownText();
        const int length = static_cast<int>(shown.size());
        if (offset == -2)
            offset = cursorPosition();
        else if (offset == -1)
            offset = length;
        *start = *end = -1;
        if (offset < 0 || offset > length)
            return {};
        QTextBoundaryFinder::BoundaryType type = QTextBoundaryFinder::Grapheme;
        switch (boundary) {
        case QAccessible::CharBoundary:
            break;
        case QAccessible::WordBoundary:
            type = QTextBoundaryFinder::Word;
            break;
        case QAccessible::SentenceBoundary:
            type = QTextBoundaryFinder::Sentence;
            break;
        default:
            // One line, one paragraph: the whole text, and nothing beside it.
            if (step != 0) {
                *start = *end = step < 0 ? 0 : length;
                return {};
            }
            *start = 0;
            *end = length;
            return shown;
        }
        const QList<int> at = itemBoundaries(shown, type);
        // The item that begins at or before offset; past the last, at the end.
        const auto after = std::upper_bound(at.begin(), at.end(), offset);
        qsizetype index = (after - at.begin()) - 1;
        if (offset == length)
            index = at.size() - 1;
        index += step;
        if (index < 0 || index >= at.size() - 1) {
            *start = *end = index < 0 ? 0 : length;
            return {};
        }
        *start = at[index];
        *end = at[index + 1];
        return shown.mid(*start, *end - *start);
    }
};

QAccessibleInterface *lineEditFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QLineEdit") && object && object->isWidgetType())
        return new LineEditAccessible(static_cast<QLineEdit *>(object));
    return nullptr;
}

} // namespace

void installLineEditAccessibility()
{
    QAccessible::installFactory(lineEditFactory);
}
