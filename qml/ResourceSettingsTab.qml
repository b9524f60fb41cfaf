import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// Settings of one catalogue: its extra library folders, its tags and its categories.
Item {
    id: tab
    // The settings view: dialogs, confirmations and the folder chooser's seam.
    property var view: null
    property var window: null
    // The catalogue service of the kind (brushData, alphaData, …).
    property var service: null

    // The folder chooser hands its choice here.
    function addLocation(url) {
        service.addResourceLocation(url.toString())
    }
    function removeSelectedLocation() {
        var row = locations.currentIndex
        if (row < 0)
            return
        view.confirm("Remove the location " + locations.currentText + "?", function() {
            locations.currentIndex = -1
            service.removeResourceLocation(row)
        })
    }
    function editSelectedTag() {
        var old = tags.currentText
        if (old === "")
            return
        view.edit("Edit Tag", old, function(text) {
            tags.currentIndex = -1
            service.renameTag(old, text)
        })
    }
    function removeSelectedTag() {
        var row = tags.currentIndex
        if (row < 0)
            return
        view.confirm("Remove the tag " + tags.currentText + " from every resource?", function() {
            tags.currentIndex = -1
            service.removeTag(row)
        })
    }
    function addCategory(text) {
        if (text === "")
            return
        service.addCategory(text)
    }
    function editSelectedCategory() {
        var old = categories.currentText
        if (old === "")
            return
        view.edit("Edit Category", old, function(text) {
            categories.currentIndex = -1
            service.renameCategory(old, text)
        })
    }
    function removeSelectedCategory() {
        var row = categories.currentIndex
        if (row < 0)
            return
        view.confirm("Remove the category " + categories.currentText + " from every resource?", function() {
            categories.currentIndex = -1
            service.removeCategory(row, true)
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
                objectName: "locationsList"
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: 10
                height: 200
                model: tab.service ? tab.service.resourceLocations : null
            }
            Row {
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.margins: 6
                spacing: 4
                SmallIconButton {
                    objectName: "addLocationButton"
                    source: "Images/add.svg"
                    toolTipText: "Add a folder"
                    onClicked: locationChooser.open()
                }
                SmallIconButton {
                    objectName: "removeLocationButton"
                    source: "Images/delete.svg"
                    toolTipText: "Remove the selected folder"
                    enabled: locations.currentIndex >= 0
                    onClicked: tab.removeSelectedLocation()
                }
            }
        }

        SettingsFrame {
            title: "Tags"
            height: 270
            SettingsList {
                id: tags
                objectName: "tagsList"
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: 10
                height: 200
                model: tab.service ? tab.service.tags : null
            }
            Row {
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.margins: 6
                spacing: 4
                SmallIconButton {
                    objectName: "editTagButton"
                    source: "Images/edit.svg"
                    toolTipText: "Rename the selected tag"
                    enabled: tags.currentIndex >= 0
                    onClicked: tab.editSelectedTag()
                }
                SmallIconButton {
                    objectName: "removeTagButton"
                    source: "Images/delete.svg"
                    toolTipText: "Remove the selected tag"
                    enabled: tags.currentIndex >= 0
                    onClicked: tab.removeSelectedTag()
                }
            }
        }

        SettingsFrame {
            title: "Categories"
            height: 270
            EditBox {
                id: newCategory
                objectName: "newCategoryField"
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: 10
                placeholderText: "Add a new category..."
                onAccepted: {
                    tab.addCategory(text)
                    text = ""
                }
            }
            SettingsList {
                id: categories
                objectName: "categoriesList"
                anchors.top: newCategory.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: 10
                anchors.topMargin: 6
                height: 170
                model: tab.service ? tab.service.filteredCategories : null
            }
            Row {
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.margins: 6
                spacing: 4
                SmallIconButton {
                    objectName: "editCategoryButton"
                    source: "Images/edit.svg"
                    toolTipText: "Rename the selected category"
                    enabled: categories.currentIndex >= 0
                    onClicked: tab.editSelectedCategory()
                }
                SmallIconButton {
                    objectName: "removeCategoryButton"
                    source: "Images/delete.svg"
                    toolTipText: "Remove the selected category"
                    enabled: categories.currentIndex >= 0
                    onClicked: tab.removeSelectedCategory()
                }
            }
        }
    }

    FileChooser {
        id: locationChooser
        objectName: "locationChooser"
        onChosen: tab.addLocation(fileUrl)
    }
}
