import QtQuick 2.15

// The favourite star: a 19 × 19 five-pointed star in fillColor.
Canvas {
    id: star
    property color fillColor: "black"
    width: 19
    height: 19
    onFillColorChanged: requestPaint()
    onPaint: {
        var points = [[9, 2], [12, 6], [16, 7], [13, 10], [13, 15], [9, 13], [5, 15], [5, 10], [2, 7], [6, 6]]
        var ctx = getContext("2d")
        ctx.reset()
        ctx.beginPath()
        ctx.moveTo(points[0][0], points[0][1])
        for (var i = 1; i < points.length; ++i)
            ctx.lineTo(points[i][0], points[i][1])
        ctx.closePath()
        ctx.fillStyle = fillColor
        ctx.fill()
    }
}
