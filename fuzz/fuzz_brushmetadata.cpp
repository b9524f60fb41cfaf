// Arbitrary bytes as a brush metadata document, taken in by every road the brush
// catalogue has for one, as its set-up runs them: an update file under
// Resources/updates, a "*.kiv.xml" file found beside three brushes when their folder
// is scanned, and then a store product's parsed document, applied once those brushes
// are in the model. No crash, and the brushes keep types from the table.
//
// The library database is rolled back after every input and the set-up rebuilds the
// catalogue from it, so each input starts from the same library.
#include "Model/brushdataservice.h"
#include "Model/databaseservice.h"
#include "Model/resourceroles.h"
#include "fuzz/fuzzsupport.h"
#include "fuzz/scratchlibrary.h"
#include "xmldocumentreader.h"

#include <QDomDocument>
#include <QSqlDatabase>
#include <QThreadPool>

#include <memory>

namespace {

constexpr int brushCount = 3;

// A brush file with credits where ZBrush 2021 writes them (its base offset, at 168, is 0).
QByteArray brushFile(const QByteArray &author)
{
    QByteArray bytes(300, '\0');
    bytes.replace(84, 4, "2021");
    bytes.replace(278, author.size(), author);
    return bytes;
}

void waitForReads(const BrushDataService &brushes)
{
    while (brushes.pendingReads() > 0) {
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }
}

struct Library
{
    Library()
    {
        database = FuzzSupport::openScratchLibrary();
        // Threads that come and go between inputs would look like leaks to the fuzzer.
        QThreadPool::globalInstance()->setExpiryTimeout(-1);
        const QString root = FuzzSupport::scratchFolder();
        // The store folder is the one brush folder the set-up scans.
        const QString library = root + QStringLiteral("/library");
        database->writeSetting(DatabaseService::LibraryLocation, library);
        const QString folder = library + QStringLiteral("/KIVSource");
        for (const char *name : {"Standard", "Clay Buildup", "Move"})
            FuzzSupport::writeFile(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".ZBP"),
                                   brushFile("Kivara"));
        // The first set-up reads and stores the brushes; from then on they are unchanged
        // and a set-up reads only those that an update file has stored anew.
        brushes = std::make_unique<BrushDataService>(nullptr, database, true, nullptr);
        waitForReads(*brushes);
        if (brushes->rowCount() != brushCount)
            abort();
        metadataFile = folder + QStringLiteral("/meta.kiv.xml");
        // Newer than any version the library stores, so it is applied every time.
        updateFile = root + QStringLiteral("/program/Resources/updates/9_9_9.kiv.xml");
    }

    QSharedPointer<DatabaseService> database;
    std::unique_ptr<BrushDataService> brushes;
    QString metadataFile;
    QString updateFile;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static const Library library;
    BrushDataService &brushes = *library.brushes;
    const QByteArray input = FuzzSupport::bytes(data, size);
    // Every road hands the bytes to the same reader first and goes no further when it
    // refuses them, so such an input needs no set-up (most of the time per input).
    QDomDocument document;
    if (!XmlDocumentReader::read(input, &document))
        return 0;
    FuzzSupport::writeFile(library.updateFile, input);
    FuzzSupport::writeFile(library.metadataFile, input);

    QSqlDatabase connection = QSqlDatabase::database();
    if (!connection.transaction())
        abort();
    brushes.setup();
    waitForReads(brushes);
    if (brushes.rowCount() != brushCount)
        abort();
    brushes.applyMetadataDocument(document);
    for (int row = 0; row < brushes.rowCount(); ++row) {
        const int type = brushes.data(brushes.index(row), ResourceRoles::BrushRole::BrushType).toInt();
        if (type < 0 || type > 60)
            abort();
    }
    if (!connection.rollback())
        abort();
    // The set-up replaces the category rows; the old ones go now rather than pile up.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
