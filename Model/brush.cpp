#include "brush.h"

#include "Model/brushtypes.h"

Brush::Brush(const QString &name, const QString &path, QObject *parent)
    : Resource(name, path, QStringLiteral("brush"), parent)
{
}

void Brush::refresh()
{
}

void Brush::setAuthor(const QString &author)
{
    m_author = author;
    emit authorChanged();
}

void Brush::setLink(const QString &link)
{
    m_link = link;
    emit linkChanged();
}

void Brush::setBrushType(int brushType)
{
    m_brushType = brushType;
    emit brushTypeChanged();
    emit brushTypeNameChanged();
}

QString Brush::brushTypeName() const
{
    return Brushes::brushTypeName(m_brushType);
}

void Brush::setKivCategory(const QString &kivCategory)
{
    m_kivCategory = kivCategory;
    emit kivCategoryChanged();
}
