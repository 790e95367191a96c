#pragma once
#include "ui/screen.h"
#include <functional>

class CustomerList;
class DataGrid;
class QComboBox;
class QLineEdit;
class QPushButton;
class QueryPanel;
class RecordEditDialog;

struct MaintenanceConfig {
    QString objectName;
    QString caption;
    QString table;
    int query; // the shared query of the record list
    QString listAllText;
    QString gridGroupText;
    QStringList gridColumns;
    // objectNames of the "确定" buttons of number, name, telephone, mobile and address
    QStringList lookupButtons;
    QString findButton;
    QString deleteButton;
    bool pickKeepsNumber;
    std::function<RecordEditDialog&(Session&)> dialog;
};

// Correction and deletion of sale or repair rows: a customer lookup panel, the record list and
// the edit dialog. Only the table's own row changes; account entries and receipts stay.
class RecordMaintenance : public Screen {
    Q_OBJECT
  public:
    RecordMaintenance(Session& session, QWidget* parent, MaintenanceConfig config);
    QRect placement() const override { return QRect(50, 0, 940, 600); }

    void FormShow();
    void BitBtn4Click();    // list every record
    void deleteClick();     // "删除记录"
    void DBGrid1DblClick(); // open the current record in the edit dialog

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6;
    QComboBox* ComboBox1;
    QPushButton *lookupButton[5], *findButton, *BitBtn4, *BitBtn10, *deleteButton, *BitBtn2;
    DataGrid* DBGrid1;
    CustomerList* GroupBox5;
    QueryPanel* panel;

  private:
    void listBy(const QString& column, const QString& value);

    MaintenanceConfig config_;
};

// Sales record maintenance.
class Tdingxiugai : public RecordMaintenance {
    Q_OBJECT
  public:
    explicit Tdingxiugai(Session& session, QWidget* parent = nullptr);
};

// Repair record maintenance.
class Tweixiugai : public RecordMaintenance {
    Q_OBJECT
  public:
    explicit Tweixiugai(Session& session, QWidget* parent = nullptr);
};
