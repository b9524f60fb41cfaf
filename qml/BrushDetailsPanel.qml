import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"
import "Rows.js" as Rows

// The details panel of brushes: the common sections plus the maker's category, the
// brush type and the credit ZBrush stores in the brush file.
ResourceDetailsPanel {
    id: brushPanel
    dataService: brushData
    kindWord: "brush"
    countNoun: "brushes"

    // A web or file-transfer address with a scheme, an optional user part and a host.
    readonly property var webAddress: /^(?:https?|ftp):\/\/(?:[^\s:@\/]+(?::[^\s@\/]*)?@)?[A-Za-z0-9](?:[A-Za-z0-9.-]*[A-Za-z0-9])?(?::\d{1,5})?(?:[\/?#]\S*)?$/i

    function escaped(text) {
        return text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;").replace(/"/g, "&quot;")
    }
    // The type all selected brushes share, as a row of brushTypes; -1 when they differ or have none.
    function commonTypeIndex() {
        var rows = brushPanel.rows
        if (rows.length === 0 || !brushPanel.dataService)
            return -1
        var type = brushPanel.dataService.getBrushType(rows[0])
        for (var i = 1; i < rows.length; ++i) {
            if (brushPanel.dataService.getBrushType(rows[i]) !== type)
                return -1
        }
        var name = Rows.value(brushPanel.model, rows[0], brushPanel.roles.brushTypeName)
        return brushPanel.dataService.brushTypes.indexOf(name)
    }

    afterCategories: DetailsSection {
        objectName: "kivCategorySection"
        title: "KIV Category"
        readonly property bool wanted: brushPanel.single
        EditBox {
            objectName: "kivCategoryText"
            width: parent.width
            readOnly: true
            text: brushPanel.single ? brushPanel.item.kivCategory : ""
        }
    }

    afterTags: Column {
        spacing: 6
        DetailsSection {
            objectName: "typeSection"
            title: "Type"
            KIVComboBox {
                id: typeBox
                objectName: "brushTypeBox"
                width: parent.width
                model: brushPanel.dataService ? brushPanel.dataService.brushTypes : []
                currentIndex: (brushPanel.revision, brushPanel.commonTypeIndex())
                displayText: currentIndex >= 0 ? currentText : ""
                onActivated: {
                    var name = model[index]
                    brushPanel.forEachSelected(function(row) { brushPanel.dataService.setBrushType(row, name) })
                    currentIndex = Qt.binding(function() { return (brushPanel.revision, brushPanel.commonTypeIndex()) })
                }
            }
        }
        DetailsSection {
            objectName: "creditSection"
            title: "Credit"
            visible: brushPanel.single
            Text {
                objectName: "creditAuthor"
                width: parent.width
                text: brushPanel.single ? brushPanel.item.author : ""
                visible: text !== ""
                font: Style.genericText12
                color: Style.genericTextColor
                wrapMode: Text.Wrap
            }
            Text {
                objectName: "creditLink"
                readonly property string link: brushPanel.single ? brushPanel.item.link : ""
                readonly property bool isAddress: brushPanel.webAddress.test(link)
                width: parent.width
                visible: link !== ""
                textFormat: isAddress ? Text.RichText : Text.PlainText
                text: isAddress ? "<a href=\"" + brushPanel.escaped(link) + "\" style=\"color:" + Style.genericTextColor
                                  + "\">" + brushPanel.escaped(link) + "</a>" : link
                font: Style.genericText12
                color: Style.genericTextColor
                wrapMode: Text.WrapAnywhere
                onLinkActivated: Qt.openUrlExternally(link)
                HoverHandler {
                    cursorShape: parent.hoveredLink !== "" ? Qt.PointingHandCursor : Qt.ArrowCursor
                }
            }
        }
    }
}
