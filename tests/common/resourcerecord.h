#pragma once

#include "Model/databaseservice.h"

#include <QSharedPointer>
#include <QString>
#include <QStringList>

// A valid record as a scan hands it to the database; Info is ResourceInfo or one of
// its brush and alpha kin.
template<class Info = ResourceInfo>
QSharedPointer<Info> resourceRecord(const QString &name, const QString &path, const QString &scanDate,
                                    const QString &description = QString(), const QStringList &categories = {},
                                    const QStringList &tags = {}, bool readOnly = false)
{
    auto record = QSharedPointer<Info>::create();
    record->valid = true;
    record->name = name;
    record->path = path;
    record->scanDate = scanDate;
    record->description = description;
    record->categories = categories;
    record->tags = tags;
    record->readOnly = readOnly;
    return record;
}
