#pragma once

#include "Model/brushinfo.h"
#include "Model/folderwalk.h"
#include "Model/resourcedataservice.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <functional>

class Brush;
class BrushSorter;
class CategoryItem;
class QDateTime;
class QDomDocument;

// The catalogue of ZBrush brush presets (".ZBP"). Besides the common walk and merge
// it reads the author and link stored in each brush file (on the global thread pool,
// one task per walked folder), knows each brush's type and keeps the maker's
// two-level category list, fed by brush metadata documents ("*.kiv.xml").
class BrushDataService : public ResourceDataService
{
    Q_OBJECT
    Q_PROPERTY(QStringList brushTypes READ brushTypes NOTIFY brushTypesChanged)
    Q_PROPERTY(QList<QObject *> kivCategoriesModel READ kivCategoriesModel NOTIFY kivCategoriesChanged)
    Q_PROPERTY(bool showKIVCategory READ showKIVCategory WRITE setShowKIVCategory NOTIFY showKIVCategoryChanged)
    Q_PROPERTY(int kivCatFilter READ kivCatFilter WRITE setKivCatFilter)

public:
    using RecordMap = QMap<QString, QSharedPointer<BrushInfo>>;

    static constexpr const char *metadataPattern = "*.kiv.xml";
    static constexpr const char *brushPattern = "*.ZBP";
    static constexpr const char *defaultKivCategory = "Default";

    BrushDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                     bool setupNow, QSharedPointer<SystemDataService> systemService,
                     QObject *parent = nullptr);
    ~BrushDataService() override;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void activateResource(const QString &name, const QString &path) override;
    void scanLocation(const QString &folder) override;
    void scanAll() override;
    void setup() override;

    QStringList brushTypes() const;
    QList<QObject *> kivCategoriesModel() const;
    QList<CategoryItem *> kivCategories() const { return m_kivCategories; }
    bool showKIVCategory() const { return m_showKIVCategory; }
    void setShowKIVCategory(bool show);
    int kivCatFilter() const { return m_kivCatFilter; }
    void setKivCatFilter(int row) { m_kivCatFilter = row; }
    QStringList typeFilters() const { return m_typeFilters; }
    // Folders whose brush files are still being read.
    int pendingReads() const { return m_pendingReads; }

    Q_INVOKABLE void scanForBrushes(const QString &path, const RecordMap &info);
    Q_INVOKABLE void rescanBrush(int index);
    Q_INVOKABLE void resetAllBrushes();
    Q_INVOKABLE void setTypeFilter(const QString &brushType, bool enable);
    Q_INVOKABLE void setBrushType(int index, const QString &typeName);
    Q_INVOKABLE int getBrushType(int index) const;
    Q_INVOKABLE void filterByKIVCategory(const QString &category);
    Q_INVOKABLE bool hasTypeFilter(const QString &type) const;

    // Applies one brush metadata document against the stored brush records; the
    // store hands in the documents of installed products this way.
    void applyMetadataDocument(const QDomDocument &document);
    // The same as a callable that does nothing once this catalogue is gone.
    std::function<void(const QDomDocument &)> metadataAction();

    // Reads the author and link that ZBrush stores in the brush file at record->path
    // into the record; an unreadable file or an unknown version leaves them as they are.
    static void readBrushFileCredits(BrushInfo &record);

signals:
    void brushTypesChanged();
    void kivCategoriesChanged();
    void showKIVCategoryChanged();
    // Every folder walked so far has had its brush files read and stored.
    void readsFinished();

private:
    // Rows of the maker's category list by name.
    CategoryItem *kivCategory(const QString &name) const { return m_kivCategoryMap.value(name); }
    void loadKivCategories();
    CategoryItem *appendKivCategory(const QString &name, const QString &group, bool groupHeader, bool pinned,
                                    int brushCount);
    void applyUpdateFiles();
    // One walk of folder: applies every metadata document below it (an unreadable one
    // is logged and skipped) and returns the brush files.
    QList<FolderWalk::File> walkBrushFolder(const QString &folder, RecordMap &records);
    // Makes the brushes of files whose names are free and reads the credits of the new
    // and changed ones.
    void addBrushFiles(const QList<FolderWalk::File> &files, const RecordMap &info);
    bool applyMetadataFile(const QString &path, RecordMap &records);
    void applyMetadata(const QDomDocument &document, RecordMap &records);
    // True when a brush of the model changed.
    bool applyBrushElement(const QString &name, const QString &category, const QString &kivCategory,
                           const QString &type, RecordMap &records, const QHash<QString, int> &rows);
    // Makes the brush of a found file, its name claimed, merged with its stored record
    // (or none); returns the record to store, or null when the file is unchanged.
    QSharedPointer<BrushInfo> createBrush(const QString &name, const QString &path, const QDateTime &lastModified,
                                          QSharedPointer<BrushInfo> record, const QString &scanDate,
                                          QVector<QSharedPointer<Resource>> &made);
    void countBrush(const QString &kivCategory);
    void readCredits(const QList<QSharedPointer<BrushInfo>> &records);
    Brush *brushAt(int row) const;

    QList<CategoryItem *> m_kivCategories;
    QHash<QString, CategoryItem *> m_kivCategoryMap;
    bool m_showKIVCategory = true;
    int m_kivCatFilter = 1;
    QStringList m_typeFilters;
    BrushSorter *m_sorter = nullptr;
    int m_pendingReads = 0;
};

Q_DECLARE_METATYPE(BrushDataService::RecordMap)
