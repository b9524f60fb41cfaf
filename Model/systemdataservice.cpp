#include "systemdataservice.h"

#include "Model/favoriteset.h"
#include "Model/resource.h"

SystemDataService::SystemDataService(QSharedPointer<HostBridge> hostBridge,
                                     QSharedPointer<DatabaseService> database,
                                     QSharedPointer<ZUiColor> uiColor, QObject *parent)
    : QObject(parent)
    , m_hostBridge(std::move(hostBridge))
    , m_database(std::move(database))
    , m_uiColor(std::move(uiColor))
{
    // The favourites signals may cross threads or be queued.
    qRegisterMetaType<FavoriteSet *>();
    qRegisterMetaType<DatabaseService::Favorite>();
    createFavoriteSets();
}

SystemDataService::~SystemDataService() = default;

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
