import QtQuick 2.15
import "Themes"

// The brush type filters, grouped as ZBrush groups its brushes. Each button stands
// for a brush type number; "No Type" (-1) admits brushes without a type.
Column {
    id: selection
    objectName: "brushFilterSelection"
    property var service: brushData

    readonly property var groups: [
        { title: "Sculpting", types: [["Standard", 1], ["Stroke", 2], ["Drag", 9], ["Curve", 10],
                                      ["Planar, Trim & Polish", 11], ["Buildup", 12], ["Layer", 33], ["Clay", 14],
                                      ["Spray", 19], ["Colored Spray", 20], ["Drag Dot", 21], ["Line", 43],
                                      ["Bevel", 53], ["Extrude", 54], ["Scribe", 59], ["Pattern", 60]] },
        { title: "Editing", types: [["Clip", 18], ["Masking", 24], ["Select", 25], ["Pen", 32], ["Contrast", 55],
                                    ["Knife", 56], ["Mesh", 58]] },
        { title: "Vector", types: [["Chisel", 3], ["Vector Displacement", 4]] },
        { title: "Insert", types: [["IMM", 5], ["IM", 6], ["IMMC", 7], ["IMMB", 8], ["Boolean", 13], ["Nano", 45]] },
        { title: "2D", types: [["Sketch", 35], ["Paint", 16]] },
        { title: "Curve", types: [["Stroke Curve", 47], ["Deco Curve", 48], ["Alpha Curve", 52]] },
        { title: "Modifying", types: [["Smooth", 15], ["Move", 17], ["Mallet", 44], ["Nudge", 28], ["Snakehook", 30],
                                      ["Elastic", 29], ["Magnify", 36], ["Pinch", 26], ["Morph", 23], ["Project", 38],
                                      ["Blur", 39], ["Displace", 40], ["Inflate", 41], ["Pump", 42], ["Noise", 46],
                                      ["Snake Curve", 57]] },
        { title: "Dynamic", types: [["Cloth", 51], ["Groom", 34]] },
        { title: "Geometry", types: [["ZModeler", 27]] },
        { title: "Utility", types: [["Topo", 31], ["Utility", 22], ["History", 49], ["XTract", 50]] },
        { title: "Miscellaneous", types: [["No Type", -1]] }
    ]

    // The service forgets every chosen type (the proxy is reset by the caller).
    function dropChoices() {
        for (var g = 0; g < groups.length; ++g) {
            for (var t = 0; t < groups[g].types.length; ++t) {
                var type = String(groups[g].types[t][1])
                if (service.hasTypeFilter(type))
                    service.setTypeFilter(type, false)
            }
        }
    }
    function uncheckAll() {
        for (var g = 0; g < groupRepeater.count; ++g)
            groupRepeater.itemAt(g).uncheckAll()
    }

    width: parent ? parent.width : 200
    spacing: 6

    Repeater {
        id: groupRepeater
        model: selection.groups
        Column {
            width: selection.width
            spacing: 4
            function uncheckAll() {
                for (var i = 0; i < buttons.count; ++i)
                    buttons.itemAt(i).checked = false
            }
            Text {
                text: modelData.title
                font: Style.genericTextBold12
                color: Style.settingsTextColor
            }
            Flow {
                width: parent.width
                spacing: 3
                Repeater {
                    id: buttons
                    model: modelData.types
                    FilterToggleButton {
                        objectName: "typeFilter_" + modelData[1]
                        text: modelData[0]
                        checked: selection.service.hasTypeFilter(String(modelData[1]))
                        onToggled: selection.service.setTypeFilter(String(modelData[1]), checked)
                    }
                }
            }
        }
    }
}
