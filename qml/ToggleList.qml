import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// A 125 px scrolling field of text toggle buttons, one per entry of a list model
// (categories, tags). Each button shows isOn(text); a click reports the wanted state
// and leaves the state to whoever answers isOn.
Rectangle {
    id: list
    property var model: null
    // Takes an entry's text, answers whether its button is on.
    property var isOn: function(text) { return false }
    // Changes whenever isOn may answer differently.
    property int revision: 0
    // objectName prefix of the buttons; the entry's text follows.
    property string buttonName: "toggle_"

    signal toggled(string text, bool on)

    height: 125
    color: Style.editBoxBackgroundColor
    border.color: Style.comboBoxBorderColor

    Flickable {
        id: flick
        anchors.fill: parent
        anchors.margins: 4
        contentHeight: flow.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
        Flow {
            id: flow
            width: flick.width - 8
            spacing: 4
            Repeater {
                model: list.model
                TextToggleButton {
                    readonly property string entry: model.display
                    objectName: list.buttonName + entry
                    text: entry
                    // The check state is bound; a click toggles a checked button (one that is
                    // checked is made checkable), so the binding is put back at once.
                    readonly property bool lit: (list.revision, list.isOn(entry))
                    checked: lit
                    width: Math.min(implicitWidth, flow.width)
                    onClicked: {
                        var wanted = !lit
                        checked = Qt.binding(function() { return lit })
                        list.toggled(entry, wanted)
                    }
                }
            }
        }
    }
}
