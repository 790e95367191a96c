#include "trade/newcustomer.h"
#include "ui/session.h"

void showNewCustomerDialog(Session& session) {
    (void)session;
}
