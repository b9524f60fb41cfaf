import QtQuick 2.15
import "Themes"

// The 20 px bar beside a column: an expand or collapse sign near the top and the
// column's title turned on its side. A click anywhere on it emits clicked();
// whoever owns the column decides whether it may fold.
Rectangle {
    id: bar
    property string title: ""
    property bool collapsed: false
    signal clicked()

    implicitWidth: 20
    color: mouse.containsMouse ? Qt.lighter(Style.collapseBackgroundColor, 1.25) : Style.collapseBackgroundColor
    border.color: Style.borderMainColor

    Image {
        anchors.horizontalCenter: parent.horizontalCenter
        y: 4
        width: 16
        height: 16
        sourceSize: Qt.size(16, 16)
        source: bar.collapsed ? "Images/expand.svg" : "Images/collapse.svg"
    }
    Text {
        anchors.centerIn: parent
        rotation: 90
        text: bar.title
        font: Style.genericText12
        color: Style.genericTextColor
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: bar.clicked()
    }
}
