#include "Model/databaseservice.h"
#include "rawconnection.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Settings, favourites, store info, and copying the whole library out and in.
class TestDatabaseStorage : public QObject
{
    Q_OBJECT

private slots:
    void settingsAreStoredAsText_data();
    void settingsAreStoredAsText();
    void settingTextToFlag_data();
    void settingTextToFlag();
    void favoriteResourceKeepsOneRow_data();
    void favoriteResourceKeepsOneRow();
    void favoriteSetsKeyedByName();
    void staleFavoriteSetRowsAreRemoved();
    void storeSetInfo();
    void exportReplacesTargetWithSnapshot();
    void exportToMissingFolderFails();
    void importReplacesDatabase();
    void failedImportKeepsDatabase_data();
    void failedImportKeepsDatabase();
    void importWaitsForWriters();

private:
    static QStringList leftovers(const QString &folder, const QStringList &expected);
};

QStringList TestDatabaseStorage::leftovers(const QString &folder, const QStringList &expected)
{
    QStringList names = QDir(folder).entryList(QDir::Files);
    for (const QString &name : expected)
        names.removeAll(name);
    return names;
}

void TestDatabaseStorage::settingsAreStoredAsText_data()
{
    QTest::addColumn<DatabaseService::SettingKey>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("stored");
    QTest::newRow("flag off") << DatabaseService::AutoUpdate << QVariant(false) << "false";
    QTest::newRow("flag on") << DatabaseService::ShowNews << QVariant(true) << "true";
    QTest::newRow("text") << DatabaseService::Theme << QVariant("Dark") << "Dark";
    QTest::newRow("number") << DatabaseService::HorizontalMiniMode << QVariant(1) << "1";
    QTest::newRow("lower-case row name") << DatabaseService::TokVal1 << QVariant("x9") << "x9";
}

void TestDatabaseStorage::settingsAreStoredAsText()
{
    QFETCH(DatabaseService::SettingKey, key);
    QFETCH(QVariant, value);
    QFETCH(QString, stored);
    QTemporaryDir dir;
    const QString path = copyTemplate(dir);
    DatabaseService db(path, QString(), true);
    QVERIFY(db.readSetting(key).isNull());
    db.writeSetting(key, value);
    db.writeSetting(key, value); // replaces, one row
    QCOMPARE(db.readSetting(key).toString(), stored);
    QCOMPARE(DatabaseService::settingToBool(db.readSetting(key), !value.toBool()), value.toBool());
    RawConnection raw(path);
    QCOMPARE(raw.rows("SELECT Value, typeof(Value) FROM Settings WHERE Name = ?",
                      {DatabaseService::settingName(key)}),
             (QVector<QVariantList>{{stored, "text"}}));
    // Other keys stay absent.
    QVERIFY(db.readSetting(DatabaseService::ZBrushPath).isNull());
}

void TestDatabaseStorage::settingTextToFlag_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("flag");
    QTest::newRow("false") << QVariant("false") << true << false;
    QTest::newRow("0") << QVariant("0") << true << false;
    QTest::newRow("empty") << QVariant("") << true << false;
    QTest::newRow("true") << QVariant("true") << false << true;
    QTest::newRow("other text") << QVariant("yes") << false << true;
    QTest::newRow("absent, default on") << QVariant() << true << true;
    QTest::newRow("absent, default off") << QVariant() << false << false;
}

void TestDatabaseStorage::settingTextToFlag()
{
    QFETCH(QVariant, value);
    QFETCH(bool, defaultValue);
    QFETCH(bool, flag);
    QCOMPARE(DatabaseService::settingToBool(value, defaultValue), flag);
}

void TestDatabaseStorage::favoriteResourceKeepsOneRow_data()
{
    QTest::addColumn<bool>("otherMembers");
    QTest::newRow("first member") << false;
    QTest::newRow("with other members") << true;
}

