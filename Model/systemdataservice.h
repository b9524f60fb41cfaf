#pragma once

#include "Model/databaseservice.h"

#include <QFutureWatcher>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <functional>

class AutoUpdater;
class CatalogueRescan;
class FavoriteSet;
class HostBridge;
class QStringListModel;
class Resource;
class ResourceDataService;
class UILayout;
class UILayoutList;
class UiColorRequest;
class ZUiColor;

// Everything the interface reaches that is not a resource catalogue: the user's
// settings, the ZBrush installation in use and whether ZBrush runs, the favourites
// sets, the global rescan, the library folder and its move, database import and
// export, ZBrush's UI layouts, colour schemes, macros and plug-ins, and a few small
// services. Settings are written to the library database the moment they change.
// The first favourites set is always the built-in, read-only "Default", which is
// never stored. GUI thread only.
class SystemDataService : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool doubleClickActivate READ doubleClickActivate WRITE setDoubleClickActivate
                   NOTIFY doubleClickActivateChanged)
    Q_PROPERTY(bool showAdvancedTooltips READ showAdvancedTooltips WRITE setShowAdvancedTooltips
                   NOTIFY showAdvancedTooltipsChanged)
    Q_PROPERTY(bool showKIVCategory READ showKIVCategory WRITE setShowKIVCategory NOTIFY showKIVCategoryChanged)
    Q_PROPERTY(bool autoUpdateKivara READ autoUpdateKivara WRITE setAutoUpdateKivara NOTIFY autoUpdateKivaraChanged)
    Q_PROPERTY(QString zbrushPath READ zbrushPath WRITE setZbrushPath NOTIFY zbrushPathChanged)
    Q_PROPERTY(QString libraryPath READ libraryPath WRITE setLibraryPath NOTIFY libraryPathChanged)
    // A library is being copied to another file system; libraryMoveFinished follows.
    Q_PROPERTY(bool movingLibrary READ isMovingLibrary NOTIFY movingLibraryChanged)
    // The catalogues are being rescanned by startRescan(); rescanFinished follows.
    Q_PROPERTY(bool rescanning READ isRescanning NOTIFY rescanningChanged)
    Q_PROPERTY(int rescanProgress READ rescanProgress NOTIFY rescanProgressChanged)
    // An export or import runs; databaseExported or databaseImported follows.
    Q_PROPERTY(bool transferringDatabase READ isTransferringDatabase NOTIFY transferringDatabaseChanged)
    Q_PROPERTY(bool connectedToZbrush READ connectedToZbrush NOTIFY zbrushConnectionChanged)
    Q_PROPERTY(QString theme READ theme WRITE setTheme NOTIFY themeChanged)
    Q_PROPERTY(bool miniMode READ miniMode WRITE setMiniMode NOTIFY miniModeChanged)
    Q_PROPERTY(bool miniHorizontalMode READ miniHorizontalMode WRITE setMiniHorizontalMode
                   NOTIFY miniHorizontalModeChanged)
    Q_PROPERTY(bool setupOk READ setupOk WRITE setSetupOk NOTIFY setupOkChanged)
    Q_PROPERTY(QStringListModel *zbrushLocations READ zbrushLocations NOTIFY zbrushLocationsChanged)
    Q_PROPERTY(QStringListModel *installLog READ installLog NOTIFY installLogChanged)
    Q_PROPERTY(QList<QObject *> favoritesModel READ favoritesModel NOTIFY favoritesModelChanged)
    Q_PROPERTY(int selectedFavoriteIndex READ selectedFavoriteIndex WRITE setSelectedFavoriteIndex
                   NOTIFY selectedFavoriteIndexChanged)
    Q_PROPERTY(bool checkedForUpdates READ checkedForUpdates NOTIFY checkedForUpdatesChanged)
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateAvailableChanged)
    Q_PROPERTY(QString latestVersion READ latestVersion NOTIFY latestVersionChanged)
    Q_PROPERTY(QString favOnSource READ favOnSource WRITE setFavOnSource NOTIFY favOnSourceChanged)
    Q_PROPERTY(QString favOffSource READ favOffSource WRITE setFavOffSource NOTIFY favOffSourceChanged)
    Q_PROPERTY(bool enableStore READ enableStore NOTIFY enableStoreChanged)
    Q_PROPERTY(bool pluginInstalled READ pluginInstalled NOTIFY pluginInstalledChanged)
    Q_PROPERTY(bool pluginInstallError READ pluginInstallError NOTIFY pluginInstallErrorChanged)
    Q_PROPERTY(bool bprOnly READ bprOnly WRITE setBprOnly NOTIFY bprOnlyChanged)
    Q_PROPERTY(bool zbrushUiColorSync READ zbrushUiColorSync WRITE setZbrushUiColorSync
                   NOTIFY zbrushUiColorSyncChanged)
    Q_PROPERTY(bool showNews READ showNews WRITE setShowNews NOTIFY showNewsChanged)
    Q_PROPERTY(QList<QObject *> uiLayouts READ uiLayouts NOTIFY uiLayoutsChanged)
    Q_PROPERTY(QStringListModel *uiLayoutLocations READ uiLayoutLocations NOTIFY uiLayoutLocationsChanged)
    Q_PROPERTY(QList<QObject *> uiColors READ uiColors NOTIFY uiColorsChanged)
    Q_PROPERTY(QStringListModel *uiColorLocations READ uiColorLocations NOTIFY uiColorLocationsChanged)
    Q_PROPERTY(QList<QObject *> macros READ macros NOTIFY macrosChanged)
    Q_PROPERTY(QList<QObject *> plugins READ plugins NOTIFY pluginsChanged)
    Q_PROPERTY(QStringListModel *pluginLocations READ pluginLocations NOTIFY pluginLocationsChanged)

