// ZBrush's UI layouts, UI colours, macros and plug-ins as the system service lists
// and activates them.
#include "systemfixture.h"
#include "tests/common/testfiles.h"
#include "tests/common/zbrushcommand.h"

#include "Model/uicolorrequest.h"
#include "Model/uilayout.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStringListModel>
#include <QtTest>

namespace {

QStringList names(const QList<QObject *> &entries)
{
    QStringList found;
    for (const QObject *entry : entries)
        found << qobject_cast<const UILayout *>(entry)->name();
    return found;
}

QStringList readOnlyNames(const QList<QObject *> &entries)
{
    QStringList found;
    for (const QObject *entry : entries) {
        if (qobject_cast<const UILayout *>(entry)->readOnly())
            found << qobject_cast<const UILayout *>(entry)->name();
    }
    return found;
}

QString url(const QString &path)
{
    return QUrl::fromLocalFile(path).toString();
}

} // namespace

class TestUiLayouts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void layoutsAtSetup();
    void layoutLocations();
    void rename_data();
    void rename();
    void macros();
    void colourLocationsKeptForTheRun();
    void plugins();
    void activationOutsideListIgnored();
    void colourSchemeActivation_data();
    void colourSchemeActivation();
    void colourSyncAsksZBrush();

private:
    QString startup(const QString &relative) const
    {
        return m_fixture->zbrushFolder() + QStringLiteral("/ZStartup/") + relative;
    }
    QString colorsFile() const
    {
        return m_fixture->dataFolder() + QStringLiteral("ZPluginData/KIVData/kiv_uicolors.zvr");
    }

    std::unique_ptr<SystemFixture> m_fixture;
};

void TestUiLayouts::init()
{
    m_fixture = std::make_unique<SystemFixture>();
    QVERIFY(m_fixture->isValid());
    m_fixture->storeSetting(DatabaseService::ZBrushPath, m_fixture->zbrushFolder());
    m_fixture->installCurrentPlugin();
    for (const QString &file : {QStringLiteral("UserInterfaceLayouts/DEFAULT.CFG"),
                                QStringLiteral("UserInterfaceLayouts/Minimal.cfg"),
                                QStringLiteral("UserInterfaceLayouts/Mine.cfg"),
                                QStringLiteral("UserInterfaceLayouts/Sub/Nested.cfg"),
                                QStringLiteral("UserInterfaceLayouts/Sub/Sculpt01.cfg"),
                                QStringLiteral("UserInterfaceLayouts/notes.txt"),
                                QStringLiteral("UserInterfaceColors/Dark.cfg"),
                                QStringLiteral("UserInterfaceColors/Light.cfg"),
                                QStringLiteral("Macros/Top.zsc"), QStringLiteral("Macros/Misc/Smooth.zsc"),
                                QStringLiteral("Macros/Misc/Deep/Inner.zsc"), QStringLiteral("Macros/Misc/readme.txt"),
                                QStringLiteral("ZPlugs64/Other.zsc")}) {
        QVERIFY(TestFiles::write(startup(file), file.toUtf8()));
    }
    m_fixture->start();
    QVERIFY(m_fixture->system->setupOk());
}

void TestUiLayouts::cleanup()
{
    m_fixture.reset();
}

void TestUiLayouts::layoutsAtSetup()
{
    const SystemDataService &system = *m_fixture->system;
    // Sorted by name, code unit by code unit; sub-folders add nothing to the name.
    QCOMPARE(names(system.uiLayouts()), (QStringList{"DEFAULT", "Mine", "Minimal", "Nested", "Sculpt01"}));
    // Standard names in ZBrush's own folder, in any case and at any depth.
    QCOMPARE(readOnlyNames(system.uiLayouts()), (QStringList{"DEFAULT", "Minimal", "Sculpt01"}));
    const auto *nested = qobject_cast<UILayout *>(system.uiLayouts().at(3));
    QCOMPARE(nested->path(), startup(QStringLiteral("UserInterfaceLayouts/Sub/Nested.cfg")));
    QCOMPARE(names(system.uiColors()), (QStringList{"Dark", "Light"}));
    QCOMPARE(system.uiLayoutLocations()->rowCount(), 0);
}

