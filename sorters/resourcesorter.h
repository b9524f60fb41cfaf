#pragma once

#include <QSortFilterProxyModel>
#include <QStringList>

// The filtered, sorted view of a catalogue: category, tags and name stages, and
// sorting by the column the user clicked. Kind-specific proxies add their stages.
class ResourceSorter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    ResourceSorter(QAbstractItemModel *source, int nameRole, int favoriteRole, int dateRole,
                   int categoriesRole, int tagsRole, QObject *parent = nullptr);
    // With the roles of the generic catalogues.
    explicit ResourceSorter(QAbstractItemModel *source, QObject *parent = nullptr);

    // showAll switches the category stage off; unassignedOnly shows resources without a category.
    void setCategoryFilter(const QString &category, bool showAll, bool unassignedOnly);
    QString categoryFilter() const { return m_categoryFilter; }
    bool showAll() const { return m_showAll; }
    bool unassignedOnly() const { return m_unassignedOnly; }

    // Chosen tags widen the view: a resource passes when it carries any of them.
    void addTagFilter(const QString &tag);
    void removeTagFilter(const QString &tag);
    QStringList tagFilters() const { return m_tagFilters; }

    // Clears every choice but the name expression.
    virtual void resetFilters();

    // Column 1 is the icon column of the list views: it keeps the current order.
    // Invokable: the table views sort by the header the user clicks.
    Q_INVOKABLE void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    static constexpr int keepOrder = -1;

    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

    // Sorts proxy column 0 by role; keepOrder leaves the order as it is.
    void sortByRole(int role, Qt::SortOrder order);

    // Stages shared with the kind-specific proxies. A category list holding one empty
    // text counts as unassigned only where empty pieces survive the database read.
    bool acceptsCategory(const QModelIndex &sourceIndex, int role, bool emptyTextIsUnassigned) const;
    bool acceptsTags(const QModelIndex &sourceIndex, int role) const;
    bool acceptsName(const QModelIndex &sourceIndex, int role) const;
    // Clears the base choices; true when any of them was set.
    bool clearBaseFilters();

private:
    int sortRoleOf(int column) const;

    int m_nameRole;
    int m_favoriteRole;
    int m_dateRole;
    int m_categoriesRole;
    int m_tagsRole;
    QString m_categoryFilter;
    bool m_showAll = true;
    bool m_unassignedOnly = false;
    QStringList m_tagFilters;
};
