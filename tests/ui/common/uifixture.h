#pragma once

#include "Model/databaseservice.h"

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QQuickWindow>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

class AppServices;
class UrlCatcher;
class QQmlApplicationEngine;
class QQuickItem;
class QWindow;
class StoreServerProcess;
class SystemDataService;
class WinePrefixBuilder;

// The real program's windows on a library of their own, for interface tests.
//
// The constructor builds, in a temporary folder: a Wine prefix with a ZBrush data
// folder, a ZBrush installation ("ZBrush 2022") with a few resources of every kind,
// the program folder with Resources/ (template library, script plug-in, Dirtool),
// and a private store for the window settings. start() creates the services exactly
// as start-up does (AppServices), then loads qrc:/main.qml and qrc:/MiniModeWindow.qml.
// stop() destroys windows and services; restart() builds them again on the same
// library and settings.
//
// Web and mail addresses never reach a browser: openedUrls() keeps them.
// Every warning of the QML engine (errors in bindings, missing files, binding loops)
// and every message of the "qml"/"js" categories is recorded; tests check
// noWarnings() in cleanup(). Needs an X display: label the test x11.
class UiFixture
{
public:
    struct Options
    {
        // False: no ZBrush folder is stored, so the set-up screen covers the main window.
        bool setupOk = true;
        // False: the script plug-in in ZBrush is missing, so start-up installs it and
        // the main window reports "Plugin updated".
        bool pluginCurrent = true;
        // False: the program's Resources hold Dirtool but no compiled script plug-in.
        bool shipScript = true;
    };

    UiFixture();
    explicit UiFixture(const Options &options);
    ~UiFixture();
    UiFixture(const UiFixture &) = delete;
    UiFixture &operator=(const UiFixture &) = delete;

    // False when the folders could not be built.
    bool isValid() const { return m_valid; }

    // Before start(): a setting in the library database, a window setting in the store.
    void storeSetting(DatabaseService::SettingKey key, const QVariant &value);
    QVariant storedSetting(DatabaseService::SettingKey key) const;
    void setWindowSetting(const QString &key, const QVariant &value);
    // After stop() (the windows write their settings when they go).
    QVariant windowSetting(const QString &key) const;
    // A favourites set in the library, after those already stored, with its members
    // as (resource name, kind word) in order.
    void storeFavoriteSet(const QString &name, const QString &color,
                          const QList<QPair<QString, QString>> &members);
    // A ZBrush colours file in the data folder, as the script plug-in writes it.
    bool writeUiColorsFile(const QByteArray &text);
    // The local store server on a catalogue file, with KIVARA_STORE_URL pointing at it
    // until the fixture goes; false when it does not start.
    bool startStore(const QString &catalogue);
    StoreServerProcess *storeServer() const { return m_store.get(); }

    bool start();
    void stop();
    bool restart();

    QQmlApplicationEngine *engine() const { return m_engine.get(); }
    AppServices *services() const { return m_services.get(); }
    SystemDataService *system() const;
    QQuickWindow *mainWindow() const { return m_mainWindow; }
    QQuickWindow *miniWindow() const { return m_miniWindow; }

    // An object made from QML text as if it were a file at the root of the interface
    // (so `import "Themes"` and the shared controls resolve). Items are shown in the
    // main window. Owned by the fixture until stop(); null when the text fails.
    QObject *createObject(const QByteArray &qml);

    // The first object of that objectName in the main window, then the mini-mode
    // window; within root only when given. Popups and their contents are found too.
    QObject *findObject(const QString &objectName, QObject *root = nullptr) const;
    QQuickItem *findItem(const QString &objectName, QObject *root = nullptr) const;
    // Every object of that objectName.
    QList<QObject *> findAll(const QString &objectName, QObject *root = nullptr) const;

    // Mouse and keys as a person would use them. A click waits up to five seconds for
    // its item to be shown and is false when it is not.
    bool click(QQuickItem *item, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    bool click(const QString &objectName, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    bool doubleClick(QQuickItem *item, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    // A press at from, moves in steps, and a release at to (item coordinates).
    bool drag(QQuickItem *item, const QPointF &from, const QPointF &to) const;
    // The window is activated first: shortcuts need the focus window.
    bool keyClick(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    bool activate(QWindow *window) const;

    // Exposed and at least one frame drawn.
    bool waitForRendering(QQuickWindow *window, int timeoutMs = 5000) const;
    QImage grab(QQuickWindow *window) const;

    // Addresses the interface asked the system browser to open (none is opened).
    QList<QUrl> openedUrls() const;

    bool noWarnings() const { return m_warnings.isEmpty(); }
    QString warningText() const { return m_warnings.join(QLatin1Char('\n')); }
    QStringList warnings() const { return m_warnings; }
    void clearWarnings() { m_warnings.clear(); }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString zbrushFolder() const { return path(QStringLiteral("ZBrush 2022")); }
    QString dataFolder() const;
    QString programFolder() const { return path(QStringLiteral("program")); }
    QString databasePath() const;

private:
    bool build(const Options &options);
    bool writeResources();
    void recordWarning(const QString &text);
    static void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QTemporaryDir m_dir;
    std::unique_ptr<WinePrefixBuilder> m_prefix;
    std::unique_ptr<UrlCatcher> m_urls;
    std::unique_ptr<StoreServerProcess> m_store;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    std::unique_ptr<AppServices> m_services;
    QPointer<QQuickWindow> m_mainWindow;
    QPointer<QQuickWindow> m_miniWindow;
    QList<QPointer<QObject>> m_created;
    QStringList m_warnings;
    bool m_valid = false;
    QtMessageHandler m_previousHandler = nullptr;
};
