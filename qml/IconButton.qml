import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A 30 × 30 button showing a 26 × 26 image, framed in black under the mouse.
AbstractButton {
    id: control
    property url source
    property string toolTipText: ""
    property int toolTipDelay: 500
    property int imageSize: 26

    implicitWidth: 30
    implicitHeight: 30
    padding: (implicitWidth - imageSize) / 2
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4

    contentItem: Image {
        source: control.source
        sourceSize: Qt.size(control.imageSize, control.imageSize)
        fillMode: Image.PreserveAspectFit
    }
    background: Rectangle {
        color: "transparent"
        border.color: "black"
        border.width: control.hovered && control.enabled ? 1 : 0
    }
    KIVToolTip {
        text: control.toolTipText
        delay: control.toolTipDelay
        visible: control.hovered && text !== ""
    }
}
