#pragma once

#include "Model/categoryrecord.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QSharedPointer>
#include <QString>

#include <functional>

class DatabaseService;
class DownloadManager;
class Product;
class ProductCategoryItem;
class ProductSorter;
class QDomDocument;
class QNetworkAccessManager;
class QNetworkReply;
class QSortFilterProxyModel;
class QStringListModel;
class SubProduct;

// The client of the maker's store: logs the user in, fetches the catalogue, the
// user's purchases, memberships and the featured list, keeps the products as a
// list model with four filtered views and a category tree, and hands products
// to the download queue. GUI thread only; every reply is handled by its own
// request's handler.
class StoreDataService : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QAbstractItemModel *model READ model NOTIFY modelChanged)
    Q_PROPERTY(QAbstractItemModel *featuredModel READ featuredModel NOTIFY featuredModelChanged)
    Q_PROPERTY(QAbstractItemModel *libraryModel READ libraryModel NOTIFY libraryModelChanged)
    Q_PROPERTY(QAbstractItemModel *membershipModel READ membershipModel NOTIFY membershipModelChanged)
    Q_PROPERTY(QSortFilterProxyModel *categories READ categories NOTIFY categoriesChanged)
    Q_PROPERTY(QStringListModel *currentCategories READ currentCategories NOTIFY currentCategoriesChanged)
    Q_PROPERTY(bool isLoggedIn READ isLoggedIn NOTIFY isLoggedInChanged)
    Q_PROPERTY(QString username READ username NOTIFY usernameChanged)
    Q_PROPERTY(bool loginFailed READ loginFailed NOTIFY loginFailedChanged)
    Q_PROPERTY(bool isLoggingIn READ isLoggingIn NOTIFY isLoggingInChanged)
    Q_PROPERTY(bool hasProductList READ hasProductList NOTIFY hasProductListChanged)
    Q_PROPERTY(bool filtered READ filtered NOTIFY filteredChanged)
    Q_PROPERTY(bool ownsAll READ ownsAll NOTIFY ownsAllChanged)

public:
    using InstalledCheck = std::function<bool(const QString &name)>;
    using InstallListener = std::function<void(const QString &folder)>;
    using SetInfoHandler = std::function<void(const QDomDocument &document)>;

    explicit StoreDataService(QSharedPointer<DatabaseService> database, QObject *parent = nullptr);
    ~StoreDataService() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void initialize();
    Q_INVOKABLE void filterByName(const QString &filter);
    Q_INVOKABLE void filterByInstalled(bool show);
    Q_INVOKABLE void filterByNotInstalled(bool show);
    Q_INVOKABLE void filterByCategory(bool enable, int categoryId);
    Q_INVOKABLE void filterByCategoryName(bool enable, const QString &name);
    Q_INVOKABLE void setCurrentCategory(int categoryId);
    Q_INVOKABLE void loginWithUser(const QString &username, const QString &pw);
    Q_INVOKABLE void logout();
    Q_INVOKABLE void downloadProduct(QObject *product);
    Q_INVOKABLE void downloadProductById(int id);
    Q_INVOKABLE void cancelDownload(QObject *product);

    // Start-up registers, per kind word, whether a catalogue holds a name and how
    // it takes in a folder; and how the brush catalogue applies set information.
    void addInstalledCheck(const QString &fileType, InstalledCheck check);
    void addInstallListener(const QString &fileType, InstallListener listener);
    void setSetInfoHandler(SetInfoHandler handler);

    // The form body of a login: the user name as Latin-1, the password
    // percent-encoded with its quotes left as they are and preceded by a backslash.
    static QByteArray loginBody(const QString &username, const QString &password);
    // A request that moves no data for this long fails; 0 waits for ever.
    void setTransferTimeout(int milliseconds);
    // The store's requests go through manager (not owned; it must outlive the
    // service). Set before the first request; by default the service makes its own.
    void setNetworkAccessManager(QNetworkAccessManager *manager);

    QAbstractItemModel *model() const;
    QAbstractItemModel *featuredModel() const;
    QAbstractItemModel *libraryModel() const;
    QAbstractItemModel *membershipModel() const;
    QSortFilterProxyModel *categories() const { return m_categoryProxy; }
    QStringListModel *currentCategories() const { return m_currentCategories; }
    ProductCategoryItem *categoryTree() const { return m_categoryTree; }
    DownloadManager *downloadManager() const { return m_downloads; }
    bool isLoggedIn() const { return m_isLoggedIn; }
    QString username() const { return m_username; }
    bool loginFailed() const { return m_loginFailed; }
    bool isLoggingIn() const { return m_isLoggingIn; }
    bool hasProductList() const { return m_hasProductList; }
    bool filtered() const { return m_filtered; }
    bool ownsAll() const { return m_ownsAll; }
    QSharedPointer<Product> productById(int id) const { return m_productsById.value(id); }

