#pragma once

// Shared by the application's widget tests: a private working directory and
// settings file per test, and an answerer for the modal boxes the program
// opens while a test drives it.

#include "app/czephalonteapp.h"
#include "graph/fontsubstitutes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

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

// A fresh working directory and settings location for every test.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(workDir.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(workDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           workDir.filePath(QStringLiteral("config")));
    }

    void TearDown() override
    {
        app.reset();
        QDir::setCurrent(previousDir);
    }

    QString path(const QString &name) const { return workDir.filePath(name); }

    static QSettings profile()
    {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ornavel"),
                         QStringLiteral("Zephalonte"));
    }

    // A journal with a user name (so no prompt comes) and the given day lines.
    static void writeJournalFile(const QString &file, const QByteArray &name,
                                 const QByteArray &dataLines, const QByteArray &settings = {})
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("# quillox file ver 2\r\n[settings]\r\n" + settings +
                  "[userInfo]\r\nname = " + name + "\r\n[data]\r\n" + dataLines);
    }

    static QByteArray fileBytes(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    // Starts the program in-process with the answers given to `answerer`.
    bool startApp(const QStringList &arguments = {QStringLiteral("zephalonte")})
    {
        app = std::make_unique<CZephalonteApp>();
        return app->startUp(arguments);
    }

    QTemporaryDir workDir;
    QString previousDir;
    ModalAnswerer answerer;
    std::unique_ptr<CZephalonteApp> app;
};

inline QString qs(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// main() of every application test: a QApplication for the widgets, the
// Japanese faces mapped as the application object maps them at start-up (for
// panes tested without it), then the tests.
#define ZPH_APP_TEST_MAIN                                                                          \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QApplication application(argc, argv);                                                      \
        installFontSubstitutes();                                                                  \
        ::testing::InitGoogleTest(&argc, argv);                                                    \
        return RUN_ALL_TESTS();                                                                    \
    }
