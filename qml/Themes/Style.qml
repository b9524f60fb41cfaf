pragma Singleton
import QtQuick 2.15

// The one place every screen takes its fonts and colours from. Each colour comes
// from ZBrush's own interface while colour sync is on, otherwise from the current
// theme, otherwise from the built-in default (a theme leaves out what it does not set).
Theme {
    id: style

    // The theme in use; null means the built-in defaults.
    property Theme current: null

    // Selected text in editable boxes looks the same in every theme.
    readonly property color textSelection: "#CC979797"
    readonly property color selectedText: "#FF161616"

    readonly property Theme theme_dark: Theme_Dark { fontFamily: style.fontFamily }
    readonly property Theme theme_apothic: Theme_Apothic { fontFamily: style.fontFamily }
    readonly property Theme theme_earthen: Theme_Earthen { fontFamily: style.fontFamily }
    readonly property Theme theme_evergreen: Theme_Evergreen { fontFamily: style.fontFamily }
    readonly property Theme theme_frosty: Theme_Frosty { fontFamily: style.fontFamily }
    readonly property Theme theme_lagoon: Theme_Lagoon { fontFamily: style.fontFamily }
    readonly property Theme theme_nightlife: Theme_Nightlife { fontFamily: style.fontFamily }
    readonly property Theme theme_parchment: Theme_Parchment { fontFamily: style.fontFamily }
    readonly property Theme theme_summertime: Theme_Summertime { fontFamily: style.fontFamily }
    readonly property Theme theme_kivblue: Theme_KIVBlue { fontFamily: style.fontFamily }
    readonly property Theme theme_kivbrownlegacy: Theme_KIVBrownLegacy { fontFamily: style.fontFamily }
    readonly property Theme theme_zbrushblue: Theme_ZBrushBlue { fontFamily: style.fontFamily }
    readonly property Theme theme_zbrushgray: Theme_ZBrushGray { fontFamily: style.fontFamily }
    readonly property Theme theme_quillmark: Theme_Quillmark { fontFamily: style.fontFamily }
    readonly property Theme theme_hearthstone: Theme_Hearthstone { fontFamily: style.fontFamily }
    readonly property Theme theme_test: Theme_Test { fontFamily: style.fontFamily }

    // The themes offered to the user, in menu order; "Default" is the built-in one.
    readonly property var themeNames: ["Default", "Apothic", "Earthen", "Evergreen", "Frosty", "Lagoon",
        "Nightlife", "Parchment", "Summertime", "KIV Blue", "KIV Brown Legacy", "ZBrush Blue",
        "ZBrush Gray", "Quillmark", "Hearthstone"]
    readonly property var themes: [null, theme_apothic, theme_earthen, theme_evergreen, theme_frosty,
        theme_lagoon, theme_nightlife, theme_parchment, theme_summertime, theme_kivblue,
        theme_kivbrownlegacy, theme_zbrushblue, theme_zbrushgray, theme_quillmark, theme_hearthstone]

    // The theme of a display name; null for "Default" and for names not in the list.
    function themeFor(name) {
        var index = themeNames.indexOf(name)
        return index < 0 ? null : themes[index]
    }
    // Makes the named theme current; an unknown name gives the defaults.
    function selectTheme(name) {
        current = themeFor(name)
    }
    // The display name of the current theme, "Default" when none is chosen.
    function currentThemeName() {
        var index = themes.indexOf(current)
        return index < 0 ? "Default" : themeNames[index]
    }

    readonly property Theme defaults: Theme {}
    readonly property Theme chosen: current !== null ? current : defaults

    // Sync needs the system service with the setting on and ZBrush's colours published.
    readonly property bool synced: typeof sysData !== "undefined" && sysData !== null
                                   && sysData.zbrushUiColorSync
                                   && typeof zuiColor !== "undefined" && zuiColor !== null

    menuTextColor: synced ? zuiColor.menu1 : chosen.menuTextColor
    genericTextColor: synced ? zuiColor.text2 : chosen.genericTextColor
    settingsTextColor: synced ? zuiColor.menu1 : chosen.settingsTextColor
    backgroundTopColor: synced ? zuiColor.main : chosen.backgroundTopColor
    backgroundTopDarkColor: synced ? zuiColor.subpalette1 : chosen.backgroundTopDarkColor
    borderMainColor: synced ? zuiColor.subframe1 : chosen.borderMainColor
    borderGeneralOpacityColor: synced ? zuiColor.buttonframe1 : chosen.borderGeneralOpacityColor
    editBoxBackgroundColor: synced ? "#FF1f1f1f" : chosen.editBoxBackgroundColor
    selectedButtonColor: synced ? zuiColor.sw1 : chosen.selectedButtonColor
    dropDownArrowColor: synced ? zuiColor.sw1 : chosen.dropDownArrowColor
    separatorLineColor: synced ? zuiColor.paletteframe1 : chosen.separatorLineColor
    brushBoxBackgroundColor: synced ? zuiColor.subpalette1 : chosen.brushBoxBackgroundColor
    brushBoxBorderColor: synced ? zuiColor.buttonframe1 : chosen.brushBoxBorderColor
    brushBoxSelectedColor: synced ? zuiColor.sw1 : chosen.brushBoxSelectedColor
    brushBoxSelectedCornerColor: synced ? zuiColor.sw1 : chosen.brushBoxSelectedCornerColor
    brushBoxMouseOverColor: synced ? zuiColor.paletteframe1 : chosen.brushBoxMouseOverColor
    brushBoxMouseOverCornerColor: synced ? zuiColor.paletteframe1 : chosen.brushBoxMouseOverCornerColor
    progressBarFillColor: synced ? zuiColor.sw1 : chosen.progressBarFillColor
    toolTipBackgroundColor: synced ? "#DF0c0c0c" : chosen.toolTipBackgroundColor
    toolTipBorderColor: synced ? zuiColor.paletteframe1 : chosen.toolTipBorderColor
    favoriteToggleColor: synced ? zuiColor.sw1 : chosen.favoriteToggleColor
    comboBoxBorderColor: synced ? zuiColor.subframe1 : chosen.comboBoxBorderColor
    collapseBackgroundColor: synced ? zuiColor.main : chosen.collapseBackgroundColor
    backgroundMainBarColor: synced ? zuiColor.main : chosen.backgroundMainBarColor
    favoriteToggleBackgroundColor: synced ? zuiColor.title1 : chosen.favoriteToggleBackgroundColor
}
