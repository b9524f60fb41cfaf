#include "brushdataservice.h"

#include "Model/brush.h"
#include "Model/brushtypes.h"
#include "Model/categoryitem.h"
#include "Model/folderwalk.h"
#include "Model/hostbridge.h"
#include "Model/resourceroles.h"
#include "appfolders.h"
#include "xmldocumentreader.h"
#include "sorters/brushsorter.h"

#include <QDomDocument>
#include <QFile>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>
#include <QtEndian>

#include <algorithm>
#include <cstdio>

using ResourceRoles::BrushRole;

namespace {

const QStringList &hostBrushFolders()
{
    static const QStringList folders{QStringLiteral("/ZBrushes"), QStringLiteral("/ZData/BrushPresets"),
                                     QStringLiteral("/ZStartup/BrushPresets")};
    return folders;
}

// What the metadata steps write to standard error, besides the log line with the path.
void reportUnreadable(const QString &path, const QString &why)
{
    std::fputs("Error while loading file\n", stderr);
    qWarning().noquote() << "Skipping brush metadata file" << path << ":" << why;
}

// Bytes up to a zero byte or the end of the file, one Latin-1 character each.
QString readZeroTerminated(QFile &file)
{
    QByteArray text;
    char c = 0;
    while (file.getChar(&c) && c != '\0')
        text.append(c);
    return QString::fromLatin1(text);
}

bool hasUserCategories(const BrushInfo &record)
{
    for (const QString &category : record.categories) {
        if (!category.isEmpty() && category != QLatin1String(ResourceDataService::allCategory))
            return true;
    }
    return false;
}

// The category list's order: the pinned "Default" group first, then every group by
// name with its header before its categories, the categories by name.
bool kivCategoryBefore(const CategoryItem *a, const CategoryItem *b)
{
    if (a->group() == b->group()) {
        if (a->groupHeader() != b->groupHeader())
            return a->groupHeader();
        if (a->groupHeader())
            return false;
        return a->name() < b->name();
    }
    if (a->pinned() != b->pinned())
        return a->pinned();
    return a->group() < b->group();
}

} // namespace

BrushDataService::BrushDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                                   bool setupNow, QSharedPointer<SystemDataService> systemService, QObject *parent)
    : ResourceDataService(std::move(hostBridge), std::move(database), DatabaseService::Brush, BrushRole::Name,
                          std::move(systemService), parent)
{
    auto sorter = QSharedPointer<BrushSorter>::create(this);
    m_sorter = sorter.data();
    setProxy(sorter);
    if (setupNow)
        setup();
}

BrushDataService::~BrushDataService() = default;

// Model ---------------------------------------------------------------------------------

Brush *BrushDataService::brushAt(int row) const
{
    if (row < 0 || row >= items.size())
        return nullptr;
    return static_cast<Brush *>(items.at(row).data());
}

QVariant BrushDataService::data(const QModelIndex &index, int role) const
{
    const Brush *brush = index.isValid() ? brushAt(index.row()) : nullptr;
    if (!brush)
        return {};
    switch (role) {
    case BrushRole::Brush:
        return true;
    case BrushRole::Name:
        return brush->name();
    case BrushRole::Path:
        return brush->path();
    case BrushRole::Favorite:
        return brush->favorite();
    case BrushRole::BrushType:
        return brush->brushType();
    case BrushRole::BrushTypeName:
        return brush->brushTypeName();
    case BrushRole::Categories:
        return brush->categories();
    case BrushRole::Description:
        return brush->description();
    case BrushRole::KivCategory:
        return brush->kivCategory();
    case BrushRole::Tags:
        return brush->tags();
    case BrushRole::IconPath:
        return brush->iconPath();
    case BrushRole::LastModified:
        return brush->lastModified();
    case BrushRole::LastModifiedDisplay:
        return ResourceRoles::lastModifiedDisplay(brush->lastModified());
    default:
        return {};
    }
}

