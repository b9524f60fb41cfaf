import QtQuick 2.15
import "Themes"

// A captioned section of the store's grid: a flow of product panels over a list of products.
Column {
    id: section
    property string title: ""
    property var model: null
    // A panel asked for the product page.
    signal openProduct(int productId)

    spacing: 10

    Rectangle {
        width: section.width
        height: 26
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor
        Text {
            anchors.left: parent.left
            anchors.leftMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: section.title
            font: Style.genericText14
            color: Style.genericTextColor
        }
    }
    Flow {
        objectName: "sectionFlow"
        width: section.width
        spacing: 10
        Repeater {
            model: section.model
            ProductPanel {
                objectName: "productPanel_" + model.id
                productId: model.id
                name: model.name
                thumbnail: model.thumbnail
                price: model.price
                categories: model.categories
                sourceLink: model.sourceLink
                owned: model.owned
                downloadStatus: model.downloadStatus
                onOpenRequested: section.openProduct(model.id)
            }
        }
    }
}
