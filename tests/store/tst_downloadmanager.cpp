#include "Model/archiveextractor.h"
#include "Model/databaseservice.h"
#include "Model/downloadmanager.h"
#include "Model/product.h"
#include "Model/subproduct.h"
#include "tests/common/storeserverprocess.h"

#include <QDirIterator>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString catalogueFile = QStringLiteral(KIVARA_SOURCE_DIR "/tests/store/store-catalogue.json");

// Every status an item passes through.
struct StatusTrail
{
    explicit StatusTrail(IDownloadableItem *item)
    {
        QObject::connect(item->downloadStatus(), &DownloadStatusInfo::currentStatusChanged,
                         [this, item] { statuses << item->status(); });
        QObject::connect(item->downloadStatus(), &DownloadStatusInfo::percentChanged,
                         [this, item] { percents << item->downloadStatus()->percent(); });
    }
    QList<DownloadStatusInfo::Status> statuses;
    QList<int> percents;
};

QSharedPointer<Product> makeProduct(int id, const QString &name, const QStringList &subLinks = {})
{
    auto product = QSharedPointer<Product>::create(id, 0, name);
    for (const QString &link : subLinks)
        product->addSubProductRecord(id, name + QStringLiteral(" ") + link, {}, QStringLiteral("brush"), {}, link, false);
    product->createSubProducts();
    return product;
}

// Files below folder, relative to it.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class TestDownloadManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void memberNames_data();
    void memberNames();
    void folderNames_data();
    void folderNames();
    void installsAProductIntoItsFolder();
    void subProductOfNoKnownProductInstallsIntoTheRoot();
    void hostileArchiveWritesNothingOutside();
    void unwritableMemberEndsWithAnError();
    void failedTransfersMoveOn_data();
    void failedTransfersMoveOn();
    void missingLibraryStopsEveryItem();
    void installedItemIsSkipped();
    void cancelQueuedAndDuplicate();
    void cancelWhileDownloading();
    void cancelWhileTheLinkIsOnItsWay();

private:
    DownloadManager::StoreHooks hooks();
    // Queues the items and waits until the run has ended.
    void runQueue(const QList<IDownloadableItem *> &items);
    QString storeFolder() const { return m_dir->path() + QStringLiteral("/library/KIVSource"); }

    StoreServerProcess m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    QSharedPointer<DatabaseService> m_database;
    std::unique_ptr<DownloadManager> m_manager;
    // Link value -> answer: a URL, "fail" (the request failed) or "hold" (no answer yet).
    QHash<QString, QString> m_answers;
    QStringList m_requestedLinks;
    QHash<int, QSharedPointer<Product>> m_products;
    QStringList m_reports;
};

void TestDownloadManager::initTestCase()
{
    QVERIFY(m_server.start(catalogueFile));
}

void TestDownloadManager::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), m_dir->filePath(QStringLiteral("brushes.db"))));
    m_database = QSharedPointer<DatabaseService>::create(m_dir->filePath(QStringLiteral("brushes.db")),
                                                         QStringLiteral("queue"), true);
    m_database->writeSetting(DatabaseService::LibraryLocation, m_dir->filePath(QStringLiteral("library")));
    QVERIFY(QDir().mkpath(storeFolder()));
    m_manager = std::make_unique<DownloadManager>(m_database, hooks());
    m_manager->setTransferTimeout(1000);
    m_answers.clear();
    m_requestedLinks.clear();
    m_products.clear();
    m_reports.clear();
    QVERIFY(m_server.reset());
}

void TestDownloadManager::cleanup()
{
    m_manager.reset();
    m_database.reset();
}

DownloadManager::StoreHooks TestDownloadManager::hooks()
{
    DownloadManager::StoreHooks hooks;
    hooks.requestLink = [this](const QString &link) {
        m_requestedLinks << link;
        const QString answer = m_answers.value(link);
        if (answer == QLatin1String("hold"))
            return;
        // The store answers later, from the event loop.
        QTimer::singleShot(0, m_manager.get(), [this, answer] {
            if (answer == QLatin1String("fail"))
                m_manager->downloadFailed();
            else
                m_manager->startDownload(QUrl(answer));
        });
    };
    hooks.productById = [this](int id) { return m_products.value(id); };
    hooks.folderInstalled = [this](const QString &folder) { m_reports << QStringLiteral("folder ") + folder; };
    hooks.productInstalled = [this](int id) { m_reports << QStringLiteral("product %1").arg(id); };
    hooks.subProductInstalled = [this](SubProduct *sub) { m_reports << QStringLiteral("sub ") + sub->name(); };
    return hooks;
}

