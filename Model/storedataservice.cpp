#include "Model/storedataservice.h"

#include "Model/databaseservice.h"
#include "Model/downloadmanager.h"
#include "Model/product.h"
#include "Model/productcategoryitem.h"
#include "Model/storeaddress.h"
#include "Model/storeitemrole.h"
#include "Model/storereplies.h"
#include "Model/subproduct.h"
#include "crypto/credentialscrambler.h"
#include "crypto/storecredentialkey.h"
#include "sorters/productsorter.h"
#include "xmldocumentreader.h"

#include <QDomDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QUrlQuery>
#include <QtDebug>

namespace {

const char *const formContentType = "application/x-www-form-urlencoded";

// A reply that timed out or was aborted is closed; reading it would only warn.
QByteArray bodyOf(QNetworkReply *reply)
{
    return reply->isOpen() ? reply->readAll() : QByteArray();
}

// An HTTP answer of the store, as opposed to a connection that failed.
int httpStatus(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

} // namespace

StoreDataService::StoreDataService(QSharedPointer<DatabaseService> database, QObject *parent)
    : QAbstractListModel(parent)
    , m_database(std::move(database))
    , m_model(new ProductSorter(this, this))
    , m_featuredModel(new ProductSorter(this, this))
    , m_libraryModel(new ProductSorter(this, this))
    , m_membershipModel(new ProductSorter(this, this))
    , m_categoryTree(new ProductCategoryItem(this))
    , m_categoryProxy(new QSortFilterProxyModel(this))
    , m_currentCategories(new QStringListModel(this))
{
    // The category tree and path are read by the interface through these properties.
    qRegisterMetaType<QSortFilterProxyModel *>();
    qRegisterMetaType<QStringListModel *>();
    m_model->setOwnedOnly(false);
    m_featuredModel->setOwnedOnly(false);
    m_membershipModel->setOwnedOnly(false);
    m_membershipModel->setMembershipOnly(true);
    for (ProductSorter *sorter : {m_model, m_featuredModel, m_libraryModel, m_membershipModel})
        sorter->sort(0, Qt::AscendingOrder);
    m_categoryProxy->setSourceModel(m_categoryTree);
    m_categoryProxy->setSortRole(Qt::DisplayRole);

    DownloadManager::StoreHooks hooks;
    hooks.requestLink = [this](const QString &link) { requestDownloadLink(link); };
    hooks.productById = [this](int id) { return m_productsById.value(id); };
    hooks.folderInstalled = [this](const QString &folder) { folderInstalled(folder); };
    hooks.productInstalled = [this](int id) { productInstalled(id); };
    hooks.subProductInstalled = [this](SubProduct *sub) { subProductInstalled(sub); };
    m_downloads = new DownloadManager(m_database, hooks, this);
}

StoreDataService::~StoreDataService()
{
    // The queue points into the products; it goes first.
    delete m_downloads;
}

// List model ---------------------------------------------------------------------------

int StoreDataService::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_products.size();
}

QVariant StoreDataService::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_products.size())
        return QVariant();
    const Product *product = m_products.at(index.row()).data();
    switch (role) {
    case StoreNameRole: return product->name();
    case StoreThumbnailRole: return product->thumbnail();
    case StorePriceRole: return product->price();
    case StoreFeaturedRole: return product->featured();
    case StoreDescriptionRole: return product->description();
    case StoreSubProductsRole: return QVariant::fromValue(product->subProducts());
    case StoreCategoriesRole: return product->categoryList();
    case StoreCategoryIdRole: return QVariant::fromValue(product->categories());
    case StoreOwnedRole: return product->owned();
    case StoreInstalledRole: return product->installed();
    case StoreDownloadStatusRole: return QVariant::fromValue(product->downloadStatus());
    case StoreIdRole: return product->id();
    case StoreSourceLinkRole: return product->sourceLink();
    case StoreMembershipRole: return product->membership();
    case StoreDescriptionMainRole: return product->descriptionMain();
    default: return QVariant();
    }
}

