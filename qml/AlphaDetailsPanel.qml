import QtQuick 2.15
import "Themes"
import "Rows.js" as Rows

// The details panel of alphas: the common sections, the "Ignore" toggle in the
// header and the dimensions of a single alpha.
ResourceDetailsPanel {
    id: alphaPanel
    dataService: alphaData
    kindWord: "alpha"
    countNoun: "alphas"

    function isIgnored(row) {
        return Rows.value(alphaPanel.model, row, alphaPanel.roles.ignore) === true
    }

    headerExtras: ToggleButton {
        objectName: "ignoreButton"
        implicitWidth: 26
        implicitHeight: 26
        imageSize: 22
        source: "Images/ignore.svg"
        toolTipText: "Ignore"
        readonly property bool lit: (alphaPanel.revision, alphaPanel.allSelected(alphaPanel.isIgnored))
        checked: lit
        // The service maps every row before it changes one, so the re-filtering of the
        // view cannot move the later rows under it. The click toggled the button: the
        // binding comes back, the service decides.
        onClicked: {
            var wanted = !lit
            checked = Qt.binding(function() { return lit })
            alphaPanel.dataService.ignoreAlphas(alphaPanel.rows, wanted)
        }
    }

    afterTags: DetailsSection {
        objectName: "dimensionsSection"
        title: "Dimensions"
        readonly property bool wanted: alphaPanel.single
        Text {
            objectName: "dimensionsText"
            width: parent.width
            text: alphaPanel.single ? alphaPanel.item.dimensions : ""
            font: Style.genericText12
            color: Style.genericTextColor
        }
    }
}