bool BrushDataService::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Brush *brush = index.isValid() ? brushAt(index.row()) : nullptr;
    if (!brush)
        return false;
    switch (role) {
    case BrushRole::Name:
        brush->setName(value.toString());
        break;
    case BrushRole::Path:
        brush->setPath(value.toString());
        break;
    case BrushRole::Favorite:
        brush->setFavorite(value.toBool());
        break;
    case BrushRole::BrushType:
        brush->setBrushType(value.toInt());
        break;
    case BrushRole::Description:
        brush->setDescription(value.toString());
        database->setResourceDescription(brush->name(), brush->description(), DatabaseService::Brush);
        break;
    default:
        return false;
    }
    emitRowChanged(index.row());
    return true;
}

QHash<int, QByteArray> BrushDataService::roleNames() const
{
    return {
        {BrushRole::Brush, "brush"},
        {BrushRole::Name, "name"},
        {BrushRole::Path, "path"},
        {BrushRole::Favorite, "favorite"},
        {BrushRole::BrushType, "brushType"},
        {BrushRole::BrushTypeName, "brushTypeName"},
        {BrushRole::Categories, "categories"},
        {BrushRole::Description, "description"},
        {BrushRole::KivCategory, "kivCategory"},
        {BrushRole::Tags, "tags"},
        {BrushRole::IconPath, "iconPath"},
        {BrushRole::LastModified, "lastModified"},
        {BrushRole::LastModifiedDisplay, "lastModifiedDisplay"},
    };
}

// Properties and commands ----------------------------------------------------------------

QStringList BrushDataService::brushTypes() const
{
    return Brushes::brushTypeDisplayNames();
}

QList<QObject *> BrushDataService::kivCategoriesModel() const
{
    QList<QObject *> rows;
    rows.reserve(m_kivCategories.size());
    for (CategoryItem *item : m_kivCategories)
        rows.append(item);
    return rows;
}

void BrushDataService::setShowKIVCategory(bool show)
{
    m_showKIVCategory = show;
    emit showKIVCategoryChanged();
}

void BrushDataService::activateResource(const QString &name, const QString &path)
{
    if (hostBridge)
        hostBridge->activate(name, path, HostCommandKind::Brush, true);
}

void BrushDataService::resetAllBrushes()
{
    if (hostBridge)
        hostBridge->activate(QString(), QString(), HostCommandKind::ResetBrushes, true);
}

void BrushDataService::rescanBrush(int index)
{
    const int row = sourceRow(index);
    if (row < 0)
        return;
    items.at(row)->refresh();
    emitRowChanged(row);
}

void BrushDataService::setTypeFilter(const QString &brushType, bool enable)
{
    bool number = false;
    int type = brushType.toInt(&number);
    if (!number)
        type = 0;
    m_sorter->setTypeFilter(type, enable);
    if (enable)
        m_typeFilters.append(brushType);
    else
        m_typeFilters.removeAll(brushType);
}

bool BrushDataService::hasTypeFilter(const QString &type) const
{
    return m_typeFilters.contains(type);
}

void BrushDataService::setBrushType(int index, const QString &typeName)
{
    const int row = sourceRow(index);
    if (row < 0)
        return;
    setData(this->index(row, 0), Brushes::brushTypeValue(typeName), BrushRole::BrushType);
    const Brush *brush = brushAt(row);
    database->updateBrushType(brush->name(), brush->brushTypeName());
}

int BrushDataService::getBrushType(int index) const
{
    const int row = sourceRow(index);
    return row < 0 ? 0 : data(this->index(row, 0), BrushRole::BrushType).toInt();
}

void BrushDataService::filterByKIVCategory(const QString &category)
{
    m_sorter->setKivFilter(category, category == QLatin1String(allCategory));
}

// Set-up and the maker's categories --------------------------------------------------------

void BrushDataService::setup()
{
    ResourceDataService::setup();
    const QVariant show = database->readSetting(DatabaseService::ShowKIVCategory);
    if (!show.isNull()) {
        m_showKIVCategory = DatabaseService::settingToBool(show, true);
        emit showKIVCategoryChanged();
    }
    loadKivCategories();
    applyUpdateFiles();
    scanAll();
    loadTags();
    setLoaded(true);
}

CategoryItem *BrushDataService::appendKivCategory(const QString &name, const QString &group, bool groupHeader,
                                                  bool pinned, int brushCount)
{
    auto *item = new CategoryItem(name, group, groupHeader, pinned, brushCount, this);
    m_kivCategories.append(item);
    m_kivCategoryMap.insert(name, item);
    return item;
}

