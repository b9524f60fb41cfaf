import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The table mode of a resource view: a star, the thumbnail, the name and the kind's
// columns, one 60 px row per resource. A header click sorts the view by that column
// (the column numbers are the proxy's: 0 favourite, 1 icon, 2 name, then the kind's).
Item {
    id: table
    objectName: "resourceTable"

    property var resourceView: null
    property alias itemView: list

    readonly property string kindWord: resourceView ? resourceView.kindWord : ""
    readonly property var kindColumns: kindWord === "brush"
        ? [ { title: "Type", width: 180, role: "brushTypeName" },
            { title: "KIV Set", width: 180, role: "kivCategory" },
            { title: "Date", width: 180, role: "lastModifiedDisplay" } ]
        : kindWord === "alpha"
        ? [ { title: "Width", width: 60, role: "width" },
            { title: "Height", width: 60, role: "height" },
            { title: "Depth", width: 60, role: "depth" },
            { title: "Date", width: 180, role: "lastModifiedDisplay" } ]
        : [ { title: "Date", width: 180, role: "lastModifiedDisplay" } ]
    readonly property var columns: [ { title: "Favorite", width: 60 }, { title: "", width: 50 },
                                     { title: "Name", width: 160 } ].concat(kindColumns)
    readonly property int totalWidth: {
        var sum = 0
        for (var i = 0; i < columns.length; ++i)
            sum += columns[i].width
        return sum
    }

    function headerClicked(column) {
        var shown = resourceView
        var order = shown.sortColumn === column && shown.sortOrder === Qt.AscendingOrder
                ? Qt.DescendingOrder : Qt.AscendingOrder
        shown.sortColumn = column
        shown.sortOrder = order
        shown.sortBy(column, order)
    }

    Flickable {
        id: sideways
        anchors.fill: parent
        anchors.bottomMargin: contentWidth > width ? 10 : 0
        contentWidth: Math.max(width, table.totalWidth)
        contentHeight: height
        flickableDirection: Flickable.HorizontalFlick
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        ScrollBar.horizontal: ScrollBar {
            parent: table
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            // Wider than the column: the last columns are off to the right, say so.
            policy: sideways.contentWidth > sideways.width ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
        }

        Row {
            id: header
            objectName: "tableHeader"
            height: 28
            Repeater {
                model: table.columns
                Rectangle {
                    objectName: "tableHeader_" + index
                    width: modelData.width
                    height: header.height
                    color: headerArea.containsMouse ? Style.brushBoxMouseOverColor : Style.backgroundTopDarkColor
                    border.color: Style.borderMainColor
                    Text {
                        anchors.fill: parent
                        anchors.leftMargin: 5
                        anchors.rightMargin: table.resourceView && table.resourceView.sortColumn === index ? 14 : 3
                        text: modelData.title
                        // Smaller and tighter than the body text: "Favorite" has 60 px.
                        font.family: Style.genericText11.family
                        font.pointSize: Style.genericText11.pointSize
                        font.letterSpacing: 0
                        color: Style.genericTextColor
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                    }
                    Canvas {
                        visible: table.resourceView && table.resourceView.sortColumn === index
                        anchors.right: parent.right
                        anchors.rightMargin: 5
                        anchors.verticalCenter: parent.verticalCenter
                        width: 8
                        height: 5
                        property bool descending: table.resourceView && table.resourceView.sortOrder === Qt.DescendingOrder
                        property color fill: Style.dropDownArrowColor
                        onDescendingChanged: requestPaint()
                        onFillChanged: requestPaint()
                        onPaint: {
                            var ctx = getContext("2d")
                            ctx.reset()
                            if (descending) {
                                ctx.moveTo(0, 0); ctx.lineTo(width, 0); ctx.lineTo(width / 2, height)
                            } else {
                                ctx.moveTo(0, height); ctx.lineTo(width, height); ctx.lineTo(width / 2, 0)
                            }
                            ctx.closePath()
                            ctx.fillStyle = fill
                            ctx.fill()
                        }
                    }
                    MouseArea {
                        id: headerArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: table.headerClicked(index)
                    }
                }
            }
        }

        ListView {
            id: list
            objectName: "resourceList"
            anchors.top: header.bottom
            width: Math.max(sideways.width, table.totalWidth)
            height: sideways.height - header.height
            clip: true
            model: table.resourceView ? table.resourceView.model : null
            currentIndex: -1
            reuseItems: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {
                parent: table
                anchors.top: parent.top
                anchors.topMargin: header.height
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.bottomMargin: sideways.anchors.bottomMargin
                policy: ScrollBar.AsNeeded
            }

            delegate: Rectangle {
                id: row
                objectName: "tableRow_" + index
                readonly property var rowModel: model
                readonly property bool selected: table.resourceView.selectedSet[index] === true
                width: list.width
                height: 60
                color: index % 2 === 0 ? Style.backgroundTopColor : Style.backgroundTopDarkColor

                Rectangle {
                    anchors.fill: parent
                    visible: row.selected || rowArea.containsMouse
                    color: row.selected ? Style.brushBoxSelectedColor : Style.brushBoxMouseOverColor
                    opacity: 0.5
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.MiddleButton
                    onClicked: {
                        if (mouse.button === Qt.MiddleButton)
                            table.resourceView.openFolder(index)
                        else
                            table.resourceView.clickRow(index, mouse.modifiers, false)
                    }
                    onDoubleClicked: {
                        if (mouse.button === Qt.LeftButton)
                            table.resourceView.clickRow(index, mouse.modifiers, true)
                    }
                }

                Row {
                    height: parent.height
                    Item {
                        width: table.columns[0].width
                        height: parent.height
                        Image {
                            objectName: "rowStar"
                            anchors.centerIn: parent
                            width: 19
                            height: 19
                            source: row.rowModel.favorite === true ? sysData.favOnSource : sysData.favOffSource
                            MouseArea {
                                anchors.fill: parent
                                onClicked: table.resourceView.toggleFavorite(index)
                            }
                        }
                    }
                    Item {
                        width: table.columns[1].width
                        height: parent.height
                        Image {
                            anchors.centerIn: parent
                            width: 40
                            height: 40
                            source: table.resourceView.iconPrefix + row.rowModel.path
                            sourceSize: Qt.size(40, 40)
                            fillMode: Image.PreserveAspectFit
                            asynchronous: true
                        }
                    }
                    Repeater {
                        model: table.columns.length - 2
                        Text {
                            readonly property var column: table.columns[index + 2]
                            width: column.width
                            height: row.height
                            leftPadding: 6
                            rightPadding: 6
                            text: {
                                var value = index === 0 ? row.rowModel.name : row.rowModel[column.role]
                                return value === undefined || value === null ? "" : String(value)
                            }
                            font: Style.genericText12
                            color: Style.genericTextColor
                            verticalAlignment: Text.AlignVCenter
                            elide: Text.ElideRight
                        }
                    }
                }
            }
        }
    }
}
