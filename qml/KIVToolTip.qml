import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The program's tooltip: above its control, 90 % opaque, in the tooltip colours.
ToolTip {
    id: tip
    font: Style.genericText14
    padding: 6
    margins: 6
    opacity: 0.9
    y: -height - 6
    // Shown while its control is under the mouse; closing on a press elsewhere would
    // swallow that press.
    closePolicy: Popup.NoAutoClose
    contentItem: Text {
        text: tip.text
        font: tip.font
        color: Style.genericTextColor
        wrapMode: Text.Wrap
    }
    background: Rectangle {
        color: Style.toolTipBackgroundColor
        border.color: Style.toolTipBorderColor
    }
}
