import QtQuick 2.15
import QtQuick.Controls 2.15
import org.kde.kitemmodels 1.0
import "Themes"

// The store's library page: memberships, categories and the install filters on the
// left; the products as a grid or a table, with a search box, on the right.
Item {
    id: page
    // A product page is asked for.
    signal openProduct(int productId)

    // The category the lists are narrowed to; 0 is "All".
    property int selectedCategoryId: 0
    property bool tableView: false

    function focusSearchBox() {
        searchBox.forceActiveFocus()
    }

    Column {
        id: leftColumn
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.leftMargin: 6
        anchors.topMargin: 6
        width: 220
        spacing: 8

        StoreBox {
            objectName: "subscriptionsBox"
            width: parent.width
            title: "Subscriptions"
            ListView {
                id: subscriptionsList
                objectName: "subscriptionsList"
                width: parent.width
                height: Math.min(contentHeight, 96)
                clip: true
                interactive: contentHeight > height
                model: storeData.membershipModel
                ScrollBar.vertical: ScrollBar { policy: subscriptionsList.interactive ? ScrollBar.AsNeeded : ScrollBar.AlwaysOff }
                delegate: Rectangle {
                    objectName: "subscriptionItem_" + model.id
                    width: ListView.view.width
                    height: 24
                    color: subscriptionMouse.containsMouse ? Style.brushBoxMouseOverColor : "transparent"
                    Text {
                        anchors.fill: parent
                        anchors.leftMargin: 10
                        anchors.rightMargin: 6
                        text: model.name
                        font: Style.genericText12
                        color: Style.genericTextColor
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                    }
                    MouseArea {
                        id: subscriptionMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        cursorShape: Qt.PointingHandCursor
                        onClicked: page.openProduct(model.id)
                    }
                }
            }
        }

        StoreBox {
            objectName: "categoriesBox"
            width: parent.width
            title: "Categories"
            ListView {
                id: categoryList
                objectName: "categoryList"
                width: parent.width
                height: 210
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar {}
                // The tree, every branch open, one row per category.
                model: KDescendantsProxyModel {
                    model: storeData.categories
                    expandsByDefault: true
                }
                delegate: Rectangle {
                    readonly property int categoryId: model.id_role !== undefined ? model.id_role : 0
                    readonly property bool selected: categoryId === page.selectedCategoryId
                    objectName: "categoryItem_" + model.name_role
                    width: ListView.view.width
                    height: 20
                    color: selected ? Style.brushBoxSelectedColor
                                    : categoryMouse.containsMouse ? Style.brushBoxMouseOverColor : "transparent"
                    Text {
                        anchors.fill: parent
                        anchors.leftMargin: 10 + 14 * Math.max(0, model.kDescendantLevel - 1)
                        anchors.rightMargin: 6
                        text: model.name_role
                        font: Style.genericText12
                        color: Style.genericTextColor
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                    }
                    MouseArea {
                        id: categoryMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            page.selectedCategoryId = parent.categoryId
                            storeData.filterByCategory(true, parent.categoryId)
                        }
                    }
                }
            }
        }

        StoreBox {
            objectName: "miscBox"
            width: parent.width
            title: "Misc"
            Column {
                x: 8
                width: parent.width - 16
                spacing: 4
                FilterCheckBox {
                    objectName: "installedToggle"
                    text: "Installed"
                    checked: true
                    onToggled: storeData.filterByInstalled(checked)
                }
                FilterCheckBox {
                    objectName: "notInstalledToggle"
                    text: "Not Installed"
                    checked: true
                    onToggled: storeData.filterByNotInstalled(checked)
                }
            }
        }
    }

    Item {
        id: mainArea
        anchors.left: leftColumn.right
        anchors.leftMargin: 20
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.top: parent.top
        anchors.bottom: parent.bottom

        Item {
            id: header
            width: parent.width
            height: 32
            IconButton {
                id: viewButton
                objectName: "viewToggleButton"
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                source: "Images/layout.svg"
                toolTipText: "View"
                onClicked: page.tableView = !page.tableView
            }
            Text {
                anchors.left: viewButton.right
                anchors.leftMargin: 10
                anchors.right: searchRow.left
                anchors.rightMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                text: "Library"
                font: Style.genericText16
                color: Style.genericTextColor
                elide: Text.ElideRight
            }
            Row {
                id: searchRow
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4
                EditBox {
                    id: searchBox
                    objectName: "searchBox"
                    anchors.verticalCenter: parent.verticalCenter
                    width: 218
                    height: 23
                    implicitHeight: 23
                    placeholderText: "Search"
                    onTextChanged: storeData.filterByName(text)
                }
                SmallIconButton {
                    objectName: "clearSearchButton"
                    anchors.verticalCenter: parent.verticalCenter
                    source: "Images/clear.svg"
                    toolTipText: "Clear Search Text"
                    onClicked: searchBox.text = ""
                }
            }
        }

        Item {
            anchors.top: header.bottom
            anchors.topMargin: 6
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom

            KIVBusyIndicator {
                objectName: "catalogueBusyIndicator"
                anchors.centerIn: parent
                width: 80
                height: 80
                running: !storeData.hasProductList
            }
            Loader {
                objectName: "productViewLoader"
                anchors.fill: parent
                active: storeData.hasProductList
                sourceComponent: page.tableView ? tableComponent : gridComponent
            }
        }
    }

    Component {
        id: gridComponent
        StoreGridView {
            objectName: "storeGridView"
            onOpenProduct: page.openProduct(productId)
        }
    }
    Component {
        id: tableComponent
        StoreTableView {
            objectName: "storeTableView"
            onOpenProduct: page.openProduct(productId)
        }
    }
}
