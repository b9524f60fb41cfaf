#include "storecatalogue.h"

#include "storepicture.h"
#include "tests/rar/rar4writer.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>

namespace {

QByteArray pngOf(int width, int height)
{
    QImage image(qBound(1, width, 4096), qBound(1, height, 4096), QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            line[x] = uchar((x * 255 / image.width() + y * 255 / image.height()) / 2);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray patternOf(int size)
{
    QByteArray bytes(qMax(0, size), Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char('a' + (i * 7) % 26);
    return bytes;
}

} // namespace

bool StoreCatalogue::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        *error = parseError.errorString();
        return false;
    }
    const QJsonObject root = document.object();
    for (const QJsonValue &value : root.value(QStringLiteral("users")).toArray()) {
        const QJsonObject object = value.toObject();
        User user;
        user.username = object.value(QStringLiteral("username")).toString();
        user.password = object.value(QStringLiteral("password")).toString();
        user.email = object.value(QStringLiteral("email")).toString();
        for (const QJsonValue &id : object.value(QStringLiteral("owned")).toArray())
            user.owned.append(id.toInt());
        for (const QJsonValue &text : object.value(QStringLiteral("subscriptions")).toArray())
            user.subscriptions.append(text.toString());
        m_users.append(user);
    }
    m_products = root.value(QStringLiteral("products")).toArray();
    m_featured = root.value(QStringLiteral("featured")).toArray();
    const QJsonObject packs = root.value(QStringLiteral("packs")).toObject();
    for (auto it = packs.begin(); it != packs.end(); ++it)
        m_packs.insert(it.key(), it.value().toObject());
    const QJsonObject setInfo = root.value(QStringLiteral("set_info")).toObject();
    for (auto it = setInfo.begin(); it != setInfo.end(); ++it)
        m_setInfo.insert(it.key().toInt(), it.value().toString());
    const QJsonObject images = root.value(QStringLiteral("images")).toObject();
    for (auto it = images.begin(); it != images.end(); ++it)
        m_images.insert(it.key(), it.value().toObject());
    return true;
}

const StoreCatalogue::User *StoreCatalogue::user(const QString &username, const QString &password) const
{
    for (const User &user : m_users) {
        if (user.username == username && user.password == password)
            return &user;
    }
    return nullptr;
}

const StoreCatalogue::User *StoreCatalogue::userByEmail(const QString &email) const
{
    for (const User &user : m_users) {
        if (user.email == email)
            return &user;
    }
    return nullptr;
}

QJsonArray StoreCatalogue::products(const QString &base) const
{
    const auto absolute = [&base](QJsonObject object) {
        const QString thumbnail = object.value(QStringLiteral("thumbnail")).toString();
        if (thumbnail.startsWith(QLatin1Char('/')))
            object.insert(QStringLiteral("thumbnail"), base + thumbnail);
        return object;
    };
    QJsonArray products;
    for (const QJsonValue &value : m_products) {
        if (!value.isObject()) {
            products.append(value);
            continue;
        }
        QJsonObject product = value.toObject();
        if (product.value(QStringLiteral("info")).isObject())
            product.insert(QStringLiteral("info"), absolute(product.value(QStringLiteral("info")).toObject()));
        if (product.value(QStringLiteral("sub_products")).isArray()) {
            QJsonArray subProducts;
            for (const QJsonValue &sub : product.value(QStringLiteral("sub_products")).toArray())
                subProducts.append(sub.isObject() ? QJsonValue(absolute(sub.toObject())) : sub);
            product.insert(QStringLiteral("sub_products"), subProducts);
        }
        products.append(product);
    }
    return products;
}

QByteArray StoreCatalogue::image(const QString &name) const
{
    const QJsonObject image = m_images.value(name);
    return StorePicture::png(QColor(image.value(QStringLiteral("colour")).toString(QStringLiteral("#a0a0a0"))),
                             image.value(QStringLiteral("style")).toString(), image.value(QStringLiteral("size")).toInt(300));
}

QString StoreCatalogue::packFileName(const QString &link) const
{
    const QString name = m_packs.value(link).value(QStringLiteral("file")).toString();
    return name.isEmpty() ? QStringLiteral("Pack.rar") : name;
}

QByteArray StoreCatalogue::packArchive(const QString &link, bool hostile) const
{
    Rar4Writer writer;
    for (const QJsonValue &value : m_packs.value(link).value(QStringLiteral("members")).toArray()) {
        const QJsonObject member = value.toObject();
        const QString name = member.value(QStringLiteral("name")).toString();
        if (member.value(QStringLiteral("dir")).toBool()) {
            writer.addDirectory(name);
        } else if (member.contains(QStringLiteral("png"))) {
            const QJsonArray size = member.value(QStringLiteral("png")).toArray();
            writer.addFile(name, pngOf(size.at(0).toInt(64), size.at(1).toInt(64)));
        } else if (member.contains(QStringLiteral("size"))) {
            writer.addFile(name, patternOf(member.value(QStringLiteral("size")).toInt()));
        } else {
            writer.addFile(name, member.value(QStringLiteral("text")).toString().toUtf8());
        }
    }
    if (hostile) {
        const QByteArray payload("written outside the library\n");
        for (const char *name : {"../escaped-parent.txt", "..\\..\\escaped-backslash.txt",
                                 "Inside/../../escaped-nested.txt", "/tmp/kivara-store-escaped-absolute.txt",
                                 "C:\\escaped-drive.txt", "C:escaped-drive-relative.txt", ". ./escaped-dots.txt"})
            writer.addFile(QString::fromLatin1(name), payload);
    }
    return writer.archive();
}
