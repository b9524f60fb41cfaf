// Arbitrary bytes as the store's replies, taken in by the store service as the store
// screen and a login take them: the input is cut at NUL bytes into the replies to
// the login, the product list, the sales, the featured list and the subscriptions,
// in that order (a missing part is an HTTP 404; fuzz_storereplies reads the link
// and the set information that follow). The service runs its whole chain on them,
// then every category of the tree is chosen in turn. No crash, the screen always
// stops waiting, the login always ends, and a category's path never holds more
// names than the tree has.
//
// One service takes every input, as the store screen opened again and again does:
// its start reloads the catalogue, and the logout that ends each input empties the
// stored login again.
#include "Model/databaseservice.h"
#include "Model/productcategoryitem.h"
#include "Model/storedataservice.h"
#include "fuzz/cannedreply.h"
#include "fuzz/fuzzsupport.h"
#include "fuzz/scratchlibrary.h"

#include <QNetworkAccessManager>
#include <QSortFilterProxyModel>
#include <QStringListModel>

#include <memory>

namespace {

enum Part { Login, Products, Sales, Featured, Subscriptions, Link, SetInfo, PartCount };

// Answers each store route with its part of the input.
class CannedStore : public QNetworkAccessManager
{
public:
    QList<QByteArray> parts;
    int pending = 0;

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request, QIODevice *) override
    {
        static const QHash<QString, Part> routes{
            {QStringLiteral("/wp-json/jwt-auth/v1/token"), Login},
            {QStringLiteral("/edd-api/products/"), Products},
            {QStringLiteral("/edd-api/sales/"), Sales},
            {QStringLiteral("/wp-json/kiv-edd-api/get_featured_products/"), Featured},
            {QStringLiteral("/wp-json/kiv-edd-api/subscriptions/"), Subscriptions},
        };
        const int part = routes.value(request.url().path(), PartCount);
        const bool answered = part < parts.size();
        return new CannedReply(operation, request, answered ? parts.at(part) : QByteArray(), answered ? 200 : 404,
                               &pending, this);
    }
};

struct Library
{
    Library()
    {
        database = FuzzSupport::openScratchLibrary();
        database->writeSetting(DatabaseService::LibraryLocation, FuzzSupport::scratchFolder() + QStringLiteral("/library"));
        service = std::make_unique<StoreDataService>(database);
        service->setNetworkAccessManager(&store);
        // Half the installed checks say yes, so that installed and not installed both occur.
        service->addInstalledCheck(QStringLiteral("brush"), [](const QString &name) { return name.size() % 2 == 0; });
    }

    QSharedPointer<DatabaseService> database;
    CannedStore store;
    std::unique_ptr<StoreDataService> service;
};

void collectIds(const QAbstractItemModel &tree, const QModelIndex &parent, QList<int> *ids)
{
    for (int row = 0; row < tree.rowCount(parent); ++row) {
        const QModelIndex index = tree.index(row, 0, parent);
        ids->append(index.data(ProductCategoryItem::IdRole).toInt());
        collectIds(tree, index, ids);
    }
}

void readAll(const QAbstractItemModel &model)
{
    const QList<int> roles = model.roleNames().keys();
    for (int row = 0; row < model.rowCount(); ++row) {
        for (const int role : roles)
            model.index(row, 0).data(role);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static Library library;
    StoreDataService &service = *library.service;
    library.store.parts = FuzzSupport::bytes(data, size).split('\0');

    service.initialize();
    service.loginWithUser(QStringLiteral("artist"), QStringLiteral("p&ss w'rd\"%"));
    while (library.store.pending > 0)
        QCoreApplication::processEvents();
    if (!service.hasProductList() || service.isLoggingIn())
        abort();
    if (service.isLoggedIn() == service.loginFailed())
        abort();

    readAll(service);
    readAll(*service.model());
    readAll(*service.libraryModel());
    readAll(*service.featuredModel());
    readAll(*service.membershipModel());

    QList<int> ids;
    collectIds(*service.categories(), QModelIndex(), &ids);
    for (const int id : qAsConst(ids)) {
        service.filterByCategory(true, id);
        if (service.currentCategories()->rowCount() > ids.size())
            abort();
        readAll(*service.model());
    }
    service.filterByCategoryName(true, QStringLiteral("Free"));
    service.filterByCategory(false, 0);
    service.logout();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