void TestDownloadManager::runQueue(const QList<IDownloadableItem *> &items)
{
    for (IDownloadableItem *item : items)
        m_manager->enqueue(item);
    QTRY_VERIFY_WITH_TIMEOUT(!m_manager->processingQueue(), 15000);
    QVERIFY(!m_manager->currentItem());
}

void TestDownloadManager::memberNames_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("relative");
    QTest::newRow("plain") << "Brush.ZBP" << "Brush.ZBP";
    QTest::newRow("folders") << "Set/Deep/Brush.ZBP" << "Set/Deep/Brush.ZBP";
    QTest::newRow("windows folders") << "Set\\Brush.ZBP" << "Set/Brush.ZBP";
    QTest::newRow("dot steps and doubled separators") << "./Set//./Brush.ZBP" << "Set/Brush.ZBP";
    QTest::newRow("dots inside a name") << "Set/..Brush..ZBP" << "Set/..Brush..ZBP";
    QTest::newRow("parent") << "../Brush.ZBP" << "";
    QTest::newRow("parent after a folder") << "Set/../../Brush.ZBP" << "";
    QTest::newRow("parent inside") << "Set/../Brush.ZBP" << "";
    QTest::newRow("windows parent") << "..\\..\\Brush.ZBP" << "";
    QTest::newRow("absolute") << "/etc/Brush.ZBP" << "";
    QTest::newRow("windows root") << "\\Windows\\Brush.ZBP" << "";
    QTest::newRow("drive") << "C:\\Brush.ZBP" << "";
    QTest::newRow("drive relative") << "c:Brush.ZBP" << "";
    QTest::newRow("stream") << "Set/Brush.ZBP:hidden" << "";
    QTest::newRow("dots and spaces") << "Set/. ./Brush.ZBP" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("only separators") << "//" << "";
}

void TestDownloadManager::memberNames()
{
    QFETCH(QString, member);
    QFETCH(QString, relative);
    QCOMPARE(ArchiveExtractor::safeRelativePath(member), relative);
}

void TestDownloadManager::folderNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::newRow("store name") << "Clay Brushes " << "Clay Brushes";
    QTest::newRow("separators") << "AC/DC\\Pack" << "AC_DC_Pack";
    QTest::newRow("climbing") << "../Pack" << ".._Pack";
    QTest::newRow("dots") << ".." << "_";
    QTest::newRow("windows characters") << "A:B*C?\"D<E>F|G" << "A_B_C__D_E_F_G";
    QTest::newRow("empty") << "" << "";
}

void TestDownloadManager::folderNames()
{
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QCOMPARE(ArchiveExtractor::safeFolderName(name), folder);
}

void TestDownloadManager::installsAProductIntoItsFolder()
{
    const auto product = makeProduct(101, QStringLiteral("Clay Brushes"), {QStringLiteral("a"), QStringLiteral("b")});
    m_products.insert(101, product);
    m_answers.insert(QStringLiteral("101"), m_server.downloadUrl(QStringLiteral("101"), QStringLiteral("ClayBrushes.rar")).toString());
    StatusTrail trail(product.data());
    QSignalSpy running(m_manager.get(), &DownloadManager::processingQueueChanged);
    runQueue({product.data()});

    QCOMPARE(trail.statuses, (QList<DownloadStatusInfo::Status>{DownloadStatusInfo::Queued, DownloadStatusInfo::Downloading,
                                                                 DownloadStatusInfo::Extracting, DownloadStatusInfo::Installed}));
    QCOMPARE(trail.percents.last(), 100);
    QVERIFY(product->installed());
    for (SubProduct *sub : product->subProductItems())
        QCOMPARE(sub->status(), DownloadStatusInfo::Installed);
    QCOMPARE(running.count(), 2);

    const QString folder = storeFolder() + QStringLiteral("/Clay Brushes");
    QCOMPARE(filesBelow(folder), (QStringList{QStringLiteral("Alphas/KIV Pores.png"), QStringLiteral("Clay/KIV Clay Buildup.ZBP"),
                                             QStringLiteral("Clay/KIV Clay Tube.ZBP")}));
    QCOMPARE(QFileInfo(folder + QStringLiteral("/Clay/KIV Clay Buildup.ZBP")).size(), 3000);
    QCOMPARE(QImage(folder + QStringLiteral("/Alphas/KIV Pores.png")).size(), QSize(64, 32));
    QCOMPARE(m_reports, (QStringList{QStringLiteral("product 101"), QStringLiteral("folder ") + folder}));
}

