#pragma once
#include "customers/referencelist.h"

// Townships and the villages of each, edited in place.
class Txiangzhen : public ReferenceList {
    Q_OBJECT
  public:
    explicit Txiangzhen(Session& session, QWidget* parent = nullptr);
};
