#include "providers/alphaiconimageprovider.h"
#include "providers/brushiconimageprovider.h"
#include "tests/common/testfiles.h"
#include "tools/writers/zbrushfilewriter.h"

#include <QtTest>

#include <QQmlComponent>
#include <QQmlEngine>

#include <atomic>

namespace {

// Notes whether the engine asked from a thread other than the GUI thread.
class ThreadNotingBrushProvider : public BrushIconImageProvider
{
public:
    using BrushIconImageProvider::BrushIconImageProvider;

    QPixmap requestPixmap(const QString &id, QSize *size, const QSize &requestedSize) override
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            calledOffGuiThread = true;
        return BrushIconImageProvider::requestPixmap(id, size, requestedSize);
    }

    std::atomic<bool> calledOffGuiThread {false};
};

} // namespace

// The way the views use the providers: registered under "brushes" and "alphas", asked
// by asynchronous Image items, which call from the engine's loader thread. Kept apart
// from the provider tests because Qt Quick hands its requests to that thread inside Qt,
// out of ThreadSanitizer's sight.
class TestQmlIconImages : public QObject
{
    Q_OBJECT

private slots:
    void imagesThroughProviders();
};

void TestQmlIconImages::imagesThroughProviders()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString brush = dir.filePath(QStringLiteral("Qml Brush.zbp"));
    QVERIFY(TestFiles::write(brush, ZBrushFileWriter::file(ZBrushFileWriter::uniformImage(qRgba(180, 120, 60, 255)), 6)));
    const QString alpha = dir.filePath(QStringLiteral("qml alpha.png"));
    QImage wide(512, 256, QImage::Format_RGB32);
    wide.fill(Qt::darkCyan);
    QVERIFY(wide.save(alpha));

    QQmlEngine engine;
    // No database: the brush carries its own thumbnail.
    auto *brushes = new ThreadNotingBrushProvider(dir.filePath(QStringLiteral("brushes.db")));
    engine.addImageProvider(QStringLiteral("brushes"), brushes);
    engine.addImageProvider(QStringLiteral("alphas"), new AlphaIconImageProvider);
    QQmlComponent component(&engine);
    component.setData(QByteArrayLiteral("import QtQuick 2.15\n"
                                        "Item {\n"
                                        "  property string brushPath\n"
                                        "  property string alphaPath\n"
                                        "  property alias row: row\n"
                                        "  property alias panel: panel\n"
                                        "  Image { id: row; asynchronous: true; sourceSize: Qt.size(40, 40);\n"
                                        "          source: \"image://brushes/\" + brushPath }\n"
                                        "  Image { id: panel; asynchronous: true;\n"
                                        "          source: \"image://alphas/\" + alphaPath }\n"
                                        "}\n"),
                      QUrl());
    QScopedPointer<QObject> root(component.beginCreate(engine.rootContext()));
    QVERIFY2(root, qPrintable(component.errorString()));
    root->setProperty("brushPath", brush);
    root->setProperty("alphaPath", alpha);
    component.completeCreate();

    const auto image = [&root](const char *name) { return root->property(name).value<QObject *>(); };
    constexpr int ready = 1; // Image.Ready
    QTRY_COMPARE(image("row")->property("status").toInt(), ready);
    QTRY_COMPARE(image("panel")->property("status").toInt(), ready);
    QCOMPARE(image("row")->property("implicitWidth").toReal(), 40.0);
    QCOMPARE(image("panel")->property("implicitWidth").toReal(), 192.0);
    QCOMPARE(image("panel")->property("implicitHeight").toReal(), 192.0);
    QVERIFY(brushes->calledOffGuiThread);
}

QTEST_MAIN(TestQmlIconImages)
#include "tst_qmliconimages.moc"