void TestDatabaseStorage::favoriteResourceKeepsOneRow()
{
    QFETCH(bool, otherMembers);
    QTemporaryDir dir;
    const QString path = copyTemplate(dir);
    DatabaseService db(path, QString(), true);
    if (otherMembers) {
        db.saveFavoriteResource("Clay", "brush", "Other", 0);
        db.saveFavoriteResource("Rock", "tool", "Work", 1);
    }
    db.saveFavoriteResource("Rock", "alpha", "Work", 3);
    db.saveFavoriteResource("Rock", "alpha", "Work", 5);
    RawConnection raw(path);
    QCOMPARE(raw.rows("SELECT Type, SetOrder FROM FavoriteResources WHERE Name='Rock' AND SetName='Work'"),
             (QVector<QVariantList>{{"alpha", 5}}));
    QCOMPARE(raw.value("SELECT COUNT(*) FROM FavoriteResources").toInt(), otherMembers ? 2 : 1);

    db.deleteFavoriteResource("Rock", "tool", "Work"); // another kind: nothing
    QCOMPARE(db.readFavoriteResources().size(), otherMembers ? 2 : 1);
    db.deleteFavoriteResource("Rock", "alpha", "Work");
    QCOMPARE(db.readFavoriteResources().size(), otherMembers ? 1 : 0);
    // Kind words the program does not know read back as brushes.
    db.saveFavoriteResource("Recorder", "macro", "Work", 0);
    QCOMPARE(std::get<1>(db.readFavoriteResources().constLast()), DatabaseService::Brush);
}

void TestDatabaseStorage::favoriteSetsKeyedByName()
{
    QTemporaryDir dir;
    const QString path = copyTemplate(dir);
    DatabaseService db(path, QString(), true);
    db.insertFavoriteSet("Work", "#ff000000", 2);
    db.insertFavoriteSet("Play", "transparent", 1);
    db.insertFavoriteSet("Work", "#ffffffff", 3);
    auto sets = db.readFavoriteSets();
    QCOMPARE(sets.size(), 2);
    QCOMPARE(sets.at(0).name, QStringLiteral("Play"));
    QCOMPARE(sets.at(1).name, QStringLiteral("Work"));
    QCOMPARE(sets.at(1).color, QStringLiteral("#ffffffff"));

    db.updateFavoriteSet("Play", "Fun", "#ff00ff00", 4, 9); // wrong current order: nothing
    db.updateFavoriteSet("Play", "Fun", "#ff00ff00", 4, 1);
    sets = db.readFavoriteSets();
    QCOMPARE(sets.size(), 2);
    QCOMPARE(sets.at(1).name, QStringLiteral("Fun"));
    QCOMPARE(sets.at(1).color, QStringLiteral("#ff00ff00"));

    db.saveFavoriteResource("Clay", "brush", "Work", 0);
    db.deleteFavoriteSet("Work");
    QCOMPARE(db.readFavoriteSets().size(), 1);
    // Members are the caller's to remove.
    QCOMPARE(db.readFavoriteResources().size(), 1);
}

void TestDatabaseStorage::staleFavoriteSetRowsAreRemoved()
{
    // Older databases had no key on FavoriteSets and could hold a set twice.
    QTemporaryDir dir;
    const QString path = dir.filePath("old.db");
    {
        RawConnection raw(path);
        raw.exec("CREATE TABLE FavoriteSets (SetOrder INTEGER, Name TEXT, Color TEXT, ReadOnly INTEGER)");
        raw.exec("INSERT INTO FavoriteSets VALUES (3, 'Work', 'red', 0)");
        raw.exec("INSERT INTO FavoriteSets VALUES (-1, 'Work', 'blue', 0)");
        raw.exec("INSERT INTO FavoriteSets VALUES (-1, 'Lonely', 'green', 0)");
        raw.exec("INSERT INTO FavoriteSets VALUES (1, 'Play', 'black', 0)");
    }
    DatabaseService db(path, QString(), true);
    const auto sets = db.readFavoriteSets();
    QStringList read;
    for (const auto &set : sets)
        read << set.name + "/" + set.color;
    read.sort();
    // This read still reports every row.
    QCOMPARE(read, QStringList({"Lonely/green", "Play/black", "Work/blue", "Work/red"}));
    RawConnection raw(path);
    QCOMPARE(raw.rows("SELECT Name, SetOrder FROM FavoriteSets ORDER BY Name, SetOrder"),
             (QVector<QVariantList>{{"Lonely", -1}, {"Play", 1}, {"Work", 3}}));
}

