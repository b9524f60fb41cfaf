#include "systemdataservice.h"

#include "Model/cataloguerescan.h"
#include "Model/favoriteset.h"
#include "Model/hostbridge.h"
#include "Model/hostcommandkind.h"
#include "Model/librarymover.h"
#include "Model/resource.h"
#include "Model/resourcedataservice.h"
#include "Model/uicolorrequest.h"
#include "Model/uilayout.h"
#include "Model/uilayoutlist.h"
#include "Model/zuicolor.h"
#include "appfolders.h"
#include "update/autoupdater.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStringListModel>
#include <QTimerEvent>
#include <QUrl>
#include <QtConcurrent>

namespace {

// A folder URL from a QML dialog as a local path; empty for anything else.
QString localPath(const QString &url)
{
    if (url.isEmpty())
        return QString();
    const QUrl parsed(url);
    if (!parsed.isLocalFile())
        return QString();
    return QDir::toNativeSeparators(parsed.toLocalFile());
}

} // namespace

SystemDataService::SystemDataService(QSharedPointer<HostBridge> hostBridge,
                                     QSharedPointer<DatabaseService> database,
                                     QSharedPointer<ZUiColor> uiColor, QObject *parent)
    : QObject(parent)
    , m_hostBridge(std::move(hostBridge))
    , m_database(std::move(database))
    , m_uiColor(std::move(uiColor))
    , m_zbrushLocations(new QStringListModel(this))
    , m_installLog(new QStringListModel(this))
    , m_latestVersion(AutoUpdater::ownVersion)
    , m_layouts(new UILayoutList(UILayoutList::Layouts, this))
    , m_colors(new UILayoutList(UILayoutList::Colors, this))
    , m_macros(new UILayoutList(UILayoutList::Macros, this))
    , m_plugins(new UILayoutList(UILayoutList::Plugins, this))
{
    // The favourites signals may cross threads or be queued.
    qRegisterMetaType<FavoriteSet *>();
    qRegisterMetaType<DatabaseService::Favorite>();

    connect(m_layouts, &UILayoutList::entriesChanged, this, &SystemDataService::uiLayoutsChanged);
    connect(m_colors, &UILayoutList::entriesChanged, this, &SystemDataService::uiColorsChanged);
    connect(m_macros, &UILayoutList::entriesChanged, this, &SystemDataService::macrosChanged);
    connect(m_plugins, &UILayoutList::entriesChanged, this, &SystemDataService::pluginsChanged);

    const QPointer<HostBridge> bridge(m_hostBridge.data());
    m_colorRequest = new UiColorRequest(
        m_uiColor.data(), [bridge] { return bridge ? bridge->newestUiColorsFile() : QString(); },
        [bridge] {
            if (bridge)
                bridge->activate(QString(), QString(), HostCommandKind::ExportUIColors, false);
        },
        this);

    readZBrushPath();
    if (!m_setupOk)
        fillZBrushLocations();
    checkPlugin();
    createFavoriteSets();
    readSettings();
    if (m_setupOk)
        finishSetup();
}

SystemDataService::~SystemDataService()
{
    // The copies must not outlive the service that applies their results.
    if (m_libraryMove)
        m_libraryMove->waitForFinished();
    if (m_transfer)
        m_transfer->waitForFinished();
}

void SystemDataService::readZBrushPath()
{
    if (!m_database)
        return;
    const QString stored = m_database->readSetting(DatabaseService::ZBrushPath).toString();
    if (stored.isEmpty() || !QFileInfo(stored).isDir())
        return;
    m_setupOk = m_hostBridge && m_hostBridge->setHostPath(stored);
    m_zbrushPath = stored;
}

void SystemDataService::fillZBrushLocations()
{
    QStringList rows;
    m_locationPaths.clear();
    if (m_hostBridge) {
        const QList<QPair<QString, QString>> locations = m_hostBridge->hostLocations();
        for (const auto &location : locations) {
            const QString row = location.second + QStringLiteral(": ") + location.first;
            rows.append(row);
            m_locationPaths.insert(row, location.first);
        }
    }
    m_zbrushLocations->setStringList(rows);
    emit zbrushLocationsChanged();
}

void SystemDataService::checkPlugin()
{
    if (!m_hostBridge || m_zbrushPath.isEmpty())
        return;
    if (m_hostBridge->isInstallationComplete())
        return;
    // A new Kivara ships a newer script: it replaces the installed one.
    m_pluginInstalled = installInto(m_zbrushPath);
    m_pluginInstallError = !m_pluginInstalled;
    emit pluginInstalledChanged();
    emit pluginInstallErrorChanged();
}

