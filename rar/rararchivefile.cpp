#include "rar/rararchivefile.h"

#include "rar/rararchive.h"
#include "rar/rararchive_p.h"
#include "rar/unrarcompat.h"

#include <QtDebug>

#include <cstring>
#include <limits>
#include <memory>

namespace {
// What a QByteArray can hold, less its allocation header.
constexpr quint64 MaxMemberSize = quint64(std::numeric_limits<int>::max()) - 64;
}

RarArchiveFile::RarArchiveFile(const QString &archiveName, const QString &fileName, Qt::CaseSensitivity cs,
                               QObject *parent)
    : QIODevice(parent)
    , m_fileName(fileName)
    , m_caseSensitivity(cs)
    , m_archive(new RarArchive(archiveName))
    , m_ownsArchive(true)
{
}

RarArchiveFile::RarArchiveFile(const QString &archiveName, QObject *parent)
    : QIODevice(parent)
    , m_archive(new RarArchive(archiveName))
    , m_ownsArchive(true)
{
}

RarArchiveFile::RarArchiveFile(QObject *parent)
    : QIODevice(parent)
{
}

RarArchiveFile::RarArchiveFile(RarArchive *archive, QObject *parent)
    : QIODevice(parent)
    , m_archive(archive)
{
}

RarArchiveFile::~RarArchiveFile()
{
    close();
    if (m_ownsArchive)
        delete m_archive;
}

bool RarArchiveFile::isSequential() const
{
    return true;
}

bool RarArchiveFile::open(OpenMode mode)
{
    return open(mode, QString());
}

