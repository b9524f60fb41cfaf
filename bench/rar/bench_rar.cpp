// Reading every member of a 2 000-member stored RAR archive in order: through
// RarArchiveFile (each open relists the archive and walks to the member), and
// straight through libarchive as the floor.
#include "../../tests/rar/rar4writer.h"

#include "rar/rararchive.h"
#include "rar/rararchivefile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <archive.h>
#include <archive_entry.h>

namespace {

constexpr int MemberCount = 2000;
constexpr int MemberSize = 1024;

qint64 readThroughFacade(const QString &path, qint64 *bytes)
{
    RarArchive archive(path);
    if (!archive.open(RarArchive::OpenModeList))
        return -1;
    const QStringList names = archive.fileNameList();
    archive.close();
    RarArchiveFile file(&archive);
    for (const QString &name : names) {
        file.setFileName(name);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        *bytes += file.readAll().size();
        file.close();
    }
    return names.size();
}

qint64 readThroughLibarchive(const QString &path, qint64 *bytes)
{
    archive *reader = archive_read_new();
    archive_read_support_format_rar(reader);
    archive_read_support_format_rar5(reader);
    if (archive_read_open_filename(reader, QFile::encodeName(path).constData(), 64 * 1024) != ARCHIVE_OK) {
        archive_read_free(reader);
        return -1;
    }
    qint64 members = 0;
    archive_entry *entry = nullptr;
    char buffer[64 * 1024];
    while (archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
        la_ssize_t read;
        while ((read = archive_read_data(reader, buffer, sizeof(buffer))) > 0)
            *bytes += read;
        ++members;
    }
    archive_read_free(reader);
    return members;
}

void report(QTextStream &out, const char *what, qint64 members, qint64 bytes, qint64 nanoseconds)
{
    const double seconds = double(nanoseconds) / 1e9;
    out << what << ": " << members << " members, " << bytes << " bytes in " << QString::number(seconds, 'f', 3)
        << " s = " << QString::number(double(members) / seconds, 'f', 0) << " members/s\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    Rar4Writer writer;
    for (int i = 0; i < MemberCount; ++i)
        writer.addFile(QStringLiteral("Library/Set%1/member%2.ZBP").arg(i / 100).arg(i),
                       QByteArray(MemberSize, char('a' + i % 26)));
    const QString path = dir.filePath(QStringLiteral("bench.rar"));
    if (!dir.isValid() || !writer.write(path)) {
        out << "cannot write the archive\n";
        return 1;
    }

    QElapsedTimer timer;
    qint64 bytes = 0;
    timer.start();
    qint64 members = readThroughLibarchive(path, &bytes);
    report(out, "libarchive, straight through (floor)", members, bytes, timer.nsecsElapsed());

    bytes = 0;
    timer.restart();
    members = readThroughFacade(path, &bytes);
    report(out, "RarArchiveFile, every member in order", members, bytes, timer.nsecsElapsed());
    return members == MemberCount ? 0 : 1;
}
