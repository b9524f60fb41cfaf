import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The store window's bar: the way back to the library in the middle; logging in, the
// logged-in user with the way out, and the login under way at the right.
Rectangle {
    id: bar
    signal libraryRequested()
    signal loginRequested()

    height: 30
    color: Style.backgroundMainBarColor
    border.color: "black"

    IconTextButton {
        objectName: "storeLibraryButton"
        anchors.centerIn: parent
        height: 28
        source: "Images/library.svg"
        text: "Library"
        onClicked: bar.libraryRequested()
    }
    Row {
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        spacing: 6
        KIVBusyIndicator {
            objectName: "loginBusyIndicator"
            anchors.verticalCenter: parent.verticalCenter
            width: 20
            height: 20
            running: storeData.isLoggingIn
        }
        IconTextButton {
            objectName: "loginButton"
            anchors.verticalCenter: parent.verticalCenter
            height: 28
            visible: !storeData.isLoggedIn && !storeData.isLoggingIn
            source: "Images/user.svg"
            text: "Login"
            onClicked: bar.loginRequested()
        }
        IconTextButton {
            id: userButton
            objectName: "userButton"
            anchors.verticalCenter: parent.verticalCenter
            height: 28
            visible: storeData.isLoggedIn
            source: "Images/user.svg"
            text: storeData.username
            onClicked: userPopup.open()

            Popup {
                id: userPopup
                objectName: "userPopup"
                y: userButton.height + 2
                x: userButton.width - width
                width: Math.max(userButton.width, 110)
                padding: 6
                background: Rectangle {
                    color: Style.backgroundTopDarkColor
                    border.color: "black"
                }
                contentItem: TextButton {
                    objectName: "logoutButton"
                    text: "Logout"
                    onClicked: {
                        storeData.logout()
                        userPopup.close()
                    }
                }
            }
        }
    }
}