public:
    static constexpr const char *defaultSetName = "Default";
    static constexpr const char *defaultSetColor = "transparent";
    static constexpr const char *libraryFolderName = "KIVSource";
    static constexpr int connectionCheckInterval = 5000;
    // Install-log line of a build that ships Dirtool without the compiled script.
    static constexpr const char *scriptMissingMessage =
        "The ZBrush script plug-in is not part of this build: resources can be browsed "
        "but not yet applied inside ZBrush.";

    // Reads the stored ZBrush folder, checks the installed script plug-in, loads the
    // favourites sets and the settings, and finishes set-up when ZBrush is known.
    // The bridge, the colours and the database may be null (tests).
    SystemDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                      QSharedPointer<ZUiColor> uiColor, QObject *parent = nullptr);
    ~SystemDataService() override;

    // Connects a catalogue to the favourites and rescan signals. Rescans, set-up and
    // the favourites reach every catalogue registered, in registration order.
    void registerCatalogue(ResourceDataService *catalogue);
    QList<ResourceDataService *> catalogues() const;

    // The updater reports what it found through reportLatestVersion().
    void setAutoUpdater(AutoUpdater *updater);
    AutoUpdater *autoUpdater() const;
    void reportLatestVersion(const QString &version);

    bool doubleClickActivate() const { return m_doubleClickActivate; }
    void setDoubleClickActivate(bool on);
    bool showAdvancedTooltips() const { return m_showAdvancedTooltips; }
    void setShowAdvancedTooltips(bool on);
    bool showKIVCategory() const { return m_showKIVCategory; }
    void setShowKIVCategory(bool on);
    bool autoUpdateKivara() const { return m_autoUpdateKivara; }
    void setAutoUpdateKivara(bool on);
    QString zbrushPath() const { return m_zbrushPath; }
    // Takes a folder URL; an empty or non-local one changes nothing.
    void setZbrushPath(const QString &url);
    QString libraryPath() const { return m_libraryPath; }
    // Moves the library into the folder the URL names (see the .cpp).
    void setLibraryPath(const QString &url);
    // The folder that holds the library now.
    QString libraryFolder() const { return m_libraryFolder; }
    bool isMovingLibrary() const;
    bool connectedToZbrush() const { return m_connectedToZbrush; }
    QString theme() const { return m_theme; }
    void setTheme(const QString &theme);
    bool miniMode() const { return m_miniMode; }
    void setMiniMode(bool on);
    bool miniHorizontalMode() const { return m_miniHorizontalMode; }
    void setMiniHorizontalMode(bool on);
    bool setupOk() const { return m_setupOk; }
    void setSetupOk(bool ok);
    bool setupFinished() const { return m_setupFinished; }
    QStringListModel *zbrushLocations() const { return m_zbrushLocations; }
    QStringListModel *installLog() const { return m_installLog; }
    bool checkedForUpdates() const { return m_checkedForUpdates; }
    bool updateAvailable() const { return m_updateAvailable; }
    QString latestVersion() const { return m_latestVersion; }
    QString favOnSource() const { return m_favOnSource; }
    void setFavOnSource(const QString &source);
    QString favOffSource() const { return m_favOffSource; }
    void setFavOffSource(const QString &source);
    bool enableStore() const { return true; }
    bool pluginInstalled() const { return m_pluginInstalled; }
    bool pluginInstallError() const { return m_pluginInstallError; }
    bool bprOnly() const { return m_bprOnly; }
    void setBprOnly(bool on);
    bool zbrushUiColorSync() const { return m_zbrushUiColorSync; }
    void setZbrushUiColorSync(bool on);
    bool showNews() const { return m_showNews; }
    void setShowNews(bool on);
    bool showTutorial() const { return m_showTutorial; }

    QList<QObject *> uiLayouts() const;
    QStringListModel *uiLayoutLocations() const;
    QList<QObject *> uiColors() const;
    QStringListModel *uiColorLocations() const;
    QList<QObject *> macros() const;
    QList<QObject *> plugins() const;
    QStringListModel *pluginLocations() const;

    // The request-and-poll cycle that fetches ZBrush's colours; tests shorten its times.
    UiColorRequest *colorRequest() const { return m_colorRequest; }
    // Tests shorten the connection check; a running check takes the new interval.
    void setConnectionCheckInterval(int milliseconds);
    bool restartRequested() const { return m_restartRequested; }

    QList<QObject *> favoritesModel() const;
    QList<FavoriteSet *> favoriteSets() const { return m_favoriteSets; }
    FavoriteSet *currentFavoriteSet() const;
    int selectedFavoriteIndex() const { return m_selectedFavoriteIndex; }
    void setSelectedFavoriteIndex(int index);

    Q_INVOKABLE void addFavoriteSet(const QString &name, bool updateDb = true, bool readOnly = false,
                                    const QString &color = QString::fromLatin1(defaultSetColor));
    Q_INVOKABLE void removeFavoriteSet(QObject *set);
    // The set's order is the caller's tab index; the set keeps its own order.
    Q_INVOKABLE void editFavoriteSet(QObject *set, const QString &name, const QString &color, int order);
    Q_INVOKABLE void addItemToFavorites(QObject *resource, QObject *set);
    Q_INVOKABLE void removeItemFromFavorites(QObject *resource, QObject *set);
    Q_INVOKABLE void activateFavoriteSet(QObject *prevSet, QObject *newSet);
    Q_INVOKABLE void moveFavorite(QObject *set, int fromIndex, int toIndex);
    Q_INVOKABLE void setSelectedFavorite(QObject *item);
    // Answers the index the set ended at; nothing moves in front of "Default".
    Q_INVOKABLE int moveFavoriteSet(int fromIndex, int toIndex);

    Q_INVOKABLE void activateResource(const QString &name, const QString &path, const QString &type);
    // Installs the script plug-in and Dirtool into the ZBrush folder at path and
    // makes it the ZBrush in use; failures go to the install log.
    Q_INVOKABLE bool installPlugin(const QString &path);
    Q_INVOKABLE QString getAppPathFromDisplay(const QString &display) const;
    // Both run in the background and report through databaseExported and
    // databaseImported, with the reason of a failure. They answer whether the work
    // started; one that cannot start reports its failure at once.
    Q_INVOKABLE bool exportDatabase(const QString &url);
    Q_INVOKABLE bool importDatabase(const QString &url);
    bool isTransferringDatabase() const { return m_transfer != nullptr; }
    Q_INVOKABLE void openResourceFolder(const QString &path);
    // A remembered window position, brought back onto the desktop when it lies off it.
    Q_INVOKABLE int getWindowStartX(int x) const;
    Q_INVOKABLE int getWindowStartY(int y) const;
    Q_INVOKABLE void checkForUpdates();
    Q_INVOKABLE void installUpdate();
    // Ends the event loop; start-up starts the program again once this instance has
    // let go of its single-instance guard.
    Q_INVOKABLE void restartApp();
    Q_INVOKABLE void setStartupDocument();
    Q_INVOKABLE void rescanAllResources();
    // The same rescan one catalogue at a time, returning to the event loop between
    // catalogues so that the window keeps drawing; rescanProgress counts 0 to 100.
    // False while one runs already.
    Q_INVOKABLE bool startRescan();
    bool isRescanning() const { return m_rescan != nullptr; }
    int rescanProgress() const { return m_rescanProgress; }

    // Puts the stored members into the sets through the catalogues (favoriteResourceAdded)
    // and activates the first set. Runs once until a rescan asks for it again.
    void loadFavorites();
    // The library folder, the layout, colour and macro lists, the connection check.
    void finishSetup();

