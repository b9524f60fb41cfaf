#pragma once

#include "Model/folderwalk.h"

#include <QStringList>
#include <QVector>

#include <condition_variable>
#include <mutex>
#include <thread>

// Walks a catalogue's folders on a thread of its own while the caller goes on: a full
// scan frees the old rows and reads the stored records meanwhile, and takes each
// folder's files in folder order, waiting only for a folder not walked yet. Reading the
// file times is kernel work that the rest of a scan need not wait for.
//
// Only file names, paths and times cross threads; the caller's objects stay on its thread.
class FolderPrefetch
{
public:
    FolderPrefetch(const QStringList &folders, const QStringList &nameFilters);
    // Stops after the folder being walked.
    ~FolderPrefetch();
    FolderPrefetch(const FolderPrefetch &) = delete;
    FolderPrefetch &operator=(const FolderPrefetch &) = delete;

    int count() const { return m_folders.size(); }
    // The files of the folder at index, in the walk's order; each folder once.
    QVector<FolderWalk::File> take(int index);

    // One folder walked on the caller's thread.
    static QVector<FolderWalk::File> walk(const QString &folder, const QStringList &nameFilters);

private:
    void run();

    const QStringList m_folders;
    const QStringList m_nameFilters;
    std::mutex m_mutex;
    std::condition_variable m_walked;
    QVector<QVector<FolderWalk::File>> m_files;
    int m_done = 0;
    bool m_stop = false;
    std::thread m_thread;
};
