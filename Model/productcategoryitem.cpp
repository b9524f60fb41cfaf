#include "Model/productcategoryitem.h"

#include <QSet>

ProductCategoryItem::ProductCategoryItem(QObject *parent)
    : QStandardItemModel(parent)
{
    setItemRoleNames(roleNames());
}

ProductCategoryItem::~ProductCategoryItem()
{
    qDeleteAll(m_detached);
}

void ProductCategoryItem::addCategory(int id, int parentId, const QString &name, const QString &parentName,
                                      const QString &description, bool topLevel)
{
    auto *item = new QStandardItem(name);
    item->setData(description, DescriptionRole);
    item->setData(id, IdRole);
    item->setData(parentId, ParentIdRole);
    item->setData(name, NameRole);
    item->setEditable(false);
    itemsById.insert(id, item);

    if (topLevel) {
        if (topLevelItem(name))
            m_detached.append(item);
        else
            appendRow(item);
        return;
    }
    const QList<QStandardItem *> found = findItems(parentName, Qt::MatchExactly | Qt::MatchRecursive);
    QStandardItem *parentItem = found.isEmpty() ? nullptr : found.first();
    if (!parentItem) {
        parentItem = new QStandardItem(parentName);
        parentItem->setEditable(false);
        appendRow(parentItem);
    }
    parentItem->appendRow(item);
}

void ProductCategoryItem::clearCategories()
{
    clear();
    setItemRoleNames(roleNames());
    itemsById.clear();
    qDeleteAll(m_detached);
    m_detached.clear();
}

int ProductCategoryItem::idForName(const QString &name) const
{
    for (const QStandardItem *item : itemsById) {
        if (item->text().compare(name, Qt::CaseInsensitive) == 0)
            return item->data(IdRole).toInt();
    }
    return 0;
}

QStringList ProductCategoryItem::categoryPath(int id) const
{
    QStringList path;
    const QStandardItem *item = itemsById.value(id);
    // The store's parent ids are not trusted to form a tree.
    QSet<int> seen;
    while (item) {
        path.prepend(item->text());
        seen.insert(id);
        id = item->data(ParentIdRole).toInt();
        if (id == 0 || seen.contains(id))
            break;
        item = itemsById.value(id);
    }
    return path;
}

QHash<int, QByteArray> ProductCategoryItem::roleNames() const
{
    return {{NameRole, "name_role"},
            {DescriptionRole, "description_role"},
            {IdRole, "id_role"},
            {ParentIdRole, "parentId_role"}};
}

QStandardItem *ProductCategoryItem::topLevelItem(const QString &name) const
{
    for (int row = 0; row < rowCount(); ++row) {
        QStandardItem *candidate = item(row);
        if (candidate && candidate->text() == name)
            return candidate;
    }
    return nullptr;
}