void TestDownloadManager::subProductOfNoKnownProductInstallsIntoTheRoot()
{
    SubProduct sub(101, 101, QStringLiteral("Clay Alphas"));
    sub.setLink(QStringLiteral("101-alphas"));
    m_answers.insert(QStringLiteral("101-alphas"), m_server.downloadUrl(QStringLiteral("101-alphas"), QStringLiteral("Pack.rar")).toString());
    runQueue({&sub});

    QCOMPARE(sub.status(), DownloadStatusInfo::Installed);
    QCOMPARE(filesBelow(storeFolder()), QStringList{QStringLiteral("Skin/KIV Wrinkles.png")});
    QCOMPARE(m_reports, (QStringList{QStringLiteral("product 101"), QStringLiteral("sub Clay Alphas"),
                                     QStringLiteral("folder ") + storeFolder()}));
}

void TestDownloadManager::hostileArchiveWritesNothingOutside()
{
    QVERIFY(m_server.setFault(QStringLiteral("download"), QStringLiteral("hostile")));
    const auto product = makeProduct(101, QStringLiteral("Clay Brushes"));
    m_products.insert(101, product);
    m_answers.insert(QStringLiteral("101"), m_server.downloadUrl(QStringLiteral("101"), QStringLiteral("ClayBrushes.rar")).toString());
    for (int i = 0; i < 7; ++i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Refusing archive member")));
    runQueue({product.data()});

    QCOMPARE(product->status(), DownloadStatusInfo::None);
    QVERIFY(product->downloadStatus()->hasError());
    QCOMPARE(product->downloadStatus()->errorMessage(), QStringLiteral("Unable to install 7 of 11 files."));
    QVERIFY(!product->installed());
    // The well-named members stay; nothing lands anywhere else.
    const QStringList everything = filesBelow(m_dir->path());
    QCOMPARE(everything, (QStringList{QStringLiteral("brushes.db"), QStringLiteral("library/KIVSource/Clay Brushes/Alphas/KIV Pores.png"),
                                      QStringLiteral("library/KIVSource/Clay Brushes/Clay/KIV Clay Buildup.ZBP"),
                                      QStringLiteral("library/KIVSource/Clay Brushes/Clay/KIV Clay Tube.ZBP")}));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/kivara-store-escaped-absolute.txt")));
    QVERIFY(filesBelow(QFileInfo(m_dir->path()).absolutePath()).filter(QStringLiteral("escaped-")).isEmpty());
}

void TestDownloadManager::unwritableMemberEndsWithAnError()
{
    const auto product = makeProduct(110, QStringLiteral("Blocked Pack"));
    m_products.insert(110, product);
    m_answers.insert(QStringLiteral("110"), m_server.downloadUrl(QStringLiteral("110"), QStringLiteral("Blocked.rar")).toString());
    // A folder where the member's file belongs: no one, not even root, can write it.
    const QString folder = storeFolder() + QStringLiteral("/Blocked Pack");
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/blocked.txt")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot write .*blocked.txt")));
    runQueue({product.data()});

    QCOMPARE(product->status(), DownloadStatusInfo::None);
    QCOMPARE(product->downloadStatus()->errorMessage(), QStringLiteral("Unable to install 1 of 2 files."));
    QVERIFY(product->downloadStatus()->hasError());
    QCOMPARE(filesBelow(folder), QStringList{QStringLiteral("fine.txt")});
    // What was written is offered to the catalogues all the same.
    QCOMPARE(m_reports, QStringList{QStringLiteral("folder ") + folder});
}

