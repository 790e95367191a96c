#pragma once
#include "customers/referencelist.h"

// The repair items that repair entry offers, edited in place.
class Txiangmu : public ReferenceList {
    Q_OBJECT
  public:
    explicit Txiangmu(Session& session, QWidget* parent = nullptr);
};
