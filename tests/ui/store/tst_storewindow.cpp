// The store window against the local store server, driven as a person would: the
// login popup, the grid's sections under filters, search and categories, the product
// page, the table view, downloads to the check mark and across a closed window, and
// web pictures that load late or never.
#include "tests/ui/common/uifixture.h"

#include "Model/downloadstatusinfo.h"
#include "Model/product.h"
#include "Model/storedataservice.h"
#include "appservices.h"
#include "tests/common/storeserverprocess.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QQuickItem>
#include <QtTest>

class StoreWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensAsItsOwnWindow();
    void failedCatalogueEndsTheBusyIndicator();
    void loginThroughThePopup();
    void loginUnderWayLocksThePopup();
    void sectionsFollowFiltersAndSubscriptions();
    void searchAndCategoriesNarrowTheBrowseGrid();
    void bothInstallTogglesOffEmptyTheLists();
    void productPageOpensAndBackReturns();
    void tableViewListsTheProducts();
    void downloadAllRunsToTheCheckMark();
    void oneSetDownloadsOnItsOwn();
    void downloadGoesOnWhileTheWindowIsClosed();
    void failedDownloadOffersItAgain();
    void webPicturesNeverBlockTheWindow();

private:
    StoreDataService *store() const { return m_fixture->services()->store(); }
    StoreServerProcess *server() const { return m_fixture->storeServer(); }
    bool start();
    // Presses "Library" in the main window; the store window, shown and drawn.
    QQuickWindow *openStore();
    bool waitForCatalogue();
    QQuickItem *item(const QString &name, QObject *root = nullptr) const;
    // The names on the panels of a section of the grid, in their order.
    QStringList panelNames(const QString &section) const;
    QQuickItem *panel(const QString &section, int id) const;
    // An item of a product's panel in "Browse". Delegates are made anew whenever a
    // list is re-sorted (a login does it), so they are looked up every time.
    QQuickItem *inPanel(const QString &name, int id) const;
    bool shownInPanel(const QString &name, int id) const;
    // Waits for the item to be shown (delegates and popups come a frame late), then clicks it.
    bool press(const QString &name, QObject *root = nullptr);
    bool typeInto(const QString &field, const QString &text);
    // Scrolls the view that holds the item until it is in sight, then clicks it.
    bool clickInView(QQuickItem *target);
    bool login(const QString &user, const QString &password, bool expectSuccess = true);

    std::unique_ptr<UiFixture> m_fixture;
    QPointer<QQuickWindow> m_window;
};

void StoreWindowTest::init()
{
    m_fixture = std::make_unique<UiFixture>();
    QVERIFY(m_fixture->isValid());
    QVERIFY(m_fixture->startStore(QStringLiteral(KIVARA_STORE_CATALOGUE)));
    // Downloads go to a library folder of the test's own.
    QVERIFY(QDir().mkpath(m_fixture->path(QStringLiteral("library/KIVSource"))));
    m_fixture->storeSetting(DatabaseService::LibraryLocation, m_fixture->path(QStringLiteral("library")));
}

void StoreWindowTest::cleanup()
{
    const QString warnings = m_fixture->warningText();
    m_fixture.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}

bool StoreWindowTest::start()
{
    return m_fixture->start() && m_fixture->waitForRendering(m_fixture->mainWindow());
}

QQuickWindow *StoreWindowTest::openStore()
{
    if (!m_fixture->click(QStringLiteral("libraryButton")))
        return nullptr;
    const QList<QObject *> windows = m_fixture->findAll(QStringLiteral("storeWindow"));
    for (QObject *object : windows) {
        auto *window = qobject_cast<QQuickWindow *>(object);
        if (window && window != m_window && window->isVisible()) {
            m_window = window;
            return m_fixture->waitForRendering(window) ? window : nullptr;
        }
    }
    return nullptr;
}

bool StoreWindowTest::waitForCatalogue()
{
    return QTest::qWaitFor([this] { return store()->hasProductList(); }, 10000);
}

QQuickItem *StoreWindowTest::item(const QString &name, QObject *root) const
{
    return m_fixture->findItem(name, root ? root : m_window.data());
}

