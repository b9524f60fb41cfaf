import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"

// The program's combo box: edit-box colours, a triangular arrow, a list of at most
// 250 px with 30 px rows. Works on models with a text role and on plain lists of
// texts (leave textRole empty).
ComboBox {
    id: control
    property string toolTipText: ""
    // Height of one row of the list.
    property int rowHeight: 30

    // The text of one entry, whatever the model's kind.
    function entryText(modelData, model) {
        if (control.textRole === "")
            return modelData
        if (modelData !== null && typeof modelData === "object" && modelData[control.textRole] !== undefined)
            return modelData[control.textRole]
        return model[control.textRole]
    }

    implicitHeight: 28
    implicitWidth: 200
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: enabled ? 1.0 : 0.4
    font: Style.genericText12

    delegate: ItemDelegate {
        id: entry
        objectName: "comboEntry_" + index
        width: control.popup.width
        height: control.rowHeight
        hoverEnabled: true
        highlighted: control.highlightedIndex === index
        contentItem: Text {
            // Item models with several roles give their delegates no modelData.
            text: control.entryText(typeof modelData === "undefined" ? null : modelData, model)
            font: control.font
            color: Style.settingsTextColor
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }
        background: Rectangle {
            color: entry.highlighted ? Style.brushBoxSelectedColor : "transparent"
        }
    }

    indicator: Canvas {
        id: arrow
        x: control.width - width - 8
        y: (control.height - height) / 2
        width: 10
        height: 6
        contextType: "2d"
        property color fill: Style.dropDownArrowColor
        onFillChanged: requestPaint()
        onPaint: {
            var ctx = getContext("2d")
            ctx.reset()
            ctx.moveTo(0, 0)
            ctx.lineTo(width, 0)
            ctx.lineTo(width / 2, height)
            ctx.closePath()
            ctx.fillStyle = fill
            ctx.fill()
        }
    }

    contentItem: Text {
        leftPadding: 6
        rightPadding: arrow.width + 14
        text: control.displayText
        font: control.font
        color: Style.settingsTextColor
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        color: Style.editBoxBackgroundColor
        border.color: control.hovered ? "black" : Style.comboBoxBorderColor
    }

    popup: Popup {
        y: control.height
        width: control.width
        implicitHeight: Math.min(contentItem.implicitHeight + 2, 250)
        padding: 1
        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: control.popup.visible ? control.delegateModel : null
            currentIndex: control.highlightedIndex
            ScrollBar.vertical: ScrollBar {}
        }
        background: Rectangle {
            color: Style.editBoxBackgroundColor
            border.color: Style.comboBoxBorderColor
        }
    }

    KIVToolTip {
        text: control.toolTipText
        visible: control.hovered && !control.popup.visible && text !== ""
    }
}
