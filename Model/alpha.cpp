#include "alpha.h"

Alpha::Alpha(const QString &name, const QString &path, QObject *parent)
    : Resource(name, path, QStringLiteral("alpha"), parent)
{
    static const QString icon = QString::fromLatin1(alphaIconPath);
    setIconPath(icon);
}

void Alpha::refresh()
{
}

void Alpha::setWidth(int width)
{
    m_width = width;
    updateDimensions();
    emit widthChanged();
}

void Alpha::setHeight(int height)
{
    m_height = height;
    updateDimensions();
    emit heightChanged();
}

void Alpha::setDepth(int depth)
{
    m_depth = depth;
    updateDimensions();
    emit depthChanged();
}

void Alpha::setIgnore(bool ignore)
{
    m_ignore = ignore;
    emit ignoreChanged();
}

// Made when asked: a scan sets the three numbers of thousands of alphas, and a view
// reads the text of the few it shows.
QString Alpha::dimensions() const
{
    return QStringLiteral("%1x%2, %3-bit").arg(m_width).arg(m_height).arg(m_depth);
}

void Alpha::updateDimensions()
{
    emit dimensionsChanged();
}
