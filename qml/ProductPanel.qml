import QtQuick 2.15
import "Themes"

// One product in the store's grid: its picture, name and price, its categories, and
// either where its download stands (owned) or a way to the store's page (not owned).
Rectangle {
    id: panel
    property int productId: 0
    property string name: ""
    property string thumbnail: ""
    property string price: ""
    property string categories: ""
    property string sourceLink: ""
    property bool owned: false
    property var downloadStatus: null
    // The product page is asked for.
    signal openRequested()

    width: 304
    height: 364
    color: pictureMouse.containsMouse ? Style.brushBoxMouseOverColor : Style.brushBoxBackgroundColor
    border.color: Style.brushBoxBorderColor

    WebImage {
        objectName: "productPicture"
        x: 2
        y: 2
        width: 300
        height: 300
        source: panel.thumbnail
        MouseArea {
            id: pictureMouse
            objectName: "productPictureArea"
            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: panel.openRequested()
            onDoubleClicked: panel.openRequested()
        }
    }
    Item {
        id: nameRow
        x: 8
        y: 302
        width: parent.width - 16
        height: 30
        Text {
            objectName: "productName"
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(200, parent.width - (priceText.visible ? priceText.width + 8 : 0))
            text: panel.name
            font: Style.genericText14
            color: Style.genericTextColor
            elide: Text.ElideRight
        }
        Text {
            id: priceText
            objectName: "productPrice"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            visible: !panel.owned
            text: panel.price !== "" ? panel.price : "$0.00"
            font: Style.genericText13
            color: Style.genericTextColor
        }
    }
    Item {
        x: 8
        y: nameRow.y + nameRow.height
        width: parent.width - 16
        height: 30
        Text {
            objectName: "productCategories"
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(250, parent.width - rightSide.width - 8)
            text: panel.categories
            font: Style.genericText11
            color: Style.settingsTextColor
            elide: Text.ElideRight
        }
        Item {
            id: rightSide
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            width: panel.owned ? statusWidget.implicitWidth : storeButton.implicitWidth
            height: 30
            DownloadStatusWidget {
                id: statusWidget
                objectName: "productStatus"
                anchors.fill: parent
                visible: panel.owned
                status: panel.downloadStatus
                onDownloadRequested: storeData.downloadProductById(panel.productId)
            }
            IconButton {
                id: storeButton
                objectName: "storeButton"
                anchors.centerIn: parent
                visible: !panel.owned
                source: "Images/store.svg"
                toolTipText: "View in Store"
                onClicked: Qt.openUrlExternally(panel.sourceLink)
            }
        }
    }
}
