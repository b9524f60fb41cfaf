import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The first screen of a new installation: choose the ZBrush folder, accept the
// licence agreement and install the script plug-in and Dirtool into ZBrush. It
// covers the main window until set-up is complete and takes every mouse event.
Item {
    id: setup
    // The main window; told through setupFinished() once the installation is done.
    property var window: null
    // The path the installation goes to: the detected row or the typed folder.
    readonly property string chosenPath: detectedOption.checked ? detectedPath : pathField.text
    property string detectedPath: ""
    property bool installResult: false

    // A folder URL from the chooser as a local path: "file:///" goes (the drive letter
    // stays on Windows), then the percent escapes are decoded.
    function localPathOf(url) {
        var text = url.toString()
        if (Qt.platform.os === "windows")
            text = text.replace(/^file:\/\/\//, "")
        else
            text = text.replace(/^file:\/\//, "")
        return decodeURIComponent(text)
    }
    // The folder chooser hands its choice here.
    function chooseZBrushFolder(url) {
        manualOption.checked = true
        pathField.text = localPathOf(url)
    }
    function selectDetected(row) {
        detectedList.currentIndex = row
        detectedPath = row >= 0 ? sysData.getAppPathFromDisplay(detectedList.currentText) : ""
    }
    function install() {
        if (!acceptBox.checked)
            return
        installResult = sysData.installPlugin(chosenPath)
        resultPopup.message = installResult
            ? "<font color='white'>Plugin installed. Please restart ZBrush.</white>"
            : "<font color='white'>Plugin installation failed. Plese check the install log.</white>"
        if (installResult)
            page.visible = false
        resultPopup.open()
    }
    // Confirming the result: every catalogue first, the system service last, so that
    // the favourites find every catalogue set up.
    function finish() {
        var ok = installResult
        var main = window
        var catalogues = [brushData, alphaData, projectData, materialData, toolData, fiberData,
                          textureData, lightData, gridData, renderPresetData, spotlightData, arrayData]
        for (var i = 0; i < catalogues.length; ++i)
            catalogues[i].setupOk = ok
        sysData.setupOk = ok
        if (ok && main)
            main.setupFinished()
    }

    Component.onCompleted: selectDetected(detectedList.count > 0 ? 0 : -1)

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
        onWheel: wheel.accepted = true
    }
    Rectangle {
        anchors.fill: parent
        color: Style.backgroundTopColor
    }

    Item {
        id: page
        objectName: "setupPage"
        anchors.fill: parent

        Rectangle {
            id: topStrip
            anchors.left: parent.left
            anchors.right: parent.right
            height: 30
            color: Style.backgroundMainBarColor
            border.color: Style.borderMainColor
        }

        Item {
            id: leftColumn
            anchors.top: topStrip.bottom
            anchors.bottom: parent.bottom
            anchors.left: parent.left
            width: 370

            Item {
                id: logo
                objectName: "productLogo"
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.top: parent.top
                anchors.topMargin: 10
                width: 158
                height: 84
                Image {
                    id: logoImage
                    anchors.left: parent.left
                    anchors.verticalCenter: parent.verticalCenter
                    width: 64
                    height: 64
                    source: "Kivara.ico"
                    sourceSize: Qt.size(64, 64)
                }
                Text {
                    anchors.left: logoImage.right
                    anchors.leftMargin: 8
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Kivara"
                    font: Style.genericText22
                    color: Style.genericTextColor
                }
            }
            Rectangle {
                id: strip
                anchors.top: logo.bottom
                anchors.topMargin: 10
                anchors.bottom: parent.bottom
                anchors.left: parent.left
                width: 40
                color: Style.brushBoxSelectedColor
            }
            EulaScrollView {
                objectName: "setupEula"
                anchors.top: strip.top
                anchors.bottom: parent.bottom
                anchors.left: strip.right
                anchors.right: parent.right
            }
        }

        Flickable {
            id: steps
            anchors.top: topStrip.bottom
            anchors.bottom: parent.bottom
            anchors.left: leftColumn.right
            anchors.right: parent.right
            anchors.leftMargin: 20
            contentHeight: stepColumn.implicitHeight + 40
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {
                policy: steps.contentHeight > steps.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }

            Column {
                id: stepColumn
                y: 20
                width: Math.min(520, steps.width - 20)
                spacing: 8

                Text {
                    text: "Thank you for installing the Kivara!"
                    font: Style.genericText18
                    color: Style.genericTextColor
                }
                Text {
                    width: parent.width
                    text: "1.  Select your ZBrush version or manually enter the ZBrush installation location."
                    font: Style.genericText13
                    color: Style.genericTextColor
                    wrapMode: Text.Wrap
                }
                Text {
                    text: "2.  Accept the license agreement."
                    font: Style.genericText13
                    color: Style.genericTextColor
                }
                Text {
                    text: "3.  Click the install button."
                    font: Style.genericText13
                    color: Style.genericTextColor
                }

                ButtonGroup { id: pathOptions }
                KIVRadioButton {
                    id: detectedOption
                    objectName: "detectedOption"
                    text: "Detected ZBrush Versions"
                    checked: true
                    ButtonGroup.group: pathOptions
                }
                SettingsList {
                    id: detectedList
                    objectName: "detectedList"
                    width: Math.min(500, parent.width)
                    height: 80
                    model: sysData.zbrushLocations
                    enabled: detectedOption.checked
                    opacity: enabled ? 1.0 : 0.75
                    onCurrentIndexChanged: if (currentIndex >= 0) setup.selectDetected(currentIndex)
                }
                KIVRadioButton {
                    id: manualOption
                    objectName: "manualOption"
                    text: "Select ZBrush Path"
                    ButtonGroup.group: pathOptions
                }
                Row {
                    spacing: 6
                    enabled: manualOption.checked
                    opacity: enabled ? 1.0 : 0.75
                    EditBox {
                        id: pathField
                        objectName: "zbrushPathField"
                        width: Math.min(500, stepColumn.width) - 32
                        placeholderText: "ZBrush installation folder"
                    }
                    SmallIconButton {
                        objectName: "zbrushPathButton"
                        anchors.verticalCenter: pathField.verticalCenter
                        source: "Images/search.svg"
                        toolTipText: "Choose the ZBrush folder"
                        onClicked: chooser.open()
                    }
                }

                Text {
                    text: "Install Log"
                    font: Style.genericText13
                    color: Style.genericTextColor
                }
                SettingsList {
                    objectName: "installLogList"
                    width: Math.min(500, parent.width)
                    height: 70
                    model: sysData.installLog
                }

                FilterCheckBox {
                    id: acceptBox
                    objectName: "acceptLicense"
                    text: "Accept the License Agreement"
                    font: Style.genericText13
                }
                TextButton {
                    objectName: "installButton"
                    width: 120
                    text: "Install"
                    enabled: acceptBox.checked
                    onClicked: setup.install()
                }
            }
        }
    }

    MessagePopup {
        id: resultPopup
        objectName: "installResultPopup"
        title: "Plugin Installation"
        showCancel: false
        confirmAction: function() { setup.finish() }
    }
    FileChooser {
        id: chooser
        objectName: "setupChooser"
        onChosen: setup.chooseZBrushFolder(fileUrl)
    }
}
