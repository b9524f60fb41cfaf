#include "rar/unrarcompat.h"

#include "rar/rarheaderreader.h"

#include <QFile>
#include <QString>

#include <archive.h>
#include <archive_entry.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

// The UnRAR archive API on libarchive. Headers come from RarHeaderReader;
// member data from a libarchive reader that is kept in step with it: the n-th
// member header corresponds to libarchive's n-th entry (neither counts service
// blocks). libarchive opens lazily, on the first member that is tested.

namespace {

constexpr size_t DataChunkSize = 64 * 1024;

struct CompatArchive
{
    RarHeaderReader reader;
    QString path;
    unsigned int openMode = RAR_OM_LIST;
    UNRARCALLBACK callback = nullptr;
    LPARAM userData = 0;
    std::string password;

    RarHeaderReader::Member current;
    bool headerPending = false;
    int ordinal = -1;

    archive *entries = nullptr;
    int entryOrdinal = -1;

    ~CompatArchive() { closeEntries(); }

    void closeEntries()
    {
        if (entries)
            archive_read_free(entries);
        entries = nullptr;
        entryOrdinal = -1;
    }
};

CompatArchive *compat(HANDLE handle)
{
    return static_cast<CompatArchive *>(handle);
}

template<size_t N>
void copyNarrow(char (&target)[N], const QString &text)
{
    QByteArray bytes = QFile::encodeName(text);
    if (bytes.size() >= int(N)) {
        bytes.truncate(int(N) - 1);
        // Do not leave half a UTF-8 sequence at the end.
        while (!bytes.isEmpty() && (uchar(bytes.back()) & 0xc0) == 0x80)
            bytes.chop(1);
        if (!bytes.isEmpty() && (uchar(bytes.back()) & 0x80))
            bytes.chop(1);
    }
    std::memcpy(target, bytes.constData(), size_t(bytes.size()));
    target[bytes.size()] = '\0';
}

template<size_t N>
void copyWide(wchar_t (&target)[N], const QString &text)
{
    std::wstring wide = text.toStdWString();
    if (wide.size() >= N)
        wide.resize(N - 1);
    std::wmemcpy(target, wide.data(), wide.size());
    target[wide.size()] = L'\0';
}

// Neither this layer nor libarchive can decrypt; say what the library would
// when it has no password, and treat a known one as not opening the data.
int passwordFailure(CompatArchive *arc)
{
    if (arc->password.empty() && arc->callback) {
        char buffer[128] = {};
        const int answer = arc->callback(UCM_NEEDPASSWORD, arc->userData, LPARAM(buffer), LPARAM(sizeof(buffer)));
        buffer[sizeof(buffer) - 1] = '\0';
        if (answer != -1 && buffer[0] != '\0')
            arc->password = buffer;
    }
    return arc->password.empty() ? ERAR_MISSING_PASSWORD : ERAR_BAD_PASSWORD;
}

// Moves libarchive to the entry of the current member.
int seekEntry(CompatArchive *arc, archive_entry **entry)
{
    if (arc->entries && arc->entryOrdinal >= arc->ordinal)
        arc->closeEntries();
    if (!arc->entries) {
        arc->entries = archive_read_new();
        if (!arc->entries)
            return ERAR_NO_MEMORY;
        archive_read_support_format_rar(arc->entries);
        archive_read_support_format_rar5(arc->entries);
        if (archive_read_open_filename(arc->entries, QFile::encodeName(arc->path).constData(), DataChunkSize)
            != ARCHIVE_OK) {
            arc->closeEntries();
            return ERAR_EOPEN;
        }
    }
    while (arc->entryOrdinal < arc->ordinal) {
        const int result = archive_read_next_header(arc->entries, entry);
        if (result != ARCHIVE_OK && result != ARCHIVE_WARN) {
            arc->closeEntries();
            return ERAR_BAD_DATA;
        }
        ++arc->entryOrdinal;
    }
    return ERAR_SUCCESS;
}

int deliver(CompatArchive *arc, const char *data, size_t size, quint32 *crc)
{
    *crc = quint32(crc32(*crc, reinterpret_cast<const Bytef *>(data), uInt(size)));
    if (arc->callback
        && arc->callback(UCM_PROCESSDATA, arc->userData, LPARAM(data), LPARAM(size)) == -1)
        return ERAR_UNKNOWN;
    return ERAR_SUCCESS;
}

int testMember(CompatArchive *arc)
{
    const RarHeaderReader::Member &m = arc->current;
    if (m.flags & RHDF_DIRECTORY)
        return ERAR_SUCCESS;
    if (m.flags & (RHDF_SPLITBEFORE | RHDF_SPLITAFTER))
        return ERAR_EOPEN;
    if (m.flags & RHDF_ENCRYPTED)
        return passwordFailure(arc);

    archive_entry *entry = nullptr;
    const int seek = seekEntry(arc, &entry);
    if (seek != ERAR_SUCCESS)
        return seek;

    quint32 crc = 0;
    quint64 total = 0;
    const bool regular = archive_entry_filetype(entry) == AE_IFREG;
    if (!regular && archive_entry_filetype(entry) == AE_IFLNK) {
        // libarchive turns a link's data into the link target; the header's
        // size and CRC are those of that text.
        const char *target = archive_entry_symlink(entry);
        const size_t size = target ? std::strlen(target) : 0;
        if (m.unpSize > 0 && size > 0) {
            const int result = deliver(arc, target, size, &crc);
            if (result != ERAR_SUCCESS)
                return result;
            total = size;
        }
    } else {
        if (regular && archive_entry_size_is_set(entry) && m.unpSizeKnown
            && quint64(archive_entry_size(entry)) != m.unpSize)
            return ERAR_BAD_DATA;
        std::vector<char> buffer(DataChunkSize);
        for (;;) {
            const la_ssize_t read = archive_read_data(arc->entries, buffer.data(), buffer.size());
            if (read == 0)
                break;
            if (read < 0) {
                arc->closeEntries();
                return ERAR_BAD_DATA;
            }
            const int result = deliver(arc, buffer.data(), size_t(read), &crc);
            if (result != ERAR_SUCCESS)
                return result;
            total += quint64(read);
        }
    }
    if ((m.unpSizeKnown && total != m.unpSize) || (m.hasCrc && crc != m.crc))
        return ERAR_BAD_DATA;
    return ERAR_SUCCESS;
}

int readNextHeader(CompatArchive *arc)
{
    arc->headerPending = false;
    if (arc->reader.headersEncrypted())
        return passwordFailure(arc);
    const int result = arc->reader.next(&arc->current);
    if (result != ERAR_SUCCESS)
        return result;
    ++arc->ordinal;
    arc->headerPending = true;
    return ERAR_SUCCESS;
}

// The fields the plain and the extended header record share.
template<typename Header>
void fillHeader(Header *header, const CompatArchive *arc)
{
    const RarHeaderReader::Member &m = arc->current;
    copyNarrow(header->ArcName, arc->path);
    copyNarrow(header->FileName, m.name);
    header->Flags = m.flags;
    header->PackSize = quint32(m.packSize);
    header->UnpSize = quint32(m.unpSize);
    header->HostOS = m.hostOS;
    header->FileCRC = m.crc;
    header->FileTime = m.dosTime;
    header->UnpVer = m.unpVer;
    header->Method = m.method;
    header->FileAttr = m.attributes;
    header->CmtSize = 0;
    header->CmtState = 0;
}

int processFile(HANDLE handle, int operation)
{
    CompatArchive *arc = compat(handle);
    if (!arc)
        return ERAR_UNKNOWN;
    if (!arc->headerPending)
        return ERAR_UNKNOWN;
    arc->headerPending = false;
    // A list handle only ever skips, as the library does.
    if (operation == RAR_SKIP || arc->openMode != RAR_OM_EXTRACT)
        return ERAR_SUCCESS;
    if (operation != RAR_TEST)
        return ERAR_UNKNOWN;
    return testMember(arc);
}

} // namespace

