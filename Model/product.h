#pragma once

#include "Model/idownloadableitem.h"
#include "Model/subproductrecord.h"

#include <QList>
#include <QSet>
#include <QSharedPointer>
#include <QString>

class SubProduct;

// A pack of the maker's store: what the store views show of it and the
// sub-products it is made of. Owns its sub-products.
class Product : public IDownloadableItem
{
    Q_OBJECT
    Q_PROPERTY(QString thumbnail READ thumbnail WRITE setThumbnail NOTIFY thumbnailChanged)
    Q_PROPERTY(QString price READ price WRITE setPrice NOTIFY priceChanged)
    Q_PROPERTY(QString descriptionMain READ descriptionMain WRITE setDescriptionMain NOTIFY descriptionMainChanged)
    Q_PROPERTY(QString description READ description WRITE setDescription NOTIFY descriptionChanged)
    Q_PROPERTY(QList<QObject *> subProducts READ subProducts NOTIFY subProductsChanged)
    Q_PROPERTY(bool owned READ owned WRITE setOwned NOTIFY ownedChanged)
    Q_PROPERTY(QString categoryList READ categoryList WRITE setCategoryList NOTIFY categoryListChanged)
    Q_PROPERTY(QSet<int> categories READ categories NOTIFY categoriesChanged)
    Q_PROPERTY(bool membership READ membership WRITE setMembership NOTIFY membershipChanged)
    Q_PROPERTY(bool featured READ featured WRITE setFeatured NOTIFY featuredChanged)

public:
    Product(int id, int parentId, const QString &name, QObject *parent = nullptr);
    ~Product() override;

    // The copy that enters the store's list: everything but the sub-product
    // objects (their records come along), progress and error state.
    QSharedPointer<Product> copy() const;

    QString thumbnail() const { return m_thumbnail; }
    void setThumbnail(const QString &thumbnail);
    QString price() const { return m_price; }
    void setPrice(const QString &price);
    QString descriptionMain() const { return m_descriptionMain; }
    void setDescriptionMain(const QString &descriptionMain);
    QString description() const { return m_description; }
    void setDescription(const QString &description);
    QList<QObject *> subProducts() const { return m_subProducts; }
    QList<SubProduct *> subProductItems() const;
    bool owned() const { return m_owned; }
    void setOwned(bool owned);
    QString categoryList() const { return m_categoryList; }
    void setCategoryList(const QString &categoryList);
    QSet<int> categories() const { return m_categories; }
    // Adds the ids to the product's categories; one change signal.
    void setCategoryIds(const QList<int> &ids);
    bool membership() const { return m_membership; }
    void setMembership(bool membership);
    bool featured() const { return m_featured; }
    void setFeatured(bool featured);
    bool setInfoRequested() const { return m_setInfoRequested; }
    void setSetInfoRequested(bool requested) { m_setInfoRequested = requested; }

    void addSubProductRecord(int id, const QString &name, const QString &thumbnail, const QString &fileType,
                             const QString &brushType, const QString &link, bool installed);
    QList<SubProductRecord> subProductRecords() const { return m_pendingRecords; }
    // Turns the pending records into sub-product objects, in order.
    void createSubProducts();
    void setSubProductsStatus(DownloadStatusInfo::Status status);
    bool allSubProductsInstalled() const;

signals:
    void thumbnailChanged();
    void priceChanged();
    void descriptionMainChanged();
    void descriptionChanged();
    void subProductsChanged();
    void ownedChanged();
    void categoryListChanged();
    void categoriesChanged();
    void membershipChanged();
    void featuredChanged();

private:
    QString m_thumbnail;
    QString m_price;
    QString m_descriptionMain;
    QString m_description;
    QList<QObject *> m_subProducts;
    bool m_owned = false;
    QString m_categoryList;
    QSet<int> m_categories;
    bool m_membership = false;
    bool m_featured = false;
    bool m_setInfoRequested = false;
    QList<SubProductRecord> m_pendingRecords;
};
