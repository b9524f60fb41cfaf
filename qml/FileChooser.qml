import QtQuick 2.15
import QtQuick.Dialogs 1.3

// The system's folder or file dialog, starting on the desktop. The dialog is made
// when open() is called and goes when it closes; the choice arrives as chosen(url).
// Views act on a choice in a function of their own, which tests call directly.
Item {
    id: chooser
    property bool selectFolder: true
    // False: a new file may be named (export).
    property bool selectExisting: true
    property string defaultSuffix: ""
    property var nameFilters: []
    readonly property bool isOpen: dialog !== null
    property var dialog: null
    signal chosen(url fileUrl)

    visible: false

    function open() {
        if (dialog)
            return
        dialog = dialogComponent.createObject(chooser)
        dialog.open()
    }
    function close() {
        if (!dialog)
            return
        var d = dialog
        dialog = null
        d.destroy()
    }

    Component {
        id: dialogComponent
        FileDialog {
            title: chooser.selectFolder ? "Please select folder" : "Please select a file"
            folder: shortcuts.desktop
            selectFolder: chooser.selectFolder
            selectExisting: chooser.selectExisting
            defaultSuffix: chooser.defaultSuffix
            nameFilters: chooser.nameFilters
            onAccepted: {
                var url = fileUrl
                chooser.close()
                chooser.chosen(url)
            }
            onRejected: chooser.close()
        }
    }
}
