import QtQuick 2.15
import "Themes"

// The thin upright line between groups of buttons in a bar.
Rectangle {
    implicitWidth: 1
    implicitHeight: 19
    color: Style.separatorLineColor
}
