#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// What the local store sells, read from a catalogue file (JSON):
//
//   { "users":    [ { "username", "password", "email", "owned": [ids], "subscriptions": [texts] } ],
//     "featured": [ ids ],
//     "products": [ entries exactly as the store's product list returns them:
//                   { "info": {...}, "pricing": {...}, "sub_products": [...] } ],
//     "packs":    { "<link value>": { "file": "Name.rar",
//                                     "members": [ { "name", and one of "text", "size",
//                                                    "png": [w, h], "dir": true } ] } },
//     "set_info": { "<product id>": "<xml text>" },
//     "images":   { "<name>": { "colour": "#rrggbb", "style": "clay" | "pores" | "planar" | "" } } }
//
// A product's link value is its decimal id, a sub-product's its "link". A thumbnail
// that starts with "/" is served by the store itself: "/images/<name>.png" is the
// picture of that name, and the store puts its own address in front.
class StoreCatalogue
{
public:
    struct User
    {
        QString username;
        QString password;
        QString email;
        QList<int> owned;
        QStringList subscriptions;
    };

    bool load(const QString &path, QString *error);

    QJsonArray products() const { return m_products; }
    // The products with thumbnails of the store's own made absolute against base.
    QJsonArray products(const QString &base) const;
    QJsonArray featured() const { return m_featured; }
    const User *user(const QString &username, const QString &password) const;
    const User *userByEmail(const QString &email) const;
    // The set information document of a product; null when it has none.
    QString setInfo(int productId) const { return m_setInfo.value(productId); }
    bool hasPack(const QString &link) const { return m_packs.contains(link); }
    QString packFileName(const QString &link) const;
    // The pack as a RAR archive; a hostile one also holds members whose names climb out.
    QByteArray packArchive(const QString &link, bool hostile) const;
    bool hasImage(const QString &name) const { return m_images.contains(name); }
    // The picture as PNG.
    QByteArray image(const QString &name) const;

private:
    QList<User> m_users;
    QJsonArray m_products;
    QJsonArray m_featured;
    QHash<QString, QJsonObject> m_packs;
    QHash<int, QString> m_setInfo;
    QHash<QString, QJsonObject> m_images;
};