bool StoreDataService::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_products.size())
        return false;
    Product *product = m_products.at(index.row()).data();
    switch (role) {
    case StoreNameRole: product->setName(value.toString()); break;
    case StoreThumbnailRole: product->setThumbnail(value.toString()); break;
    case StorePriceRole: product->setPrice(value.toString()); break;
    case StoreDescriptionRole: product->setDescription(value.toString()); break;
    default: return false;
    }
    emit dataChanged(index, index);
    return true;
}

QHash<int, QByteArray> StoreDataService::roleNames() const
{
    return {{StoreNameRole, "name"},
            {StoreThumbnailRole, "thumbnail"},
            {StorePriceRole, "price"},
            {StoreFeaturedRole, "featured"},
            {StoreDescriptionRole, "description"},
            {StoreSubProductsRole, "subProducts"},
            {StoreCategoriesRole, "categories"},
            {StoreCategoryIdRole, "categoryId"},
            {StoreOwnedRole, "owned"},
            {StoreInstalledRole, "installed"},
            {StoreDownloadStatusRole, "downloadStatus"},
            {StoreIdRole, "id"},
            {StoreSourceLinkRole, "sourceLink"},
            {StoreMembershipRole, "membership"},
            {StoreDescriptionMainRole, "descriptionMain"}};
}

QAbstractItemModel *StoreDataService::model() const
{
    return m_model;
}

QAbstractItemModel *StoreDataService::featuredModel() const
{
    return m_featuredModel;
}

QAbstractItemModel *StoreDataService::libraryModel() const
{
    return m_libraryModel;
}

QAbstractItemModel *StoreDataService::membershipModel() const
{
    return m_membershipModel;
}

// Operations of the store views --------------------------------------------------------

void StoreDataService::initialize()
{
    m_libraryModel->resetFilters();
    m_model->resetFilters();
    m_model->setOwnedOnly(false);
    // A store window opens with an empty search and both install toggles on;
    // `filtered` must say so, or it hides sections of the new window.
    m_nameFilterActive = false;
    m_categoryFilterActive = false;
    m_showInstalled = true;
    m_showNotInstalled = true;
    setCurrentCategory(0);
    recomputeFiltered();
    clearRows();
    requestProducts();

    const QString user = m_database->readSetting(DatabaseService::TokVal1).toString();
    const QString password = m_database->readSetting(DatabaseService::TokVal2).toString();
    if (user.isEmpty() || password.isEmpty())
        return;
    CredentialScrambler scrambler(StoreCredentialKey);
    const QString plainUser = scrambler.unscrambleToString(user);
    const QString plainPassword = scrambler.unscrambleToString(password);
    if (!plainUser.isEmpty() && !plainPassword.isEmpty())
        login(plainUser, plainPassword);
}

void StoreDataService::filterByName(const QString &filter)
{
    m_nameFilterActive = !filter.isEmpty();
    const QRegularExpression expression(filter, QRegularExpression::CaseInsensitiveOption);
    if (!expression.isValid())
        return;
    for (ProductSorter *sorter : {m_libraryModel, m_model}) {
        sorter->setFilterRole(StoreNameRole);
        sorter->setFilterRegularExpression(expression);
        sorter->setNameFilterEnabled(!filter.isEmpty());
    }
    emit libraryModelChanged();
    emit modelChanged();
    recomputeFiltered();
}

void StoreDataService::filterByInstalled(bool show)
{
    m_showInstalled = show;
    m_libraryModel->setShowInstalled(show);
    emit libraryModelChanged();
    m_model->setShowInstalled(show);
    emit modelChanged();
    recomputeFiltered();
}

void StoreDataService::filterByNotInstalled(bool show)
{
    m_showNotInstalled = show;
    m_libraryModel->setShowNotInstalled(show);
    emit libraryModelChanged();
    m_model->setShowNotInstalled(show);
    emit modelChanged();
    recomputeFiltered();
}

