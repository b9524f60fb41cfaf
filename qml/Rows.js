.pragma library
// Rows of a catalogue's view and the roles the screens read by number.
//
// Selections are kept as rows of the view, and rows move whenever the view sorts or
// filters again (even in the middle of an edit of several resources: a new brush type
// re-sorts a table sorted by type). A resource's name is unique within its catalogue,
// so these helpers follow a resource by name from the row it was last seen at.

// Role numbers by kind word: brushes and alphas have tables of their own.
var brushRoles = { name: 258, path: 259, favorite: 260, brushTypeName: 262, categories: 263, description: 264,
                   kivCategory: 265, tags: 266, iconPath: 267 }
var alphaRoles = { name: 257, path: 258, favorite: 259, categories: 260, description: 261, dimensions: 265,
                   tags: 266, ignore: 267, iconPath: 268 }
var genericRoles = { name: 257, path: 258, favorite: 259, categories: 260, description: 261, tags: 262,
                     iconPath: 263 }

function roles(kindWord) {
    return kindWord === "brush" ? brushRoles : kindWord === "alpha" ? alphaRoles : genericRoles
}

function value(model, row, role) {
    return model.data(model.index(row, 0), role)
}

// The row that shows name now: the hint when it still does, then its neighbourhood
// (an edit usually moves a row a little), then the whole view. -1 when filtered out.
function locate(model, role, name, hint) {
    var count = model.rowCount()
    if (count === 0 || name === undefined)
        return -1
    for (var step = 0; step <= 16; ++step) {
        var below = hint - step
        var above = hint + step
        if (below >= 0 && below < count && value(model, below, role) === name)
            return below
        if (step > 0 && above >= 0 && above < count && value(model, above, role) === name)
            return above
    }
    var found = model.match(model.index(0, 0), role, name, 1, Qt.MatchExactly | Qt.MatchCaseSensitive)
    return found.length > 0 ? found[0].row : -1
}

// The rows of many names at once: one pass over the view instead of a search each.
function locateAll(model, role, keys, hints) {
    var result = []
    if (keys.length <= 8) {
        for (var i = 0; i < keys.length; ++i)
            result.push(locate(model, role, keys[i], hints[i]))
        return result
    }
    var rows = {}
    var count = model.rowCount()
    for (var row = 0; row < count; ++row)
        rows[value(model, row, role)] = row
    for (var j = 0; j < keys.length; ++j)
        result.push(rows.hasOwnProperty(keys[j]) ? rows[keys[j]] : -1)
    return result
}

function names(model, rows, role) {
    var result = []
    for (var i = 0; i < rows.length; ++i)
        result.push(value(model, rows[i], role))
    return result
}

// Calls action(row) for each resource shown at rows when it was called, at the row it
// has at that moment (an earlier action may have moved it). Answers the rows the
// resources have afterwards, without those that left the view.
function forEach(model, role, rows, action) {
    var keys = names(model, rows, role)
    var hints = rows.slice()
    for (var i = 0; i < keys.length; ++i) {
        var row = locate(model, role, keys[i], hints[i])
        if (row >= 0) {
            action(row)
            hints[i] = row
        }
    }
    var after = locateAll(model, role, keys, hints).filter(function(row) { return row >= 0 })
    return after
}

// Whether test(row) holds for every row (false for none).
function all(rows, test) {
    if (rows.length === 0)
        return false
    for (var i = 0; i < rows.length; ++i) {
        if (!test(rows[i]))
            return false
    }
    return true
}
