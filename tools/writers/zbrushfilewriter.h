#pragma once

#include <QByteArray>
#include <QImage>
#include <QVector>

// Writes ZBrush-like files around an embedded thumbnail, laid out as ZBrush writes
// them: the copyright text at 0, the version text at 84, the thumbnail version 6 bytes
// before the signature, chunk sizes after it and run-length coded planes (blue, green,
// red, alpha) per chunk; brush files may carry the author and link after it.
// Shared by the tests and the demo installation.
namespace ZBrushFileWriter {

constexpr int side = 96;
constexpr int headerOffset = 84;
// Where a file keeps the base offset its credits are counted from.
constexpr int creditsBaseOffset = 168;

// Runs of three or more equal bytes as repeats, the rest as copies; closed by 0.
QByteArray encodeRuns(const QByteArray &bytes);

// The planes of count pixels from first on of an image, as RGBA8888 bytes
// (premultiplied when the image is).
QByteArray planes(const QImage &rgba, int first, int count);

// A file with the given chunk bodies (run data) in thumbnail format version.
// Version 4 takes up to four chunks, later versions up to two.
QByteArray fileWithChunks(const QVector<QByteArray> &runData, int version, const QByteArray &versionText = "2021",
                          int signatureOffset = 220);

// A file with the 96 x 96 image's thumbnail split into chunks of the given pixel counts.
QByteArray file(const QImage &image, int version, const QVector<int> &chunkPixels = {side * side},
                const QByteArray &versionText = "2021", int signatureOffset = 220);

// Where the chunk data of a file made above begins.
int dataStart(int version, int signatureOffset = 220);

// How far past the base offset a file of that version text keeps its credits:
// 278 from 2021, 258 from 2018, 254 from 4.7, 202 for 4.1 to 4.6; -1 when it keeps none.
int creditsOffset(const QByteArray &versionText);

// The file with its author and link (each closed by a zero byte) appended, and the
// base offset at 168 pointing so that they sit where its version keeps them.
// Files whose version keeps no credits come back unchanged.
QByteArray withCredits(QByteArray file, const QByteArray &author, const QByteArray &link);

// One colour all over, for callers that only care about a pixel's value.
QImage uniformImage(QRgb rgba);

} // namespace ZBrushFileWriter
