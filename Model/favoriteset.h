#pragma once

#include <QList>
#include <QObject>
#include <QString>

class Resource;

// A named, coloured favourites set and its member resources in display order.
// Members are held by plain pointers and matched by identity, never by name; a
// member that is destroyed (its catalogue rescanned) leaves the set by itself.
class FavoriteSet : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(int order READ order WRITE setOrder NOTIFY orderChanged)
    Q_PROPERTY(QList<QObject *> favorites READ favorites NOTIFY favoritesChanged)
    Q_PROPERTY(bool readOnly READ readOnly NOTIFY readOnlyChanged)

public:
    FavoriteSet(const QString &name, bool readOnly, const QString &color, int order,
                QObject *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    QString color() const { return m_color; }
    void setColor(const QString &color);
    int order() const { return m_order; }
    void setOrder(int order);
    bool readOnly() const { return m_readOnly; }

    QList<QObject *> favorites() const { return m_members; }
    QList<Resource *> members() const;
    int count() const { return m_members.size(); }
    bool contains(const QObject *resource) const { return indexOf(resource) >= 0; }
    int indexOf(const QObject *resource) const;

    // Inserts at position, or appends when position is negative; answers the index
    // used, or -1 when the resource is already a member.
    int addFavorite(Resource *resource, int position = -1);
    void removeFavorite(const QObject *resource);
    void moveFavorite(int from, int to);
    void clear();

signals:
    void nameChanged();
    void colorChanged();
    void orderChanged();
    void favoritesChanged();
    void readOnlyChanged();

private:
    void forget(QObject *resource);

    QString m_name;
    QString m_color;
    int m_order = 0;
    bool m_readOnly = false;
    // Kept as QObject pointers so that a member being destroyed can still be matched.
    QList<QObject *> m_members;
};
