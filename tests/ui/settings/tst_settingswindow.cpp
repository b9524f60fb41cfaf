// The settings window and the ZBrush-interface panel driven as a person would; the
// file and folder dialogs are replaced by the functions that receive their choice.
#include "tests/ui/common/uifixture.h"

#include "Model/favoriteset.h"
#include "Model/resourcedataservice.h"
#include "Model/systemdataservice.h"
#include "appservices.h"

#include "tests/common/favoritenames.h"
#include "tests/common/modeltexts.h"
#include "tests/common/testfiles.h"
#include "tests/common/zbrushcommand.h"

#include <QDir>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QStorageInfo>
#include <QStringListModel>
#include <QtTest>

namespace {

// Typing into the focused field, one key at a time.
void typeText(QWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

constexpr int descriptionRole = 261;
constexpr int tagsRole = 262;
constexpr int categoriesRole = 260;

} // namespace

class SettingsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fifteenTabsWithMarkers();
    void themeWaitsForSyncOffAndIsKept();
    void locationsChangeTheCatalogue();
    void tagsAndCategoriesAreStored();
    void layoutRenameOnlyForUserLayouts();
    void libraryFolderMovesWithoutRestart();
    void libraryMoveFailureIsShown();
    void libraryMoveAcrossFileSystemsShowsProgress();
    void exportThenImportKeepsDescriptionsAndFavourites();
    void failedImportIsShown();
    void rescanShowsProgress();
    void zbrushInterfacePanel();
    // Accepting the restart ends the event loop for good: this one runs last.
    void zbrushPathAsksForRestart();

private:
    bool start();
    QQuickItem *item(const char *name) const { return m_fixture->findItem(QString::fromLatin1(name)); }
    QObject *popup(const char *name) const { return m_fixture->findObject(QString::fromLatin1(name)); }
    bool shown(const char *name) const { return popup(name) && popup(name)->property("visible").toBool(); }
    QQuickWindow *openSettings();
    QObject *showTab(int index);
    ResourceDataService *catalogue(const char *name) const
    {
        return qobject_cast<ResourceDataService *>(
            m_fixture->engine()->rootContext()->contextProperty(QString::fromLatin1(name)).value<QObject *>());
    }
    bool call(QObject *object, const char *method, const QVariant &argument) const
    {
        return QMetaObject::invokeMethod(object, method, Q_ARG(QVariant, argument));
    }
    bool clickRow(const char *list, int row) const;
    bool accept(const char *popup) const;
    bool editTo(const QString &text) const;

    std::unique_ptr<UiFixture> m_fixture;
};

void SettingsWindowTest::init()
{
    m_fixture.reset();
}

void SettingsWindowTest::cleanup()
{
    if (!m_fixture)
        return;
    const QString warnings = m_fixture->warningText();
    m_fixture.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}

bool SettingsWindowTest::start()
{
    if (!m_fixture)
        m_fixture = std::make_unique<UiFixture>();
    return m_fixture->isValid() && m_fixture->start() && m_fixture->waitForRendering(m_fixture->mainWindow());
}

QQuickWindow *SettingsWindowTest::openSettings()
{
    if (!m_fixture->click("optionsButton") || !m_fixture->click("settingsMenuItem"))
        return nullptr;
    auto *dialog = qobject_cast<QQuickWindow *>(m_fixture->findObject(QStringLiteral("settingsDialog")));
    if (!dialog || !m_fixture->waitForRendering(dialog))
        return nullptr;
    return dialog;
}

QObject *SettingsWindowTest::showTab(int index)
{
    if (!m_fixture->click(QStringLiteral("settingsTab_%1").arg(index)))
        return nullptr;
    QObject *page = m_fixture->findObject(QStringLiteral("settingsPage"));
    auto *window = qobject_cast<QQuickWindow *>(m_fixture->findObject(QStringLiteral("settingsDialog")));
    m_fixture->waitForRendering(window);
    return page ? page->property("item").value<QObject *>() : nullptr;
}

bool SettingsWindowTest::clickRow(const char *list, int row) const
{
    return m_fixture->click(QStringLiteral("%1_row%2").arg(QLatin1String(list)).arg(row));
}

