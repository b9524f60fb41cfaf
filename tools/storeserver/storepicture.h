#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

// The cover pictures of the local store's products: a lit sculpting sphere in the
// pack's colour, its surface worked the way the pack's brushes would work it.
// Drawn from numbers alone, so every run serves the same pixels.
namespace StorePicture {

// "clay" (a carved stroke), "pores" (fine skin detail), "planar" (flat cuts),
// anything else a smooth sphere.
QByteArray png(const QColor &colour, const QString &style, int side);

} // namespace StorePicture
