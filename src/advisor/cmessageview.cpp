#include "advisor/cmessageview.h"

#include "advisor/advisormessage.h"
#include "advisor/advisorpanepainter.h"
#include "advisor/advisortexts.h"
#include "faces/designfaces.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTimerEvent>

#include <algorithm>

namespace {

constexpr int messageFontPixelSize = 14;

const QString noticeObjectName = QStringLiteral("advisorNotice");

// Screen readers speak a changed name or description only of the object that
// has the focus, which the advisor seldom has when its message changes. A
// notification that shows itself is spoken wherever the focus is, so the new
// message goes out as one: an object that only screen readers see.
QAccessibleInterface *noticeFactory(const QString &, QObject *object)
{
    if (object && object->isWidgetType() && object->objectName() == noticeObjectName)
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

CMessageView::CMessageView(JournalContext &context, QWidget *parent)
    : CPaneView(context, parent), textBox_(new QPlainTextEdit(this)), notice_(new QWidget(this))
{
    setObjectName(QStringLiteral("messageView"));
    // The paint covers every pixel; erasing first would only make it flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The trend's lines come and go with the trend line.
    connect(&context, &JournalContext::progressOptionsChanged, this, [this] { onUpdate(nullptr); });

    textBox_->setObjectName(QStringLiteral("messageText"));
    textBox_->setFrameShape(QFrame::NoFrame);
    textBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    textBox_->setTabChangesFocus(true);
    setAccessibleName(QString::fromUtf8(advisortexts::accessibleName));
    textBox_->setAccessibleName(accessibleName());

    QAccessible::installFactory(noticeFactory);
    notice_->setObjectName(noticeObjectName);
    notice_->setAccessibleName(accessibleName());
    notice_->setFocusPolicy(Qt::NoFocus);
    notice_->hide();
    // A message changed by an edit is announced once the edit has settled:
    // registering a past day selects the next one, whose message is the new one.
    connect(&context.editor(), &JournalEditor::edited, this, [this] {
        if (noticeDue_)
            return;
        noticeDue_ = true;
        QMetaObject::invokeMethod(this, &CMessageView::announceMessage, Qt::QueuedConnection);
    });
    // The balloon's face, the design's "ＭＳ 明朝", as installed.
    QFont font(designFamily(DesignFace::Mincho));
    font.setPixelSize(messageFontPixelSize);
    font.setWeight(QFont::Normal);
    textBox_->setFont(font);
}

QSize CMessageView::sizeHint() const
{
    return {mascotSize.width() + 2 * messageBoxMargin, 400};
}

QSize CMessageView::minimumSizeHint() const
{
    return {0, messageBoxBottomSpace + messageBoxMargin};
}

void CMessageView::onUpdate(QObject *)
{
    composeMessage();
    update();
}

void CMessageView::composeMessage()
{
    const JournalContext &journal = context();
    const JournalTrends *trends = journal.progressOptions().trendLine ? &journal.trends() : nullptr;
    message_ = QString::fromStdString(composeAdvisorMessage(
        journal.document(), journal.selectedDate(), todayDate(), standardRandom, trends));
    // The text box is refilled only when the message changes, not at every
    // paint, so that a wave or an expose keeps where the user scrolled to.
    QString shown = message_;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    textBox_->setPlainText(shown);
    // A description change is the event screen readers are told of; the
    // pane's own is read when F6 brings the focus to it.
    textBox_->setAccessibleDescription(shown);
    setAccessibleDescription(shown);
    // A message that follows the selected day is read there, not announced.
    if (!noticeDue_)
        announcedMessage_ = message_;
}

void CMessageView::announceMessage()
{
    noticeDue_ = false;
    if (message_ == announcedMessage_)
        return;
    announcedMessage_ = message_;
    // With the focus here, the pane's description change is spoken already.
    if (holdsFocus())
        return;
    notice_->setAccessibleDescription(accessibleDescription());
    QAccessibleEvent shown(notice_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void CMessageView::paintEvent(QPaintEvent *)
{
    // Drawn off-screen and copied in one go.
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    {
        QPainter painter(&image);
        paintAdvisorPane(painter, size(), isFlipperRaised(), palette().color(QPalette::Base));
    }
    QPainter pane(this);
    pane.drawImage(0, 0, image);
    drawFocusFrame(pane, rect());
}

void CMessageView::resizeEvent(QResizeEvent *event)
{
    CPaneView::resizeEvent(event);
    const QSize size = event->size();
    if (size.width() > 0) {
        textBox_->setGeometry(
            messageBoxMargin, messageBoxMargin, std::max(0, size.width() - 2 * messageBoxMargin),
            std::max(0, size.height() - messageBoxBottomSpace - messageBoxMargin));
    }
}

void CMessageView::mousePressEvent(QMouseEvent *event)
{
    // A click during a wave changes nothing; the press itself paints nothing.
    if (event->button() == Qt::LeftButton && animationCounter_ <= 0) {
        animationCounter_ = waveTicks;
        waveTimer_.start(waveTickMilliseconds, this);
    }
    CPaneView::mousePressEvent(event);
}

void CMessageView::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != waveTimer_.timerId()) {
        CPaneView::timerEvent(event);
        return;
    }
    update();
    --animationCounter_;
    if (animationCounter_ <= 0)
        waveTimer_.stop();
}