void TestUiLayouts::layoutLocations()
{
    SystemDataService &system = *m_fixture->system;
    const QString mine = m_fixture->path(QStringLiteral("MyLayouts"));
    QVERIFY(TestFiles::write(mine + QStringLiteral("/Default.cfg"), "mine"));
    QVERIFY(TestFiles::write(mine + QStringLiteral("/Alpha.cfg"), "mine"));
    const QString missing = m_fixture->path(QStringLiteral("Unplugged"));

    QSignalSpy entries(&system, &SystemDataService::uiLayoutsChanged);
    QSignalSpy locations(&system, &SystemDataService::uiLayoutLocationsChanged);
    system.addUILayoutLocation(url(mine));
    QCOMPARE(entries.count(), 1);
    QCOMPARE(locations.count(), 1);
    // Appended unsorted, none read-only even with a standard name.
    QStringList listed = names(system.uiLayouts());
    QCOMPARE(listed.mid(0, 5), (QStringList{"DEFAULT", "Mine", "Minimal", "Nested", "Sculpt01"}));
    QStringList added = listed.mid(5);
    added.sort();
    QCOMPARE(added, (QStringList{"Alpha", "Default"}));
    QCOMPARE(readOnlyNames(system.uiLayouts()), (QStringList{"DEFAULT", "Minimal", "Sculpt01"}));

    // Already listed: nothing. A missing folder: a row and a stored location, no entries.
    system.addUILayoutLocation(url(mine));
    QCOMPARE(locations.count(), 1);
    system.addUILayoutLocation(url(missing));
    system.addUILayoutLocation(QStringLiteral("https://example.org/layouts"));
    QCOMPARE(locations.count(), 2);
    QCOMPARE(entries.count(), 1);
    QCOMPARE(system.uiLayoutLocations()->stringList(), (QStringList{mine, missing}));
    QCOMPARE(m_fixture->database->readFolders(DatabaseService::UILayout), (QStringList{mine, missing}));

    // The next full rescan sorts them in.
    m_fixture->restart();
    const SystemDataService &restarted = *m_fixture->system;
    QCOMPARE(names(restarted.uiLayouts()),
             (QStringList{"Alpha", "DEFAULT", "Default", "Mine", "Minimal", "Nested", "Sculpt01"}));
    QCOMPARE(restarted.uiLayoutLocations()->stringList(), (QStringList{mine, missing}));

    QSignalSpy removed(m_fixture->system.data(), &SystemDataService::uiLayoutLocationsChanged);
    m_fixture->system->removeUILayoutLocation(-1);
    m_fixture->system->removeUILayoutLocation(2);
    QCOMPARE(removed.count(), 0);
    m_fixture->system->removeUILayoutLocation(0);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(names(restarted.uiLayouts()), (QStringList{"DEFAULT", "Mine", "Minimal", "Nested", "Sculpt01"}));
    QCOMPARE(restarted.uiLayoutLocations()->stringList(), QStringList{missing});
    QCOMPARE(m_fixture->database->readFolders(DatabaseService::UILayout), QStringList{missing});
}

void TestUiLayouts::rename_data()
{
    QTest::addColumn<QString>("toName");
    QTest::addColumn<bool>("renamed");

    QTest::newRow("plain name") << "Other" << true;
    QTest::newRow("name of another layout") << "Minimal" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("into another folder") << "../Other" << false;
    QTest::newRow("hidden file") << ".Other" << false;
}

