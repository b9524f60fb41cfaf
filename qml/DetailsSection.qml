import QtQuick 2.15
import "Themes"

// One section of a details panel: a 24 px title bar over its content.
Column {
    id: section
    property string title: ""
    default property alias content: body.data

    width: parent ? parent.width : 0
    spacing: 6

    Rectangle {
        width: section.width
        height: 24
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor
        Text {
            anchors.fill: parent
            anchors.leftMargin: 8
            text: section.title
            font: Style.genericText13
            color: Style.genericTextColor
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }
    }
    Column {
        id: body
        x: 8
        width: section.width - 16
        spacing: 6
    }
    Item { width: 1; height: 2 }
}
