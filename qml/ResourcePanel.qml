import QtQuick 2.15
import "Themes"

// One tile of a resource grid: the thumbnail on its shadow, the name, the favourite
// star. It only shows and reports; the grid that owns it decides what a click does.
// The favourites area uses it too, so everything it shows comes in by property.
//
// Base size 92 × 70 times tileScale; a grid usually sets width and height to its cell.
Item {
    id: tile

    property string name: ""
    // Full image address, e.g. "image://brushes/" + path.
    property url thumbnailSource: ""
    property bool favorite: false
    property bool showStar: true
    property real tileScale: 1.0
    property bool selected: false
    property bool enableTooltips: true
    // The card with categories, a detail line and a larger thumbnail instead of the name alone.
    property bool advancedTooltip: false
    property var categories: []
    // "Type: Clay" for brushes, the dimensions of alphas, empty otherwise.
    property string detailText: ""
    property url favOnSource: sysData.favOnSource
    property url favOffSource: sysData.favOffSource

    // Left clicks carry the keyboard modifiers (Qt.ShiftModifier, Qt.ControlModifier).
    signal clicked(int modifiers)
    signal doubleClicked(int modifiers)
    signal middleClicked()
    signal starClicked()

    readonly property bool hovered: mouseArea.containsMouse || starArea.containsMouse
    readonly property int thumbnailSide: Math.max(8, Math.round(height / 2))

    implicitWidth: 92 * tileScale
    implicitHeight: 70 * tileScale

    Rectangle {
        anchors.fill: parent
        color: Style.brushBoxBackgroundColor
        border.color: Style.brushBoxBorderColor
    }

    // A soft ellipse under the thumbnail.
    Rectangle {
        width: tile.thumbnailSide * 0.85
        height: Math.max(3, tile.thumbnailSide * 0.16)
        radius: height / 2
        anchors.horizontalCenter: parent.horizontalCenter
        y: thumbnail.y + tile.thumbnailSide - height * 0.4
        color: Style.borderMainColor
        opacity: 0.6
    }

    Image {
        id: thumbnail
        objectName: "tileThumbnail"
        width: tile.thumbnailSide
        height: tile.thumbnailSide
        anchors.horizontalCenter: parent.horizontalCenter
        y: Math.round(tile.height * 0.1)
        source: tile.thumbnailSource
        sourceSize: Qt.size(tile.thumbnailSide, tile.thumbnailSide)
        fillMode: Image.PreserveAspectFit
        asynchronous: true
        smooth: true
    }

    Text {
        id: label
        objectName: "tileName"
        width: parent.width * 0.9
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Math.round(tile.height * 0.06)
        horizontalAlignment: Text.AlignHCenter
        text: tile.name
        elide: Text.ElideRight
        color: Style.genericTextColor
        font: tile.tileScale >= 2.5 ? Style.genericText15 : tile.tileScale >= 1.5 ? Style.genericText13 : Style.genericText11
    }

    // Hover and selection: a half-transparent wash with marks in the corners.
    Loader {
        anchors.fill: parent
        active: tile.selected || tile.hovered
        sourceComponent: Item {
            readonly property color corner: tile.selected ? Style.brushBoxSelectedCornerColor
                                                          : Style.brushBoxMouseOverCornerColor
            Rectangle {
                anchors.fill: parent
                color: tile.selected ? Style.brushBoxSelectedColor : Style.brushBoxMouseOverColor
                opacity: 0.5
            }
            Repeater {
                model: 4
                Item {
                    readonly property bool atRight: index % 2 === 1
                    readonly property bool atBottom: index >= 2
                    x: atRight ? parent.width - width : 0
                    y: atBottom ? parent.height - height : 0
                    width: 14
                    height: 14
                    Rectangle {
                        width: 14
                        height: 2
                        y: parent.atBottom ? 12 : 0
                        color: parent.parent.corner
                    }
                    Rectangle {
                        width: 2
                        height: 14
                        x: parent.atRight ? 12 : 0
                        color: parent.parent.corner
                    }
                }
            }
        }
    }

    MouseArea {
        id: mouseArea
        objectName: "tileMouseArea"
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.LeftButton | Qt.MiddleButton
        onClicked: {
            if (mouse.button === Qt.MiddleButton)
                tile.middleClicked()
            else
                tile.clicked(mouse.modifiers)
        }
        onDoubleClicked: {
            if (mouse.button === Qt.LeftButton)
                tile.doubleClicked(mouse.modifiers)
        }
    }

    Image {
        id: star
        objectName: "tileStar"
        visible: tile.showStar
        width: 19
        height: 19
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 3
        source: tile.favorite ? tile.favOnSource : tile.favOffSource
        MouseArea {
            id: starArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: tile.starClicked()
        }
    }

    // Made only while the pointer rests on the tile: a popup per tile would cost every
    // grid cell an object. Parented to the tile: a press outside a tooltip's parent
    // closes it and goes no further.
    Loader {
        objectName: "tileToolTipLoader"
        active: tile.enableTooltips && tile.hovered
        sourceComponent: tile.advancedTooltip ? cardTip : nameTip
    }
    Component {
        id: nameTip
        KIVToolTip {
            objectName: "tileToolTip"
            parent: tile
            text: tile.name
            delay: 1000
            visible: true
        }
    }
    Component {
        id: cardTip
        KIVToolTip {
            id: card
            objectName: "tileToolTipCard"
            parent: tile
            delay: 1000
            visible: true
            width: 200
            height: 200
            contentItem: Column {
                spacing: 4
                Text {
                    width: card.availableWidth
                    text: tile.name
                    font: Style.genericTextBold12
                    color: Style.genericTextColor
                    elide: Text.ElideRight
                }
                Text {
                    width: card.availableWidth
                    text: "Category: " + (tile.categories ? tile.categories.join(", ") : "")
                    font: Style.genericText11
                    color: Style.genericTextColor
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                }
                Text {
                    width: card.availableWidth
                    text: tile.detailText
                    font: Style.genericText11
                    color: Style.genericTextColor
                    elide: Text.ElideRight
                }
                Image {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: 96
                    height: 96
                    source: tile.thumbnailSource
                    sourceSize: Qt.size(96, 96)
                    fillMode: Image.PreserveAspectFit
                    asynchronous: true
                }
            }
        }
    }
}
