#include "AboutBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace velmora {

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("aboutBox"));
  setWindowTitle(QStringLiteral("Σχετικά"));

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("aboutPicture"));
  picture->setPixmap(QPixmap(QStringLiteral(":/pictures/velmora.png")));
  auto* product = new QLabel(QStringLiteral("Velmora 2009"), this);
  product->setObjectName(QStringLiteral("productLabel"));
  QFont large = product->font();
  large.setPointSizeF(large.pointSizeF() * 1.5);
  large.setBold(true);
  product->setFont(large);
  auto* version = new QLabel(QStringLiteral("Έκδοση 1.0.0.0"), this);
  version->setObjectName(QStringLiteral("versionLabel"));
  auto* purpose = new QLabel(
      QStringLiteral("Ηλεκτρονική Υποβολή Συγκεντρωτικών Καταστάσεων Πελατών - Προμηθευτών "),
      this);
  purpose->setObjectName(QStringLiteral("purposeLabel"));
  purpose->setAlignment(Qt::AlignCenter);
  purpose->setWordWrap(true);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->setVerticalSpacing(10);
  layout->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(product, 0, 1, Qt::AlignBottom);
  layout->addWidget(version, 1, 1, Qt::AlignTop);
  layout->addWidget(purpose, 2, 0, 1, 2);
  layout->addWidget(ok, 3, 0, 1, 2, Qt::AlignCenter);
  layout->setColumnMinimumWidth(1, 200);
  purpose->setMinimumWidth(300);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace velmora
