import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// Every shared control once, for the screenshot "controls" (read as if it sat in qml/).
Rectangle {
    width: 1304
    height: 616
    color: Style.backgroundTopColor
    Column {
        x: 16
        y: 16
        spacing: 14
        Row {
            spacing: 10
            IconButton { source: "Images/brush.svg" }
            IconButton { source: "Images/alpha.svg"; enabled: false }
            SmallIconButton { source: "Images/add.svg" }
            KindButton { source: "Images/material.svg"; checked: true }
            KindButton { source: "Images/tool.svg" }
            ToggleButton { source: "Images/keepontop.svg"; checked: true }
            ToggleButton { source: "Images/ignore.svg" }
            Separator { anchors.verticalCenter: parent.verticalCenter }
            IconTextButton { source: "Images/download.svg"; text: "Download" }
            TextButton { text: "Install" }
            TextButton { text: "Plain"; framed: false }
            TextToggleButton { text: "Clay"; checked: true }
            TextToggleButton { text: "Standard" }
        }
        Row {
            spacing: 16
            FilterCheckBox { text: "Ignored"; checked: true }
            FilterCheckBox { text: "16-bit" }
            EditBox { width: 218; placeholderText: "Search" }
            EditBox { width: 160; text: "Clay Buildup" }
            KIVComboBox { width: 180; model: ["All", "Unassigned", "Sculpting"] }
            KIVProgressBar { width: 120; value: 60; anchors.verticalCenter: parent.verticalCenter }
            KIVBusyIndicator { width: 30; height: 30 }
            FavoriteIndicator { fillColor: Style.favoriteToggleColor }
            FavoriteIndicator { fillColor: "black" }
        }
        Row {
            spacing: 16
            TabBar {
                width: 250
                KIVTabButton { text: "General" }
                KIVTabButton { text: "Property" }
                KIVTabButton { text: "Filter" }
            }
            CollapseBar { height: 150; title: "Favorites" }
            CollapseBar { height: 150; title: "Brushes"; collapsed: true }
            SettingsFrame {
                title: "Options"
                height: 150
                ScrollableTextBox {
                    anchors.fill: parent
                    text: "<b>Rich text</b> with a <a href='https://kivara.app'>link</a>, wrapped over several lines so that the scroll bar shows. "
                          + "More text follows to fill the box. More text follows to fill the box. More text follows to fill the box."
                }
            }
            Rectangle {
                width: 210
                height: 150
                color: "white"
                border.color: "black"
                Column {
                    y: 1
                    x: 1
                    KIVMenuItem { width: 208; text: "Settings"; icon.source: "Images/settings-dark.svg" }
                    KIVMenuItem { width: 208; text: "Help"; icon.source: "Images/help-dark.svg"; highlighted: true }
                }
            }
        }
        Row {
            spacing: 16
            Rectangle {
                width: 300
                height: 30
                color: Style.toolTipBackgroundColor
                border.color: Style.toolTipBorderColor
                opacity: 0.9
                Text {
                    anchors.centerIn: parent
                    text: "Tooltip text"
                    font: Style.genericText14
                    color: Style.genericTextColor
                }
            }
        }
    }
    MessagePopup {
        id: message
        message: "Remove the favourite set \"Sculpt\"?"
    }
    // Opened once the gallery sits in the window.
    Component.onCompleted: Qt.callLater(message.open)
}
