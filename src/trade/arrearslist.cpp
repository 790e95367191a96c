#include "trade/arrearslist.h"
#include "data/dates.h"
#include "data/money.h"
#include "data/tdm1.h"
#include <QSqlError>
#include <QSqlQuery>

ArrearsList::ArrearsList(const QStringList& titles, QObject* parent)
    : QIdentityProxyModel(parent), titles_(titles) {
    QStringList fields;
    for (const QString& t : titles)
        fields << (t == QStringLiteral("ID") ? QStringLiteral("id") : TDM1::quoteId(t));
    select_ = QStringLiteral("select %1 from 帐款明细").arg(fields.join(u','));
    setSourceModel(&rows_);
}

void ArrearsList::list(TDM1& dm, const QString& condition, const QVariantList& params, const QString& order) {
    run(dm, condition, params, order);
}

void ArrearsList::empty(TDM1& dm) {
    run(dm, QStringLiteral("1=0"), {}, QStringLiteral("id"));
}

void ArrearsList::run(TDM1& dm, const QString& condition, const QVariantList& params, const QString& order) {
    ticked_.clear();
    rows_.clear();
    condition_ = QStringLiteral("1=0");
    params_.clear();
    order_ = QStringLiteral("id");
    // The listing holds the entries there are now: one saved afterwards (by another screen, or
    // another copy of the program on the same file) stays out of its later rows and of "全选",
    // since the customer never saw it. Record keys only grow, so the highest one marks the moment.
    const qlonglong newest = dm.ADOall.first(QStringLiteral("select coalesce(max(id),0) as m from 帐款明细"))
                                 .integer(QStringLiteral("m"));
    const QString bounded = QStringLiteral("(%1) and id<=?").arg(condition);
    const QVariantList boundedParams = params + QVariantList{newest};
    QSqlQuery q(dm.db());
    if (!q.prepare(QStringLiteral("%1 where %2 order by %3").arg(select_, bounded, order)))
        TDM1::fail(q.lastError().databaseText());
    for (const QVariant& p : boundedParams)
        q.addBindValue(p);
    if (!q.exec())
        TDM1::fail(q.lastError().databaseText());
    // The model reads the first rows now and the others as the list is scrolled to them.
    rows_.setQuery(std::move(q));
    if (rows_.lastError().isValid()) {
        const QString text = rows_.lastError().databaseText();
        rows_.clear();
        TDM1::fail(text);
    }
    condition_ = bounded;
    params_ = boundedParams;
    order_ = order;
}

qlonglong ArrearsList::id(int row) const {
    return rows_.data(rows_.index(row, 0)).toLongLong();
}

bool ArrearsList::isTicked(int row) const {
    return ticked_.contains(id(row));
}

QString ArrearsList::tickedArray() const {
    QStringList ids;
    ids.reserve(ticked_.size());
    for (qlonglong i : ticked_)
        ids << QString::number(i);
    return u'[' + ids.join(u',') + u']';
}

void ArrearsList::tickAll(TDM1& dm) {
    QSqlQuery q(dm.db());
    q.setForwardOnly(true);
    if (!q.prepare(QStringLiteral("select id from 帐款明细 where %1").arg(condition_)))
        TDM1::fail(q.lastError().databaseText());
    for (const QVariant& p : params_)
        q.addBindValue(p);
    if (!q.exec())
        TDM1::fail(q.lastError().databaseText());
    while (q.next())
        ticked_.insert(q.value(0).toLongLong());
    ticksChanged();
}

void ArrearsList::clearTicks() {
    ticked_.clear();
    ticksChanged();
}

void ArrearsList::ticksChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

QVariant ArrearsList::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::CheckStateRole)
        return index.column() == 0 ? QVariant(isTicked(index.row()) ? Qt::Checked : Qt::Unchecked)
                                   : QVariant();
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 ? QVariant() : QVariant(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const QVariant v = QIdentityProxyModel::data(index, Qt::DisplayRole);
    if (v.isNull())
        return QString();
    const QString& column = titles_.value(index.column());
    if (TDM1::isMoneyColumn(column))
        return Money::fromVariant(v).toString();
    if (TDM1::isDateColumn(column)) {
        const QDate d = Dates::fromSql(v.toString());
        return d.isValid() ? Dates::shortDate(d) : v.toString();
    }
    return v.toString();
}

bool ArrearsList::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole)
        return false;
    const qlonglong key = id(index.row());
    if (value.toInt() == Qt::Checked)
        ticked_.insert(key);
    else
        ticked_.remove(key);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ArrearsList::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ArrearsList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return titles_.value(section);
    return QIdentityProxyModel::headerData(section, orientation, role);
}
