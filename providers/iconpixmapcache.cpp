#include "providers/iconpixmapcache.h"

#include <QReadLocker>
#include <QWriteLocker>

#include <algorithm>

// ThreadSanitizer cannot see inside Qt's locks; tell it what they guard.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KIVARA_TSAN 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define KIVARA_TSAN 1
#endif

#ifdef KIVARA_TSAN
extern "C" {
void AnnotateRWLockCreate(const char *file, int line, const volatile void *lock);
void AnnotateRWLockAcquired(const char *file, int line, const volatile void *lock, long isWrite);
void AnnotateRWLockReleased(const char *file, int line, const volatile void *lock, long isWrite);
}
#define KIVARA_ANNOTATE_CREATE(lock) AnnotateRWLockCreate(__FILE__, __LINE__, lock)
#define KIVARA_ANNOTATE_ACQUIRED(lock, w) AnnotateRWLockAcquired(__FILE__, __LINE__, lock, w)
#define KIVARA_ANNOTATE_RELEASED(lock, w) AnnotateRWLockReleased(__FILE__, __LINE__, lock, w)
#else
#define KIVARA_ANNOTATE_CREATE(lock) static_cast<void>(lock)
#define KIVARA_ANNOTATE_ACQUIRED(lock, w) static_cast<void>(lock)
#define KIVARA_ANNOTATE_RELEASED(lock, w) static_cast<void>(lock)
#endif

namespace {

class ReadGuard
{
public:
    explicit ReadGuard(QReadWriteLock *lock)
        : m_locker(lock)
    {
        KIVARA_ANNOTATE_ACQUIRED(lock, 0);
    }
    ~ReadGuard() { KIVARA_ANNOTATE_RELEASED(m_locker.readWriteLock(), 0); }
    Q_DISABLE_COPY(ReadGuard)

private:
    QReadLocker m_locker;
};

class WriteGuard
{
public:
    explicit WriteGuard(QReadWriteLock *lock)
        : m_locker(lock)
    {
        KIVARA_ANNOTATE_ACQUIRED(lock, 1);
    }
    ~WriteGuard() { KIVARA_ANNOTATE_RELEASED(m_locker.readWriteLock(), 1); }
    Q_DISABLE_COPY(WriteGuard)

private:
    QWriteLocker m_locker;
};

} // namespace

IconPixmapCache::IconPixmapCache(int capacity)
    : m_capacity(std::max(1, capacity))
{
    KIVARA_ANNOTATE_CREATE(&m_lock);
    m_entries.reserve(static_cast<std::size_t>(m_capacity) + 1);
}

bool IconPixmapCache::find(const QString &path, QPixmap *pixmap) const
{
    ReadGuard guard(&m_lock);
    const auto it = m_entries.find(path);
    if (it == m_entries.end())
        return false;
    it->second.lastUse.store(++m_clock, std::memory_order_relaxed);
    *pixmap = it->second.pixmap;
    return true;
}

void IconPixmapCache::insert(const QString &path, const QPixmap &pixmap)
{
    WriteGuard guard(&m_lock);
    auto it = m_entries.find(path);
    if (it == m_entries.end()) {
        if (static_cast<int>(m_entries.size()) >= m_capacity) {
            const auto oldest = std::min_element(m_entries.begin(), m_entries.end(), [](const auto &a, const auto &b) {
                return a.second.lastUse.load(std::memory_order_relaxed)
                    < b.second.lastUse.load(std::memory_order_relaxed);
            });
            m_entries.erase(oldest);
        }
        it = m_entries.try_emplace(path).first;
    }
    it->second.pixmap = pixmap;
    it->second.lastUse.store(++m_clock, std::memory_order_relaxed);
}

int IconPixmapCache::count() const
{
    ReadGuard guard(&m_lock);
    return static_cast<int>(m_entries.size());
}
