import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The favourites sets as coloured tabs and the resources of the shown set as tiles:
// the left column of the main window and the whole of the mini-mode window. Sets are
// made, edited, removed and reordered here; tiles are reordered, unfavourited and
// sent to ZBrush. Everything goes through sysData and the kinds' catalogues.
Item {
    id: area
    objectName: "favoritesArea"

    // Handed over by the window that loads it.
    property var dataService: null
    property var window: null
    // The resource view whose selection follows a clicked favourite (none in mini mode).
    property var mainView: null
    property bool enablePanelTooltips: true
    // No top bar.
    property bool miniMode: false
    // Tabs along the bottom instead of down the left side.
    property bool horizontalMode: false
    // 0 normal tiles, 1 large ones.
    property int resourceViewType: 0

    readonly property real tileScale: resourceViewType === 1 ? 1.75 : 1.0
    readonly property var sets: dataService ? dataService.favoritesModel : []
    // The set on show, as an object: its index follows when the sets are reordered.
    property var shownSet: null
    readonly property int currentIndex: Math.max(0, sets.indexOf(shownSet))
    readonly property var currentSet: sets.length > 0 ? sets[Math.min(currentIndex, sets.length - 1)] : null
    readonly property bool currentReadOnly: !currentSet || currentSet.readOnly
    readonly property int selectedIndex: dataService ? dataService.selectedFavoriteIndex : -1
    readonly property int stripThickness: horizontalMode || miniMode ? 27 : 54

    onWindowChanged: {
        if (!shownSet && window && window.currentFavoriteSet)
            shownSet = window.currentFavoriteSet
    }

    // The catalogue that owns resources of a kind word; null for other words.
    function serviceFor(word) {
        switch (word) {
        case "brush": return brushData
        case "alpha": return alphaData
        case "texture": return textureData
        case "material": return materialData
        case "tool": return toolData
        case "project": return projectData
        case "fiber": return fiberData
        case "light": return lightData
        case "grid": return gridData
        case "array": return arrayData
        case "spotlight": return spotlightData
        case "renderpreset": return renderPresetData
        }
        return null
    }
    function detailText(resource) {
        if (resource.resourceType === "brush")
            return resource.brushTypeName ? "Type: " + resource.brushTypeName : ""
        if (resource.resourceType === "alpha")
            return resource.dimensions
        return ""
    }

    // ---- Sets.
    function selectSet(index) {
        var next = sets[index]
        if (!next || !dataService)
            return
        var previous = currentSet
        if (next !== previous)
            dataService.activateFavoriteSet(previous, next)
        shownSet = next
        dataService.selectedFavoriteIndex = -1
    }
    function toggleIconSize() {
        resourceViewType = resourceViewType === 1 ? 0 : 1
        if (window && typeof window.setViewType === "function")
            window.setViewType("favorite", resourceViewType)
    }
    // The names of every set but the one given.
    function setNamesBut(set) {
        var names = []
        for (var i = 0; i < sets.length; ++i) {
            if (sets[i] !== set)
                names.push(sets[i].name)
        }
        return names
    }
    function addSet(name, color) {
        dataService.addFavoriteSet(name, true, false, color)
    }
    function editSet(set, index, name, color) {
        dataService.editFavoriteSet(set, name, color, index)
    }
    // The tab before the removed one becomes current first, so the favourite marks
    // move over to it.
    function removeSet(set, index) {
        if (!set || set.readOnly)
            return
        if (index > 0)
            selectSet(index - 1)
        dataService.removeFavoriteSet(set)
    }
    // Dropped over the tab at index over: the dragged tab goes right after it.
    function moveTab(from, over) {
        var dragged = sets[from]
        if (!dragged || dragged.readOnly || over < 0 || over === from)
            return
        var target = over > from ? over : over + 1
        var previous = currentSet
        var index = dataService.moveFavoriteSet(from, target)
        // The moved tab becomes the current one.
        if (sets[index] !== previous)
            selectSet(index)
    }

    // ---- Tiles.
    // Runs change() and gives the selected favourite its new index afterwards.
    function keepSelection(change) {
        var favorites = currentSet ? currentSet.favorites : []
        var index = dataService.selectedFavoriteIndex
        var selected = index >= 0 && index < favorites.length ? favorites[index] : null
        var y = tileGrid.contentY
        change()
        if (selected)
            dataService.setSelectedFavorite(selected)
        tileGrid.forceLayout()
        tileGrid.contentY = Math.max(tileGrid.originY, Math.min(y, tileGrid.originY + tileGrid.contentHeight - tileGrid.height))
    }
    function moveTile(from, to) {
        var set = currentSet
        keepSelection(function() { dataService.moveFavorite(set, from, to) })
    }
    function removeFromSet(resource) {
        var service = serviceFor(resource.resourceType)
        var set = currentSet
        if (!service || !set)
            return
        keepSelection(function() { service.removeFavorite(resource, set) })
        if (window && typeof window.selectionChanged === "function")
            window.selectionChanged()
    }
    function clickTile(resource, isDoubleClick) {
        if (!resource || !dataService)
            return
        if (isDoubleClick === dataService.doubleClickActivate)
            dataService.activateResource(resource.name, resource.path, resource.resourceType)
        showInWindow(resource)
        dataService.setSelectedFavorite(resource)
    }
    // The main view selects the resource when it lists it; the window makes it the
    // selected item of its own kind either way.
    function showInWindow(resource) {
        var kind = resource.resourceType
        if (mainView && mainView.dataService && typeof mainView.selectRow === "function") {
            var viewRow = mainView.dataService.getIndexForItem(resource)
            if (viewRow >= 0 && mainView.dataService === serviceFor(kind)) {
                mainView.selectRow(viewRow)
                return
            }
        }
        var service = serviceFor(kind)
        if (!service || !window || typeof window.selectItem !== "function")
            return
        var row = service.getIndexForItem(resource)
        if (row >= 0)
            service.setSelectedItem(row)
        window.setSelection(kind, row >= 0 ? [row] : [])
        window.selectItem(resource, kind)
    }

    Connections {
        target: area.dataService
        function onFavoriteSetActivated(oldSet, currentSet) { area.shownSet = currentSet }
    }

    // ---- Top bar.
    Rectangle {
        id: topBar
        objectName: "favoritesTopBar"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: area.miniMode ? 0 : 32
        visible: !area.miniMode
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor
        Row {
            anchors.left: parent.left
            anchors.leftMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            spacing: 2
            SmallIconButton {
                objectName: "favoritesIconSizeButton"
                source: "Images/layout.svg"
                toolTipText: "Icon Size"
                onClicked: area.toggleIconSize()
            }
            SmallIconButton {
                objectName: "addFavoriteSetButton"
                source: "Images/add.svg"
                toolTipText: "Add New Favorite Set"
                onClicked: {
                    setPopup.confirmAction = area.addSet
                    setPopup.openForNew(area.setNamesBut(null))
                }
            }
            SmallIconButton {
                objectName: "removeFavoriteSetButton"
                source: "Images/remove.svg"
                toolTipText: "Remove Favorite Set"
                enabled: !area.currentReadOnly
                onClicked: {
                    var set = area.currentSet
                    var index = area.currentIndex
                    removePopup.message = "Remove the favorite set \"" + set.name + "\"?"
                    removePopup.confirmAction = function() { area.removeSet(set, index) }
                    removePopup.open()
                }
            }
            SmallIconButton {
                objectName: "editFavoriteSetButton"
                source: "Images/edit.svg"
                toolTipText: "Edit Favorite Set"
                enabled: !area.currentReadOnly
                onClicked: {
                    var set = area.currentSet
                    var index = area.currentIndex
                    setPopup.confirmAction = function(name, color) { area.editSet(set, index, name, color) }
                    setPopup.openForEdit(set.name, set.color, area.setNamesBut(set))
                }
            }
        }
    }

    // ---- Tabs: down the left side, or along the bottom in horizontal mode.
    Rectangle {
        id: strip
        objectName: "favoriteTabStrip"
        x: 0
        y: area.horizontalMode ? area.height - height : topBar.height
        width: area.horizontalMode ? area.width : area.stripThickness
        height: area.horizontalMode ? area.stripThickness : area.height - topBar.height
        color: Style.backgroundTopDarkColor

        ListView {
            id: tabs
            objectName: "favoriteTabs"
            anchors.fill: parent
            anchors.margins: 1
            orientation: area.horizontalMode ? ListView.Horizontal : ListView.Vertical
            spacing: 2
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: area.sets
            // The tab under a dragged one, where the drop marker shows.
            property int dropIndex: -1
            function tabAt(item, x, y) {
                var point = item.mapToItem(tabs.contentItem, x, y)
                return tabs.indexAt(point.x, point.y)
            }

            delegate: Item {
                id: tab
                objectName: "favoriteTab_" + index
                readonly property bool current: index === area.currentIndex
                readonly property bool horizontal: area.horizontalMode
                readonly property real length: Math.min(150, Math.max(48, label.implicitWidth + 16))
                property bool dragged: false
                width: horizontal ? length : tabs.width
                height: horizontal ? tabs.height : length
                z: dragged ? 10 : 0

                Rectangle {
                    id: face
                    objectName: "favoriteTabFace"
                    width: tab.width
                    height: tab.height
                    color: modelData.color
                    border.color: tab.current ? "white" : Style.borderMainColor
                    border.width: 1
                    Text {
                        id: label
                        objectName: "favoriteTabLabel"
                        anchors.centerIn: parent
                        width: tab.length - 8
                        rotation: tab.horizontal ? 0 : 90
                        text: modelData.name
                        elide: Text.ElideRight
                        horizontalAlignment: Text.AlignHCenter
                        font: area.stripThickness > 27 ? Style.genericText14 : Style.genericText12
                        color: tab.current ? "white" : Style.genericTextColor
                        style: Text.Outline
                        styleColor: "black"
                    }
                    ParallelAnimation {
                        id: springBack
                        SpringAnimation { target: face; property: "x"; to: 0; spring: 2; damping: 0.2; duration: 250 }
                        SpringAnimation { target: face; property: "y"; to: 0; spring: 2; damping: 0.2; duration: 250 }
                    }
                }
                // Where the dragged tab would land: right after this one.
                Rectangle {
                    objectName: "favoriteDropMarker"
                    visible: tabs.dropIndex === index
                    x: tab.horizontal ? tab.width - width : 0
                    y: tab.horizontal ? 0 : tab.height - height
                    width: tab.horizontal ? 2 : tab.width
                    height: tab.horizontal ? tab.height : 2
                    color: "white"
                    z: 20
                }
                MouseArea {
                    id: tabMouse
                    anchors.fill: parent
                    drag.target: modelData.readOnly ? null : face
                    drag.axis: tab.horizontal ? Drag.XAxis : Drag.YAxis
                    onPressed: springBack.stop()
                    onPositionChanged: {
                        if (!drag.active)
                            return
                        tab.dragged = true
                        var over = tabs.tabAt(tabMouse, mouse.x, mouse.y)
                        tabs.dropIndex = over === index ? -1 : over
                    }
                    // A release that ends a drag is no click.
                    property bool wasDragged: false
                    onReleased: {
                        var over = tabs.dropIndex
                        wasDragged = tab.dragged
                        tabs.dropIndex = -1
                        tab.dragged = false
                        if (!wasDragged)
                            return
                        if (over >= 0) {
                            face.x = 0
                            face.y = 0
                            area.moveTab(index, over)
                        } else {
                            springBack.start()
                        }
                    }
                    onCanceled: {
                        tabs.dropIndex = -1
                        tab.dragged = false
                        springBack.start()
                    }
                    onClicked: if (!wasDragged) area.selectSet(index)
                }
            }
        }
    }

    // ---- Tiles of the shown set.
    GridView {
        id: tileGrid
        objectName: "favoriteGrid"
        x: area.horizontalMode ? 0 : strip.width
        y: topBar.height
        width: area.width - x
        height: area.horizontalMode ? area.height - strip.height - y : area.height - y
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        cellWidth: 104 * area.tileScale
        cellHeight: 84 * area.tileScale
        model: area.currentSet ? area.currentSet.favorites : []
        currentIndex: area.selectedIndex
        ScrollBar.vertical: ScrollBar {
            id: scrollBar
            objectName: "favoriteScrollBar"
            policy: ScrollBar.AlwaysOn
            width: 8
            contentItem: Rectangle {
                implicitWidth: 6
                radius: 3
                color: Style.separatorLineColor
            }
            background: Rectangle { color: Style.backgroundTopDarkColor }
        }

        delegate: DraggableGridItem {
            objectName: "favoriteCell_" + index
            grid: tileGrid
            visualIndex: index
            dragKey: "kivFavoriteTile"
            onMoveRequested: area.moveTile(from, to)
            ResourcePanel {
                objectName: "favoriteTile_" + index
                // Left of centre by half the scroll bar, which stands over the last
                // column in the narrow mini-mode window.
                x: Math.max(0, Math.round((parent.width - width - scrollBar.width) / 2))
                y: Math.round((parent.height - height) / 2)
                width: 92 * area.tileScale
                height: 70 * area.tileScale
                tileScale: area.tileScale
                name: modelData.name
                thumbnailSource: modelData.iconPath + modelData.path
                favorite: true
                selected: index === area.selectedIndex
                enableTooltips: area.enablePanelTooltips
                advancedTooltip: area.dataService ? area.dataService.showAdvancedTooltips : false
                // Read only for the tooltip card.
                categories: advancedTooltip && hovered ? modelData.categories : []
                detailText: advancedTooltip && hovered ? area.detailText(modelData) : ""
                onClicked: area.clickTile(modelData, false)
                onDoubleClicked: area.clickTile(modelData, true)
                onStarClicked: area.removeFromSet(modelData)
                onMiddleClicked: area.dataService.openResourceFolder(modelData.path)
            }
        }
    }

    // ---- Dialogs.
    FavoritePopup {
        id: setPopup
        objectName: "favoritePopup"
    }
    MessagePopup {
        id: removePopup
        objectName: "removeFavoriteSetPopup"
    }
}
