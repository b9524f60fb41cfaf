import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The "General" settings: options, the ZBrush folder, the theme, and the library
// database's import, export and rescan.
Item {
    id: tab
    property var view: null
    property var window: null

    // The choosers hand their choices to these.
    function chooseZBrushFolder(url) {
        var before = sysData.zbrushPath
        sysData.zbrushPath = url.toString()
        if (sysData.zbrushPath !== before)
            view.askRestart()
    }
    function importFrom(url) {
        view.importDatabase(url)
    }
    function exportTo(url) {
        view.exportDatabase(url)
    }
    function chooseTheme(name) {
        if (tab.window)
            tab.window.chooseTheme(name)
    }

    Flow {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 10

        SettingsFrame {
            title: "Options"
            height: 160
            Column {
                anchors.fill: parent
                anchors.margins: 8
                spacing: 4
                FilterCheckBox {
                    objectName: "singleClickOption"
                    text: "Single-click Select"
                    font: Style.genericText12
                    checked: !sysData.doubleClickActivate
                    onToggled: sysData.doubleClickActivate = !checked
                }
                FilterCheckBox {
                    objectName: "advancedTooltipsOption"
                    text: "Show Advanced Tooltips"
                    font: Style.genericText12
                    checked: sysData.showAdvancedTooltips
                    onToggled: sysData.showAdvancedTooltips = checked
                }
                FilterCheckBox {
                    objectName: "kivCategoryOption"
                    text: "Show KIV Category"
                    font: Style.genericText12
                    checked: sysData.showKIVCategory
                    onToggled: sysData.showKIVCategory = checked
                }
                FilterCheckBox {
                    objectName: "autoUpdateOption"
                    text: "Automatically Update Kivara"
                    font: Style.genericText12
                    checked: sysData.autoUpdateKivara
                    onToggled: sysData.autoUpdateKivara = checked
                }
            }
        }

        SettingsFrame {
            title: "ZBrush Path"
            height: 75
            EditBox {
                objectName: "zbrushPathField"
                anchors.left: parent.left
                anchors.right: zbrushButton.left
                anchors.verticalCenter: parent.verticalCenter
                anchors.leftMargin: 10
                anchors.rightMargin: 6
                text: sysData.zbrushPath
                readOnly: true
                KIVToolTip {
                    text: sysData.zbrushPath
                    visible: parent.hovered && text !== ""
                }
            }
            SmallIconButton {
                id: zbrushButton
                objectName: "zbrushPathButton"
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                source: "Images/search.svg"
                toolTipText: "Choose the ZBrush folder"
                onClicked: zbrushChooser.open()
            }
        }

        SettingsFrame {
            title: "Theme"
            height: 90
            Column {
                anchors.fill: parent
                anchors.margins: 8
                spacing: 6
                FilterCheckBox {
                    id: sync
                    objectName: "colorSyncOption"
                    text: "Sync With ZBrush Colors"
                    font: Style.genericText12
                    checked: sysData.zbrushUiColorSync
                    onToggled: sysData.zbrushUiColorSync = checked
                }
                KIVComboBox {
                    objectName: "themeCombo"
                    width: parent.width
                    model: Style.themeNames
                    enabled: !sync.checked
                    currentIndex: Math.max(0, Style.themeNames.indexOf(sysData.theme))
                    toolTipText: enabled ? "" : "Turn off the ZBrush colours to choose a theme"
                    onActivated: tab.chooseTheme(Style.themeNames[index])
                }
            }
        }

        SettingsFrame {
            title: "Advanced Options"
            height: 184
            Column {
                anchors.centerIn: parent
                spacing: 12
                TextButton {
                    objectName: "importButton"
                    width: 160
                    text: "Import Database"
                    onClicked: importChooser.open()
                }
                TextButton {
                    objectName: "exportButton"
                    width: 160
                    text: "Export Database"
                    onClicked: exportChooser.open()
                }
                TextButton {
                    objectName: "rescanButton"
                    width: 160
                    text: "Rescan Local Files"
                    onClicked: view.startRescan()
                }
            }
        }
    }

    FileChooser {
        id: zbrushChooser
        objectName: "zbrushChooser"
        onChosen: tab.chooseZBrushFolder(fileUrl)
    }
    FileChooser {
        id: importChooser
        objectName: "importChooser"
        selectFolder: false
        defaultSuffix: "db"
        nameFilters: ["Library databases (*.db)", "All files (*)"]
        onChosen: tab.importFrom(fileUrl)
    }
    FileChooser {
        id: exportChooser
        objectName: "exportChooser"
        selectFolder: false
        selectExisting: false
        defaultSuffix: "db"
        nameFilters: ["Library databases (*.db)", "All files (*)"]
        onChosen: tab.exportTo(fileUrl)
    }
}
