import QtQuick 2.15
import kiv.product 1.0
import "Themes"

// Where a store item stands: a download button, "In Queue", "Error", the progress of
// the download and extraction, or a check mark once it is installed. The owner
// decides what a download is (a whole product, or one of its sets).
Item {
    id: widget
    // The item's DownloadStatusInfo.
    property var status: null
    signal downloadRequested()

    readonly property int current: status ? status.currentStatus : DownloadStatusInfo.None
    readonly property bool busy: current === DownloadStatusInfo.Downloading
                                 || current === DownloadStatusInfo.Extracting

    implicitWidth: busy ? progress.implicitWidth
                        : current === DownloadStatusInfo.Queued ? queuedText.implicitWidth
                        : current === DownloadStatusInfo.Error ? errorText.implicitWidth
                        : current === DownloadStatusInfo.Installed ? 26 : 30
    implicitHeight: 30

    IconButton {
        objectName: "downloadButton"
        anchors.centerIn: parent
        visible: widget.current === DownloadStatusInfo.None
        source: "Images/download.svg"
        // A failed attempt says why on the button that tries again.
        toolTipText: widget.status && widget.status.errorMessage !== "" ? widget.status.errorMessage : "Download"
        onClicked: widget.downloadRequested()
    }
    Text {
        id: queuedText
        objectName: "queuedText"
        anchors.centerIn: parent
        visible: widget.current === DownloadStatusInfo.Queued
        text: "In Queue"
        font: Style.genericText11
        color: Style.genericTextColor
    }
    Text {
        id: errorText
        objectName: "errorText"
        anchors.centerIn: parent
        visible: widget.current === DownloadStatusInfo.Error
        text: "Error"
        font: Style.genericText11
        color: Style.genericTextColor
    }
    KIVProgressBar {
        id: progress
        objectName: "downloadProgress"
        anchors.centerIn: parent
        implicitWidth: 64
        visible: widget.busy
        value: widget.status ? widget.status.percent : 0
    }
    Image {
        objectName: "installedMark"
        anchors.centerIn: parent
        visible: widget.current === DownloadStatusInfo.Installed
        width: 26
        height: 26
        sourceSize: Qt.size(26, 26)
        source: "Images/check.svg"
    }
}