bool SystemDataService::installPlugin(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir() || !m_hostBridge)
        return false;
    if (m_hostBridge->isInstallationComplete())
        return true;
    return installInto(path);
}

bool SystemDataService::installInto(const QString &path)
{
    if (!m_hostBridge->setHostPath(path)) {
        appendInstallLog(QStringLiteral("Invalid ZBrush application path."));
        return false;
    }
    if (!m_hostBridge->installPluginFiles(path)) {
        appendInstallLog(QStringLiteral("Failed to copy plugin to ZBrush plugins folder."));
        return false;
    }
    if (!HostBridge::shipsScriptPlugin())
        appendInstallLog(QString::fromLatin1(scriptMissingMessage), QtInfoMsg);
    m_zbrushPath = path;
    storeSetting(DatabaseService::ZBrushPath, path);
    emit zbrushPathChanged();
    return true;
}

void SystemDataService::appendInstallLog(const QString &message, QtMsgType level)
{
    if (level == QtInfoMsg)
        qInfo().noquote() << message;
    else
        qWarning().noquote() << message;
    const int row = m_installLog->rowCount();
    m_installLog->insertRows(row, 1);
    m_installLog->setData(m_installLog->index(row), message);
    emit installLogChanged();
}

void SystemDataService::readSettings()
{
    if (!m_database)
        return;
    const auto flag = [this](DatabaseService::SettingKey key, bool *field) {
        *field = DatabaseService::settingToBool(m_database->readSetting(key), *field);
    };
    flag(DatabaseService::ShowAdvancedTooltips, &m_showAdvancedTooltips);
    // Stored as its opposite: a single click activates.
    const QVariant singleClick = m_database->readSetting(DatabaseService::SingleClick);
    if (!singleClick.isNull())
        m_doubleClickActivate = !DatabaseService::settingToBool(singleClick, false);
    flag(DatabaseService::AutoUpdate, &m_autoUpdateKivara);
    flag(DatabaseService::ShowKIVCategory, &m_showKIVCategory);
    const QVariant theme = m_database->readSetting(DatabaseService::Theme);
    if (!theme.isNull())
        m_theme = theme.toString();
    flag(DatabaseService::ZbrushColorSync, &m_zbrushUiColorSync);
    flag(DatabaseService::ShowNews, &m_showNews);
    flag(DatabaseService::HorizontalMiniMode, &m_miniHorizontalMode);
    flag(DatabaseService::ShowTutorial, &m_showTutorial);
}

void SystemDataService::storeSetting(DatabaseService::SettingKey key, const QVariant &value)
{
    if (m_database)
        m_database->writeSetting(key, value);
}

void SystemDataService::finishSetup()
{
    QString library;
    const QString stored =
        m_database ? m_database->readSetting(DatabaseService::LibraryLocation).toString() : QString();
    if (!stored.isEmpty())
        library = stored + QLatin1Char('/') + QLatin1String(libraryFolderName);
    else
        library = AppFolders::defaultLibraryFolder();
    library = QDir::toNativeSeparators(library);
    if (!QFileInfo(library).isDir() && !QDir().mkpath(library))
        qWarning().noquote() << "Cannot create the library folder" << library;
    m_libraryFolder = library;
    m_libraryPath = library;
    emit libraryPathChanged();

    rescanLayouts();
    m_colors->rescan(m_hostBridge ? m_hostBridge->hostPath() : QString());
    m_macros->rescan(m_hostBridge ? m_hostBridge->hostPath() : QString());

    m_setupFinished = true;
    startConnectionTimer();
}

void SystemDataService::startConnectionTimer()
{
    if (m_connectionTimer != 0)
        killTimer(m_connectionTimer);
    m_connectionTimer = startTimer(m_connectionCheckInterval, Qt::CoarseTimer);
}

void SystemDataService::setConnectionCheckInterval(int milliseconds)
{
    m_connectionCheckInterval = milliseconds;
    if (m_connectionTimer != 0)
        startConnectionTimer();
}

void SystemDataService::rescanLayouts()
{
    if (m_database)
        m_layouts->setLocations(m_database->readFolders(DatabaseService::UILayout));
    m_layouts->rescan(m_hostBridge ? m_hostBridge->hostPath() : QString());
}

void SystemDataService::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_connectionTimer)
        checkConnection();
    else
        QObject::timerEvent(event);
}

