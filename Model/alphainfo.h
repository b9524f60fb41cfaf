#pragma once

#include "Model/resourceinfo.h"

// The stored record of an alpha. The alpha object of the current scan is kept in
// ResourceInfo::resource.
struct AlphaInfo : ResourceInfo
{
    bool ignore = false; // hidden by the user
    int width = 0;       // pixels
    int height = 0;      // pixels
    int depth = 0;       // depth class
};
