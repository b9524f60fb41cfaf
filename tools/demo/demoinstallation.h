#pragma once

#include "democontent.h"

#include <QString>

// Writes the demo ZBrush 2022 installation into a folder shaped like a Wine prefix,
// as the program finds a real one: the uninstall entry in system.reg, the program
// folder under Program Files, the public documents data folder with its store
// library, and drive c: in dosdevices. Beside it, on request, a library database of
// its own that has the demo's ZBrush folder chosen already.
class DemoInstallation
{
public:
    // root holds "wine" (the prefix) and "kivara" (the program folder of the demo).
    explicit DemoInstallation(const QString &root);

    QString prefix() const;
    QString zbrushFolder() const;
    QString dataFolder() const;
    QString libraryFolder() const;
    QString programFolder() const;
    QString databasePath() const; // programFolder() + "/Resources/brushes.db"

    const DemoContent &content() const { return m_content; }

    // Writes the prefix anew. An existing prefix is replaced only when this class
    // made it; anything else in the way is an error.
    bool writePrefix(QString *error);
    // Copies the template database to databasePath() and stores the ZBrush folder
    // in it. An existing database is replaced: it belongs to the demo.
    bool writeLibrary(const QString &templatePath, QString *error);

    // Marks a prefix as the demo's; nothing else is ever deleted.
    static const QString markerName;

private:
    bool clearOldPrefix(QString *error);
    bool writeSkeleton(QString *error);
    bool writeFiles(QString *error);

    QString m_root;
    DemoContent m_content;
};
