#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QSharedMemory>
#include <QString>
#include <memory>

class AutoUpdater;
class DatabaseService;
class HostBridge;
class QGuiApplication;
class QQmlApplicationEngine;
class ResourceDataService;
class SystemDataService;
class ZUiColor;

// The program's start-up: single instance, identity, log, engine, services, windows.
// One method per step, run in order by run(); nothing else builds the services.
class Startup
{
public:
    static constexpr const char *singleInstanceKey = "kivara-key";
    static constexpr const char *logFileName = "logfile.txt";

    static int run(int &argc, char **argv);

private:
    Startup(int &argc, char **argv);
    ~Startup();

    int exec();

    bool claimSingleInstance();
    static void setIdentity();
    static void startLog();
    static void addFonts();
    void createEngine();
    static void prepareDatabaseFile();
    void createServices();
    void createImageProviders();
    void createSystemServices();
    void createCatalogues();
    void wireServices();
    void loadFavourites();
    void watchCreatedWindows();
    void loadWindows();
    void startUpdater();
    // Started only once this instance has let go of its single-instance guard.
    void restartIfRequested();

    std::unique_ptr<QGuiApplication> m_app;
    QSharedMemory m_instanceGuard;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QSharedPointer<HostBridge> m_hostBridge;
    QSharedPointer<DatabaseService> m_database;
    QSharedPointer<ZUiColor> m_uiColor;
    QSharedPointer<SystemDataService> m_system;
    // The catalogue services; they become children of the last window created.
    QList<QPointer<ResourceDataService>> m_catalogues;
    std::unique_ptr<AutoUpdater> m_updater;
};
