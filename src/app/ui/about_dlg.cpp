#include "app/ui/about_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/app_settings.h"
#include "document/ui/ui_fonts.h"

namespace lyr::app {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kAboutTitle));
    setFont(ui::japaneseUiFont());

    QIcon programIcon = QApplication::windowIcon();
    if (programIcon.isNull()) programIcon = style()->standardIcon(QStyle::SP_ComputerIcon);
    icon_ = new QLabel(this);
    icon_->setPixmap(programIcon.pixmap(32, 32));
    icon_->setAccessibleName(QStringLiteral("LYR"));

    version_ = new QLabel(QString::fromUtf8(kAboutVersionPrefix) + QString::fromUtf8(kVersionText), this);
    version_->setAccessibleName(version_->text());
    product_ = new QLabel(QString::fromUtf8(kAboutProductLine), this);
    product_->setAccessibleName(product_->text());

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version_);
    texts->addWidget(product_);
    auto* row = new QHBoxLayout;
    row->addWidget(icon_, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addLayout(texts, 1);
    row->addSpacing(12);
    row->addWidget(ok_, 0, Qt::AlignTop);
    setLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace lyr::app
