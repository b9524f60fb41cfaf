import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The "Filter" tab of the current kind: the maker's category (brushes), the user
// category, the kind's type filters and the tag filters.
Item {
    id: filterTab
    objectName: "filterTabContent"

    property var window: null
    readonly property string kindWord: window ? window.currentKind : ""
    readonly property var service: window ? window.currentService : null
    readonly property bool showKiv: kindWord === "brush" && sysData.showKIVCategory
    readonly property url typesSource: kindWord === "brush" ? "BrushFilterSelection.qml"
                                     : kindWord === "alpha" ? "AlphaFilterSelection.qml"
                                     : kindWord === "light" ? "LightFilterSelection.qml" : ""

    // Rows of the view change meaning when it filters anew.
    function clearSelection() {
        if (!window)
            return
        if (window.currentView)
            window.currentView.currentRow = -1
        window.setSelection(kindWord, [])
    }
    function chooseKivCategory(index) {
        var entry = brushData.kivCategoriesModel[index]
        if (!entry)
            return
        brushData.filterByKIVCategory(entry.name)
        brushData.kivCatFilter = index
        clearSelection()
    }
    function chooseCategory(index) {
        if (!service || index < 0)
            return
        service.filterByCategory(categoryBox.textAt(index))
        service.catFilter = index
        clearSelection()
    }
    function restoreCombos() {
        if (service)
            categoryBox.currentIndex = service.catFilter
        kivBox.currentIndex = brushData.kivCatFilter
    }
    // Called by the main window (Ctrl+Y). The service is also told to forget every
    // chosen tag and type, so that a filter tab built later does not show them as on
    // while they no longer filter.
    function clearAllFilters() {
        if (!service)
            return
        if (kindWord === "brush") {
            kivBox.currentIndex = 1
            chooseKivCategory(1)
        }
        categoryBox.currentIndex = 0
        chooseCategory(0)
        tagBox.dropChoices()
        if (typesLoader.item)
            typesLoader.item.dropChoices()
        service.resetAllFilters()
        tagBox.uncheckAll()
        if (typesLoader.item)
            typesLoader.item.uncheckAll()
    }

    // After the combo boxes took the new kind's models. A timer, not Qt.callLater: with
    // it here the main window's own deferred call at start (the news window) was lost.
    onServiceChanged: restoreTimer.restart()
    Timer {
        id: restoreTimer
        interval: 0
        onTriggered: filterTab.restoreCombos()
    }

    Flickable {
        id: flick
        anchors.fill: parent
        anchors.margins: 8
        contentHeight: content.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

        Column {
            id: content
            width: flick.width - 10
            spacing: 8

            Text {
                text: "Categories"
                font: Style.genericText16
                color: Style.genericTextColor
            }
            Row {
                objectName: "kivCategoryRow"
                visible: filterTab.showKiv
                spacing: 8
                Text {
                    width: 40
                    anchors.verticalCenter: parent.verticalCenter
                    text: "KIV"
                    font: Style.genericText12
                    color: Style.settingsTextColor
                }
                KIVComboBoxCategory {
                    id: kivBox
                    objectName: "kivCategoryBox"
                    width: content.width - 48
                    model: brushData.kivCategoriesModel
                    toolTipText: "KIV Category"
                    Component.onCompleted: currentIndex = brushData.kivCatFilter
                    onActivated: filterTab.chooseKivCategory(index)
                }
            }
            Row {
                spacing: 8
                Text {
                    width: 40
                    anchors.verticalCenter: parent.verticalCenter
                    text: "User"
                    font: Style.genericText12
                    color: Style.settingsTextColor
                }
                KIVComboBox {
                    id: categoryBox
                    objectName: "categoryFilterBox"
                    width: content.width - 48
                    model: filterTab.service ? filterTab.service.categories : null
                    textRole: "display"
                    toolTipText: "Category"
                    onActivated: filterTab.chooseCategory(index)
                }
            }

            Column {
                width: content.width
                spacing: 6
                visible: filterTab.typesSource.toString() !== ""
                Text {
                    text: "Types"
                    font: Style.genericText16
                    color: Style.genericTextColor
                }
                Loader {
                    id: typesLoader
                    objectName: "typesLoader"
                    width: parent.width
                    source: filterTab.typesSource
                }
            }

            Text {
                text: "Tags"
                font: Style.genericText16
                color: Style.genericTextColor
            }
            TagBox {
                id: tagBox
                width: content.width
                service: filterTab.service
            }
        }
    }
}
