// The demo ZBrush installation as the program sees it: generated afresh, then the
// program's own services started on it by start-up's wiring.
#include "tools/demo/demoinstallation.h"

#include "appfolders.h"
#include "appservices.h"
#include "Model/alphadataservice.h"
#include "Model/brushdataservice.h"
#include "Model/categoryitem.h"
#include "Model/genericdataservice.h"
#include "Model/hostbridge.h"
#include "Model/resource.h"
#include "Model/resourceroles.h"
#include "Model/systemdataservice.h"
#include "Model/uilayout.h"
#include "Model/zuicolor.h"
#include "providers/zbrushthumbnaildecoder.h"

#include <QQmlContext>
#include <QQmlEngine>

#include <QDirIterator>
#include <QElapsedTimer>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

using ResourceRoles::AlphaRole;

class DemoInstallationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void zbrushIsChosenFromTheStart();
    void everyCatalogueIsFull();
    void thumbnailsDecode();
    void alphaSizesAndDepths();
    void brushCreditsAndCategories();
    void interfaceListsAndColours();
    void sameBytesEveryRun();

private:
    QStringList pathsOf(const QString &kindWord) const;
    QMap<QString, QByteArray> generatedFiles(const QString &prefix) const;

    QTemporaryDir m_dir;
    std::unique_ptr<DemoInstallation> m_demo;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<AppServices> m_services;
    QSharedPointer<HostBridge> m_bridge;
    QSharedPointer<ZUiColor> m_colours;
    QSharedPointer<SystemDataService> m_system;
    QMap<QString, ResourceDataService *> m_catalogues; // by kind word
};

void DemoInstallationTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_demo = std::make_unique<DemoInstallation>(m_dir.filePath(QStringLiteral("demo")));
    QString error;
    QElapsedTimer timer;
    timer.start();
    QVERIFY2(m_demo->writePrefix(&error), qPrintable(error));
    qInfo("The demo installation took %lld ms", timer.elapsed());
    QVERIFY2(m_demo->writeLibrary(QStringLiteral(KIVARA_TEMPLATE_DB), &error), qPrintable(error));

    // The program's view of the machine: the demo's Wine prefix and its own program folder.
    qputenv("WINEPREFIX", QFile::encodeName(m_demo->prefix()));
    qunsetenv("PROGRAMFILES");
    AppFolders::setProgramFolderForTesting(m_demo->programFolder());
    QCOMPARE(AppFolders::databasePath(), m_demo->databasePath());

    m_engine = std::make_unique<QQmlEngine>();
    m_services = std::make_unique<AppServices>(m_engine.get(), AppFolders::databasePath());
    m_services->create();
    m_bridge = m_services->hostBridge();
    m_colours = m_services->uiColor();
    m_system = m_services->system();
    // The catalogues as the interface reaches them.
    QMap<QString, QString> kindWords{{QStringLiteral("brushData"), QStringLiteral("brush")},
                                     {QStringLiteral("alphaData"), QStringLiteral("alpha")},
                                     {QStringLiteral("textureData"), QStringLiteral("texture")},
                                     {QStringLiteral("lightData"), QStringLiteral("light")}};
    for (const GenericDataService::Kind &kind : GenericDataService::kinds())
        kindWords.insert(QString::fromLatin1(kind.contextName), QString::fromLatin1(kind.kindWord));
    for (auto it = kindWords.cbegin(); it != kindWords.cend(); ++it) {
        auto *catalogue = qobject_cast<ResourceDataService *>(m_engine->rootContext()->contextProperty(it.key()).value<QObject *>());
        QVERIFY2(catalogue, qPrintable(it.key()));
        m_catalogues.insert(it.value(), catalogue);
    }
}

void DemoInstallationTest::cleanupTestCase()
{
    m_catalogues.clear();
    m_system.reset();
    m_colours.reset();
    m_bridge.reset();
    m_services.reset();
    m_engine.reset();
    AppFolders::setProgramFolderForTesting(QString());
    qunsetenv("WINEPREFIX");
}