void SystemDataService::checkConnection()
{
    const bool running = m_hostBridge && m_hostBridge->isHostRunning();
    if (running == m_connectedToZbrush)
        return;
    m_connectedToZbrush = running;
    emit zbrushConnectionChanged();
    // A ZBrush that has just started may show other colours than it did last time.
    if (running && m_zbrushUiColorSync)
        m_colorRequest->request(true);
}

void SystemDataService::registerCatalogue(ResourceDataService *catalogue)
{
    if (!catalogue || catalogues().contains(catalogue))
        return;
    m_catalogues.append(catalogue);
    connect(this, &SystemDataService::favoriteSetActivated, catalogue, &ResourceDataService::onFavoriteSetActivated);
    connect(this, &SystemDataService::favoriteResourceAdded, catalogue, &ResourceDataService::onLoadFavorite);
    connect(this, &SystemDataService::rescanResources, catalogue, &ResourceDataService::scanAll);
    connect(this, &SystemDataService::rescanComplete, catalogue, &ResourceDataService::refreshAllRows);
}

QList<ResourceDataService *> SystemDataService::catalogues() const
{
    QList<ResourceDataService *> live;
    for (const QPointer<ResourceDataService> &catalogue : m_catalogues) {
        if (catalogue)
            live.append(catalogue);
    }
    return live;
}

void SystemDataService::setAutoUpdater(AutoUpdater *updater)
{
    m_updater = updater;
}

AutoUpdater *SystemDataService::autoUpdater() const
{
    return m_updater;
}

void SystemDataService::reportLatestVersion(const QString &version)
{
    m_checkedForUpdates = true;
    m_latestVersion = version;
    // Any other version counts, even an older one: the feed decides.
    m_updateAvailable = AutoUpdater::isUpdate(version);
    emit checkedForUpdatesChanged();
    emit latestVersionChanged();
    emit updateAvailableChanged();
}

void SystemDataService::setDoubleClickActivate(bool on)
{
    storeSetting(DatabaseService::SingleClick, !on);
    m_doubleClickActivate = on;
    emit doubleClickActivateChanged();
}

void SystemDataService::setShowAdvancedTooltips(bool on)
{
    storeSetting(DatabaseService::ShowAdvancedTooltips, on);
    m_showAdvancedTooltips = on;
    emit showAdvancedTooltipsChanged();
}

void SystemDataService::setShowKIVCategory(bool on)
{
    storeSetting(DatabaseService::ShowKIVCategory, on);
    m_showKIVCategory = on;
    emit showKIVCategoryChanged();
}

void SystemDataService::setAutoUpdateKivara(bool on)
{
    storeSetting(DatabaseService::AutoUpdate, on);
    m_autoUpdateKivara = on;
    emit autoUpdateKivaraChanged();
}

void SystemDataService::setZbrushPath(const QString &url)
{
    const QString path = localPath(url);
    if (path.isEmpty())
        return;
    // The bridge keeps its folder until the next start or an installation.
    m_zbrushPath = path;
    storeSetting(DatabaseService::ZBrushPath, path);
    emit zbrushPathChanged();
}

void SystemDataService::setTheme(const QString &theme)
{
    storeSetting(DatabaseService::Theme, theme);
    m_theme = theme;
    emit themeChanged();
}

void SystemDataService::setMiniMode(bool on)
{
    m_miniMode = on;
    emit miniModeChanged();
}

void SystemDataService::setMiniHorizontalMode(bool on)
{
    storeSetting(DatabaseService::HorizontalMiniMode, on);
    m_miniHorizontalMode = on;
    emit miniHorizontalModeChanged();
}

void SystemDataService::setSetupOk(bool ok)
{
    m_setupOk = ok;
    if (ok && !m_setupFinished) {
        // The favourites can only land in catalogues that have scanned; the set-up
        // view writes the catalogues first, but one it missed is set up here.
        for (ResourceDataService *catalogue : catalogues()) {
            if (!catalogue->setupOk())
                catalogue->setSetupOk(true);
        }
        finishSetup();
        loadFavorites();
    }
    emit setupOkChanged();
}

void SystemDataService::setFavOnSource(const QString &source)
{
    m_favOnSource = source;
    emit favOnSourceChanged();
}

void SystemDataService::setFavOffSource(const QString &source)
{
    m_favOffSource = source;
    emit favOffSourceChanged();
}

