#include "Model/alpha.h"
#include "Model/brush.h"
#include "Model/brushtypes.h"
#include "Model/favoriteset.h"
#include "Model/resource.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestCatalogueObjects : public QObject
{
    Q_OBJECT

private slots:
    void categoriesAndTags();
    void descriptionEmitsOnlyOnChange();
    void alphaDimensionsAnnouncedBeforeOwnSignal();
    void brushTypeSignalsInOrder();
    void brushTypeTable();
    void favoriteSetMembership();
    void favoriteSetPositions();
    void favoriteSetDropsDestroyedMember();
    void favoriteSetMove();
};

void TestCatalogueObjects::categoriesAndTags()
{
    Resource resource(QStringLiteral("Skin"), QStringLiteral("/z/Skin.zmt"), QStringLiteral("material"));
    QSignalSpy categories(&resource, &Resource::categoriesChanged);
    QSignalSpy tags(&resource, &Resource::tagsChanged);

    resource.addCategory(QStringLiteral("Organic"));
    resource.addCategory(QStringLiteral("Organic"));
    resource.addCategory(QStringLiteral("organic"));
    QCOMPARE(resource.categories(), (QStringList{QStringLiteral("Organic"), QStringLiteral("organic")}));
    QCOMPARE(categories.count(), 2);

    // Removing an absent category still tells the views to refresh.
    resource.removeCategory(QStringLiteral("Metal"));
    QCOMPARE(categories.count(), 3);
    resource.removeCategory(QStringLiteral("Organic"));
    QCOMPARE(resource.categories(), QStringList{QStringLiteral("organic")});
    QCOMPARE(categories.count(), 4);

    resource.addTag(QStringLiteral("wip"));
    resource.addTag(QStringLiteral("wip"));
    QCOMPARE(tags.count(), 1);
    resource.removeTag(QStringLiteral("none"));
    QCOMPARE(tags.count(), 2);
    QVERIFY(resource.hasTag(QStringLiteral("wip")));
    QVERIFY(!resource.hasTag(QStringLiteral("WIP")));
}

void TestCatalogueObjects::descriptionEmitsOnlyOnChange()
{
    Resource resource;
    QSignalSpy spy(&resource, &Resource::descriptionChanged);
    resource.setDescription(QStringLiteral("Rough skin"));
    resource.setDescription(QStringLiteral("Rough skin"));
    QCOMPARE(spy.count(), 1);
    resource.setDescription(QStringLiteral("rough skin"));
    QCOMPARE(spy.count(), 2);
}

void TestCatalogueObjects::alphaDimensionsAnnouncedBeforeOwnSignal()
{
    Alpha alpha;
    alpha.setWidth(4096);
    alpha.setDepth(16);
    QStringList order;
    connect(&alpha, &Alpha::dimensionsChanged, this, [&] { order << alpha.dimensions(); });
    connect(&alpha, &Alpha::heightChanged, this, [&] { order << QStringLiteral("height"); });
    alpha.setHeight(2048);
    QCOMPARE(order, (QStringList{QStringLiteral("4096x2048, 16-bit"), QStringLiteral("height")}));
}

void TestCatalogueObjects::brushTypeSignalsInOrder()
{
    Brush brush;
    QStringList order;
    connect(&brush, &Brush::brushTypeChanged, this, [&] { order << QStringLiteral("type"); });
    connect(&brush, &Brush::brushTypeNameChanged, this, [&] { order << brush.brushTypeName(); });
    brush.setBrushType(Brushes::TYPE_ZMODELER);
    QCOMPARE(order, (QStringList{QStringLiteral("type"), QStringLiteral("ZModeler")}));
}

