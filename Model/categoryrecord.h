#pragma once

#include <QString>

// A store category as the product list names it.
struct CategoryRecord
{
    int termId = 0;
    int parentId = 0;
    QString name;
};
