import QtQuick 2.15

// The resource view of alphas, with the six alpha commands in its bar.
ResourceView {
    id: alphaView
    dataService: alphaData
    kindWord: "alpha"
    iconPrefix: "image://alphas/"
    title: "Alphas"
    extraButtons: Row {
        spacing: 2
        SmallIconButton {
            objectName: "alphaOffButton"
            source: "Images/alpha-off.svg"
            toolTipText: "Alpha Off"
            onClicked: alphaView.dataService.clearAlpha()
        }
        SmallIconButton {
            objectName: "brushAlphaButton"
            source: "Images/brush-alpha.svg"
            toolTipText: "Brush Alpha"
            onClicked: alphaView.dataService.brushAlpha()
        }
        SmallIconButton {
            objectName: "flipHorizontalButton"
            source: "Images/flip-horizontal.svg"
            toolTipText: "Flip Horizontally"
            onClicked: alphaView.dataService.flipHorizontal()
        }
        SmallIconButton {
            objectName: "flipVerticalButton"
            source: "Images/flip-vertical.svg"
            toolTipText: "Flip Vertically"
            onClicked: alphaView.dataService.flipVertical()
        }
        SmallIconButton {
            objectName: "rotateButton"
            source: "Images/rotate.svg"
            toolTipText: "Rotate 90"
            onClicked: alphaView.dataService.rotate()
        }
        SmallIconButton {
            objectName: "invertButton"
            source: "Images/invert.svg"
            toolTipText: "Invert"
            onClicked: alphaView.dataService.inverse()
        }
        Item { width: 4; height: 1 }
        Separator { anchors.verticalCenter: parent.verticalCenter }
    }
}