QStringList StoreWindowTest::panelNames(const QString &section) const
{
    QStringList names;
    QQuickItem *flow = item(QStringLiteral("sectionFlow"), item(section));
    if (!flow)
        return {QStringLiteral("<no section %1>").arg(section)};
    for (QQuickItem *child : flow->childItems()) {
        if (child->objectName().startsWith(QLatin1String("productPanel_")))
            names << child->property("name").toString();
    }
    return names;
}

QQuickItem *StoreWindowTest::panel(const QString &section, int id) const
{
    return item(QStringLiteral("productPanel_%1").arg(id), item(section));
}

QQuickItem *StoreWindowTest::inPanel(const QString &name, int id) const
{
    QQuickItem *found = panel(QStringLiteral("browseSection"), id);
    return found ? item(name, found) : nullptr;
}

bool StoreWindowTest::shownInPanel(const QString &name, int id) const
{
    QQuickItem *found = inPanel(name, id);
    return found && found->isVisible();
}

bool StoreWindowTest::clickInView(QQuickItem *target)
{
    // Positions are those of the last layout: let a frame lay out new delegates first.
    if (!target || !m_fixture->waitForRendering(m_window))
        return false;
    for (QQuickItem *parent = target->parentItem(); parent; parent = parent->parentItem()) {
        if (!parent->inherits("QQuickFlickable"))
            continue;
        QQuickItem *content = parent->property("contentItem").value<QQuickItem *>();
        const QRectF area = target->mapRectToItem(content, QRectF(0, 0, target->width(), target->height()));
        const double top = parent->property("contentY").toDouble();
        if (area.top() < top || area.bottom() > top + parent->height())
            parent->setProperty("contentY", qMax(0.0, area.top() - 10));
        break;
    }
    return m_fixture->click(target);
}

bool StoreWindowTest::press(const QString &name, QObject *root)
{
    const auto shown = [&] {
        QQuickItem *found = item(name, root);
        return found && found->isVisible() && found->width() > 0 && found->height() > 0;
    };
    return QTest::qWaitFor(shown, 5000) && m_fixture->click(item(name, root));
}

bool StoreWindowTest::typeInto(const QString &field, const QString &text)
{
    if (!m_fixture->activate(m_window) || !press(field))
        return false;
    QQuickItem *edit = item(field);
    QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_window, Qt::Key_Backspace);
    for (const QChar c : text)
        QTest::keyClick(m_window, c.toLatin1());
    return edit->property("text").toString() == text;
}

bool StoreWindowTest::login(const QString &user, const QString &password, bool expectSuccess)
{
    if (!press(QStringLiteral("loginButton")))
        return false;
    auto *popup = m_fixture->findObject(QStringLiteral("loginPopup"), m_window);
    if (!popup || !QTest::qWaitFor([popup] { return popup->property("opened").toBool(); }, 3000))
        return false;
    if (!typeInto(QStringLiteral("usernameField"), user) || !typeInto(QStringLiteral("passwordField"), password))
        return false;
    // The login chain ends with the subscriptions, which re-sort the lists and so
    // make their delegates anew: wait for it, so that no item found later goes away.
    int resorted = 0;
    QObject counting; // the connection goes with it
    connect(store()->model(), &QAbstractItemModel::layoutChanged, &counting, [&resorted] { ++resorted; });
    return press(QStringLiteral("loginAcceptButton"))
        && (!expectSuccess || QTest::qWaitFor([&resorted] { return resorted > 0; }, 10000));
}

void StoreWindowTest::opensAsItsOwnWindow()
{
    QVERIFY(start());
    QQuickWindow *window = openStore();
    QVERIFY(window);
    QCOMPARE(window->title(), QStringLiteral("KIV Source"));
    QCOMPARE(window->size(), QSize(1200, 600));
    QCOMPARE(window->minimumSize(), QSize(400, 200));
    QVERIFY(waitForCatalogue());
    QVERIFY(!item(QStringLiteral("catalogueBusyIndicator"))->isVisible());
    QTRY_COMPARE(panelNames(QStringLiteral("browseSection")),
                 (QStringList{QStringLiteral("Clay Pack"), QStringLiteral("Panel Brushes"), QStringLiteral("Pore Alphas"),
                              QStringLiteral("Starter Set")}));
    QCOMPARE(panelNames(QStringLiteral("featuredSection")), (QStringList{QStringLiteral("Clay Pack"), QStringLiteral("Starter Set")}));
    QCOMPARE(panelNames(QStringLiteral("subscriptionsSection")), QStringList{QStringLiteral("Studio Membership")});
    // Logged out, nothing is owned: prices and the way to the store's page.
    QCOMPARE(inPanel(QStringLiteral("productPrice"), 301)->property("text").toString(), QStringLiteral("$19.00"));
    QVERIFY(shownInPanel(QStringLiteral("storeButton"), 301));
    QVERIFY(!shownInPanel(QStringLiteral("productStatus"), 301));
    QVERIFY(clickInView(inPanel(QStringLiteral("storeButton"), 301)));
    QVERIFY(m_fixture->openedUrls().contains(QUrl(QStringLiteral("https://kivara.test/store/clay-pack"))));

    // Each press makes a new window; a closed one is gone.
    QPointer<QQuickWindow> first = window;
    window->close();
    QTRY_VERIFY(first.isNull());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QTRY_COMPARE(panelNames(QStringLiteral("browseSection")).size(), 4);
}

