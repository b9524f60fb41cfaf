#pragma once

#include <QObject>
#include <QString>
#include <array>

// ZBrush's interface colour scheme, as the script plug-in exports it into its
// colours file. QML dresses Kivara in these colours while colour sync is on.
//
// Every colour is "#ff" followed by six lower-case hexadecimal digits. A load only
// overwrites: colours the file does not reach keep what they had.
class ZUiColor : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString main READ main NOTIFY mainChanged)
    Q_PROPERTY(QString main2 READ main2 NOTIFY main2Changed)
    Q_PROPERTY(QString bt1 READ bt1 NOTIFY bt1Changed)
    Q_PROPERTY(QString bt2 READ bt2 NOTIFY bt2Changed)
    Q_PROPERTY(QString bt3 READ bt3 NOTIFY bt3Changed)
    Q_PROPERTY(QString bt4 READ bt4 NOTIFY bt4Changed)
    Q_PROPERTY(QString sw1 READ sw1 NOTIFY sw1Changed)
    Q_PROPERTY(QString sw2 READ sw2 NOTIFY sw2Changed)
    Q_PROPERTY(QString sw3 READ sw3 NOTIFY sw3Changed)
    Q_PROPERTY(QString sw4 READ sw4 NOTIFY sw4Changed)
    Q_PROPERTY(QString icn1 READ icn1 NOTIFY icn1Changed)
    Q_PROPERTY(QString icn2 READ icn2 NOTIFY icn2Changed)
    Q_PROPERTY(QString icn3 READ icn3 NOTIFY icn3Changed)
    Q_PROPERTY(QString icn4 READ icn4 NOTIFY icn4Changed)
    Q_PROPERTY(QString sl1 READ sl1 NOTIFY sl1Changed)
    Q_PROPERTY(QString sl2 READ sl2 NOTIFY sl2Changed)
    Q_PROPERTY(QString sl3 READ sl3 NOTIFY sl3Changed)
    Q_PROPERTY(QString sl4 READ sl4 NOTIFY sl4Changed)
    Q_PROPERTY(QString k1 READ k1 NOTIFY k1Changed)
    Q_PROPERTY(QString k2 READ k2 NOTIFY k2Changed)
    Q_PROPERTY(QString text1 READ text1 NOTIFY text1Changed)
    Q_PROPERTY(QString text2 READ text2 NOTIFY text2Changed)
    Q_PROPERTY(QString numbers READ numbers NOTIFY numbersChanged)
    Q_PROPERTY(QString hnumbers READ hnumbers NOTIFY hnumbersChanged)
    Q_PROPERTY(QString submenu READ submenu NOTIFY submenuChanged)
    Q_PROPERTY(QString submenu2 READ submenu2 NOTIFY submenu2Changed)
    Q_PROPERTY(QString menu1 READ menu1 NOTIFY menu1Changed)
    Q_PROPERTY(QString menu2 READ menu2 NOTIFY menu2Changed)
    Q_PROPERTY(QString title1 READ title1 NOTIFY title1Changed)
    Q_PROPERTY(QString title2 READ title2 NOTIFY title2Changed)
    Q_PROPERTY(QString palette1 READ palette1 NOTIFY palette1Changed)
    Q_PROPERTY(QString palette2 READ palette2 NOTIFY palette2Changed)
    Q_PROPERTY(QString paletteframe1 READ paletteframe1 NOTIFY paletteframe1Changed)
    Q_PROPERTY(QString paletteframe2 READ paletteframe2 NOTIFY paletteframe2Changed)
    Q_PROPERTY(QString paletteshadow1 READ paletteshadow1 NOTIFY paletteshadow1Changed)
    Q_PROPERTY(QString paletteshadow2 READ paletteshadow2 NOTIFY paletteshadow2Changed)
    Q_PROPERTY(QString subpalette1 READ subpalette1 NOTIFY subpalette1Changed)
    Q_PROPERTY(QString subpalette2 READ subpalette2 NOTIFY subpalette2Changed)
    Q_PROPERTY(QString subframe1 READ subframe1 NOTIFY subframe1Changed)
    Q_PROPERTY(QString subframe2 READ subframe2 NOTIFY subframe2Changed)
    Q_PROPERTY(QString subshadow1 READ subshadow1 NOTIFY subshadow1Changed)
    Q_PROPERTY(QString subshadow2 READ subshadow2 NOTIFY subshadow2Changed)
    Q_PROPERTY(QString iconfill READ iconfill NOTIFY iconfillChanged)
    Q_PROPERTY(QString iconframe READ iconframe NOTIFY iconframeChanged)
    Q_PROPERTY(QString iconshadow READ iconshadow NOTIFY iconshadowChanged)
    Q_PROPERTY(QString hilite READ hilite NOTIFY hiliteChanged)
    Q_PROPERTY(QString border READ border NOTIFY borderChanged)
    Q_PROPERTY(QString border2 READ border2 NOTIFY border2Changed)
    Q_PROPERTY(QString buttonframe1 READ buttonframe1 NOTIFY buttonframe1Changed)
    Q_PROPERTY(QString buttonframe2 READ buttonframe2 NOTIFY buttonframe2Changed)
    Q_PROPERTY(QString sliderslit READ sliderslit NOTIFY sliderslitChanged)
    Q_PROPERTY(QString curve READ curve NOTIFY curveChanged)
    Q_PROPERTY(QString ttext1 READ ttext1 NOTIFY ttext1Changed)
    Q_PROPERTY(QString ttext2 READ ttext2 NOTIFY ttext2Changed)
    Q_PROPERTY(QString dragdrop READ dragdrop NOTIFY dragdropChanged)

