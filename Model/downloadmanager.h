#pragma once

#include "Model/downloadstatusinfo.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSharedPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class DatabaseService;
class IDownloadableItem;
class Product;
class QFile;
class QNetworkAccessManager;
class QNetworkReply;
class QTemporaryDir;
class SubProduct;

// Downloads store items one at a time, extracts each RAR archive into the
// library's store folder and reports what was installed. Every item ends
// Installed, or back at None with a message; the run goes on with the next
// queued item whatever happened to the last one, and ends when the queue is
// empty. GUI thread only; extraction runs inside the finished transfer's handler.
class DownloadManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool processingQueue READ processingQueue NOTIFY processingQueueChanged)

public:
    // What the store service supplies.
    struct StoreHooks
    {
        // Ask for the download link of an item's link value; the answer comes
        // back through startDownload or downloadFailed.
        std::function<void(const QString &link)> requestLink;
        std::function<QSharedPointer<Product>(int id)> productById;
        std::function<void(const QString &folder)> folderInstalled;
        std::function<void(int productId)> productInstalled;
        std::function<void(SubProduct *subProduct)> subProductInstalled;
    };

    static constexpr const char *libraryPathMessage = "Library path doesn't exist or is not writeable.";
    static constexpr const char *noFilesMessage = "No files found for this product.";
    static constexpr const char *downloadPathMessage = "Unable to write to download path: ";
    static constexpr const char *downloadErrorMessage = "Error downloading file.";
    static constexpr const char *archiveMessage = "Unable to open the downloaded archive.";
    // %1 of %2 members could not be written.
    static constexpr const char *partialInstallMessage = "Unable to install %1 of %2 files.";

    DownloadManager(QSharedPointer<DatabaseService> database, StoreHooks hooks, QObject *parent = nullptr);
    ~DownloadManager() override;

    void enqueue(IDownloadableItem *item);
    void cancel(IDownloadableItem *item);
    // The link of the current item has arrived.
    void startDownload(const QUrl &url);
    // The link request of the current item failed.
    void downloadFailed();

    bool processingQueue() const { return m_processingQueue; }
    IDownloadableItem *currentItem() const { return m_current; }
    // A transfer that moves no data for this long fails; 0 waits for ever.
    void setTransferTimeout(int milliseconds) { m_transferTimeout = milliseconds; }
    // The library's store folder for the next item.
    QString libraryRoot() const;

public slots:
    void httpReadyRead();
    void httpDownloadFinished();
    void updateDownloadProgress(qint64 amount, qint64 max);

signals:
    void processingQueueChanged();

private:
    struct Entry
    {
        QPointer<IDownloadableItem> item;
        QString name;
    };

    void startRun();
    void finishRun();
    // Takes queued items until one is waiting for its link; ends the run when none is left.
    void processNext();
    // The current item is done, one way or another.
    void finishItem();
    void setStatus(IDownloadableItem *item, DownloadStatusInfo::Status status);
    void fail(IDownloadableItem *item, const QString &message, bool isError = true);
    void install(IDownloadableItem *item);
    void discardOutput();

    QSharedPointer<DatabaseService> m_database;
    StoreHooks m_hooks;
    QString m_installRoot;
    QString m_folderName;
    QList<Entry> m_queue;
    QSet<QString> m_queuedNames;
    QPointer<IDownloadableItem> m_current;
    // The current item was cancelled while its link or transfer was under way.
    bool m_currentCancelled = false;
    bool m_processingQueue = false;
    int m_transferTimeout = 60000;

    QNetworkAccessManager *m_network = nullptr;
    std::unique_ptr<QTemporaryDir> m_tempDir;
    std::unique_ptr<QFile> m_output;
    QPointer<QNetworkReply> m_reply;
    bool m_aborted = false;
    bool m_writeFailed = false;
};