void SystemDataService::setBprOnly(bool on)
{
    m_bprOnly = on;
    if (m_hostBridge)
        m_hostBridge->setBprOnly(on);
    emit bprOnlyChanged();
}

void SystemDataService::setZbrushUiColorSync(bool on)
{
    storeSetting(DatabaseService::ZbrushColorSync, on);
    m_zbrushUiColorSync = on;
    if (on)
        m_colorRequest->request(true);
    emit zbrushUiColorSyncChanged();
}

void SystemDataService::setShowNews(bool on)
{
    storeSetting(DatabaseService::ShowNews, on);
    m_showNews = on;
    emit showNewsChanged();
}

// The library folder is the chosen folder + "/KIVSource". Within one file system the
// move is one rename. Across file systems the folder is copied on the thread pool,
// checked, and the original removed; until the copy is complete the library stays
// where it was, and a failed copy leaves it there and records nothing, so that the
// catalogues never look for the library where it is not. A target that is not a
// writable folder is recorded all the same, with a warning.
void SystemDataService::setLibraryPath(const QString &url)
{
    if (url == m_libraryPath)
        return;
    const QString chosen = localPath(url);
    if (chosen.isEmpty() || chosen == m_libraryPath)
        return;
    if (isMovingLibrary()) {
        qWarning().noquote() << "Move library failed." << "Another move is still running.";
        return;
    }
    const QString target = chosen + QLatin1Char('/') + QLatin1String(libraryFolderName);
    const QFileInfo chosenInfo(chosen);
    if (!chosenInfo.isDir() || !chosenInfo.isWritable()) {
        qWarning("Move library failed.");
        applyLibraryMove(chosen, m_libraryFolder);
        emit libraryMoveFinished(false, QStringLiteral("%1 is not a writable folder.").arg(chosen));
        return;
    }
    // The chosen folder holds the library already.
    if (QFileInfo(target).absoluteFilePath() == QFileInfo(m_libraryFolder).absoluteFilePath()) {
        applyLibraryMove(chosen, target);
        emit libraryMoveFinished(true, QString());
        return;
    }

    // A library cannot go into itself; recording such a place would lose it.
    const QString libraryRoot = QFileInfo(m_libraryFolder).absoluteFilePath() + QLatin1Char('/');
    if (!m_libraryFolder.isEmpty() && QFileInfo(target).absoluteFilePath().startsWith(libraryRoot)) {
        qWarning().noquote() << "Move library failed." << target << "lies inside the library";
        emit libraryMoveFinished(false, QStringLiteral("%1 lies inside the library.").arg(chosen));
        return;
    }

    QString why;
    const QString source = m_libraryFolder;
    switch (LibraryMover::rename(source, target, &why)) {
    case LibraryMover::RenameResult::Renamed:
        applyLibraryMove(chosen, target);
        emit libraryMoveFinished(true, QString());
        return;
    case LibraryMover::RenameResult::Failed:
        qWarning().noquote() << "Move library failed." << why;
        applyLibraryMove(chosen, m_libraryFolder);
        emit libraryMoveFinished(false, why);
        return;
    case LibraryMover::RenameResult::OtherFileSystem:
        break;
    }

    qInfo().noquote() << "Copying the library from" << source << "to" << target;
    m_libraryMove = new QFutureWatcher<bool>(this);
    const auto error = QSharedPointer<QString>::create();
    connect(m_libraryMove, &QFutureWatcher<bool>::finished, this, [this, chosen, target, error] {
        const bool moved = m_libraryMove->result();
        m_libraryMove->deleteLater();
        m_libraryMove = nullptr;
        emit movingLibraryChanged();
        if (moved)
            applyLibraryMove(chosen, target);
        else
            qWarning().noquote() << "Move library failed." << *error;
        emit libraryMoveFinished(moved, moved ? QString() : *error);
    });
    m_libraryMove->setFuture(QtConcurrent::run([source, target, error] {
        return LibraryMover::copyAcross(source, target, error.data());
    }));
    emit movingLibraryChanged();
}

bool SystemDataService::isMovingLibrary() const
{
    return m_libraryMove != nullptr;
}

void SystemDataService::applyLibraryMove(const QString &chosenFolder, const QString &libraryFolder)
{
    // Until the next start the property shows the chosen folder; the library itself is
    // tracked apart so that a second move takes the library, not the chosen folder.
    m_libraryFolder = libraryFolder;
    m_libraryPath = chosenFolder;
    storeSetting(DatabaseService::LibraryLocation, chosenFolder);
    emit libraryPathChanged();
}

