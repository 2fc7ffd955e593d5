#pragma once

// Shared by the application's widget tests: a private working directory and
// settings file per test (the modal answerer and main() come with the panes').

#include "app/czephalonteapp.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "panetestsupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// A day stored as the window stores one: an edit through the journal's editor,
// which marks the journal modified and can be undone.
inline void registerThroughEditor(CZephalonteApp &app, const DayRecord &day)
{
    app.context().editor().apply(dayEdit(app.document(), day), QStringLiteral("test"));
}

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
        // Rescue files and their notices too: one test's never reach another.
        previousDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(workDir.filePath(QStringLiteral("data"))));
    }

    void TearDown() override
    {
        app.reset();
        QDir::setCurrent(previousDir);
        qputenv("XDG_DATA_HOME", previousDataHome);
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

    // Starts the program on the current user's journal, named (so no prompt
    // comes) and holding dayLines; `frame` is its window.
    void startOnJournal(const QByteArray &dayLines, const QByteArray &settings = {})
    {
        writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro", dayLines, settings);
        ASSERT_TRUE(startApp());
        frame = app->mainFrame();
    }

    // Starts the program in-process with the answers given to `answerer`.
    bool startApp(const QStringList &arguments = {QStringLiteral("zephalonte")})
    {
        app = std::make_unique<CZephalonteApp>();
        return app->startUp(arguments);
    }

    QTemporaryDir workDir;
    QString previousDir;
    QByteArray previousDataHome;
    ModalAnswerer answerer;
    std::unique_ptr<CZephalonteApp> app;
    CMainFrame *frame = nullptr; // set by startOnJournal
};