void StoreWindowTest::failedCatalogueEndsTheBusyIndicator()
{
    QVERIFY(server()->setFault(QStringLiteral("products"), QStringLiteral("stall")));
    QVERIFY(start());
    store()->setTransferTimeout(1500);
    QVERIFY(openStore());
    QQuickItem *busy = item(QStringLiteral("catalogueBusyIndicator"));
    QVERIFY(busy->isVisible());
    QVERIFY(busy->property("running").toBool());
    QVERIFY(!item(QStringLiteral("storeGridView")));

    QVERIFY(waitForCatalogue());
    QTRY_VERIFY(!busy->isVisible());
    QVERIFY(item(QStringLiteral("storeGridView")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList());

    // An answer of the server that is an error ends it as well.
    QVERIFY(server()->setFault(QStringLiteral("products"), QStringLiteral("error")));
    m_window->close();
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QTRY_VERIFY(!item(QStringLiteral("catalogueBusyIndicator"))->isVisible());
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList());
}

void StoreWindowTest::loginThroughThePopup()
{
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QVERIFY(login(QStringLiteral("artist"), QStringLiteral("wrong"), false));
    QQuickItem *stateText = item(QStringLiteral("loginStateText"));
    QTRY_COMPARE(stateText->property("text").toString(), QStringLiteral("Login attempt failed."));
    QObject *popup = m_fixture->findObject(QStringLiteral("loginPopup"), m_window);
    QVERIFY(popup->property("opened").toBool());
    QVERIFY(item(QStringLiteral("loginButton"))->isVisible());
    QVERIFY(!item(QStringLiteral("userButton"))->isVisible());

    // The password is masked; Return in it submits.
    QVERIFY(typeInto(QStringLiteral("passwordField"), QStringLiteral("sculpt")));
    QCOMPARE(item(QStringLiteral("passwordField"))->property("echoMode").toInt(), 2);
    int resorted = 0;
    QObject counting; // the connection goes with it
    connect(store()->model(), &QAbstractItemModel::layoutChanged, &counting, [&resorted] { ++resorted; });
    QTest::keyClick(m_window, Qt::Key_Return);
    QTRY_VERIFY(!popup->property("visible").toBool());
    QTRY_VERIFY(resorted > 0);
    QVERIFY(store()->isLoggedIn());
    QQuickItem *user = item(QStringLiteral("userButton"));
    QVERIFY(user->isVisible());
    QCOMPARE(user->property("text").toString(), QStringLiteral("artist"));
    QVERIFY(!item(QStringLiteral("loginButton"))->isVisible());
    // Owned (bought, and free once logged in): the download instead of the price.
    QTRY_VERIFY(shownInPanel(QStringLiteral("productStatus"), 301));
    QVERIFY(!shownInPanel(QStringLiteral("productPrice"), 301));
    QVERIFY(shownInPanel(QStringLiteral("downloadButton"), 301));
    QTRY_VERIFY(shownInPanel(QStringLiteral("productStatus"), 303));
    QVERIFY(shownInPanel(QStringLiteral("storeButton"), 302));

    QVERIFY(m_fixture->click(user));
    QQuickItem *logout = item(QStringLiteral("logoutButton"));
    QTRY_VERIFY(logout && logout->isVisible());
    QVERIFY(m_fixture->click(logout));
    QVERIFY(!store()->isLoggedIn());
    QTRY_VERIFY(item(QStringLiteral("loginButton"))->isVisible());
    QVERIFY(!user->isVisible());
    QTRY_VERIFY(shownInPanel(QStringLiteral("storeButton"), 301));
}