void StoreDataService::filterByCategory(bool enable, int categoryId)
{
    m_categoryFilterActive = categoryId != 0;
    m_libraryModel->setCategoryFilter(enable, categoryId);
    m_model->setCategoryFilter(enable, categoryId);
    setCurrentCategory(enable ? categoryId : 0);
    recomputeFiltered();
}

void StoreDataService::filterByCategoryName(bool enable, const QString &name)
{
    filterByCategory(enable, m_categoryTree->idForName(name));
}

void StoreDataService::setCurrentCategory(int categoryId)
{
    m_currentCategories->removeRows(0, m_currentCategories->rowCount());
    if (categoryId != 0) {
        for (const QString &name : m_categoryTree->categoryPath(categoryId)) {
            const int row = m_currentCategories->rowCount();
            m_currentCategories->insertRows(row, 1);
            m_currentCategories->setData(m_currentCategories->index(row), name, Qt::EditRole);
        }
    }
    emit currentCategoriesChanged();
}

void StoreDataService::loginWithUser(const QString &username, const QString &pw)
{
    login(username, pw);
}

void StoreDataService::logout()
{
    m_isLoggedIn = false;
    emit isLoggedInChanged();
    for (const QSharedPointer<Product> &product : qAsConst(m_products))
        product->setOwned(false);
    m_ownedIds.clear();
    setFlag(m_ownsAll, false, &StoreDataService::ownsAllChanged);
    m_libraryModel->setOwnedOnly(true);
    emit libraryModelChanged();
    emit modelChanged();
    allRowsChanged();
    m_database->writeSetting(DatabaseService::TokVal1, QString());
    m_database->writeSetting(DatabaseService::TokVal2, QString());
}

void StoreDataService::downloadProduct(QObject *product)
{
    if (auto *item = qobject_cast<IDownloadableItem *>(product))
        m_downloads->enqueue(item);
}

void StoreDataService::downloadProductById(int id)
{
    if (const QSharedPointer<Product> product = m_productsById.value(id))
        m_downloads->enqueue(product.data());
}

void StoreDataService::cancelDownload(QObject *product)
{
    if (auto *item = qobject_cast<IDownloadableItem *>(product))
        m_downloads->cancel(item);
}

void StoreDataService::addInstalledCheck(const QString &fileType, InstalledCheck check)
{
    m_installedChecks.insert(fileType, std::move(check));
}

void StoreDataService::addInstallListener(const QString &fileType, InstallListener listener)
{
    m_installListeners.insert(fileType, std::move(listener));
}

void StoreDataService::setSetInfoHandler(SetInfoHandler handler)
{
    m_setInfoHandler = std::move(handler);
}

QByteArray StoreDataService::loginBody(const QString &username, const QString &password)
{
    QByteArray encoded = QUrl::toPercentEncoding(password, "'\"");
    encoded.replace("'", "\\'").replace("\"", "\\\"");
    return "username=" + username.toLatin1() + "&password=" + encoded;
}

void StoreDataService::setTransferTimeout(int milliseconds)
{
    m_transferTimeout = milliseconds;
    m_downloads->setTransferTimeout(milliseconds);
}

// Requests -----------------------------------------------------------------------------

void StoreDataService::setNetworkAccessManager(QNetworkAccessManager *manager)
{
    m_network = manager;
}

QNetworkAccessManager *StoreDataService::network()
{
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    return m_network;
}

QNetworkReply *StoreDataService::get(const QString &path, const QList<QPair<QString, QString>> &query)
{
    QUrl url = StoreAddress::baseUrl();
    url.setPath(url.path() + path);
    if (!query.isEmpty()) {
        QUrlQuery items;
        items.setQueryItems(query);
        url.setQuery(items);
    }
    qDebug().noquote() << url.toString();
    QNetworkRequest request(url);
    request.setTransferTimeout(m_transferTimeout);
    return network()->get(request);
}

