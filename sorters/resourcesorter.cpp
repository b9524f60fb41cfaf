#include "resourcesorter.h"

#include "Model/resourceroles.h"

#include <QDateTime>

using ResourceRoles::GenericRole;

ResourceSorter::ResourceSorter(QAbstractItemModel *source, int nameRole, int favoriteRole, int dateRole,
                               int categoriesRole, int tagsRole, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_nameRole(nameRole)
    , m_favoriteRole(favoriteRole)
    , m_dateRole(dateRole)
    , m_categoriesRole(categoriesRole)
    , m_tagsRole(tagsRole)
{
    setSourceModel(source);
}

ResourceSorter::ResourceSorter(QAbstractItemModel *source, QObject *parent)
    : ResourceSorter(source, GenericRole::Name, GenericRole::Favorite, GenericRole::LastModified,
                     GenericRole::Categories, GenericRole::Tags, parent)
{
}

void ResourceSorter::setCategoryFilter(const QString &category, bool showAll, bool unassignedOnly)
{
    if (m_categoryFilter == category && m_showAll == showAll && m_unassignedOnly == unassignedOnly)
        return;
    m_categoryFilter = category;
    m_showAll = showAll;
    m_unassignedOnly = unassignedOnly;
    invalidateFilter();
}

void ResourceSorter::addTagFilter(const QString &tag)
{
    if (m_tagFilters.contains(tag))
        return;
    m_tagFilters.append(tag);
    invalidateFilter();
}

void ResourceSorter::removeTagFilter(const QString &tag)
{
    if (m_tagFilters.removeOne(tag))
        invalidateFilter();
}

bool ResourceSorter::clearBaseFilters()
{
    const bool wasSet = !m_categoryFilter.isEmpty() || !m_showAll || m_unassignedOnly || !m_tagFilters.isEmpty();
    m_categoryFilter.clear();
    m_showAll = true;
    m_unassignedOnly = false;
    m_tagFilters.clear();
    return wasSet;
}

void ResourceSorter::resetFilters()
{
    if (clearBaseFilters())
        invalidateFilter();
}

int ResourceSorter::sortRoleOf(int column) const
{
    switch (column) {
    case 0:
        return m_favoriteRole;
    case 1:
        return keepOrder;
    case 3:
        return m_dateRole;
    default:
        return m_nameRole;
    }
}

void ResourceSorter::sortByRole(int role, Qt::SortOrder order)
{
    if (role == keepOrder)
        return;
    setSortRole(role);
    QSortFilterProxyModel::sort(0, order);
}

void ResourceSorter::sort(int column, Qt::SortOrder order)
{
    sortByRole(sortRoleOf(column), order);
}

bool ResourceSorter::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QVariant leftValue = left.data(sortRole());
    const QVariant rightValue = right.data(sortRole());
    if (leftValue.userType() == QMetaType::QDateTime)
        return leftValue.toDateTime() < rightValue.toDateTime();
    // Booleans read "false" < "true", so favourites come last in ascending order.
    return QString::localeAwareCompare(leftValue.toString(), rightValue.toString()) < 0;
}

bool ResourceSorter::acceptsCategory(const QModelIndex &sourceIndex, int role, bool emptyTextIsUnassigned) const
{
    if (m_showAll)
        return true;
    const QStringList categories = sourceIndex.data(role).toStringList();
    if (m_unassignedOnly) {
        if (categories.isEmpty())
            return true;
        return emptyTextIsUnassigned && categories.size() == 1 && categories.first().isEmpty();
    }
    return categories.contains(m_categoryFilter);
}

bool ResourceSorter::acceptsTags(const QModelIndex &sourceIndex, int role) const
{
    if (m_tagFilters.isEmpty())
        return true;
    const QStringList tags = sourceIndex.data(role).toStringList();
    for (const QString &tag : tags) {
        if (m_tagFilters.contains(tag))
            return true;
    }
    return false;
}

bool ResourceSorter::acceptsName(const QModelIndex &sourceIndex, int role) const
{
    // No name filter: every row passes without a match per row (scans insert thousands).
    if (filterRegularExpression().pattern().isEmpty())
        return true;
    return filterRegularExpression().match(sourceIndex.data(role).toString()).hasMatch();
}

bool ResourceSorter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    return acceptsCategory(index, m_categoriesRole, true) && acceptsTags(index, m_tagsRole)
        && acceptsName(index, m_nameRole);
}
