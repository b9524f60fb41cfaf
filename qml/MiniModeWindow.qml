import QtQuick 2.15
import QtQuick.Window 2.15

// The narrow favourites strip shown instead of the main window in mini mode.
Window {
    id: miniWindow
    objectName: "miniModeWindow"
    title: "Kivara"
    width: 132
    minimumWidth: 132
    maximumWidth: 132
    height: 616
    minimumHeight: 352
    visible: false
    color: "#2b2b2b"
}