QNetworkReply *StoreDataService::post(const QString &path, const QByteArray &body, const QByteArray &contentType)
{
    QUrl url = StoreAddress::baseUrl();
    url.setPath(url.path() + path);
    qDebug().noquote() << url.toString();
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    request.setTransferTimeout(m_transferTimeout);
    return network()->post(request, body);
}

void StoreDataService::login(const QString &username, const QString &password)
{
    setFlag(m_isLoggingIn, true, &StoreDataService::isLoggingInChanged);
    setFlag(m_loginFailed, false, &StoreDataService::loginFailedChanged);
    QNetworkReply *reply = post(QStringLiteral("/wp-json/jwt-auth/v1/token"), loginBody(username, password), formContentType);
    connect(reply, &QNetworkReply::finished, this, [this, reply, username, password] {
        reply->deleteLater();
        onLogin(reply, username, password);
    });
}

void StoreDataService::requestProducts()
{
    setFlag(m_hasProductList, false, &StoreDataService::hasProductListChanged);
    clearRows();
    m_productListLoaded = false;
    emit modelChanged();
    const int generation = ++m_productsGeneration;
    QNetworkReply *reply = get(QStringLiteral("/edd-api/products/"), {{QStringLiteral("number"), QStringLiteral("-1")}});
    connect(reply, &QNetworkReply::finished, this, [this, reply, generation] {
        reply->deleteLater();
        onProducts(reply, generation);
    });
}

void StoreDataService::requestOwnedProducts(const QString &email)
{
    m_ownedIds.clear();
    m_ownedListLoaded = false;
    QNetworkReply *reply = get(QStringLiteral("/edd-api/sales/"), {{QStringLiteral("key"), StoreAddress::apiKey()},
                                                                   {QStringLiteral("token"), StoreAddress::apiToken()},
                                                                   {QStringLiteral("number"), QStringLiteral("-1")},
                                                                   {QStringLiteral("email"), email}});
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        onSales(reply);
    });
}

void StoreDataService::requestFeaturedProducts()
{
    QNetworkReply *reply = get(QStringLiteral("/wp-json/kiv-edd-api/get_featured_products/"));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        onFeatured(reply);
    });
}

void StoreDataService::requestSubscriptions(const QString &email)
{
    QString escaped = email;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    const QByteArray body = "{\"id\": \"" + escaped.toLatin1() + "\"}";
    const QString path = QStringLiteral("/wp-json/kiv-edd-api/subscriptions/");
    qDebug().noquote() << "getting subscriptions for: " + StoreAddress::baseUrl().toString() + path + " id: " + email;
    QNetworkReply *reply = post(path, body, "application/json");
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        onSubscriptions(reply);
    });
}

void StoreDataService::requestSetInfo(SubProduct *subProduct, const QString &productName)
{
    const int id = subProduct->parentId() != 0 ? subProduct->parentId() : subProduct->id();
    QNetworkReply *reply = get(QStringLiteral("/wp-json/kiv-edd-api/get_set_info/"), {{QStringLiteral("id"), QString::number(id)}});
    connect(reply, &QNetworkReply::finished, this, [this, reply, productName] {
        reply->deleteLater();
        onSetInfo(reply, productName);
    });
}

void StoreDataService::requestDownloadLink(const QString &link)
{
    QNetworkReply *reply = post(QStringLiteral("/wp-json/kiv-edd-api/get_download_link/"), "id=" + link.toUtf8(),
                                formContentType);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        onDownloadLink(reply);
    });
}

// Replies ------------------------------------------------------------------------------

