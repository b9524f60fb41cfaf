#include "Model/product.h"

#include "Model/subproduct.h"

Product::Product(int id, int parentId, const QString &name, QObject *parent)
    : IDownloadableItem(id, parentId, name, parent)
{
    setLink(QString::number(id));
}

Product::~Product() = default;

QSharedPointer<Product> Product::copy() const
{
    auto other = QSharedPointer<Product>::create(id(), parentId(), name());
    other->m_featured = m_featured;
    other->m_membership = m_membership;
    other->m_owned = m_owned;
    other->m_thumbnail = m_thumbnail;
    other->m_categoryList = m_categoryList;
    other->m_price = m_price;
    other->m_description = m_description;
    other->m_descriptionMain = m_descriptionMain;
    other->m_categories = m_categories;
    other->m_pendingRecords = m_pendingRecords;
    other->m_setInfoRequested = m_setInfoRequested;
    other->setInstalled(installed());
    other->setStatus(status());
    other->setSourceLink(sourceLink());
    return other;
}

void Product::setThumbnail(const QString &thumbnail)
{
    if (m_thumbnail == thumbnail)
        return;
    m_thumbnail = thumbnail;
    emit thumbnailChanged();
}

void Product::setPrice(const QString &price)
{
    if (m_price == price)
        return;
    m_price = price;
    emit priceChanged();
}

void Product::setDescriptionMain(const QString &descriptionMain)
{
    if (m_descriptionMain == descriptionMain)
        return;
    m_descriptionMain = descriptionMain;
    emit descriptionMainChanged();
}

void Product::setDescription(const QString &description)
{
    if (m_description == description)
        return;
    m_description = description;
    emit descriptionChanged();
}

QList<SubProduct *> Product::subProductItems() const
{
    QList<SubProduct *> items;
    items.reserve(m_subProducts.size());
    for (QObject *object : m_subProducts)
        items.append(static_cast<SubProduct *>(object));
    return items;
}

void Product::setOwned(bool owned)
{
    if (m_owned == owned)
        return;
    m_owned = owned;
    emit ownedChanged();
}

void Product::setCategoryList(const QString &categoryList)
{
    if (m_categoryList == categoryList)
        return;
    m_categoryList = categoryList;
    emit categoryListChanged();
}

void Product::setCategoryIds(const QList<int> &ids)
{
    for (const int id : ids)
        m_categories.insert(id);
    emit categoriesChanged();
}

void Product::setMembership(bool membership)
{
    if (m_membership == membership)
        return;
    m_membership = membership;
    emit membershipChanged();
}

void Product::setFeatured(bool featured)
{
    if (m_featured == featured)
        return;
    m_featured = featured;
    emit featuredChanged();
}

void Product::addSubProductRecord(int id, const QString &name, const QString &thumbnail, const QString &fileType,
                                  const QString &brushType, const QString &link, bool installed)
{
    SubProductRecord record;
    record.installed = installed;
    record.link = link;
    record.brushType = brushType;
    record.fileType = fileType;
    record.thumbnail = thumbnail;
    record.name = name;
    record.id = id;
    m_pendingRecords.append(record);
}

void Product::createSubProducts()
{
    for (const SubProductRecord &record : qAsConst(m_pendingRecords)) {
        // A child of the product: gone with it, and never collected by QML.
        auto *sub = new SubProduct(record.id, id(), record.name, this);
        sub->setThumbnail(record.thumbnail);
        sub->setFileType(record.fileType);
        sub->setBrushType(record.brushType);
        sub->setLink(record.link);
        sub->setInstalled(record.installed);
        m_subProducts.append(sub);
    }
    m_pendingRecords.clear();
    emit subProductsChanged();
}

void Product::setSubProductsStatus(DownloadStatusInfo::Status status)
{
    for (QObject *object : qAsConst(m_subProducts))
        static_cast<SubProduct *>(object)->setStatus(status);
}

bool Product::allSubProductsInstalled() const
{
    for (QObject *object : m_subProducts) {
        if (!static_cast<SubProduct *>(object)->installed())
            return false;
    }
    return true;
}
