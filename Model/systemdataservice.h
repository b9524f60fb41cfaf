#pragma once

#include "Model/databaseservice.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QString>

class FavoriteSet;
class HostBridge;
class Resource;
class ZUiColor;

// Everything the interface reaches that is not a resource catalogue. So far: the
// favourites sets, their members and their storage. The first set is always the
// built-in, read-only "Default", which is never stored.
class SystemDataService : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<QObject *> favoritesModel READ favoritesModel NOTIFY favoritesModelChanged)
    Q_PROPERTY(int selectedFavoriteIndex READ selectedFavoriteIndex WRITE setSelectedFavoriteIndex
                   NOTIFY selectedFavoriteIndexChanged)

public:
    static constexpr const char *defaultSetName = "Default";
    static constexpr const char *defaultSetColor = "transparent";

    SystemDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                      QSharedPointer<ZUiColor> uiColor, QObject *parent = nullptr);
    ~SystemDataService() override;

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

    // Puts the stored members into the sets through the catalogues (favoriteResourceAdded)
    // and activates the first set. Runs once until a rescan asks for it again.
    void loadFavorites();

signals:
    void favoritesModelChanged();
    void selectedFavoriteIndexChanged();
    // A stored member of set: (resource name, kind, set name). The catalogue of that
    // kind adds its resource of that name to the set.
    void favoriteResourceAdded(FavoriteSet *set, DatabaseService::Favorite info);
    void favoriteSetActivated(FavoriteSet *oldSet, FavoriteSet *currentSet);

private:
    void createFavoriteSets();
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

    QList<FavoriteSet *> m_favoriteSets;
    QPointer<FavoriteSet> m_currentSet;
    int m_selectedFavoriteIndex = -1;
    bool m_favoritesLoaded = false;
};