void StoreDataService::onLogin(QNetworkReply *reply, const QString &username, const QString &password)
{
    const QByteArray body = bodyOf(reply);
    // The login plug-in turns wrong credentials down with a 403 and a JSON
    // object; anything else that fails says nothing about the credentials.
    const bool answered = reply->error() == QNetworkReply::NoError
        || (httpStatus(reply) >= 400 && httpStatus(reply) < 500);
    const StoreReplies::Login result = answered ? StoreReplies::parseLogin(body) : StoreReplies::Login();
    if (!result.wellFormed) {
        qWarning().noquote() << "onLoginResultError" << reply->errorString();
        setFlag(m_loginFailed, true, &StoreDataService::loginFailedChanged);
    } else if (result.ok) {
        m_isLoggedIn = true;
        m_userEmail = result.email;
        if (m_username != username) {
            m_username = username;
            emit usernameChanged();
        }
        storeCredentials(username, password);
        requestOwnedProducts(m_userEmail);
    } else {
        qInfo() << "The store turned the login down";
        setFlag(m_loginFailed, true, &StoreDataService::loginFailedChanged);
        storeCredentials(QString(), QString());
    }
    emit isLoggedInChanged();
    setFlag(m_isLoggingIn, false, &StoreDataService::isLoggingInChanged);
}

void StoreDataService::onProducts(QNetworkReply *reply, int generation)
{
    // A newer catalogue request is on its way; this answer is out of date.
    if (generation != m_productsGeneration)
        return;
    if (reply->error() != QNetworkReply::NoError) {
        qWarning().noquote() << "get product list error" << reply->errorString();
        setFlag(m_hasProductList, true, &StoreDataService::hasProductListChanged);
        return;
    }
    qDebug() << "got product list";
    const StoreReplies::Catalogue catalogue = StoreReplies::parseProducts(
        bodyOf(reply), [this](const QString &fileType, const QString &name) {
            const InstalledCheck check = m_installedChecks.value(fileType);
            return check && check(name);
        });
    if (!catalogue.ok) {
        setFlag(m_hasProductList, true, &StoreDataService::hasProductListChanged);
        return;
    }
    m_categoryRecords = catalogue.categories;
    emit modelChanged();
    qDebug().noquote() << "adding" << catalogue.products.size() << "prods";
    addProducts(catalogue.products);
    buildCategoryTree();
    m_productListLoaded = true;
    if (m_ownedListLoaded) {
        applyOwned();
        applyFree();
    }
    requestFeaturedProducts();
}

void StoreDataService::onSales(QNetworkReply *reply)
{
    QSet<int> ids;
    if (reply->error() != QNetworkReply::NoError) {
        qWarning().noquote() << "get owned product list error" << reply->errorString();
        m_ownedListLoaded = true;
        return;
    }
    qDebug() << "got owned product list";
    qDebug() << "attempt parseOwnedProductsJson";
    if (!StoreReplies::parseSales(bodyOf(reply), &ids)) {
        m_ownedListLoaded = true;
        return;
    }
    m_ownedIds.unite(ids);
    m_ownedListLoaded = true;
    if (m_productListLoaded) {
        applyOwned();
        applyFree();
    }
    requestSubscriptions(m_userEmail);
}

void StoreDataService::onFeatured(QNetworkReply *reply)
{
    QList<int> ids;
    if (reply->error() != QNetworkReply::NoError)
        qWarning().noquote() << "get featured products error" << reply->errorString();
    else if (StoreReplies::parseFeatured(bodyOf(reply), &ids))
        qDebug() << "got featured products";
    for (const int id : qAsConst(ids)) {
        m_featuredIds.insert(id);
        if (const QSharedPointer<Product> product = m_productsById.value(id))
            product->setFeatured(true);
    }
    // Without a featured list the strip shows nothing rather than everything, and
    // the store stops waiting either way.
    m_featuredModel->setFeaturedOnly(true);
    m_featuredModel->invalidate();
    setFlag(m_hasProductList, true, &StoreDataService::hasProductListChanged);
}

