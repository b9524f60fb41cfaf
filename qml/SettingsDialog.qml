import QtQuick 2.15
import QtQuick.Window 2.15
import "Themes"

// The settings window, application-modal; its content exists only while it is shown.
Window {
    id: dialog
    objectName: "settingsDialog"
    // The main window.
    property var window: null
    readonly property var view: viewLoader.item

    title: "Settings"
    width: 800
    height: 600
    minimumWidth: 800
    minimumHeight: 600
    maximumWidth: 800
    maximumHeight: 600
    modality: Qt.ApplicationModal
    flags: Qt.Dialog | Qt.CustomizeWindowHint | Qt.WindowTitleHint | Qt.WindowCloseButtonHint
    color: Style.backgroundTopColor

    // Long work must end before the window goes: it reports into it.
    onClosing: if (view && view.busy) close.accepted = false

    Loader {
        id: viewLoader
        objectName: "settingsViewLoader"
        anchors.fill: parent
        active: dialog.visible
        sourceComponent: Component {
            SettingsView {
                objectName: "settingsView"
                window: dialog.window
            }
        }
    }
}