void BrushDataService::loadKivCategories()
{
    const QList<CategoryItem *> previous = m_kivCategories;
    m_kivCategories.clear();
    m_kivCategoryMap.clear();

    const QString defaultGroup = QString::fromLatin1(defaultKivCategory);
    appendKivCategory(defaultGroup, defaultGroup, true, true, 1);
    appendKivCategory(QString::fromLatin1(allCategory), defaultGroup, false, true, 1);
    QString group;
    const QVector<DatabaseService::KivCategory> stored = database->readKivCategories();
    for (const DatabaseService::KivCategory &category : stored) {
        if (category.first != group) {
            group = category.first;
            appendKivCategory(group, group, true, false, 0);
        }
        appendKivCategory(category.second, category.first, false, false, 0);
    }
    std::stable_sort(m_kivCategories.begin(), m_kivCategories.end(), kivCategoryBefore);
    emit kivCategoriesChanged();
    // Views may still hold the old rows until they have seen the new list.
    for (CategoryItem *item : previous)
        item->deleteLater();
}

void BrushDataService::countBrush(const QString &kivCategoryName)
{
    if (kivCategoryName.isEmpty())
        return;
    // "Default" and "All" always count 1; a brush filed under a group's own name counts once.
    CategoryItem *category = kivCategory(kivCategoryName);
    if (!category || category->pinned())
        return;
    category->setBrushCount(category->brushCount() + 1);
    CategoryItem *group = kivCategory(category->group());
    if (group && group != category && !group->pinned())
        group->setBrushCount(group->brushCount() + 1);
}

// Metadata documents -------------------------------------------------------------------

// Update files carry the version they bring in their name ("3_0_2.kiv.xml"); each one
// newer than the stored version is applied once. The stored version only ever grows,
// whatever order the files are listed in, and only with a file that was applied.
void BrushDataService::applyUpdateFiles()
{
    const QString folder = AppFolders::resourcesFolder() + QStringLiteral("updates");
    const QString stored = database->readSetting(DatabaseService::DatabaseVersion).toString();
    QString newest = stored;
    const QList<FolderWalk::File> files = FolderWalk::files(folder, {QString::fromLatin1(metadataPattern)});
    for (const FolderWalk::File &file : files) {
        const QString version = file.fileName().section(QLatin1Char('.'), 0, 0).replace(QLatin1Char('_'),
                                                                                       QLatin1Char('.'));
        if (!(stored < version))
            continue;
        // Every brush of an update counts as new; stored values survive (saveBrush).
        RecordMap none;
        // A file that could not be applied is tried again at the next start.
        if (applyMetadataFile(file.filePath(), none) && newest < version) {
            newest = version;
            database->writeDatabaseVersion(version);
        }
    }
}

QList<FolderWalk::File> BrushDataService::walkBrushFolder(const QString &folder, RecordMap &records)
{
    static const QString metadataEnding = QString::fromLatin1(metadataPattern).mid(1);
    QList<FolderWalk::File> metadata;
    QList<FolderWalk::File> brushes;
    FolderWalk::forEachFile(folder, {QString::fromLatin1(metadataPattern), QString::fromLatin1(brushPattern)},
                            [&](const FolderWalk::File &file) {
                                const bool isMetadata = file.filePath().endsWith(metadataEnding, Qt::CaseInsensitive);
                                (isMetadata ? metadata : brushes).append(file);
                            });
    for (const FolderWalk::File &file : qAsConst(metadata))
        applyMetadataFile(file.filePath(), records);
    return brushes;
}

bool BrushDataService::applyMetadataFile(const QString &path, RecordMap &records)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reportUnreadable(path, file.errorString());
        return false;
    }
    QDomDocument document;
    QString error;
    int line = 0;
    if (!XmlDocumentReader::read(file.readAll(), &document, &error, &line)) {
        qWarning().noquote() << "Skipping brush metadata file" << path << ": line" << line << error;
        return false;
    }
    applyMetadata(document, records);
    return true;
}

