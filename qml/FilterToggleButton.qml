import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A small checkable filter button: 26 × 26 with a 24 × 24 icon, or 26 high and as wide
// as its text when it has no icon. Black outline when checked or under the mouse;
// checked, it also sits on the selection colour at half opacity.
AbstractButton {
    id: control
    property url source: ""
    property string toolTipText: ""
    readonly property bool hasIcon: source.toString() !== ""

    leftPadding: hasIcon ? 1 : 6
    rightPadding: hasIcon ? 1 : 6
    // The measured width of the small spaced fonts leaves the letter spacing out.
    implicitWidth: hasIcon ? 26 : Math.max(26, label.implicitWidth + font.letterSpacing * text.length
                                               + leftPadding + rightPadding)
    implicitHeight: 26
    checkable: true
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4
    font: Style.genericText11

    contentItem: Text {
        id: label
        text: control.hasIcon ? "" : control.text
        font: control.font
        color: Style.genericTextColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    Image {
        anchors.centerIn: parent
        visible: control.hasIcon
        width: 24
        height: 24
        source: control.source
        sourceSize: Qt.size(24, 24)
        fillMode: Image.PreserveAspectFit
    }
    background: Item {
        Rectangle {
            anchors.fill: parent
            color: Style.collapseBackgroundColor
            visible: !control.hasIcon
        }
        Rectangle {
            anchors.fill: parent
            color: Style.selectedButtonColor
            opacity: 0.5
            visible: control.checked
        }
        Rectangle {
            anchors.fill: parent
            color: "transparent"
            border.color: "black"
            border.width: control.checked || control.hovered ? 1 : 0
        }
    }
    KIVToolTip {
        text: control.toolTipText
        delay: 1000
        visible: control.hovered && text !== ""
    }
}