HANDLE PASCAL RAROpenArchiveEx(RAROpenArchiveDataEx *data)
{
    if (!data)
        return nullptr;
    auto *arc = new CompatArchive;
    arc->path = data->ArcNameW ? QString::fromWCharArray(data->ArcNameW)
                               : QFile::decodeName(data->ArcName ? data->ArcName : "");
    arc->openMode = data->OpenMode;
    arc->callback = data->Callback;
    arc->userData = data->UserData;

    const int result = arc->reader.open(arc->path);
    data->OpenResult = unsigned(result);
    if (result != ERAR_SUCCESS) {
        delete arc;
        return nullptr;
    }
    data->Flags = arc->reader.archiveFlags();
    data->CmtSize = 0;
    data->CmtState = 0;
    if (arc->reader.hasComment() && data->CmtBufSize > 0 && (data->CmtBufW || data->CmtBuf)) {
        std::wstring wide = arc->reader.comment().toStdWString();
        QByteArray narrow = arc->reader.comment().toUtf8();
        const size_t length = data->CmtBufW ? wide.size() : size_t(narrow.size());
        const size_t fits = qMin<size_t>(length, data->CmtBufSize - 1);
        if (data->CmtBufW) {
            std::wmemcpy(data->CmtBufW, wide.data(), fits);
            data->CmtBufW[fits] = L'\0';
        } else {
            std::memcpy(data->CmtBuf, narrow.constData(), fits);
            data->CmtBuf[fits] = '\0';
        }
        data->CmtSize = unsigned(fits + 1);
        data->CmtState = fits < length ? ERAR_SMALL_BUF : 1;
    }
    return arc;
}

