import QtQuick 2.15

// The light view's extra buttons: ZBrush's default lights and LightCap, lights off.
Row {
    spacing: 2
    SmallIconButton {
        objectName: "resetLightsButton"
        source: "Images/reset.svg"
        toolTipText: "Reset Lights"
        onClicked: lightData.resetLights()
    }
    SmallIconButton {
        objectName: "resetLightCapsButton"
        source: "Images/lightcap.svg"
        toolTipText: "Reset LightCaps"
        onClicked: lightData.resetLightCaps()
    }
    SmallIconButton {
        objectName: "turnOffLightsButton"
        source: "Images/lights-off.svg"
        toolTipText: "Turn Off Lights"
        onClicked: lightData.turnOffLights()
    }
    Item { width: 4; height: 1 }
    Separator { anchors.verticalCenter: parent.verticalCenter }
}
