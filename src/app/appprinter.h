#pragma once

#include <QPageLayout>

#include <cstdint>
#include <memory>

class QPrinter;
class QWidget;

// The application's default printer settings: the printer every pane prints
// on, and the paper orientation the journal keeps as paperOri (1 portrait,
// 2 landscape).
class AppPrinter {
  public:
    AppPrinter();
    ~AppPrinter();

    // Made on first use: looking up the system's printers costs start-up
    // time the window does not need.
    QPrinter &printer();

    // The journal's orientation becomes the printer's; any other value than
    // 1 or 2 leaves the printer as it is.
    void applyPaperOri(int paperOri);

    // Runs the printer set-up dialog and returns the orientation it leaves,
    // as paperOri, whether the dialog was confirmed or cancelled.
    std::int16_t runSetup(QWidget *parent);

  private:
    std::unique_ptr<QPrinter> printer_;
    QPageLayout::Orientation orientation_ = QPageLayout::Landscape;
    bool orientationSet_ = false;
};

// Qt's own dialogs in Japanese and the locale. The translators stay
// installed while `owner` lives.
void installJapaneseUserInterface(QObject *owner);
