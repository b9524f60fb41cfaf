import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A white pop-up menu with a black frame; fill it with KIVMenuItem.
Menu {
    id: menu
    padding: 1
    implicitWidth: 200
    delegate: KIVMenuItem {}
    background: Rectangle {
        implicitWidth: 200
        color: "white"
        border.color: "black"
    }
}
