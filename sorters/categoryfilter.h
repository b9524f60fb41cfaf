#pragma once

#include <QSortFilterProxyModel>

// The user's categories without the two built-in choices "All" and "Unassigned".
class CategoryFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit CategoryFilter(QAbstractItemModel *source, QObject *parent = nullptr);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
};