public slots:
    void activateUILayout(int index);
    void activateUIColor(int index);
    void activateMacro(int index);
    void activatePlugin(int index);
    void renameLayout(int index, const QString &toName);
    void renameUIColor(int index, const QString &toName);
    void addUILayoutLocation(const QString &url);
    void addUIColorLocation(const QString &url);
    void addPluginLocation(const QString &url);
    void removeUILayoutLocation(int index);
    void removeUIColorLocation(int index);
    void removePluginLocation(int index);

signals:
    void doubleClickActivateChanged();
    void showAdvancedTooltipsChanged();
    void showKIVCategoryChanged();
    void autoUpdateKivaraChanged();
    void zbrushPathChanged();
    void libraryPathChanged();
    void zbrushConnectionChanged();
    void themeChanged();
    void miniModeChanged();
    void miniHorizontalModeChanged();
    void setupOkChanged();
    void zbrushLocationsChanged();
    void installLogChanged();
    void favoritesModelChanged();
    void selectedFavoriteIndexChanged();
    void checkedForUpdatesChanged();
    void updateAvailableChanged();
    void latestVersionChanged();
    void favOnSourceChanged();
    void favOffSourceChanged();
    void enableStoreChanged();
    void pluginInstalledChanged();
    void pluginInstallErrorChanged();
    void bprOnlyChanged();
    void zbrushUiColorSyncChanged();
    void showNewsChanged();
    void uiLayoutsChanged();
    void uiLayoutLocationsChanged();
    void uiColorsChanged();
    void uiColorLocationsChanged();
    void macrosChanged();
    void pluginsChanged();
    void pluginLocationsChanged();

    // A stored member of set: (resource name, kind, set name). The catalogue of that
    // kind adds its resource of that name to the set.
    void favoriteResourceAdded(FavoriteSet *set, DatabaseService::Favorite info);
    void favoriteSetActivated(FavoriteSet *oldSet, FavoriteSet *currentSet);
    // Every catalogue scans its folders again.
    void rescanResources();
    // Every catalogue tells its views that all rows changed.
    void rescanComplete();
    // A library move has ended; the library is at libraryFolder() either way.
    // error says why it did not move.
    void libraryMoveFinished(bool moved, const QString &error);
    void movingLibraryChanged();
    void rescanningChanged();
    void rescanProgressChanged();
    void transferringDatabaseChanged();
    // startRescan() is done: the catalogues are scanned and the favourites reloaded.
    void rescanFinished();
    void databaseExported(bool ok, const QString &error);
    void databaseImported(bool ok, const QString &error);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void readZBrushPath();
    void fillZBrushLocations();
    void checkPlugin();
    // Steps 3 and 4 of the installation: the folder becomes the ZBrush in use.
    bool installInto(const QString &path);
    void appendInstallLog(const QString &message, QtMsgType level = QtWarningMsg);
    void readSettings();
    void storeSetting(DatabaseService::SettingKey key, const QVariant &value);
    void checkConnection();
    void startConnectionTimer();
    void rescanLayouts();
    void applyLibraryMove(const QString &chosenFolder, const QString &libraryFolder);
    // Watches work on the thread pool; done runs here when it has finished.
    // Why an export or import of that file cannot start now; empty when it can.
    QString transferRefusal(const QString &path) const;
    void startTransfer(const QFuture<void> &work, std::function<void()> done);
    void activateEntry(const UILayoutList *list, int index, int kind, bool focusHost);
    void removeLocation(UILayoutList *list, int index);

    void createFavoriteSets();
    void reloadFavoriteSets();
    FavoriteSet *findSet(const QString &name) const;
    // Writes the set's row by name, whatever order the stored row had.
    void storeFavoriteSet(const FavoriteSet &set);
    // Moves or drops every stored member of a set, loaded by a catalogue or not.
    void renameStoredMembers(const QString &setName, const QString &newSetName);
    void deleteStoredMembers(const QString &setName);
    void storeMemberOrder(const FavoriteSet &set);

    QSharedPointer<HostBridge> m_hostBridge;
    QSharedPointer<DatabaseService> m_database;
    QSharedPointer<ZUiColor> m_uiColor;
    QPointer<AutoUpdater> m_updater;
    QList<QPointer<ResourceDataService>> m_catalogues;

    bool m_doubleClickActivate = true;
    bool m_showAdvancedTooltips = true;
    bool m_showKIVCategory = true;
    bool m_autoUpdateKivara = true;
    QString m_zbrushPath;
    QString m_libraryPath;
    QString m_libraryFolder;
    bool m_connectedToZbrush = false;
    QString m_theme = QStringLiteral("Default");
    bool m_miniMode = false;
    bool m_miniHorizontalMode = false;
    bool m_setupOk = false;
    bool m_setupFinished = false;
    QStringListModel *m_zbrushLocations;
    QHash<QString, QString> m_locationPaths;
    QStringListModel *m_installLog;
    bool m_checkedForUpdates = false;
    bool m_updateAvailable = false;
    QString m_latestVersion;
    QString m_favOnSource;
    QString m_favOffSource;
    bool m_pluginInstalled = false;
    bool m_pluginInstallError = false;
    bool m_bprOnly = false;
    bool m_zbrushUiColorSync = true;
    bool m_showNews = true;
    bool m_showTutorial = true;
    bool m_restartRequested = false;

    UILayoutList *m_layouts;
    UILayoutList *m_colors;
    UILayoutList *m_macros;
    UILayoutList *m_plugins;
    UiColorRequest *m_colorRequest;
    int m_connectionTimer = 0;
    int m_connectionCheckInterval = connectionCheckInterval;
    QFutureWatcher<bool> *m_libraryMove = nullptr;
    QFutureWatcher<void> *m_transfer = nullptr;
    CatalogueRescan *m_rescan = nullptr;
    int m_rescanProgress = 0;

    QList<FavoriteSet *> m_favoriteSets;
    QPointer<FavoriteSet> m_currentSet;
    int m_selectedFavoriteIndex = -1;
    bool m_favoritesLoaded = false;
};
