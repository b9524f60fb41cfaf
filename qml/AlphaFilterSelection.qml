import QtQuick 2.15
import "Themes"

// The alpha filters in three columns: size class, bit depth, and "Ignored", which
// shows the hidden alphas instead of the others.
Row {
    id: selection
    objectName: "alphaFilterSelection"
    property var service: alphaData

    readonly property var sizes: [128, 256, 512, 1024, 2048, 4096]
    readonly property var depths: [8, 16, 32]

    function dropChoices() {
        for (var i = 0; i < sizes.length; ++i) {
            if (service.hasSizeFilter(sizes[i]))
                service.filterRemoveSize(sizes[i])
        }
        for (var j = 0; j < depths.length; ++j) {
            if (service.hasDepthFilter(depths[j]))
                service.filterRemoveDepth(depths[j])
        }
        if (service.ignoredFilter)
            service.filterIgnored(false)
    }
    function uncheckAll() {
        for (var i = 0; i < sizeButtons.count; ++i)
            sizeButtons.itemAt(i).checked = false
        for (var j = 0; j < depthButtons.count; ++j)
            depthButtons.itemAt(j).checked = false
        ignoredButton.checked = false
    }

    spacing: 10

    Column {
        spacing: 3
        Text {
            text: "Resolution"
            font: Style.genericTextBold12
            color: Style.settingsTextColor
        }
        Repeater {
            id: sizeButtons
            model: selection.sizes
            FilterAlphaToggleButton {
                objectName: "sizeFilter_" + modelData
                value: modelData
                text: modelData === 4096 ? "4096+" : String(modelData)
                toolTipText: text + " pixels"
                checked: selection.service.hasSizeFilter(modelData)
                onToggled: checked ? selection.service.filterAddSize(value) : selection.service.filterRemoveSize(value)
            }
        }
    }
    Column {
        spacing: 3
        Text {
            text: "Bit"
            font: Style.genericTextBold12
            color: Style.settingsTextColor
        }
        Repeater {
            id: depthButtons
            model: selection.depths
            FilterAlphaToggleButton {
                objectName: "depthFilter_" + modelData
                value: modelData
                text: modelData + "-bit"
                checked: selection.service.hasDepthFilter(modelData)
                onToggled: checked ? selection.service.filterAddDepth(value) : selection.service.filterRemoveDepth(value)
            }
        }
    }
    Column {
        spacing: 3
        Text {
            text: "General"
            font: Style.genericTextBold12
            color: Style.settingsTextColor
        }
        FilterAlphaToggleButton {
            id: ignoredButton
            objectName: "ignoredFilter"
            text: "Ignored"
            // The service's flag has no change signal: read once, as the button is made.
            Component.onCompleted: checked = selection.service.ignoredFilter
            onToggled: selection.service.filterIgnored(checked)
        }
    }
}
