import QtQuick 2.15
import "Themes"

// A picture from the web. It loads in the background; until it is there, and when it
// cannot be had, a placeholder stands in its place.
Item {
    id: webImage
    property string source: ""
    property int fillMode: Image.PreserveAspectFit
    readonly property bool ready: picture.status === Image.Ready

    implicitWidth: 100
    implicitHeight: 100

    Rectangle {
        objectName: "imagePlaceholder"
        anchors.fill: parent
        visible: !webImage.ready
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor
        Image {
            anchors.centerIn: parent
            readonly property int side: Math.max(8, Math.min(48, Math.min(parent.width, parent.height) / 2))
            width: side
            height: side
            sourceSize: Qt.size(side, side)
            source: "Images/store.svg"
            opacity: 0.35
        }
    }
    Image {
        id: picture
        objectName: "webPicture"
        anchors.fill: parent
        source: webImage.source
        asynchronous: true
        cache: true
        smooth: true
        mipmap: true
        fillMode: webImage.fillMode
        visible: webImage.ready
    }
}