public:
    // In the order in which the colours file fills them.
    enum Color {
        Main,
        Main2,
        Bt1,
        Bt2,
        Bt3,
        Bt4,
        Sw1,
        Sw2,
        Sw3,
        Sw4,
        Icn1,
        Icn2,
        Icn3,
        Icn4,
        Sl1,
        Sl2,
        Sl3,
        Sl4,
        K1,
        K2,
        Text1,
        Text2,
        Numbers,
        Hnumbers,
        Submenu,
        Submenu2,
        Menu1,
        Menu2,
        Title1,
        Title2,
        Palette1,
        Palette2,
        Paletteframe1,
        Paletteframe2,
        Paletteshadow1,
        Paletteshadow2,
        Subpalette1,
        Subpalette2,
        Subframe1,
        Subframe2,
        Subshadow1,
        Subshadow2,
        Iconfill,
        Iconframe,
        Iconshadow,
        Hilite,
        Border,
        Border2,
        Buttonframe1,
        Buttonframe2,
        Sliderslit,
        Curve,
        Ttext1,
        Ttext2,
        Dragdrop,
        ColorCount
    };
    Q_ENUM(Color)

    // Sets the built-in colours, then loads colorsFilePath (which may be empty).
    explicit ZUiColor(const QString &colorsFilePath = QString(), QObject *parent = nullptr);
    ~ZUiColor() override;

    // An empty path reloads the file loaded last. A file that cannot be opened
    // changes nothing; otherwise every change signal is emitted.
    void load(const QString &path);

    QString colorsFilePath() const { return m_colorsFilePath; }
    QString color(Color which) const { return m_colors[which]; }

    QString main() const { return m_colors[Main]; }
    QString main2() const { return m_colors[Main2]; }
    QString bt1() const { return m_colors[Bt1]; }
    QString bt2() const { return m_colors[Bt2]; }
    QString bt3() const { return m_colors[Bt3]; }
    QString bt4() const { return m_colors[Bt4]; }
    QString sw1() const { return m_colors[Sw1]; }
    QString sw2() const { return m_colors[Sw2]; }
    QString sw3() const { return m_colors[Sw3]; }
    QString sw4() const { return m_colors[Sw4]; }
    QString icn1() const { return m_colors[Icn1]; }
    QString icn2() const { return m_colors[Icn2]; }
    QString icn3() const { return m_colors[Icn3]; }
    QString icn4() const { return m_colors[Icn4]; }
    QString sl1() const { return m_colors[Sl1]; }
    QString sl2() const { return m_colors[Sl2]; }
    QString sl3() const { return m_colors[Sl3]; }
    QString sl4() const { return m_colors[Sl4]; }
    QString k1() const { return m_colors[K1]; }
    QString k2() const { return m_colors[K2]; }
    QString text1() const { return m_colors[Text1]; }
    QString text2() const { return m_colors[Text2]; }
    QString numbers() const { return m_colors[Numbers]; }
    QString hnumbers() const { return m_colors[Hnumbers]; }
    QString submenu() const { return m_colors[Submenu]; }
    QString submenu2() const { return m_colors[Submenu2]; }
    QString menu1() const { return m_colors[Menu1]; }
    QString menu2() const { return m_colors[Menu2]; }
    QString title1() const { return m_colors[Title1]; }
    QString title2() const { return m_colors[Title2]; }
    QString palette1() const { return m_colors[Palette1]; }
    QString palette2() const { return m_colors[Palette2]; }
    QString paletteframe1() const { return m_colors[Paletteframe1]; }
    QString paletteframe2() const { return m_colors[Paletteframe2]; }
    QString paletteshadow1() const { return m_colors[Paletteshadow1]; }
    QString paletteshadow2() const { return m_colors[Paletteshadow2]; }
    QString subpalette1() const { return m_colors[Subpalette1]; }
    QString subpalette2() const { return m_colors[Subpalette2]; }
    QString subframe1() const { return m_colors[Subframe1]; }
    QString subframe2() const { return m_colors[Subframe2]; }
    QString subshadow1() const { return m_colors[Subshadow1]; }
    QString subshadow2() const { return m_colors[Subshadow2]; }
    QString iconfill() const { return m_colors[Iconfill]; }
    QString iconframe() const { return m_colors[Iconframe]; }
    QString iconshadow() const { return m_colors[Iconshadow]; }
    QString hilite() const { return m_colors[Hilite]; }
    QString border() const { return m_colors[Border]; }
    QString border2() const { return m_colors[Border2]; }
    QString buttonframe1() const { return m_colors[Buttonframe1]; }
    QString buttonframe2() const { return m_colors[Buttonframe2]; }
    QString sliderslit() const { return m_colors[Sliderslit]; }
    QString curve() const { return m_colors[Curve]; }
    QString ttext1() const { return m_colors[Ttext1]; }
    QString ttext2() const { return m_colors[Ttext2]; }
    QString dragdrop() const { return m_colors[Dragdrop]; }

