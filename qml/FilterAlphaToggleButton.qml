import QtQuick 2.15

// A filter button of the alpha filters, carrying the size or depth it stands for.
FilterToggleButton {
    property int value: 0
    width: Math.max(64, implicitWidth)
}
