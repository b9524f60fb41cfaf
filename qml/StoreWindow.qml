import QtQuick 2.15
import QtQuick.Window 2.15
import QtQuick.Controls 2.15
import "Themes"

// The store: log in, browse memberships, featured and all products, open a product's
// page and download what is owned. Made anew by the main window's "Library" button
// and gone when closed; the store service and its downloads live on without it.
Window {
    id: storeWindow
    objectName: "storeWindow"
    title: "KIV Source"
    width: 1200
    height: 600
    minimumWidth: 400
    minimumHeight: 200
    color: Style.backgroundTopColor

    // The product whose page is shown; 0 while the library page is.
    property int detailsProductId: 0

    function showDetailsPage(product) {
        var id = typeof product === "number" ? product : (product ? product.id : 0)
        if (id)
            detailsProductId = id
    }
    function showMainPage() {
        detailsProductId = 0
    }

    Component.onCompleted: storeData.initialize()
    onClosing: storeWindow.destroy()

    StoreTopBar {
        id: topBar
        objectName: "storeTopBar"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        onLibraryRequested: storeWindow.showMainPage()
        onLoginRequested: loginPopup.open()
    }
    LibraryPage {
        id: libraryPage
        objectName: "libraryPage"
        anchors.top: topBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        visible: storeWindow.detailsProductId === 0
        onOpenProduct: storeWindow.showDetailsPage(productId)
    }
    Loader {
        objectName: "productPageLoader"
        anchors.top: topBar.bottom
        anchors.topMargin: 6
        anchors.left: parent.left
        anchors.leftMargin: 6
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        active: storeWindow.detailsProductId !== 0
        sourceComponent: ProductPage {
            objectName: "productPage"
            productId: storeWindow.detailsProductId
            onBackRequested: storeWindow.showMainPage()
        }
    }
    LoginPopup {
        id: loginPopup
        objectName: "loginPopup"
    }
}
