#pragma once

#include "sorters/resourcesorter.h"

#include <QSet>

// The brush catalogue's view: adds the brush type and maker's category stages.
class BrushSorter : public ResourceSorter
{
    Q_OBJECT

public:
    explicit BrushSorter(QAbstractItemModel *source, QObject *parent = nullptr);

    // Type -1 stands for "brushes without a type".
    void setTypeFilter(int type, bool enable);
    QSet<int> typeFilters() const { return m_typeFilters; }
    bool includeUntyped() const { return m_includeUntyped; }

    void setKivFilter(const QString &category, bool all);
    QString kivFilter() const { return m_kivFilter; }
    bool kivAll() const { return m_kivAll; }

    void resetFilters() override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool acceptsType(const QModelIndex &sourceIndex) const;

    QSet<int> m_typeFilters;
    bool m_includeUntyped = false;
    QString m_kivFilter;
    bool m_kivAll = true;
};
