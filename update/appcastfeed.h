#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// What an appcast feed says about the newest release: the greatest "sparkle:version"
// of the enclosures that are direct children of an "item", and where that
// enclosure can be downloaded.
class AppcastFeed
{
public:
    // feedUrl resolves relative enclosure addresses.
    static AppcastFeed parse(const QByteArray &body, const QUrl &feedUrl);

    // False when the body is no XML document.
    bool isValid() const { return m_valid; }
    // Empty when the feed names no version.
    QString newestVersion() const { return m_newestVersion; }
    // Empty when the newest enclosure has no address.
    QUrl newestDownloadUrl() const { return m_newestDownloadUrl; }

private:
    bool m_valid = false;
    QString m_newestVersion;
    QUrl m_newestDownloadUrl;
};
