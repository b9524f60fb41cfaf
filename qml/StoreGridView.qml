import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The store's grid: memberships, featured products and every product, each a section
// of product panels. A filter or a subscription that covers everything leaves only
// what still matters.
ScrollView {
    id: view
    // A panel asked for the product page.
    signal openProduct(int productId)

    clip: true
    contentWidth: availableWidth
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
    ScrollBar.vertical.policy: ScrollBar.AlwaysOn

    Column {
        width: view.availableWidth - 4
        spacing: 14
        bottomPadding: 10

        StoreSection {
            objectName: "subscriptionsSection"
            width: parent.width
            title: "Subscriptions"
            model: storeData.membershipModel
            visible: !storeData.filtered && !storeData.ownsAll
            onOpenProduct: view.openProduct(productId)
        }
        StoreSection {
            objectName: "featuredSection"
            width: parent.width
            title: "Featured"
            model: storeData.featuredModel
            visible: !storeData.filtered
            onOpenProduct: view.openProduct(productId)
        }
        StoreSection {
            objectName: "browseSection"
            width: parent.width
            title: "Browse"
            model: storeData.model
            onOpenProduct: view.openProduct(productId)
        }
    }
}
