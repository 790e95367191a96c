#pragma once
#include <QDialog>

class Session;

// The about box: the product title and version.
class Tguanyu : public QDialog {
    Q_OBJECT
  public:
    Tguanyu(Session& session, QWidget* parent = nullptr);
};
