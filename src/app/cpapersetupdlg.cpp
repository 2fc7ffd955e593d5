#include "app/cpapersetupdlg.h"

#include "app/frametexts.h"
#include "qttext/uitext.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QPageSize::PageSizeId offeredSizes[] = {QPageSize::A4, QPageSize::A3,     QPageSize::B5,
                                              QPageSize::A5, QPageSize::Letter, QPageSize::Legal};

} // namespace

CPaperSetupDlg::CPaperSetupDlg(const QPageLayout &layout, QWidget *parent)
    : QDialog(parent), layout_(layout)
{
    setWindowTitle(ui(frametext::paperSetupTitle));

    size_ = new QComboBox(this);
    size_->setObjectName(QStringLiteral("paperSize"));
    for (QPageSize::PageSizeId id : offeredSizes)
        size_->addItem(QPageSize::name(id), static_cast<int>(id));
    const int current = size_->findData(static_cast<int>(layout.pageSize().id()));
    if (current < 0)
        size_->insertItem(0, layout.pageSize().name(), static_cast<int>(layout.pageSize().id()));
    size_->setCurrentIndex(std::max(current, 0));

    auto *orientation = new QGroupBox(ui(frametext::paperOrientation), this);
    portrait_ = new QRadioButton(ui(frametext::paperPortrait), orientation);
    portrait_->setObjectName(QStringLiteral("portrait"));
    landscape_ = new QRadioButton(ui(frametext::paperLandscape), orientation);
    landscape_->setObjectName(QStringLiteral("landscape"));
    (layout.orientation() == QPageLayout::Portrait ? portrait_ : landscape_)->setChecked(true);
    auto *orientationLayout = new QVBoxLayout(orientation);
    orientationLayout->addWidget(portrait_);
    orientationLayout->addWidget(landscape_);

    auto *form = new QFormLayout;
    form->addRow(ui(frametext::paperSize), size_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addWidget(orientation);
    main->addWidget(buttons);
}

QPageLayout CPaperSetupDlg::pageLayout() const
{
    QPageLayout result = layout_;
    result.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(size_->currentData().toInt())));
    result.setOrientation(portrait_->isChecked() ? QPageLayout::Portrait : QPageLayout::Landscape);
    return result;
}
