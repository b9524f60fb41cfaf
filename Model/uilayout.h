#pragma once

#include <QObject>
#include <QString>

// One entry of ZBrush's UI layout, UI colour, macro and plug-in lists: a file
// inside ZBrush's ZStartup folder or in a location the user added.
class UILayout : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)
    Q_PROPERTY(bool readOnly READ readOnly NOTIFY readOnlyChanged)

public:
    UILayout(const QString &name, const QString &path, bool readOnly, QObject *parent = nullptr);
    ~UILayout() override;

    QString name() const { return m_name; }
    void setName(const QString &name);
    QString path() const { return m_path; }
    void setPath(const QString &path);
    // ZBrush's own standard layouts; fixed for the entry's life.
    bool readOnly() const { return m_readOnly; }

signals:
    void nameChanged();
    void pathChanged();
    void readOnlyChanged();

private:
    QString m_name;
    QString m_path;
    const bool m_readOnly;
};
