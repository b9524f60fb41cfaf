#include "viewtestbase.h"

#include "Model/resourcedataservice.h"

#include "tests/common/testfiles.h"

#include <QFile>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QtTest>

bool ViewTestBase::start(const UiFixture::Options &options)
{
    m_fixture = std::make_unique<UiFixture>(options);
    return m_fixture->isValid() && m_fixture->start() && m_fixture->waitForRendering(m_fixture->mainWindow());
}

void ViewTestBase::finish()
{
    if (!m_fixture)
        return;
    const QString warnings = m_fixture->warningText();
    m_fixture.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}

bool ViewTestBase::restart()
{
    return m_fixture->restart() && m_fixture->waitForRendering(m_fixture->mainWindow());
}

ResourceDataService *ViewTestBase::catalogue(const char *contextName) const
{
    return qobject_cast<ResourceDataService *>(
        m_fixture->engine()->rootContext()->contextProperty(QString::fromLatin1(contextName)).value<QObject *>());
}

QQuickItem *ViewTestBase::view(const QString &kind) const
{
    return item(QStringLiteral("resourceView_") + kind);
}

QQuickItem *ViewTestBase::content(const QString &kind) const
{
    QQuickItem *shown = view(kind);
    if (!shown)
        return nullptr;
    auto *found = shown->property("contentView").value<QQuickItem *>();
    if (found)
        QMetaObject::invokeMethod(found, "forceLayout");
    return found;
}

QQuickItem *ViewTestBase::tile(const QString &kind, int row) const
{
    QQuickItem *grid = content(kind);
    return grid ? item(QStringLiteral("tile_%1").arg(row), grid) : nullptr;
}

QQuickItem *ViewTestBase::tableRow(const QString &kind, int row) const
{
    QQuickItem *list = content(kind);
    return list ? item(QStringLiteral("tableRow_%1").arg(row), list) : nullptr;
}

QStringList ViewTestBase::shownNames(const QString &kind) const
{
    QStringList names;
    QQuickItem *shown = view(kind);
    if (!shown)
        return names;
    auto *model = shown->property("model").value<QAbstractItemModel *>();
    const int nameRole = model ? model->roleNames().key("name") : -1;
    for (int row = 0; model && row < model->rowCount(); ++row)
        names << model->index(row, 0).data(nameRole).toString();
    return names;
}

QVariantList ViewTestBase::selection(const QString &kind) const
{
    return mainWindow()->property("selectedItems").toMap().value(kind).toList();
}

QQuickItem *ViewTestBase::scrolledTo(QQuickItem *target) const
{
    // Positioners lay out on the next frame.
    m_fixture->waitForRendering(mainWindow());
    for (QQuickItem *parent = target ? target->parentItem() : nullptr; parent; parent = parent->parentItem()) {
        if (!parent->inherits("QQuickFlickable"))
            continue;
        auto *contentItem = parent->property("contentItem").value<QQuickItem *>();
        const qreal top = target->mapToItem(contentItem, QPointF(0, 0)).y();
        const qreal room = parent->property("contentHeight").toReal() - parent->height();
        parent->setProperty("contentY", qBound<qreal>(0, top - 20, qMax<qreal>(0, room)));
        break;
    }
    return target;
}

QQuickItem *ViewTestBase::comboEntry(int index) const
{
    QQuickItem *entry = nullptr;
    const bool shown = QTest::qWaitFor([&] {
        entry = item(QStringLiteral("comboEntry_%1").arg(index));
        return entry && entry->isVisible();
    }, 3000);
    if (!shown)
        return nullptr;
    // The list opens with a short transition.
    m_fixture->waitForRendering(mainWindow());
    return entry;
}

bool ViewTestBase::choose(const QString &comboName, int index) const
{
    QQuickItem *combo = scrolledTo(item(comboName));
    if (!m_fixture->click(combo))
        return false;
    QQuickItem *entry = comboEntry(index);
    if (!entry || !m_fixture->click(entry))
        return false;
    // Closed again before anything else is opened.
    return QTest::qWaitFor([combo] { return !combo->property("popup").value<QObject *>()->property("visible").toBool(); }, 3000);
}

bool ViewTestBase::typeInto(QQuickItem *field, const QString &text, bool pressEnter) const
{
    if (!m_fixture->click(field))
        return false;
    for (const QChar c : text)
        QTest::keyClick(mainWindow(), c.toLatin1());
    if (pressEnter)
        QTest::keyClick(mainWindow(), Qt::Key_Return);
    QCoreApplication::processEvents();
    return true;
}

bool ViewTestBase::typeSearch(const QString &text) const
{
    const QString kind = mainWindow()->property("currentKind").toString();
    return typeInto(item(QStringLiteral("searchBox"), view(kind)), text, false);
}

QByteArray ViewTestBase::commandFile() const
{
    return TestFiles::read(m_fixture->dataFolder() + QStringLiteral("ZPluginData/KIVData/kiv.zvr"));
}

bool ViewTestBase::removeCommandFile() const
{
    const QString path = m_fixture->dataFolder() + QStringLiteral("ZPluginData/KIVData/kiv.zvr");
    return !QFile::exists(path) || QFile::remove(path);
}
