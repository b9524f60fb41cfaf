import QtQuick 2.15
import "Themes"

// Six dots on a circle, turning once every 1250 ms; each dot fades in and out over
// about 250 ms as the turn passes it.
Item {
    id: indicator
    property bool running: true
    property color color: Style.genericTextColor
    // Position of the turn in dots, 0 to 6.
    property real phase: 0
    implicitWidth: 40
    implicitHeight: 40
    visible: running

    NumberAnimation on phase {
        from: 0
        to: 6
        duration: 1250
        loops: Animation.Infinite
        running: indicator.running && indicator.visible
    }
    Repeater {
        model: 6
        Rectangle {
            readonly property real dot: Math.max(4, indicator.width / 6)
            readonly property real angle: index * Math.PI / 3 - Math.PI / 2
            // How far the turn is from this dot, in dots, either way round.
            readonly property real distance: {
                var d = Math.abs(indicator.phase - index)
                return Math.min(d, 6 - d)
            }
            width: dot
            height: dot
            radius: dot / 2
            color: indicator.color
            x: (indicator.width - dot) / 2 + Math.cos(angle) * (indicator.width - dot) / 2
            y: (indicator.height - dot) / 2 + Math.sin(angle) * (indicator.height - dot) / 2
            // 250 ms is 1.2 dots of the 1250 ms turn.
            opacity: 0.25 + 0.75 * Math.max(0, 1 - distance / 1.2)
        }
    }
}
