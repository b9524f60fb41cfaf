import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A check box with a 16 × 16 rounded box and a 10 × 10 mark in the favourite colour
// (the pressed mark in the pressed colour); the label wraps.
CheckBox {
    id: control
    property string toolTipText: ""

    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    spacing: 6
    padding: 2
    opacity: enabled ? 1.0 : 0.4
    font: Style.genericText11
    implicitWidth: leftPadding + rightPadding + contentItem.implicitWidth
    implicitHeight: topPadding + bottomPadding + Math.max(16, contentItem.implicitHeight)

    indicator: Rectangle {
        implicitWidth: 16
        implicitHeight: 16
        x: control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        radius: 3
        color: Style.editBoxBackgroundColor
        border.color: control.hovered ? "black" : Style.comboBoxBorderColor
        Rectangle {
            width: 10
            height: 10
            radius: 2
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
        // Wraps, between words, only when the box is given less room than its label needs
        // (measured widths with letter spacing come out a pixel or two short).
        wrapMode: control.width < control.implicitWidth ? Text.WordWrap : Text.NoWrap
        verticalAlignment: Text.AlignVCenter
    }
    KIVToolTip {
        text: control.toolTipText
        visible: control.hovered && text !== ""
    }
}
