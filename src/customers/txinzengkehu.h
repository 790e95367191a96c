#pragma once
#include "customers/customerdialog.h"

// The new-customer dialog, kept for the whole run: session.dialog<Txinzengkehu>().exec().
class Txinzengkehu : public CustomerDialog {
    Q_OBJECT
  public:
    Txinzengkehu(Session& session, QWidget* parent) : CustomerDialog(session, Kind::New, parent) {}
};
