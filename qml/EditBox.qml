import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A one-line text field, 28 high, in the edit-box colours.
TextField {
    id: control
    implicitHeight: 28
    font: Style.genericText12
    color: Style.genericTextColor
    placeholderTextColor: Qt.rgba(color.r, color.g, color.b, 0.45)
    selectionColor: Style.textSelection
    selectedTextColor: Style.selectedText
    selectByMouse: true
    leftPadding: 6
    rightPadding: 6
    topPadding: 2
    bottomPadding: 2
    verticalAlignment: TextInput.AlignVCenter
    background: Rectangle {
        color: Style.editBoxBackgroundColor
        border.color: control.activeFocus ? Qt.lighter(Style.comboBoxBorderColor, 2.5) : Style.comboBoxBorderColor
    }
}