void TestUiLayouts::rename()
{
    QFETCH(QString, toName);
    QFETCH(bool, renamed);
    SystemDataService &system = *m_fixture->system;
    auto *mine = qobject_cast<UILayout *>(system.uiLayouts().at(1));
    QCOMPARE(mine->name(), QStringLiteral("Mine"));
    const QString before = mine->path();
    const QString after = startup(QStringLiteral("UserInterfaceLayouts/Other.cfg"));
    QSignalSpy nameChanged(mine, &UILayout::nameChanged);
    QSignalSpy pathChanged(mine, &UILayout::pathChanged);

    system.renameLayout(1, toName);
    QCOMPARE(mine->name(), renamed ? QStringLiteral("Other") : QStringLiteral("Mine"));
    QCOMPARE(mine->path(), renamed ? after : before);
    QCOMPARE(nameChanged.count(), renamed ? 1 : 0);
    QCOMPARE(pathChanged.count(), renamed ? 1 : 0);
    QCOMPARE(QFileInfo::exists(after), renamed);
    QCOMPARE(QFileInfo::exists(before), !renamed);
    QCOMPARE(TestFiles::read(startup(QStringLiteral("UserInterfaceLayouts/Minimal.cfg"))),
             QByteArray("UserInterfaceLayouts/Minimal.cfg"));

    // Colour schemes are renamed the same way.
    if (renamed) {
        system.renameUIColor(0, toName);
        QVERIFY(QFileInfo::exists(startup(QStringLiteral("UserInterfaceColors/Other.cfg"))));
    }
}

void TestUiLayouts::macros()
{
    SystemDataService &system = *m_fixture->system;
    QCOMPARE(names(system.macros()), (QStringList{"Misc:Deep:Inner", "Misc:Smooth", "Top"}));
    system.activateMacro(1);
    QCOMPARE(m_fixture->commandFile(), zbrushCommand(18.0f, "Macro:Macros:Misc:Smooth",
                                                     startup(QStringLiteral("Macros/Misc/Smooth.zsc")).toUtf8()));
}

void TestUiLayouts::colourLocationsKeptForTheRun()
{
    SystemDataService &system = *m_fixture->system;
    const QString first = m_fixture->path(QStringLiteral("Colours1"));
    const QString second = m_fixture->path(QStringLiteral("Colours2"));
    QVERIFY(TestFiles::write(first + QStringLiteral("/Amber.cfg"), "a"));
    QVERIFY(TestFiles::write(second + QStringLiteral("/Blue.cfg"), "b"));
    QSignalSpy locations(&system, &SystemDataService::uiColorLocationsChanged);
    system.addUIColorLocation(url(first));
    system.addUIColorLocation(url(second));
    QCOMPARE(locations.count(), 2);
    QCOMPARE(names(system.uiColors()), (QStringList{"Dark", "Light", "Amber", "Blue"}));

    // Removing one location keeps the other for the rest of the run.
    system.removeUIColorLocation(0);
    QCOMPARE(locations.count(), 3);
    QCOMPARE(system.uiColorLocations()->stringList(), QStringList{second});
    QCOMPARE(names(system.uiColors()), (QStringList{"Blue", "Dark", "Light"}));
    // Nothing of it is stored.
    QCOMPARE(m_fixture->database->readFolders(DatabaseService::UILayout), QStringList());
    m_fixture->restart();
    QCOMPARE(m_fixture->system->uiColorLocations()->rowCount(), 0);
    QCOMPARE(names(m_fixture->system->uiColors()), (QStringList{"Dark", "Light"}));
}

void TestUiLayouts::plugins()
{
    SystemDataService &system = *m_fixture->system;
    // Built only by the location operations.
    QVERIFY(system.plugins().isEmpty());
    const QString extra = m_fixture->path(QStringLiteral("Plugins"));
    QVERIFY(TestFiles::write(extra + QStringLiteral("/Tools/Decimate.zsc"), "d"));
    QSignalSpy plugins(&system, &SystemDataService::pluginsChanged);
    system.addPluginLocation(url(extra));
    QCOMPARE(names(system.plugins()), QStringList{"Decimate"});
    QCOMPARE(plugins.count(), 1);
    system.activatePlugin(0);
    QCOMPARE(m_fixture->commandFile(),
             zbrushCommand(12.0f, "File:Decimate", (extra + QStringLiteral("/Tools/Decimate.zsc")).toUtf8()));

    // The full rescan after a removal lists ZBrush's own plug-ins.
    system.removePluginLocation(0);
    QCOMPARE(names(system.plugins()), (QStringList{"Other", "kiv"}));
    QCOMPARE(system.pluginLocations()->rowCount(), 0);
}