void StoreDataService::onSubscriptions(QNetworkReply *reply)
{
    QStringList subscriptions;
    if (reply->error() != QNetworkReply::NoError) {
        qWarning().noquote() << "get subscriptions error: " + reply->errorString();
    } else if (StoreReplies::parseSubscriptions(bodyOf(reply), &subscriptions)) {
        qDebug() << "got sub cat list";
        const bool all = subscriptions.contains(QStringLiteral("all"));
        if (all) {
            qDebug() << "owns all";
            ownEverything();
        }
        qDebug().noquote() << "owned" << m_products.size() << "products";
        if (all)
            setFlag(m_ownsAll, true, &StoreDataService::ownsAllChanged);
    }
    resetOwnershipSorters();
    allRowsChanged();
}

void StoreDataService::onSetInfo(QNetworkReply *reply, const QString &productName)
{
    if (reply->error() != QNetworkReply::NoError) {
        qWarning().noquote() << "get set info error" << reply->errorString();
        return;
    }
    QString xml;
    if (!StoreReplies::parseJsonString(bodyOf(reply), &xml))
        return;
    qDebug().noquote() << "got set info" << xml;
    QDomDocument document;
    QString error;
    int line = 0;
    // The store's XML goes through the same depth check as every XML from outside.
    if (!XmlDocumentReader::read(xml, &document, &error, &line)) {
        qWarning().noquote() << "The set information of" << productName << "is not XML: line" << line << error;
        return;
    }
    if (m_setInfoHandler)
        m_setInfoHandler(document);
    // Recorded under the product's name, which is what is looked up next time.
    m_database->writeStoreSetInfo(productName, true);
}

void StoreDataService::onDownloadLink(QNetworkReply *reply)
{
    if (reply->error() != QNetworkReply::NoError) {
        qWarning().noquote() << "get link error" << reply->errorString();
        m_downloads->downloadFailed();
        return;
    }
    QString url;
    if (!StoreReplies::parseJsonString(bodyOf(reply), &url)) {
        m_downloads->downloadFailed();
        return;
    }
    qDebug() << "got link";
    m_downloads->startDownload(QUrl(url, QUrl::StrictMode));
}

// Bookkeeping --------------------------------------------------------------------------

void StoreDataService::clearRows()
{
    const auto underWay = [](const IDownloadableItem *item) {
        const DownloadStatusInfo::Status status = item->status();
        return status == DownloadStatusInfo::Queued || status == DownloadStatusInfo::Downloading
            || status == DownloadStatusInfo::Extracting;
    };
    const auto busy = [&underWay](const Product *product) {
        bool result = underWay(product);
        for (const SubProduct *sub : product->subProductItems())
            result = result || underWay(sub);
        return result;
    };
    // Products whose download is under way stay alive for the queue and come back
    // with the next catalogue; those a catalogue left out go once they are done.
    for (auto it = m_busyProducts.begin(); it != m_busyProducts.end();)
        it = busy(it.value().data()) ? std::next(it) : m_busyProducts.erase(it);
    for (const QSharedPointer<Product> &product : qAsConst(m_products)) {
        product->disconnect(this);
        if (busy(product.data()))
            m_busyProducts.insert(product->id(), product);
    }
    beginResetModel();
    m_products.clear();
    m_productsById.clear();
    m_rows.clear();
    endResetModel();
}

void StoreDataService::addProducts(const QList<QSharedPointer<Product>> &products)
{
    if (products.isEmpty())
        return;
    // One insertion for the whole list: each one makes every sorter map all rows again.
    beginInsertRows(QModelIndex(), m_products.size(), m_products.size() + products.size() - 1);
    for (const QSharedPointer<Product> &parsed : products) {
        QSharedPointer<Product> product = m_busyProducts.take(parsed->id());
        if (!product) {
            product = parsed->copy();
            product->createSubProducts();
        }
        Product *raw = product.data();
        m_rows.insert(raw, m_products.size());
        m_products.append(product);
        m_productsById.insert(product->id(), product);
        // The sorters filter on these; they must see them change.
        const auto changed = [this, raw] {
            const int row = m_rows.value(raw, -1);
            if (row >= 0)
                emit dataChanged(index(row), index(row));
        };
        connect(raw, &Product::ownedChanged, this, changed);
        connect(raw, &Product::featuredChanged, this, changed);
        connect(raw, &IDownloadableItem::installedChanged, this, changed);
    }
    endInsertRows();
}