void StoreWindowTest::loginUnderWayLocksThePopup()
{
    QVERIFY(server()->setFault(QStringLiteral("login"), QStringLiteral("stall")));
    QVERIFY(start());
    store()->setTransferTimeout(2000);
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QVERIFY(login(QStringLiteral("artist"), QStringLiteral("sculpt"), false));
    QQuickItem *stateText = item(QStringLiteral("loginStateText"));
    QTRY_COMPARE(stateText->property("text").toString(), QStringLiteral("Logging in..."));
    for (const char *name : {"usernameField", "passwordField", "loginAcceptButton", "loginCloseButton"})
        QVERIFY2(!item(QLatin1String(name))->isEnabled(), name);
    QVERIFY(!item(QStringLiteral("loginButton"))->isVisible());
    QQuickItem *busy = item(QStringLiteral("loginBusyIndicator"));
    QVERIFY(busy->isVisible() && busy->property("running").toBool());
    // A second Return while it runs asks nothing more of the store.
    QTest::keyClick(m_window, Qt::Key_Return);

    // The store never answers: the login fails and the popup is usable again.
    QTRY_COMPARE_WITH_TIMEOUT(stateText->property("text").toString(), QStringLiteral("Login attempt failed."), 10000);
    QVERIFY(!busy->property("running").toBool());
    QVERIFY(item(QStringLiteral("passwordField"))->isEnabled());
    QVERIFY(item(QStringLiteral("loginAcceptButton"))->isEnabled());
    QVERIFY(item(QStringLiteral("loginButton"))->isVisible());
    QVERIFY(!item(QStringLiteral("userButton"))->isVisible());
    int tokenRequests = 0;
    for (const QJsonValue request : server()->requests())
        tokenRequests += request.toObject().value(QStringLiteral("path")).toString().endsWith(QLatin1String("/token"));
    QCOMPARE(tokenRequests, 1);
}

void StoreWindowTest::sectionsFollowFiltersAndSubscriptions()
{
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    const auto shown = [this] {
        QStringList sections;
        for (const char *name : {"subscriptionsSection", "featuredSection", "browseSection"}) {
            if (item(QLatin1String(name))->isVisible())
                sections << QLatin1String(name);
        }
        return sections.join(QLatin1Char(' '));
    };
    const QString all = QStringLiteral("subscriptionsSection featuredSection browseSection");
    QCOMPARE(shown(), all);

    QVERIFY(typeInto(QStringLiteral("searchBox"), QStringLiteral("pa")));
    QCOMPARE(shown(), QStringLiteral("browseSection"));
    QVERIFY(press(QStringLiteral("clearSearchButton")));
    QCOMPARE(item(QStringLiteral("searchBox"))->property("text").toString(), QString());
    QCOMPARE(shown(), all);

    QVERIFY(press(QStringLiteral("categoryItem_Alphas")));
    QCOMPARE(shown(), QStringLiteral("browseSection"));
    QVERIFY(press(QStringLiteral("categoryItem_All")));
    QCOMPARE(shown(), all);

    // The two install toggles apart filter; together they do not.
    QVERIFY(press(QStringLiteral("notInstalledToggle")));
    QCOMPARE(shown(), QStringLiteral("browseSection"));
    QVERIFY(press(QStringLiteral("installedToggle")));
    QCOMPARE(shown(), all);
    QVERIFY(press(QStringLiteral("installedToggle")));
    QVERIFY(press(QStringLiteral("notInstalledToggle")));
    QCOMPARE(shown(), all);

    // A subscription to everything leaves nothing to offer.
    QVERIFY(login(QStringLiteral("studio"), QStringLiteral("studio")));
    QTRY_VERIFY(store()->ownsAll());
    QCOMPARE(shown(), QStringLiteral("featuredSection browseSection"));
    QVERIFY(press(QStringLiteral("installedToggle")));
    QCOMPARE(shown(), QStringLiteral("browseSection"));
}

