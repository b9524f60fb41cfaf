import QtQuick 2.15

// Wraps a GridView delegate so that it can be dragged onto another cell. Put the
// delegate's content inside; set grid and visualIndex. Clicks still reach the
// content. While dragging near the grid's top or bottom edge the grid scrolls; a
// drop on another item emits moveRequested(from, to) and brings the dropped item
// into view. The owner does the move (for example moveFavorite).
Item {
    id: root
    property GridView grid: null
    property int visualIndex: -1
    property bool dragEnabled: true
    // Only items with the same key accept each other.
    property string dragKey: "kivGridItem"
    // Distance of the pointer from the grid's edge that starts scrolling, and the step per tick.
    property int scrollMargin: 6
    property int scrollStep: 10
    readonly property bool dragging: mouse.drag.active
    default property alias content: holder.data
    signal moveRequested(int from, int to)

    width: grid ? grid.cellWidth : implicitWidth
    height: grid ? grid.cellHeight : implicitHeight

    Item {
        id: holder
        width: root.width
        height: root.height
        Drag.active: mouse.drag.active
        Drag.source: root
        Drag.keys: [root.dragKey]
        Drag.hotSpot.x: width / 2
        Drag.hotSpot.y: height / 2

        states: State {
            when: mouse.drag.active
            ParentChange { target: holder; parent: root.grid }
            PropertyChanges { target: holder; z: 100; opacity: 0.8 }
        }
    }

    MouseArea {
        id: mouse
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton
        // Clicks fall through to the content; only a drag is kept here.
        propagateComposedEvents: true
        drag.target: root.dragEnabled ? holder : null
        drag.threshold: 8
        onClicked: mouse.accepted = false
        onDoubleClicked: mouse.accepted = false
        onPressAndHold: mouse.accepted = false
        onReleased: {
            if (holder.Drag.active)
                holder.Drag.drop()
            holder.x = 0
            holder.y = 0
        }
    }

    DropArea {
        anchors.fill: parent
        keys: [root.dragKey]
        onDropped: {
            var source = drop.source
            if (!source || source === root || source.visualIndex < 0)
                return
            drop.accept()
            var target = root.visualIndex
            root.moveRequested(source.visualIndex, target)
            if (root.grid)
                root.grid.positionViewAtIndex(target, GridView.Contain)
        }
    }

    Timer {
        interval: 30
        repeat: true
        running: root.dragging && root.grid !== null
        onTriggered: {
            var g = root.grid
            var pointer = mouse.mapToItem(g, mouse.mouseX, mouse.mouseY)
            if (pointer.y < root.scrollMargin && !g.atYBeginning)
                g.contentY = Math.max(g.originY, g.contentY - root.scrollStep)
            else if (pointer.y > g.height - root.scrollMargin && !g.atYEnd)
                g.contentY = Math.min(g.originY + g.contentHeight - g.height, g.contentY + root.scrollStep)
        }
    }
}
