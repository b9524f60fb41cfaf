#include "rar/rararchive.h"

#include "rar/rararchive_p.h"
#include "rar/unrarcompat.h"

#include <QtDebug>

#include <memory>
#include <string>

const int RarArchive::MAX_ARC_NAME_SIZE;
const int RarArchive::MAX_COMMENT_SIZE;

int RarArchivePrivate::openHandle()
{
    std::wstring name = archiveName.left(RarArchive::MAX_ARC_NAME_SIZE - 1).toStdWString();
    std::unique_ptr<wchar_t[]> commentBuffer(new wchar_t[RarArchive::MAX_COMMENT_SIZE]);

    RAROpenArchiveDataEx data = {};
    data.ArcNameW = &name[0];
    data.OpenMode = handleMode == RarArchive::OpenModeList ? RAR_OM_LIST : RAR_OM_EXTRACT;
    data.CmtBufW = commentBuffer.get();
    data.CmtBufSize = RarArchive::MAX_COMMENT_SIZE;

    handle = RAROpenArchiveEx(&data);
    if (!handle)
        return data.OpenResult != 0 ? int(data.OpenResult) : ERAR_EOPEN;
    if (data.OpenResult != ERAR_SUCCESS) {
        closeHandle();
        return int(data.OpenResult);
    }
    nextHeader = 0;
    comment = data.CmtSize > 0 ? QString::fromWCharArray(commentBuffer.get(), int(data.CmtSize) - 1) : QString();
    headersEncrypted = data.Flags & ROADF_ENCHEADERS;
    if (!password.isEmpty()) {
        QByteArray bytes = password.toUtf8();
        RARSetPassword(handle, bytes.data());
    }
    return ERAR_SUCCESS;
}

void RarArchivePrivate::closeHandle()
{
    if (handle)
        RARCloseArchive(handle);
    handle = nullptr;
    nextHeader = UnknownPosition;
}

// UnRAR reads forward only; starting again at the first member means a new handle.
bool RarArchivePrivate::reopenHandle()
{
    closeHandle();
    error = openHandle();
    return error == ERAR_SUCCESS;
}

int RarArchivePrivate::readMemberList()
{
    auto header = std::make_unique<RARHeaderDataEx>();
    int result;
    while ((result = RARReadHeaderEx(handle, header.get())) == ERAR_SUCCESS) {
        RarFileInfo info;
        info.fileName = QString::fromWCharArray(header->FileNameW);
        info.arcName = archiveName;
        info.flags = header->Flags;
        info.packSize = header->PackSize;
        info.unpSize = header->UnpSize;
        info.hostOS = header->HostOS;
        info.fileCRC = header->FileCRC;
        info.fileTime = header->FileTime;
        info.unpVer = header->UnpVer;
        info.method = header->Method;
        info.fileAttr = header->FileAttr;
        info.comment = comment;
        const int index = infos.size();
        infos.append(info);
        indexByName.insert(info.fileName, index);
        indexByLowerName.insert(info.fileName.toLower(), index);
        if (info.flags & RHDF_ENCRYPTED)
            filesEncrypted = true;
        result = RARProcessFile(handle, RAR_SKIP, nullptr, nullptr);
        if (result != ERAR_SUCCESS)
            break;
    }
    return result == ERAR_END_ARCHIVE ? ERAR_SUCCESS : result;
}

RarArchive::RarArchive()
    : d(new RarArchivePrivate)
{
}

RarArchive::RarArchive(const QString &archiveName)
    : d(new RarArchivePrivate)
{
    d->archiveName = archiveName;
}

RarArchive::~RarArchive()
{
    close();
}

bool RarArchive::open(OpenMode mode, const QString &password)
{
    // Opening again must not leak the handle that is open now.
    if (isOpen())
        close();
    d->password = password;
    d->handleMode = mode;
    d->error = d->openHandle();
    if (d->error != ERAR_SUCCESS)
        return false;
    d->mode = mode;

    if (!d->listed) {
        const int result = d->readMemberList();
        // A member list cut short by damage or a missing password would hand
        // the caller part of the archive as if it were all of it.
        if (result != ERAR_SUCCESS) {
            qWarning() << "RarArchive::open: fail to read the member list of" << d->archiveName << "error" << result;
            const bool headersEncrypted = d->headersEncrypted;
            close();
            d->headersEncrypted = headersEncrypted;
            d->error = result;
            return false;
        }
        d->listed = true;
        if (!d->reopenHandle()) {
            const int reopenResult = d->error;
            close();
            d->error = reopenResult;
            return false;
        }
    }
    return true;
}

