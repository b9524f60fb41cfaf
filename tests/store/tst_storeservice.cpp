#include "Model/alphadataservice.h"
#include "Model/brush.h"
#include "Model/brushdataservice.h"
#include "Model/downloadmanager.h"
#include "Model/product.h"
#include "Model/productcategoryitem.h"
#include "Model/resourceroles.h"
#include "Model/storedataservice.h"
#include "Model/storeitemrole.h"
#include "Model/subproduct.h"
#include "crypto/credentialscrambler.h"
#include "crypto/storecredentialkey.h"
#include "Model/storereplies.h"
#include "tests/common/realdata.h"
#include "tests/common/storeserverprocess.h"
#include "tests/scanning/scanlibrary.h"

#include <QAbstractItemModelTester>
#include <QJsonObject>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QUrlQuery>
#include <QtTest>

namespace {

const QString catalogueFile = QStringLiteral(KIVARA_SOURCE_DIR "/tests/store/store-catalogue.json");
const QString artistPassword = QStringLiteral("p&ss w'rd\"%");

QStringList names(const QAbstractItemModel *model)
{
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->index(row, 0).data(StoreNameRole).toString();
    return out;
}

QStringList treeTexts(const QAbstractItemModel *model, const QModelIndex &parent = {}, const QString &indent = {})
{
    QStringList out;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        out << indent + index.data().toString();
        out << treeTexts(model, index, indent + QLatin1Char(' '));
    }
    return out;
}

// The requests of one route the server has seen, by path.
QList<QJsonObject> requestsTo(const QJsonArray &requests, const QString &path)
{
    QList<QJsonObject> found;
    for (const QJsonValue &value : requests) {
        if (value.toObject().value(QStringLiteral("path")).toString() == path)
            found << value.toObject();
    }
    return found;
}

const QString salesPath = QStringLiteral("/edd-api/sales/");
const QString subscriptionsPath = QStringLiteral("/wp-json/kiv-edd-api/subscriptions/");
const QString featuredPath = QStringLiteral("/wp-json/kiv-edd-api/get_featured_products/");
const QString setInfoPath = QStringLiteral("/wp-json/kiv-edd-api/get_set_info/");

// Qt's complaints about a reply read after it was closed, as a stalled store leaves it.
QStringList s_closedReads;
QtMessageHandler s_previousHandler = nullptr;

void recordClosedReads(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.contains(QLatin1String("device not open")))
        s_closedReads.append(text);
    s_previousHandler(type, context, text);
}

} // namespace

class TestStoreService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void catalogueArrives();
    void loginChainOwnsAndRemembers();
    void subscriptionToAllOwnsEverything();
    void wrongPasswordForgetsTheStoredLogin();
    void filters();
    void downloadsJoinTheCatalogues();
    void misbehavingStore_data();
    void misbehavingStore();
    void realLoginReplies();
    void replyIds_data();
    void replyIds();
    void refreshWhileDownloadingKeepsTheDownload();

private:
    // A store service on the library, its catalogue loaded; logged in as user when given.
    void startStore(const QString &user = {}, const QString &password = {});

    StoreServerProcess m_server;
    std::unique_ptr<ScanLibrary> m_library;
    std::unique_ptr<StoreDataService> m_store;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TestStoreService::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English));
    QVERIFY(m_server.start(catalogueFile));
    qputenv("KIVARA_STORE_URL", m_server.baseUrl().toString().toLatin1());
}

void TestStoreService::init()
{
    QVERIFY(m_server.reset());
    m_library = std::make_unique<ScanLibrary>();
    QVERIFY(QDir().mkpath(m_library->folder(QStringLiteral("library/KIVSource"))));
}

void TestStoreService::cleanup()
{
    m_tester.reset();
    m_store.reset();
    m_library.reset();
}

