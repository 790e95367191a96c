#pragma once
#include "data/money.h"
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

class QCheckBox;
class QWidget;
class Screen;
class Session;

// A receipt handed to the customer after a sale, a repair or a collection of arrears.
struct Receipt {
    struct Item {
        QString text;   // the model, the repair items, or what was collected
        QString serial; // the unit's serial
        QDate date;     // the day of a collected entry; null for a sale or repair
        Money amount;
        QString customer; // a collected entry of another customer than the receipt's: number and name
    };
    QString title; // 销售小票, 维修小票, 收款小票
    QString shopName;
    QDateTime at;
    QString operatorNumber;
    QString customerNumber;
    QString customerName;
    QList<Item> items;
    bool paid = true; // paid now; a sale may be left owing
    QString footer;

    Money total() const;
    bool hasDates() const;
};
Q_DECLARE_METATYPE(Receipt)

// Receipts go to an ESC/POS thermal printer (58 or 80 mm), or, where none is set up, into the print
// preview. The settings file names the printer: the port of 程序参数/打印端口 (lpt1 to lpt4) is
// looked up in section 小票打印机, whose value is a device (/dev/usb/lp0), a print queue taking raw
// data (printed with lp), or host:port of a network printer (host:9100); 纸宽 there is 58 or 80.
namespace Receipts {

// The tick box "打印小票" of a screen, ticked as it was last left on that screen.
QCheckBox* tickBox(Screen& screen);

// The receipt's head filled from the session and the settings file: shop, time, operator, footer.
Receipt begin(Session& session, const QString& title);

// Prints the receipt and keeps it for 重印小票. A print that fails says why and offers to print
// again; the save before it stays as it is.
void print(Screen& screen, const Receipt& receipt);
// 重印小票: the receipt printed last in this run, again.
void reprint(Session& session, QWidget* parent);

// The bytes for the printer: Chinese in GBK in the printers' Chinese mode, a cut at the end.
QByteArray escPos(const Receipt& receipt, int paperMm);
// Sends bytes to a device, queue or host:port; empty when sent, otherwise why not.
QString send(const QString& device, const QByteArray& bytes);

} // namespace Receipts
