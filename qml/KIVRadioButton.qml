import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A radio button drawn like the filter check box: a 16 × 16 round box with a 10 × 10
// mark in the favourite colour, its label in the settings text colour.
RadioButton {
    id: control
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    spacing: 6
    padding: 2
    font: Style.genericText13

    indicator: Rectangle {
        implicitWidth: 16
        implicitHeight: 16
        x: control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        radius: 8
        color: Style.editBoxBackgroundColor
        border.color: control.hovered ? "black" : Style.comboBoxBorderColor
        Rectangle {
            width: 10
            height: 10
            radius: 5
            anchors.centerIn: parent
            color: control.down ? Style.borderGeneralOpacityColor : Style.favoriteToggleColor
            visible: control.checked || control.down
        }
    }
    contentItem: Text {
        leftPadding: control.indicator.width + control.spacing
        text: control.text
        font: control.font
        color: Style.settingsTextColor
        verticalAlignment: Text.AlignVCenter
    }
}
