#pragma once
#include <QVariant>

class DataGrid;
class Screen;

// The statement a customer takes home: his unpaid entries with their dates, serials and amounts,
// the total owed, the shop name and today's date; printed through the preview or saved to a file.
namespace Statement {

// The hidden grid of the customer's unpaid entries (made anew each time); nothing is shown and
// "没有可以打印对账单的客户！" answers when number is null.
DataGrid* grid(Screen& screen, const QVariant& number);
void print(Screen& screen, const QVariant& number);
void exportFile(Screen& screen, const QVariant& number);

} // namespace Statement
