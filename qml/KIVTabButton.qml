import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A tab of a tab bar, 32 high; the checked tab takes the panel colour.
TabButton {
    id: control
    implicitHeight: 32
    // Three tabs share a 250 px column; the words need the room.
    leftPadding: 2
    rightPadding: 2
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    font: Style.genericText14

    contentItem: Text {
        text: control.text
        font: control.font
        color: Style.genericTextColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        color: control.checked ? Style.backgroundTopColor : Style.backgroundTopDarkColor
        border.color: Style.borderMainColor
    }
}
