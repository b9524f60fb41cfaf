import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// One of a group of exclusive 30 × 30 image buttons (the kinds in the top bar);
// framed in black when checked or under the mouse.
AbstractButton {
    id: control
    property url source
    property string toolTipText: ""

    implicitWidth: 30
    implicitHeight: 30
    padding: 2
    checkable: true
    autoExclusive: true
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4

    contentItem: Image {
        source: control.source
        sourceSize: Qt.size(26, 26)
        fillMode: Image.PreserveAspectFit
    }
    background: Rectangle {
        color: control.checked ? Qt.rgba(0, 0, 0, 0.25) : "transparent"
        border.color: "black"
        border.width: control.checked || control.hovered ? 1 : 0
    }
    KIVToolTip {
        text: control.toolTipText
        visible: control.hovered && text !== ""
    }
}
