#include "resource.h"

namespace {

// Shared by every object instead of one copy each: catalogues hold a quarter of a
// million of them.
const QString &defaultIcon()
{
    static const QString icon = QString::fromLatin1(Resource::defaultIconPath);
    return icon;
}

} // namespace

Resource::Resource(const QString &name, const QString &path, const QString &resourceType, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_path(path)
    , m_iconPath(defaultIcon())
    , m_resourceType(resourceType)
{
}

Resource::~Resource() = default;

void Resource::refresh()
{
}

void Resource::setName(const QString &name)
{
    m_name = name;
    emit nameChanged();
}

void Resource::setPath(const QString &path)
{
    m_path = path;
    emit pathChanged();
}

void Resource::setIconPath(const QString &iconPath)
{
    if (m_iconPath == iconPath)
        return;
    m_iconPath = iconPath;
    emit iconPathChanged();
}

void Resource::setDescription(const QString &description)
{
    if (m_description == description)
        return;
    m_description = description;
    emit descriptionChanged();
}

void Resource::addCategory(const QString &category)
{
    if (m_categories.contains(category))
        return;
    m_categories.append(category);
    emit categoriesChanged();
}

void Resource::removeCategory(const QString &category)
{
    // Views refresh on the signal even when nothing was removed.
    m_categories.removeOne(category);
    emit categoriesChanged();
}

void Resource::addTag(const QString &tag)
{
    if (m_tags.contains(tag))
        return;
    m_tags.append(tag);
    emit tagsChanged();
}

void Resource::removeTag(const QString &tag)
{
    m_tags.removeOne(tag);
    emit tagsChanged();
}

void Resource::setReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    emit readOnlyChanged();
}

namespace {

// Comparing an invalid date-time with a valid one goes through the local time zone,
// which would cost more than the rest of a scanned file: validity first.
bool sameTime(const QDateTime &a, const QDateTime &b)
{
    return a.isValid() == b.isValid() && (!a.isValid() || a == b);
}

} // namespace

void Resource::setScanDate(const QDateTime &scanDate)
{
    if (sameTime(m_scanDate, scanDate))
        return;
    m_scanDate = scanDate;
    emit scanDateChanged();
}

void Resource::setFavorite(bool favorite)
{
    m_favorite = favorite;
    emit favoriteChanged();
}

void Resource::setResourceType(const QString &resourceType)
{
    if (m_resourceType == resourceType)
        return;
    m_resourceType = resourceType;
    emit resourceTypeChanged();
}

void Resource::setLastModified(const QDateTime &lastModified)
{
    if (sameTime(m_lastModified, lastModified))
        return;
    m_lastModified = lastModified;
    emit lastModifiedChanged();
}
