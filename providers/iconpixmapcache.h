#pragma once

#include <QPixmap>
#include <QReadWriteLock>
#include <QString>

#include <atomic>
#include <cstdint>
#include <unordered_map>

// Thumbnails by file path, shared by the QML engine's image-loading threads.
// Lookups run side by side under the read lock; inserts take the write lock and
// push out the least recently used entry once the cache is full. Recency is kept
// in atomics, so a lookup never writes to the map it reads.
class IconPixmapCache
{
public:
    explicit IconPixmapCache(int capacity);

    bool find(const QString &path, QPixmap *pixmap) const;
    void insert(const QString &path, const QPixmap &pixmap);
    int count() const;

private:
    struct Entry
    {
        QPixmap pixmap;
        mutable std::atomic<std::uint64_t> lastUse {0};
    };

    const int m_capacity;
    mutable QReadWriteLock m_lock;
    mutable std::atomic<std::uint64_t> m_clock {0};
    std::unordered_map<QString, Entry> m_entries;
};
