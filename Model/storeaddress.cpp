#include "Model/storeaddress.h"

#include <QHostAddress>
#include <QtDebug>

namespace StoreAddress {

QUrl defaultBaseUrl()
{
    return QUrl(QStringLiteral("https://kivara.app"));
}

QUrl baseUrl()
{
    const QString configured = qEnvironmentVariable("KIVARA_STORE_URL");
    if (configured.isEmpty())
        return defaultBaseUrl();
    const QUrl url(configured, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !isAllowed(url)) {
        qWarning().noquote() << "Ignoring KIVARA_STORE_URL" << configured
                             << ": it must be an https address, or http to this machine";
        return defaultBaseUrl();
    }
    // Paths are appended to it.
    QUrl base = url;
    QString path = base.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    base.setPath(path);
    return base;
}

bool isAllowed(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    if (scheme != QLatin1String("http"))
        return false;
    const QString host = url.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QString apiKey()
{
    return QStringLiteral("3f9c1a7e52b84d06a1e7c9d2f04b6a13");
}

QString apiToken()
{
    return QStringLiteral("b2d48e0f7a6c4391e5d0c8b7a9f21e64");
}

} // namespace StoreAddress