bool SettingsWindowTest::accept(const char *popup) const
{
    if (!shown(popup))
        return false;
    return m_fixture->click(m_fixture->findItem(QStringLiteral("acceptButton"), this->popup(popup)));
}

bool SettingsWindowTest::editTo(const QString &text) const
{
    QQuickItem *field = item("nameField");
    if (!field || !field->isVisible())
        return false;
    field->setProperty("text", text);
    return accept("editPopup");
}

void SettingsWindowTest::fifteenTabsWithMarkers()
{
    m_fixture = std::make_unique<UiFixture>();
    m_fixture->storeSetting(DatabaseService::ZbrushColorSync, false);
    QVERIFY(start());
    QQuickWindow *dialog = openSettings();
    QVERIFY(dialog);
    QCOMPARE(dialog->title(), QStringLiteral("Settings"));
    QCOMPARE(dialog->size(), QSize(800, 600));
    QCOMPARE(dialog->modality(), Qt::ApplicationModal);
    const QStringList titles{"General", "Brushes", "Alphas", "Textures", "Materials", "Lights", "Projects",
                             "Tools", "Fibers", "Grids", "Array Mesh", "Spotlights", "Render Presets",
                             "ZBrush UI", "Library"};
    for (int i = 0; i < titles.size(); ++i) {
        QQuickItem *tab = item(qPrintable(QStringLiteral("settingsTab_%1").arg(i)));
        QVERIFY(tab);
        QCOMPARE(tab->property("text").toString(), titles.at(i));
        QCOMPARE(tab->width(), 150.0);
    }
    QVERIFY(!item("settingsTab_15"));
    // One page at a time, made when shown.
    QObject *page = showTab(4);
    QVERIFY(page);
    QCOMPARE(page->property("service").value<QObject *>(), catalogue("materialData"));
    QVERIFY(item("locationsList"));
    QVERIFY(showTab(14));
    QVERIFY(item("libraryPathField"));
    QVERIFY(!item("locationsList"));

    // The arrow marker is drawn into an image and follows the theme when told.
    QQuickItem *marker = m_fixture->findItem(QStringLiteral("tabMarker"), item("settingsTab_14"));
    QVERIFY(marker);
    QTRY_COMPARE(marker->property("paintedColor").value<QColor>(), QColor(QStringLiteral("#FF2c2c2c")));
    QVERIFY(QMetaObject::invokeMethod(m_fixture->mainWindow(), "chooseTheme", Q_ARG(QVariant, QStringLiteral("Lagoon"))));
    QTRY_COMPARE(marker->property("paintedColor").value<QColor>(), QColor(QStringLiteral("#FF284572")));
    QImage shot = m_fixture->grab(dialog);
    const QPointF centre = marker->mapToScene(QPointF(marker->width() / 2, marker->height() / 2));
    // The arrow's middle is black, its top corner the tab's colour.
    QCOMPARE(QColor(shot.pixel(centre.toPoint())), QColor(Qt::black));
    const QPointF corner = marker->mapToScene(QPointF(1, 1));
    QCOMPARE(QColor(shot.pixel(corner.toPoint())), QColor(QStringLiteral("#FF284572")));
}

void SettingsWindowTest::themeWaitsForSyncOffAndIsKept()
{
    QVERIFY(start());
    QVERIFY(m_fixture->system()->zbrushUiColorSync());
    QVERIFY(openSettings());
    QQuickItem *combo = item("themeCombo");
    QVERIFY(combo);
    QVERIFY(!combo->isEnabled());
    QVERIFY(m_fixture->click("colorSyncOption"));
    QVERIFY(!m_fixture->system()->zbrushUiColorSync());
    QVERIFY(combo->isEnabled());

    // Open the list and click "Lagoon".
    QVERIFY(m_fixture->click(combo));
    QObject *popup = combo->property("popup").value<QObject *>();
    QTRY_VERIFY(popup->property("opened").toBool());
    auto *list = popup->property("contentItem").value<QQuickItem *>();
    QQuickItem *row = nullptr;
    QTRY_VERIFY(QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, row), Q_ARG(int, 5)) && row);
    QVERIFY(m_fixture->click(row));
    QCOMPARE(m_fixture->system()->theme(), QStringLiteral("Lagoon"));
    QCOMPARE(m_fixture->storedSetting(DatabaseService::Theme).toString(), QStringLiteral("Lagoon"));
    QCOMPARE(m_fixture->mainWindow()->color(), QColor(QStringLiteral("#FF284572")));

    // Sync back on: the choice stays, but the combo is locked again.
    QVERIFY(m_fixture->click("colorSyncOption"));
    QVERIFY(m_fixture->system()->zbrushUiColorSync());
    QVERIFY(!combo->isEnabled());
    QVERIFY(m_fixture->click("colorSyncOption"));

    QVERIFY(m_fixture->restart());
    QCOMPARE(m_fixture->mainWindow()->color(), QColor(QStringLiteral("#FF284572")));
    QVERIFY(openSettings());
    QCOMPARE(item("themeCombo")->property("currentIndex").toInt(), 5);
    QCOMPARE(item("themeCombo")->property("displayText").toString(), QStringLiteral("Lagoon"));
}