void StoreDataService::buildCategoryTree()
{
    m_categoryTree->clearCategories();
    m_categoryTree->addCategory(0, 0, QStringLiteral("All"), QString(), QString(), true);
    for (const CategoryRecord &record : qAsConst(m_categoryRecords)) {
        const bool topLevel = record.parentId == 0;
        const QString parentName = topLevel ? QString() : m_categoryRecords.value(record.parentId).name;
        m_categoryTree->addCategory(record.termId, record.parentId, record.name, parentName, QString(), topLevel);
    }
    m_categoryProxy->sort(0, Qt::AscendingOrder);
    emit categoriesChanged();
}

void StoreDataService::applyOwned()
{
    for (const int id : qAsConst(m_ownedIds)) {
        if (const QSharedPointer<Product> product = m_productsById.value(id))
            product->setOwned(true);
    }
}

void StoreDataService::applyFree()
{
    const int id = m_categoryTree->idForName(QStringLiteral("Free"));
    if (id == 0) {
        qDebug() << "Unable to find Free category.";
        return;
    }
    for (const QSharedPointer<Product> &product : qAsConst(m_products)) {
        if (product->categories().contains(id))
            product->setOwned(true);
    }
}

void StoreDataService::ownEverything()
{
    for (const QSharedPointer<Product> &product : qAsConst(m_products))
        product->setOwned(true);
}

void StoreDataService::resetOwnershipSorters()
{
    m_model->setOwnedOnly(false);
    m_libraryModel->setOwnedOnly(true);
    // Ownership is not a role change the sorters see by themselves.
    m_model->invalidate();
    m_libraryModel->invalidate();
}

void StoreDataService::allRowsChanged()
{
    if (!m_products.isEmpty())
        emit dataChanged(index(0), index(m_products.size() - 1));
}

void StoreDataService::productInstalled(int id)
{
    const int row = rowOf(id);
    if (row < 0)
        return;
    const QSharedPointer<Product> &product = m_products.at(row);
    if (product->allSubProductsInstalled() && !product->installed())
        product->setInstalled(true);
    emit dataChanged(index(row), index(row));
}

void StoreDataService::subProductInstalled(SubProduct *subProduct)
{
    if (!subProduct || subProduct->parentId() == 0)
        return;
    const QSharedPointer<Product> parent = m_productsById.value(subProduct->parentId());
    if (!parent || parent->setInfoRequested() || m_database->hasStoreSetInfo(parent->name()))
        return;
    parent->setSetInfoRequested(true);
    requestSetInfo(subProduct, parent->name());
}

void StoreDataService::folderInstalled(const QString &folder)
{
    for (const InstallListener &listener : qAsConst(m_installListeners))
        listener(folder);
}

void StoreDataService::recomputeFiltered()
{
    m_filtered = m_nameFilterActive || m_categoryFilterActive || m_showInstalled != m_showNotInstalled;
    emit filteredChanged();
}

void StoreDataService::storeCredentials(const QString &username, const QString &password)
{
    if (username.isEmpty() && password.isEmpty()) {
        m_database->writeSetting(DatabaseService::TokVal1, QString());
        m_database->writeSetting(DatabaseService::TokVal2, QString());
        return;
    }
    CredentialScrambler scrambler(StoreCredentialKey);
    m_database->writeSetting(DatabaseService::TokVal1, scrambler.scrambleToString(username));
    m_database->writeSetting(DatabaseService::TokVal2, scrambler.scrambleToString(password));
}

void StoreDataService::setFlag(bool &flag, bool value, void (StoreDataService::*changed)())
{
    if (flag == value)
        return;
    flag = value;
    emit(this->*changed)();
}

int StoreDataService::rowOf(int id) const
{
    const QSharedPointer<Product> product = m_productsById.value(id);
    return product ? m_rows.value(product.data(), -1) : -1;
}
