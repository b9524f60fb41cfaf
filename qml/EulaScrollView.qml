import QtQuick 2.15
import "Themes"
import "Eula.js" as Eula

// The licence agreement, read-only, in a scrolling box (set-up screen, about window).
ScrollableTextBox {
    text: Eula.html
    textFont: Style.genericText12
    color: Style.genericTextColor
    textPadding: 10
}
