#pragma once
#include "data/tdm1.h"
#include <QIdentityProxyModel>
#include <QPointer>
#include <QTableView>

class Session;
class SharedQuery;
class FooterBar;

struct GridColumn {
    QString field;
    int width = 0;   // pixels; 0 keeps the default width
    QString title;   // empty: the field name
};

struct FooterCell {
    // Count: every row; CountFilled: the rows whose field is not null.
    enum Kind { Text, Count, Sum, CountFilled };
    QString field;
    Kind kind = Text;
    QString text; // for Text
};

// Shows a shared query's rows: money in its display form, dates in the short form, every
// title and cell centred, title marks of the client-side sort.
class GridModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QString fieldName(int section) const;
    void setSortMarks(const QList<QPair<QString, Qt::SortOrder>>& keys);

private:
    QList<QPair<QString, Qt::SortOrder>> marks_;
};

// The result grid of every screen: read-only, bound to one shared query, with an optional
// yellow footer row of texts, counts and sums over the whole result.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void bind(Session& session, SharedQuery& query);
    // Shows the query's rows through a model layered over them (rows being edited, for example).
    // The layer keeps the query's columns and the first rows in place; nullptr removes it.
    void setSourceLayer(QAbstractProxyModel* layer);
    SharedQuery* query() const { return query_; }

    // Which fields are shown, in order, with widths; empty shows every column of the result.
    void setColumns(const QList<GridColumn>& columns);
    QList<GridColumn> columns() const; // the columns shown now, in order, with titles and widths
    // Columns share the grid's width instead of keeping their own.
    void setStretch(bool stretch);
    // Title clicks sort the rows (Ctrl adds a further key).
    void setSortable(bool sortable) { sortable_ = sortable; }

    void setFooter(const QList<FooterCell>& cells);
    bool hasFooter() const { return !footer_.isEmpty(); }
    QList<FooterCell> footer() const { return footer_; }
    QString footerText(const QString& field) const;
    void refreshFooter();
    // The one statement counting and summing the footer's figures over the whole result (with the
    // query's values); empty when the footer has none. Kept totals, when the query has them, are
    // read instead (SharedQuery::totalsSql).
    QString footerSql() const;

    // The end-of-data mark: the list is empty, or the cursor stepped past the last row or jumped to it.
    bool eof() const { return eof_; }
    Row currentRecord() const;
    int currentRowIndex() const;
    QString cellText(int row, const QString& field) const;
    int rowCount() const;

    // Finds text in the rows after the current one and makes that row current.
    bool findNext(const QString& text);
    void showFindDialog();

    // Applies a title click as the mouse would: ctrl adds a key; the combined sort waits for Ctrl's release.
    void titleClicked(const QString& field, bool ctrl);
    void applyPendingSort();

signals:
    // A double-click anywhere in the grid, on a row or not.
    void dblClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void applyColumns();
    int leastWidth(const QString& field) const;
    void onReset();
    int columnOf(const QString& field) const;

    Session* session_ = nullptr;
    SharedQuery* query_ = nullptr;
    QPointer<QAbstractProxyModel> layer_;
    GridModel proxy_;
    QList<GridColumn> columns_;
    // The footer's expression per cell ("count(*)", "sum(\"金额\")"), empty for a text cell.
    QStringList footerExpressions() const;
    QList<FooterCell> footer_;
    QHash<QString, QString> footerValues_;
    FooterBar* footerBar_ = nullptr;
    QList<QPair<QString, Qt::SortOrder>> keys_;
    bool sortPending_ = false;
    bool sortable_ = true;
    bool stretch_ = false;
    bool eof_ = true;
    bool keepEof_ = false;

    friend class FooterBar;
};