Q_SIGNALS:
    void mainChanged();
    void main2Changed();
    void bt1Changed();
    void bt2Changed();
    void bt3Changed();
    void bt4Changed();
    void sw1Changed();
    void sw2Changed();
    void sw3Changed();
    void sw4Changed();
    void icn1Changed();
    void icn2Changed();
    void icn3Changed();
    void icn4Changed();
    void sl1Changed();
    void sl2Changed();
    void sl3Changed();
    void sl4Changed();
    void k1Changed();
    void k2Changed();
    void text1Changed();
    void text2Changed();
    void numbersChanged();
    void hnumbersChanged();
    void submenuChanged();
    void submenu2Changed();
    void menu1Changed();
    void menu2Changed();
    void title1Changed();
    void title2Changed();
    void palette1Changed();
    void palette2Changed();
    void paletteframe1Changed();
    void paletteframe2Changed();
    void paletteshadow1Changed();
    void paletteshadow2Changed();
    void subpalette1Changed();
    void subpalette2Changed();
    void subframe1Changed();
    void subframe2Changed();
    void subshadow1Changed();
    void subshadow2Changed();
    void iconfillChanged();
    void iconframeChanged();
    void iconshadowChanged();
    void hiliteChanged();
    void borderChanged();
    void border2Changed();
    void buttonframe1Changed();
    void buttonframe2Changed();
    void sliderslitChanged();
    void curveChanged();
    void ttext1Changed();
    void ttext2Changed();
    void dragdropChanged();

private:
    void notifyAll();

    QString m_colorsFilePath;
    std::array<QString, ColorCount> m_colors;
};
