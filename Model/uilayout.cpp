#include "uilayout.h"

UILayout::UILayout(const QString &name, const QString &path, bool readOnly, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_path(path)
    , m_readOnly(readOnly)
{
}

UILayout::~UILayout() = default;

void UILayout::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    emit nameChanged();
}

void UILayout::setPath(const QString &path)
{
    if (path == m_path)
        return;
    m_path = path;
    emit pathChanged();
}
