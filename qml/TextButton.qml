import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A plain text button on the collapse-bar background, optionally framed.
AbstractButton {
    id: control
    property bool framed: true
    property string toolTipText: ""

    implicitWidth: Math.max(60, label.implicitWidth + leftPadding + rightPadding)
    implicitHeight: 30
    leftPadding: 10
    rightPadding: 10
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4
    font: Style.genericText12

    contentItem: Text {
        id: label
        text: control.text
        font: control.font
        color: Style.genericTextColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        color: control.down ? Qt.darker(Style.collapseBackgroundColor, 1.3)
                            : control.hovered && control.enabled ? Qt.lighter(Style.collapseBackgroundColor, 1.3)
                                                                 : Style.collapseBackgroundColor
        border.color: Style.borderMainColor
        border.width: control.framed ? 1 : 0
    }
    KIVToolTip {
        text: control.toolTipText
        visible: control.hovered && text !== ""
    }
}
