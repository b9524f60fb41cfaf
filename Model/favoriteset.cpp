#include "favoriteset.h"

#include "Model/resource.h"

FavoriteSet::FavoriteSet(const QString &name, bool readOnly, const QString &color, int order, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_color(color)
    , m_order(order)
    , m_readOnly(readOnly)
{
}

void FavoriteSet::setName(const QString &name)
{
    m_name = name;
    emit nameChanged();
}

void FavoriteSet::setColor(const QString &color)
{
    m_color = color;
    emit colorChanged();
}

void FavoriteSet::setOrder(int order)
{
    m_order = order;
    emit orderChanged();
}

QList<Resource *> FavoriteSet::members() const
{
    QList<Resource *> list;
    list.reserve(m_members.size());
    for (QObject *member : m_members)
        list.append(static_cast<Resource *>(member));
    return list;
}

int FavoriteSet::indexOf(const QObject *resource) const
{
    if (!resource)
        return -1;
    return m_members.indexOf(const_cast<QObject *>(resource));
}

int FavoriteSet::addFavorite(Resource *resource, int position)
{
    if (!resource || contains(resource))
        return -1;
    if (position < 0 || position > m_members.size())
        position = m_members.size();
    m_members.insert(position, resource);
    connect(resource, &QObject::destroyed, this, &FavoriteSet::forget);
    emit favoritesChanged();
    return position;
}

void FavoriteSet::removeFavorite(const QObject *resource)
{
    const int index = indexOf(resource);
    if (index >= 0) {
        disconnect(m_members.at(index), &QObject::destroyed, this, &FavoriteSet::forget);
        m_members.removeAt(index);
    }
    emit favoritesChanged();
}

void FavoriteSet::moveFavorite(int from, int to)
{
    if (from < 0 || from >= m_members.size() || to < 0 || to >= m_members.size())
        return;
    m_members.move(from, to);
    emit favoritesChanged();
}

void FavoriteSet::clear()
{
    for (QObject *member : qAsConst(m_members))
        disconnect(member, &QObject::destroyed, this, &FavoriteSet::forget);
    m_members.clear();
    emit favoritesChanged();
}

void FavoriteSet::forget(QObject *resource)
{
    const int index = indexOf(resource);
    if (index < 0)
        return;
    m_members.removeAt(index);
    emit favoritesChanged();
}