void TestStoreService::startStore(const QString &user, const QString &password)
{
    m_store = std::make_unique<StoreDataService>(m_library->database);
    m_store->setTransferTimeout(1500);
    m_tester = std::make_unique<QAbstractItemModelTester>(m_store.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_store->initialize();
    if (!user.isEmpty())
        m_store->loginWithUser(user, password);
}

void TestStoreService::catalogueArrives()
{
    startStore();
    QAbstractItemModelTester browseTester(m_store->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester treeTester(m_store->categories(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(!m_store->hasProductList());
    QTRY_VERIFY(m_store->hasProductList());
    // The interface reads the tree and the category path through their properties.
    QCOMPARE(m_store->property("categories").value<QObject *>(), m_store->categories());
    QCOMPARE(m_store->property("currentCategories").value<QObject *>(), m_store->currentCategories());

    // Dropped: browse-hidden, without sub-products, and the two entries that are no products.
    QCOMPARE(m_store->rowCount(), 8);
    QCOMPARE(names(m_store->model()),
             (QStringList{QStringLiteral("Blocked Pack"), QStringLiteral("Clay Brushes "), QStringLiteral("Empty Pack"),
                          QStringLiteral("Free Starter"), QStringLiteral("Hard Surface"), QStringLiteral("Members Pack"),
                          QStringLiteral("Skin Kit ")}));
    QCOMPARE(names(m_store->membershipModel()), QStringList{QStringLiteral("Studio Membership")});
    QCOMPARE(names(m_store->featuredModel()), (QStringList{QStringLiteral("Free Starter"), QStringLiteral("Hard Surface")}));
    // Nobody logged in owns nothing, not even what is free.
    QCOMPARE(names(m_store->libraryModel()), QStringList());

    const auto priceOf = [this](int id) { return m_store->productById(id)->price(); };
    QCOMPARE(priceOf(101), QStringLiteral("$12"));
    QCOMPARE(priceOf(102), QStringLiteral("$20 - $45"));
    QCOMPARE(priceOf(103), QStringLiteral("Free"));
    QCOMPARE(priceOf(105), QStringLiteral("Subscription"));
    QCOMPARE(priceOf(109), QString());
    const QSharedPointer<Product> clay = m_store->productById(101);
    QCOMPARE(clay->descriptionMain(), QStringLiteral("Clay <b>brushes</b> "));
    QCOMPARE(clay->subProducts().size(), 2);
    QCOMPARE(clay->categories(), (QSet<int>{10, 11}));
    QVERIFY(m_store->productById(108)->installed());
    QVERIFY(!clay->installed());

    const QModelIndex clayRow = m_store->index(0);
    QCOMPARE(clayRow.data(StoreIdRole).toInt(), 101);
    QCOMPARE(clayRow.data(StoreSourceLinkRole).toString(), QStringLiteral("https://store.example/clay"));
    QCOMPARE(clayRow.data(StoreDownloadStatusRole).value<DownloadStatusInfo *>(), clay->downloadStatus());
    QCOMPARE(m_store->roleNames().value(StoreCategoryIdRole), QByteArray("categoryId"));
    QVERIFY(m_store->setData(clayRow, QStringLiteral("Renamed"), StoreNameRole));
    QCOMPARE(clay->name(), QStringLiteral("Renamed"));
    QVERIFY(!m_store->setData(clayRow, true, StoreOwnedRole));

    // The hidden category is gone; the membership category was never recorded.
    QCOMPARE(treeTexts(m_store->categories()),
             (QStringList{QStringLiteral("All"), QStringLiteral("Brushes"), QStringLiteral(" Clay"),
                          QStringLiteral(" Hard Surface"), QStringLiteral("Free"), QStringLiteral("Members Only")}));
    QCOMPARE(requestsTo(m_server.requests(), featuredPath).size(), 1);
}

void TestStoreService::loginChainOwnsAndRemembers()
{
    startStore(QStringLiteral("artist"), artistPassword);
    QVERIFY(m_store->isLoggingIn());
    QTRY_VERIFY(m_store->isLoggedIn() && m_store->hasProductList());
    QTRY_COMPARE(requestsTo(m_server.requests(), subscriptionsPath).size(), 1);
    QTRY_COMPARE(names(m_store->libraryModel()), (QStringList{QStringLiteral("Blocked Pack"), QStringLiteral("Clay Brushes "),
                                                             QStringLiteral("Free Starter"), QStringLiteral("Hard Surface")}));
    QCOMPARE(m_store->username(), QStringLiteral("artist"));
    QVERIFY(!m_store->ownsAll() && !m_store->loginFailed() && !m_store->isLoggingIn());

    const QJsonArray requests = m_server.requests();
    const QJsonObject login = requestsTo(requests, QStringLiteral("/wp-json/jwt-auth/v1/token")).first();
    QCOMPARE(login.value(QStringLiteral("body")).toString(),
             QStringLiteral("username=artist&password=p%26ss%20w\\'rd\\\"%25"));
    const QUrlQuery sales(requestsTo(requests, salesPath).first().value(QStringLiteral("query")).toString());
    const QList<QPair<QString, QString>> items = sales.queryItems(QUrl::FullyDecoded);
    QCOMPARE(items.size(), 4);
    QCOMPARE(items.at(0).first, QStringLiteral("key"));
    QCOMPARE(items.at(1).first, QStringLiteral("token"));
    QCOMPARE(items.at(2), qMakePair(QStringLiteral("number"), QStringLiteral("-1")));
    QCOMPARE(items.at(3), qMakePair(QStringLiteral("email"), QStringLiteral("artist@example.com")));
    QCOMPARE(requestsTo(requests, subscriptionsPath).first().value(QStringLiteral("body")).toString(),
             QStringLiteral("{\"id\": \"artist@example.com\"}"));

    // Stored scrambled; the next start logs in with them by itself.
    CredentialScrambler scrambler(StoreCredentialKey);
    const QString storedUser = m_library->database->readSetting(DatabaseService::TokVal1).toString();
    QVERIFY(storedUser != QLatin1String("artist"));
    QCOMPARE(scrambler.unscrambleToString(storedUser), QStringLiteral("artist"));
    m_tester.reset();
    m_store.reset();
    startStore();
    QVERIFY(m_store->isLoggingIn());
    QTRY_VERIFY(m_store->isLoggedIn());
    QTRY_COMPARE(m_store->libraryModel()->rowCount(), 4);

    // Logging out disowns everything, forgets the login and keeps the name.
    m_store->logout();
    QVERIFY(!m_store->isLoggedIn());
    QCOMPARE(m_store->libraryModel()->rowCount(), 0);
    QCOMPARE(m_store->username(), QStringLiteral("artist"));
    QCOMPARE(m_library->database->readSetting(DatabaseService::TokVal1).toString(), QString());
}

void TestStoreService::subscriptionToAllOwnsEverything()
{
    startStore(QStringLiteral("studio"), QStringLiteral("studio"));
    QTRY_VERIFY(m_store->ownsAll());
    QTRY_COMPARE(m_store->libraryModel()->rowCount(), m_store->model()->rowCount());
    for (int row = 0; row < m_store->rowCount(); ++row)
        QVERIFY(m_store->index(row).data(StoreOwnedRole).toBool());
}

void TestStoreService::wrongPasswordForgetsTheStoredLogin()
{
    CredentialScrambler scrambler(StoreCredentialKey);
    m_library->database->writeSetting(DatabaseService::TokVal1, scrambler.scrambleToString(QStringLiteral("artist")));
    m_library->database->writeSetting(DatabaseService::TokVal2, scrambler.scrambleToString(QStringLiteral("wrong")));
    startStore();
    QSignalSpy loggedIn(m_store.get(), &StoreDataService::isLoggedInChanged);
    QTRY_VERIFY(m_store->loginFailed());
    QVERIFY(!m_store->isLoggedIn() && !m_store->isLoggingIn());
    QCOMPARE(loggedIn.count(), 1);
    QCOMPARE(m_library->database->readSetting(DatabaseService::TokVal1).toString(), QString());
    QCOMPARE(m_library->database->readSetting(DatabaseService::TokVal2).toString(), QString());
}

void TestStoreService::filters()
{
    startStore(QStringLiteral("artist"), artistPassword);
    QTRY_COMPARE(m_store->libraryModel()->rowCount(), 4);
    QSignalSpy filtered(m_store.get(), &StoreDataService::filteredChanged);

    m_store->filterByName(QStringLiteral("CLAY|hard"));
    QVERIFY(m_store->filtered());
    QCOMPARE(names(m_store->model()), (QStringList{QStringLiteral("Clay Brushes "), QStringLiteral("Hard Surface")}));
    QCOMPARE(names(m_store->libraryModel()), names(m_store->model()));
    QCOMPARE(m_store->featuredModel()->rowCount(), 2);
    m_store->filterByName(QStringLiteral("(")); // not an expression: the lists stay
    QCOMPARE(m_store->model()->rowCount(), 2);
    m_store->filterByName(QString());
    QVERIFY(!m_store->filtered());
    QCOMPARE(m_store->model()->rowCount(), 7);

    m_store->filterByInstalled(false);
    QVERIFY(m_store->filtered());
    QCOMPARE(names(m_store->model()).contains(QStringLiteral("Empty Pack")), false);
    m_store->filterByNotInstalled(false);
    QVERIFY(!m_store->filtered());
    QCOMPARE(m_store->model()->rowCount(), 0);
    m_store->filterByInstalled(true);
    m_store->filterByNotInstalled(true);

    // Disabled but not 0: the lists ignore it, the flag does not.
    m_store->filterByCategory(false, 10);
    QVERIFY(m_store->filtered());
    QCOMPARE(m_store->model()->rowCount(), 7);
    QCOMPARE(m_store->currentCategories()->stringList(), QStringList());
    m_store->filterByCategoryName(true, QStringLiteral("hard surface"));
    QCOMPARE(names(m_store->model()), QStringList{QStringLiteral("Hard Surface")});
    QCOMPARE(m_store->currentCategories()->stringList(), (QStringList{QStringLiteral("Brushes"), QStringLiteral("Hard Surface")}));
    m_store->filterByCategory(true, 0);
    QVERIFY(!m_store->filtered());
    QCOMPARE(m_store->model()->rowCount(), 7);
    // Every filter call but the invalid expression says so.
    QCOMPARE(filtered.count(), 9);

    // A store window opened anew starts unfiltered.
    m_store->filterByName(QStringLiteral("clay"));
    m_store->filterByCategory(true, 10);
    m_store->initialize();
    QVERIFY(!m_store->filtered());
    QCOMPARE(m_store->currentCategories()->rowCount(), 0);
    QTRY_COMPARE(m_store->model()->rowCount(), 7);
}

void TestStoreService::downloadsJoinTheCatalogues()
{
    CatalogueUnderTest<BrushDataService> brushes;
    CatalogueUnderTest<AlphaDataService> alphas;
    QVERIFY(brushes.start(*m_library, DatabaseService::Brush));
    QVERIFY(alphas.start(*m_library, DatabaseService::Alpha));
    const int alphasBefore = alphas->rowCount();
    startStore(QStringLiteral("artist"), artistPassword);
    m_store->addInstalledCheck(QStringLiteral("brush"), brushes->namePredicate());
    m_store->addInstallListener(QStringLiteral("brush"), brushes->folderAction());
    m_store->addInstalledCheck(QStringLiteral("alpha"), alphas->namePredicate());
    m_store->addInstallListener(QStringLiteral("alpha"), alphas->folderAction());
    m_store->setSetInfoHandler(brushes->metadataAction());
    QTRY_COMPARE(m_store->libraryModel()->rowCount(), 4);

    // The whole product.
    const QSharedPointer<Product> clay = m_store->productById(101);
    QSignalSpy percent(clay->downloadStatus(), &DownloadStatusInfo::percentChanged);
    m_store->downloadProductById(101);
    QCOMPARE(clay->status(), DownloadStatusInfo::Downloading);
    QTRY_COMPARE(clay->status(), DownloadStatusInfo::Installed);
    QVERIFY(percent.count() > 0);
    const QString folder = m_library->folder(QStringLiteral("library/KIVSource/Clay Brushes"));
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/Clay/KIV Clay Buildup.ZBP")));
    QVERIFY(brushes.settle() && alphas.settle());
    QVERIFY(brushes->containsName(QStringLiteral("KIV Clay Buildup")));
    QVERIFY(brushes->containsName(QStringLiteral("KIV Clay Tube")));
    QVERIFY(alphas->containsName(QStringLiteral("KIV Pores")));
    QCOMPARE(alphas->rowCount(), alphasBefore + 1);

    // Two sub-products of another product: set information is asked for once.
    SubProduct *set = m_store->productById(101)->subProductItems().at(0);
    SubProduct *skin = m_store->productById(101)->subProductItems().at(1);
    clay->setInstalled(false);
    set->setInstalled(false);
    skin->setInstalled(false);
    m_store->downloadProduct(set);
    m_store->downloadProduct(skin);
    QTRY_COMPARE(skin->status(), DownloadStatusInfo::Installed);
    QCOMPARE(set->status(), DownloadStatusInfo::Installed);
    QTRY_VERIFY(m_library->database->hasStoreSetInfo(QStringLiteral("Clay Brushes ")));
    QCOMPARE(requestsTo(m_server.requests(), setInfoPath).size(), 1);
    QVERIFY(brushes.settle());
    QVERIFY(brushes->containsName(QStringLiteral("KIV Clay Set")));
    QVERIFY(alphas->containsName(QStringLiteral("KIV Wrinkles")));
    // Both sub-products in: the product counts as installed again.
    QVERIFY(clay->installed());
}

void TestStoreService::misbehavingStore_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"malformed", "wrongshape", "error", "stall"}) {
        for (const char *route : {"products", "login", "sales", "featured", "subscriptions", "link", "setinfo"})
            QTest::addRow("%s %s", route, kind) << QString::fromLatin1(route) << QString::fromLatin1(kind);
    }
    QTest::addRow("link empty") << QStringLiteral("link") << QStringLiteral("empty");
    // Set information nested 60000 levels deep overflowed the stack.
    QTest::addRow("setinfo deep") << QStringLiteral("setinfo") << QStringLiteral("deep");
}

void TestStoreService::misbehavingStore()
{
    QFETCH(QString, route);
    QFETCH(QString, kind);
    QVERIFY(m_server.setFault(route, kind));
    s_closedReads.clear();
    s_previousHandler = qInstallMessageHandler(recordClosedReads);
    const auto restoreHandler = qScopeGuard([] { qInstallMessageHandler(s_previousHandler); });
    const auto noClosedReads = qScopeGuard([] { QVERIFY2(s_closedReads.isEmpty(), qPrintable(s_closedReads.join('\n'))); });
    // A login that is already stored must survive a store that cannot answer.
    CredentialScrambler scrambler(StoreCredentialKey);
    const QString storedUser = scrambler.scrambleToString(QStringLiteral("artist"));
    m_library->database->writeSetting(DatabaseService::TokVal1, storedUser);
    m_library->database->writeSetting(DatabaseService::TokVal2, scrambler.scrambleToString(artistPassword));
    startStore();

    // The screen always stops waiting and the login always ends.
    QTRY_VERIFY_WITH_TIMEOUT(m_store->hasProductList() && !m_store->isLoggingIn(), 10000);
    if (route == QLatin1String("products")) {
        QCOMPARE(m_store->rowCount(), 0);
        QCOMPARE(requestsTo(m_server.requests(), featuredPath).size(), 0);
        return;
    }
    if (route == QLatin1String("featured")) {
        QCOMPARE(m_store->featuredModel()->rowCount(), 0);
        QCOMPARE(m_store->model()->rowCount(), 7);
        return;
    }
    if (route == QLatin1String("login")) {
        QVERIFY(m_store->loginFailed() && !m_store->isLoggedIn());
        QCOMPARE(m_library->database->readSetting(DatabaseService::TokVal1).toString(), storedUser);
        QCOMPARE(requestsTo(m_server.requests(), salesPath).size(), 0);
        return;
    }
    QTRY_VERIFY(m_store->isLoggedIn());
    if (route == QLatin1String("sales")) {
        QTest::qWait(200);
        QCOMPARE(m_store->libraryModel()->rowCount(), 0);
        QCOMPARE(requestsTo(m_server.requests(), subscriptionsPath).size(), 0);
        return;
    }
    QTRY_COMPARE(m_store->libraryModel()->rowCount(), 4);
    if (route == QLatin1String("subscriptions")) {
        QTRY_COMPARE(requestsTo(m_server.requests(), subscriptionsPath).size(), 1);
        QTest::qWait(kind == QLatin1String("stall") ? 2000 : 200);
        QVERIFY(!m_store->ownsAll());
        QCOMPARE(m_store->libraryModel()->rowCount(), 4);
        return;
    }
    // The download road: a link that is no link fails the item and nothing else.
    SubProduct *set = m_store->productById(101)->subProductItems().at(0);
    m_store->downloadProduct(set);
    if (route == QLatin1String("link")) {
        QTRY_VERIFY_WITH_TIMEOUT(!m_store->downloadManager()->processingQueue(), 10000);
        QCOMPARE(set->status(), DownloadStatusInfo::None);
        QCOMPARE(set->downloadStatus()->errorMessage(), kind == QLatin1String("empty")
                     ? QStringLiteral("No files found for this product.") : QStringLiteral("Error downloading file."));
        return;
    }
    QTRY_COMPARE(set->status(), DownloadStatusInfo::Installed);
    QTRY_COMPARE(requestsTo(m_server.requests(), setInfoPath).size(), 1);
    QTest::qWait(kind == QLatin1String("stall") ? 2000 : 200);
    QVERIFY(!m_library->database->hasStoreSetInfo(QStringLiteral("Clay Brushes ")));
}

void TestStoreService::replyIds_data()
{
    QTest::addColumn<QByteArray>("featured");
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("numbers and numeric texts") << QByteArray(R"([1, "7", 2147483647, -2147483648])")
                                               << QList<int>{1, 7, 2147483647, std::numeric_limits<int>::min()};
    // Converting these to int was undefined behaviour.
    QTest::newRow("fractions and numbers no int holds")
        << QByteArray(R"([1.5, 2e94, -3e10, 2147483648, 4])") << QList<int>{4};
}

void TestStoreService::replyIds()
{
    QFETCH(QByteArray, featured);
    QFETCH(QList<int>, ids);
    QList<int> read;
    QVERIFY(StoreReplies::parseFeatured(featured, &read));
    QCOMPARE(read, ids);
}

void TestStoreService::realLoginReplies()
{
    const QString folder = realDataFolder();
    if (folder.isEmpty())
        QSKIP("no real data folder");
    const auto read = [&folder](const char *name) {
        QFile file(folder + QStringLiteral("/store/") + QLatin1String(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const StoreReplies::Login success = StoreReplies::parseLogin(read("jwt-auth_v1_token_success.json"));
    QVERIFY(success.wellFormed && success.ok);
    QCOMPARE(success.email, QStringLiteral("admin@localhost.dev"));
    const StoreReplies::Login refused = StoreReplies::parseLogin(read("jwt-auth_v1_token_error_invalid_credentials.json"));
    QVERIFY(refused.wellFormed && !refused.ok);
}

void TestStoreService::refreshWhileDownloadingKeepsTheDownload()
{
    QVERIFY(m_server.setFault(QStringLiteral("download/102"), QStringLiteral("slow")));
    startStore(QStringLiteral("artist"), artistPassword);
    QTRY_COMPARE(m_store->libraryModel()->rowCount(), 4);
    const QSharedPointer<Product> hard = m_store->productById(102);
    m_store->downloadProductById(102);
    QTRY_VERIFY(hard->downloadStatus()->percent() > 0);
    // The store window opened again asks for the catalogue anew.
    m_store->initialize();
    QTRY_VERIFY(m_store->hasProductList() && m_store->rowCount() == 8);
    QCOMPARE(m_store->productById(102), hard);
    QTRY_COMPARE_WITH_TIMEOUT(hard->status(), DownloadStatusInfo::Installed, 15000);
}

QTEST_GUILESS_MAIN(TestStoreService)
#include "tst_storeservice.moc"
