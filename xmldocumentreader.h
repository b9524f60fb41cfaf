#pragma once

#include <QByteArray>
#include <QString>

class QDomDocument;

// Reads XML from outside (update feeds, brush metadata files, the store's set information) into a DOM document.
// Qt's DOM code recurses once per level of nesting, so a document of some tens of
// thousands of nested elements (a hundred kilobytes) overflows the stack and takes
// the program down. Such documents are refused before the DOM sees them; nothing
// Kivara reads is nested more than a few levels.
class XmlDocumentReader
{
public:
    static constexpr int maxDepth = 256;

    // As QDomDocument::setContent: false, with a message and its line, when the bytes
    // are no document or are nested deeper than maxDepth.
    static bool read(const QByteArray &bytes, QDomDocument *document, QString *error = nullptr,
                     int *line = nullptr);
    // Text already decoded (XML carried inside a JSON reply); an encoding it declares is ignored.
    static bool read(const QString &text, QDomDocument *document, QString *error = nullptr, int *line = nullptr);
};
