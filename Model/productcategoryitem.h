#pragma once

#include <QList>
#include <QMap>
#include <QStandardItemModel>
#include <QStringList>

// The store's category tree. Each category is an item whose text is its name;
// an item also answers its description, store id and parent id.
class ProductCategoryItem : public QStandardItemModel
{
    Q_OBJECT

public:
    enum Role : int {
        NameRole = Qt::DisplayRole,
        DescriptionRole = 5,
        IdRole = Qt::UserRole + 1,
        ParentIdRole,
    };

    explicit ProductCategoryItem(QObject *parent = nullptr);
    ~ProductCategoryItem() override;

    // A second top-level category of a name already shown stays out of the tree
    // but is still found by id. A sub-category whose parent is not there yet gets
    // a bare parent item of that name.
    void addCategory(int id, int parentId, const QString &name, const QString &parentName,
                     const QString &description, bool topLevel);
    // Empties the tree and the id map.
    void clearCategories();

    // The id of a category of that name, ignoring case; 0 when there is none.
    Q_INVOKABLE int idForName(const QString &name) const;
    // Names from the top-level category down to id; empty for an unknown id.
    Q_INVOKABLE QStringList categoryPath(int id) const;

    QHash<int, QByteArray> roleNames() const override;

private:
    QStandardItem *topLevelItem(const QString &name) const;

    QMap<int, QStandardItem *> itemsById;
    // Items kept out of the tree; the model does not own them.
    QList<QStandardItem *> m_detached;
};