void BrushDataService::applyMetadataDocument(const QDomDocument &document)
{
    RecordMap records = database->readBrushes();
    applyMetadata(document, records);
}

std::function<void(const QDomDocument &)> BrushDataService::metadataAction()
{
    QPointer<BrushDataService> self(this);
    return [self](const QDomDocument &document) {
        if (self)
            self->applyMetadataDocument(document);
    };
}

void BrushDataService::applyMetadata(const QDomDocument &document, RecordMap &records)
{
    QHash<QString, int> rows;
    rows.reserve(items.size());
    for (int row = 0; row < items.size(); ++row)
        rows.insert(items.at(row)->name(), row);

    bool sawCategories = false;
    bool changedBrushes = false;
    // Comments between the elements are passed over rather than ending the document.
    for (QDomElement element = document.documentElement().firstChildElement(); !element.isNull();
         element = element.nextSiblingElement()) {
        const QString tag = element.tagName();
        if (tag == QLatin1String("KIV_Category")) {
            sawCategories = true;
            const QString name = element.attribute(QStringLiteral("name"));
            const QString group = element.attribute(QStringLiteral("group"));
            if (!kivCategory(group))
                appendKivCategory(group, group, true, false, 0);
            if (!kivCategory(name)) {
                appendKivCategory(name, group, false, false, 0);
                database->insertKivCategory(name, group);
            }
        } else if (tag == QLatin1String("Brush")) {
            changedBrushes |= applyBrushElement(element.attribute(QStringLiteral("name")),
                                                element.attribute(QStringLiteral("category")),
                                                element.attribute(QStringLiteral("kiv_category")),
                                                element.attribute(QStringLiteral("type")), records, rows);
        }
    }
    if (sawCategories)
        emit kivCategoriesChanged();
    if (changedBrushes)
        refreshAllRows();
}

bool BrushDataService::applyBrushElement(const QString &name, const QString &category, const QString &kivCategory,
                                         const QString &type, RecordMap &records, const QHash<QString, int> &rows)
{
    QSharedPointer<BrushInfo> record = records.value(name);
    if (record) {
        if (record->kivCategory == kivCategory && record->type == type)
            return false;
        // A brush stored without categories reads back as "All"; that is no category either.
        if (!hasUserCategories(*record) && !category.isEmpty())
            record->categories = QStringList{category};
        record->kivCategory = kivCategory;
        record->type = type;
        database->putBrush(*record);
    } else {
        record = QSharedPointer<BrushInfo>::create();
        record->valid = true;
        record->name = name;
        if (!category.isEmpty())
            record->categories.append(category);
        record->kivCategory = kivCategory;
        record->type = type;
        records.insert(name, record);
        database->saveBrush(*record);
    }

    Brush *brush = brushAt(rows.value(name, -1));
    if (!brush)
        return false;
    if (brush->categories().isEmpty() && !category.isEmpty())
        brush->addCategory(category);
    brush->setKivCategory(kivCategory);
    brush->setBrushType(Brushes::brushTypeValue(type));
    return true;
}

// Scanning -----------------------------------------------------------------------------------

void BrushDataService::scanAll()
{
    beginFullScan();
    for (CategoryItem *category : qAsConst(m_kivCategories)) {
        if (!category->pinned())
            category->setBrushCount(0);
    }
    emit kivCategoriesChanged();

    RecordMap records = database->readBrushes();
    // Every folder's metadata documents are applied before the first brush is made.
    QVector<QList<FolderWalk::File>> brushFiles;
    const QStringList folders = scanFolders(hostBrushFolders());
    for (const QString &folder : folders)
        brushFiles.append(walkBrushFolder(folder, records));
    for (const QList<FolderWalk::File> &files : qAsConst(brushFiles))
        addBrushFiles(files, records);
    endFullScan();
    refreshAllRows();
}

void BrushDataService::scanLocation(const QString &folder)
{
    RecordMap records = database->readBrushes();
    addBrushFiles(walkBrushFolder(folder, records), records);
}

void BrushDataService::scanForBrushes(const QString &path, const RecordMap &info)
{
    addBrushFiles(FolderWalk::files(path, {QString::fromLatin1(brushPattern)}), info);
}

