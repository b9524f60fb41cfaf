import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15
import kiv.product 1.0
import "Themes"

// One product: its picture and what can be done with it on the left (download all of
// it, or buy it), its description and its sets on the right, each set with its own
// download.
Item {
    id: page
    property int productId: 0
    // The product's row of the store's list, followed live; null until it is found.
    property QtObject product: null
    signal backRequested()

    // The product's sets; read once per product, so that a change of its row (owned,
    // installed) does not rebuild the table under the user's mouse.
    property var subProducts: []
    onProductChanged: subProducts = product && !product.membership ? product.subProducts : []

    readonly property var status: product ? product.downloadStatus : null
    readonly property int current: status ? status.currentStatus : DownloadStatusInfo.None
    readonly property bool owned: product ? product.owned : false
    readonly property bool membership: product ? product.membership : false

    // Finds the product among the store's rows and keeps its values current.
    Repeater {
        model: storeData
        Item {
            visible: false
            Binding {
                target: page
                property: "product"
                value: model
                when: model.id === page.productId
                restoreMode: Binding.RestoreNone
            }
        }
    }

    Rectangle {
        id: leftColumn
        objectName: "productPageLeft"
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: 320
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor

        Column {
            x: 10
            y: 10
            width: parent.width - 20
            spacing: 10

            Text {
                objectName: "productPageName"
                width: parent.width
                text: page.product ? page.product.name : ""
                font: Style.genericText18
                color: Style.genericTextColor
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
            }
            WebImage {
                objectName: "productPagePicture"
                width: parent.width
                height: width
                source: page.product ? page.product.thumbnail : ""
            }
            Item {
                width: parent.width
                height: 34
                visible: page.owned
                TextButton {
                    objectName: "installedButton"
                    anchors.centerIn: parent
                    width: 160
                    visible: page.current === DownloadStatusInfo.Installed
                             || (page.current === DownloadStatusInfo.None && page.product && page.product.installed)
                    enabled: false
                    text: "Installed"
                }
                TextButton {
                    objectName: "downloadAllButton"
                    anchors.centerIn: parent
                    width: 160
                    visible: page.current === DownloadStatusInfo.None && page.product && !page.product.installed
                    text: "Download All"
                    toolTipText: page.status && page.status.errorMessage !== "" ? page.status.errorMessage : ""
                    onClicked: storeData.downloadProductById(page.productId)
                }
                DownloadStatusWidget {
                    objectName: "productPageStatus"
                    anchors.centerIn: parent
                    width: 160
                    height: 30
                    visible: page.current !== DownloadStatusInfo.None && page.current !== DownloadStatusInfo.Installed
                    status: page.status
                }
            }
            Column {
                width: parent.width
                spacing: 6
                visible: !page.owned
                TextButton {
                    objectName: "purchaseButton"
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: 160
                    text: "Purchase"
                    onClicked: Qt.openUrlExternally(page.product ? page.product.sourceLink : "")
                }
                Text {
                    objectName: "productPagePrice"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: page.product && page.product.price !== "" ? page.product.price : "$0.00"
                    font: Style.genericText14
                    color: Style.genericTextColor
                }
            }
        }
    }

    Item {
        id: mainArea
        anchors.left: leftColumn.right
        anchors.leftMargin: 10
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.top: parent.top
        anchors.bottom: parent.bottom

        Item {
            id: header
            width: parent.width
            height: 36
            IconTextButton {
                objectName: "backButton"
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                source: "Images/back.svg"
                text: "Back"
                toolTipText: "Back to Library"
                onClicked: page.backRequested()
            }
        }
        ScrollableTextBox {
            id: description
            objectName: "productDescription"
            anchors.top: header.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            height: page.membership ? parent.height - header.height - 10 : 125
            text: page.product ? page.product.descriptionMain : ""
            textFont: Style.genericText13
            background: Rectangle {
                color: Style.backgroundTopDarkColor
                border.color: Style.borderMainColor
            }
        }
        ListView {
            id: subProductTable
            objectName: "subProductTable"
            anchors.top: description.bottom
            anchors.topMargin: 10
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 6
            visible: !page.membership
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: page.subProducts
            headerPositioning: ListView.OverlayHeader
            ScrollBar.vertical: ScrollBar {}
            readonly property var columnWidths: [70, 70, 300, 100, 100]

            header: Rectangle {
                z: 2
                width: ListView.view.width
                height: 26
                color: Style.backgroundTopDarkColor
                border.color: Style.borderMainColor
                Row {
                    height: parent.height
                    Repeater {
                        model: ["", "", "Name", "File Type", "Type"]
                        Text {
                            width: subProductTable.columnWidths[index]
                            height: parent.height
                            leftPadding: 8
                            text: modelData
                            font: Style.genericText13
                            color: Style.genericTextColor
                            verticalAlignment: Text.AlignVCenter
                        }
                    }
                }
            }
            delegate: Rectangle {
                objectName: "subProductRow_" + index
                width: ListView.view.width
                height: 80
                color: Style.brushBoxBackgroundColor
                border.color: Style.brushBoxBorderColor
                Row {
                    height: parent.height
                    Item {
                        width: subProductTable.columnWidths[0]
                        height: parent.height
                        DownloadStatusWidget {
                            objectName: "subProductStatus"
                            anchors.centerIn: parent
                            width: implicitWidth
                            height: implicitHeight
                            visible: page.owned
                            status: modelData.downloadStatus
                            onDownloadRequested: storeData.downloadProduct(modelData)
                        }
                    }
                    Item {
                        width: subProductTable.columnWidths[1]
                        height: parent.height
                        WebImage {
                            anchors.centerIn: parent
                            width: 60
                            height: 60
                            source: modelData.thumbnail
                        }
                    }
                    Text {
                        objectName: "subProductName"
                        width: subProductTable.columnWidths[2]
                        height: parent.height
                        leftPadding: 8
                        rightPadding: 8
                        text: modelData.name
                        font: Style.genericText13
                        color: Style.genericTextColor
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                    }
                    Text {
                        width: subProductTable.columnWidths[3]
                        height: parent.height
                        leftPadding: 8
                        text: modelData.fileType
                        font: Style.genericText12
                        color: Style.settingsTextColor
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                    }
                    Text {
                        width: subProductTable.columnWidths[4]
                        height: parent.height
                        leftPadding: 8
                        rightPadding: 8
                        text: modelData.brushType
                        font: Style.genericText12
                        color: Style.settingsTextColor
                        verticalAlignment: Text.AlignVCenter
                        wrapMode: Text.WordWrap
                        maximumLineCount: 3
                        elide: Text.ElideRight
                    }
                }
            }
        }
    }
}
