import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The "General" page of the main window's right column: switch ZBrush's colour
// scheme and layout, and run ZBrush macros.
Item {
    id: tab
    property var window: null

    Column {
        id: column
        anchors.fill: parent
        anchors.margins: 10
        spacing: 4

        Text {
            text: "ZBrush User Interface"
            font: Style.genericText14
            color: Style.genericTextColor
        }
        Text {
            text: "ZBrush UI Color"
            font: Style.genericText12
            color: Style.settingsTextColor
        }
        KIVComboBox {
            objectName: "uiColorCombo"
            width: column.width
            model: sysData.uiColors
            textRole: "name"
            onActivated: sysData.activateUIColor(index)
        }
        Text {
            text: "ZBrush UI Layout"
            font: Style.genericText12
            color: Style.settingsTextColor
        }
        KIVComboBox {
            objectName: "uiLayoutCombo"
            width: column.width
            model: sysData.uiLayouts
            textRole: "name"
            onActivated: sysData.activateUILayout(index)
        }
        // With the spacing on both sides, 10 px before the macros.
        Item {
            width: 1
            height: 2
        }
        Rectangle {
            width: column.width
            height: 24
            color: Style.backgroundTopDarkColor
            border.color: Style.borderMainColor
            Text {
                anchors.fill: parent
                anchors.leftMargin: 8
                text: "Macros"
                font: Style.genericText13
                color: Style.genericTextColor
                verticalAlignment: Text.AlignVCenter
            }
        }
        SettingsList {
            id: macros
            objectName: "macroList"
            width: column.width
            height: 125
            textRole: "name"
            model: sysData.macros
            onActivated: sysData.activateMacro(row)
        }
    }
}
