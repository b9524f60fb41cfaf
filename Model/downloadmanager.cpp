#include "Model/downloadmanager.h"

#include "Model/archiveextractor.h"
#include "Model/databaseservice.h"
#include "Model/idownloadableitem.h"
#include "Model/product.h"
#include "Model/storeaddress.h"
#include "Model/subproduct.h"
#include "appfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryDir>
#include <QtDebug>

DownloadManager::DownloadManager(QSharedPointer<DatabaseService> database, StoreHooks hooks, QObject *parent)
    : QObject(parent)
    , m_database(std::move(database))
    , m_hooks(std::move(hooks))
{
}

DownloadManager::~DownloadManager()
{
    if (m_reply) {
        m_aborted = true;
        m_reply->disconnect(this);
        m_reply->abort();
    }
    discardOutput();
}

QString DownloadManager::libraryRoot() const
{
    const QString library = m_database ? m_database->readSetting(DatabaseService::LibraryLocation).toString() : QString();
    return library.isEmpty() ? AppFolders::defaultLibraryFolder() : library + QStringLiteral("/KIVSource");
}

void DownloadManager::enqueue(IDownloadableItem *item)
{
    // The item being transferred is not queued a second time behind itself.
    if (!item || (item == m_current && !m_currentCancelled) || m_queuedNames.contains(item->name()))
        return;
    m_queue.append({item, item->name()});
    m_queuedNames.insert(item->name());
    setStatus(item, DownloadStatusInfo::Queued);
    item->downloadStatus()->setHasError(false);
    if (!m_processingQueue) {
        startRun();
        processNext();
    }
}

void DownloadManager::cancel(IDownloadableItem *item)
{
    if (!item)
        return;
    const DownloadStatusInfo::Status status = item->status();
    if (status != DownloadStatusInfo::Queued && status != DownloadStatusInfo::Downloading)
        return;
    if (m_queuedNames.remove(item->name())) {
        for (int i = 0; i < m_queue.size(); ++i) {
            if (m_queue.at(i).name == item->name()) {
                m_queue.removeAt(i);
                break;
            }
        }
    }
    // None first: aborting finishes the transfer at once and starts the next item.
    setStatus(item, DownloadStatusInfo::None);
    if (item == m_current)
        m_currentCancelled = true;
    if (m_reply && m_current && m_current->link() == item->link()) {
        m_aborted = true;
        m_reply->abort();
    }
}

void DownloadManager::startDownload(const QUrl &url)
{
    IDownloadableItem *item = m_current;
    if (!item)
        return;
    // Cancelled while its link was on the way.
    if (m_currentCancelled) {
        finishItem();
        return;
    }
    if (url.isEmpty()) {
        fail(item, QString::fromLatin1(noFilesMessage));
        finishItem();
        return;
    }
    if (!StoreAddress::isAllowed(url)) {
        qWarning().noquote() << "Refusing to download from" << url.toString()
                             << ": only https, or http to this machine";
        fail(item, QString::fromLatin1(downloadErrorMessage));
        finishItem();
        return;
    }
    if (!m_tempDir || !m_tempDir->isValid()) {
        fail(item, QString::fromLatin1(downloadPathMessage) + (m_tempDir ? m_tempDir->path() : QString()));
        finishItem();
        return;
    }

    QString fileName = QFileInfo(url.path()).fileName();
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        fileName = QStringLiteral("download.rar");
    const QString target = m_tempDir->path() + QLatin1Char('/') + fileName;
    m_folderName = QFileInfo(fileName).baseName().trimmed();
    if (const QSharedPointer<Product> product = m_hooks.productById ? m_hooks.productById(item->id()) : nullptr)
        m_folderName = product->name();
    else if (item->parentId() > 0)
        m_folderName.clear();
    // A store name must not reach outside the store folder.
    m_folderName = ArchiveExtractor::safeFolderName(m_folderName);

    m_output = std::make_unique<QFile>(target);
    if (!m_output->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning().noquote() << "Cannot write the download to" << target << ":" << m_output->errorString();
        m_output.reset();
        fail(item, QString::fromLatin1(downloadPathMessage) + m_tempDir->path());
        finishItem();
        return;
    }
    m_writeFailed = false;

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    // Redirects are followed only to addresses the store may use.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setTransferTimeout(m_transferTimeout);
    QNetworkReply *reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl &next) {
        if (StoreAddress::isAllowed(next)) {
            emit reply->redirectAllowed();
        } else {
            qWarning().noquote() << "Refusing the download's redirect to" << next.toString();
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::readyRead, this, &DownloadManager::httpReadyRead);
    connect(reply, &QNetworkReply::downloadProgress, this, &DownloadManager::updateDownloadProgress);
    connect(reply, &QNetworkReply::finished, this, &DownloadManager::httpDownloadFinished);
}

void DownloadManager::downloadFailed()
{
    IDownloadableItem *item = m_current;
    if (!item)
        return;
    // A cancelled item is left as the user wanted it, without an error.
    if (!m_currentCancelled)
        fail(item, QString::fromLatin1(downloadErrorMessage));
    finishItem();
}

void DownloadManager::httpReadyRead()
{
    if (!m_output || !m_reply)
        return;
    const QByteArray data = m_reply->readAll();
    if (m_output->write(data) != data.size() && !m_writeFailed) {
        qWarning().noquote() << "Cannot write the download to" << m_output->fileName() << ":" << m_output->errorString();
        m_writeFailed = true;
    }
}

void DownloadManager::updateDownloadProgress(qint64 amount, qint64 max)
{
    // Without a total size there is no percentage to show.
    if (m_aborted || !m_current || max <= 0)
        return;
    const float percent = float(amount) * 100.0f / float(max);
    m_current->downloadStatus()->setPercent(qBound(0, int(percent), 100));
}

