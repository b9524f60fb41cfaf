import QtQuick 2.15
import "Themes"

// One filter button per tag of the kind; a resource passes when it carries any
// chosen tag.
Flow {
    id: box
    objectName: "tagBox"
    property var service: null

    function dropChoices() {
        for (var i = 0; i < buttons.count; ++i) {
            var tag = buttons.itemAt(i).text
            if (service.hasTagFilter(tag))
                service.removeTagFilter(tag)
        }
    }
    function uncheckAll() {
        for (var i = 0; i < buttons.count; ++i)
            buttons.itemAt(i).checked = false
    }

    width: parent ? parent.width : 200
    spacing: 3

    Repeater {
        id: buttons
        model: box.service ? box.service.tags : null
        FilterToggleButton {
            objectName: "tagFilter_" + model.display
            text: model.display
            checked: box.service.hasTagFilter(model.display)
            onToggled: checked ? box.service.addTagFilter(text) : box.service.removeTagFilter(text)
        }
    }
}
