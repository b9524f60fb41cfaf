import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A checkable text button, 25 high, framed in black when checked or under the mouse.
// Checked, it also sits on the selection colour at half opacity so the state reads at
// a glance in long lists (categories, tags, types).
AbstractButton {
    id: control
    property string toolTipText: ""

    implicitWidth: Math.max(40, label.implicitWidth + leftPadding + rightPadding)
    implicitHeight: 25
    leftPadding: 8
    rightPadding: 8
    checkable: true
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4
    font: Style.genericText12

    contentItem: Text {
        id: label
        text: control.text
        font: control.font
        color: Style.genericTextColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Item {
        Rectangle {
            anchors.fill: parent
            color: Style.collapseBackgroundColor
        }
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