void SettingsWindowTest::locationsChangeTheCatalogue()
{
    m_fixture = std::make_unique<UiFixture>();
    const QString extra = m_fixture->path(QStringLiteral("My Materials"));
    QVERIFY(TestFiles::write(extra + QStringLiteral("/Chrome.zmt"), QByteArray(300, 'm')));
    QVERIFY(start());
    ResourceDataService *materials = catalogue("materialData");
    QTRY_COMPARE(materials->model()->rowCount(), 2);
    QVERIFY(openSettings());
    QObject *tab = showTab(4);
    QVERIFY(tab);

    // The add button opens the folder dialog; what it chooses arrives in addLocation.
    QVERIFY(m_fixture->click("addLocationButton"));
    QObject *chooser = popup("locationChooser");
    QVERIFY(chooser->property("isOpen").toBool());
    auto *dialog = chooser->property("dialog").value<QObject *>();
    QCOMPARE(dialog->property("title").toString(), QStringLiteral("Please select folder"));
    QVERIFY(dialog->property("selectFolder").toBool());
    QVERIFY(QMetaObject::invokeMethod(dialog, "reject"));
    QTRY_VERIFY(!chooser->property("isOpen").toBool());
    QVERIFY(call(tab, "addLocation", QUrl::fromLocalFile(extra)));
    QCOMPARE(materials->model()->rowCount(), 3);
    QVERIFY(modelTexts(materials->model(), 257).contains(QStringLiteral("Chrome")));
    QTRY_VERIFY(item("locationsList_row0"));
    QCOMPARE(item("locationsList_row0")->property("text").toString(), QDir::toNativeSeparators(extra));

    QVERIFY(!item("removeLocationButton")->isEnabled());
    QVERIFY(clickRow("locationsList", 0));
    QVERIFY(item("removeLocationButton")->isEnabled());
    QVERIFY(m_fixture->click("removeLocationButton"));
    // Cancelling keeps it.
    QTRY_VERIFY(shown("confirmPopup"));
    QVERIFY(m_fixture->click(m_fixture->findItem(QStringLiteral("cancelButton"), popup("confirmPopup"))));
    QCOMPARE(materials->resourceLocations()->rowCount(), 1);
    QVERIFY(m_fixture->click("removeLocationButton"));
    QVERIFY(accept("confirmPopup"));
    QCOMPARE(materials->resourceLocations()->rowCount(), 0);
    QCOMPARE(materials->model()->rowCount(), 2);
    QVERIFY(!item("removeLocationButton")->isEnabled());
    QVERIFY(m_fixture->services()->database()->readFolders(DatabaseService::Material).isEmpty());
}

