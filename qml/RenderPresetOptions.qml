import QtQuick 2.15

// The render preset view's extra button: send presets as BPR filters only.
Row {
    spacing: 2
    ToggleButton {
        objectName: "bprOnlyButton"
        implicitWidth: 26
        implicitHeight: 26
        imageSize: 22
        source: "Images/bpr.svg"
        toolTipText: "BPR Filter Only"
        checked: sysData.bprOnly
        onToggled: sysData.bprOnly = checked
    }
    Item { width: 4; height: 1 }
    Separator { anchors.verticalCenter: parent.verticalCenter }
}
