import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// One entry of a KIVMenu: a 16 × 16 icon and the text, 200 × 30; white text when
// highlighted. Give the dark icon ("Images/x-dark.svg"); the highlighted row shows the
// light one beside its white text.
MenuItem {
    id: item
    implicitWidth: 200
    implicitHeight: 30
    leftPadding: 8
    hoverEnabled: true
    font: Style.genericText12
    icon.width: 16
    icon.height: 16

    contentItem: Row {
        spacing: 8
        Image {
            anchors.verticalCenter: parent.verticalCenter
            width: 16
            height: 16
            sourceSize: Qt.size(16, 16)
            source: item.highlighted ? item.icon.source.toString().replace("-dark.svg", ".svg") : item.icon.source
            visible: item.icon.source.toString() !== ""
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: item.text
            font: item.font
            color: item.highlighted ? "white" : "black"
        }
    }
    background: Rectangle {
        implicitWidth: 200
        implicitHeight: 30
        color: item.highlighted ? Style.backgroundTopDarkColor : "transparent"
    }
}