bool RarArchiveFile::open(OpenMode mode, const QString &password)
{
    if (isOpen()) {
        qWarning() << "RarArchiveFile::open: already opened";
        return false;
    }
    if (mode != QIODevice::ReadOnly) {
        qWarning() << "RarArchiveFile::open: only support ReadOnly OpenMode";
        return false;
    }
    if (!m_archive) {
        qWarning() << "RarArchiveFile::open: archive is null";
        return false;
    }

    m_error = ERAR_SUCCESS;
    RarArchivePrivate *archive = m_archive->d.data();
    // An archive already open for extraction with this password is read from where
    // it stands: members taken in archive order then cost one pass, not one rewind
    // and walk each.
    const bool reusable = m_archive->mode() == RarArchive::OpenModeExtract && archive->password == password;
    if (!reusable) {
        if (m_archive->isOpen())
            m_archive->close();
        if (!m_archive->open(RarArchive::OpenModeExtract, password)) {
            m_error = m_archive->error();
            return false;
        }
    }
    m_password = password.toUtf8();
    if (!m_archive->setCurrentFile(m_fileName, m_caseSensitivity)) {
        qWarning() << "RarArchiveFile::open: fail to set current file to" << m_fileName;
        return false;
    }
    if (!m_archive->currentFileInfo(&m_info)) {
        qWarning() << "RarArchiveFile::open: fail to get current file info";
        return false;
    }

    HANDLE handle = archive->handle;
    // Until the member has been read through, nobody knows where the handle stands.
    archive->nextHeader = RarArchivePrivate::UnknownPosition;
    RARSetCallback(handle, &RarArchiveFile::unrarCallback, LPARAM(this));
    if (!m_buffer.isOpen() && !m_buffer.open(QIODevice::ReadWrite)) {
        qWarning() << "RarArchiveFile::open: fail to open buffer";
        RARSetCallback(handle, nullptr, 0);
        return false;
    }
    // The extended record, for the full 64-bit size.
    auto header = std::make_unique<RARHeaderDataEx>();
    const int headerResult = RARReadHeaderEx(handle, header.get());
    if (headerResult != ERAR_SUCCESS) {
        qWarning() << "RarArchiveFile::open: cannot read file meta info";
        RARSetCallback(handle, nullptr, 0);
        m_error = headerResult;
        return false;
    }
    // The member is held in a QByteArray; one it cannot hold must fail here
    // rather than arrive cut short.
    const quint64 unpacked = (quint64(header->UnpSizeHigh) << 32) | header->UnpSize;
    if (unpacked > MaxMemberSize) {
        qWarning() << "RarArchiveFile::open: member too large to hold in memory:" << m_fileName << unpacked;
        RARSetCallback(handle, nullptr, 0);
        m_error = ERAR_NO_MEMORY;
        return false;
    }

    m_buffer.buffer().clear();
    m_buffer.seek(0);
    m_error = RARProcessFile(handle, RAR_TEST, nullptr, nullptr);
    // The archive may outlive this device; it must not call back into it.
    RARSetCallback(handle, nullptr, 0);
    m_buffer.seek(0);

    if (m_error == ERAR_SUCCESS)
        archive->nextHeader = archive->currentIndex + 1;
    if (m_error != ERAR_SUCCESS) {
        // Whatever arrived before the failure is not the member.
        m_buffer.buffer().clear();
        setOpenMode(NotOpen);
        return false;
    }
    // Unbuffered: QIODevice must not read ahead of the buffer, or pos(),
    // atEnd() and bytesAvailable(), which are the buffer's, would run ahead of
    // what the caller has read.
    return QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

int RarArchiveFile::unrarCallback(unsigned int message, intptr_t userData, intptr_t p1, intptr_t p2)
{
    auto *self = reinterpret_cast<RarArchiveFile *>(userData);
    if (message == UCM_PROCESSDATA) {
        // A short write (the buffer cannot grow) stops the member.
        return self->m_buffer.write(reinterpret_cast<const char *>(p1), qint64(p2)) == qint64(p2) ? 1 : -1;
    }
    if (message == UCM_NEEDPASSWORD) {
        auto *target = reinterpret_cast<char *>(p1);
        const size_t capacity = size_t(p2);
        if (capacity == 0)
            return 1;
        // Always leave room for the terminating zero.
        const size_t length = qMin(size_t(self->m_password.size()), capacity - 1);
        std::memcpy(target, self->m_password.constData(), length);
        target[length] = '\0';
        return 1;
    }
    return -1;
}

void RarArchiveFile::close()
{
    if (!isOpen())
        return;
    if (m_ownsArchive && m_archive)
        m_archive->close();
    m_buffer.buffer().clear();
    m_buffer.close();
    QIODevice::close();
}

qint64 RarArchiveFile::pos() const
{
    return m_buffer.pos();
}

qint64 RarArchiveFile::size() const
{
    return m_buffer.size();
}

bool RarArchiveFile::atEnd() const
{
    return m_buffer.atEnd();
}

qint64 RarArchiveFile::bytesAvailable() const
{
    return m_buffer.bytesAvailable();
}

qint64 RarArchiveFile::readData(char *data, qint64 maxSize)
{
    return m_buffer.read(data, maxSize);
}

qint64 RarArchiveFile::writeData(const char *, qint64)
{
    qWarning() << "RarArchiveFile::writeData: modify archive is not supported";
    return -1;
}

RarArchive *RarArchiveFile::rar() const
{
    return m_archive;
}

void RarArchiveFile::setArchive(RarArchive *archive)
{
    if (isOpen()) {
        qWarning() << "RarArchiveFile::setArchive: fail because current archive is opened";
        return;
    }
    if (m_ownsArchive)
        delete m_archive;
    m_archive = archive;
    m_ownsArchive = false;
}

void RarArchiveFile::setArchiveName(const QString &name)
{
    if (isOpen()) {
        qWarning() << "RarArchiveFile::setArchiveName: fail because current archive is opened";
        return;
    }
    if (m_ownsArchive)
        delete m_archive;
    m_archive = new RarArchive(name);
    m_ownsArchive = true;
}

void RarArchiveFile::setFileName(const QString &fileName, Qt::CaseSensitivity cs)
{
    if (isOpen()) {
        qWarning() << "RarArchiveFile::setFileName: fail because current file is opened";
        return;
    }
    m_fileName = fileName;
    m_caseSensitivity = cs;
}

QString RarArchiveFile::arcName() const
{
    return m_archive ? m_archive->archiveName() : QString();
}

QString RarArchiveFile::fileName() const
{
    return m_fileName;
}

QString RarArchiveFile::actualFileName() const
{
    return m_info.fileName;
}

Qt::CaseSensitivity RarArchiveFile::caseSensitivity() const
{
    return m_caseSensitivity;
}

bool RarArchiveFile::fileInfo(RarFileInfo *info) const
{
    return m_archive ? m_archive->currentFileInfo(info) : false;
}

quint32 RarArchiveFile::csize() const
{
    return m_info.packSize;
}

quint32 RarArchiveFile::usize() const
{
    return m_info.unpSize;
}

int RarArchiveFile::error() const
{
    return m_error;
}
