#pragma once

#include "providers/iconimageprovider.h"

#include <QString>

// Thumbnails of ZBrush files ("image://brushes/<path>"): the image ZBrush embeds
// in the file; for brushes without one, the PNG the library database keeps under
// the brush's name, else the built-in default icon; a gray tile for the rest.
class BrushIconImageProvider : public IconImageProvider
{
public:
    // The thumbnail lies within the first bytes of the file.
    static constexpr qint64 maxHeaderBytes = 37000;

    explicit BrushIconImageProvider(const QString &databasePath);

protected:
    QPixmap loadPixmap(const QString &id, bool *cacheable) override;

private:
    QPixmap loadFromDatabase(const QString &path, bool *cacheable) const;

    const QString m_databasePath;
};