void TestDatabaseStorage::storeSetInfo()
{
    QTemporaryDir dir;
    DatabaseService db(copyTemplate(dir), QString(), true);
    QVERIFY(!db.hasStoreSetInfo("Pack"));
    db.writeStoreSetInfo("Pack", true);
    db.writeStoreSetInfo("Other", false);
    QVERIFY(db.hasStoreSetInfo("Pack"));
    QVERIFY(!db.hasStoreSetInfo("Other"));
    db.writeStoreSetInfo("Pack", false);
    QVERIFY(!db.hasStoreSetInfo("Pack"));
}

void TestDatabaseStorage::exportReplacesTargetWithSnapshot()
{
    QTemporaryDir dir;
    QTemporaryDir out;
    const QString target = out.filePath("export.db");
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older export");
    }
    DatabaseService db(copyTemplate(dir), QString(), true);
    db.writeSetting(DatabaseService::Theme, "Dark");
    db.insertFavoriteSet("Work", "red", 1);
    QString error;
    QVERIFY2(db.exportDatabaseFile(target, &error), qPrintable(error));
    QVERIFY(error.isEmpty());
    QCOMPARE(leftovers(out.path(), {"export.db"}), QStringList());
    {
        RawConnection exported(target);
        QCOMPARE(exported.value("SELECT Value FROM Settings WHERE Name='Theme'").toString(), QStringLiteral("Dark"));
        QCOMPARE(exported.value("SELECT Name FROM FavoriteSets").toString(), QStringLiteral("Work"));
    }
    // The connection stays usable.
    db.writeSetting(DatabaseService::Theme, "Light");
    QCOMPARE(db.readSetting(DatabaseService::Theme).toString(), QStringLiteral("Light"));
}

void TestDatabaseStorage::exportToMissingFolderFails()
{
    QTemporaryDir dir;
    DatabaseService db(copyTemplate(dir), QString(), true);
    QString error;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot export"));
    QVERIFY(!db.exportDatabaseFile(dir.filePath("no/such/folder/export.db"), &error));
    QVERIFY(!error.isEmpty());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot export"));
    QVERIFY(!db.exportDatabaseFile(db.path(), &error));
    QCOMPARE(leftovers(dir.path(), {"brushes.db"}), QStringList());
}

void TestDatabaseStorage::importReplacesDatabase()
{
    QTemporaryDir dir;
    QTemporaryDir other;
    const QString source = copyTemplate(other, "mine.db");
    {
        // A backup from an older version: legacy favourites, none of the program's tables.
        RawConnection raw(source);
        raw.exec("INSERT INTO Settings VALUES ('Theme', 'Imported'), ('DatabaseVersion', '2020.1')");
        raw.exec("INSERT INTO FavoriteSets (SetOrder, Name, Color) VALUES (1, 'Work', 'red')");
        raw.exec("CREATE TABLE FavoriteBrushes (BrushName TEXT, FavoriteSetName TEXT, SetOrder INTEGER)");
        raw.exec("INSERT INTO FavoriteBrushes VALUES ('Clay', 'Work', 0)");
    }
    const QString path = copyTemplate(dir);
    DatabaseService db(path, QString(), true);
    db.writeSetting(DatabaseService::Theme, "Current");
    QCOMPARE(db.databaseVersion(), QString());
    QSignalSpy imported(&db, &DatabaseService::onImportDb);
    QString error;
    QVERIFY2(db.importDatabaseFile(source, &error), qPrintable(error));
    QCOMPARE(imported.count(), 1);
    QCOMPARE(db.readSetting(DatabaseService::Theme).toString(), QStringLiteral("Imported"));
    QCOMPARE(db.databaseVersion(), QStringLiteral("2020.1"));
    QCOMPARE(db.readFavoriteResources(),
             QVector<DatabaseService::Favorite>({DatabaseService::Favorite("Clay", DatabaseService::Brush, "Work")}));
    {
        RawConnection raw(path);
        QVERIFY(raw.tables().contains("Projects"));
        QVERIFY(!raw.tables().contains("FavoriteBrushes"));
    }
    db.writeSetting(DatabaseService::ShowNews, false);
    QCOMPARE(db.readSetting(DatabaseService::ShowNews).toString(), QStringLiteral("false"));
    QCOMPARE(leftovers(dir.path(), {"brushes.db", "brushes.db.bak"}), QStringList());
    RawConnection backup(path + ".bak");
    QCOMPARE(backup.value("SELECT Value FROM Settings WHERE Name='Theme'").toString(), QStringLiteral("Current"));
}

