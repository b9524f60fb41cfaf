import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A 30 × 30 radio-style icon toggle (exclusive among its siblings unless autoExclusive
// is turned off), with a black outline when checked or under the mouse.
RadioButton {
    id: control
    property url source: ""
    property string toolTipText: ""

    implicitWidth: 30
    implicitHeight: 30
    padding: 3
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4

    indicator: null
    contentItem: Image {
        source: control.source
        sourceSize: Qt.size(24, 24)
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
