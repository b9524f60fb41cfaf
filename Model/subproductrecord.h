#pragma once

#include <QString>

// A sub-product as the store's catalogue lists it, before its object exists.
struct SubProductRecord
{
    bool installed = false;
    QString link;
    QString brushType;
    QString fileType;
    QString thumbnail;
    QString name;
    int id = 0;
};
