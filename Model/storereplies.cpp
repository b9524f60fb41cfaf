#include "Model/storereplies.h"

#include "Model/product.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtDebug>

#include <limits>

namespace StoreReplies {

namespace {

bool parse(const QByteArray &body, const char *what, QJsonDocument *document)
{
    QJsonParseError error;
    *document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        qWarning().noquote() << "The store's" << what << "is not JSON:" << error.errorString() << "at"
                             << error.offset;
        return false;
    }
    return true;
}

void wrongShape(const char *what)
{
    qWarning().noquote() << "The store's" << what << "does not have the expected shape; ignored";
}

// WordPress writes numbers, some plug-ins numeric texts.
bool intOf(const QJsonValue &value, int *result)
{
    if (value.isDouble()) {
        const double number = value.toDouble();
        // Converting a number int cannot hold is undefined; such a number is no id.
        if (!(number >= double(std::numeric_limits<int>::min()) && number <= double(std::numeric_limits<int>::max())))
            return false;
        *result = int(number);
        return double(*result) == number;
    }
    if (value.isString()) {
        bool ok = false;
        *result = value.toString().toInt(&ok);
        return ok;
    }
    return false;
}

QString textOf(const QJsonValue &value)
{
    if (value.isDouble())
        return value.toVariant().toString();
    return value.toString();
}

QString priceOf(const QJsonObject &pricing, bool membersOnly)
{
    if (pricing.contains(QStringLiteral("amount"))) {
        if (membersOnly)
            return QStringLiteral("Subscription");
        const QString amount = textOf(pricing.value(QStringLiteral("amount")));
        return amount == QLatin1String("0.00") ? QStringLiteral("Free") : QStringLiteral("$") + amount;
    }
    if (pricing.contains(QStringLiteral("6months")) && pricing.contains(QStringLiteral("lifetime")))
        return QStringLiteral("$") + textOf(pricing.value(QStringLiteral("6months"))) + QStringLiteral(" - $")
            + textOf(pricing.value(QStringLiteral("lifetime")));
    return QString();
}

// One entry of the product list; null when the entry is not shown.
QSharedPointer<Product> parseEntry(const QJsonObject &entry, QMap<int, CategoryRecord> &categories,
                                   const InstalledCheck &installedCheck)
{
    const QJsonObject info = entry.value(QStringLiteral("info")).toObject();
    int id = 0;
    if (!intOf(info.value(QStringLiteral("id")), &id) || id <= 0) {
        qWarning() << "Skipping a store product without a usable id";
        return {};
    }
    auto product = QSharedPointer<Product>::create(id, 0, withoutBrackets(info.value(QStringLiteral("title")).toString()));
    if (info.contains(QStringLiteral("content")))
        product->setDescriptionMain(withoutBrackets(info.value(QStringLiteral("content")).toString()));
    if (info.contains(QStringLiteral("excerpt")))
        product->setDescription(info.value(QStringLiteral("excerpt")).toString());
    if (info.value(QStringLiteral("thumbnail")).isString())
        product->setThumbnail(info.value(QStringLiteral("thumbnail")).toString());
    if (info.value(QStringLiteral("link")).isString())
        product->setSourceLink(info.value(QStringLiteral("link")).toString());

    QSet<int> hidden;
    for (const QJsonValue &value : info.value(QStringLiteral("hidden_categories")).toArray()) {
        int hiddenId = 0;
        if (intOf(value, &hiddenId))
            hidden.insert(hiddenId);
    }
    bool membersOnly = false;
    bool membership = false;
    QList<int> ids;
    for (const QJsonValue &value : info.value(QStringLiteral("category")).toArray()) {
        const QJsonObject category = value.toObject();
        int termId = 0;
        if (!intOf(category.value(QStringLiteral("term_id")), &termId) || hidden.contains(termId))
            continue;
        const QString name = category.value(QStringLiteral("name")).toString();
        const QString slug = category.value(QStringLiteral("slug")).toString();
        if (slug == QLatin1String("subscriptions-only") || name == QLatin1String("Members Only"))
            membersOnly = true;
        if (name == QLatin1String("Subscriptions") || name == QLatin1String("Membership")
            || name == QLatin1String("Studio Membership")) {
            membership = true;
            continue;
        }
        int parentId = 0;
        intOf(category.value(QStringLiteral("parent")), &parentId);
        categories.insert(termId, {termId, parentId, name});
        if (!ids.contains(termId))
            ids.append(termId);
    }
    QSet<int> idSet(ids.cbegin(), ids.cend());
    QStringList names;
    for (const int categoryId : qAsConst(idSet))
        names << categories.value(categoryId).name;
    product->setCategoryList(names.join(QStringLiteral(", ")));
    product->setCategoryIds(ids);

    bool libraryHidden = false;
    bool browseHidden = false;
    for (const QJsonValue &value : info.value(QStringLiteral("tags")).toArray()) {
        const QString tag = value.toObject().value(QStringLiteral("name")).toString();
        libraryHidden = libraryHidden || tag == QLatin1String("library_hidden");
        browseHidden = browseHidden || tag == QLatin1String("browse_hidden");
    }
    product->setMembership(membership);
    if ((libraryHidden && !membership) || browseHidden)
        return {};
    // A category hidden by this product is gone from the tree, whoever recorded it.
    for (const int hiddenId : qAsConst(hidden))
        categories.remove(hiddenId);

    product->setPrice(priceOf(entry.value(QStringLiteral("pricing")).toObject(), membersOnly));

    const QJsonValue subProducts = entry.value(QStringLiteral("sub_products"));
    if (!subProducts.isArray())
        return {};
    int installedCount = 0;
    int count = 0;
    for (const QJsonValue &value : subProducts.toArray()) {
        if (!value.isObject())
            continue;
        const QJsonObject sub = value.toObject();
        const QString name = sub.value(QStringLiteral("name")).toString();
        const QString fileType = sub.value(QStringLiteral("file_type")).toString();
        const bool installed = installedCheck && installedCheck(fileType.toLower(), name);
        product->addSubProductRecord(id, name, sub.value(QStringLiteral("thumbnail")).toString(), fileType,
                                     sub.value(QStringLiteral("brush_type")).toString(),
                                     sub.value(QStringLiteral("link")).toString(), installed);
        ++count;
        if (installed)
            ++installedCount;
    }
    if (installedCount >= count)
        product->setInstalled(true);
    return product;
}

} // namespace

