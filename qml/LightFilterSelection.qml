import QtQuick 2.15
import "Themes"

// Light setups only, LightCaps only (both on or both off: no restriction).
Row {
    id: selection
    objectName: "lightFilterSelection"
    property var service: lightData

    function dropChoices() {
        if (service.lightFilter)
            service.filterLights(false)
        if (service.lightcapFilter)
            service.filterLightcap(false)
    }
    function uncheckAll() {
        lightButton.checked = false
        lightCapButton.checked = false
    }

    spacing: 16

    Column {
        spacing: 2
        ResourceToggle {
            id: lightButton
            objectName: "lightFilter"
            anchors.horizontalCenter: parent.horizontalCenter
            autoExclusive: false
            source: "Images/light.svg"
            toolTipText: "Light"
            checked: selection.service.lightFilter
            onToggled: selection.service.filterLights(checked)
        }
        Text {
            text: "Light"
            font: Style.genericText11
            color: Style.settingsTextColor
        }
    }
    Column {
        spacing: 2
        ResourceToggle {
            id: lightCapButton
            objectName: "lightCapFilter"
            anchors.horizontalCenter: parent.horizontalCenter
            autoExclusive: false
            source: "Images/lightcap.svg"
            toolTipText: "LightCap"
            checked: selection.service.lightcapFilter
            onToggled: selection.service.filterLightcap(checked)
        }
        Text {
            text: "LightCap"
            font: Style.genericText11
            color: Style.settingsTextColor
        }
    }
}
