// The store as the store views see it: the import, the context property, the
// roles of a row and the invokables, from QML.
#include "Model/databaseservice.h"
#include "Model/storedataservice.h"
#include "appservices.h"
#include "tests/common/storeserverprocess.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString catalogueFile = QStringLiteral(KIVARA_SOURCE_DIR "/tests/store/store-catalogue.json");

const QByteArray view = R"(
import QtQuick 2.15
import kiv.product 1.0
Item {
    property int queued: DownloadStatusInfo.Queued
    property int none: DownloadStatusInfo.None
    property bool ready: storeData.hasProductList
    Repeater {
        id: rows
        model: storeData.model
        delegate: Item {
            property string rowName: name
            property int rowId: id
            property string rowPrice: price
            property string rowCategories: categories
            property int status: downloadStatus.currentStatus
            property int subCount: subProducts.length
            property string firstSubType: subProducts.length > 0 ? subProducts[0].fileType : ""
        }
    }
    function row(i) { return rows.itemAt(i) }
    function rowCount() { return rows.count }
    function narrow(text) { storeData.filterByName(text); return storeData.filtered }
}
)";

} // namespace

class TestStoreQml : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void theViewsSeeTheStore();
    void statusCannotBeCreated();

private:
    StoreServerProcess m_server;
    QTemporaryDir m_dir;
};

void TestStoreQml::initTestCase()
{
    QVERIFY(m_server.start(catalogueFile));
    qputenv("KIVARA_STORE_URL", m_server.baseUrl().toString().toLatin1());
    AppServices::registerQmlTypes();
}

void TestStoreQml::theViewsSeeTheStore()
{
    QVERIFY(QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), m_dir.filePath(QStringLiteral("brushes.db"))));
    auto database = QSharedPointer<DatabaseService>::create(m_dir.filePath(QStringLiteral("brushes.db")), QString(), true);
    StoreDataService store(database);
    QQmlEngine engine;
    engine.rootContext()->setContextProperty(QStringLiteral("storeData"), &store);
    QQmlComponent component(&engine);
    component.setData(view, QUrl(QStringLiteral("qrc:/StoreProbe.qml")));
    std::unique_ptr<QObject> probe(component.create());
    QVERIFY2(probe, qPrintable(component.errorString()));
    QCOMPARE(probe->property("queued").toInt(), 0);
    QCOMPARE(probe->property("none").toInt(), 5);

    QMetaObject::invokeMethod(&store, "initialize");
    QTRY_VERIFY(probe->property("ready").toBool());
    QVariant count;
    QMetaObject::invokeMethod(probe.get(), "rowCount", Q_RETURN_ARG(QVariant, count));
    QCOMPARE(count.toInt(), 7);
    // Sorted by name: the blocked pack, then the clay brushes.
    QVariant first;
    QMetaObject::invokeMethod(probe.get(), "row", Q_RETURN_ARG(QVariant, first), Q_ARG(QVariant, 1));
    const QObject *clay = first.value<QObject *>();
    QVERIFY(clay);
    QCOMPARE(clay->property("rowName").toString(), QStringLiteral("Clay Brushes "));
    QCOMPARE(clay->property("rowId").toInt(), 101);
    QCOMPARE(clay->property("rowPrice").toString(), QStringLiteral("$12"));
    QVERIFY(clay->property("rowCategories").toString().contains(QStringLiteral("Brushes")));
    QCOMPARE(clay->property("status").toInt(), 5);
    QCOMPARE(clay->property("subCount").toInt(), 2);
    QCOMPARE(clay->property("firstSubType").toString(), QStringLiteral("Brush"));

    QVariant filtered;
    QMetaObject::invokeMethod(probe.get(), "narrow", Q_RETURN_ARG(QVariant, filtered), Q_ARG(QVariant, QStringLiteral("clay")));
    QVERIFY(filtered.toBool());
    QMetaObject::invokeMethod(probe.get(), "rowCount", Q_RETURN_ARG(QVariant, count));
    QCOMPARE(count.toInt(), 1);
}

void TestStoreQml::statusCannotBeCreated()
{
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick 2.15\nimport kiv.product 1.0\nDownloadStatusInfo {}\n", QUrl());
    QVERIFY(component.isError());
    QVERIFY2(component.errorString().contains(QStringLiteral("Error: only enums")), qPrintable(component.errorString()));
}

QTEST_MAIN(TestStoreQml)
#include "tst_storeqml.moc"
