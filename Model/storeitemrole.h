#pragma once

#include <Qt>

// Roles of the store's product list. The views and the product sorter address
// them by name and number, so the values are part of the interface.
enum StoreItemRole : int {
    StoreNameRole = Qt::UserRole + 1, // 257
    StoreThumbnailRole,
    StorePriceRole,
    StoreFeaturedRole,
    StoreDescriptionRole,
    StoreSubProductsRole,
    StoreCategoriesRole, // the names as one text
    StoreCategoryIdRole, // the ids as a set
    StoreOwnedRole,
    StoreInstalledRole,
    StoreDownloadStatusRole,
    StoreIdRole,
    StoreSourceLinkRole,
    StoreMembershipRole,
    StoreDescriptionMainRole, // 271
};