void TestDownloadManager::failedTransfersMoveOn_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");

    const QString broken = QStringLiteral("Error downloading file.");
    const QString good = m_server.downloadUrl(QStringLiteral("101"), QStringLiteral("ClayBrushes.rar")).toString();
    QTest::newRow("http error") << QString() << m_server.downloadUrl(QStringLiteral("nothing"), QStringLiteral("x.rar")).toString() << broken;
    QTest::newRow("cut short") << QStringLiteral("cut") << good << broken;
    QTest::newRow("stalled") << QStringLiteral("stall") << good << broken;
    QTest::newRow("link request failed") << QString() << QStringLiteral("fail") << broken;
    QTest::newRow("empty link") << QString() << QString() << QStringLiteral("No files found for this product.");
    QTest::newRow("plain http elsewhere") << QString() << QStringLiteral("http://192.0.2.1/Pack.rar") << broken;
    QTest::newRow("not an archive") << QString()
                                    << m_server.baseUrl().toString() + QStringLiteral("/wp-json/kiv-edd-api/get_featured_products/")
                                    << QStringLiteral("Unable to open the downloaded archive.");
}

void TestDownloadManager::failedTransfersMoveOn()
{
    QFETCH(QString, fault);
    QFETCH(QString, answer);
    QFETCH(QString, message);
    if (!fault.isEmpty())
        QVERIFY(m_server.setFault(QStringLiteral("download/101"), fault));

    const auto failing = makeProduct(101, QStringLiteral("Clay Brushes"), {QStringLiteral("a")});
    SubProduct next(102, 102, QStringLiteral("Hard Surface Brushes"));
    next.setLink(QStringLiteral("102-brushes"));
    m_answers.insert(QStringLiteral("101"), answer);
    m_answers.insert(QStringLiteral("102-brushes"),
                     m_server.downloadUrl(QStringLiteral("102-brushes"), QStringLiteral("HardSurfaceBrushes.rar")).toString());
    runQueue({failing.data(), &next});

    QCOMPARE(failing->status(), DownloadStatusInfo::None);
    QVERIFY(failing->downloadStatus()->hasError());
    QCOMPARE(failing->downloadStatus()->errorMessage(), message);
    QCOMPARE(failing->subProductItems().first()->status(), DownloadStatusInfo::None);
    QVERIFY(!QFileInfo::exists(storeFolder() + QStringLiteral("/Clay Brushes")));
    // The queue went on with the next item.
    QCOMPARE(next.status(), DownloadStatusInfo::Installed);
    QCOMPARE(filesBelow(storeFolder()), QStringList{QStringLiteral("KIV Planar Set.ZBP")});
}

void TestDownloadManager::missingLibraryStopsEveryItem()
{
    m_database->writeSetting(DatabaseService::LibraryLocation, m_dir->filePath(QStringLiteral("nowhere")));
    const auto first = makeProduct(101, QStringLiteral("Clay Brushes"));
    const auto second = makeProduct(102, QStringLiteral("Hard Surface"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot install")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot install")));
    runQueue({first.data(), second.data()});
    for (const auto &product : {first, second}) {
        QCOMPARE(product->status(), DownloadStatusInfo::None);
        QVERIFY(!product->downloadStatus()->hasError());
        QCOMPARE(product->downloadStatus()->errorMessage(), QStringLiteral("Library path doesn't exist or is not writeable."));
    }
    QVERIFY(m_requestedLinks.isEmpty());
}

void TestDownloadManager::installedItemIsSkipped()
{
    const auto installed = makeProduct(101, QStringLiteral("Clay Brushes"));
    installed->setInstalled(true);
    SubProduct next(102, 102, QStringLiteral("Hard Surface Brushes"));
    next.setLink(QStringLiteral("102-brushes"));
    m_answers.insert(QStringLiteral("102-brushes"),
                     m_server.downloadUrl(QStringLiteral("102-brushes"), QStringLiteral("HardSurfaceBrushes.rar")).toString());
    runQueue({installed.data(), &next});
    QCOMPARE(installed->status(), DownloadStatusInfo::Installed);
    QCOMPARE(m_requestedLinks, QStringList{QStringLiteral("102-brushes")});
    QCOMPARE(next.status(), DownloadStatusInfo::Installed);
}

