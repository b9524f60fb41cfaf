import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// ZBrush's UI layouts: extra folders to collect them from, and renaming of the
// user's own layouts (ZBrush's standard ones stay as they are).
Item {
    id: tab
    property var view: null
    property var window: null

    function addLocation(url) {
        sysData.addUILayoutLocation(url.toString())
    }
    function removeSelectedLocation() {
        var row = locations.currentIndex
        if (row < 0)
            return
        view.confirm("Remove the location " + locations.currentText + "?", function() {
            locations.currentIndex = -1
            sysData.removeUILayoutLocation(row)
        })
    }
    function renameSelectedLayout() {
        var row = layouts.currentIndex
        var layout = layouts.currentObject
        if (row < 0 || !layout || layout.readOnly)
            return
        view.edit("Rename Layout", layout.name, function(text) {
            if (text !== "")
                sysData.renameLayout(row, text)
        })
    }

    Flow {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 10

        SettingsFrame {
            title: "Locations"
            height: 270
            SettingsList {
                id: locations
                objectName: "layoutLocationsList"
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: 10
                height: 200
                model: sysData.uiLayoutLocations
            }
            Row {
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.margins: 6
                spacing: 4
                SmallIconButton {
                    objectName: "addLayoutLocationButton"
                    source: "Images/add.svg"
                    toolTipText: "Add a folder"
                    onClicked: locationChooser.open()
                }
                SmallIconButton {
                    objectName: "removeLayoutLocationButton"
                    source: "Images/delete.svg"
                    toolTipText: "Remove the selected folder"
                    enabled: locations.currentIndex >= 0
                    onClicked: tab.removeSelectedLocation()
                }
            }
        }

        SettingsFrame {
            title: "ZBrush UI Layout"
            height: 270
            SettingsList {
                id: layouts
                objectName: "layoutsList"
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: 10
                height: 200
                textRole: "name"
                model: sysData.uiLayouts
            }
            SmallIconButton {
                objectName: "renameLayoutButton"
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.margins: 6
                source: "Images/edit.svg"
                toolTipText: "Rename the selected layout"
                enabled: layouts.currentObject !== null && !layouts.currentObject.readOnly
                onClicked: tab.renameSelectedLayout()
            }
        }
    }

    FileChooser {
        id: locationChooser
        objectName: "layoutLocationChooser"
        onChosen: tab.addLocation(fileUrl)
    }
}