QString withoutBrackets(const QString &text)
{
    static const QRegularExpression brackets(QStringLiteral("\\[.*\\]"),
                                             QRegularExpression::DotMatchesEverythingOption);
    return QString(text).remove(brackets);
}

Catalogue parseProducts(const QByteArray &body, const InstalledCheck &installed)
{
    Catalogue catalogue;
    QJsonDocument document;
    if (!parse(body, "product list", &document))
        return catalogue;
    const QJsonValue products = document.object().value(QStringLiteral("products"));
    if (!products.isArray()) {
        wrongShape("product list");
        return catalogue;
    }
    for (const QJsonValue &value : products.toArray()) {
        if (!value.isObject() || !value.toObject().value(QStringLiteral("info")).isObject())
            continue;
        if (QSharedPointer<Product> product = parseEntry(value.toObject(), catalogue.categories, installed))
            catalogue.products.append(product);
    }
    catalogue.ok = true;
    return catalogue;
}

Login parseLogin(const QByteArray &body)
{
    Login login;
    QJsonDocument document;
    if (!parse(body, "login reply", &document))
        return login;
    if (!document.isObject()) {
        wrongShape("login reply");
        return login;
    }
    login.wellFormed = true;
    const QJsonObject object = document.object();
    login.ok = object.contains(QStringLiteral("token")) && object.value(QStringLiteral("user_email")).isString();
    if (login.ok)
        login.email = object.value(QStringLiteral("user_email")).toString();
    return login;
}

bool parseSales(const QByteArray &body, QSet<int> *ids)
{
    QJsonDocument document;
    if (!parse(body, "sales list", &document))
        return false;
    const QJsonValue sales = document.object().value(QStringLiteral("sales"));
    if (!sales.isArray()) {
        wrongShape("sales list");
        return false;
    }
    for (const QJsonValue &sale : sales.toArray()) {
        for (const QJsonValue &product : sale.toObject().value(QStringLiteral("products")).toArray()) {
            int id = 0;
            if (intOf(product.toObject().value(QStringLiteral("id")), &id))
                ids->insert(id);
        }
    }
    return true;
}

bool parseFeatured(const QByteArray &body, QList<int> *ids)
{
    QJsonDocument document;
    if (!parse(body, "featured list", &document))
        return false;
    if (!document.isArray()) {
        wrongShape("featured list");
        return false;
    }
    for (const QJsonValue &value : document.array()) {
        int id = 0;
        if (intOf(value, &id))
            ids->append(id);
    }
    return true;
}

bool parseSubscriptions(const QByteArray &body, QStringList *subscriptions)
{
    QJsonDocument document;
    if (!parse(body, "subscription list", &document))
        return false;
    if (!document.isArray()) {
        wrongShape("subscription list");
        return false;
    }
    for (const QJsonValue &value : document.array()) {
        if (value.isString())
            subscriptions->append(value.toString());
    }
    return true;
}

bool parseJsonString(const QByteArray &body, QString *text)
{
    // A lone JSON string is not a JSON document to Qt; inside an array it is.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson("[" + body + "]", &error);
    const QJsonArray array = document.array();
    if (error.error != QJsonParseError::NoError || array.size() != 1 || !array.first().isString()) {
        qWarning().noquote() << "The store's reply is not one JSON string:" << body.left(200);
        return false;
    }
    *text = array.first().toString();
    return true;
}

} // namespace StoreReplies
