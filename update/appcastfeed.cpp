#include "appcastfeed.h"

#include "xmldocumentreader.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>

AppcastFeed AppcastFeed::parse(const QByteArray &body, const QUrl &feedUrl)
{
    AppcastFeed feed;
    QDomDocument document;
    if (!XmlDocumentReader::read(body, &document))
        return feed;
    feed.m_valid = true;

    const QDomNodeList items = document.elementsByTagName(QStringLiteral("item"));
    for (int i = 0; i < items.size(); ++i) {
        for (QDomNode child = items.at(i).firstChild(); !child.isNull(); child = child.nextSibling()) {
            if (child.nodeName() != QLatin1String("enclosure"))
                continue;
            const QDomElement enclosure = child.toElement();
            if (!enclosure.hasAttribute(QStringLiteral("sparkle:version")))
                continue;
            // Plain text order, as the feed has always been compared.
            const QString version = enclosure.attribute(QStringLiteral("sparkle:version"));
            if (version > feed.m_newestVersion) {
                feed.m_newestVersion = version;
                const QString url = enclosure.attribute(QStringLiteral("url"));
                feed.m_newestDownloadUrl = url.isEmpty() ? QUrl() : feedUrl.resolved(QUrl(url));
            }
        }
    }
    return feed;
}