signals:
    void modelChanged();
    void featuredModelChanged();
    void libraryModelChanged();
    void membershipModelChanged();
    void categoriesChanged();
    void currentCategoriesChanged();
    void isLoggedInChanged();
    void usernameChanged();
    void loginFailedChanged();
    void isLoggingInChanged();
    void hasProductListChanged();
    void filteredChanged();
    void ownsAllChanged();

private:
    // Requests ---------------------------------------------------------------------
    QNetworkAccessManager *network();
    QNetworkReply *get(const QString &path, const QList<QPair<QString, QString>> &query = {});
    QNetworkReply *post(const QString &path, const QByteArray &body, const QByteArray &contentType);
    void login(const QString &username, const QString &password);
    void requestProducts();
    void requestOwnedProducts(const QString &email);
    void requestFeaturedProducts();
    void requestSubscriptions(const QString &email);
    void requestSetInfo(SubProduct *subProduct, const QString &productName);
    void requestDownloadLink(const QString &link);

    // Replies ----------------------------------------------------------------------
    void onLogin(QNetworkReply *reply, const QString &username, const QString &password);
    void onProducts(QNetworkReply *reply, int generation);
    void onSales(QNetworkReply *reply);
    void onFeatured(QNetworkReply *reply);
    void onSubscriptions(QNetworkReply *reply);
    void onSetInfo(QNetworkReply *reply, const QString &productName);
    void onDownloadLink(QNetworkReply *reply);

    // Bookkeeping ------------------------------------------------------------------
    void clearRows();
    void addProducts(const QList<QSharedPointer<Product>> &products);
    void buildCategoryTree();
    void applyOwned();
    void applyFree();
    void ownEverything();
    void resetOwnershipSorters();
    void allRowsChanged();
    void productInstalled(int id);
    void subProductInstalled(SubProduct *subProduct);
    void folderInstalled(const QString &folder);
    void recomputeFiltered();
    void storeCredentials(const QString &username, const QString &password);
    void setFlag(bool &flag, bool value, void (StoreDataService::*changed)());
    int rowOf(int id) const;

    QSharedPointer<DatabaseService> m_database;
    QList<QSharedPointer<Product>> m_products;
    QMap<int, QSharedPointer<Product>> m_productsById;
    QHash<const Product *, int> m_rows;
    // Products taken off the list while their download was under way; a new
    // catalogue takes them back so that the download goes on showing.
    QMap<int, QSharedPointer<Product>> m_busyProducts;
    QMap<int, CategoryRecord> m_categoryRecords;
    ProductSorter *m_model;
    ProductSorter *m_featuredModel;
    ProductSorter *m_libraryModel;
    ProductSorter *m_membershipModel;
    ProductCategoryItem *m_categoryTree;
    QSortFilterProxyModel *m_categoryProxy;
    QStringListModel *m_currentCategories;
    QSet<int> m_ownedIds;
    QSet<int> m_featuredIds;
    QMap<QString, InstalledCheck> m_installedChecks;
    QMap<QString, InstallListener> m_installListeners;
    SetInfoHandler m_setInfoHandler;
    DownloadManager *m_downloads;
    QNetworkAccessManager *m_network = nullptr;
    int m_transferTimeout = 30000;
    // Only the reply to the latest catalogue request fills the list.
    int m_productsGeneration = 0;

    QString m_userEmail;
    bool m_productListLoaded = false;
    bool m_ownedListLoaded = false;
    bool m_nameFilterActive = false;
    bool m_categoryFilterActive = false;
    bool m_showInstalled = true;
    bool m_showNotInstalled = true;

    bool m_isLoggedIn = false;
    QString m_username;
    bool m_loginFailed = false;
    bool m_isLoggingIn = false;
    bool m_hasProductList = false;
    bool m_filtered = false;
    bool m_ownsAll = false;
};