void SettingsWindowTest::tagsAndCategoriesAreStored()
{
    QVERIFY(start());
    ResourceDataService *materials = catalogue("materialData");
    QTRY_COMPARE(materials->model()->rowCount(), 2);
    for (int row = 0; row < 2; ++row)
        materials->addTagToResource(row, QStringLiteral("shiny"));
    materials->addTag(QStringLiteral("shiny"));
    QVERIFY(openSettings());
    QVERIFY(showTab(4));

    QVERIFY(clickRow("tagsList", 0));
    QVERIFY(m_fixture->click("editTagButton"));
    QCOMPARE(popup("editPopup")->property("title").toString(), QStringLiteral("Edit Tag"));
    QCOMPARE(item("nameField")->property("text").toString(), QStringLiteral("shiny"));
    QVERIFY(editTo(QStringLiteral("glossy")));
    QCOMPARE(materials->tags()->stringList(), QStringList{"glossy"});

    // A category typed in, renamed, given to a resource, then deleted.
    QVERIFY(m_fixture->click("newCategoryField"));
    typeText(item("newCategoryField")->window(), QStringLiteral("Metal"));
    QTest::keyClick(item("newCategoryField")->window(), Qt::Key_Return);
    QCOMPARE(item("newCategoryField")->property("text").toString(), QString());
    QCOMPARE(m_fixture->services()->database()->readCategories(DatabaseService::Material), QStringList{"Metal"});
    QVERIFY(clickRow("categoriesList", 0));
    QVERIFY(m_fixture->click("editCategoryButton"));
    QCOMPARE(popup("editPopup")->property("title").toString(), QStringLiteral("Edit Category"));
    QVERIFY(editTo(QStringLiteral("Metals")));
    QCOMPARE(m_fixture->services()->database()->readCategories(DatabaseService::Material), QStringList{"Metals"});
    materials->addCategoryToResource(0, QStringLiteral("Metals"));

    m_fixture->stop();
    QVERIFY(start());
    materials = catalogue("materialData");
    QTRY_COMPARE(materials->model()->rowCount(), 2);
    QCOMPARE(materials->model()->index(0, 0).data(tagsRole).toStringList(), QStringList{"glossy"});
    QCOMPARE(materials->model()->index(0, 0).data(categoriesRole).toStringList(), QStringList{"Metals"});

    QVERIFY(openSettings());
    QVERIFY(showTab(4));
    QVERIFY(clickRow("categoriesList", 0));
    QVERIFY(m_fixture->click("removeCategoryButton"));
    QVERIFY(accept("confirmPopup"));
    QVERIFY(clickRow("tagsList", 0));
    QVERIFY(m_fixture->click("removeTagButton"));
    QVERIFY(accept("confirmPopup"));
    QVERIFY(!item("categoriesList_row0"));
    QVERIFY(m_fixture->services()->database()->readCategories(DatabaseService::Material).isEmpty());

    m_fixture->stop();
    QVERIFY(start());
    materials = catalogue("materialData");
    QTRY_COMPARE(materials->model()->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        QCOMPARE(materials->model()->index(row, 0).data(tagsRole).toStringList(), QStringList());
        QCOMPARE(materials->model()->index(row, 0).data(categoriesRole).toStringList(), QStringList());
    }
}

void SettingsWindowTest::layoutRenameOnlyForUserLayouts()
{
    m_fixture = std::make_unique<UiFixture>();
    const QString layouts = m_fixture->zbrushFolder() + QStringLiteral("/ZStartup/UserInterfaceLayouts/");
    QVERIFY(TestFiles::write(layouts + QStringLiteral("Default.cfg"), "standard"));
    QVERIFY(TestFiles::write(layouts + QStringLiteral("Mine.cfg"), "mine"));
    QVERIFY(start());
    QVERIFY(openSettings());
    QVERIFY(showTab(13));
    QCOMPARE(item("layoutsList_row0")->property("text").toString(), QStringLiteral("Default"));
    QCOMPARE(item("layoutsList_row1")->property("text").toString(), QStringLiteral("Mine"));
    QVERIFY(!item("renameLayoutButton")->isEnabled());
    QVERIFY(clickRow("layoutsList", 0));
    QVERIFY(!item("renameLayoutButton")->isEnabled());
    QVERIFY(clickRow("layoutsList", 1));
    QVERIFY(item("renameLayoutButton")->isEnabled());
    QVERIFY(m_fixture->click("renameLayoutButton"));
    QCOMPARE(popup("editPopup")->property("title").toString(), QStringLiteral("Rename Layout"));
    QCOMPARE(item("nameField")->property("text").toString(), QStringLiteral("Mine"));
    QVERIFY(editTo(QStringLiteral("Sculpting")));
    QVERIFY(!QFileInfo::exists(layouts + QStringLiteral("Mine.cfg")));
    QCOMPARE(TestFiles::read(layouts + QStringLiteral("Sculpting.cfg")), QByteArray("mine"));
    QCOMPARE(item("layoutsList_row1")->property("text").toString(), QStringLiteral("Sculpting"));
    QVERIFY(QFileInfo::exists(layouts + QStringLiteral("Default.cfg")));
}

