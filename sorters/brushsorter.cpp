#include "brushsorter.h"

#include "Model/resourceroles.h"

using ResourceRoles::BrushRole;

BrushSorter::BrushSorter(QAbstractItemModel *source, QObject *parent)
    : ResourceSorter(source, BrushRole::Name, BrushRole::Favorite, BrushRole::LastModified,
                     BrushRole::Categories, BrushRole::Tags, parent)
{
}

void BrushSorter::setTypeFilter(int type, bool enable)
{
    if (type == -1) {
        if (m_includeUntyped == enable)
            return;
        m_includeUntyped = enable;
    } else if (enable) {
        if (m_typeFilters.contains(type))
            return;
        m_typeFilters.insert(type);
    } else {
        if (!m_typeFilters.remove(type))
            return;
    }
    invalidateFilter();
}

void BrushSorter::setKivFilter(const QString &category, bool all)
{
    if (m_kivFilter == category && m_kivAll == all)
        return;
    m_kivFilter = category;
    m_kivAll = all;
    invalidateFilter();
}

void BrushSorter::resetFilters()
{
    bool wasSet = clearBaseFilters();
    wasSet = wasSet || !m_typeFilters.isEmpty() || m_includeUntyped || !m_kivFilter.isEmpty() || !m_kivAll;
    m_typeFilters.clear();
    m_includeUntyped = false;
    m_kivFilter.clear();
    m_kivAll = true;
    if (wasSet)
        invalidateFilter();
}

void BrushSorter::sort(int column, Qt::SortOrder order)
{
    int role = BrushRole::Name;
    switch (column) {
    case 0:
        role = BrushRole::Favorite;
        break;
    case 1:
        role = keepOrder;
        break;
    case 3:
        role = BrushRole::BrushTypeName;
        break;
    case 4:
        role = BrushRole::KivCategory;
        break;
    case 5:
        role = BrushRole::LastModified;
        break;
    default:
        break;
    }
    sortByRole(role, order);
}

bool BrushSorter::acceptsType(const QModelIndex &sourceIndex) const
{
    if (!m_includeUntyped && m_typeFilters.isEmpty())
        return true;
    const int type = sourceIndex.data(BrushRole::BrushType).toInt();
    return (m_includeUntyped && type == 0) || m_typeFilters.contains(type);
}

bool BrushSorter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    // Brush categories lose empty pieces when read, so only a really empty list is unassigned.
    return acceptsType(index) && acceptsCategory(index, BrushRole::Categories, false)
        && (m_kivAll || index.data(BrushRole::KivCategory).toString() == m_kivFilter)
        && acceptsTags(index, BrushRole::Tags) && acceptsName(index, BrushRole::Name);
}
