#pragma once

#include "Model/categoryrecord.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <functional>

class Product;

// Reads the store's replies. A reply that is not JSON, or not of the shape the
// request promises, is logged and yields ok false, so that the caller changes
// nothing; single entries of the wrong shape are skipped.
namespace StoreReplies {

struct Catalogue
{
    bool ok = false;
    QList<QSharedPointer<Product>> products;
    // By term id; the categories the products show.
    QMap<int, CategoryRecord> categories;
};

struct Login
{
    // The reply was a JSON object at all.
    bool wellFormed = false;
    bool ok = false;
    QString email;
};

// Whether the catalogue of a kind (lower-case word) holds a resource of a name.
using InstalledCheck = std::function<bool(const QString &fileType, const QString &name)>;

Catalogue parseProducts(const QByteArray &body, const InstalledCheck &installed);
Login parseLogin(const QByteArray &body);
bool parseSales(const QByteArray &body, QSet<int> *ids);
bool parseFeatured(const QByteArray &body, QList<int> *ids);
bool parseSubscriptions(const QByteArray &body, QStringList *subscriptions);
// The download link and the set information arrive as one JSON string.
bool parseJsonString(const QByteArray &body, QString *text);
// Everything from the first '[' to the last ']' goes (the store's short-codes).
QString withoutBrackets(const QString &text);

} // namespace StoreReplies
