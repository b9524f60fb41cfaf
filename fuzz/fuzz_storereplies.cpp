// Arbitrary bytes as the store's replies, read by the reply parsers alone: the input
// is cut at NUL bytes into the replies to the login, the product list, the sales,
// the featured list and the subscriptions, then the download link and the set
// information (the order fuzz_storeservice uses, so that the two share inputs).
// No crash; a product has an id and its name keeps nothing between brackets; a
// price is empty, "Free", "Subscription" or a dollar amount.
#include "Model/product.h"
#include "Model/storeaddress.h"
#include "Model/storereplies.h"
#include "fuzz/fuzzsupport.h"
#include "xmldocumentreader.h"

#include <QDomDocument>
#include <QUrl>

namespace {

enum Part { Login, Products, Sales, Featured, Subscriptions, Link, SetInfo };

bool bracketed(const QString &name)
{
    const int open = name.indexOf(QLatin1Char('['));
    return open >= 0 && name.indexOf(QLatin1Char(']'), open) > open;
}

bool knownPrice(const QString &price)
{
    return price.isEmpty() || price == QLatin1String("Free") || price == QLatin1String("Subscription")
        || price.startsWith(QLatin1Char('$'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    const QList<QByteArray> parts = FuzzSupport::bytes(data, size).split('\0');
    const auto part = [&parts](Part which) { return parts.value(which); };

    StoreReplies::parseLogin(part(Login));

    const StoreReplies::Catalogue catalogue = StoreReplies::parseProducts(
        part(Products), [](const QString &fileType, const QString &name) { return fileType.size() == name.size(); });
    for (const QSharedPointer<Product> &product : catalogue.products) {
        if (product->id() <= 0 || bracketed(product->name()) || !knownPrice(product->price()))
            abort();
    }

    QSet<int> owned;
    StoreReplies::parseSales(part(Sales), &owned);
    QList<int> featured;
    StoreReplies::parseFeatured(part(Featured), &featured);
    QStringList subscriptions;
    StoreReplies::parseSubscriptions(part(Subscriptions), &subscriptions);

    // Read as the download queue and the set information take them in.
    QString text;
    if (StoreReplies::parseJsonString(part(Link), &text))
        StoreAddress::isAllowed(QUrl(text, QUrl::StrictMode));
    if (StoreReplies::parseJsonString(part(SetInfo), &text)) {
        QDomDocument document;
        XmlDocumentReader::read(text, &document);
    }
    return 0;
}