int PASCAL RARCloseArchive(HANDLE handle)
{
    if (!handle)
        return ERAR_ECLOSE;
    delete compat(handle);
    return ERAR_SUCCESS;
}

int PASCAL RARReadHeader(HANDLE handle, RARHeaderData *header)
{
    CompatArchive *arc = compat(handle);
    if (!arc || !header)
        return ERAR_UNKNOWN;
    const int result = readNextHeader(arc);
    if (result == ERAR_SUCCESS)
        fillHeader(header, arc);
    return result;
}

int PASCAL RARReadHeaderEx(HANDLE handle, RARHeaderDataEx *header)
{
    CompatArchive *arc = compat(handle);
    if (!arc || !header)
        return ERAR_UNKNOWN;
    const int result = readNextHeader(arc);
    if (result != ERAR_SUCCESS)
        return result;
    fillHeader(header, arc);
    const RarHeaderReader::Member &m = arc->current;
    copyWide(header->ArcNameW, arc->path);
    copyWide(header->FileNameW, m.name);
    header->PackSizeHigh = quint32(m.packSize >> 32);
    header->UnpSizeHigh = quint32(m.unpSize >> 32);
    header->DictSize = m.dictSizeKb;
    header->HashType = m.blake2 ? RAR_HASH_BLAKE2 : (m.hasCrc ? RAR_HASH_CRC32 : RAR_HASH_NONE);
    std::memset(header->Hash, 0, sizeof(header->Hash));
    header->RedirType = 0;
    header->DirTarget = 0;
    header->MtimeLow = quint32(m.fileTime);
    header->MtimeHigh = quint32(m.fileTime >> 32);
    header->CtimeLow = header->CtimeHigh = header->AtimeLow = header->AtimeHigh = 0;
    return ERAR_SUCCESS;
}

int PASCAL RARProcessFile(HANDLE handle, int operation, char *, char *)
{
    return processFile(handle, operation);
}

int PASCAL RARProcessFileW(HANDLE handle, int operation, wchar_t *, wchar_t *)
{
    return processFile(handle, operation);
}

void PASCAL RARSetCallback(HANDLE handle, UNRARCALLBACK callback, LPARAM userData)
{
    if (CompatArchive *arc = compat(handle)) {
        arc->callback = callback;
        arc->userData = userData;
    }
}

void PASCAL RARSetPassword(HANDLE handle, char *password)
{
    if (CompatArchive *arc = compat(handle))
        arc->password = password ? password : "";
}
