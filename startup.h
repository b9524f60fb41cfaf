#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QSharedMemory>
#include <QString>
#include <memory>

class DatabaseService;
class QGuiApplication;
class QQmlApplicationEngine;

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
    void wireServices();
    void loadFavourites();
    void watchCreatedWindows();
    void loadWindows();
    void startUpdater();

    std::unique_ptr<QGuiApplication> m_app;
    QSharedMemory m_instanceGuard;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QSharedPointer<DatabaseService> m_database;
    // The catalogue services; they become children of the last window created.
    QList<QPointer<QObject>> m_catalogues;
};
