#include "app/appprinter.h"

#include "app/cpapersetupdlg.h"
#include "journal/graphsettings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QTranslator>

AppPrinter::AppPrinter() = default;
AppPrinter::~AppPrinter() = default;

QPrinter &AppPrinter::printer()
{
    if (!printer_) {
        // Printer resolution, not the screen's: the graph's thin lines and
        // text would otherwise print coarse.
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (orientationSet_)
            printer_->setPageOrientation(orientation_);
    }
    return *printer_;
}

void AppPrinter::applyPaperOri(int paperOri)
{
    if (paperOri != paperPortrait && paperOri != paperLandscape)
        return;
    orientation_ = paperOri == paperPortrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    orientationSet_ = true;
    if (printer_)
        printer_->setPageOrientation(orientation_);
}

std::int16_t AppPrinter::runSetup(QWidget *parent)
{
    QPrinter &target = printer();
    if (target.outputFormat() == QPrinter::NativeFormat) {
        QPageSetupDialog dialog(&target, parent);
        dialog.exec();
    } else {
        CPaperSetupDlg dialog(target.pageLayout(), parent);
        if (dialog.exec() == QDialog::Accepted)
            target.setPageLayout(dialog.pageLayout());
    }
    orientation_ = target.pageLayout().orientation();
    orientationSet_ = true;
    return orientation_ == QPageLayout::Portrait ? paperPortrait : paperLandscape;
}

void installJapaneseUserInterface(QObject *owner)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));

    // Qt's own buttons and dialogs (message boxes, file and page set-up
    // dialogs). qtbase holds all of them; the qt_ja catalogue only forwards
    // to it and to modules the program does not use.
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &name : {QStringLiteral("qtbase_ja"), QStringLiteral("qt_ja")}) {
        auto *translator = new QTranslator(owner);
        if (translator->load(name, directory)) {
            QCoreApplication::installTranslator(translator);
            break;
        }
        delete translator;
    }
}
