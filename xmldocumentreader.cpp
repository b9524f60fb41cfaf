#include "xmldocumentreader.h"

#include <QDomDocument>
#include <QXmlStreamReader>

namespace {

template<typename Input>
bool readDocument(const Input &bytes, QDomDocument *document, QString *error, int *line)
{
    // Measured first, with the stream reader that keeps its element stack on the heap,
    // then built by the same reader: what was measured is what gets built.
    QXmlStreamReader scan(bytes);
    scan.setNamespaceProcessing(false);
    int depth = 0;
    while (!scan.atEnd()) {
        const QXmlStreamReader::TokenType token = scan.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::StartElement && ++depth > XmlDocumentReader::maxDepth) {
            *document = QDomDocument();
            if (error)
                *error = QStringLiteral("elements nested deeper than %1 levels").arg(XmlDocumentReader::maxDepth);
            if (line)
                *line = int(scan.lineNumber());
            return false;
        }
    }
    QXmlStreamReader reader(bytes);
    reader.setNamespaceProcessing(false);
    if (document->setContent(&reader, false, error, line))
        return true;
    // The reader stops at the fault; what it built up to there is no document.
    *document = QDomDocument();
    return false;
}

} // namespace

bool XmlDocumentReader::read(const QByteArray &bytes, QDomDocument *document, QString *error, int *line)
{
    return readDocument(bytes, document, error, line);
}

bool XmlDocumentReader::read(const QString &text, QDomDocument *document, QString *error, int *line)
{
    return readDocument(text, document, error, line);
}
