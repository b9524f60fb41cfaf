import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3
import "Themes"

// Name and colour of a favourites set, over a dimmed window. Accept runs
// confirmAction(name, colour) and closes; the colour is handed over as the text
// the library stores ("#AARRGGBB").
Popup {
    id: popup
    property string title: "Add New Favorite Set"
    property alias name: nameField.text
    property color color: Style.backgroundTopDarkColor
    // Called on accept with the name and the colour text, before the popup closes.
    property var confirmAction: null
    // Names of the other sets: a set of the same name would not be made.
    property var takenNames: []
    readonly property bool nameTaken: takenNames.indexOf(name) >= 0
    readonly property bool acceptable: name.trim() !== "" && !nameTaken
    signal accepted(string name, string color)
    signal rejected()

    parent: Overlay.overlay
    x: parent ? Math.round((parent.width - width) / 2) : 0
    y: parent ? Math.round((parent.height - height) / 2) : 0
    width: 300
    height: 500
    modal: true
    dim: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape
    onOpened: {
        nameField.forceActiveFocus()
        nameField.selectAll()
    }

    // Opens for a new set: empty name, the theme's dark background as colour.
    function openForNew(otherNames) {
        title = "Add New Favorite Set"
        takenNames = otherNames || []
        name = ""
        color = Style.backgroundTopDarkColor
        open()
    }
    function openForEdit(setName, setColor, otherNames) {
        title = "Edit Favorite Set"
        takenNames = otherNames || []
        name = setName
        color = setColor
        open()
    }
    // Always with the alpha channel: QML writes "#rrggbb" for opaque colours.
    function colorText(c) {
        function hex(v) {
            var text = Math.round(v * 255).toString(16)
            return text.length < 2 ? "0" + text : text
        }
        return "#" + hex(c.a) + hex(c.r) + hex(c.g) + hex(c.b)
    }
    function accept() {
        if (!acceptable)
            return
        var text = colorText(color)
        if (typeof confirmAction === "function")
            confirmAction(name, text)
        accepted(name, text)
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
                objectName: "favoritePopupTitle"
                anchors.fill: parent
                anchors.leftMargin: 10
                text: popup.title
                font: Style.genericText14
                color: Style.genericTextColor
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
            }
        }
        Column {
            anchors.top: titleBar.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.margins: 10
            spacing: 10
            SettingsFrame {
                width: parent.width
                // Room below the field for the note on a taken name.
                height: 88
                title: "Name"
                EditBox {
                    id: nameField
                    objectName: "favoriteNameField"
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.top: parent.top
                    anchors.margins: 8
                    placeholderText: "Name"
                    onAccepted: popup.accept()
                }
                Text {
                    objectName: "favoriteNameTaken"
                    anchors.top: nameField.bottom
                    anchors.left: nameField.left
                    anchors.topMargin: 3
                    visible: popup.nameTaken
                    text: "A set of this name exists."
                    font: Style.genericText11
                    color: Style.genericTextColor
                }
            }
            SettingsFrame {
                width: parent.width
                height: 70
                title: "Color"
                Rectangle {
                    id: swatch
                    objectName: "favoriteColorSwatch"
                    anchors.left: parent.left
                    anchors.leftMargin: 8
                    anchors.verticalCenter: parent.verticalCenter
                    width: 60
                    height: 28
                    color: popup.color
                    border.color: swatchMouse.containsMouse ? "black" : Style.comboBoxBorderColor
                    MouseArea {
                        id: swatchMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            colorDialog.color = popup.color
                            colorDialog.open()
                        }
                    }
                }
                Text {
                    anchors.left: swatch.right
                    anchors.leftMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    text: popup.colorText(popup.color).toUpperCase()
                    font: Style.genericText12
                    color: Style.genericTextColor
                }
            }
        }
        Row {
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 8
            spacing: 8
            TextButton {
                objectName: "favoriteCloseButton"
                text: "Close"
                onClicked: popup.reject()
            }
            TextButton {
                objectName: "favoriteAcceptButton"
                text: "OK"
                enabled: popup.acceptable
                onClicked: popup.accept()
            }
        }
    }

    ColorDialog {
        id: colorDialog
        objectName: "favoriteColorDialog"
        title: "Choose a color"
        showAlphaChannel: true
        modality: Qt.ApplicationModal
        onAccepted: popup.color = colorDialog.color
    }
}
