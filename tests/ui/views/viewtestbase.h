#pragma once

#include "tests/ui/common/uifixture.h"

#include <QAbstractItemModel>
#include <QObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QVariant>

#include <memory>

class ResourceDataService;

// What the tests of the resource views, details panels and filter tab share: a
// fixture per test whose QML warnings fail the test, and ways to read what the
// window and the views show.
class ViewTestBase : public QObject
{
    Q_OBJECT

protected:
    bool start(const UiFixture::Options &options = {});
    // Closes the fixture; any QML warning it recorded fails the test.
    void finish();
    bool restart();

    QQuickWindow *mainWindow() const { return m_fixture->mainWindow(); }
    QQuickItem *item(const QString &name, QObject *root = nullptr) const { return m_fixture->findItem(name, root); }
    ResourceDataService *catalogue(const char *contextName) const;

    // The kind's view as shown in the middle column.
    QQuickItem *view(const QString &kind) const;
    // The grid or table of that view, with its delegates laid out.
    QQuickItem *content(const QString &kind) const;
    QQuickItem *tile(const QString &kind, int row) const;
    QQuickItem *tableRow(const QString &kind, int row) const;
    // The names the kind's view lists, in its order.
    QStringList shownNames(const QString &kind) const;
    QVariantList selection(const QString &kind) const;
    // Scrolls the flickable around item until it shows item, as a person would
    // before clicking it; answers item.
    QQuickItem *scrolledTo(QQuickItem *item) const;
    // Row index of the combo box list that is open, once it is shown.
    QQuickItem *comboEntry(int index) const;
    // Opens the combo box and clicks the entry at index.
    bool choose(const QString &comboName, int index) const;
    // Types into the current view's search box as a person would.
    bool typeSearch(const QString &text) const;
    bool typeInto(QQuickItem *field, const QString &text, bool pressEnter) const;
    // The command file the bridge writes for ZBrush, empty when none was written.
    QByteArray commandFile() const;
    bool removeCommandFile() const;

    std::unique_ptr<UiFixture> m_fixture;
};
