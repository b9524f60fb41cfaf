#include "categoryfilter.h"

CategoryFilter::CategoryFilter(QAbstractItemModel *source, QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSourceModel(source);
}

bool CategoryFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QString text = sourceModel()->index(sourceRow, 0, sourceParent).data(Qt::DisplayRole).toString();
    return text != QLatin1String("All") && text != QLatin1String("Unassigned");
}