void SettingsWindowTest::zbrushPathAsksForRestart()
{
    QVERIFY(start());
    QVERIFY(openSettings());
    QObject *tab = showTab(0);
    const QString other = m_fixture->path(QStringLiteral("ZBrush 2024"));
    QVERIFY(QDir().mkpath(other + QStringLiteral("/ZStartup")));
    QVERIFY(call(tab, "chooseZBrushFolder", QUrl::fromLocalFile(other)));
    QCOMPARE(m_fixture->system()->zbrushPath(), QDir::toNativeSeparators(other));
    QCOMPARE(item("zbrushPathField")->property("text").toString(), QDir::toNativeSeparators(other));
    QObject *restart = popup("restartDialog");
    QTRY_VERIFY(shown("restartDialog"));
    QCOMPARE(m_fixture->findItem(QStringLiteral("messageText"), restart)->property("text").toString(),
             QStringLiteral("Kivara must restart for your changes to take affect."));
    QVERIFY(!m_fixture->findItem(QStringLiteral("cancelButton"), restart)->isVisible());
    QVERIFY(!m_fixture->system()->restartRequested());
    QVERIFY(accept("restartDialog"));
    QVERIFY(m_fixture->system()->restartRequested());
}

void SettingsWindowTest::libraryFolderMovesWithoutRestart()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    const QString library = system->libraryFolder();
    QVERIFY(TestFiles::write(library + QStringLiteral("/Store/pack.txt"), "pack"));
    QVERIFY(openSettings());
    QObject *tab = showTab(14);
    QCOMPARE(item("libraryPathField")->property("text").toString(), system->libraryPath());

    const QString chosen = m_fixture->path(QStringLiteral("Library Elsewhere"));
    QVERIFY(QDir().mkpath(chosen));
    QVERIFY(call(tab, "chooseFolder", QUrl::fromLocalFile(chosen)));
    QCOMPARE(TestFiles::read(chosen + QStringLiteral("/KIVSource/Store/pack.txt")), QByteArray("pack"));
    QVERIFY(!QFileInfo::exists(library));
    QCOMPARE(item("libraryPathField")->property("text").toString(), QDir::toNativeSeparators(chosen));
    QTest::qWait(200);
    QVERIFY(!shown("restartDialog"));
    QVERIFY(!shown("failurePopup"));
    QVERIFY(!shown("busyPopup"));
}

void SettingsWindowTest::libraryMoveFailureIsShown()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    const QString library = system->libraryFolder();
    QVERIFY(openSettings());
    QObject *tab = showTab(14);
    // A folder inside the library itself is refused and nothing moves.
    const QString inside = library + QStringLiteral("/Sub");
    QVERIFY(QDir().mkpath(inside));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Move library failed")));
    QVERIFY(call(tab, "chooseFolder", QUrl::fromLocalFile(inside)));
    QObject *failure = popup("failurePopup");
    QTRY_VERIFY(shown("failurePopup"));
    QVERIFY(m_fixture->findItem(QStringLiteral("messageText"), failure)->property("text").toString()
                .contains(QStringLiteral("lies inside the library")));
    QVERIFY(QFileInfo(library).isDir());
    QCOMPARE(system->libraryFolder(), library);
    QVERIFY(accept("failurePopup"));
}

