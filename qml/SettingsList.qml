import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A framed list of the settings window: 20 px rows, a click selects, a double-click
// reports activated(row); each row's tooltip shows its whole text. Rows of a string
// list model show their display text, rows of an object list the property textRole.
Rectangle {
    id: box
    property alias model: list.model
    property alias currentIndex: list.currentIndex
    property alias count: list.count
    property string textRole: "display"
    property int rowHeight: 20
    readonly property string currentText: list.currentItem ? list.currentItem.text : ""
    readonly property var currentObject: list.currentItem ? list.currentItem.entry : null
    signal activated(int row)

    implicitWidth: 280
    implicitHeight: 200
    color: Style.editBoxBackgroundColor
    border.color: Style.comboBoxBorderColor

    ListView {
        id: list
        anchors.fill: parent
        anchors.margins: 1
        clip: true
        currentIndex: -1
        boundsBehavior: Flickable.StopAtBounds
        highlightMoveDuration: 0
        ScrollBar.vertical: ScrollBar {
            policy: list.contentHeight > list.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
        }
        delegate: Rectangle {
            id: row
            objectName: box.objectName + "_row" + index
            readonly property var entry: box.textRole === "display" ? null : modelData
            readonly property string text: box.textRole === "display" ? (model.display || "")
                                                                       : (modelData ? modelData[box.textRole] : "")
            width: ListView.view.width
            height: box.rowHeight
            color: ListView.isCurrentItem ? Style.brushBoxSelectedColor
                                          : mouse.containsMouse ? Style.brushBoxMouseOverColor : "transparent"
            Text {
                anchors.fill: parent
                anchors.leftMargin: 6
                anchors.rightMargin: 12
                text: row.text
                font: Style.genericText12
                color: Style.settingsTextColor
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideMiddle
            }
            MouseArea {
                id: mouse
                anchors.fill: parent
                hoverEnabled: true
                onClicked: list.currentIndex = index
                onDoubleClicked: {
                    list.currentIndex = index
                    box.activated(index)
                }
            }
            KIVToolTip {
                text: row.text
                visible: mouse.containsMouse && text !== ""
            }
        }
    }
}