void SystemDataService::createFavoriteSets()
{
    auto *defaultSet = new FavoriteSet(QString::fromLatin1(defaultSetName), true,
                                       QString::fromLatin1(defaultSetColor), 0, this);
    m_favoriteSets.append(defaultSet);
    emit favoritesModelChanged();
    if (m_database) {
        const QVector<DatabaseService::FavoriteSetRow> stored = m_database->readFavoriteSets();
        // A stored "Default" is dropped by the duplicate check.
        for (const DatabaseService::FavoriteSetRow &row : stored)
            addFavoriteSet(row.name, false, false, row.color);
    }
    m_currentSet = m_favoriteSets.first();
}

QList<QObject *> SystemDataService::favoritesModel() const
{
    QList<QObject *> sets;
    sets.reserve(m_favoriteSets.size());
    for (FavoriteSet *set : m_favoriteSets)
        sets.append(set);
    return sets;
}

FavoriteSet *SystemDataService::currentFavoriteSet() const
{
    return m_currentSet;
}

void SystemDataService::setSelectedFavoriteIndex(int index)
{
    m_selectedFavoriteIndex = index;
    emit selectedFavoriteIndexChanged();
}

FavoriteSet *SystemDataService::findSet(const QString &name) const
{
    for (FavoriteSet *set : m_favoriteSets) {
        if (set->name() == name)
            return set;
    }
    return nullptr;
}

void SystemDataService::addFavoriteSet(const QString &name, bool updateDb, bool readOnly, const QString &color)
{
    if (name.isEmpty() || findSet(name))
        return;
    const int order = m_favoriteSets.size();
    m_favoriteSets.append(new FavoriteSet(name, readOnly, color, order, this));
    if (updateDb && m_database)
        m_database->insertFavoriteSet(name, color, order);
    emit favoritesModelChanged();
}

void SystemDataService::removeFavoriteSet(QObject *object)
{
    auto *set = qobject_cast<FavoriteSet *>(object);
    if (!set || set->readOnly() || !m_favoriteSets.contains(set))
        return;
    if (set == m_currentSet) {
        // Move the favourite marks to the set that becomes current.
        FavoriteSet *first = m_favoriteSets.first();
        m_currentSet = first;
        emit favoriteSetActivated(set, first);
        setSelectedFavorite(nullptr);
    }
    m_favoriteSets.removeOne(set);
    if (m_database) {
        m_database->deleteFavoriteSet(set->name());
        // Left behind, the members would come back in a later set of the same name.
        deleteStoredMembers(set->name());
    }
    // QML may still be evaluating a binding on it.
    set->deleteLater();
    emit favoritesModelChanged();
}

void SystemDataService::editFavoriteSet(QObject *object, const QString &name, const QString &color, int order)
{
    Q_UNUSED(order)
    auto *set = qobject_cast<FavoriteSet *>(object);
    if (!set || set->readOnly() || name.isEmpty())
        return;
    FavoriteSet *sameName = findSet(name);
    if (sameName && sameName != set)
        return;
    const QString oldName = set->name();
    set->setName(name);
    set->setColor(color);
    if (!m_database)
        return;
    if (oldName != name) {
        m_database->deleteFavoriteSet(oldName);
        renameStoredMembers(oldName, name);
    }
    storeFavoriteSet(*set);
}

void SystemDataService::addItemToFavorites(QObject *object, QObject *setObject)
{
    auto *resource = qobject_cast<Resource *>(object);
    auto *set = qobject_cast<FavoriteSet *>(setObject);
    if (!resource || !set)
        return;
    // Already a member: storing it again would give it the last position.
    const int position = set->addFavorite(resource, -1);
    if (position < 0)
        return;
    if (m_database)
        m_database->saveFavoriteResource(resource->name(), resource->resourceType(), set->name(), position);
    resource->setFavorite(true);
}

void SystemDataService::removeItemFromFavorites(QObject *object, QObject *setObject)
{
    auto *resource = qobject_cast<Resource *>(object);
    auto *set = qobject_cast<FavoriteSet *>(setObject);
    if (!resource || !set)
        return;
    set->removeFavorite(resource);
    if (m_database)
        m_database->deleteFavoriteResource(resource->name(), resource->resourceType(), set->name());
    resource->setFavorite(false);
}