void StoreWindowTest::searchAndCategoriesNarrowTheBrowseGrid()
{
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QTRY_COMPARE(panelNames(QStringLiteral("browseSection")).size(), 4);

    QVERIFY(typeInto(QStringLiteral("searchBox"), QStringLiteral("CLAY")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList{QStringLiteral("Clay Pack")});
    QVERIFY(typeInto(QStringLiteral("searchBox"), QStringLiteral("A")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")),
             (QStringList{QStringLiteral("Clay Pack"), QStringLiteral("Panel Brushes"), QStringLiteral("Pore Alphas"),
                          QStringLiteral("Starter Set")}));
    QVERIFY(typeInto(QStringLiteral("searchBox"), QStringLiteral("brushes")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList{QStringLiteral("Panel Brushes")});
    QVERIFY(press(QStringLiteral("clearSearchButton")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")).size(), 4);

    // The tree shows every branch open; a click narrows and marks the row.
    QQuickItem *list = item(QStringLiteral("categoryList"));
    QStringList rows;
    for (QQuickItem *child : list->property("contentItem").value<QQuickItem *>()->childItems()) {
        if (child->objectName().startsWith(QLatin1String("categoryItem_")))
            rows << child->objectName().mid(13);
    }
    QCOMPARE(rows, (QStringList{QStringLiteral("All"), QStringLiteral("Alphas"), QStringLiteral("Brushes"),
                                QStringLiteral("Clay"), QStringLiteral("Hard Surface"), QStringLiteral("Free")}));
    QVERIFY(item(QStringLiteral("categoryItem_All"))->property("selected").toBool());
    QVERIFY(press(QStringLiteral("categoryItem_Brushes")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), (QStringList{QStringLiteral("Clay Pack"), QStringLiteral("Panel Brushes")}));
    QVERIFY(item(QStringLiteral("categoryItem_Brushes"))->property("selected").toBool());
    QVERIFY(!item(QStringLiteral("categoryItem_All"))->property("selected").toBool());
    QVERIFY(press(QStringLiteral("categoryItem_Hard Surface")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList{QStringLiteral("Panel Brushes")});
    QCOMPARE(store()->currentCategories()->stringList(), (QStringList{QStringLiteral("Brushes"), QStringLiteral("Hard Surface")}));
    // Search and category together.
    QVERIFY(press(QStringLiteral("categoryItem_Brushes")));
    QVERIFY(typeInto(QStringLiteral("searchBox"), QStringLiteral("clay")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList{QStringLiteral("Clay Pack")});
    QVERIFY(press(QStringLiteral("categoryItem_All")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList{QStringLiteral("Clay Pack")});
}

void StoreWindowTest::bothInstallTogglesOffEmptyTheLists()
{
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QVERIFY(login(QStringLiteral("artist"), QStringLiteral("sculpt")));
    QTRY_COMPARE(store()->libraryModel()->rowCount(), 2);
    QTRY_COMPARE(panelNames(QStringLiteral("browseSection")).size(), 4);

    QVERIFY(press(QStringLiteral("installedToggle")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")).size(), 4);
    QVERIFY(press(QStringLiteral("notInstalledToggle")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList());
    QCOMPARE(store()->libraryModel()->rowCount(), 0);
    QVERIFY(!item(QStringLiteral("installedToggle"))->property("checked").toBool());

    QVERIFY(press(QStringLiteral("installedToggle")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList());
    QVERIFY(press(QStringLiteral("notInstalledToggle")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")).size(), 4);
    QCOMPARE(store()->libraryModel()->rowCount(), 2);
}

void StoreWindowTest::productPageOpensAndBackReturns()
{
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QTRY_VERIFY(panel(QStringLiteral("browseSection"), 302));

    QVERIFY(clickInView(inPanel(QStringLiteral("productPictureArea"), 302)));
    QQuickItem *page = item(QStringLiteral("productPage"));
    QVERIFY(page && page->isVisible());
    QVERIFY(!item(QStringLiteral("libraryPage"))->isVisible());
    QTRY_COMPARE(item(QStringLiteral("productPageName"))->property("text").toString(), QStringLiteral("Pore Alphas"));
    QCOMPARE(item(QStringLiteral("productDescription"))->height(), 125.0);
    // Not owned: buy it, at its price; no downloads in the table.
    QVERIFY(!item(QStringLiteral("downloadAllButton"))->isVisible());
    QCOMPARE(item(QStringLiteral("productPagePrice"))->property("text").toString(), QStringLiteral("$9.00"));
    QVERIFY(press(QStringLiteral("purchaseButton")));
    QVERIFY(m_fixture->openedUrls().contains(QUrl(QStringLiteral("https://kivara.test/store/pore-alphas"))));
    QTRY_VERIFY(item(QStringLiteral("subProductRow_0")));
    QCOMPARE(item(QStringLiteral("subProductName"), item(QStringLiteral("subProductRow_0")))->property("text").toString(),
             QStringLiteral("Pore Alphas Set"));
    QVERIFY(!item(QStringLiteral("subProductStatus"), item(QStringLiteral("subProductRow_0")))->isVisible());

    QVERIFY(press(QStringLiteral("backButton")));
    QTRY_VERIFY(!item(QStringLiteral("productPage")));
    QVERIFY(item(QStringLiteral("libraryPage"))->isVisible());

    // A membership from the subscriptions list: its description takes the whole page.
    QVERIFY(press(QStringLiteral("subscriptionItem_305")));
    QTRY_COMPARE(item(QStringLiteral("productPageName"))->property("text").toString(), QStringLiteral("Studio Membership"));
    QVERIFY(item(QStringLiteral("productDescription"))->height() > 300);
    QVERIFY(!item(QStringLiteral("subProductTable"))->isVisible());
    // The top bar's "Library" goes back as well.
    QVERIFY(press(QStringLiteral("storeLibraryButton")));
    QTRY_VERIFY(!item(QStringLiteral("productPage")));
    QVERIFY(item(QStringLiteral("libraryPage"))->isVisible());
}

void StoreWindowTest::tableViewListsTheProducts()
{
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QVERIFY(press(QStringLiteral("viewToggleButton")));
    QTRY_VERIFY(item(QStringLiteral("storeTableView")));
    QVERIFY(!item(QStringLiteral("storeGridView")));
    QTRY_VERIFY(item(QStringLiteral("productRow_304")));
    for (const int id : {301, 302, 303})
        QVERIFY(item(QStringLiteral("productRow_%1").arg(id)));
    QVERIFY(!item(QStringLiteral("productRow_305")));
    const auto price = [this](int id) {
        return item(QStringLiteral("productPrice"), item(QStringLiteral("productRow_%1").arg(id)))->property("text").toString();
    };
    QCOMPARE(price(304), QStringLiteral("$29 - $59"));
    QCOMPARE(price(301), QStringLiteral("$19.00"));

    QVERIFY(login(QStringLiteral("artist"), QStringLiteral("sculpt")));
    QTRY_COMPARE(price(301), QStringLiteral("Owned"));
    QCOMPARE(price(303), QStringLiteral("Owned"));
    QCOMPARE(price(302), QStringLiteral("$9.00"));
    QVERIFY(item(QStringLiteral("downloadButton"), item(QStringLiteral("productRow_301")))->isVisible());

    QVERIFY(press(QStringLiteral("productRow_304")));
    QTRY_COMPARE(item(QStringLiteral("productPageName"))->property("text").toString(), QStringLiteral("Panel Brushes"));
    QVERIFY(press(QStringLiteral("backButton")));
    // Back where it was: the table.
    QTRY_VERIFY(item(QStringLiteral("storeTableView"))->isVisible());
}

void StoreWindowTest::downloadAllRunsToTheCheckMark()
{
    QVERIFY(server()->setFault(QStringLiteral("download/303"), QStringLiteral("slow")));
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QVERIFY(login(QStringLiteral("artist"), QStringLiteral("sculpt")));
    QTRY_VERIFY(shownInPanel(QStringLiteral("productStatus"), 303));
    QVERIFY(clickInView(inPanel(QStringLiteral("productPictureArea"), 303)));
    QQuickItem *downloadAll = item(QStringLiteral("downloadAllButton"));
    QTRY_VERIFY(downloadAll && downloadAll->isVisible());
    QVERIFY(!item(QStringLiteral("installedButton"))->isVisible());
    QVERIFY(item(QStringLiteral("downloadButton"), item(QStringLiteral("subProductRow_0")))->isVisible());

    // Every value the bar shows while it is shown.
    QQuickItem *bar = item(QStringLiteral("downloadProgress"), item(QStringLiteral("productPageStatus")));
    QList<int> shownValues;
    QTimer sampler;
    connect(&sampler, &QTimer::timeout, this, [bar, &shownValues] {
        if (bar->isVisible())
            shownValues << qRound(bar->property("value").toDouble());
    });
    sampler.start(10);

    QVERIFY(m_fixture->click(downloadAll));
    QTRY_VERIFY_WITH_TIMEOUT(item(QStringLiteral("installedButton"))->isVisible(), 20000);
    sampler.stop();
    QVERIFY(!downloadAll->isVisible());
    QVERIFY(!item(QStringLiteral("installedButton"))->isEnabled());
    QVERIFY(!bar->isVisible());
    QList<int> between;
    for (const int value : qAsConst(shownValues)) {
        if (value > 0 && value < 100 && !between.contains(value))
            between << value;
    }
    QVERIFY2(between.size() >= 2, qPrintable(QStringLiteral("values shown: %1").arg(QString::number(shownValues.size()))));
    // Its set is installed with it; so is the panel back in the library.
    QTRY_VERIFY(item(QStringLiteral("installedMark"), item(QStringLiteral("subProductRow_0")))->isVisible());
    QVERIFY(press(QStringLiteral("backButton")));
    QTRY_VERIFY(shownInPanel(QStringLiteral("installedMark"), 303));
    QVERIFY(QFileInfo::exists(m_fixture->path(QStringLiteral("library/KIVSource/Starter Set/Starter A.ZBP"))));
}

void StoreWindowTest::oneSetDownloadsOnItsOwn()
{
    QVERIFY(server()->setFault(QStringLiteral("download/301-alphas"), QStringLiteral("slow")));
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QVERIFY(login(QStringLiteral("artist"), QStringLiteral("sculpt")));
    QTRY_VERIFY(shownInPanel(QStringLiteral("productStatus"), 301));
    QVERIFY(clickInView(inPanel(QStringLiteral("productPictureArea"), 301)));
    QTRY_VERIFY(item(QStringLiteral("subProductRow_1")));
    QQuickItem *brushes = item(QStringLiteral("subProductRow_0"));
    QQuickItem *alphas = item(QStringLiteral("subProductRow_1"));
    QCOMPARE(item(QStringLiteral("subProductName"), alphas)->property("text").toString(), QStringLiteral("Clay Pack Alphas"));

    QVERIFY(press(QStringLiteral("downloadButton"), alphas));
    QTRY_VERIFY(item(QStringLiteral("downloadProgress"), alphas)->isVisible());
    // The other set and the whole product stay where they were.
    QVERIFY(item(QStringLiteral("downloadButton"), brushes)->isVisible());
    QVERIFY(item(QStringLiteral("downloadAllButton"))->isVisible());
    QVERIFY(!item(QStringLiteral("productPageStatus"))->isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(item(QStringLiteral("installedMark"), alphas)->isVisible(), 20000);
    QVERIFY(item(QStringLiteral("downloadButton"), brushes)->isVisible());
    QVERIFY(!item(QStringLiteral("installedMark"), brushes)->isVisible());
    // Only that set's archive came down, into the product's folder.
    QVERIFY(QFileInfo::exists(m_fixture->path(QStringLiteral("library/KIVSource/Clay Pack/Clay Grain.png"))));
    QVERIFY(!QFileInfo::exists(m_fixture->path(QStringLiteral("library/KIVSource/Clay Pack/Clay A.ZBP"))));
}

void StoreWindowTest::downloadGoesOnWhileTheWindowIsClosed()
{
    QVERIFY(server()->setFault(QStringLiteral("download/301"), QStringLiteral("slow")));
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QVERIFY(login(QStringLiteral("artist"), QStringLiteral("sculpt")));
    QTRY_VERIFY(shownInPanel(QStringLiteral("downloadButton"), 301));
    QVERIFY(clickInView(inPanel(QStringLiteral("downloadButton"), 301)));
    QTRY_VERIFY(shownInPanel(QStringLiteral("downloadProgress"), 301));
    const QSharedPointer<Product> product = store()->productById(301);
    QTRY_VERIFY(product->downloadStatus()->percent() > 0);

    QPointer<QQuickWindow> first = m_window;
    m_window->close();
    QTRY_VERIFY(first.isNull());
    QTest::qWait(500);
    QCOMPARE(product->status(), DownloadStatusInfo::Downloading);

    // Opened again: the same download, still moving, then done.
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QTRY_VERIFY(shownInPanel(QStringLiteral("downloadProgress"), 301));
    const auto shownValue = [this] {
        QQuickItem *bar = inPanel(QStringLiteral("downloadProgress"), 301);
        return bar && bar->isVisible() ? bar->property("value").toDouble() : -1.0;
    };
    const double shown = shownValue();
    QVERIFY(shown > 0);
    QTRY_VERIFY(shownValue() != shown);
    QTRY_VERIFY_WITH_TIMEOUT(shownInPanel(QStringLiteral("installedMark"), 301), 30000);
}

void StoreWindowTest::failedDownloadOffersItAgain()
{
    // The store turns the link down: nothing is installed, the download is offered
    // again and its button says why.
    QVERIFY(server()->setFault(QStringLiteral("link/303"), QStringLiteral("error")));
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QVERIFY(login(QStringLiteral("artist"), QStringLiteral("sculpt")));
    QTRY_VERIFY(shownInPanel(QStringLiteral("downloadButton"), 303));
    QVERIFY(clickInView(inPanel(QStringLiteral("downloadButton"), 303)));
    const QSharedPointer<Product> product = store()->productById(303);
    QTRY_VERIFY(product->downloadStatus()->hasError());
    QTRY_VERIFY(shownInPanel(QStringLiteral("downloadButton"), 303));
    QCOMPARE(inPanel(QStringLiteral("downloadButton"), 303)->property("toolTipText").toString(),
             QStringLiteral("Error downloading file."));
    QVERIFY(!shownInPanel(QStringLiteral("installedMark"), 303));

    // The product page offers it again the same way.
    QVERIFY(clickInView(inPanel(QStringLiteral("productPictureArea"), 303)));
    QQuickItem *downloadAll = item(QStringLiteral("downloadAllButton"));
    QTRY_VERIFY(downloadAll && downloadAll->isVisible());
    QCOMPARE(downloadAll->property("toolTipText").toString(), QStringLiteral("Error downloading file."));
    QVERIFY(!item(QStringLiteral("installedButton"))->isVisible());

    // Once the store answers, the same button finishes the job.
    QVERIFY(server()->setFault(QStringLiteral("link/303"), QStringLiteral("none")));
    QVERIFY(m_fixture->click(downloadAll));
    QTRY_VERIFY_WITH_TIMEOUT(item(QStringLiteral("installedButton"))->isVisible(), 20000);
}

void StoreWindowTest::webPicturesNeverBlockTheWindow()
{
    // One picture never comes, one fails, the others arrive.
    QVERIFY(server()->setFault(QStringLiteral("image/clay.png"), QStringLiteral("stall")));
    QVERIFY(server()->setFault(QStringLiteral("image/pores.png"), QStringLiteral("error")));
    QVERIFY(start());
    QVERIFY(openStore());
    QVERIFY(waitForCatalogue());
    QTRY_VERIFY(panel(QStringLiteral("browseSection"), 304));
    const auto placeholderShown = [this](int id) {
        return shownInPanel(QStringLiteral("imagePlaceholder"), id);
    };
    QTRY_VERIFY(!placeholderShown(304));
    QTRY_VERIFY(!placeholderShown(303));
    QTRY_VERIFY(m_fixture->warningText().contains(QLatin1String("pores.png")));
    QVERIFY(placeholderShown(301));
    QVERIFY(placeholderShown(302));
    QVERIFY(!shownInPanel(QStringLiteral("webPicture"), 302));

    // The window answers while a picture hangs.
    QVERIFY(typeInto(QStringLiteral("searchBox"), QStringLiteral("panel")));
    QCOMPARE(panelNames(QStringLiteral("browseSection")), QStringList{QStringLiteral("Panel Brushes")});
    QVERIFY(clickInView(inPanel(QStringLiteral("productPictureArea"), 304)));
    QTRY_COMPARE(item(QStringLiteral("productPageName"))->property("text").toString(), QStringLiteral("Panel Brushes"));

    // The failed picture is the only complaint.
    for (const QString &warning : m_fixture->warnings())
        QVERIFY2(warning.contains(QLatin1String("pores.png")), qPrintable(warning));
    m_fixture->clearWarnings();
}

QTEST_MAIN(StoreWindowTest)
#include "tst_storewindow.moc"
