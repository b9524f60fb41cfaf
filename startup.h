#pragma once

#include <QSharedMemory>
#include <QString>
#include <memory>

class AppServices;
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
    // Organisation, application name and version, window icon, default locale.
    static void setIdentity();

private:
    Startup(int &argc, char **argv);
    ~Startup();

    int exec();

    bool claimSingleInstance();
    static void startLog();
    void createEngine();
    static void prepareDatabaseFile();
    void createServices();
    void watchCreatedWindows();
    void loadWindows();
    // Started only once this instance has let go of its single-instance guard.
    void restartIfRequested();

    std::unique_ptr<QGuiApplication> m_app;
    QSharedMemory m_instanceGuard;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    std::unique_ptr<AppServices> m_services;
};
