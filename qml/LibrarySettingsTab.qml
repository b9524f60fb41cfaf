import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// Where the library lives; choosing another folder moves it there.
Item {
    id: tab
    property var view: null
    property var window: null

    // The folder chooser hands its choice here. A move across file systems runs in
    // the background; the settings view shows it and reports a failure.
    function chooseFolder(url) {
        sysData.libraryPath = url.toString()
    }

    SettingsFrame {
        x: 10
        y: 10
        title: "Download Path"
        height: 70
        EditBox {
            objectName: "libraryPathField"
            anchors.left: parent.left
            anchors.right: searchButton.left
            anchors.verticalCenter: parent.verticalCenter
            anchors.leftMargin: 10
            anchors.rightMargin: 6
            text: sysData.libraryPath
            readOnly: true
            KIVToolTip {
                text: sysData.libraryPath
                visible: parent.hovered && text !== ""
            }
        }
        SmallIconButton {
            id: searchButton
            objectName: "libraryFolderButton"
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            source: "Images/search.svg"
            toolTipText: "Choose the library folder"
            enabled: !sysData.movingLibrary
            onClicked: chooser.open()
        }
    }

    FileChooser {
        id: chooser
        objectName: "libraryChooser"
        onChosen: tab.chooseFolder(fileUrl)
    }
}
