import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// An image beside a text; framed under the mouse. At least 90 × 30.
AbstractButton {
    id: control
    property url source
    property string toolTipText: ""
    property int imageSize: 22

    implicitWidth: Math.max(90, row.implicitWidth + leftPadding + rightPadding)
    implicitHeight: 30
    leftPadding: 6
    rightPadding: 8
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4
    font: Style.genericText13

    contentItem: Item {
        Row {
            id: row
            anchors.centerIn: parent
            spacing: 6
            Image {
                anchors.verticalCenter: parent.verticalCenter
                source: control.source
                sourceSize: Qt.size(control.imageSize, control.imageSize)
                visible: control.source.toString() !== ""
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: control.text
                font: control.font
                color: Style.genericTextColor
            }
        }
    }
    background: Rectangle {
        color: "transparent"
        border.color: Style.borderMainColor
        border.width: control.hovered && control.enabled ? 1 : 0
    }
    KIVToolTip {
        text: control.toolTipText
        visible: control.hovered && text !== ""
    }
}
