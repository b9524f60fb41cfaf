#include "folderprefetch.h"

FolderPrefetch::FolderPrefetch(const QStringList &folders, const QStringList &nameFilters)
    : m_folders(folders)
    , m_nameFilters(nameFilters)
    , m_files(folders.size())
{
    if (!m_folders.isEmpty())
        m_thread = std::thread(&FolderPrefetch::run, this);
}

FolderPrefetch::~FolderPrefetch()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    if (m_thread.joinable())
        m_thread.join();
}

void FolderPrefetch::run()
{
    for (int i = 0; i < m_folders.size(); ++i) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stop)
                break;
        }
        QVector<FolderWalk::File> files = walk(m_folders.at(i), m_nameFilters);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_files[i] = std::move(files);
            m_done = i + 1;
        }
        m_walked.notify_one();
    }
}

QVector<FolderWalk::File> FolderPrefetch::take(int index)
{
    if (index < 0 || index >= m_folders.size())
        return {};
    std::unique_lock<std::mutex> lock(m_mutex);
    m_walked.wait(lock, [this, index] { return m_done > index; });
    return std::move(m_files[index]);
}

QVector<FolderWalk::File> FolderPrefetch::walk(const QString &folder, const QStringList &nameFilters)
{
    QVector<FolderWalk::File> files;
    FolderWalk::forEachFile(folder, nameFilters, [&files](const FolderWalk::File &file) { files.append(file); });
    return files;
}