void SystemDataService::activateFavoriteSet(QObject *prevSet, QObject *newSet)
{
    auto *previous = qobject_cast<FavoriteSet *>(prevSet);
    auto *next = qobject_cast<FavoriteSet *>(newSet);
    if (!previous || !next)
        return;
    m_currentSet = next;
    emit favoriteSetActivated(previous, next);
    setSelectedFavorite(nullptr);
}

void SystemDataService::moveFavorite(QObject *object, int fromIndex, int toIndex)
{
    auto *set = qobject_cast<FavoriteSet *>(object);
    if (!set || fromIndex < 0 || fromIndex >= set->count() || toIndex < 0 || toIndex >= set->count())
        return;
    set->moveFavorite(fromIndex, toIndex);
    storeMemberOrder(*set);
}

void SystemDataService::setSelectedFavorite(QObject *item)
{
    setSelectedFavoriteIndex(m_currentSet && item ? m_currentSet->indexOf(item) : -1);
}

int SystemDataService::moveFavoriteSet(int fromIndex, int toIndex)
{
    const int count = m_favoriteSets.size();
    // "Default" stays first: it does not move and nothing goes before it.
    if (fromIndex < 1 || fromIndex >= count)
        return fromIndex;
    const int target = qBound(1, toIndex, count - 1);
    m_favoriteSets.move(fromIndex, target);
    for (int i = 0; i < m_favoriteSets.size(); ++i) {
        FavoriteSet *set = m_favoriteSets.at(i);
        set->setOrder(i);
        if (m_database)
            storeFavoriteSet(*set);
    }
    emit favoritesModelChanged();
    return target;
}

void SystemDataService::loadFavorites()
{
    if (m_favoritesLoaded)
        return;
    for (FavoriteSet *set : qAsConst(m_favoriteSets))
        set->clear();
    if (m_database) {
        const QVector<DatabaseService::Favorite> stored = m_database->readFavoriteResources();
        for (const DatabaseService::Favorite &favorite : stored) {
            if (FavoriteSet *set = findSet(std::get<2>(favorite)))
                emit favoriteResourceAdded(set, favorite);
        }
    }
    FavoriteSet *first = m_favoriteSets.first();
    m_currentSet = first;
    emit favoriteSetActivated(first, first);
    setSelectedFavorite(nullptr);
    m_favoritesLoaded = true;
}

void SystemDataService::storeFavoriteSet(const FavoriteSet &set)
{
    if (set.readOnly())
        return;
    // The stored order can differ from the set's (a removal renumbers nothing and a
    // restart numbers the sets afresh), so the row is matched by name alone.
    m_database->deleteFavoriteSet(set.name());
    m_database->insertFavoriteSet(set.name(), set.color(), set.order());
}

void SystemDataService::renameStoredMembers(const QString &setName, const QString &newSetName)
{
    const QVector<DatabaseService::Favorite> stored = m_database->readFavoriteResources();
    int order = 0;
    for (const DatabaseService::Favorite &favorite : stored) {
        if (std::get<2>(favorite) != setName)
            continue;
        const QString kindWord = DatabaseService::kindWord(std::get<1>(favorite));
        m_database->deleteFavoriteResource(std::get<0>(favorite), kindWord, setName);
        m_database->saveFavoriteResource(std::get<0>(favorite), kindWord, newSetName, order++);
    }
}

void SystemDataService::deleteStoredMembers(const QString &setName)
{
    const QVector<DatabaseService::Favorite> stored = m_database->readFavoriteResources();
    for (const DatabaseService::Favorite &favorite : stored) {
        if (std::get<2>(favorite) == setName) {
            m_database->deleteFavoriteResource(std::get<0>(favorite),
                                               DatabaseService::kindWord(std::get<1>(favorite)), setName);
        }
    }
}

void SystemDataService::storeMemberOrder(const FavoriteSet &set)
{
    if (!m_database)
        return;
    const QList<Resource *> members = set.members();
    for (int i = 0; i < members.size(); ++i)
        m_database->saveFavoriteResource(members.at(i)->name(), members.at(i)->resourceType(), set.name(), i);
}

QString SystemDataService::getAppPathFromDisplay(const QString &display) const
{
    return m_locationPaths.value(display);
}

void SystemDataService::activateResource(const QString &name, const QString &path, const QString &type)
{
    if (m_hostBridge)
        m_hostBridge->activate(name, path, HostBridge::commandKindForType(type), true);
}

namespace {

struct TransferResult
{
    bool ok = false;
    QString error;
    QString stagedFile;
};

} // namespace