void RarArchive::close()
{
    if (!isOpen())
        return;
    d->closeHandle();
    d->infos.clear();
    d->indexByName.clear();
    d->indexByLowerName.clear();
    d->comment.clear();
    d->headersEncrypted = false;
    d->filesEncrypted = false;
    d->password.clear();
    d->currentIndex = 0;
    d->mode = OpenModeNotOpen;
    d->listed = false;
}

bool RarArchive::isOpen() const
{
    return d->mode != OpenModeNotOpen;
}

RarArchive::OpenMode RarArchive::mode() const
{
    return d->mode;
}

QString RarArchive::archiveName() const
{
    return d->archiveName;
}

void RarArchive::setArchiveName(const QString &name)
{
    if (isOpen()) {
        qWarning() << "RarArchive::setArchiveName: Archive is open now! Close it first.";
        return;
    }
    d->archiveName = name;
}

QString RarArchive::comment() const
{
    return d->comment;
}

int RarArchive::error() const
{
    return d->error;
}

int RarArchive::entriesCount() const
{
    return d->infos.size();
}

QStringList RarArchive::fileNameList() const
{
    QStringList names;
    names.reserve(d->infos.size());
    for (const RarFileInfo &info : qAsConst(d->infos))
        names.append(info.fileName);
    return names;
}

QList<RarFileInfo> RarArchive::fileInfoList() const
{
    return d->infos;
}

bool RarArchive::isFilesEncrypted() const
{
    return d->filesEncrypted;
}

bool RarArchive::isHeadersEncrypted() const
{
    return d->headersEncrypted;
}

void *RarArchive::unrarArcHandle() const
{
    // Whoever takes the handle may move it: the next setCurrentFile rewinds.
    d->nextHeader = RarArchivePrivate::UnknownPosition;
    return d->handle;
}

bool RarArchive::setCurrentFile(const QString &fileName, Qt::CaseSensitivity cs)
{
    if (!isOpen())
        return false;
    const QHash<QString, int> &names = cs == Qt::CaseSensitive ? d->indexByName : d->indexByLowerName;
    const auto found = names.constFind(cs == Qt::CaseSensitive ? fileName : fileName.toLower());
    const int index = found == names.constEnd() ? -1 : found.value();

    // Members read in archive order need no rewind: the handle already stands
    // at or before the wanted header, and walking on from there keeps reading
    // every member of an archive linear.
    const bool forward = index >= 0 && d->nextHeader != RarArchivePrivate::UnknownPosition && d->nextHeader <= index;
    if (!forward && !d->reopenHandle()) {
        qWarning() << "RarArchive::setCurrentFile: fail to reopen to reset cursor";
        // Without a handle the archive is no longer open in any useful sense.
        const int result = d->error;
        close();
        d->error = result;
        return false;
    }
    if (index < 0)
        return false;
    d->currentIndex = index;

    auto header = std::make_unique<RARHeaderDataEx>();
    for (int i = d->nextHeader; i < d->currentIndex; ++i) {
        if (RARReadHeaderEx(d->handle, header.get()) != ERAR_SUCCESS) {
            qWarning() << "RarArchive:setCurrentFile: fail to read head at index" << i;
            d->nextHeader = RarArchivePrivate::UnknownPosition;
            return false;
        }
        if (RARProcessFile(d->handle, RAR_SKIP, nullptr, nullptr) != ERAR_SUCCESS)
            qWarning() << "RarArchive::setCurrentFile: fail to skip file at index" << i;
    }
    d->nextHeader = d->currentIndex;
    return true;
}

QString RarArchive::currentFileName() const
{
    if (!isOpen() || d->currentIndex < 0 || d->currentIndex >= d->infos.size())
        return QString();
    return d->infos.at(d->currentIndex).fileName;
}

bool RarArchive::currentFileInfo(RarFileInfo *info) const
{
    if (!isOpen() || !info || d->currentIndex < 0 || d->currentIndex >= d->infos.size())
        return false;
    *info = d->infos.at(d->currentIndex);
    return true;
}
