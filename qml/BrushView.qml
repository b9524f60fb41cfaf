import QtQuick 2.15

// The resource view of brushes.
ResourceView {
    dataService: brushData
    kindWord: "brush"
    iconPrefix: "image://brushes/"
    title: "Brushes"
}
