#include "analytics/usageanalytics.h"
#include "analytics/usageanalytics_p.h"

#include <QDebug>
#include <QSettings>

namespace {
const QString userIDKey = QStringLiteral("UsageAnalytics-uid");
}

UsageAnalytics::UsageAnalytics(const QUrl &endpoint, const QString &trackingID, const QString &clientID,
                               const QString &appName, const QString &appVersion, const QString &screenResolution,
                               int sendInterval, QObject *parent)
    : QObject(parent)
    , d(new Private(this))
{
    d->request.setUrl(endpoint);
    d->trackingID = trackingID;
    d->clientID = clientID;
    d->appName = appName;
    d->appVersion = appVersion;
    d->screenResolution = screenResolution;
    d->userID = QSettings().value(userIDKey).toString();
    d->timer.setInterval(sendInterval);
    d->timer.start();
}

// d is a child of this object and goes with it.
UsageAnalytics::~UsageAnalytics() = default;

UsageAnalytics::LogLevel UsageAnalytics::logLevel() const
{
    return d->logLevel;
}

void UsageAnalytics::setLogLevel(LogLevel level)
{
    if (d->logLevel == level)
        return;
    d->logLevel = level;
    Q_EMIT logLevelChanged();
}

QString UsageAnalytics::viewportSize() const
{
    return d->viewportSize;
}

void UsageAnalytics::setViewportSize(const QString &size)
{
    if (d->viewportSize == size)
        return;
    d->viewportSize = size;
    Q_EMIT viewportSizeChanged();
}

QString UsageAnalytics::language() const
{
    return d->language;
}

void UsageAnalytics::setLanguage(const QString &language)
{
    if (d->language == language)
        return;
    d->language = language;
    Q_EMIT languageChanged();
}

QString UsageAnalytics::trackingID() const
{
    return d->trackingID;
}

void UsageAnalytics::setTrackingID(const QString &trackingID)
{
    if (d->trackingID == trackingID)
        return;
    d->trackingID = trackingID;
    Q_EMIT trackingIDChanged();
}

QString UsageAnalytics::userID() const
{
    return QSettings().value(userIDKey).toString();
}

void UsageAnalytics::setUserID(const QString &userID)
{
    QSettings().setValue(userIDKey, userID);
    if (d->userID == userID)
        return;
    d->userID = userID;
    Q_EMIT userIDChanged();
}

int UsageAnalytics::sendInterval() const
{
    return d->timer.interval();
}

void UsageAnalytics::setSendInterval(int milliseconds)
{
    if (d->timer.interval() == milliseconds)
        return;
    d->timer.setInterval(milliseconds);
    Q_EMIT sendIntervalChanged();
}

bool UsageAnalytics::isSending() const
{
    return d->isSending;
}

void UsageAnalytics::setClock(Clock clock)
{
    d->clock = std::move(clock);
}

void UsageAnalytics::sendScreenView(const QString &screenName, const QVariantMap &customValues)
{
    if (d->logs(Info))
        qInfo().noquote() << "[Analytics]" << QStringLiteral("ScreenView: %1").arg(screenName);
    Private::Items query = d->standardItems(QStringLiteral("screenview"));
    query.append({QStringLiteral("cd"), screenName});
    query.append({QStringLiteral("an"), d->appName});
    query.append({QStringLiteral("av"), d->appVersion});
    d->enqueue(query, customValues);
}

void UsageAnalytics::sendAppView(const QString &screenName, const QVariantMap &customValues)
{
    sendScreenView(screenName, customValues);
}

void UsageAnalytics::sendEvent(const QString &category, const QString &action, const QString &label,
                               const QVariant &value, const QVariantMap &customValues)
{
    Private::Items query = d->standardItems(QStringLiteral("event"));
    query.append({QStringLiteral("an"), d->appName});
    query.append({QStringLiteral("av"), d->appVersion});
    query.append({QStringLiteral("ec"), category});
    query.append({QStringLiteral("ea"), action});
    if (!label.isEmpty())
        query.append({QStringLiteral("el"), label});
    if (value.isValid())
        query.append({QStringLiteral("ev"), value.toString()});
    d->enqueue(query, customValues);
}

void UsageAnalytics::sendException(const QString &description, bool fatal, const QVariantMap &customValues)
{
    Private::Items query = d->standardItems(QStringLiteral("exception"));
    query.append({QStringLiteral("an"), d->appName});
    query.append({QStringLiteral("av"), d->appVersion});
    query.append({QStringLiteral("exd"), description});
    query.append({QStringLiteral("exf"), fatal ? QStringLiteral("1") : QStringLiteral("0")});
    d->enqueue(query, customValues);
}

void UsageAnalytics::startSession()
{
    sendEvent(QStringLiteral("Session"), QStringLiteral("Start"), QString(), QVariant(),
              {{QStringLiteral("sc"), QStringLiteral("start")}});
}

void UsageAnalytics::endSession()
{
    sendEvent(QStringLiteral("Session"), QStringLiteral("End"), QString(), QVariant(),
              {{QStringLiteral("sc"), QStringLiteral("end")}});
}