void TestCatalogueObjects::brushTypeTable()
{
    const QStringList names = Brushes::brushTypeDisplayNames();
    QCOMPARE(names.size(), 60);
    QCOMPARE(names.first(), QStringLiteral("Alpha Curve"));
    QCOMPARE(names.last(), QStringLiteral("ZModeler"));
    // Every number has its own name and finds its way back.
    QSet<QString> seen;
    for (int type = 1; type <= 60; ++type) {
        const QString name = Brushes::brushTypeName(type);
        QVERIFY2(!name.isEmpty(), qPrintable(QString::number(type)));
        QCOMPARE(Brushes::brushTypeValue(name), type);
        seen.insert(name);
    }
    QCOMPARE(seen.size(), 60);
    // No type and numbers outside the table have no name.
    for (int type : {0, 61, -1})
        QVERIFY2(Brushes::brushTypeName(type).isEmpty(), qPrintable(QString::number(type)));
    QCOMPARE(Brushes::brushTypeValue(QStringLiteral("clay")), 0);
    QCOMPARE(Brushes::brushTypeValue(QString()), 0);
}

void TestCatalogueObjects::favoriteSetMembership()
{
    FavoriteSet set(QStringLiteral("Sculpt"), false, QStringLiteral("#ff00ff00"), 1);
    Resource first(QStringLiteral("Clay"));
    Resource twin(QStringLiteral("Clay"));
    QSignalSpy spy(&set, &FavoriteSet::favoritesChanged);

    QCOMPARE(set.addFavorite(&first), 0);
    QCOMPARE(set.addFavorite(&first), -1);
    QCOMPARE(spy.count(), 1);
    // Same name, different object: a member of its own.
    QCOMPARE(set.addFavorite(&twin), 1);
    QCOMPARE(set.favorites(), (QList<QObject *>{&first, &twin}));

    set.removeFavorite(&first);
    QCOMPARE(set.favorites(), QList<QObject *>{&twin});
    set.removeFavorite(&first);
    QCOMPARE(spy.count(), 4);
    set.clear();
    QCOMPARE(set.count(), 0);
    QCOMPARE(spy.count(), 5);
}

void TestCatalogueObjects::favoriteSetPositions()
{
    FavoriteSet set(QStringLiteral("Sculpt"), false, QStringLiteral("transparent"), 1);
    Resource a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c")), d(QStringLiteral("d"));
    QCOMPARE(set.addFavorite(&a, -1), 0);
    QCOMPARE(set.addFavorite(&b, -1), 1);
    QCOMPARE(set.addFavorite(&c, 0), 0);
    // A position past the end appends instead of failing.
    QCOMPARE(set.addFavorite(&d, 10), 3);
    QCOMPARE(set.favorites(), (QList<QObject *>{&c, &a, &b, &d}));
}

void TestCatalogueObjects::favoriteSetDropsDestroyedMember()
{
    FavoriteSet set(QStringLiteral("Sculpt"), false, QStringLiteral("transparent"), 1);
    Resource kept(QStringLiteral("kept"));
    auto gone = std::make_unique<Resource>(QStringLiteral("gone"));
    set.addFavorite(gone.get());
    set.addFavorite(&kept);
    QSignalSpy spy(&set, &FavoriteSet::favoritesChanged);
    gone.reset();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(set.favorites(), QList<QObject *>{&kept});
    QCOMPARE(set.members().first()->name(), QStringLiteral("kept"));
}

void TestCatalogueObjects::favoriteSetMove()
{
    FavoriteSet set(QStringLiteral("Sculpt"), false, QStringLiteral("transparent"), 1);
    Resource a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c"));
    for (Resource *r : {&a, &b, &c})
        set.addFavorite(r);
    QSignalSpy spy(&set, &FavoriteSet::favoritesChanged);
    set.moveFavorite(0, 2);
    QCOMPARE(set.favorites(), (QList<QObject *>{&b, &c, &a}));
    QCOMPARE(spy.count(), 1);
    set.moveFavorite(0, 3);
    set.moveFavorite(-1, 0);
    QCOMPARE(set.favorites(), (QList<QObject *>{&b, &c, &a}));
}

QTEST_GUILESS_MAIN(TestCatalogueObjects)
#include "tst_catalogueobjects.moc"
