#include "alphasorter.h"

#include "Model/resourceroles.h"

using ResourceRoles::AlphaRole;

AlphaSorter::AlphaSorter(QAbstractItemModel *source, QObject *parent)
    : ResourceSorter(source, AlphaRole::Name, AlphaRole::Favorite, AlphaRole::LastModified,
                     AlphaRole::Categories, AlphaRole::Tags, parent)
{
}

void AlphaSorter::addSizeFilter(int size)
{
    if (m_sizeFilters.contains(size))
        return;
    m_sizeFilters.insert(size);
    invalidateFilter();
}

void AlphaSorter::removeSizeFilter(int size)
{
    if (m_sizeFilters.remove(size))
        invalidateFilter();
}

void AlphaSorter::addDepthFilter(int depth)
{
    if (m_depthFilters.contains(depth))
        return;
    m_depthFilters.insert(depth);
    invalidateFilter();
}

void AlphaSorter::removeDepthFilter(int depth)
{
    if (m_depthFilters.remove(depth))
        invalidateFilter();
}

void AlphaSorter::setIgnoredOnly(bool ignoredOnly)
{
    if (m_ignoredOnly == ignoredOnly)
        return;
    m_ignoredOnly = ignoredOnly;
    invalidateFilter();
}

void AlphaSorter::resetFilters()
{
    bool wasSet = clearBaseFilters();
    wasSet = wasSet || m_ignoredOnly || !m_sizeFilters.isEmpty() || !m_depthFilters.isEmpty();
    m_ignoredOnly = false;
    m_sizeFilters.clear();
    m_depthFilters.clear();
    if (wasSet)
        invalidateFilter();
}

void AlphaSorter::sort(int column, Qt::SortOrder order)
{
    int role = AlphaRole::Name;
    switch (column) {
    case 0:
        role = AlphaRole::Favorite;
        break;
    case 1:
        role = keepOrder;
        break;
    case 3:
        role = AlphaRole::Width;
        break;
    case 4:
        role = AlphaRole::Height;
        break;
    case 5:
        role = AlphaRole::Depth;
        break;
    case 6:
        role = AlphaRole::LastModified;
        break;
    default:
        break;
    }
    sortByRole(role, order);
}

bool AlphaSorter::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QVariant leftValue = left.data(sortRole());
    if (leftValue.userType() == QMetaType::Int)
        return leftValue.toInt() < right.data(sortRole()).toInt();
    return ResourceSorter::lessThan(left, right);
}

bool AlphaSorter::matchesSize(int sizeClass, int width, int height)
{
    const auto fits = [sizeClass](int side) {
        if (sizeClass == 128)
            return side >= 1 && side <= 128;
        if (sizeClass == 4096)
            return side >= 4096;
        return side > sizeClass / 2 && side <= sizeClass;
    };
    return fits(width) || fits(height);
}

bool AlphaSorter::acceptsSize(const QModelIndex &sourceIndex) const
{
    if (m_sizeFilters.isEmpty())
        return true;
    const int width = sourceIndex.data(AlphaRole::Width).toInt();
    const int height = sourceIndex.data(AlphaRole::Height).toInt();
    for (int sizeClass : m_sizeFilters) {
        if (matchesSize(sizeClass, width, height))
            return true;
    }
    return false;
}

bool AlphaSorter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    return index.data(AlphaRole::Ignore).toBool() == m_ignoredOnly
        && acceptsCategory(index, AlphaRole::Categories, true) && acceptsSize(index)
        && (m_depthFilters.isEmpty() || m_depthFilters.contains(index.data(AlphaRole::Depth).toInt()))
        && acceptsTags(index, AlphaRole::Tags) && acceptsName(index, AlphaRole::Name);
}
