import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// Every product as a row: where its download stands (or a way to the store's page),
// its picture, name, price, categories and short description. A click opens its page.
ListView {
    id: table
    // A row asked for the product page.
    signal openProduct(int productId)

    // The description takes what room is left, at least its 100 px.
    readonly property var columnWidths: [70, 70, 300, 100, 200, Math.max(100, width - 740)]
    readonly property int rowWidth: 740 + columnWidths[5]

    clip: true
    model: storeData.model
    contentWidth: rowWidth
    flickableDirection: Flickable.AutoFlickIfNeeded
    boundsBehavior: Flickable.StopAtBounds
    headerPositioning: ListView.OverlayHeader
    ScrollBar.vertical: ScrollBar {}
    ScrollBar.horizontal: ScrollBar {}

    header: Rectangle {
        z: 2
        width: Math.max(table.width, table.rowWidth)
        height: 26
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor
        Row {
            height: parent.height
            Repeater {
                model: ["", "", "Name", "Price", "Category", "Description"]
                Text {
                    width: table.columnWidths[index]
                    height: parent.height
                    leftPadding: 8
                    text: modelData
                    font: Style.genericText13
                    color: Style.genericTextColor
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                }
            }
        }
    }

    delegate: Rectangle {
        objectName: "productRow_" + model.id
        width: Math.max(table.width, table.rowWidth)
        height: 80
        color: rowMouse.containsMouse ? Style.brushBoxMouseOverColor : Style.brushBoxBackgroundColor
        border.color: Style.brushBoxBorderColor

        MouseArea {
            id: rowMouse
            anchors.fill: parent
            hoverEnabled: true
            onClicked: table.openProduct(model.id)
        }
        Row {
            height: parent.height
            Item {
                width: table.columnWidths[0]
                height: parent.height
                DownloadStatusWidget {
                    objectName: "productStatus"
                    anchors.centerIn: parent
                    width: implicitWidth
                    height: implicitHeight
                    visible: model.owned
                    status: model.downloadStatus
                    onDownloadRequested: storeData.downloadProductById(model.id)
                }
                IconButton {
                    objectName: "storeButton"
                    anchors.centerIn: parent
                    visible: !model.owned
                    source: "Images/store.svg"
                    toolTipText: "View in Store"
                    onClicked: Qt.openUrlExternally(model.sourceLink)
                }
            }
            Item {
                width: table.columnWidths[1]
                height: parent.height
                WebImage {
                    anchors.centerIn: parent
                    width: 60
                    height: 60
                    source: model.thumbnail
                }
            }
            Text {
                objectName: "productName"
                width: table.columnWidths[2]
                height: parent.height
                leftPadding: 8
                rightPadding: 8
                text: model.name
                font: Style.genericText14
                color: Style.genericTextColor
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
            }
            Text {
                objectName: "productPrice"
                width: table.columnWidths[3]
                height: parent.height
                leftPadding: 8
                text: model.owned ? "Owned" : (model.price !== "" ? model.price : "$0.00")
                font: Style.genericText12
                color: Style.genericTextColor
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
            }
            Text {
                width: table.columnWidths[4]
                height: parent.height
                leftPadding: 8
                rightPadding: 8
                text: model.categories
                font: Style.genericText12
                color: Style.settingsTextColor
                verticalAlignment: Text.AlignVCenter
                wrapMode: Text.WordWrap
                maximumLineCount: 3
                elide: Text.ElideRight
            }
            Text {
                width: table.columnWidths[5]
                height: parent.height
                leftPadding: 8
                rightPadding: 8
                text: model.description
                font: Style.genericText11
                color: Style.settingsTextColor
                verticalAlignment: Text.AlignVCenter
                wrapMode: Text.WordWrap
                maximumLineCount: 4
                elide: Text.ElideRight
            }
        }
    }
}
