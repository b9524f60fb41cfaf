// The Style singleton as the screens see it: themes by name, the built-in defaults,
// ZBrush's colours while sync is on, and the fonts.
#include "tests/ui/common/uifixture.h"

#include "Model/systemdataservice.h"
#include "Model/zuicolor.h"
#include "appservices.h"

#include <QColor>
#include <QFont>
#include <QtTest>

class UiStyleTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void themeByName_data();
    void themeByName();
    void colourLeftOutOfThemeFallsBackToDefault();
    void syncFollowsZBrushColours();
    void fontsHaveTheirSizesAndFamily();

private:
    QColor colour(const char *name) const { return m_style->property(name).value<QColor>(); }
    void selectTheme(const QString &name);

    std::unique_ptr<UiFixture> m_fixture;
    QObject *m_holder = nullptr;
    QObject *m_style = nullptr;
};

void UiStyleTest::init()
{
    m_fixture = std::make_unique<UiFixture>();
    QVERIFY(m_fixture->isValid());
    m_fixture->storeSetting(DatabaseService::ZbrushColorSync, false);
    QVERIFY(m_fixture->start());
    m_holder = m_fixture->createObject(
        "import QtQuick 2.15\nimport \"Themes\"\n"
        "QtObject { property QtObject style: Style\n"
        "  function useTheme(name) { Style.current = Style[name] } }");
    QVERIFY(m_holder);
    m_style = m_holder->property("style").value<QObject *>();
    QVERIFY(m_style);
}

void UiStyleTest::cleanup()
{
    const QString warnings = m_fixture->warningText();
    m_fixture.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}

void UiStyleTest::selectTheme(const QString &name)
{
    QVERIFY(QMetaObject::invokeMethod(m_style, "selectTheme", Q_ARG(QVariant, name)));
}

void UiStyleTest::themeByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("backgroundTop");
    QTest::addColumn<QString>("selectedButton");
    QTest::addColumn<QString>("mainBar");

    QTest::newRow("built-in") << "Default" << "#FF2c2c2c" << "#FFff9026" << "#FF292929";
    QTest::newRow("first offered") << "Apothic" << "#FF110404" << "#FF2C2C2C" << "#FF111111";
    QTest::newRow("name with blanks") << "KIV Brown Legacy" << "#FF332D2B" << "#FFE97F0D" << "#FF433835";
    QTest::newRow("last offered") << "Hearthstone" << "#FF121212" << "#FF2874A9" << "#FF191919";
    QTest::newRow("unknown name") << "Neon" << "#FF2c2c2c" << "#FFff9026" << "#FF292929";
    QTest::newRow("case differs") << "apothic" << "#FF2c2c2c" << "#FFff9026" << "#FF292929";
}

void UiStyleTest::themeByName()
{
    QFETCH(QString, name);
    QFETCH(QString, backgroundTop);
    QFETCH(QString, selectedButton);
    QFETCH(QString, mainBar);

    // Start from another theme, so that a name that selects nothing is seen to reset.
    selectTheme(QStringLiteral("Frosty"));
    QCOMPARE(colour("backgroundTopColor"), QColor(QStringLiteral("#FF5E5E5E")));
    selectTheme(name);
    QCOMPARE(colour("backgroundTopColor"), QColor(backgroundTop));
    QCOMPARE(colour("selectedButtonColor"), QColor(selectedButton));
    QCOMPARE(colour("backgroundMainBarColor"), QColor(mainBar));
}

void UiStyleTest::colourLeftOutOfThemeFallsBackToDefault()
{
    QVERIFY(QMetaObject::invokeMethod(m_holder, "useTheme", Q_ARG(QVariant, QStringLiteral("theme_test"))));
    QCOMPARE(colour("menuTextColor"), QColor(QStringLiteral("#DB7093")));
    QCOMPARE(colour("editBoxBackgroundColor"), QColor(QStringLiteral("#FF1f1f1f")));
}

void UiStyleTest::syncFollowsZBrushColours()
{
    selectTheme(QStringLiteral("Apothic"));
    ZUiColor *zbrush = m_fixture->services()->uiColor().data();
    // main 0x123456, then text2 (22nd) stays; sw1 (7th) 0xabcdef.
    QVERIFY(m_fixture->writeUiColorsFile("18.204437255859375,1,1,1,1,1,171.80442810058594"));
    zbrush->load(m_fixture->dataFolder() + QStringLiteral("ZPluginData/KIVData/kiv_uicolors.zvr"));
    QCOMPARE(zbrush->main(), QStringLiteral("#ff123456"));

    m_fixture->system()->setZbrushUiColorSync(true);
    QCOMPARE(colour("backgroundTopColor"), QColor(QStringLiteral("#ff123456")));
    QCOMPARE(colour("collapseBackgroundColor"), QColor(QStringLiteral("#ff123456")));
    QCOMPARE(colour("selectedButtonColor"), QColor(QStringLiteral("#ffabcdef")));
    QCOMPARE(colour("genericTextColor"), QColor(zbrush->text2()));
    QCOMPARE(colour("toolTipBackgroundColor"), QColor(QStringLiteral("#DF0c0c0c")));
    QCOMPARE(colour("editBoxBackgroundColor"), QColor(QStringLiteral("#FF1f1f1f")));

    // The theme is kept but not shown until sync is off again.
    selectTheme(QStringLiteral("Hearthstone"));
    QCOMPARE(colour("backgroundTopColor"), QColor(QStringLiteral("#ff123456")));
    QCOMPARE(colour("toolTipBackgroundColor"), QColor(QStringLiteral("#DF0c0c0c")));

    // Live: a new colours file recolours at once.
    QVERIFY(m_fixture->writeUiColorsFile("36.14117431640625"));
    zbrush->load(QString());
    QCOMPARE(colour("backgroundTopColor"), QColor(QStringLiteral("#ff242424")));

    m_fixture->system()->setZbrushUiColorSync(false);
    QCOMPARE(colour("backgroundTopColor"), QColor(QStringLiteral("#FF121212")));
    QCOMPARE(colour("toolTipBackgroundColor"), QColor(QStringLiteral("#DF171717")));
}

void UiStyleTest::fontsHaveTheirSizesAndFamily()
{
    const struct
    {
        const char *name;
        int size;
        bool bold;
        bool underline;
    } fonts[] = {{"genericText11", 11, false, false}, {"genericText12", 12, false, false},
                 {"genericTextBold12", 12, true, false}, {"genericText13", 13, false, false},
                 {"genericText14", 14, false, false}, {"genericTextBold14", 14, true, true},
                 {"genericText15", 15, false, false}, {"genericText16", 16, false, false},
                 {"genericText18", 18, false, false}, {"genericText22", 22, false, false}};
    m_style->setProperty("fontFamily", QStringLiteral("Quicksand"));
    for (const auto &expected : fonts) {
        const QFont font = m_style->property(expected.name).value<QFont>();
        // Pixels as on Windows: 96 dots per inch here too.
        QCOMPARE(font.pointSizeF(), expected.size * 0.75);
        QCOMPARE(font.bold(), expected.bold);
        QCOMPARE(font.underline(), expected.underline);
        QCOMPARE(font.letterSpacing(), 1.5);
        QCOMPARE(font.family(), QStringLiteral("Quicksand"));
    }
}

QTEST_MAIN(UiStyleTest)
#include "tst_uistyle.moc"
