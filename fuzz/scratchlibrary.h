#pragma once

// A library database of the target's own in its scratch folder, made from the template
// once and reused by every input. Needs KIVARA_TEMPLATE_DB.
#include "Model/databaseservice.h"
#include "appfolders.h"
#include "fuzz/fuzzsupport.h"

#include <QSharedPointer>

namespace FuzzSupport {

inline QSharedPointer<DatabaseService> openScratchLibrary()
{
    ensureApplication();
    const QString root = scratchFolder();
    const QString path = root + QStringLiteral("/brushes.db");
    if (!QFile::exists(path) && !QFile::copy(QStringLiteral(KIVARA_TEMPLATE_DB), path))
        abort();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    AppFolders::setProgramFolderForTesting(root + QStringLiteral("/program"));
    auto database = QSharedPointer<DatabaseService>::create(path, QString(), true);
    if (!database->isOpen())
        abort();
    return database;
}

} // namespace FuzzSupport
