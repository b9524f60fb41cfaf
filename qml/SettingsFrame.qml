import QtQuick 2.15
import "Themes"

// A framed box with a title strip, 300 wide; put its content inside.
Rectangle {
    id: frame
    property string title: ""
    property int titleHeight: 24
    default property alias content: body.data

    implicitWidth: 300
    implicitHeight: 120
    width: implicitWidth
    color: Style.backgroundTopColor
    border.color: Style.borderMainColor

    Rectangle {
        id: strip
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: frame.titleHeight
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor
        Text {
            anchors.left: parent.left
            anchors.leftMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: frame.title
            font: Style.genericText13
            color: Style.genericTextColor
        }
    }
    Item {
        id: body
        anchors.top: strip.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
    }
}
