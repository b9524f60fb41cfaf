import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A full-width settings tab: left-aligned text and, at the right edge of the chosen
// tab, a 12 × 12 marker: a black square with the tab's colour painted over it in two
// triangles, which leaves a black arrow pointing left at the page. The marker is
// drawn into an image, so it repaints when the window reports a theme change.
TabButton {
    id: control
    // The main window, whose themeChanged() asks for a repaint.
    property var window: null
    readonly property color tabColor: checked ? Style.backgroundTopColor : Style.backgroundTopDarkColor

    implicitHeight: 32
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    font: Style.genericText13
    leftPadding: 8
    rightPadding: checked ? 19 : 8

    onTabColorChanged: marker.requestPaint()

    contentItem: Text {
        text: control.text
        font: control.font
        color: Style.genericTextColor
        horizontalAlignment: Text.AlignLeft
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        color: control.hovered && !control.checked ? Qt.lighter(control.tabColor, 1.2) : control.tabColor
        border.color: Style.borderMainColor
        Canvas {
            id: marker
            objectName: "tabMarker"
            width: 12
            height: 12
            anchors.right: parent.right
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            visible: control.checked
            // The colour it was last painted with, for tests.
            property color paintedColor: "transparent"
            onPaint: {
                var ctx = getContext("2d")
                ctx.reset()
                ctx.fillStyle = "black"
                ctx.fillRect(0, 0, width, height)
                ctx.fillStyle = control.tabColor
                ctx.beginPath()
                ctx.moveTo(0, 0)
                ctx.lineTo(width, 0)
                ctx.lineTo(0, height / 2)
                ctx.closePath()
                ctx.fill()
                ctx.beginPath()
                ctx.moveTo(0, height)
                ctx.lineTo(width, height)
                ctx.lineTo(0, height / 2)
                ctx.closePath()
                ctx.fill()
                paintedColor = control.tabColor
            }
        }
    }
    Connections {
        target: control.window
        ignoreUnknownSignals: true
        function onThemeChanged() { marker.requestPaint() }
    }
}
