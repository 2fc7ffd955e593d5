#pragma once

// Shared by the widget tests of the panes and of the application: an
// answerer for the modal boxes the program opens while a test drives it, and
// main() with the Japanese faces mapped as the application maps them.

#include "faces/designfaces.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

// Answers the modal windows that open, in order, one handler each. A modal
// window nobody expected is recorded and closed, so a test fails instead of
// hanging.
class ModalAnswerer : public QObject {
  public:
    using Handler = std::function<void(QWidget *modal)>;

    ModalAnswerer()
    {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
        timer_.start();
    }

    void expect(Handler handler) { handlers_.push_back(std::move(handler)); }

    // A message box: records its text, then presses the button.
    void expectMessage(QMessageBox::StandardButton button)
    {
        expect([this, button](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr)
                << "expected a message box, got " << modal->metaObject()->className();
            texts.push_back(box->text());
            box->button(button)->click();
        });
    }

    // Any dialog: records its class name and rejects it.
    void expectDialogAndReject()
    {
        expect([this](QWidget *modal) {
            classNames.push_back(QString::fromLatin1(modal->metaObject()->className()));
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
        });
    }

    bool allAnswered() const { return handlers_.empty(); }

    QStringList texts;      // of the message boxes answered
    QStringList classNames; // of the dialogs rejected
    QStringList unexpected; // class names and texts of modal windows nobody expected

  private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == lastAnswered_.data() || !modal->isVisible())
            return;
        lastAnswered_ = modal;
        if (handlers_.empty()) {
            QString what = QString::fromLatin1(modal->metaObject()->className());
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                what += QStringLiteral(": ") + box->text();
            unexpected.push_back(what);
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
            return;
        }
        Handler handler = std::move(handlers_.front());
        handlers_.pop_front();
        handler(modal);
    }

    QTimer timer_;
    std::deque<Handler> handlers_;
    QPointer<QWidget> lastAnswered_;
};

inline QString qs(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// main() of every widget test: a QApplication for the widgets, the Japanese
// faces mapped as the application object maps them at start-up (for panes
// tested without it), then the tests.
#define ZPH_APP_TEST_MAIN                                                                          \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QApplication application(argc, argv);                                                      \
        installFontSubstitutes();                                                                  \
        ::testing::InitGoogleTest(&argc, argv);                                                    \
        return RUN_ALL_TESTS();                                                                    \
    }
