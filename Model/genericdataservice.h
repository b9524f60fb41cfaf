#pragma once

#include "Model/folderwalk.h"
#include "Model/hostcommandkind.h"
#include "Model/resourcedataservice.h"

#include <QString>
#include <QVector>
#include <QStringList>

// The catalogue of a kind of ZBrush file that needs nothing but its name: projects,
// materials, tools, fiber presets, grids, mesh arrays, spotlights and render presets
// are eight instances of it. It walks the kind's folders inside ZBrush, the store
// folder and the user's locations; the first file of a name wins, and each file is
// merged with its stored record so that the user's metadata survives a rescan.
// Scans run on the GUI thread.
class FolderPrefetch;

class GenericDataService : public ResourceDataService
{
    Q_OBJECT

public:
    // One of the eight kinds, with what its instance is made from.
    struct Kind
    {
        const char *contextName; // the name QML reaches it by
        DatabaseService::ResourceType type;
        const char *kindWord;
        const char *extension;
        QStringList hostFolders;
        HostCommandKind commandKind;
    };
    // In the order start-up creates them.
    static const QList<Kind> &kinds();
    static GenericDataService *create(const Kind &kind, QSharedPointer<HostBridge> hostBridge,
                                      QSharedPointer<DatabaseService> database, bool setupNow,
                                      QSharedPointer<SystemDataService> systemService, QObject *parent = nullptr);

    // setupNow runs set-up (and so the first scan) at once; hostFolders are relative to
    // the ZBrush folder ("/ZMaterials"); extension without the dot.
    GenericDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                       bool setupNow, QSharedPointer<SystemDataService> systemService,
                       DatabaseService::ResourceType kind, const QString &kindWord, const QString &extension,
                       const QStringList &hostFolders, HostCommandKind commandKind, QObject *parent = nullptr);
    ~GenericDataService() override;

    // One folder, recursively, merged with the given records; the folder's new and
    // changed records are stored in one transaction.
    Q_INVOKABLE void scanForItems(const QString &path, const RecordMap &info);
    Q_INVOKABLE void activateResource(const QString &name, const QString &path) override;
    void scanLocation(const QString &folder) override;
    void scanAll() override;
    void setup() override;

    QString kindWord() const { return m_kindWord; }
    QStringList nameFilters() const { return m_nameFilters; }
    QStringList hostFolders() const { return m_hostFolders; }
    HostCommandKind commandKind() const { return m_commandKind; }

protected:
    // For kinds with several file patterns or their own icons. Does not run set-up:
    // the subclass does, once its own parts exist.
    GenericDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                       QSharedPointer<SystemDataService> systemService, DatabaseService::ResourceType kind,
                       const QString &kindWord, const QStringList &nameFilters, const QStringList &hostFolders,
                       HostCommandKind commandKind, const QString &iconPath, QObject *parent);

    // Set-up when asked for, then the view in scan order. Ends every constructor.
    void finishConstruction(bool setupNow);
    // Files whose names the kind leaves out although they match its patterns.
    virtual bool skipsName(const QString &name) const;

private:
    // A rescan that keeps the objects when the files and stored rows are those that
    // made them: only files changed since their scan are stored and only rows that
    // changed are announced. False, having changed nothing, when anything else differs
    // (a file new, gone or moved, an edit made behind the catalogue's back): the caller
    // then scans in full. walked receives the files of the folders taken from walk.
    bool rescanInPlace(FolderPrefetch &walk, QVector<QVector<FolderWalk::File>> &walked);
    // The files of one folder merged with the records and stored, as a folder walk does.
    template<class Records>
    void addFiles(const QVector<FolderWalk::File> &files, const Records &info);

    QString m_kindWord;
    QStringList m_nameFilters;
    QStringList m_hostFolders;
    HostCommandKind m_commandKind;
    QString m_iconPath;
};
