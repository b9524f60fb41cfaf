#pragma once

#include "Model/favoriteset.h"
#include "Model/resource.h"
#include "Model/systemdataservice.h"

#include <QStringList>

// The system service's favourites sets by name, in their order.
inline QStringList setNames(const SystemDataService &system)
{
    QStringList names;
    const QList<FavoriteSet *> sets = system.favoriteSets();
    for (const FavoriteSet *set : sets)
        names << set->name();
    return names;
}

// The set of that name, or null.
inline FavoriteSet *setNamed(const SystemDataService &system, const QString &name)
{
    const QList<FavoriteSet *> sets = system.favoriteSets();
    for (FavoriteSet *set : sets) {
        if (set->name() == name)
            return set;
    }
    return nullptr;
}

// The names of a set's members in their order; none for no set.
inline QStringList memberNames(const FavoriteSet *set)
{
    QStringList names;
    if (!set)
        return names;
    const QList<Resource *> members = set->members();
    for (const Resource *member : members)
        names << member->name();
    return names;
}
