import QtQuick 2.15
import QtQuick.Window 2.15
import "Themes"
import "Links.js" as Links

// The running and the newest version, the update check and the update options.
Window {
    id: updatesWindow
    title: "Updates"
    width: 320
    height: 340
    minimumWidth: 320
    maximumWidth: 320
    minimumHeight: 340
    maximumHeight: 340
    modality: Qt.ApplicationModal
    flags: Qt.Dialog
    color: Style.backgroundTopColor

    Loader {
        anchors.fill: parent
        active: updatesWindow.visible
        sourceComponent: Column {
            topPadding: 10
            spacing: 10
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Kivara Update"
                font: Style.genericText18
                color: Style.genericTextColor
            }
            SettingsFrame {
                anchors.horizontalCenter: parent.horizontalCenter
                title: "Version"
                height: 110
                Column {
                    anchors.fill: parent
                    anchors.margins: 10
                    spacing: 8
                    Text {
                        objectName: "currentVersionText"
                        text: "Current Version: " + Qt.application.version
                        font: Style.genericText12
                        color: Style.genericTextColor
                    }
                    Row {
                        spacing: 6
                        height: 30
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: "Latest Version: "
                            font: Style.genericText12
                            color: Style.genericTextColor
                        }
                        TextButton {
                            objectName: "checkForUpdatesButton"
                            anchors.verticalCenter: parent.verticalCenter
                            visible: !sysData.checkedForUpdates
                            text: "Check for Updates"
                            onClicked: {
                                enabled = false
                                sysData.checkForUpdates()
                            }
                        }
                        Text {
                            objectName: "latestVersionText"
                            anchors.verticalCenter: parent.verticalCenter
                            visible: sysData.checkedForUpdates
                            text: sysData.latestVersion === Qt.application.version ? "Up to Date" : sysData.latestVersion
                            font: Style.genericText12
                            color: Style.genericTextColor
                        }
                    }
                }
            }
            SettingsFrame {
                anchors.horizontalCenter: parent.horizontalCenter
                title: "Options"
                height: 150
                Column {
                    anchors.fill: parent
                    anchors.margins: 10
                    spacing: 8
                    FilterCheckBox {
                        objectName: "autoUpdateCheckBox"
                        width: parent.width
                        text: "Automatically Update Kivara"
                        font: Style.genericText12
                        checked: sysData.autoUpdateKivara
                        onToggled: sysData.autoUpdateKivara = checked
                    }
                    Column {
                        spacing: 8
                        TextButton {
                            objectName: "installUpdateButton"
                            width: 200
                            text: "Download and Install"
                            enabled: sysData.updateAvailable
                            onClicked: {
                                sysData.installUpdate()
                                updatesWindow.close()
                            }
                        }
                        TextButton {
                            objectName: "releaseNotesButton"
                            width: 200
                            text: "Release Notes"
                            onClicked: Qt.openUrlExternally(Links.releaseNotes)
                        }
                    }
                }
            }
        }
    }
}