// Export and the slow half of an import (copying and checking the chosen file) run on
// the thread pool, each on a database connection of its own; only the swap of a
// checked import happens here, on the service's own connection.
QString SystemDataService::transferRefusal(const QString &path) const
{
    if (path.isEmpty())
        return QStringLiteral("No file was chosen.");
    if (!m_database)
        return QStringLiteral("No library is open.");
    if (m_transfer)
        return QStringLiteral("Another import or export is still running.");
    return QString();
}

bool SystemDataService::exportDatabase(const QString &url)
{
    const QString path = localPath(url);
    const QString error = transferRefusal(path);
    if (!error.isEmpty()) {
        emit databaseExported(false, error);
        return false;
    }
    const QString databasePath = m_database->path();
    static QAtomicInt exports;
    const QString connection = QStringLiteral("kivara-export-%1").arg(exports.fetchAndAddRelaxed(1));
    const auto result = QSharedPointer<TransferResult>::create();
    startTransfer(QtConcurrent::run([databasePath, connection, path, result] {
        DatabaseService snapshot(databasePath, connection);
        result->ok = snapshot.exportDatabaseFile(path, &result->error);
    }), [this, result] { emit databaseExported(result->ok, result->error); });
    return true;
}

bool SystemDataService::importDatabase(const QString &url)
{
    const QString path = localPath(url);
    const QString error = transferRefusal(path);
    if (!error.isEmpty()) {
        emit databaseImported(false, error);
        return false;
    }
    const QString databasePath = m_database->path();
    const auto result = QSharedPointer<TransferResult>::create();
    startTransfer(QtConcurrent::run([path, databasePath, result] {
        result->ok = DatabaseService::stageImport(path, databasePath, &result->stagedFile, &result->error);
    }), [this, path, result] {
        if (result->ok && m_database)
            result->ok = m_database->replaceWithStaged(result->stagedFile, path, &result->error);
        else if (result->ok)
            QFile::remove(result->stagedFile);
        // A refused file left the library as it was: nothing to reload.
        if (result->ok) {
            reloadFavoriteSets();
            // Before set-up is complete the set-up view still has to finish it itself.
            if (m_setupOk) {
                finishSetup();
                loadFavorites();
            }
        }
        emit databaseImported(result->ok, result->error);
    });
    return true;
}

void SystemDataService::startTransfer(const QFuture<void> &work, std::function<void()> done)
{
    m_transfer = new QFutureWatcher<void>(this);
    connect(m_transfer, &QFutureWatcher<void>::finished, this, [this, done] {
        m_transfer->deleteLater();
        m_transfer = nullptr;
        emit transferringDatabaseChanged();
        done();
    });
    m_transfer->setFuture(work);
    emit transferringDatabaseChanged();
}

void SystemDataService::openResourceFolder(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        qWarning().noquote() << "Cannot open" << folder;
}

int SystemDataService::getWindowStartX(int x) const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const QRect desktop = screen->virtualGeometry();
    return x >= desktop.left() && x <= desktop.right() ? x : desktop.left() + 10;
}

int SystemDataService::getWindowStartY(int y) const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const QRect desktop = screen->virtualGeometry();
    return y >= desktop.top() && y <= desktop.bottom() ? y : desktop.top() + 10;
}

void SystemDataService::checkForUpdates()
{
    if (m_updater)
        m_updater->fetchLatestVersion();
}

void SystemDataService::installUpdate()
{
    if (m_updater)
        m_updater->checkAndInstall();
}

void SystemDataService::restartApp()
{
    // Started from here, the new instance could still find this one's
    // single-instance guard and give up; start-up launches it after the guard is gone.
    m_restartRequested = true;
    QCoreApplication::quit();
}

void SystemDataService::setStartupDocument()
{
    if (m_hostBridge)
        m_hostBridge->activate(QString(), QString(), HostCommandKind::StartupDocument, true);
}

void SystemDataService::rescanAllResources()
{
    emit rescanResources();
    m_favoritesLoaded = false;
    loadFavorites();
    emit rescanComplete();
}

bool SystemDataService::startRescan()
{
    if (m_rescan)
        return false;
    m_rescan = new CatalogueRescan(catalogues(), this);
    m_rescanProgress = 0;
    connect(m_rescan, &CatalogueRescan::progress, this, [this](int done, int total) {
        m_rescanProgress = total > 0 ? done * 100 / total : 100;
        emit rescanProgressChanged();
    });
    connect(m_rescan, &CatalogueRescan::finished, this, [this] {
        m_rescan->deleteLater();
        m_rescan = nullptr;
        m_favoritesLoaded = false;
        loadFavorites();
        emit rescanComplete();
        emit rescanningChanged();
        emit rescanFinished();
    });
    emit rescanningChanged();
    emit rescanProgressChanged();
    m_rescan->start();
    return true;
}

