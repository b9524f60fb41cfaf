#include "sorters/productsorter.h"

#include "Model/storeitemrole.h"

#include <QSet>

ProductSorter::ProductSorter(QAbstractItemModel *source, QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSourceModel(source);
}

template<typename T>
void ProductSorter::update(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    invalidateFilter();
}

void ProductSorter::setCategoryFilter(bool enabled, int categoryId)
{
    if (m_categoryFilterEnabled == enabled && m_categoryId == categoryId)
        return;
    m_categoryFilterEnabled = enabled;
    m_categoryId = categoryId;
    invalidateFilter();
}

void ProductSorter::setShowInstalled(bool show)
{
    update(m_showInstalled, show);
}

void ProductSorter::setShowNotInstalled(bool show)
{
    update(m_showNotInstalled, show);
}

void ProductSorter::setOwnedOnly(bool ownedOnly)
{
    update(m_ownedOnly, ownedOnly);
}

void ProductSorter::setFeaturedOnly(bool featuredOnly)
{
    update(m_featuredOnly, featuredOnly);
}

void ProductSorter::setMembershipOnly(bool membershipOnly)
{
    update(m_membershipOnly, membershipOnly);
}

void ProductSorter::setNameFilterEnabled(bool enabled)
{
    update(m_nameFilterEnabled, enabled);
}

void ProductSorter::resetFilters()
{
    const bool changed = m_nameFilterEnabled || m_featuredOnly || m_categoryFilterEnabled || !m_ownedOnly
        || !m_showInstalled || !m_showNotInstalled || m_categoryId != 0;
    m_nameFilterEnabled = false;
    m_featuredOnly = false;
    m_categoryFilterEnabled = false;
    m_ownedOnly = true;
    m_showInstalled = true;
    m_showNotInstalled = true;
    m_categoryId = 0;
    if (changed)
        invalidateFilter();
}

bool ProductSorter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    // Membership offers show only in the lists that ask for them.
    if (index.data(StoreMembershipRole).toBool() != m_membershipOnly)
        return false;
    if (m_featuredOnly && !index.data(StoreFeaturedRole).toBool())
        return false;

    bool ok = true;
    if (m_ownedOnly)
        ok = index.data(StoreOwnedRole).toBool();
    if (ok) {
        const bool installed = index.data(StoreInstalledRole).toBool();
        if (m_showInstalled && !m_showNotInstalled)
            ok = installed;
        if (ok && m_showNotInstalled && !m_showInstalled)
            ok = !installed;
    }
    if (!m_showInstalled && !m_showNotInstalled)
        return false;
    if (!ok)
        return false;

    if (m_nameFilterEnabled
        && !index.data(StoreNameRole).toString().contains(filterRegularExpression()))
        return false;
    if (m_categoryFilterEnabled && m_categoryId != 0
        && !index.data(StoreCategoryIdRole).value<QSet<int>>().contains(m_categoryId))
        return false;
    return true;
}

bool ProductSorter::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    return m_collator.compare(left.data(StoreNameRole).toString(), right.data(StoreNameRole).toString()) < 0;
}
