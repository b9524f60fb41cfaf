#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QStringListModel;
class UILayout;

// One of the system service's lists of ZBrush files: UI layouts, UI colour schemes,
// macros or script plug-ins. Entries come from a fixed folder inside ZBrush's
// ZStartup and, except for macros, from extra folders ("locations") the user adds.
// The list owns its entries; a rescan replaces them all. GUI thread only.
class UILayoutList : public QObject
{
    Q_OBJECT

public:
    enum Kind { Layouts, Colors, Macros, Plugins };
    Q_ENUM(Kind)

    explicit UILayoutList(Kind kind, QObject *parent = nullptr);
    ~UILayoutList() override;

    Kind kind() const { return m_kind; }
    // The list's folder inside the ZBrush installation at hostPath.
    QString hostFolder(const QString &hostPath) const;

    QList<QObject *> entries() const;
    int count() const { return m_entries.size(); }
    // Null outside the list.
    UILayout *at(int index) const;
    QStringListModel *locations() const { return m_locations; }
    QStringList locationPaths() const;
    // Replaces the location rows (the stored layout locations).
    void setLocations(const QStringList &paths);

    // Every entry anew: ZBrush's folder first, then each location, sorted by name.
    void rescan(const QString &hostPath);
    // Appends the folder as a location and its entries, unsorted, at the end.
    // False when the path is empty or already listed.
    bool addLocation(const QString &path);
    // Removes a location row; answers its path, or an empty text for a bad row.
    QString takeLocation(int index);
    // Renames the entry's file to toName + ".cfg" in the same folder. A name that
    // would leave the folder, or a file that cannot be renamed, changes nothing.
    bool rename(int index, const QString &toName);

    // The layouts ZBrush ships; read-only when found in ZBrush's own layout folder.
    static const QStringList standardLayouts;

signals:
    void entriesChanged();

private:
    void clear();
    void scan(const QString &folder, bool hostFolder);
    QString entryName(const QString &folder, const QString &filePath) const;

    const Kind m_kind;
    QList<UILayout *> m_entries;
    QStringListModel *m_locations;
};
