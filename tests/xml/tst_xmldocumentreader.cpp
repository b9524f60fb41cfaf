#include "xmldocumentreader.h"

#include <QDomDocument>
#include <QDomElement>
#include <QtTest>

class TestXmlDocumentReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
};

void TestXmlDocumentReader::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("rootName"); // empty when the document is refused
    QTest::addColumn<QString>("error");    // "*": Qt's own message, whatever it says

    const auto nested = [](int levels) {
        return QByteArray("<a>").repeated(levels) + QByteArray("</a>").repeated(levels);
    };
    const QString tooDeep = QStringLiteral("elements nested deeper than 256 levels");

    QTest::newRow("feed") << QByteArray("<?xml version=\"1.0\"?>\n<rss xmlns:sparkle=\"s\"><channel><item>"
                                        "<enclosure sparkle:version=\"3.1\"/></item></channel></rss>")
                          << QStringLiteral("rss") << QString();
    // Feeds have been read without namespace processing: a prefix need not be declared.
    QTest::newRow("undeclared prefix") << QByteArray("<rss><item><enclosure sparkle:version=\"3.1\"/></item></rss>")
                                       << QStringLiteral("rss") << QString();
    QTest::newRow("not XML") << QByteArray("not xml at all") << QString() << QStringLiteral("*");
    QTest::newRow("cut short") << QByteArray("<KIV><Brush name=\"A\" ") << QString() << QStringLiteral("*");
    QTest::newRow("as deep as allowed") << nested(256) << QStringLiteral("a") << QString();
    QTest::newRow("one level deeper") << nested(257) << QString() << tooDeep;
    // Took the program down before it was refused.
    QTest::newRow("60000 levels, never closed") << QByteArray("<a>").repeated(60000) << QString() << tooDeep;
    // The fault ends the reading before the depth could matter.
    QTest::newRow("60000 levels behind a bad entity")
        << QByteArray("<a>&undeclared;") + QByteArray("<a>").repeated(60000) << QString() << QStringLiteral("*");
}

void TestXmlDocumentReader::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, rootName);
    QFETCH(QString, error);

    // A refused document leaves nothing of what the document held before.
    // The same whether it comes as bytes or as text taken out of a JSON reply.
    for (const bool asText : {false, true}) {
        QDomDocument document;
        QVERIFY(document.setContent(QByteArray("<old/>")));
        QString message;
        int line = -1;
        const bool read = asText ? XmlDocumentReader::read(QString::fromUtf8(bytes), &document, &message, &line)
                                 : XmlDocumentReader::read(bytes, &document, &message, &line);
        QCOMPARE(read, !rootName.isEmpty());
        QCOMPARE(document.documentElement().tagName(), rootName);
        if (error == QLatin1String("*"))
            QVERIFY(!message.isEmpty());
        else
            QCOMPARE(message, error);
        if (!error.isEmpty())
            QVERIFY(line >= 1);
    }
}

QTEST_GUILESS_MAIN(TestXmlDocumentReader)
#include "tst_xmldocumentreader.moc"
