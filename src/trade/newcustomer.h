#pragma once
class Session;

// Shows the new-customer dialog modally; the screens find the new customer with a lookup afterwards.
void showNewCustomerDialog(Session& session);
