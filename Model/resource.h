#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

// One resource found on disk, as the interface binds to it. The catalogue that
// made it owns it and changes it through the plain setters; QML reads it.
class Resource : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)
    Q_PROPERTY(QString iconPath READ iconPath NOTIFY iconPathChanged)
    Q_PROPERTY(QString description READ description WRITE setDescription NOTIFY descriptionChanged)
    Q_PROPERTY(QStringList categories READ categories NOTIFY categoriesChanged)
    Q_PROPERTY(bool readOnly READ readOnly NOTIFY readOnlyChanged)
    Q_PROPERTY(QDateTime scanDate READ scanDate NOTIFY scanDateChanged)
    Q_PROPERTY(QStringList tags READ tags NOTIFY tagsChanged)
    Q_PROPERTY(bool favorite READ favorite WRITE setFavorite NOTIFY favoriteChanged)
    Q_PROPERTY(QString resourceType READ resourceType NOTIFY resourceTypeChanged)
    Q_PROPERTY(QDateTime lastModified READ lastModified NOTIFY lastModifiedChanged)

public:
    static constexpr const char *defaultIconPath = "image://brushes/";

    explicit Resource(const QString &name = QString(), const QString &path = QString(),
                      const QString &resourceType = QString(), QObject *parent = nullptr);
    ~Resource() override;

    // Subclasses may reload details from their file; nothing to do for a plain resource.
    virtual void refresh();

    QString name() const { return m_name; }
    void setName(const QString &name);
    QString path() const { return m_path; }
    void setPath(const QString &path);
    QString iconPath() const { return m_iconPath; }
    void setIconPath(const QString &iconPath);
    QString description() const { return m_description; }
    void setDescription(const QString &description);

    QStringList categories() const { return m_categories; }
    void addCategory(const QString &category);
    void removeCategory(const QString &category);
    bool hasCategory(const QString &category) const { return m_categories.contains(category); }

    QStringList tags() const { return m_tags; }
    void addTag(const QString &tag);
    void removeTag(const QString &tag);
    bool hasTag(const QString &tag) const { return m_tags.contains(tag); }

    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    QDateTime scanDate() const { return m_scanDate; }
    void setScanDate(const QDateTime &scanDate);
    bool favorite() const { return m_favorite; }
    void setFavorite(bool favorite);
    QString resourceType() const { return m_resourceType; }
    void setResourceType(const QString &resourceType);
    QDateTime lastModified() const { return m_lastModified; }
    void setLastModified(const QDateTime &lastModified);

signals:
    void nameChanged();
    void pathChanged();
    void iconPathChanged();
    void descriptionChanged();
    void categoriesChanged();
    void readOnlyChanged();
    void scanDateChanged();
    void tagsChanged();
    void favoriteChanged();
    void resourceTypeChanged();
    void lastModifiedChanged();

private:
    QString m_name;
    QString m_path;
    QString m_iconPath;
    QString m_description;
    QStringList m_categories;
    bool m_readOnly = false;
    QDateTime m_scanDate;
    QStringList m_tags;
    bool m_favorite = false;
    QString m_resourceType;
    QDateTime m_lastModified;
};
