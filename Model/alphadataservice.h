#pragma once

#include "Model/alphainfo.h"
#include "Model/resourcedataservice.h"

#include <QImage>
#include <QList>
#include <QMap>
#include <QSharedPointer>
#include <QString>
#include <QVariantList>

class Alpha;
class AlphaSorter;
class QDateTime;

// The catalogue of alphas: grey-scale images in the ZBrush alpha folders, the store
// folder and the user's locations, plus the built-in "Alpha 01". The size and depth
// of new or changed images are read from their headers on the global thread pool.
// Alphas can be hidden ("ignored"), filtered by size class and depth, and sent to
// ZBrush together with six alpha commands.
class AlphaDataService : public ResourceDataService
{
    Q_OBJECT
    Q_PROPERTY(bool ignoredFilter READ ignoredFilter WRITE setIgnoredFilter)

public:
    using RecordMap = QMap<QString, QSharedPointer<AlphaInfo>>;

    static constexpr const char *builtInName = "Alpha 01";

    AlphaDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                     bool setupNow, QSharedPointer<SystemDataService> systemService,
                     QObject *parent = nullptr);
    ~AlphaDataService() override;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void activateResource(const QString &name, const QString &path) override;
    void scanLocation(const QString &folder) override;
    void scanAll() override;
    void setup() override;

    bool ignoredFilter() const { return m_ignoredFilter; }
    void setIgnoredFilter(bool on) { m_ignoredFilter = on; }
    QList<int> sizeFilters() const { return m_sizeFilters; }
    QList<int> depthFilters() const { return m_depthFilters; }
    // Folders whose images are still being read.
    int pendingReads() const { return m_pendingReads; }

    Q_INVOKABLE void scanForAlphas(const QString &path, const RecordMap &info);
    Q_INVOKABLE void rescanAlpha(int index);
    Q_INVOKABLE void filterAddSize(int size);
    Q_INVOKABLE void filterRemoveSize(int size);
    Q_INVOKABLE void filterAddDepth(int depth);
    Q_INVOKABLE void filterRemoveDepth(int depth);
    Q_INVOKABLE void filterIgnored(bool showOnlyIgnored);
    Q_INVOKABLE void clearAlpha();
    Q_INVOKABLE void brushAlpha();
    Q_INVOKABLE void flipHorizontal();
    Q_INVOKABLE void flipVertical();
    Q_INVOKABLE void rotate();
    Q_INVOKABLE void inverse();
    Q_INVOKABLE void ignoreAlphas(const QVariantList &indices, bool ignore);
    Q_INVOKABLE bool hasSizeFilter(int size) const;
    Q_INVOKABLE bool hasDepthFilter(int depth) const;

    // The path of the built-in alpha beside the program.
    static QString builtInPath();
    // Reads the image's size and depth class into the record; an unreadable image
    // gets -1 x -1 and depth 0.
    static void getImageInfo(AlphaInfo &record);
    // 32, 16 or 8 for the formats ZBrush takes as such; 0 for every other one.
    static int depthClass(QImage::Format format);

signals:
    // Every folder walked so far has had its images read and stored.
    void readsFinished();

private:
    Alpha *alphaAt(int row) const;
    // Makes the alpha of a found file, its name claimed, merged with its stored record
    // (or none); returns the record to store, or null when the file is unchanged.
    QSharedPointer<AlphaInfo> createAlpha(const QString &name, const QString &path, const QDateTime &lastModified,
                                          QSharedPointer<AlphaInfo> record, const QString &scanDate,
                                          QVector<QSharedPointer<Resource>> &made);
    void readImages(const QList<QSharedPointer<AlphaInfo>> &records);
    void sendCommand(const QString &command);

    AlphaSorter *m_sorter = nullptr;
    QList<int> m_sizeFilters;
    QList<int> m_depthFilters;
    bool m_ignoredFilter = false;
    int m_pendingReads = 0;
};

Q_DECLARE_METATYPE(AlphaDataService::RecordMap)
