#pragma once

#include <QString>
#include <QStringList>

class Resource;

// The stored record of a resource: what a scan merges with the library database.
// Held in shared pointers by the catalogues.
struct ResourceInfo
{
    bool valid = false; // came from the database or was made by a scan
    QString name;
    QString path;
    QString description;
    QStringList categories;
    QStringList tags;
    bool readOnly = false;
    QString scanDate; // Qt::TextDate

    // Not stored: the object made from this record in the current scan and its row then.
    Resource *resource = nullptr;
    int row = -1;
};
