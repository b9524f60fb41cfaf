import QtQuick 2.15
import QtQuick.Window 2.15
import "Themes"

// The narrow favourites strip shown instead of the main window in mini mode,
// upright (132 wide) or lying down (112 high).
Window {
    id: miniWindow
    objectName: "miniModeWindow"
    title: "Kivara"
    visible: sysData.miniMode
    color: Style.backgroundTopColor
    flags: keepOnTopButton.checked
           ? Qt.Window | Qt.WindowStaysOnTopHint | Qt.WindowTitleHint | Qt.WindowSystemMenuHint
             | Qt.WindowMinMaxButtonsHint | Qt.WindowCloseButtonHint
           : Qt.Window

    readonly property bool horizontal: sysData.miniHorizontalMode
    property url favoritesAreaSource: "FavoritesArea.qml"
    // The favourites set shown (index into sysData.favoritesModel).
    property int favoriteSetIndex: 0
    // The set last activated; its index is looked up again when the sets are reordered.
    property var activatedFavoriteSet: null
    readonly property var currentFavoriteSet: {
        var sets = sysData.favoritesModel
        return sets.length > 0 ? sets[Math.min(Math.max(favoriteSetIndex, 0), sets.length - 1)] : null
    }

    minimumWidth: horizontal ? 352 : 132
    maximumWidth: horizontal ? 16777215 : 132
    minimumHeight: horizontal ? 112 : 352
    maximumHeight: horizontal ? 112 : 16777215

    function applyOrientation() {
        if (horizontal) {
            width = 616
            height = 112
        } else {
            width = 132
            height = 616
        }
    }
    function toggleOrientation() {
        sysData.miniHorizontalMode = !sysData.miniHorizontalMode
        applyOrientation()
    }
    function nextFavoriteSet() {
        var sets = sysData.favoritesModel
        if (sets.length === 0)
            return
        var index = Math.min(Math.max(favoriteSetIndex, 0), sets.length - 1)
        sysData.activateFavoriteSet(sets[index], sets[(index + 1) % sets.length])
        sysData.selectedFavoriteIndex = -1
    }
    Component.onCompleted: applyOrientation()

    Connections {
        target: sysData
        function onFavoriteSetActivated(oldSet, currentSet) {
            miniWindow.activatedFavoriteSet = currentSet
            var index = sysData.favoritesModel.indexOf(currentSet)
            if (index >= 0)
                miniWindow.favoriteSetIndex = index
        }
        function onFavoritesModelChanged() {
            var index = sysData.favoritesModel.indexOf(miniWindow.activatedFavoriteSet)
            if (index >= 0)
                miniWindow.favoriteSetIndex = index
        }
    }

    Rectangle {
        id: bar
        objectName: "miniBar"
        width: miniWindow.horizontal ? 36 : parent.width
        height: miniWindow.horizontal ? parent.height : 36
        color: Style.backgroundMainBarColor
        border.color: Style.borderMainColor

        Grid {
            anchors.centerIn: parent
            columns: miniWindow.horizontal ? 1 : 3
            spacing: 2
            ToggleButton {
                id: keepOnTopButton
                objectName: "miniKeepOnTopButton"
                source: "Images/keepontop.svg"
                toolTipText: "Keep on Top"
            }
            IconButton {
                objectName: "fullModeButton"
                source: "Images/fullmode.svg"
                toolTipText: "Full Mode"
                onClicked: sysData.miniMode = false
            }
            IconButton {
                objectName: "orientationButton"
                source: miniWindow.horizontal ? "Images/vertical.svg" : "Images/horizontal.svg"
                toolTipText: miniWindow.horizontal ? "Vertical Mode" : "Horizontal Mode"
                onClicked: miniWindow.toggleOrientation()
            }
        }
    }

    Loader {
        id: favoritesLoader
        objectName: "miniFavoritesLoader"
        x: miniWindow.horizontal ? bar.width : 0
        y: miniWindow.horizontal ? 0 : bar.height
        width: miniWindow.width - x
        height: miniWindow.height - y
        source: miniWindow.favoritesAreaSource
        onLoaded: {
            var values = {
                dataService: sysData,
                window: miniWindow,
                mainView: null,
                enablePanelTooltips: false,
                miniMode: true,
                horizontalMode: Qt.binding(function() { return miniWindow.horizontal })
            }
            for (var name in values) {
                if (name in item)
                    item[name] = values[name]
            }
        }
    }

    Shortcut {
        sequence: "Ctrl+M"
        onActivated: sysData.miniMode = false
    }
    Shortcut {
        sequence: "Ctrl+W"
        onActivated: miniWindow.nextFavoriteSet()
    }
}
