import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// Progress from 0 to 100 as a 4 px line in the progress colour.
ProgressBar {
    id: control
    from: 0
    to: 100
    implicitWidth: 100
    implicitHeight: 4
    background: Rectangle {
        implicitHeight: 4
        color: Style.borderMainColor
    }
    contentItem: Item {
        implicitHeight: 4
        Rectangle {
            width: control.visualPosition * parent.width
            height: parent.height
            color: Style.progressBarFillColor
        }
    }
}
