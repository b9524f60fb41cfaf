#pragma once

#include "Model/resource.h"

// A ZBrush brush preset with what the brush file and the maker's metadata tell about it.
class Brush : public Resource
{
    Q_OBJECT
    Q_PROPERTY(QString author READ author WRITE setAuthor NOTIFY authorChanged)
    Q_PROPERTY(QString link READ link WRITE setLink NOTIFY linkChanged)
    Q_PROPERTY(int brushType READ brushType WRITE setBrushType NOTIFY brushTypeChanged)
    Q_PROPERTY(QString brushTypeName READ brushTypeName NOTIFY brushTypeNameChanged)
    Q_PROPERTY(QString kivCategory READ kivCategory NOTIFY kivCategoryChanged)

public:
    explicit Brush(const QString &name = QString(), const QString &path = QString(),
                   QObject *parent = nullptr);

    void refresh() override;

    QString author() const { return m_author; }
    void setAuthor(const QString &author);
    QString link() const { return m_link; }
    void setLink(const QString &link);
    int brushType() const { return m_brushType; }
    void setBrushType(int brushType);
    QString brushTypeName() const;
    QString kivCategory() const { return m_kivCategory; }
    void setKivCategory(const QString &kivCategory);

signals:
    void authorChanged();
    void linkChanged();
    void brushTypeChanged();
    void brushTypeNameChanged();
    void kivCategoryChanged();

private:
    QString m_author;
    QString m_link;
    int m_brushType = 0;
    QString m_kivCategory;
};