void TestUiLayouts::activationOutsideListIgnored()
{
    SystemDataService &system = *m_fixture->system;
    system.activateUILayout(5);
    system.activateUILayout(-1);
    system.activateUIColor(2);
    system.activateMacro(3);
    system.activatePlugin(0);
    system.renameLayout(7, QStringLiteral("X"));
    QCOMPARE(m_fixture->commandFile(), QByteArray());
    QVERIFY(!system.colorRequest()->isPolling());

    system.activateUILayout(0);
    const QByteArray layout = startup(QStringLiteral("UserInterfaceLayouts/DEFAULT.CFG")).toUtf8();
    QCOMPARE(m_fixture->commandFile(), zbrushCommand(11.0f, "Layout:DEFAULT", layout));
}

void TestUiLayouts::colourSchemeActivation_data()
{
    QTest::addColumn<bool>("sync");
    QTest::newRow("colour sync on") << true;
    QTest::newRow("colour sync off") << false;
}

void TestUiLayouts::colourSchemeActivation()
{
    QFETCH(bool, sync);
    SystemDataService &system = *m_fixture->system;
    // The colours ZBrush wrote a minute ago.
    QVERIFY(TestFiles::write(colorsFile(), "10,10"));
    QFile old(colorsFile());
    QVERIFY(old.open(QIODevice::ReadWrite));
    QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    old.close();
    system.colorRequest()->setPollInterval(20);
    QSignalSpy syncChanged(&system, &SystemDataService::zbrushUiColorSyncChanged);
    if (!sync)
        system.setZbrushUiColorSync(false);

    system.activateUIColor(0);
    QCOMPARE(m_fixture->commandFile(), zbrushCommand(19.0f, "File:Dark",
                                                     startup(QStringLiteral("UserInterfaceColors/Dark.cfg")).toUtf8()));
    QCOMPARE(system.colorRequest()->isPolling(), sync);
    if (!sync)
        return;

    // ZBrush applies the scheme and writes its colours afterwards: they are taken up.
    QSignalSpy loaded(system.colorRequest(), &UiColorRequest::colorsLoaded);
    QVERIFY(TestFiles::write(colorsFile(), "36.14117431640625,40.1568603515625"));
    QVERIFY(loaded.wait(5000));
    QCOMPARE(m_fixture->colors->main(), QStringLiteral("#ff242424"));
    QCOMPARE(m_fixture->colors->main2(), QStringLiteral("#ff282828"));
    QVERIFY(!system.colorRequest()->isPolling());
}

void TestUiLayouts::colourSyncAsksZBrush()
{
    SystemDataService &system = *m_fixture->system;
    system.setZbrushUiColorSync(false);
    QCOMPARE(m_fixture->commandFile(), QByteArray());
    system.colorRequest()->setGiveUpAfter(100);
    system.colorRequest()->setPollInterval(20);
    QSignalSpy gaveUp(system.colorRequest(), &UiColorRequest::gaveUp);
    system.setZbrushUiColorSync(true);
    // The export command: code 26, "File:" and an empty path.
    QCOMPARE(m_fixture->commandFile(), zbrushCommand(26.0f, "File:"));
    QVERIFY(system.colorRequest()->isPolling());
    // No colours file anywhere: the poll gives up.
    QVERIFY(gaveUp.wait(5000));
    QVERIFY(!system.colorRequest()->isPolling());
}

QTEST_MAIN(TestUiLayouts)
#include "tst_uilayouts.moc"
