import QtQuick 2.15
import QtQuick.Window 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Qt.labs.settings 1.1
import "Themes"
import "Links.js" as Links

// The main window: the top bar, three collapsible columns (favourites, the resource
// view of the chosen kind, the details tabs), the shortcuts and the start-up
// messages. The screens inside the columns come from their own files; see the
// "Screens" block below and qml/README.md for what each one is given.
Window {
    id: mainWindow
    objectName: "mainWindow"
    title: "Kivara"
    width: 1304
    height: 616
    minimumWidth: 290
    minimumHeight: 300
    visible: !sysData.miniMode
    color: Style.backgroundTopColor
    flags: keepOnTopButton.checked
           ? Qt.Window | Qt.WindowStaysOnTopHint | Qt.WindowTitleHint | Qt.WindowSystemMenuHint
             | Qt.WindowMinMaxButtonsHint | Qt.WindowCloseButtonHint
           : Qt.Window

    // ---- Screens. Each one is wired here when its file lands; an empty source
    // ---- leaves its place empty.
    // Resource view of every kind but brushes and alphas.
    property url resourceViewSource: "ResourceView.qml"
    property url brushViewSource: "BrushView.qml"
    property url alphaViewSource: "AlphaView.qml"
    // Extra controls the light and render preset views put into their bar.
    property url lightOptionsSource: "LightOptions.qml"
    property url renderPresetOptionsSource: "RenderPresetOptions.qml"
    property url resourceDetailsSource: "ResourceDetailsPanel.qml"
    property url brushDetailsSource: "BrushDetailsPanel.qml"
    property url alphaDetailsSource: "AlphaDetailsPanel.qml"
    property url filterTabSource: "FilterTab.qml"
    property url generalTabSource: "GeneralTab.qml"
    property url favoritesAreaSource: "FavoritesArea.qml"
    property url setupViewSource: "SetupView.qml"
    property url settingsDialogSource: "SettingsDialog.qml"
    property url storeWindowSource: "StoreWindow.qml"

    // ---- Kinds, in the order of the top bar and of the kind cycle.
    readonly property var kinds: [
        { word: "brush", title: "Brushes", service: brushData, icon: "Images/brush.svg", prefix: "image://brushes/" },
        { word: "alpha", title: "Alphas", service: alphaData, icon: "Images/alpha.svg", prefix: "image://alphas/" },
        { word: "texture", title: "Textures", service: textureData, icon: "Images/texture.svg", prefix: "image://alphas/" },
        { word: "material", title: "Materials", service: materialData, icon: "Images/material.svg", prefix: "image://brushes/" },
        { word: "fiber", title: "Fibers", service: fiberData, icon: "Images/fiber.svg", prefix: "image://brushes/" },
        { word: "tool", title: "Tools", service: toolData, icon: "Images/tool.svg", prefix: "image://brushes/" },
        { word: "light", title: "Lights", service: lightData, icon: "Images/light.svg", prefix: "image://brushes/" },
        { word: "project", title: "Projects", service: projectData, icon: "Images/project.svg", prefix: "image://brushes/" },
        { word: "grid", title: "Grids", service: gridData, icon: "Images/grid.svg", prefix: "image://brushes/" },
        { word: "array", title: "Array Mesh", service: arrayData, icon: "Images/array.svg", prefix: "image://brushes/" },
        { word: "spotlight", title: "Spotlights", service: spotlightData, icon: "Images/spotlight.svg", prefix: "image://brushes/" },
        { word: "renderpreset", title: "Render Presets", service: renderPresetData, icon: "Images/renderpreset.svg", prefix: "image://brushes/" }
    ]

    // ---- Window-wide state the screens share.
    property string currentKind: "brush"
    readonly property int currentKindIndex: kindIndex(currentKind)
    readonly property var currentService: kinds[currentKindIndex].service
    readonly property string currentTitle: kinds[currentKindIndex].title
    // Model role of a row's favourite flag.
    readonly property int favoriteRole: currentKind === "brush" ? 260 : 259
    // The view of the current kind, its grid and the item last selected in it.
    property var currentView: null
    property var currentResourceGrid: null
    property var currentSelectedItem: null
    // Selected rows of each kind's view.
    property var selectedItems: ({ brush: [], alpha: [], texture: [], material: [], tool: [], project: [],
                                   fiber: [], light: [], grid: [], array: [], spotlight: [], renderpreset: [] })
    // Search text of each kind, kept while its view is unloaded.
    property var searchTexts: ({})
    // The kind whose details panel is active.
    property string detailsKind: "brush"
    // The favourites set shown in the favourites area (index into sysData.favoritesModel).
    property int favoriteSetIndex: 0
    // The set last activated; its index is looked up again when the sets are reordered.
    property var activatedFavoriteSet: null
    readonly property var currentFavoriteSet: {
        var sets = sysData.favoritesModel
        return sets.length > 0 ? sets[Math.min(Math.max(favoriteSetIndex, 0), sets.length - 1)] : null
    }

    property bool favoritesCollapsed: false
    property bool middleCollapsed: false
    property bool detailsCollapsed: false
    property real previousMiddleWidth: 0
    property bool settingsLoaded: false
    // Set once the set-up screen reports its installation (it hides before setupOk is written).
    property bool setupCompleted: false

    readonly property int favoritesWidth: 266
    readonly property int detailsWidth: 250
    readonly property int barWidth: 20

    // Images of the filled and the empty favourite star; drawn by image-based widgets.
    signal themeChanged()
    // selectItem() made an item the current one.
    signal itemSelected(var item, string kind)
    // A view changed selectedItems or currentSelectedItem; panels re-read their state.
    signal selectionChanged()

    // ---- Operations for the screens.
    // Hands a loaded screen the values it declares properties for; others are skipped.
    function give(item, values) {
        for (var name in values) {
            if (name in item)
                item[name] = values[name]
        }
    }
    function kindIndex(word) {
        for (var i = 0; i < kinds.length; ++i) {
            if (kinds[i].word === word)
                return i
        }
        return 0
    }
    function setKind(word) {
        var index = kindIndex(word)
        kindButtons.itemAt(index).checked = true
        currentKind = kinds[index].word
    }
    function cycleKind() {
        setKind(kinds[(currentKindIndex + 1) % kinds.length].word)
    }
    function selectItem(item, kind) {
        detailsKind = kind
        currentSelectedItem = item
        if (detailsTabs.currentIndex === 0)
            detailsTabs.currentIndex = 1
        itemSelected(item, kind)
    }
    function setSelection(kind, rows) {
        var all = selectedItems
        all[kind] = rows
        selectedItems = all
        selectionChanged()
    }
    function focusSearchBox() {
        if (currentView && typeof currentView.focusSearchBox === "function")
            currentView.focusSearchBox()
    }
    function setSearchText(kind, text) {
        searchTexts[kind] = text
    }
    function clearAllFilters() {
        setSearchText(currentKind, "")
        if (currentView && currentView.searchText !== undefined)
            currentView.searchText = ""
        currentService.filterResourcesByName("")
        if (filterLoader.item && typeof filterLoader.item.clearAllFilters === "function")
            filterLoader.item.clearAllFilters()
        else
            currentService.resetAllFilters()
    }
    // Stored layout index of a kind's view ("favorite" for the favourites area).
    function viewType(kind) {
        return windowSettings.value("viewType/" + kind, kind === "favorite" ? 0 : 2)
    }
    function setViewType(kind, type) {
        windowSettings.setValue("viewType/" + kind, type)
    }
    // Chosen in the settings: recolours everything, remembers the name, redraws images.
    function chooseTheme(name) {
        Style.selectTheme(name)
        sysData.theme = Style.currentThemeName()
        themeChanged()
    }
    // Favourite or unfavourite the selected rows of the current kind in the shown set.
    function toggleSelectedFavorites() {
        var rows = selectedItems[currentKind] || []
        var set = currentFavoriteSet
        if (rows.length === 0 || !set)
            return
        var model = currentService.model
        var favourite = function(row) { return model.data(model.index(row, 0), favoriteRole) === true }
        var allFavourite = rows.every(favourite)
        for (var i = 0; i < rows.length; ++i) {
            if (allFavourite)
                currentService.removeItemFromFavorites(rows[i], set)
            else if (!favourite(rows[i]))
                currentService.addItemToFavorites(rows[i], set)
        }
        selectionChanged()
    }
    function nextFavoriteSet() {
        var sets = sysData.favoritesModel
        if (sets.length === 0)
            return
        var previous = currentFavoriteSet
        var next = sets[(favoriteSetIndex + 1) % sets.length]
        sysData.activateFavoriteSet(previous, next)
        sysData.selectedFavoriteIndex = -1
    }
    function toggleColumn(column) {
        var open = [!favoritesCollapsed, !middleCollapsed, !detailsCollapsed]
        var openCount = open.filter(function(o) { return o }).length
        var collapsing = open[column]
        if (collapsing && openCount === 1)
            return
        if (column === 1) {
            if (collapsing)
                collapseMiddle()
            else
                expandMiddle()
        } else {
            var sideWidth = column === 0 ? favoritesWidth : detailsWidth
            if (column === 0)
                favoritesCollapsed = collapsing
            else
                detailsCollapsed = collapsing
            if (middleCollapsed)
                fixWidth(width + (collapsing ? -sideWidth : sideWidth))
        }
        windowSettings.favoritesCollapsed = favoritesCollapsed
        windowSettings.middleCollapsed = middleCollapsed
        windowSettings.detailsCollapsed = detailsCollapsed
    }
    // Width of the columns beside the middle one, with every bar.
    function sideColumnsWidth() {
        return (favoritesCollapsed ? 0 : favoritesWidth) + (detailsCollapsed ? 0 : detailsWidth) + 3 * barWidth
    }
    function fixWidth(w) {
        minimumWidth = 0
        maximumWidth = 16777215
        width = w
        minimumWidth = w
        maximumWidth = w
    }
    function collapseMiddle() {
        previousMiddleWidth = middleColumn.width
        windowSettings.previousMiddleWidth = previousMiddleWidth
        var wasMaximised = visibility === Window.Maximized
        middleCollapsed = true
        if (wasMaximised)
            showNormal()
        fixWidth(sideColumnsWidth())
    }
    function expandMiddle() {
        var wasMaximised = visibility === Window.Maximized
        middleCollapsed = false
        minimumWidth = 290
        maximumWidth = 16777215
        if (wasMaximised)
            showMaximized()
        else
            width = sideColumnsWidth() + Math.max(previousMiddleWidth, 290)
    }

    // Applies the stored window settings (first start: the defaults).
    function loadSettings() {
        var w = windowSettings.width < minimumWidth ? 1304 : windowSettings.width
        var h = windowSettings.height < minimumHeight ? 616 : windowSettings.height
        height = h
        width = w
        previousMiddleWidth = windowSettings.previousMiddleWidth
        favoritesCollapsed = windowSettings.favoritesCollapsed
        detailsCollapsed = windowSettings.detailsCollapsed
        if (windowSettings.middleCollapsed && !(favoritesCollapsed && detailsCollapsed)) {
            middleCollapsed = true
            fixWidth(sideColumnsWidth())
        } else if (width < 600) {
            width = 1304
        }
        if (windowSettings.hasPosition) {
            x = sysData.getWindowStartX(windowSettings.x)
            y = sysData.getWindowStartY(windowSettings.y)
        }
        if (favoritesLoader.item)
            give(favoritesLoader.item, { resourceViewType: viewType("favorite") })
        // Later: a window declared here applies its own visibility after this runs.
        if (sysData.showNews && !windowSettings.firstStart)
            Qt.callLater(newsWindow.show)
        windowSettings.firstStart = false
        settingsLoaded = true
    }
    function rememberGeometry() {
        if (!settingsLoaded || visibility === Window.Maximized || visibility === Window.FullScreen
                || visibility === Window.Hidden)
            return
        windowSettings.x = x
        windowSettings.y = y
        windowSettings.hasPosition = true
        if (!middleCollapsed)
            windowSettings.width = width
        windowSettings.height = height
    }
    onCurrentKindChanged: {
        var loader = viewRepeater.itemAt(currentKindIndex)
        currentView = loader ? loader.item : null
    }
    onXChanged: rememberGeometry()
    onYChanged: rememberGeometry()
    onWidthChanged: rememberGeometry()
    onHeightChanged: rememberGeometry()

    function showPluginMessage() {
        if (sysData.pluginInstallError)
            pluginMessage.message = "Plugin update failed. Please check the install log."
        else if (sysData.pluginInstalled)
            pluginMessage.message = "Plugin updated. Please restart ZBrush."
        else
            return
        pluginMessage.open()
    }

    Component.onCompleted: {
        Style.fontFamily = interfaceFont.name
        Style.selectTheme(sysData.theme)
        if (sysData.setupOk)
            loadSettings()
        themeChanged.connect(starImages.refresh)
        starImages.start()
        showPluginMessage()
    }
    onClosing: rememberGeometry()
    onVisibleChanged: if (visible && starImages.pending) starImages.start()

    // The typeface of every Style font.
    FontLoader {
        id: interfaceFont
        source: "Resources/Quicksand-Medium.ttf"
        onNameChanged: Style.fontFamily = name
    }

    Settings {
        id: windowSettings
        property int x: 0
        property int y: 0
        property bool hasPosition: false
        property int width: 1304
        property int height: 616
        property bool favoritesCollapsed: false
        property bool detailsCollapsed: false
        property bool middleCollapsed: false
        property real previousMiddleWidth: 0
        property bool firstStart: true
    }

    Connections {
        target: sysData
        function onFavoriteSetActivated(oldSet, currentSet) {
            mainWindow.activatedFavoriteSet = currentSet
            var index = sysData.favoritesModel.indexOf(currentSet)
            if (index >= 0)
                mainWindow.favoriteSetIndex = index
        }
        function onFavoritesModelChanged() {
            var index = sysData.favoritesModel.indexOf(mainWindow.activatedFavoriteSet)
            if (index >= 0)
                mainWindow.favoriteSetIndex = index
        }
        function onSetupOkChanged() {
            if (sysData.setupOk && !mainWindow.settingsLoaded)
                mainWindow.loadSettings()
        }
    }

    // ---- Top bar.
    Rectangle {
        id: topBar
        objectName: "topBar"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: 40
        color: Style.backgroundMainBarColor
        border.color: Style.borderMainColor

        Row {
            anchors.left: parent.left
            anchors.leftMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            spacing: 4

            ToggleButton {
                id: keepOnTopButton
                objectName: "keepOnTopButton"
                source: "Images/keepontop.svg"
                toolTipText: "Keep on Top"
            }
            IconButton {
                objectName: "miniModeButton"
                source: "Images/minimode.svg"
                toolTipText: "Mini Mode"
                onClicked: sysData.miniMode = true
            }
            Separator { anchors.verticalCenter: parent.verticalCenter }
            Row {
                spacing: 2
                visible: !mainWindow.middleCollapsed
                Repeater {
                    id: kindButtons
                    model: mainWindow.kinds
                    KindButton {
                        objectName: "kindButton_" + modelData.word
                        source: modelData.icon
                        toolTipText: modelData.title
                        checked: index === 0
                        onToggled: if (checked) mainWindow.currentKind = modelData.word
                    }
                }
            }
            Separator {
                anchors.verticalCenter: parent.verticalCenter
                visible: !mainWindow.middleCollapsed
            }
            IconButton {
                id: optionsButton
                objectName: "optionsButton"
                source: "Images/options.svg"
                toolTipText: "Options"
                onClicked: optionsMenu.open()
                KIVMenu {
                    id: optionsMenu
                    objectName: "optionsMenu"
                    y: optionsButton.height
                    width: 145
                    height: 145
                    KIVMenuItem {
                        objectName: "settingsMenuItem"
                        text: "Settings"
                        icon.source: "Images/settings-dark.svg"
                        onTriggered: if (settingsLoader.item) settingsLoader.item.show()
                    }
                    KIVMenuItem {
                        objectName: "supportMenuItem"
                        text: "Support"
                        icon.source: "Images/support-dark.svg"
                        onTriggered: Qt.openUrlExternally(Links.support)
                    }
                    KIVMenuItem {
                        objectName: "helpMenuItem"
                        text: "Help"
                        icon.source: "Images/help-dark.svg"
                        onTriggered: Qt.openUrlExternally(Links.help)
                    }
                    KIVMenuItem {
                        objectName: "aboutMenuItem"
                        text: "About"
                        icon.source: "Images/about-dark.svg"
                        onTriggered: aboutWindow.show()
                    }
                }
            }
            Separator { anchors.verticalCenter: parent.verticalCenter }
            IconButton {
                objectName: "libraryButton"
                source: "Images/library.svg"
                enabled: sysData.enableStore
                toolTipText: enabled ? "Library" : "Library not currently available on macOS versions before 10.15 (Catalina)"
                onClicked: mainWindow.openStore()
            }
            IconButton {
                objectName: "updatesButton"
                source: "Images/updates.svg"
                toolTipText: "Updates"
                onClicked: updatesWindow.show()
            }
            IconButton {
                objectName: "newsButton"
                source: "Images/news.svg"
                toolTipText: "News"
                onClicked: newsWindow.show()
            }
        }

        Image {
            objectName: "connectionIndicator"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            width: 26
            height: 26
            sourceSize: Qt.size(26, 26)
            source: sysData.connectedToZbrush ? "Images/connected.svg" : "Images/disconnected.svg"
        }
    }

    // Opened anew on every press; the window closes itself.
    function openStore() {
        if (storeWindowSource.toString() === "")
            return
        var component = Qt.createComponent(storeWindowSource)
        if (component.status === Component.Ready)
            component.createObject(mainWindow).show()
        else
            console.warn("Cannot open the store window:", component.errorString())
    }

    // ---- The three columns.
    RowLayout {
        id: columns
        anchors.top: topBar.bottom
        anchors.bottom: bottomStrip.top
        anchors.left: parent.left
        anchors.right: parent.right
        spacing: 0

        Rectangle {
            id: favoritesColumn
            objectName: "favoritesColumn"
            Layout.fillHeight: true
            Layout.preferredWidth: mainWindow.favoritesWidth
            visible: !mainWindow.favoritesCollapsed
            color: Style.backgroundTopColor
            Loader {
                id: favoritesLoader
                objectName: "favoritesLoader"
                anchors.fill: parent
                source: mainWindow.favoritesAreaSource
                onLoaded: mainWindow.give(item, {
                    dataService: sysData,
                    window: mainWindow,
                    mainView: Qt.binding(function() { return mainWindow.currentView }),
                    enablePanelTooltips: true,
                    miniMode: false,
                    horizontalMode: false,
                    resourceViewType: mainWindow.viewType("favorite")
                })
            }
        }
        CollapseBar {
            objectName: "favoritesCollapseBar"
            Layout.fillHeight: true
            Layout.preferredWidth: mainWindow.barWidth
            title: "Favorites"
            collapsed: mainWindow.favoritesCollapsed
            onClicked: mainWindow.toggleColumn(0)
        }

        Rectangle {
            id: middleColumn
            objectName: "middleColumn"
            Layout.fillHeight: true
            Layout.fillWidth: true
            Layout.minimumWidth: 100
            visible: !mainWindow.middleCollapsed
            color: Style.backgroundTopColor
            Repeater {
                id: viewRepeater
                model: mainWindow.kinds
                Loader {
                    id: viewLoader
                    objectName: "viewLoader_" + modelData.word
                    readonly property string kindWord: modelData.word
                    anchors.fill: parent
                    active: mainWindow.currentKind === modelData.word
                    visible: active
                    source: modelData.word === "brush" ? mainWindow.brushViewSource
                          : modelData.word === "alpha" ? mainWindow.alphaViewSource
                          : mainWindow.resourceViewSource
                    onLoaded: {
                        var word = modelData.word
                        mainWindow.setSelection(word, [])
                        mainWindow.give(item, {
                            window: mainWindow,
                            dataService: modelData.service,
                            kindWord: word,
                            iconPrefix: modelData.prefix,
                            title: modelData.title,
                            confirmActivate: word === "project" || word === "tool",
                            optionsSource: word === "light" ? mainWindow.lightOptionsSource
                                         : word === "renderpreset" ? mainWindow.renderPresetOptionsSource : "",
                            favoritesArea: favoritesLoader.item,
                            searchText: mainWindow.searchTexts[word] || "",
                            viewType: mainWindow.viewType(word)
                        })
                        if (mainWindow.currentKind === word)
                            mainWindow.currentView = item
                    }
                }
            }
        }
        CollapseBar {
            objectName: "middleCollapseBar"
            Layout.fillHeight: true
            Layout.preferredWidth: mainWindow.barWidth
            title: mainWindow.currentTitle
            collapsed: mainWindow.middleCollapsed
            onClicked: mainWindow.toggleColumn(1)
        }

        Rectangle {
            id: detailsColumn
            objectName: "detailsColumn"
            Layout.fillHeight: true
            Layout.preferredWidth: mainWindow.detailsWidth
            visible: !mainWindow.detailsCollapsed
            color: Style.backgroundTopColor

            TabBar {
                id: detailsTabs
                objectName: "detailsTabs"
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                height: 32
                spacing: 0
                background: Rectangle { color: Style.backgroundTopDarkColor }
                KIVTabButton { objectName: "generalTab"; text: "General" }
                KIVTabButton { objectName: "propertyTab"; text: "Property" }
                KIVTabButton { objectName: "filterTab"; text: "Filter" }
            }
            StackLayout {
                anchors.top: detailsTabs.bottom
                anchors.bottom: parent.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                currentIndex: detailsTabs.currentIndex
                Loader {
                    id: generalLoader
                    objectName: "generalLoader"
                    source: mainWindow.generalTabSource
                    onLoaded: mainWindow.give(item, { window: mainWindow })
                }
                Item {
                    Repeater {
                        id: detailsRepeater
                        model: mainWindow.kinds
                        Loader {
                            objectName: "detailsLoader_" + modelData.word
                            anchors.fill: parent
                            active: mainWindow.detailsKind === modelData.word
                            visible: active
                            source: modelData.word === "brush" ? mainWindow.brushDetailsSource
                                  : modelData.word === "alpha" ? mainWindow.alphaDetailsSource
                                  : mainWindow.resourceDetailsSource
                            onLoaded: mainWindow.give(item, {
                                window: mainWindow,
                                dataService: modelData.service,
                                kindWord: modelData.word,
                                iconPrefix: modelData.prefix
                            })
                        }
                    }
                }
                Loader {
                    id: filterLoader
                    objectName: "filterLoader"
                    source: mainWindow.filterTabSource
                    onLoaded: mainWindow.give(item, { window: mainWindow })
                }
            }
        }
        CollapseBar {
            objectName: "detailsCollapseBar"
            Layout.fillHeight: true
            Layout.preferredWidth: mainWindow.barWidth
            title: "General / Properties"
            collapsed: mainWindow.detailsCollapsed
            onClicked: mainWindow.toggleColumn(2)
        }
    }

    Rectangle {
        id: bottomStrip
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 5
        color: Style.backgroundMainBarColor
    }

    // ---- Set-up: covers everything but the bottom strip until ZBrush is known.
    Rectangle {
        id: setupCover
        objectName: "setupCover"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: bottomStrip.top
        visible: !sysData.setupOk && !mainWindow.setupCompleted
        color: Style.backgroundTopColor
        // Nothing below it takes the mouse.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            hoverEnabled: true
            onWheel: wheel.accepted = true
        }
        Loader {
            id: setupLoader
            objectName: "setupLoader"
            anchors.fill: parent
            active: setupCover.visible
            source: mainWindow.setupViewSource
            onLoaded: mainWindow.give(item, { window: mainWindow })
        }
    }
    // The set-up screen calls this once the plug-in is installed.
    function setupFinished() {
        setupCompleted = true
        if (!settingsLoaded)
            loadSettings()
    }

    // ---- Settings window: made once, shown from the options menu.
    Loader {
        id: settingsLoader
        objectName: "settingsLoader"
        source: mainWindow.settingsDialogSource
        onLoaded: mainWindow.give(item, { window: mainWindow })
    }

    // ---- Favourite stars, drawn off-screen and handed to the tiles as images.
    Item {
        id: starImages
        x: -100
        y: -100
        width: 19
        height: 38
        property var onGrab: null
        property var offGrab: null
        // Drawn only in a shown window; a hidden main window draws them when it reappears.
        property bool pending: false
        function start() { starTimer.start() }
        function refresh() {
            onStar.requestPaint()
            offStar.requestPaint()
            starTimer.restart()
        }
        FavoriteIndicator {
            id: onStar
            objectName: "favoriteOnStar"
            fillColor: Style.favoriteToggleColor
        }
        FavoriteIndicator {
            id: offStar
            objectName: "favoriteOffStar"
            y: 19
            fillColor: "black"
        }
        Timer {
            id: starTimer
            interval: 100
            onTriggered: {
                starImages.pending = !mainWindow.visible
                if (starImages.pending)
                    return
                onStar.grabToImage(function(result) {
                    starImages.onGrab = result
                    sysData.favOnSource = result.url
                })
                offStar.grabToImage(function(result) {
                    starImages.offGrab = result
                    sysData.favOffSource = result.url
                })
            }
        }
    }

    // ---- Shortcuts.
    Shortcut {
        sequence: "Ctrl+T"
        onActivated: mainWindow.toggleSelectedFavorites()
    }
    Shortcut {
        sequence: "Ctrl+B"
        onActivated: mainWindow.cycleKind()
    }
    Shortcut {
        sequence: "Ctrl+R"
        onActivated: brushData.resetAllBrushes()
    }
    Shortcut {
        sequence: "Ctrl+W"
        onActivated: mainWindow.nextFavoriteSet()
    }
    Shortcut {
        sequence: "Ctrl+M"
        onActivated: sysData.miniMode = true
    }
    Shortcut {
        sequence: "Ctrl+F"
        onActivated: mainWindow.focusSearchBox()
    }
    Shortcut {
        sequence: "Ctrl+Y"
        onActivated: mainWindow.clearAllFilters()
    }
    // Taken so that nothing else acts on it.
    Shortcut {
        sequence: "F1"
        onActivated: {}
    }

    // ---- Messages and small windows.
    MessagePopup {
        id: pluginMessage
        objectName: "pluginMessage"
        title: "Plugin Installation"
        showCancel: false
    }
    NewsWindow {
        id: newsWindow
        objectName: "newsWindow"
    }
    AboutWindow {
        id: aboutWindow
        objectName: "aboutWindow"
    }
    UpdatesWindow {
        id: updatesWindow
        objectName: "updatesWindow"
    }
}