QStringList DemoInstallationTest::pathsOf(const QString &kindWord) const
{
    const ResourceDataService *catalogue = m_catalogues.value(kindWord);
    const int pathRole = kindWord == QLatin1String("brush") ? int(ResourceRoles::BrushRole::Path)
                                                            : int(ResourceRoles::GenericRole::Path);
    QStringList paths;
    for (int row = 0; row < catalogue->rowCount(); ++row)
        paths.append(catalogue->data(catalogue->index(row, 0), pathRole).toString());
    return paths;
}

void DemoInstallationTest::zbrushIsChosenFromTheStart()
{
    QVERIFY(m_system->setupOk());
    QCOMPARE(m_bridge->hostPath(), m_demo->zbrushFolder());
    // Set-up would find the same installation through the registry entry and Program Files.
    QCOMPARE(QDir::cleanPath(AppFolders::installLocationFor(QStringLiteral("ZBrush 2022"))), m_demo->zbrushFolder());
    QCOMPARE(AppFolders::pixologicFolders(), QStringList{m_demo->zbrushFolder()});
    QCOMPARE(AppFolders::defaultLibraryFolder(), m_demo->libraryFolder());
    QCOMPARE(m_system->libraryPath(), m_demo->libraryFolder());
}

void DemoInstallationTest::everyCatalogueIsFull()
{
    const QMap<QString, int> counts = m_demo->content().catalogueCounts();
    QCOMPARE(counts.size(), 12);
    QCOMPARE(m_catalogues.size(), 12);
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        ResourceDataService *catalogue = m_catalogues.value(it.key());
        QVERIFY2(catalogue, qPrintable(it.key()));
        // The built-in "Alpha 01" comes on top of the generated alphas.
        const int expected = it.value() + (it.key() == QLatin1String("alpha") ? 1 : 0);
        QVERIFY2(catalogue->rowCount() == expected,
                 qPrintable(QStringLiteral("%1: %2 rows, %3 expected").arg(it.key()).arg(catalogue->rowCount()).arg(expected)));
    }
    // Companions of alphas and textures stay out.
    const QStringList texturePaths = pathsOf(QStringLiteral("texture"));
    for (const QString &path : texturePaths)
        QVERIFY2(!path.contains(QLatin1String("_alpha.")) && !path.contains(QLatin1String("_ico.")), qPrintable(path));
    const AlphaDataService *alphas = static_cast<AlphaDataService *>(m_catalogues.value(QStringLiteral("alpha")));
    for (int row = 0; row < alphas->rowCount(); ++row)
        QVERIFY(!alphas->data(alphas->index(row, 0), AlphaRole::Name).toString().endsWith(QLatin1String("_ico")));
}

void DemoInstallationTest::thumbnailsDecode()
{
    // Every ZBrush file of the demo carries a thumbnail, brushes, materials and tools included.
    const QStringList kinds{QStringLiteral("brush"), QStringLiteral("material"), QStringLiteral("tool"),
                            QStringLiteral("project"), QStringLiteral("fiber"), QStringLiteral("grid"),
                            QStringLiteral("array"), QStringLiteral("spotlight"), QStringLiteral("renderpreset"),
                            QStringLiteral("light")};
    for (const QString &kind : kinds) {
        const QStringList paths = pathsOf(kind);
        QVERIFY(!paths.isEmpty());
        for (const QString &path : paths) {
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            const QByteArray head = file.read(37000);
            const QString suffix = QFileInfo(path).suffix().toLower();
            const bool redToAlpha = suffix != QLatin1String("zmt") && suffix != QLatin1String("zld")
                && suffix != QLatin1String("zli");
            QByteArray pixels(ZBrushThumbnailDecoder::bufferSize, '\0');
            std::string error;
            QVERIFY2(ZBrushThumbnailDecoder::decode(reinterpret_cast<const uchar *>(head.constData()), size_t(head.size()),
                                                    redToAlpha, reinterpret_cast<uchar *>(pixels.data()), &error),
                     qPrintable(path + QStringLiteral(": ") + QString::fromStdString(error)));
            // A picture, not a flat tile: much of it covered, in more than a few colours (toon shading and grids have few).
            QSet<quint32> colours;
            int covered = 0;
            for (int i = 0; i < pixels.size(); i += 4) {
                colours.insert(qFromUnaligned<quint32>(pixels.constData() + i));
                covered += uchar(pixels.at(i + 3)) == 255 ? 1 : 0;
            }
            QVERIFY2(covered > ZBrushThumbnailDecoder::side * ZBrushThumbnailDecoder::side / 10, qPrintable(path));
            QVERIFY2(colours.size() > 8, qPrintable(path));
        }
    }
}

