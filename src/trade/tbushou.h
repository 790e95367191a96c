#pragma once
#include "data/money.h"
#include "ui/screen.h"

class CustomerList;
class QComboBox;
class QLineEdit;
class QCheckBox;
class QPushButton;
class ArrearsList;
class QTableView;
class QueryPanel;

// Arrears collection: lists unpaid account entries, and collects the ticked ones, each marked paid
// with a receipt dated today, in one transaction.
class Tbushou : public Screen {
    Q_OBJECT
  public:
    explicit Tbushou(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(0, 0, 1019, 605); }

    void FormShow();
    void BitBtn2Click(); // every arrear, ordered by name
    void BitBtn3Click(); // collect the ticked entries
    void BitBtn5Click(); // tick all
    void BitBtn6Click(); // untick all
    void BitBtn7Click(); // total of the ticked entries

    // The columns of the arrears list, in order.
    static const QStringList& listColumns();
    // The exact total of the ticked entries, summed in the database over their ids.
    Money tickedTotal();

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;
    QComboBox* ComboBox1;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5, *BitBtn6, *BitBtn7, *BitBtn9, *BitBtn10,
        *BitBtn11, *BitBtn12, *BitBtn13;
    QTableView* ListView1;
    ArrearsList* list; // the model of ListView1
    QCheckBox* CheckBox1;  // 打印小票
    QPushButton* BitBtn14; // 打印对账单
    QPushButton* BitBtn15; // 导出对账单
    CustomerList* GroupBox3;
    QueryPanel* panel;

  private:
    void listBy(const QString& column, const QString& value);
    void showArrears(const QString& condition, const QVariantList& params, const QString& order);
    void showNothing();
    void setAllTicks(bool ticked);
    // The customer of the statement: the one of the current row of the list, else of its first.
    QVariant statementCustomer() const;
};
