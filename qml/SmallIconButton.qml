import QtQuick 2.15

// The icon button at 26 × 26 with a 24 × 24 image, for crowded bars.
IconButton {
    implicitWidth: 26
    implicitHeight: 26
    imageSize: 24
}
