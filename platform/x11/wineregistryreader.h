#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Reads Wine's text registry files (system.reg, user.reg): sections headed
// "[Key\\Path] <time>" followed by "Name"="text" lines, with backslash escapes.
class WineRegistryReader
{
public:
    struct Key
    {
        QString name;
        // Text values (plain and expandable) in file order; other types are left out.
        QList<QPair<QString, QString>> values;

        // Registry value names ignore case. Empty when absent.
        QString value(const QString &valueName) const;
    };

    // The direct subkeys of parentKey (e.g. "Software\\Microsoft\\...\\Uninstall"
    // written with single backslashes), in file order. Key names ignore case.
    static QList<Key> subkeys(const QString &filePath, const QString &parentKey);

    // Decodes an escaped text that starts at `from` and runs up to the first
    // unescaped `terminator`; `end` receives the position of that terminator
    // (or the text's size when there is none).
    static QString unescape(const QString &text, int from, QChar terminator, int *end);
};
