// Mini mode: swapping windows both ways, the two orientations and their sizes.
#include "tests/ui/common/uifixture.h"

#include "Model/systemdataservice.h"

#include <QQuickItem>
#include <QtTest>

class MiniWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void ctrlMAndFullModeSwapWindows();
    void orientationsHaveTheirSizes();
    void keepOnTopSetsTheFlag();

private:
    std::unique_ptr<UiFixture> m_fixture;
};

void MiniWindowTest::init()
{
    m_fixture = std::make_unique<UiFixture>();
    QVERIFY(m_fixture->isValid());
}

void MiniWindowTest::cleanup()
{
    const QString warnings = m_fixture->warningText();
    m_fixture.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}

void MiniWindowTest::ctrlMAndFullModeSwapWindows()
{
    QVERIFY(m_fixture->start());
    QQuickWindow *main = m_fixture->mainWindow();
    QQuickWindow *mini = m_fixture->miniWindow();
    QVERIFY(m_fixture->waitForRendering(main));
    QVERIFY(!mini->isVisible());

    QVERIFY(m_fixture->keyClick(main, Qt::Key_M, Qt::ControlModifier));
    QVERIFY(m_fixture->system()->miniMode());
    QTRY_VERIFY(mini->isVisible());
    QVERIFY(!main->isVisible());

    QVERIFY(m_fixture->waitForRendering(mini));
    QVERIFY(m_fixture->click(QStringLiteral("fullModeButton")));
    QVERIFY(!m_fixture->system()->miniMode());
    QTRY_VERIFY(main->isVisible());
    QVERIFY(!mini->isVisible());

    QVERIFY(m_fixture->click(QStringLiteral("miniModeButton")));
    QTRY_VERIFY(mini->isVisible());
    QVERIFY(m_fixture->keyClick(mini, Qt::Key_M, Qt::ControlModifier));
    QVERIFY(!m_fixture->system()->miniMode());
    QTRY_VERIFY(main->isVisible());
}

void MiniWindowTest::orientationsHaveTheirSizes()
{
    QVERIFY(m_fixture->start());
    m_fixture->system()->setMiniMode(true);
    QQuickWindow *mini = m_fixture->miniWindow();
    QVERIFY(m_fixture->waitForRendering(mini));
    QCOMPARE(mini->size(), QSize(132, 616));
    QCOMPARE(mini->maximumWidth(), 132);
    QCOMPARE(mini->minimumHeight(), 352);

    QVERIFY(m_fixture->click(QStringLiteral("orientationButton")));
    QVERIFY(m_fixture->system()->miniHorizontalMode());
    QTRY_COMPARE(mini->size(), QSize(616, 112));
    QCOMPARE(mini->maximumHeight(), 112);
    QCOMPARE(mini->minimumWidth(), 352);
    QCOMPARE(m_fixture->findItem(QStringLiteral("orientationButton"))->property("toolTipText").toString(),
             QStringLiteral("Vertical Mode"));

    // The orientation is a stored setting: the next start lies down at once.
    QVERIFY(m_fixture->restart());
    m_fixture->system()->setMiniMode(true);
    mini = m_fixture->miniWindow();
    QVERIFY(m_fixture->waitForRendering(mini));
    QCOMPARE(mini->size(), QSize(616, 112));
    QVERIFY(m_fixture->click(QStringLiteral("orientationButton")));
    QTRY_COMPARE(mini->size(), QSize(132, 616));
    QVERIFY(!m_fixture->system()->miniHorizontalMode());
}

void MiniWindowTest::keepOnTopSetsTheFlag()
{
    QVERIFY(m_fixture->start());
    QQuickWindow *main = m_fixture->mainWindow();
    QVERIFY(m_fixture->waitForRendering(main));
    QVERIFY(!(main->flags() & Qt::WindowStaysOnTopHint));
    QVERIFY(m_fixture->click(QStringLiteral("keepOnTopButton")));
    QTRY_VERIFY(main->flags() & Qt::WindowStaysOnTopHint);
    QVERIFY(m_fixture->click(QStringLiteral("keepOnTopButton")));
    QTRY_VERIFY(!(main->flags() & Qt::WindowStaysOnTopHint));

    m_fixture->system()->setMiniMode(true);
    QQuickWindow *mini = m_fixture->miniWindow();
    QVERIFY(m_fixture->waitForRendering(mini));
    QVERIFY(m_fixture->click(QStringLiteral("miniKeepOnTopButton")));
    QTRY_VERIFY(mini->flags() & Qt::WindowStaysOnTopHint);
}

QTEST_MAIN(MiniWindowTest)
#include "tst_miniwindow.moc"