void TestDatabaseStorage::failedImportKeepsDatabase_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::newRow("missing file") << QByteArray();
    QTest::newRow("text file") << QByteArray("Name,Value\nTheme,Dark\n");
    QTest::newRow("empty file") << QByteArray("");
    // The right header with a page that is not a b-tree page.
    QByteArray damaged;
    {
        QFile t(QStringLiteral(KIVARA_TEMPLATE_DB));
        if (t.open(QIODevice::ReadOnly))
            damaged = t.readAll();
    }
    if (damaged.size() >= 3 * 4096) {
        for (int i = 4096; i < 3 * 4096; ++i)
            damaged[i] = char(0xA5);
    }
    QTest::newRow("damaged database") << damaged;
}

void TestDatabaseStorage::failedImportKeepsDatabase()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QTemporaryDir other;
    const QString source = other.filePath("backup.db");
    if (!content.isNull()) {
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const QString path = copyTemplate(dir);
    DatabaseService db(path, QString(), true);
    db.writeSetting(DatabaseService::Theme, "Current");
    db.insertFavoriteSet("Work", "red", 1);
    QSignalSpy imported(&db, &DatabaseService::onImportDb);
    QString error;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot import"));
    QVERIFY(!db.importDatabaseFile(source, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(imported.count(), 0);
    QVERIFY(db.isOpen());
    QCOMPARE(db.readSetting(DatabaseService::Theme).toString(), QStringLiteral("Current"));
    QCOMPARE(db.readFavoriteSets().size(), 1);
    db.writeSetting(DatabaseService::Theme, "Still writable");
    QCOMPARE(db.readSetting(DatabaseService::Theme).toString(), QStringLiteral("Still writable"));
    QCOMPARE(leftovers(dir.path(), {"brushes.db"}), QStringList());
}

void TestDatabaseStorage::importWaitsForWriters()
{
    QTemporaryDir dir;
    QTemporaryDir other;
    const QString source = copyTemplate(other, "backup.db");
    const QString path = copyTemplate(dir);
    DatabaseService db(path, QString(), true);
    db.writeSetting(DatabaseService::Theme, "Current");
    RawConnection writer(path);
    QVERIFY(writer.exec("BEGIN IMMEDIATE"));
    QVERIFY(writer.exec("INSERT INTO Settings VALUES ('ShowNews', 'false')"));
    QSignalSpy imported(&db, &DatabaseService::onImportDb);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot import"));
    QVERIFY(!db.importDatabaseFile(source));
    QCOMPARE(imported.count(), 0);
    QVERIFY(writer.exec("COMMIT"));
    QCOMPARE(db.readSetting(DatabaseService::Theme).toString(), QStringLiteral("Current"));
    QCOMPARE(db.readSetting(DatabaseService::ShowNews).toString(), QStringLiteral("false"));
    // Once the writer is done the import goes through.
    QVERIFY(db.importDatabaseFile(source));
    QVERIFY(db.readSetting(DatabaseService::Theme).isNull());
}

QTEST_GUILESS_MAIN(TestDatabaseStorage)
#include "tst_databasestorage.moc"
