import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The settings window's content: a column of tabs on the left, the chosen tab's page
// on the right (made only while it is shown), and the dialogs the pages share:
// confirmation, renaming, the restart question, long work and its failures.
Item {
    id: view
    property var window: null
    property int currentIndex: 0
    readonly property var tabs: [
        { title: "General", file: "GeneralSettingsTab.qml" },
        { title: "Brushes", file: "ResourceSettingsTab.qml", service: brushData },
        { title: "Alphas", file: "ResourceSettingsTab.qml", service: alphaData },
        { title: "Textures", file: "ResourceSettingsTab.qml", service: textureData },
        { title: "Materials", file: "ResourceSettingsTab.qml", service: materialData },
        { title: "Lights", file: "ResourceSettingsTab.qml", service: lightData },
        { title: "Projects", file: "ResourceSettingsTab.qml", service: projectData },
        { title: "Tools", file: "ResourceSettingsTab.qml", service: toolData },
        { title: "Fibers", file: "ResourceSettingsTab.qml", service: fiberData },
        { title: "Grids", file: "ResourceSettingsTab.qml", service: gridData },
        { title: "Array Mesh", file: "ResourceSettingsTab.qml", service: arrayData },
        { title: "Spotlights", file: "ResourceSettingsTab.qml", service: spotlightData },
        { title: "Render Presets", file: "ResourceSettingsTab.qml", service: renderPresetData },
        { title: "ZBrush UI", file: "LayoutTab.qml" },
        { title: "Library", file: "LibrarySettingsTab.qml" }
    ]
    readonly property var currentPage: page.item

    // What the running import or export does, for the busy popup.
    property string transferText: ""
    readonly property bool busy: sysData.movingLibrary || sysData.rescanning || sysData.transferringDatabase

    function showTab(index) {
        currentIndex = index
        var tab = tabs[index]
        var values = { view: view, window: view.window }
        if (tab.service)
            values.service = tab.service
        // The same page for another kind is made anew.
        page.source = ""
        page.setSource(tab.file, values)
    }
    function confirm(message, action) {
        confirmPopup.message = message
        confirmPopup.confirmAction = action
        confirmPopup.open()
    }
    function edit(title, text, action) {
        editPopup.title = title
        editPopup.text = text
        editPopup.confirmAction = action
        editPopup.open()
    }
    function askRestart() {
        restartPopup.open()
    }
    function showFailure(title, message) {
        failurePopup.title = title
        failurePopup.message = message
        failurePopup.open()
    }
    // Each runs in the background under the busy popup and reports back through sysData.
    function importDatabase(url) {
        transferText = "Importing the library…"
        sysData.importDatabase(url.toString())
    }
    function exportDatabase(url) {
        transferText = "Exporting the library…"
        sysData.exportDatabase(url.toString())
    }
    function startRescan() {
        sysData.startRescan()
    }

    onBusyChanged: busy ? busyPopup.open() : busyPopup.close()
    Component.onCompleted: {
        showTab(0)
        if (busy)
            busyPopup.open()
    }

    Rectangle {
        id: tabColumn
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: 150
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor
        Column {
            anchors.fill: parent
            Repeater {
                model: view.tabs
                TabButtonSettings {
                    objectName: "settingsTab_" + index
                    width: tabColumn.width
                    text: modelData.title
                    window: view.window
                    checked: view.currentIndex === index
                    onClicked: view.showTab(index)
                }
            }
        }
    }
    Rectangle {
        anchors.left: tabColumn.right
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        color: Style.backgroundTopColor
        Loader {
            id: page
            objectName: "settingsPage"
            anchors.fill: parent
        }
    }

    Connections {
        target: sysData
        function onLibraryMoveFinished(moved, error) {
            if (!moved)
                view.showFailure("Library Not Moved", "The library could not be moved: " + error)
        }
        function onDatabaseImported(ok, error) {
            if (ok)
                view.askRestart()
            else
                view.showFailure("Import Failed", "The library was not imported and is unchanged: " + error)
        }
        function onDatabaseExported(ok, error) {
            if (!ok)
                view.showFailure("Export Failed", "The library could not be exported: " + error)
        }
    }

    MessagePopup {
        id: confirmPopup
        objectName: "confirmPopup"
    }
    EditPopup {
        id: editPopup
        objectName: "editPopup"
    }
    MessagePopup {
        id: restartPopup
        objectName: "restartDialog"
        title: "Restarting"
        message: "Kivara must restart for your changes to take affect."
        showCancel: false
        confirmAction: function() { sysData.restartApp() }
    }
    MessagePopup {
        id: failurePopup
        objectName: "failurePopup"
        showCancel: false
    }
    BusyPopup {
        id: busyPopup
        objectName: "busyPopup"
        text: sysData.movingLibrary ? "Moving the library…"
            : sysData.rescanning ? "Rescanning local files…" : view.transferText
        progress: sysData.rescanning ? sysData.rescanProgress : -1
    }
}
