#pragma once

#include <QObject>
#include <QString>

// One row of the maker's brush-category list: a category, or the header of its group.
class CategoryItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString group READ group WRITE setGroup NOTIFY groupChanged)
    Q_PROPERTY(int brushCount READ brushCount NOTIFY brushCountChanged)
    Q_PROPERTY(bool groupHeader READ groupHeader NOTIFY groupHeaderChanged)

public:
    CategoryItem(const QString &name, const QString &group, bool groupHeader, bool pinned,
                 int brushCount, QObject *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    QString group() const { return m_group; }
    void setGroup(const QString &group);
    int brushCount() const { return m_brushCount; }
    void setBrushCount(int brushCount);
    bool groupHeader() const { return m_groupHeader; }
    // A pinned row's group sorts before all others.
    bool pinned() const { return m_pinned; }

signals:
    void nameChanged();
    void groupChanged();
    void brushCountChanged();
    void groupHeaderChanged();

private:
    QString m_name;
    QString m_group;
    bool m_groupHeader = false;
    bool m_pinned = false;
    int m_brushCount = 0;
};
