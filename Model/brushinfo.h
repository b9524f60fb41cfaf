#pragma once

#include "Model/resourceinfo.h"

// The stored record of a brush. The brush object of the current scan is kept in
// ResourceInfo::resource.
struct BrushInfo : ResourceInfo
{
    QString author;      // from the brush file
    QString link;        // from the brush file
    QString type;        // brush type as stored in the Type column; empty for none
    QString kivCategory; // the maker's category
};
