#pragma once
#include "customers/customerdialog.h"

// The edit-customer dialog, kept for the whole run: fill() it from a customer row, then exec().
class Txiugaikehu : public CustomerDialog {
    Q_OBJECT
  public:
    Txiugaikehu(Session& session, QWidget* parent) : CustomerDialog(session, Kind::Edit, parent) {}
    // Writes a customer row into the boxes. A start date that cannot be read is an error and
    // leaves the boxes untouched.
    void fill(const Row& customer) { fillFrom(customer); }
};
