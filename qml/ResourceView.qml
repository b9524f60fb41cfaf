import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"
import "Rows.js" as Rows

// The middle column for one kind: a bar with the view mode, the title, the kind's
// extra buttons and the search box, over a grid of tiles or a table of the kind's
// view (dataService.model). The window keeps the selection (selectedItems, rows of
// the view) and the search text; this view changes them and follows them.
Item {
    id: viewRoot
    objectName: "resourceView_" + kindWord

    // Handed over by the main window.
    property var window: null
    property var dataService: null
    property string kindWord: ""
    property string iconPrefix: "image://brushes/"
    property string title: ""
    // Projects and tools ask before they are sent to ZBrush.
    property bool confirmActivate: false
    // Extra buttons for the bar, as a file (lights, render presets) or a component (alphas).
    property url optionsSource: ""
    property Component extraButtons: null
    property var favoritesArea: null
    property string searchText: ""
    // 0 large tiles, 1 table, 2 small tiles, 3 medium tiles.
    property int viewType: 2

    readonly property var scales: [2.8, 0, 1.0, 1.75]
    readonly property bool advancedTooltips: sysData.showAdvancedTooltips
    readonly property url favOn: sysData.favOnSource
    readonly property url favOff: sysData.favOffSource
    readonly property real tileScale: viewType === 1 ? 1.0 : scales[viewType]
    readonly property var roles: Rows.roles(kindWord)
    readonly property var model: dataService ? dataService.model : null
    // The table's sort choice, kept across the view modes.
    property int sortColumn: -1
    property int sortOrder: Qt.AscendingOrder
    // The anchor of Shift selection.
    property int currentRow: -1
    // The selected rows (the window's list for this kind), as a set for the delegates.
    property var selectedRows: []
    property var selectedSet: ({})
    // Names of the selected rows when they were chosen, to follow them when rows move.
    property var selectedNames: []
    property string currentName: ""
    readonly property var contentView: contentLoader.item ? contentLoader.item.itemView : null

    function focusSearchBox() {
        searchBox.forceActiveFocus()
        searchBox.selectAll()
    }
    function cycleViewType() {
        viewType = (viewType + 1) % 4
        if (window)
            window.setViewType(kindWord, viewType)
    }

    // ---- Selection.
    function clearSelection() {
        currentRow = -1
        if (window)
            window.setSelection(kindWord, [])
    }
    function readSelection() {
        var rows = window ? (window.selectedItems[kindWord] || []) : []
        if (rows === selectedRows)
            return
        var set = {}
        for (var i = 0; i < rows.length; ++i)
            set[rows[i]] = true
        selectedRows = rows
        selectedSet = set
        selectedNames = model ? Rows.names(model, rows, roles.name) : []
        currentName = model && currentRow >= 0 ? Rows.value(model, currentRow, roles.name) || "" : ""
    }
    // After the view sorted or filtered again: the same resources at their new rows.
    function followSelection() {
        if (!model || !window)
            return
        if (currentName !== "")
            currentRow = Rows.locate(model, roles.name, currentName, currentRow)
        if (selectedRows.length === 0)
            return
        if (selectedNames.length !== selectedRows.length) {
            clearSelection()
            return
        }
        var rows = Rows.locateAll(model, roles.name, selectedNames, selectedRows).filter(function(row) { return row >= 0 })
        if (rows.join() !== selectedRows.join())
            window.setSelection(kindWord, rows)
    }
    // What a plain click does to the selection, without activating; the favourites
    // area uses it to show a favourite here.
    function selectRow(row) {
        if (!dataService || row < 0)
            return
        currentRow = row
        if (contentView)
            contentView.currentIndex = row
        dataService.setSelectedItem(row)
        var item = dataService.selectedItem
        window.setSelection(kindWord, [row])
        window.selectItem(item, kindWord)
        sysData.setSelectedFavorite(item)
        if (contentView)
            contentView.positionViewAtIndex(row, ListView.Contain)
    }

    // ---- Clicks on a tile or a table row.
    function activateRow(row) {
        var name = Rows.value(model, row, roles.name)
        var path = Rows.value(model, row, roles.path)
        if (confirmActivate) {
            confirmPopup.message = name
            confirmPopup.confirmAction = function() { dataService.activateResource(name, path) }
            confirmPopup.open()
        } else {
            dataService.activateResource(name, path)
        }
    }
    function clickRow(row, modifiers, isDoubleClick) {
        if (!dataService || row < 0)
            return
        if (isDoubleClick === sysData.doubleClickActivate)
            activateRow(row)
        var rows
        if (modifiers & Qt.ShiftModifier) {
            var anchor = currentRow >= 0 ? currentRow : row
            rows = []
            for (var r = Math.min(anchor, row); r <= Math.max(anchor, row); ++r)
                rows.push(r)
            if (currentRow < 0)
                currentRow = row
        } else if (modifiers & Qt.ControlModifier) {
            rows = selectedRows.slice()
            if (rows.indexOf(row) < 0)
                rows.push(row)
            currentRow = row
        } else {
            selectRow(row)
            return
        }
        if (contentView)
            contentView.currentIndex = currentRow
        if (rows.length === 1) {
            selectRow(rows[0])
            return
        }
        window.setSelection(kindWord, rows)
        if (window.detailsKind !== kindWord)
            window.selectItem(dataService.selectedItem, kindWord)
    }
    function toggleFavorite(row) {
        var set = window ? window.currentFavoriteSet : null
        if (!set)
            return
        if (Rows.value(model, row, roles.favorite) === true)
            dataService.removeItemFromFavorites(row, set)
        else
            dataService.addItemToFavorites(row, set)
        window.selectionChanged()
    }
    function openFolder(row) {
        sysData.openResourceFolder(Rows.value(model, row, roles.path))
    }
    function sortBy(column, order) {
        // Every row moves: the selection would point at other resources.
        clearSelection()
        model.sort(column, order)
    }

    onSearchTextChanged: {
        if (searchBox.text !== searchText)
            searchBox.text = searchText
        if (!dataService || !window)
            return
        dataService.filterResourcesByName(searchText)
        window.setSearchText(kindWord, searchText)
        clearSelection()
        if (contentView)
            contentView.currentIndex = -1
    }
    function publishGrid() {
        if (window && contentView)
            window.currentResourceGrid = contentView
    }
    onContentViewChanged: publishGrid()
    onWindowChanged: publishGrid()
    Component.onCompleted: readSelection()

    Connections {
        target: viewRoot.window
        function onSelectionChanged() { viewRoot.readSelection() }
    }
    // Once the view's rows have settled (one re-filter brings many signals).
    Connections {
        target: viewRoot.model
        function onLayoutChanged() { followTimer.restart() }
        function onRowsRemoved() { followTimer.restart() }
        function onRowsInserted() { followTimer.restart() }
        function onModelReset() { followTimer.restart() }
    }
    Timer {
        id: followTimer
        interval: 0
        onTriggered: viewRoot.followSelection()
    }

    Rectangle {
        id: bar
        objectName: "resourceViewBar"
        anchors.left: parent.left
        anchors.right: parent.right
        height: 32
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor

        Row {
            anchors.left: parent.left
            anchors.leftMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            spacing: 8
            SmallIconButton {
                objectName: "viewModeButton"
                source: "Images/layout.svg"
                toolTipText: "Icon Size"
                onClicked: viewRoot.cycleViewType()
            }
            Text {
                objectName: "viewTitle"
                anchors.verticalCenter: parent.verticalCenter
                text: viewRoot.title
                font: Style.genericText14
                color: Style.genericTextColor
            }
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            spacing: 4
            Loader {
                objectName: "extraButtonsLoader"
                anchors.verticalCenter: parent.verticalCenter
                sourceComponent: viewRoot.extraButtons
                active: viewRoot.extraButtons !== null
            }
            Loader {
                objectName: "optionsLoader"
                anchors.verticalCenter: parent.verticalCenter
                source: viewRoot.optionsSource
                active: viewRoot.optionsSource.toString() !== ""
            }
            EditBox {
                id: searchBox
                objectName: "searchBox"
                anchors.verticalCenter: parent.verticalCenter
                width: Math.min(218, Math.max(80, bar.width - 220))
                implicitHeight: 23
                placeholderText: "Search"
                onTextEdited: viewRoot.searchText = text
            }
            SmallIconButton {
                objectName: "clearSearchButton"
                anchors.verticalCenter: parent.verticalCenter
                source: "Images/clear.svg"
                toolTipText: "Clear Search Text"
                onClicked: viewRoot.searchText = ""
            }
        }
    }

    Loader {
        id: contentLoader
        objectName: "contentLoader"
        anchors.top: bar.bottom
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        sourceComponent: viewRoot.viewType === 1 ? tableComponent : gridComponent
    }

    Component {
        id: gridComponent
        Item {
            property alias itemView: grid
            GridView {
                id: grid
                objectName: "resourceGrid"
                anchors.fill: parent
                anchors.margins: 2
                clip: true
                model: viewRoot.model
                cellWidth: 84 * viewRoot.tileScale
                cellHeight: 70 * viewRoot.tileScale
                currentIndex: -1
                reuseItems: true
                cacheBuffer: cellHeight * 2
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
                delegate: ResourcePanel {
                    objectName: "tile_" + index
                    width: grid.cellWidth - 2
                    height: grid.cellHeight - 2
                    tileScale: viewRoot.tileScale
                    name: model.name
                    thumbnailSource: viewRoot.iconPrefix + model.path
                    favorite: model.favorite === true
                    favOnSource: viewRoot.favOn
                    favOffSource: viewRoot.favOff
                    selected: viewRoot.selectedSet[index] === true
                    enableTooltips: true
                    advancedTooltip: viewRoot.advancedTooltips
                    // Read only for the card, while the pointer is on the tile.
                    categories: hovered && advancedTooltip ? model.categories : []
                    detailText: !hovered || !advancedTooltip ? ""
                              : viewRoot.kindWord === "brush" ? "Type: " + model.brushTypeName
                              : viewRoot.kindWord === "alpha" ? model.dimensions : ""
                    onClicked: viewRoot.clickRow(index, modifiers, false)
                    onDoubleClicked: viewRoot.clickRow(index, modifiers, true)
                    onMiddleClicked: viewRoot.openFolder(index)
                    onStarClicked: viewRoot.toggleFavorite(index)
                }
            }
        }
    }
    Component {
        id: tableComponent
        ResourceListView {
            resourceView: viewRoot
        }
    }

    MessagePopup {
        id: confirmPopup
        objectName: "activateConfirmPopup"
        title: "Open " + viewRoot.kindWord + "?"
    }
}
