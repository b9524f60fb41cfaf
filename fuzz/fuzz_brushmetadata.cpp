// Arbitrary bytes as a brush metadata document, taken in by every road the brush
// catalogue has for one: an update file under Resources/updates, a "*.kiv.xml" file
// in a brush folder beside three brushes, and a store product's parsed document
// applied once those brushes are in the model. No crash, and the brushes keep types
// from the table. The library database is rolled back after every input, so each
// one starts from the same library.
#include "Model/brushdataservice.h"
#include "Model/databaseservice.h"
#include "Model/resourceroles.h"
#include "appfolders.h"
#include "fuzz/fuzzsupport.h"

#include <QDomDocument>
#include <QSqlDatabase>
#include <QThreadPool>

namespace {

// A brush file with credits where ZBrush 2021 writes them (its base offset, at 168, is 0).
QByteArray brushFile(const QByteArray &author)
{
    QByteArray bytes(300, '\0');
    bytes.replace(84, 4, "2021");
    bytes.replace(278, author.size(), author);
    return bytes;
}

struct Library
{
    Library()
    {
        FuzzSupport::ensureApplication();
        const QString root = FuzzSupport::scratchFolder();
        const QString path = root + QStringLiteral("/brushes.db");
        if (!QFile::exists(path) && !QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), path))
            abort();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        AppFolders::setProgramFolderForTesting(root + QStringLiteral("/program"));
        database = QSharedPointer<DatabaseService>::create(path, QString(), true);
        if (!database->isOpen())
            abort();
        const QString library = root + QStringLiteral("/library");
        database->writeSetting(DatabaseService::LibraryLocation, library);
        const QString brushes = library + QStringLiteral("/KIVSource");
        for (const char *name : {"Standard", "Clay Buildup", "Move"})
            FuzzSupport::writeFile(brushes + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".ZBP"),
                                   brushFile("Kivara"));
        // Newer than any version a library stores, so it is applied every time.
        updateFile = root + QStringLiteral("/program/Resources/updates/9_9_9.kiv.xml");
        folderFile = brushes + QStringLiteral("/meta.kiv.xml");
    }

    QSharedPointer<DatabaseService> database;
    QString updateFile;
    QString folderFile;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static const Library library;
    const QByteArray input = FuzzSupport::bytes(data, size);
    FuzzSupport::writeFile(library.updateFile, input);
    FuzzSupport::writeFile(library.folderFile, input);

    QSqlDatabase connection = QSqlDatabase::database();
    if (!connection.transaction())
        abort();
    {
        BrushDataService brushes(nullptr, library.database, false, nullptr);
        brushes.setup();
        while (brushes.pendingReads() > 0) {
            QThreadPool::globalInstance()->waitForDone();
            QCoreApplication::processEvents();
        }
        QDomDocument document;
        if (document.setContent(input))
            brushes.applyMetadataDocument(document);

        for (int row = 0; row < brushes.rowCount(); ++row) {
            const int type = brushes.data(brushes.index(row), ResourceRoles::BrushRole::BrushType).toInt();
            if (type < 0 || type > 60)
                abort();
        }
    }
    if (!connection.rollback())
        abort();
    return 0;
}
