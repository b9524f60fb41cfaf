import QtQuick 2.15
import "Themes"

// A framed box of the store's left column with a title strip; its content goes below
// the strip and decides the height.
Rectangle {
    id: box
    property string title: ""
    default property alias content: body.data

    height: strip.height + body.childrenRect.height + 8
    color: Style.backgroundTopColor
    border.color: Style.borderMainColor

    Rectangle {
        id: strip
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: 24
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor
        Text {
            anchors.left: parent.left
            anchors.leftMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: box.title
            font: Style.genericText13
            color: Style.genericTextColor
        }
    }
    Item {
        id: body
        anchors.top: strip.bottom
        anchors.topMargin: 4
        anchors.left: parent.left
        anchors.leftMargin: 1
        anchors.right: parent.right
        anchors.rightMargin: 1
        height: childrenRect.height
    }
}
