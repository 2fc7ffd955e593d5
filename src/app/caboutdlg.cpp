#include "app/caboutdlg.h"

#include "app/appicons.h"
#include "app/frametexts.h"
#include "qttext/uitext.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace {
constexpr int iconSize = 32;
}

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(frametext::aboutTitle));

    auto *icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);

    auto *build = new QLabel(buildLine(), this);
    build->setObjectName(QStringLiteral("buildLine"));
    auto *note = new QLabel(ui(frametext::aboutNote), this);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(build, 0, 1);
    layout->addWidget(note, 1, 1);
    layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    layout->setColumnStretch(1, 1);
    layout->setHorizontalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CAboutDlg::buildLine()
{
    return QString::asprintf(frametext::aboutBuildFormat, buildNumber);
}