void TestDownloadManager::cancelQueuedAndDuplicate()
{
    const auto first = makeProduct(101, QStringLiteral("Clay Brushes"));
    const auto second = makeProduct(102, QStringLiteral("Hard Surface"), {QStringLiteral("s")});
    const auto sameName = makeProduct(103, QStringLiteral("Hard Surface"));
    m_products.insert(101, first);
    m_answers.insert(QStringLiteral("101"), m_server.downloadUrl(QStringLiteral("101"), QStringLiteral("ClayBrushes.rar")).toString());
    m_manager->enqueue(first.data());
    m_manager->enqueue(second.data());
    m_manager->enqueue(second.data());
    m_manager->enqueue(sameName.data());
    QCOMPARE(sameName->status(), DownloadStatusInfo::None);
    QCOMPARE(second->subProductItems().first()->status(), DownloadStatusInfo::Queued);
    m_manager->cancel(second.data());
    QCOMPARE(second->status(), DownloadStatusInfo::None);
    QCOMPARE(second->subProductItems().first()->status(), DownloadStatusInfo::None);
    QTRY_VERIFY_WITH_TIMEOUT(!m_manager->processingQueue(), 15000);
    QCOMPARE(first->status(), DownloadStatusInfo::Installed);
    QCOMPARE(m_requestedLinks, QStringList{QStringLiteral("101")});
    // Cancelling what is installed changes nothing.
    m_manager->cancel(first.data());
    QCOMPARE(first->status(), DownloadStatusInfo::Installed);
}

void TestDownloadManager::cancelWhileDownloading()
{
    QVERIFY(m_server.setFault(QStringLiteral("download"), QStringLiteral("slow")));
    const auto slow = makeProduct(102, QStringLiteral("Hard Surface"));
    const auto next = makeProduct(101, QStringLiteral("Clay Brushes"));
    m_answers.insert(QStringLiteral("102"), m_server.downloadUrl(QStringLiteral("102"), QStringLiteral("HardSurface.rar")).toString());
    m_answers.insert(QStringLiteral("101"), m_server.downloadUrl(QStringLiteral("101"), QStringLiteral("ClayBrushes.rar")).toString());
    m_manager->enqueue(slow.data());
    m_manager->enqueue(next.data());
    QTRY_VERIFY_WITH_TIMEOUT(slow->downloadStatus()->percent() > 0, 10000);
    QCOMPARE(slow->status(), DownloadStatusInfo::Downloading);
    QVERIFY(m_server.setFault(QStringLiteral("download"), QStringLiteral("none")));
    m_manager->cancel(slow.data());
    QCOMPARE(slow->status(), DownloadStatusInfo::None);
    QTRY_VERIFY_WITH_TIMEOUT(!m_manager->processingQueue(), 15000);
    QCOMPARE(slow->status(), DownloadStatusInfo::None);
    QVERIFY(!slow->downloadStatus()->hasError());
    QCOMPARE(next->status(), DownloadStatusInfo::Installed);
    QCOMPARE(filesBelow(storeFolder()).filter(QStringLiteral("Planar")), QStringList());
}

void TestDownloadManager::cancelWhileTheLinkIsOnItsWay()
{
    const auto product = makeProduct(101, QStringLiteral("Clay Brushes"));
    m_answers.insert(QStringLiteral("101"), QStringLiteral("hold"));
    m_manager->enqueue(product.data());
    QCOMPARE(product->status(), DownloadStatusInfo::Downloading);
    m_manager->cancel(product.data());
    QCOMPARE(product->status(), DownloadStatusInfo::None);
    QVERIFY(m_manager->processingQueue());
    // The late link starts nothing and ends the run.
    m_manager->startDownload(m_server.downloadUrl(QStringLiteral("101"), QStringLiteral("ClayBrushes.rar")));
    QVERIFY(!m_manager->processingQueue());
    QCOMPARE(product->status(), DownloadStatusInfo::None);
    QVERIFY(filesBelow(storeFolder()).isEmpty());
}

QTEST_GUILESS_MAIN(TestDownloadManager)
#include "tst_downloadmanager.moc"