QList<QObject *> SystemDataService::uiLayouts() const
{
    return m_layouts->entries();
}

QStringListModel *SystemDataService::uiLayoutLocations() const
{
    return m_layouts->locations();
}

QList<QObject *> SystemDataService::uiColors() const
{
    return m_colors->entries();
}

QStringListModel *SystemDataService::uiColorLocations() const
{
    return m_colors->locations();
}

QList<QObject *> SystemDataService::macros() const
{
    return m_macros->entries();
}

QList<QObject *> SystemDataService::plugins() const
{
    return m_plugins->entries();
}

QStringListModel *SystemDataService::pluginLocations() const
{
    return m_plugins->locations();
}

void SystemDataService::activateEntry(const UILayoutList *list, int index, int kind, bool focusHost)
{
    const UILayout *entry = list->at(index);
    if (entry && m_hostBridge)
        m_hostBridge->activate(entry->name(), entry->path(), static_cast<HostCommandKind>(kind), focusHost);
}

void SystemDataService::activateUILayout(int index)
{
    activateEntry(m_layouts, index, static_cast<int>(HostCommandKind::UILayout), true);
}

void SystemDataService::activateUIColor(int index)
{
    if (!m_colors->at(index))
        return;
    // The time of the current colours file is taken before ZBrush can write a new one.
    if (m_zbrushUiColorSync)
        m_colorRequest->request(false);
    activateEntry(m_colors, index, static_cast<int>(HostCommandKind::UIColor), false);
}

void SystemDataService::activateMacro(int index)
{
    activateEntry(m_macros, index, static_cast<int>(HostCommandKind::Macro), true);
}

void SystemDataService::activatePlugin(int index)
{
    activateEntry(m_plugins, index, static_cast<int>(HostCommandKind::Project), true);
}

void SystemDataService::renameLayout(int index, const QString &toName)
{
    m_layouts->rename(index, toName);
}

void SystemDataService::renameUIColor(int index, const QString &toName)
{
    m_colors->rename(index, toName);
}

void SystemDataService::addUILayoutLocation(const QString &url)
{
    const QString path = localPath(url);
    if (!m_layouts->addLocation(path))
        return;
    // Stored even when the folder does not exist (yet): a drive may come back.
    if (m_database)
        m_database->insertFolder(path, DatabaseService::UILayout);
    emit uiLayoutLocationsChanged();
}

void SystemDataService::addUIColorLocation(const QString &url)
{
    if (m_colors->addLocation(localPath(url)))
        emit uiColorLocationsChanged();
}

void SystemDataService::addPluginLocation(const QString &url)
{
    if (m_plugins->addLocation(localPath(url)))
        emit pluginLocationsChanged();
}

void SystemDataService::removeUILayoutLocation(int index)
{
    const QString path = m_layouts->takeLocation(index);
    if (path.isEmpty())
        return;
    // Deleted before the rescan, which reads the stored locations back.
    if (m_database)
        m_database->deleteFolder(path, DatabaseService::UILayout);
    rescanLayouts();
    emit uiLayoutLocationsChanged();
}

void SystemDataService::removeUIColorLocation(int index)
{
    removeLocation(m_colors, index);
}

void SystemDataService::removePluginLocation(int index)
{
    removeLocation(m_plugins, index);
}

void SystemDataService::removeLocation(UILayoutList *list, int index)
{
    if (list->takeLocation(index).isEmpty())
        return;
    // The other locations of the run stay: they are kept until the program ends.
    list->rescan(m_hostBridge ? m_hostBridge->hostPath() : QString());
    if (list == m_colors)
        emit uiColorLocationsChanged();
    else
        emit pluginLocationsChanged();
}

void SystemDataService::reloadFavoriteSets()
{
    for (FavoriteSet *set : qAsConst(m_favoriteSets))
        set->clear();
    const QList<FavoriteSet *> old = std::exchange(m_favoriteSets, {});
    m_currentSet = nullptr;
    setSelectedFavorite(nullptr);
    createFavoriteSets();
    m_favoritesLoaded = false;
    for (FavoriteSet *set : old)
        set->deleteLater();
}
