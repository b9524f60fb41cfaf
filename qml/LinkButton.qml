import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A text that reads as a web link: the accent colour, underlined under the mouse.
AbstractButton {
    id: control
    property string toolTipText: ""

    implicitWidth: label.implicitWidth + leftPadding + rightPadding
    implicitHeight: Math.max(20, label.implicitHeight + topPadding + bottomPadding)
    padding: 2
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4
    font: Style.genericText12

    contentItem: Text {
        id: label
        text: control.text
        font: control.font
        color: Style.favoriteToggleColor
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        Rectangle {
            anchors.left: parent.left
            anchors.bottom: parent.bottom
            anchors.bottomMargin: Math.max(0, (parent.height - parent.contentHeight) / 2 - 1)
            width: Math.min(parent.width, parent.contentWidth)
            height: 1
            color: parent.color
            visible: control.hovered
        }
    }
    background: Item {}
    HoverHandler {
        cursorShape: Qt.PointingHandCursor
    }
    KIVToolTip {
        text: control.toolTipText
        visible: control.hovered && text !== ""
    }
}