void DemoInstallationTest::alphaSizesAndDepths()
{
    const AlphaDataService *alphas = static_cast<AlphaDataService *>(m_catalogues.value(QStringLiteral("alpha")));
    const auto rowOf = [alphas](const QString &name) {
        for (int row = 0; row < alphas->rowCount(); ++row) {
            if (alphas->data(alphas->index(row, 0), AlphaRole::Name).toString() == name)
                return row;
        }
        return -1;
    };
    QSet<int> sizes;
    QSet<int> depths;
    for (const DemoContent::Alpha &alpha : m_demo->content().alphas()) {
        const int row = rowOf(alpha.name);
        QVERIFY2(row >= 0, qPrintable(alpha.name));
        const QModelIndex index = alphas->index(row, 0);
        // Image headers are read on worker threads after the walk.
        QTRY_COMPARE_WITH_TIMEOUT(alphas->data(index, AlphaRole::Width).toInt(), alpha.width, 20000);
        QCOMPARE(alphas->data(index, AlphaRole::Height).toInt(), alpha.height);
        QVERIFY2(alphas->data(index, AlphaRole::Depth).toInt() == alpha.depth, qPrintable(alpha.name));
        sizes.insert(qMax(alpha.width, alpha.height));
        depths.insert(alpha.depth);
    }
    // Every size class and both depths of the filters are there to try.
    QCOMPARE(sizes, (QSet<int>{128, 256, 512, 1024, 2048, 4096}));
    QCOMPARE(depths, (QSet<int>{8, 16}));
    QVERIFY(rowOf(QStringLiteral("Alpha 01")) >= 0);
}

void DemoInstallationTest::brushCreditsAndCategories()
{
    const BrushDataService *brushes = static_cast<BrushDataService *>(m_catalogues.value(QStringLiteral("brush")));
    const QMap<QString, DemoContent::Credits> &credits = m_demo->content().credits();
    const auto creditsShown = [&] {
        for (int row = 0; row < brushes->rowCount(); ++row) {
            const QSharedPointer<Resource> brush = brushes->resourceAt(row);
            const DemoContent::Credits expected = credits.value(brush->name());
            if (brush->property("author").toString() != expected.author || brush->property("link").toString() != expected.link)
                return false;
        }
        return true;
    };
    // Credits come a moment after the brushes, from worker threads.
    QTRY_VERIFY_WITH_TIMEOUT(creditsShown(), 20000);

    QMap<QString, const CategoryItem *> rows;
    for (QObject *object : brushes->kivCategoriesModel()) {
        const auto *item = qobject_cast<const CategoryItem *>(object);
        QVERIFY(item);
        rows.insert(item->name(), item);
    }
    const QMap<QString, QString> &groups = m_demo->content().categoryGroups();
    const QMap<QString, int> &counts = m_demo->content().categoryCounts();
    QMap<QString, int> groupCounts;
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        const CategoryItem *row = rows.value(it.key());
        QVERIFY2(row, qPrintable(it.key()));
        QCOMPARE(row->group(), it.value());
        QVERIFY2(row->brushCount() == counts.value(it.key()), qPrintable(it.key()));
        groupCounts[it.value()] += counts.value(it.key());
    }
    for (auto it = groupCounts.cbegin(); it != groupCounts.cend(); ++it) {
        QVERIFY2(rows.contains(it.key()) && rows.value(it.key())->groupHeader(), qPrintable(it.key()));
        QCOMPARE(rows.value(it.key())->brushCount(), it.value());
    }
}

