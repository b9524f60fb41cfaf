import QtQuick 2.15

// The shape of every theme: ten fonts and twenty-five colours. The values here are
// the built-in defaults, so a theme that leaves a colour out falls back to them.
QtObject {
    // The family of all ten fonts; the main window sets it to the program's typeface.
    property string fontFamily: ""

    // Font N is meant to be N pixels high: N points where a point is a pixel (macOS),
    // N × 0.75 points where the screen counts 96 dots per inch (Windows, Linux).
    function pointSize(size) {
        return Qt.platform.os === "osx" ? size : size * 0.75
    }
    function makeFont(size, bold, underline) {
        var font = Qt.font({ family: fontFamily, letterSpacing: 1.5, bold: bold, underline: underline })
        // Set apart: Qt.font() would round 8.25 points down to 8.
        font.pointSize = pointSize(size)
        return font
    }

    property font genericText11: makeFont(11, false, false)
    property font genericText12: makeFont(12, false, false)
    property font genericTextBold12: makeFont(12, true, false)
    property font genericText13: makeFont(13, false, false)
    property font genericText14: makeFont(14, false, false)
    property font genericTextBold14: makeFont(14, true, true)
    property font genericText15: makeFont(15, false, false)
    property font genericText16: makeFont(16, false, false)
    property font genericText18: makeFont(18, false, false)
    property font genericText22: makeFont(22, false, false)

    property color menuTextColor: "#FFCBCBCB"
    property color genericTextColor: "#ffe9eceb"
    property color settingsTextColor: "#FFCBCBCB"
    property color backgroundTopColor: "#FF2c2c2c"
    property color backgroundTopDarkColor: "#FF333333"
    property color borderMainColor: "#FF1b1b1b"
    property color borderGeneralOpacityColor: "#DF000000"
    property color editBoxBackgroundColor: "#FF1f1f1f"
    property color selectedButtonColor: "#FFff9026"
    property color dropDownArrowColor: "#FFff9026"
    property color separatorLineColor: "#FF6d6d6d"
    property color brushBoxBackgroundColor: "#FF303030"
    property color brushBoxBorderColor: "#FF181818"
    property color brushBoxSelectedColor: "#FF8b4d11"
    property color brushBoxSelectedCornerColor: "#FFff9026"
    property color brushBoxMouseOverColor: "#FF3e3e3e"
    property color brushBoxMouseOverCornerColor: "#FFc1c1c1"
    property color progressBarFillColor: "#FFff9026"
    property color toolTipBackgroundColor: "#DF0c0c0c"
    property color toolTipBorderColor: "#FF8b8b8b"
    property color favoriteToggleColor: "#FFff9026"
    property color comboBoxBorderColor: "#FF0b0b0b"
    property color collapseBackgroundColor: "#FF292929"
    property color backgroundMainBarColor: "#FF292929"
    property color favoriteToggleBackgroundColor: "#FF000000"
}
