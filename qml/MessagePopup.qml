import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A confirmation over a dimmed window: a title bar, a wrapped message, a cancel
// button (hideable) and an accept button that runs confirmAction and closes.
Popup {
    id: popup
    property string title: "Are you sure?"
    property string message: ""
    property bool showCancel: true
    // Called on accept, before the popup closes.
    property var confirmAction: null
    signal accepted()
    signal rejected()

    parent: Overlay.overlay
    x: parent ? Math.round((parent.width - width) / 2) : 0
    y: parent ? Math.round((parent.height - height) / 2) : 0
    width: 300
    height: 150
    modal: true
    dim: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape

    function accept() {
        if (typeof confirmAction === "function")
            confirmAction()
        accepted()
        close()
    }
    function reject() {
        rejected()
        close()
    }

    Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.45) }
    background: Rectangle {
        color: Style.backgroundTopColor
        border.color: Style.borderMainColor
    }
    contentItem: Item {
        Rectangle {
            id: titleBar
            width: parent.width
            height: 30
            color: Style.backgroundTopDarkColor
            border.color: Style.borderMainColor
            Text {
                anchors.fill: parent
                anchors.leftMargin: 10
                text: popup.title
                font: Style.genericText14
                color: Style.genericTextColor
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
            }
        }
        Text {
            objectName: "messageText"
            anchors.top: titleBar.bottom
            anchors.bottom: buttons.top
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.margins: 10
            text: popup.message
            textFormat: Text.StyledText
            font: Style.genericText12
            color: Style.genericTextColor
            wrapMode: Text.Wrap
            verticalAlignment: Text.AlignVCenter
        }
        Row {
            id: buttons
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 8
            spacing: 8
            TextButton {
                objectName: "cancelButton"
                text: "Cancel"
                visible: popup.showCancel
                onClicked: popup.reject()
            }
            TextButton {
                objectName: "acceptButton"
                text: "OK"
                onClicked: popup.accept()
            }
        }
    }
}