void DemoInstallationTest::interfaceListsAndColours()
{
    const DemoContent &content = m_demo->content();
    const QList<QObject *> layouts = m_system->uiLayouts();
    QCOMPARE(layouts.size(), content.layoutCount());
    QStringList readOnly;
    for (QObject *layout : layouts) {
        if (qobject_cast<UILayout *>(layout)->readOnly())
            readOnly.append(qobject_cast<UILayout *>(layout)->name());
    }
    QStringList standard = content.readOnlyLayouts();
    standard.sort();
    QCOMPARE(readOnly, standard);
    QCOMPARE(m_system->uiColors().size(), content.colourSchemeCount());
    QStringList macros;
    for (QObject *macro : m_system->macros())
        macros.append(qobject_cast<UILayout *>(macro)->name());
    QStringList expectedMacros = content.macroNames();
    expectedMacros.sort();
    QCOMPARE(macros, expectedMacros);

    // The plug-in list fills when its folder is added as a location.
    m_system->addPluginLocation(QUrl::fromLocalFile(m_demo->zbrushFolder() + QStringLiteral("/ZStartup/ZPlugs64")).toString());
    QCOMPARE(m_system->plugins().size(), content.pluginCount());

    // The colours the plug-in exported last dress the interface from the start.
    const QStringList colours = content.interfaceColours();
    QCOMPARE(colours.size(), 55);
    QCOMPARE(m_colours->main(), colours.first());
    QCOMPARE(m_colours->dragdrop(), colours.last());
}

QMap<QString, QByteArray> DemoInstallationTest::generatedFiles(const QString &prefix) const
{
    QMap<QString, QByteArray> files;
    QDirIterator it(prefix, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(prefix).relativeFilePath(path), file.readAll());
    }
    return files;
}

void DemoInstallationTest::sameBytesEveryRun()
{
    QTemporaryDir second;
    QVERIFY(second.isValid());
    DemoInstallation again(second.path());
    QString error;
    QVERIFY2(again.writePrefix(&error), qPrintable(error));
    const QMap<QString, QByteArray> secondFiles = generatedFiles(again.prefix());
    // Every listed file, the registry and the marker; nothing else.
    QCOMPARE(secondFiles.size(), m_demo->content().files().size() + 2);
    // The first prefix has been used by the program since; its generated files are unchanged.
    const QMap<QString, QByteArray> firstFiles = generatedFiles(m_demo->prefix());
    for (auto it = secondFiles.cbegin(); it != secondFiles.cend(); ++it)
        QVERIFY2(firstFiles.value(it.key()) == it.value(), qPrintable(it.key()));

    // Writing again over a demo replaces it; a folder the demo did not make is left alone.
    QVERIFY2(again.writePrefix(&error), qPrintable(error));
    QTemporaryDir foreign;
    QVERIFY(QDir(foreign.path()).mkpath(QStringLiteral("wine/drive_c")));
    DemoInstallation intruder(foreign.path());
    QVERIFY(!intruder.writePrefix(&error));
    QVERIFY(error.contains(QLatin1String("not a demo installation")));
    QVERIFY(QFileInfo(foreign.filePath(QStringLiteral("wine/drive_c"))).isDir());
}

QTEST_MAIN(DemoInstallationTest)
#include "tst_demoinstallation.moc"
