#pragma once

#include <QCollator>
#include <QSortFilterProxyModel>

// The filtered, name-sorted view behind every product list of the store:
// membership offers, featured products, owned or installed ones, a category and
// a name expression. The name filter is switched by the store service itself
// through the proxy's filter expression and setNameFilterEnabled.
class ProductSorter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ProductSorter(QAbstractItemModel *source, QObject *parent = nullptr);

    void setCategoryFilter(bool enabled, int categoryId);
    void setShowInstalled(bool show);
    void setShowNotInstalled(bool show);
    void setOwnedOnly(bool ownedOnly);
    void setFeaturedOnly(bool featuredOnly);
    void setMembershipOnly(bool membershipOnly);
    void setNameFilterEnabled(bool enabled);
    // Every field back to its default, except membershipOnly.
    void resetFilters();

    bool nameFilterEnabled() const { return m_nameFilterEnabled; }
    bool featuredOnly() const { return m_featuredOnly; }
    bool categoryFilterEnabled() const { return m_categoryFilterEnabled; }
    bool ownedOnly() const { return m_ownedOnly; }
    bool showInstalled() const { return m_showInstalled; }
    bool showNotInstalled() const { return m_showNotInstalled; }
    bool membershipOnly() const { return m_membershipOnly; }
    int categoryId() const { return m_categoryId; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    // Sets field to value and re-filters when it changed.
    template<typename T>
    void update(T &field, T value);

    // Names in the order of the interface's language, accents and all.
    QCollator m_collator;
    bool m_nameFilterEnabled = false;
    bool m_featuredOnly = false;
    bool m_categoryFilterEnabled = false;
    bool m_ownedOnly = true;
    bool m_showInstalled = true;
    bool m_showNotInstalled = true;
    bool m_membershipOnly = false;
    int m_categoryId = 0;
};
