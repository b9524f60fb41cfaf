import QtQuick 2.15
import QtQuick.Window 2.15
import "Themes"

// Version, makers and credits on the left, the licence agreement on the right.
Window {
    id: aboutWindow
    title: "About"
    width: 800
    height: 600
    minimumWidth: 800
    maximumWidth: 800
    minimumHeight: 600
    maximumHeight: 600
    modality: Qt.ApplicationModal
    flags: Qt.Dialog
    color: Style.backgroundTopColor

    readonly property var crew: [
        { name: "The KIV crew", role: "Design, catalogue, ZBrush bridge, store" },
        { name: "The KDE community", role: "Breeze icons (LGPL 3)" },
        { name: "The Quicksand Project Authors", role: "Quicksand typeface (SIL Open Font Licence)" },
        { name: "The Qt Project", role: "Qt, the toolkit under Kivara (LGPL 3)" }
    ]

    Loader {
        anchors.fill: parent
        active: aboutWindow.visible
        sourceComponent: Row {
            Item {
                width: aboutWindow.width / 2
                height: aboutWindow.height
                Column {
                    anchors.fill: parent
                    anchors.margins: 20
                    spacing: 10
                    Text {
                        text: "About"
                        font: Style.genericText22
                        color: Style.genericTextColor
                    }
                    Text {
                        objectName: "aboutVersion"
                        text: "Version " + Qt.application.version
                        font: Style.genericText14
                        color: Style.genericTextColor
                    }
                    Text {
                        width: parent.width
                        text: "Kivara is made by KIV, 2019\u20132025."
                        font: Style.genericText12
                        color: Style.settingsTextColor
                        wrapMode: Text.Wrap
                    }
                    Item { width: 1; height: 10 }
                    Text {
                        text: "The Crew"
                        font: Style.genericTextBold14
                        color: Style.genericTextColor
                    }
                    Repeater {
                        model: aboutWindow.crew
                        Row {
                            spacing: 12
                            Rectangle {
                                width: 48
                                height: 48
                                radius: 24
                                color: Style.backgroundTopDarkColor
                                border.color: Style.borderMainColor
                                Image {
                                    anchors.centerIn: parent
                                    width: 30
                                    height: 30
                                    sourceSize: Qt.size(30, 30)
                                    source: "Images/user.svg"
                                }
                            }
                            Column {
                                anchors.verticalCenter: parent.verticalCenter
                                spacing: 2
                                Text {
                                    text: modelData.name
                                    font: Style.genericTextBold12
                                    color: Style.genericTextColor
                                }
                                Text {
                                    text: modelData.role
                                    font: Style.genericText11
                                    color: Style.settingsTextColor
                                }
                            }
                        }
                    }
                }
            }
            Rectangle {
                width: aboutWindow.width / 2
                height: aboutWindow.height
                color: Style.backgroundTopDarkColor
                border.color: Style.borderMainColor
                Text {
                    id: eulaTitle
                    x: 20
                    y: 20
                    text: "EULA"
                    font: Style.genericText22
                    color: Style.genericTextColor
                }
                Rectangle {
                    anchors.top: eulaTitle.bottom
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.bottom: parent.bottom
                    anchors.margins: 20
                    anchors.topMargin: 10
                    color: Style.editBoxBackgroundColor
                    border.color: Style.comboBoxBorderColor
                    EulaScrollView {
                        objectName: "aboutEula"
                        anchors.fill: parent
                        anchors.margins: 1
                    }
                }
            }
        }
    }
}