void SettingsWindowTest::libraryMoveAcrossFileSystemsShowsProgress()
{
    const QStorageInfo here(QDir::tempPath());
    const QStorageInfo shm(QStringLiteral("/dev/shm"));
    if (!shm.isValid() || shm.rootPath() == here.rootPath() || !QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        QSKIP("no writable folder on another file system");
    QTemporaryDir target(QStringLiteral("/dev/shm/kivara-settings-XXXXXX"));
    QVERIFY(target.isValid());
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    const QString library = system->libraryFolder();
    // Enough to take a moment to copy and check.
    for (int i = 0; i < 40; ++i)
        QVERIFY(TestFiles::write(library + QStringLiteral("/Store/file%1.bin").arg(i), QByteArray(1 << 20, char(i))));
    QVERIFY(openSettings());
    QObject *tab = showTab(14);
    QSignalSpy finished(system, &SystemDataService::libraryMoveFinished);
    QVERIFY(call(tab, "chooseFolder", QUrl::fromLocalFile(target.path())));
    QVERIFY(system->isMovingLibrary());
    QObject *busy = popup("busyPopup");
    QTRY_VERIFY(shown("busyPopup"));
    QCOMPARE(m_fixture->findItem(QStringLiteral("busyText"), busy)->property("text").toString(),
             QStringLiteral("Moving the library…"));
    QVERIFY(!item("libraryFolderButton")->isEnabled());
    // The window cannot be closed under the running move.
    auto *dialog = qobject_cast<QQuickWindow *>(m_fixture->findObject(QStringLiteral("settingsDialog")));
    dialog->close();
    QVERIFY(dialog->isVisible());
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().toBool(), true);
    QTRY_VERIFY(!shown("busyPopup"));
    QVERIFY(!shown("failurePopup"));
    QCOMPARE(QFileInfo(target.path() + QStringLiteral("/KIVSource/Store")).isDir(), true);
    dialog->close();
    QVERIFY(!dialog->isVisible());
}

void SettingsWindowTest::exportThenImportKeepsDescriptionsAndFavourites()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    ResourceDataService *materials = catalogue("materialData");
    ResourceDataService *brushes = catalogue("brushData");
    QTRY_COMPARE(materials->model()->rowCount(), 2);
    QTRY_COMPARE(brushes->model()->rowCount(), 3);
    system->addFavoriteSet(QStringLiteral("Sculpting"), true, false, QStringLiteral("#ff00ff00"));
    FavoriteSet *set = setNamed(*system, QStringLiteral("Sculpting"));
    const QStringList materialNames = modelTexts(materials->model(), 257);
    for (int row = 0; row < 2; ++row) {
        QVERIFY(materials->model()->setData(materials->model()->index(row, 0),
                                            QStringLiteral("described %1").arg(materialNames.at(row)), descriptionRole));
    }
    materials->addItemToFavorites(1, set);
    brushes->addItemToFavorites(2, set);
    const QStringList favourites = memberNames(set);
    QCOMPARE(favourites.size(), 2);

    QVERIFY(openSettings());
    QObject *tab = showTab(0);
    const QString exported = m_fixture->path(QStringLiteral("exports/my library.db"));
    QVERIFY(QDir().mkpath(QFileInfo(exported).path()));
    QSignalSpy exportedSpy(system, &SystemDataService::databaseExported);
    QVERIFY(call(tab, "exportTo", QUrl::fromLocalFile(exported)));
    QTRY_VERIFY(shown("busyPopup"));
    QVERIFY(exportedSpy.wait(10000));
    QTRY_VERIFY(!shown("busyPopup"));
    QVERIFY(QFileInfo(exported).isFile());
    QVERIFY(!shown("failurePopup"));

    // Everything changes after the export.
    for (int row = 0; row < 2; ++row)
        QVERIFY(materials->model()->setData(materials->model()->index(row, 0), QStringLiteral("changed"), descriptionRole));
    system->removeFavoriteSet(set);

    QSignalSpy importedSpy(system, &SystemDataService::databaseImported);
    QVERIFY(call(tab, "importFrom", QUrl::fromLocalFile(exported)));
    QVERIFY(importedSpy.wait(10000));
    QCOMPARE(importedSpy.first().first().toBool(), true);
    QTRY_VERIFY(shown("restartDialog"));

    QVERIFY(m_fixture->restart());
    materials = catalogue("materialData");
    QTRY_COMPARE(materials->model()->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        const QModelIndex index = materials->model()->index(row, 0);
        QCOMPARE(index.data(descriptionRole).toString(), QStringLiteral("described ") + index.data(257).toString());
    }
    QCOMPARE(setNames(*m_fixture->system()), (QStringList{"Default", "Sculpting"}));
    QCOMPARE(memberNames(setNamed(*m_fixture->system(), QStringLiteral("Sculpting"))), favourites);
}

