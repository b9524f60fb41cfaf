#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// What the demo ZBrush 2022 installation holds: every file with the recipe that
// draws it, and the facts a catalogue should show once it has scanned them.
// Paths are relative to the Wine prefix.
class DemoContent
{
public:
    static const QString zbrushFolder;  // "drive_c/Program Files/Pixologic/ZBrush 2022"
    static const QString dataFolder;    // "drive_c/users/Public/Documents/ZBrushData2022"
    static const QString libraryFolder; // the store folder in the data folder
    static const QString packFolder;    // the one installed store pack in it
    static const QString packName;

    struct File
    {
        QString path;
        std::function<QByteArray()> bytes;
    };

    struct Alpha
    {
        QString name;
        int width;
        int height;
        int depth;
    };

    struct Credits
    {
        QString author;
        QString link;
    };

    DemoContent();

    const QVector<File> &files() const { return m_files; }

    // Resources each catalogue lists, by kind word ("brush", "alpha", ... "renderpreset");
    // alphas without the built-in one. The store pack's images count as alphas and as
    // textures, as both catalogues take them in.
    QMap<QString, int> catalogueCounts() const { return m_counts; }
    const QVector<Alpha> &alphas() const { return m_alphas; }
    // Brush name to its credits as written into the file.
    const QMap<QString, Credits> &credits() const { return m_credits; }
    // The maker's categories: name to group, and how many brushes each holds.
    const QMap<QString, QString> &categoryGroups() const { return m_categoryGroups; }
    const QMap<QString, int> &categoryCounts() const { return m_categoryCounts; }
    int layoutCount() const { return m_layouts; }
    QStringList readOnlyLayouts() const { return m_readOnlyLayouts; }
    int colourSchemeCount() const { return m_colourSchemes; }
    QStringList macroNames() const { return m_macros; }
    int pluginCount() const { return m_plugins; }
    // The interface colours the plug-in would have exported, as "#ffrrggbb" texts.
    QStringList interfaceColours() const { return m_interfaceColours; }

private:
    void addBrushes();
    void addAlphas();
    void addMaterials();
    void addModels();
    void addPresets();
    void addLights();
    void addTextures();
    void addInterface();
    void add(const QString &path, std::function<QByteArray()> bytes);
    void count(const QString &kind, int n = 1) { m_counts[kind] += n; }
    // An image of kind (alpha or texture) named name (without suffix), in the store pack or in ZBrush.
    void countImage(bool inPack, const QString &kind, const QString &name);

    QVector<File> m_files;
    QMap<QString, int> m_counts;
    QVector<Alpha> m_alphas;
    QMap<QString, Credits> m_credits;
    QMap<QString, QString> m_categoryGroups;
    QMap<QString, int> m_categoryCounts;
    int m_layouts = 0;
    QStringList m_readOnlyLayouts;
    int m_colourSchemes = 0;
    QStringList m_macros;
    int m_plugins = 0;
    QStringList m_interfaceColours;
};
