#pragma once
#include "ui/datagrid.h"
#include <QIdentityProxyModel>
#include <QVector>

// Lays rows being edited over a query's read-only result: the row in editing shows its typed
// values, a new row waits at the end, and rows already saved show their saved values until the
// query is loaded again. Nothing here touches the database.
class EditLayer : public QIdentityProxyModel {
    Q_OBJECT
  public:
    enum class State { Browse, Edit, Insert };
    using Values = QVector<QVariant>;

    explicit EditLayer(QObject* parent = nullptr);
    void setSourceModel(QAbstractItemModel* source) override;

    State state() const { return state_; }
    int editRow() const { return state_ == State::Insert ? storedRows() : row_; }
    // Rows of the query plus the rows saved since it was loaded.
    int storedRows() const { return sourceRows() + int(added_.size()); }
    int column(const QString& field) const;

    Values rowValues(int row) const;
    const Values& buffer() const { return buffer_; }

    void beginEdit(int row);
    void beginInsert();
    // The row in editing was written: keep its values on show and return to browsing.
    void saved(const QVariant& key, int keyColumn);
    void cancel();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override {
        return !parent.isValid() && rowCount() > 0;
    }
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    QModelIndex sibling(int row, int column, const QModelIndex& idx) const override {
        return index(row, column);
    }
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex buddy(const QModelIndex& index) const override { return index; }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    void stateChanged();

  private:
    int sourceRows() const { return sourceModel() ? sourceModel()->rowCount() : 0; }
    void emitRowChanged(int row);

    State state_ = State::Browse;
    int row_ = -1;
    Values buffer_;
    QHash<int, Values> changed_; // rows of the query saved with new values
    QVector<Values> added_;      // rows inserted since the query was loaded
};

// A DataGrid whose cells can be typed into; opening a cell editor puts the row into editing.
class EditableGrid : public DataGrid {
    Q_OBJECT
  public:
    explicit EditableGrid(QWidget* parent = nullptr);
    void setLayer(EditLayer* layer);
    // Hands the text of an open cell editor to the row and closes the editor.
    void commitEditors();
    // Closes an open cell editor and drops what was typed into it.
    void discardEditors();
    using DataGrid::edit;

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

  private:
    void closeEditors(bool commit);
    EditLayer* layer_ = nullptr;
};