void SettingsWindowTest::failedImportIsShown()
{
    QVERIFY(start());
    const QString notALibrary = m_fixture->path(QStringLiteral("notes.db"));
    QVERIFY(TestFiles::write(notALibrary, "just some text, no database"));
    QVERIFY(openSettings());
    QObject *tab = showTab(0);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot import the library")));
    QVERIFY(call(tab, "importFrom", QUrl::fromLocalFile(notALibrary)));
    QObject *failure = popup("failurePopup");
    QTRY_VERIFY(shown("failurePopup"));
    QCOMPARE(failure->property("title").toString(), QStringLiteral("Import Failed"));
    QVERIFY(!shown("restartDialog"));
    QVERIFY(!shown("busyPopup"));
}

void SettingsWindowTest::rescanShowsProgress()
{
    QVERIFY(start());
    SystemDataService *system = m_fixture->system();
    ResourceDataService *materials = catalogue("materialData");
    QTRY_COMPARE(materials->model()->rowCount(), 2);
    QVERIFY(TestFiles::write(m_fixture->zbrushFolder() + QStringLiteral("/ZMaterials/Wax.zmt"), QByteArray(300, 'w')));
    QVERIFY(openSettings());
    QVERIFY(showTab(0));
    QSignalSpy finished(system, &SystemDataService::rescanFinished);
    QVERIFY(m_fixture->click("rescanButton"));
    QVERIFY(system->isRescanning());
    QObject *busy = popup("busyPopup");
    QVERIFY(shown("busyPopup"));
    QCOMPARE(m_fixture->findItem(QStringLiteral("busyText"), busy)->property("text").toString(),
             QStringLiteral("Rescanning local files…"));
    QVERIFY(m_fixture->findItem(QStringLiteral("busyProgress"), busy)->isVisible());
    QVERIFY(finished.wait(30000));
    QTRY_VERIFY(!shown("busyPopup"));
    QCOMPARE(materials->model()->rowCount(), 3);
}

void SettingsWindowTest::zbrushInterfacePanel()
{
    m_fixture = std::make_unique<UiFixture>();
    const QString startup = m_fixture->zbrushFolder() + QStringLiteral("/ZStartup/");
    QVERIFY(TestFiles::write(startup + QStringLiteral("UserInterfaceColors/Dusk.cfg"), "c"));
    QVERIFY(TestFiles::write(startup + QStringLiteral("UserInterfaceColors/Dawn.cfg"), "c"));
    QVERIFY(TestFiles::write(startup + QStringLiteral("UserInterfaceLayouts/Mine.cfg"), "l"));
    QVERIFY(TestFiles::write(startup + QStringLiteral("Macros/Misc/Smooth.zsc"), "m"));
    QVERIFY(TestFiles::write(startup + QStringLiteral("Macros/Bake.zsc"), "m"));
    QVERIFY(start());
    const QString commandFile = m_fixture->dataFolder() + QStringLiteral("ZPluginData/KIVData/kiv.zvr");

    QCOMPARE(item("uiColorCombo")->property("displayText").toString(), QStringLiteral("Dawn"));
    QCOMPARE(item("uiLayoutCombo")->property("displayText").toString(), QStringLiteral("Mine"));
    QCOMPARE(item("macroList_row0")->property("text").toString(), QStringLiteral("Bake"));
    QCOMPARE(item("macroList_row1")->property("text").toString(), QStringLiteral("Misc:Smooth"));
    // A click selects, a double-click runs the macro in ZBrush.
    QVERIFY(clickRow("macroList", 1));
    QVERIFY(!QFileInfo::exists(commandFile));
    QVERIFY(m_fixture->doubleClick(item("macroList_row1")));
    QCOMPARE(TestFiles::read(commandFile),
             zbrushCommand(18.0f, "Macro:Macros:Misc:Smooth", QFile::encodeName(startup + QStringLiteral("Macros/Misc/Smooth.zsc"))));

    QQuickItem *combo = item("uiColorCombo");
    QVERIFY(m_fixture->click(combo));
    auto *list = combo->property("popup").value<QObject *>()->property("contentItem").value<QQuickItem *>();
    QQuickItem *row = nullptr;
    QTRY_VERIFY(QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, row), Q_ARG(int, 1)) && row);
    QVERIFY(m_fixture->click(row));
    QCOMPARE(TestFiles::read(commandFile),
             zbrushCommand(19.0f, "File:Dusk", QFile::encodeName(startup + QStringLiteral("UserInterfaceColors/Dusk.cfg"))));
}

QTEST_MAIN(SettingsWindowTest)
#include "tst_settingswindow.moc"
