import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// Covers a window while long work runs: the busy indicator, what is being done and,
// when the work counts its steps, a progress bar. It cannot be closed by the user;
// the owner closes it when the work reports back.
Popup {
    id: popup
    property string text: ""
    // 0 to 100, or below 0 for work that does not count.
    property int progress: -1

    parent: Overlay.overlay
    x: parent ? Math.round((parent.width - width) / 2) : 0
    y: parent ? Math.round((parent.height - height) / 2) : 0
    width: 300
    height: 120
    modal: true
    dim: true
    padding: 0
    closePolicy: Popup.NoAutoClose

    Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.45) }
    background: Rectangle {
        color: Style.backgroundTopColor
        border.color: Style.borderMainColor
    }
    contentItem: Item {
        KIVBusyIndicator {
            id: indicator
            objectName: "busyIndicator"
            anchors.left: parent.left
            anchors.leftMargin: 20
            anchors.verticalCenter: parent.verticalCenter
            width: 40
            height: 40
            running: popup.visible
        }
        Text {
            objectName: "busyText"
            anchors.left: indicator.right
            anchors.leftMargin: 16
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.verticalCenter: parent.verticalCenter
            text: popup.text
            font: Style.genericText13
            color: Style.genericTextColor
            wrapMode: Text.Wrap
        }
        KIVProgressBar {
            objectName: "busyProgress"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 12
            visible: popup.progress >= 0
            value: Math.max(0, popup.progress)
        }
    }
}
