import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// Read-only rich text with a vertical scroll bar; links open in the system browser.
ScrollView {
    id: box
    property alias text: area.text
    property alias textFormat: area.textFormat
    property alias textFont: area.font
    property alias color: area.color
    property alias textPadding: area.padding

    clip: true
    ScrollBar.vertical.policy: ScrollBar.AlwaysOn
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

    TextArea {
        id: area
        width: box.availableWidth
        readOnly: true
        selectByMouse: true
        textFormat: TextEdit.RichText
        wrapMode: TextEdit.Wrap
        padding: 10
        font: Style.genericText12
        color: Style.genericTextColor
        selectionColor: Style.textSelection
        selectedTextColor: Style.selectedText
        background: null
        palette.link: Style.favoriteToggleColor
        onLinkActivated: Qt.openUrlExternally(link)
        HoverHandler {
            cursorShape: area.hoveredLink !== "" ? Qt.PointingHandCursor : Qt.IBeamCursor
        }
    }
}
