import QtQuick 2.15
import QtQuick.Window 2.15
import "Themes"
import "News.js" as NewsText

// What is new in Kivara, shown at start until the user turns it off.
Window {
    id: newsWindow
    title: "KIV Source"
    width: 820
    height: 490
    minimumWidth: 820
    maximumWidth: 820
    minimumHeight: 490
    maximumHeight: 490
    flags: Qt.Dialog
    color: Style.backgroundTopColor

    Loader {
        anchors.fill: parent
        active: newsWindow.visible
        sourceComponent: Item {
            Rectangle {
                id: panel
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.bottom: footer.top
                anchors.margins: 10
                color: Style.backgroundTopDarkColor
                border.color: Style.borderMainColor
                ScrollableTextBox {
                    objectName: "newsText"
                    anchors.fill: parent
                    anchors.margins: 1
                    text: NewsText.html
                    textPadding: 16
                }
            }
            Item {
                id: footer
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: 36
                FilterCheckBox {
                    objectName: "dontShowNewsCheckBox"
                    anchors.left: parent.left
                    anchors.leftMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Don't Show Again"
                    font: Style.genericText12
                    checked: !sysData.showNews
                    onToggled: sysData.showNews = !checked
                }
            }
        }
    }
}
