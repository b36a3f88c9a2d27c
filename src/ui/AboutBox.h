#pragma once

#include <QDialog>

namespace velmora {

// "Σχετικά": the program's picture, name, version and purpose.
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace velmora
