#pragma once
#include <QIdentityProxyModel>
#include <QSet>
#include <QSqlQueryModel>
#include <QStringList>
#include <QVariantList>

class TDM1;

// The rows of the arrears list, read from the database as the list is scrolled to them, with a tick
// box in the first column. The ticks are the entries' ids, so "tick all" holds for rows not read yet.
class ArrearsList : public QIdentityProxyModel {
    Q_OBJECT
  public:
    // The columns shown, in order, as they are titled.
    explicit ArrearsList(const QStringList& titles, QObject* parent = nullptr);

    // Lists the entries of 帐款明细 meeting condition (a WHERE clause with ? for params) in the
    // given order; every tick is cleared.
    void list(TDM1& dm, const QString& condition, const QVariantList& params, const QString& order);
    // No rows, no ticks; the columns stay.
    void empty(TDM1& dm);

    qlonglong id(int row) const;
    bool isTicked(int row) const;
    const QSet<qlonglong>& ticked() const { return ticked_; }
    // The ticked ids as one JSON array, bound as a single value: "id in (select value from json_each(?))".
    QString tickedArray() const;
    // Ticks every entry of the listing, fetched or not, or clears every tick.
    void tickAll(TDM1& dm);
    void clearTicks();
    // The ORDER BY of the current listing.
    QString order() const { return order_; }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  private:
    void run(TDM1& dm, const QString& condition, const QVariantList& params, const QString& order);
    void ticksChanged();

    QStringList titles_;
    QString select_;
    QString condition_;
    QVariantList params_;
    QString order_;
    QSqlQueryModel rows_;
    QSet<qlonglong> ticked_;
};
