#include "trade/newcustomer.h"
#include "customers/txinzengkehu.h"
#include "ui/session.h"

void showNewCustomerDialog(Session& session) { session.dialog<Txinzengkehu>().exec(); }
