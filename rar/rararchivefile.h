#pragma once

#include "rar/rarexport.h"
#include "rar/rarfileinfo.h"

#include <QBuffer>
#include <QIODevice>
#include <QString>

#include <cstdint>

class RarArchive;

// One member of a RAR archive as a read-only device. Opening reads the whole
// member into memory; the device then serves it from there.
class KIVARA_RAR_EXPORT RarArchiveFile : public QIODevice
{
    Q_OBJECT

public:
    RarArchiveFile(const QString &archiveName, const QString &fileName,
                   Qt::CaseSensitivity cs = Qt::CaseSensitive, QObject *parent = nullptr);
    RarArchiveFile(const QString &archiveName, QObject *parent);
    explicit RarArchiveFile(QObject *parent = nullptr);
    RarArchiveFile(RarArchive *archive, QObject *parent = nullptr);
    ~RarArchiveFile() override;

    bool isSequential() const override;
    bool open(OpenMode mode) override;
    bool open(OpenMode mode, const QString &password);
    void close() override;
    qint64 pos() const override;
    qint64 size() const override;
    bool atEnd() const override;
    qint64 bytesAvailable() const override;

    RarArchive *rar() const;
    void setArchive(RarArchive *archive);
    void setArchiveName(const QString &name);
    void setFileName(const QString &fileName, Qt::CaseSensitivity cs = Qt::CaseSensitive);

    QString arcName() const;
    QString fileName() const;
    QString actualFileName() const;
    Qt::CaseSensitivity caseSensitivity() const;
    bool fileInfo(RarFileInfo *info) const;
    // Packed and unpacked size of the member, low 32 bits.
    quint32 csize() const;
    quint32 usize() const;
    int error() const;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    // The UnRAR callback: member data and password requests.
    static int unrarCallback(unsigned int message, intptr_t userData, intptr_t p1, intptr_t p2);

    QString m_fileName;
    Qt::CaseSensitivity m_caseSensitivity = Qt::CaseSensitive;
    RarArchive *m_archive = nullptr;
    bool m_ownsArchive = false;
    int m_error = 0;
    QBuffer m_buffer;
    RarFileInfo m_info;
    QByteArray m_password;
};
