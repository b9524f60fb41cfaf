#pragma once

#include "sorters/resourcesorter.h"

#include <QSet>

// The alpha catalogue's view: adds the ignored, size and depth stages and sorts sizes as numbers.
class AlphaSorter : public ResourceSorter
{
    Q_OBJECT

public:
    explicit AlphaSorter(QAbstractItemModel *source, QObject *parent = nullptr);

    void addSizeFilter(int size);
    void removeSizeFilter(int size);
    QSet<int> sizeFilters() const { return m_sizeFilters; }
    void addDepthFilter(int depth);
    void removeDepthFilter(int depth);
    QSet<int> depthFilters() const { return m_depthFilters; }
    // Ignored alphas are hidden, unless this is on: then only they show.
    void setIgnoredOnly(bool ignoredOnly);
    bool ignoredOnly() const { return m_ignoredOnly; }

    void resetFilters() override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Whether an image of width × height falls into the size class (128, 256, …, 4096).
    static bool matchesSize(int sizeClass, int width, int height);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    bool acceptsSize(const QModelIndex &sourceIndex) const;

    bool m_ignoredOnly = false;
    QSet<int> m_sizeFilters;
    QSet<int> m_depthFilters;
};
