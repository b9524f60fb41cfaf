import QtQuick 2.15
import QtQuick.Controls 2.15
import "Themes"
import "Rows.js" as Rows

// The "Property" tab for one kind: the name (or how many are selected), then the
// description, the categories and the tags of the selected resources. Edits go to
// every selected resource. Brushes and alphas add their own sections through
// headerExtras, afterCategories and afterTags.
Item {
    id: panel
    objectName: "detailsPanel_" + kindWord

    // Handed over by the main window.
    property var window: null
    property var dataService: null
    property string kindWord: ""
    property string iconPrefix: "image://brushes/"

    // "items" in "3 items selected".
    property string countNoun: "items"
    property Component headerExtras: null
    // Sections after the categories and after the tags; one that declares a bool
    // `wanted` is shown only while it is true.
    property Component afterCategories: null
    property Component afterTags: null

    readonly property var roles: Rows.roles(kindWord)
    readonly property var model: dataService ? dataService.model : null
    // The selected rows of the kind's view, and the selected object when there is one.
    property var rows: []
    property var item: null
    readonly property bool hasSelection: rows.length > 0
    readonly property bool single: rows.length === 1 && item !== null
    readonly property bool several: rows.length > 1
    // Grows whenever what the toggles show may have changed; their bindings read it.
    property int revision: 0

    function refresh() {
        var selected = window ? (window.selectedItems[kindWord] || []) : []
        var current = window ? window.currentSelectedItem : null
        descriptionEditor.flush()
        rows = selected
        item = selected.length === 1 && current && current.resourceType === kindWord ? current : null
        descriptionEditor.load()
        revision++
    }
    function bump() {
        revision++
    }
    // Runs action(row) on every selected resource, wherever the edits move it.
    function forEachSelected(action) {
        var before = rows
        var after = Rows.forEach(model, roles.name, before, action)
        if (after.join() !== before.join())
            window.setSelection(kindWord, after)
        else
            bump()
    }
    function allSelected(test) {
        return Rows.all(rows, test)
    }
    function isFavorite(row) {
        return Rows.value(model, row, roles.favorite) === true
    }
    function toggleFavorites() {
        var set = window.currentFavoriteSet
        if (!set)
            return
        var remove = allSelected(isFavorite)
        forEachSelected(function(row) {
            if (remove)
                dataService.removeItemFromFavorites(row, set)
            else if (!isFavorite(row))
                dataService.addItemToFavorites(row, set)
        })
        window.selectionChanged()
    }
    function addCategory(text) {
        var category = text.trim()
        if (category === "")
            return
        dataService.addCategory(category)
        forEachSelected(function(row) { dataService.addCategoryToResource(row, category) })
    }
    function setCategory(category, on) {
        forEachSelected(function(row) {
            if (on)
                dataService.addCategoryToResource(row, category)
            else
                dataService.removeCategoryFromResource(row, category)
        })
    }
    function addTag(text) {
        var tag = text.trim()
        if (tag === "")
            return
        dataService.addTag(tag)
        forEachSelected(function(row) { dataService.addTagToResource(row, tag) })
    }
    function setTag(tag, on) {
        forEachSelected(function(row) {
            if (on)
                dataService.addTagToResource(row, tag)
            else
                dataService.removeTagFromResource(row, tag)
        })
    }

    Component.onCompleted: refresh()
    Component.onDestruction: descriptionEditor.flush()

    Connections {
        target: panel.window
        function onSelectionChanged() { panel.refresh() }
        function onItemSelected() { panel.refresh() }
    }
    Connections {
        target: panel.model
        function onDataChanged() { bumpTimer.restart() }
    }
    Timer {
        id: bumpTimer
        interval: 0
        onTriggered: panel.bump()
    }

    Rectangle {
        id: header
        objectName: "detailsHeader"
        anchors.left: parent.left
        anchors.right: parent.right
        height: 35
        color: Style.backgroundTopDarkColor
        border.color: Style.borderMainColor

        Text {
            objectName: "detailsTitle"
            anchors.left: parent.left
            anchors.leftMargin: 8
            anchors.right: headerButtons.left
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            text: panel.several ? panel.rows.length + " " + panel.countNoun + " selected"
                : panel.single ? panel.item.name : ""
            font: Style.genericText14
            color: Style.genericTextColor
            elide: Text.ElideRight
        }
        Row {
            id: headerButtons
            anchors.right: parent.right
            anchors.rightMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            spacing: 4
            Loader {
                anchors.verticalCenter: parent.verticalCenter
                active: panel.headerExtras !== null && panel.hasSelection
                sourceComponent: panel.headerExtras
            }
            Image {
                objectName: "detailsStar"
                anchors.verticalCenter: parent.verticalCenter
                visible: panel.several
                width: 19
                height: 19
                source: (panel.revision, panel.allSelected(panel.isFavorite)) ? sysData.favOnSource : sysData.favOffSource
                MouseArea {
                    anchors.fill: parent
                    onClicked: panel.toggleFavorites()
                }
            }
        }
    }

    Flickable {
        id: flick
        objectName: "detailsFlickable"
        anchors.top: header.bottom
        anchors.topMargin: 6
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        contentHeight: sections.height + 12
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        visible: panel.hasSelection
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

        Column {
            id: sections
            width: flick.width - 10
            spacing: 6

            DetailsSection {
                objectName: "descriptionSection"
                title: "Description"
                visible: panel.single
                ScrollView {
                    width: parent.width
                    height: 125
                    clip: true
                    background: Rectangle {
                        color: Style.editBoxBackgroundColor
                        border.color: Style.comboBoxBorderColor
                    }
                    TextArea {
                        id: descriptionEditor
                        objectName: "descriptionBox"
                        // The resource being edited, followed by name (the rows may move).
                        property string targetName: ""
                        property int targetRow: -1
                        property bool loading: false
                        property bool dirty: false

                        function load() {
                            loading = true
                            text = panel.single ? panel.item.description : ""
                            targetName = panel.single ? panel.item.name : ""
                            targetRow = panel.single ? panel.rows[0] : -1
                            loading = false
                            dirty = false
                        }
                        // Stored through the catalogue's description role, which also
                        // writes the library, so the text survives a restart.
                        function flush() {
                            saveTimer.stop()
                            if (!dirty || !panel.model)
                                return
                            dirty = false
                            var row = Rows.locate(panel.model, panel.roles.name, targetName, targetRow)
                            if (row < 0)
                                return
                            targetRow = row
                            panel.model.setData(panel.model.index(row, 0), text, panel.roles.description)
                        }

                        wrapMode: TextEdit.Wrap
                        selectByMouse: true
                        font: Style.genericText12
                        color: Style.genericTextColor
                        selectionColor: Style.textSelection
                        selectedTextColor: Style.selectedText
                        background: null
                        onTextChanged: {
                            if (loading || targetName === "")
                                return
                            dirty = true
                            saveTimer.restart()
                        }
                        onEditingFinished: flush()
                        Timer {
                            id: saveTimer
                            interval: 600
                            onTriggered: descriptionEditor.flush()
                        }
                        Connections {
                            target: panel.item
                            function onDescriptionChanged() {
                                if (!descriptionEditor.dirty && descriptionEditor.text !== panel.item.description)
                                    descriptionEditor.load()
                            }
                        }
                    }
                }
            }

            DetailsSection {
                objectName: "categorySection"
                title: "Category"
                EditBox {
                    objectName: "categoryEdit"
                    width: parent.width
                    placeholderText: "Add a new category..."
                    onAccepted: {
                        panel.addCategory(text)
                        text = ""
                    }
                }
                ToggleList {
                    objectName: "categoryList"
                    width: parent.width
                    model: panel.dataService ? panel.dataService.filteredCategories : null
                    buttonName: "categoryToggle_"
                    isOn: function(text) {
                        return panel.allSelected(function(row) { return panel.dataService.resourceHasCategory(row, text) })
                    }
                    revision: panel.revision
                    onToggled: panel.setCategory(text, on)
                }
            }

            Loader {
                width: parent.width
                active: panel.afterCategories !== null
                visible: active && item !== null && item.wanted !== false
                sourceComponent: panel.afterCategories
            }

            DetailsSection {
                objectName: "tagSection"
                title: "Tags"
                EditBox {
                    objectName: "tagEdit"
                    width: parent.width
                    placeholderText: "Add a new tag..."
                    onAccepted: {
                        panel.addTag(text)
                        text = ""
                    }
                }
                ToggleList {
                    objectName: "tagList"
                    width: parent.width
                    model: panel.dataService ? panel.dataService.tags : null
                    buttonName: "tagToggle_"
                    isOn: function(text) {
                        return panel.allSelected(function(row) { return panel.dataService.resourceHasTag(row, text) })
                    }
                    revision: panel.revision
                    onToggled: panel.setTag(text, on)
                }
            }

            Loader {
                width: parent.width
                active: panel.afterTags !== null
                visible: active && item !== null && item.wanted !== false
                sourceComponent: panel.afterTags
            }
        }
    }
}
