#pragma once

#include <QList>
#include <QPointer>
#include <QSharedPointer>
#include <QString>
#include <memory>

class AutoUpdater;
class DatabaseService;
class HostBridge;
class QObject;
class QQmlEngine;
class ResourceDataService;
class StoreDataService;
class SystemDataService;
class ZUiColor;

// Every service of the program, built in start-up's order on one library database
// and published to a QML engine under the names the interface uses. Start-up and
// the interface tests share this wiring, so a test window sees what the program sees.
class AppServices
{
public:
    // The engine must outlive the windows it loads, and this object must outlive the engine's windows.
    AppServices(QQmlEngine *engine, const QString &databasePath);
    ~AppServices();
    AppServices(const AppServices &) = delete;
    AppServices &operator=(const AppServices &) = delete;

    // The enumerations QML imports (kiv.brushes); once per process.
    static void registerQmlTypes();
    // The interface typefaces from the resources; failures are logged.
    static void addFonts();

    // Bridge, database, image providers, ZBrush colours, system service, the twelve
    // catalogues, the store, their wiring, and the favourites when set-up is complete.
    void create();
    // The catalogues become children of a window the engine created (start-up hands
    // them to each window in turn, so the last one keeps them).
    void adoptCatalogues(QObject *window);
    // Attaches the update checker; with checkNow a background check starts when the
    // stored AutoUpdate setting allows it.
    void startUpdater(bool checkNow);

    QSharedPointer<HostBridge> hostBridge() const { return m_hostBridge; }
    QSharedPointer<DatabaseService> database() const { return m_database; }
    QSharedPointer<ZUiColor> uiColor() const { return m_uiColor; }
    QSharedPointer<SystemDataService> system() const { return m_system; }
    AutoUpdater *updater() const { return m_updater.get(); }
    StoreDataService *store() const { return m_store.get(); }
    QList<ResourceDataService *> catalogues() const;

private:
    void createServices();
    void createImageProviders();
    void createSystemServices();
    void createCatalogues();
    void createStore();
    void wireServices();
    void loadFavourites();

    QQmlEngine *m_engine;
    QString m_databasePath;
    QSharedPointer<HostBridge> m_hostBridge;
    QSharedPointer<DatabaseService> m_database;
    QSharedPointer<ZUiColor> m_uiColor;
    QSharedPointer<SystemDataService> m_system;
    // The catalogue services; they become children of the last window created.
    QList<QPointer<ResourceDataService>> m_catalogues;
    std::unique_ptr<AutoUpdater> m_updater;
    std::unique_ptr<StoreDataService> m_store;
};
