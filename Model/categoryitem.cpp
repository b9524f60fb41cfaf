#include "categoryitem.h"

CategoryItem::CategoryItem(const QString &name, const QString &group, bool groupHeader, bool pinned,
                           int brushCount, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_group(group)
    , m_groupHeader(groupHeader)
    , m_pinned(pinned)
    , m_brushCount(brushCount)
{
}

void CategoryItem::setName(const QString &name)
{
    m_name = name;
    emit nameChanged();
}

void CategoryItem::setGroup(const QString &group)
{
    m_group = group;
    emit groupChanged();
}

void CategoryItem::setBrushCount(int brushCount)
{
    m_brushCount = brushCount;
    emit brushCountChanged();
}