void DownloadManager::httpDownloadFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply || sender() != reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();

    if (m_aborted) {
        discardOutput();
        finishItem();
        return;
    }
    httpReadyRead();
    IDownloadableItem *item = m_current;
    if (m_output) {
        m_output->flush();
        m_output->close();
    }
    if (!item) {
        discardOutput();
        finishItem();
        return;
    }
    if (reply->error() != QNetworkReply::NoError || m_writeFailed || !m_output) {
        qWarning().noquote() << "Download of" << item->name() << "failed:" << reply->errorString();
        discardOutput();
        fail(item, m_writeFailed ? QString::fromLatin1(downloadPathMessage) + m_tempDir->path()
                                 : QString::fromLatin1(downloadErrorMessage));
        finishItem();
        return;
    }
    install(item);
    discardOutput();
    finishItem();
}

void DownloadManager::install(IDownloadableItem *item)
{
    QPointer<IDownloadableItem> watched(item);
    setStatus(item, DownloadStatusInfo::Extracting);
    item->downloadStatus()->setPercent(0);

    const QString destination = m_folderName.isEmpty() ? m_installRoot
                                                       : m_installRoot + QLatin1Char('/') + m_folderName;
    if (!QDir().mkpath(destination)) {
        qWarning().noquote() << "Cannot create the install folder" << destination;
        fail(item, QString::fromLatin1(libraryPathMessage), false);
        return;
    }
    const ArchiveExtractor::Result result =
        ArchiveExtractor::extract(m_output->fileName(), destination, [watched](int done, int total) {
            if (watched && total > 0)
                watched->downloadStatus()->setPercent(int(float(done) * 100.0f / float(total)));
        });
    if (!watched)
        return;
    if (!result.opened) {
        fail(item, QString::fromLatin1(archiveMessage));
        return;
    }
    if (result.failed > 0) {
        // What was written stays, and the catalogues may take it in; the item is not installed.
        qWarning().noquote() << item->name() << ":" << result.failed << "of" << result.members
                             << "archive members were not installed";
        fail(item, QString::fromLatin1(partialInstallMessage).arg(result.failed).arg(result.members));
        if (m_hooks.folderInstalled)
            m_hooks.folderInstalled(destination);
        return;
    }

    qInfo().noquote() << "Installed" << item->name() << "into" << destination;
    item->setInstalled(true);
    if (item->parentId() != 0) {
        if (m_hooks.productInstalled)
            m_hooks.productInstalled(item->parentId());
        if (m_hooks.subProductInstalled)
            m_hooks.subProductInstalled(qobject_cast<SubProduct *>(item));
    } else {
        if (auto *product = qobject_cast<Product *>(item)) {
            for (SubProduct *sub : product->subProductItems())
                sub->setInstalled(true);
        }
        if (m_hooks.productInstalled)
            m_hooks.productInstalled(item->id());
    }
    if (m_hooks.folderInstalled)
        m_hooks.folderInstalled(destination);
}

void DownloadManager::startRun()
{
    m_network = new QNetworkAccessManager(this);
    m_tempDir = std::make_unique<QTemporaryDir>();
    m_processingQueue = true;
    emit processingQueueChanged();
}

void DownloadManager::finishRun()
{
    if (m_network) {
        m_network->deleteLater();
        m_network = nullptr;
    }
    m_tempDir.reset();
    m_processingQueue = false;
    emit processingQueueChanged();
}

void DownloadManager::processNext()
{
    while (!m_queue.isEmpty()) {
        m_aborted = false;
        const Entry entry = m_queue.takeFirst();
        m_queuedNames.remove(entry.name);
        IDownloadableItem *item = entry.item;
        if (!item)
            continue;
        // Installed already, or meanwhile by its product: it keeps its files and its look.
        if (item->installed() || item->status() == DownloadStatusInfo::Installed) {
            setStatus(item, DownloadStatusInfo::Installed);
            continue;
        }
        m_current = item;
        setStatus(item, DownloadStatusInfo::Downloading);
        item->downloadStatus()->setPercent(0);
        item->downloadStatus()->setHasError(false);

        m_installRoot = libraryRoot();
        const QFileInfo root(m_installRoot);
        if (!root.isDir() || !root.isWritable()) {
            qWarning().noquote() << "Cannot install" << item->name() << "into" << m_installRoot;
            fail(item, QString::fromLatin1(libraryPathMessage), false);
            m_current = nullptr;
            continue;
        }
        if (m_hooks.requestLink)
            m_hooks.requestLink(item->link());
        return;
    }
    if (!m_current)
        finishRun();
}

void DownloadManager::finishItem()
{
    m_current = nullptr;
    m_currentCancelled = false;
    m_folderName.clear();
    processNext();
}

void DownloadManager::setStatus(IDownloadableItem *item, DownloadStatusInfo::Status status)
{
    item->setStatus(status);
    // A product's sub-products wait, stop and finish with it; its progress is its own.
    const bool shared = status == DownloadStatusInfo::Queued || status == DownloadStatusInfo::None
        || status == DownloadStatusInfo::Installed;
    if (shared && item->parentId() == 0) {
        if (auto *product = qobject_cast<Product *>(item))
            product->setSubProductsStatus(status);
    }
}

void DownloadManager::fail(IDownloadableItem *item, const QString &message, bool isError)
{
    if (!item)
        return;
    setStatus(item, DownloadStatusInfo::None);
    item->downloadStatus()->setHasError(isError);
    item->downloadStatus()->setErrorMessage(message);
}

void DownloadManager::discardOutput()
{
    if (!m_output)
        return;
    m_output->close();
    m_output->remove();
    m_output.reset();
}
