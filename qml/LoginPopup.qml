import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15
import "Themes"
import "Links.js" as Links

// The store login over the shaded store window. Return in the password submits; the
// popup closes itself once the store has let the user in.
Popup {
    id: popup
    parent: Overlay.overlay
    x: parent ? Math.round((parent.width - width) / 2) : 0
    y: parent ? Math.round((parent.height - height) / 2) : 0
    width: 550
    height: 245
    modal: true
    dim: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape

    function submit() {
        if (!storeData.isLoggingIn)
            storeData.loginWithUser(userField.text, passwordField.text)
    }

    onOpened: {
        passwordField.text = ""
        userField.forceActiveFocus()
    }

    Connections {
        target: storeData
        function onIsLoggedInChanged() {
            if (storeData.isLoggedIn)
                popup.close()
        }
    }

    Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.45) }
    background: Rectangle {
        color: Style.backgroundTopColor
        border.color: Style.borderMainColor
    }
    contentItem: Item {
        Rectangle {
            id: titleBar
            width: parent.width
            height: 34
            color: Style.backgroundTopDarkColor
            border.color: Style.borderMainColor
            Text {
                anchors.left: parent.left
                anchors.leftMargin: 14
                anchors.verticalCenter: parent.verticalCenter
                text: "Login"
                font: Style.genericText16
                color: Style.genericTextColor
            }
        }
        Column {
            anchors.top: titleBar.bottom
            anchors.topMargin: 16
            anchors.horizontalCenter: parent.horizontalCenter
            width: 250
            spacing: 8
            EditBox {
                id: userField
                objectName: "usernameField"
                width: parent.width
                placeholderText: "Username"
                enabled: !storeData.isLoggingIn
                onAccepted: passwordField.forceActiveFocus()
            }
            EditBox {
                id: passwordField
                objectName: "passwordField"
                width: parent.width
                placeholderText: "Password"
                echoMode: TextInput.Password
                enabled: !storeData.isLoggingIn
                onAccepted: popup.submit()
            }
            Text {
                objectName: "loginStateText"
                width: parent.width
                height: 20
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                text: storeData.isLoggingIn ? "Logging in..." : storeData.loginFailed ? "Login attempt failed." : ""
                font: Style.genericText12
                color: Style.genericTextColor
            }
            LinkButton {
                objectName: "forgotLoginButton"
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Forgot Username/Password"
                onClicked: Qt.openUrlExternally(Links.storePasswordReset)
            }
        }
        Rectangle {
            id: bottomBar
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            height: 46
            color: Style.backgroundTopDarkColor
            border.color: Style.borderMainColor
            LinkButton {
                objectName: "registerButton"
                anchors.left: parent.left
                anchors.leftMargin: 14
                anchors.verticalCenter: parent.verticalCenter
                text: "Register"
                onClicked: Qt.openUrlExternally(Links.storePricing)
            }
            Row {
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                spacing: 8
                TextButton {
                    objectName: "loginCloseButton"
                    text: "Close"
                    enabled: !storeData.isLoggingIn
                    onClicked: popup.close()
                }
                TextButton {
                    objectName: "loginAcceptButton"
                    text: "Login"
                    enabled: !storeData.isLoggingIn
                    onClicked: popup.submit()
                }
            }
        }
    }
}
