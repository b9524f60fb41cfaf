import QtQuick 2.15
import QtQuick.Window 2.15

// The main window; its columns are filled in by the views as they arrive.
Window {
    id: mainWindow
    objectName: "mainWindow"
    title: "Kivara"
    width: 1304
    height: 616
    minimumWidth: 290
    minimumHeight: 300
    visible: true
    color: "#2b2b2b"

    Text {
        anchors.centerIn: parent
        color: "#d0d0d0"
        font.pixelSize: 18
        text: "Kivara"
    }
}