void BrushDataService::addBrushFiles(const QList<FolderWalk::File> &files, const RecordMap &info)
{
    const QString scanDate = scanStamp();
    QList<QSharedPointer<BrushInfo>> collected;
    QVector<QSharedPointer<Resource>> made;
    for (const FolderWalk::File &file : files) {
        const QString name = file.completeBaseName();
        if (name.isEmpty() || !claimName(name))
            continue;
        if (auto record = createBrush(name, file.filePath(), file.lastModified(), info.value(name), scanDate, made))
            collected.append(record);
    }
    appendScanned(made);
    if (!collected.isEmpty())
        readCredits(collected);
}

QSharedPointer<BrushInfo> BrushDataService::createBrush(const QString &name, const QString &path,
                                                        const QDateTime &lastModified,
                                                        QSharedPointer<BrushInfo> record, const QString &scanDate,
                                                        QVector<QSharedPointer<Resource>> &made)
{
    const int row = items.size() + made.size();
    auto brush = QSharedPointer<Brush>::create(name, path);
    brush->setLastModified(lastModified);
    if (!record)
        record = QSharedPointer<BrushInfo>::create();
    if (record->valid) {
        brush->setAuthor(record->author);
        brush->setLink(record->link);
        brush->setKivCategory(record->kivCategory);
        brush->setBrushType(Brushes::brushTypeValue(record->type));
    }
    const bool store = mergeScannedRecord(*brush, *record, scanDate);
    made.append(brush);
    countBrush(brush->kivCategory());
    if (!store)
        return {};
    record->resource = brush.data();
    record->row = row;
    return record;
}

// The files are read on one task of the global pool; the records are not touched on
// the GUI thread until it has finished, and reach the database only then.
void BrushDataService::readCredits(const QList<QSharedPointer<BrushInfo>> &records)
{
    ++m_pendingReads;
    const QFuture<void> reading = QtConcurrent::run([records] {
        for (const QSharedPointer<BrushInfo> &record : records)
            readBrushFileCredits(*record);
    });
    whenFinished(reading, [this, records, objects = watchObjects(records)] {
        for (int i = 0; i < records.size(); ++i) {
            const BrushInfo *record = records.at(i).data();
            if (record->author.isEmpty() && record->link.isEmpty())
                continue;
            Brush *brush = brushAt(record->row);
            if (!objects.at(i) || brush != objects.at(i))
                continue;
            brush->setAuthor(record->author);
            brush->setLink(record->link);
            emitRowChanged(record->row);
        }
        database->saveBrushes(records);
        if (--m_pendingReads == 0)
            emit readsFinished();
    });
}

void BrushDataService::readBrushFileCredits(BrushInfo &record)
{
    QFile file(record.path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "Cannot read the credits of brush file" << record.path << ":" << file.errorString();
        return;
    }
    if (!file.seek(84))
        return;
    const QByteArray versionBytes = file.read(7);
    const int end = versionBytes.indexOf('\0');
    const QString version = QString::fromLatin1(end < 0 ? versionBytes : versionBytes.left(end)).toLower();

    if (!file.seek(168))
        return;
    const QByteArray baseBytes = file.read(4);
    if (baseBytes.size() != 4)
        return;
    const qint64 base = qFromLittleEndian<qint32>(baseBytes.constData());

    bool number = false;
    float shortNumber = version.left(3).toFloat(&number);
    if (!number)
        shortNumber = 0.0f;
    qint64 offset = 0;
    if (shortNumber > 4.0f && shortNumber <= 4.6f) {
        if (version.contains(QLatin1String("4.3")) || version.contains(QLatin1String("4.2")))
            return;
        offset = base + 202;
    } else if (shortNumber >= 4.7f) {
        float longNumber = version.left(4).toFloat(&number);
        if (!number)
            longNumber = 0.0f;
        if (longNumber >= 2021.0f)
            offset = base + 278;
        else if (longNumber >= 2018.0f)
            offset = base + 258;
        else
            offset = base + 254;
    } else {
        return;
    }
    if (offset < 0 || !file.seek(offset))
        return;
    record.author = readZeroTerminated(file);
    record.link = readZeroTerminated(file);
}
