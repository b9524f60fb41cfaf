import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A checkable 30 × 30 image button; checked, it sits on the selection colour at half
// opacity inside a black frame. Its tooltip waits a second.
AbstractButton {
    id: control
    property url source
    property string toolTipText: ""
    property int imageSize: 26

    implicitWidth: 30
    implicitHeight: 30
    padding: (implicitWidth - imageSize) / 2
    checkable: true
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4

    contentItem: Image {
        source: control.source
        sourceSize: Qt.size(control.imageSize, control.imageSize)
        fillMode: Image.PreserveAspectFit
    }
    background: Item {
        Rectangle {
            anchors.fill: parent
            color: Style.selectedButtonColor
            opacity: 0.5
            visible: control.checked
        }
        Rectangle {
            anchors.fill: parent
            color: "transparent"
            border.color: "black"
            border.width: control.checked || control.hovered ? 1 : 0
        }
    }
    KIVToolTip {
        text: control.toolTipText
        delay: 1000
        visible: control.hovered && text !== ""
    }
}
