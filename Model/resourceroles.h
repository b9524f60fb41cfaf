#pragma once

#include <QDateTime>
#include <QString>
#include <Qt>

// Model role numbers of the catalogues. The QML views address some of them by
// number (the icon roles), so the values are part of the interface.
namespace ResourceRoles {

// Generic kinds, textures and lights.
struct GenericRole {
    enum : int {
        Name = Qt::UserRole + 1,
        Path,
        Favorite,
        Categories,
        Description,
        Tags,
        IconPath,
        LastModified,
        LastModifiedDisplay,
    };
};

struct BrushRole {
    enum : int {
        Brush = Qt::UserRole + 1,
        Name,
        Path,
        Favorite,
        BrushType,
        BrushTypeName,
        Categories,
        Description,
        KivCategory,
        Tags,
        IconPath,
        LastModified,
        LastModifiedDisplay,
    };
};

struct AlphaRole {
    enum : int {
        Name = Qt::UserRole + 1,
        Path,
        Favorite,
        Categories,
        Description,
        Width,
        Height,
        Depth,
        Dimensions,
        Tags,
        Ignore,
        IconPath,
        LastModified,
        LastModifiedDisplay,
    };
};

// How the list views show a last-modified time.
constexpr const char *lastModifiedDisplayFormat = "MM/dd/yyyy h:mm ap";

// Scans keep file times in UTC; they are shown in local time.
inline QString lastModifiedDisplay(const QDateTime &time)
{
    return time.toLocalTime().toString(QLatin1String(lastModifiedDisplayFormat));
}

} // namespace ResourceRoles
