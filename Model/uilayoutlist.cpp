#include "uilayoutlist.h"

#include "Model/folderwalk.h"
#include "Model/uilayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringListModel>

#include <algorithm>

const QStringList UILayoutList::standardLayouts{
    QStringLiteral("compact_UI_brush_materials.cfg"),
    QStringLiteral("compact_ui.cfg"),
    QStringLiteral("Default.cfg"),
    QStringLiteral("LeftRightShelf.cfg"),
    QStringLiteral("legacy4R8.cfg"),
    QStringLiteral("Minimal.cfg"),
    QStringLiteral("Sculpt01.cfg"),
};

UILayoutList::UILayoutList(Kind kind, QObject *parent)
    : QObject(parent)
    , m_kind(kind)
    , m_locations(new QStringListModel(this))
{
}

UILayoutList::~UILayoutList() = default;

QString UILayoutList::hostFolder(const QString &hostPath) const
{
    switch (m_kind) {
    case Layouts:
        return hostPath + QStringLiteral("/ZStartup/UserInterfaceLayouts");
    case Colors:
        return hostPath + QStringLiteral("/ZStartup/UserInterfaceColors");
    case Macros:
        return hostPath + QStringLiteral("/ZStartup/Macros");
    case Plugins:
        return hostPath + QStringLiteral("/ZStartup/ZPlugs64");
    }
    return QString();
}

QList<QObject *> UILayoutList::entries() const
{
    QList<QObject *> objects;
    objects.reserve(m_entries.size());
    for (UILayout *entry : m_entries)
        objects.append(entry);
    return objects;
}

UILayout *UILayoutList::at(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries.at(index) : nullptr;
}

QStringList UILayoutList::locationPaths() const
{
    return m_locations->stringList();
}

void UILayoutList::setLocations(const QStringList &paths)
{
    m_locations->setStringList(paths);
}

void UILayoutList::rescan(const QString &hostPath)
{
    clear();
    // Without a ZBrush folder there is nothing of ZBrush's own to list.
    if (!hostPath.isEmpty())
        scan(hostFolder(hostPath), true);
    const QStringList paths = locationPaths();
    for (const QString &location : paths)
        scan(location, false);
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const UILayout *a, const UILayout *b) { return a->name() < b->name(); });
    emit entriesChanged();
}

bool UILayoutList::addLocation(const QString &path)
{
    if (path.isEmpty() || locationPaths().contains(path))
        return false;
    const int row = m_locations->rowCount();
    m_locations->insertRows(row, 1);
    m_locations->setData(m_locations->index(row), path);
    if (QFileInfo(path).isDir()) {
        scan(path, false);
        emit entriesChanged();
    }
    return true;
}

QString UILayoutList::takeLocation(int index)
{
    if (index < 0 || index >= m_locations->rowCount())
        return QString();
    const QString path = m_locations->index(index).data().toString();
    m_locations->removeRows(index, 1);
    return path;
}

bool UILayoutList::rename(int index, const QString &toName)
{
    UILayout *entry = at(index);
    // A separator or a dot-name would put the file somewhere else or hide it.
    if (!entry || toName.isEmpty() || toName.contains(QLatin1Char('/')) || toName.contains(QLatin1Char('\\'))
        || toName.startsWith(QLatin1Char('.')))
        return false;
    const QString target = QFileInfo(entry->path()).absolutePath() + QLatin1Char('/') + toName
        + QStringLiteral(".cfg");
    if (!QFile::rename(entry->path(), target))
        return false;
    entry->setPath(target);
    entry->setName(toName);
    return true;
}

void UILayoutList::clear()
{
    // QML may still hold the old entries for the rest of this event.
    for (UILayout *entry : qAsConst(m_entries))
        entry->deleteLater();
    m_entries.clear();
}

void UILayoutList::scan(const QString &folder, bool hostFolder)
{
    const QStringList filters{m_kind == Layouts || m_kind == Colors ? QStringLiteral("*.cfg")
                                                                    : QStringLiteral("*.zsc")};
    const bool markStandard = hostFolder && m_kind == Layouts;
    FolderWalk::forEachFile(folder, filters, [&](const FolderWalk::File &file) {
        const bool readOnly = markStandard
            && std::any_of(standardLayouts.cbegin(), standardLayouts.cend(), [&file](const QString &name) {
                   return name.compare(file.fileName(), Qt::CaseInsensitive) == 0;
               });
        m_entries.append(new UILayout(entryName(folder, file.filePath()), file.filePath(), readOnly, this));
    });
}

QString UILayoutList::entryName(const QString &folder, const QString &filePath) const
{
    const QFileInfo file(filePath);
    if (m_kind != Macros)
        return file.baseName();
    // ZBrush shows a macro under its sub-folder: Misc/Smooth.zsc is the button Misc:Smooth.
    QString subFolder = QDir(folder).relativeFilePath(file.absolutePath());
    if (subFolder == QLatin1String("."))
        subFolder.clear();
    subFolder.replace(QLatin1Char('/'), QLatin1Char(':')).replace(QLatin1Char('\\'), QLatin1Char(':'));
    return subFolder.isEmpty() ? file.baseName() : subFolder + QLatin1Char(':') + file.baseName();
}
