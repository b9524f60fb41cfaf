import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A combo box over category entries (objects with name, groupHeader and brushCount):
// group headers show in bold and cannot be chosen, categories are indented, and a
// category or group without brushes is hidden.
KIVComboBox {
    id: control
    textRole: "name"

    delegate: ItemDelegate {
        id: entry
        readonly property var item: modelData
        readonly property bool header: item && item.groupHeader === true
        // A group without brushes goes with its categories.
        readonly property bool empty: item && item.brushCount === 0
        objectName: "comboEntry_" + index
        width: control.popup.width
        height: empty ? 0 : control.rowHeight
        visible: !empty
        enabled: !header
        hoverEnabled: true
        highlighted: control.highlightedIndex === index
        contentItem: Text {
            leftPadding: entry.header ? 0 : 6
            text: entry.item ? entry.item.name : ""
            font: entry.header ? Style.genericTextBold14 : Style.genericText11
            color: Style.settingsTextColor
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }
        background: Rectangle {
            color: entry.highlighted && !entry.header ? Style.brushBoxSelectedColor : "transparent"
        }
    }
}
