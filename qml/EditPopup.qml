import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// Asks for a name over a dimmed window; accept runs confirmAction(text) and closes.
Popup {
    id: popup
    property string title: "Edit Text"
    property alias text: field.text
    // Called on accept with the text, before the popup closes.
    property var confirmAction: null
    signal accepted(string text)
    signal rejected()

    parent: Overlay.overlay
    x: parent ? Math.round((parent.width - width) / 2) : 0
    y: parent ? Math.round((parent.height - height) / 2) : 0
    width: 300
    height: 160
    modal: true
    dim: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape
    onOpened: {
        field.forceActiveFocus()
        field.selectAll()
    }

    function accept() {
        if (typeof confirmAction === "function")
            confirmAction(field.text)
        accepted(field.text)
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
            id: label
            anchors.top: titleBar.bottom
            anchors.left: parent.left
            anchors.margins: 10
            text: "Name"
            font: Style.genericText12
            color: Style.settingsTextColor
        }
        EditBox {
            id: field
            objectName: "nameField"
            anchors.top: label.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.margins: 10
            anchors.topMargin: 4
            placeholderText: "Name"
            onAccepted: popup.accept()
        }
        Row {
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 8
            spacing: 8
            TextButton {
                objectName: "cancelButton"
                text: "Cancel"
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
