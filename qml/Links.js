.pragma library
// The maker's web pages that the interface opens in the system browser.
var support = "https://kivara.app/support"
var help = "https://kivara.app/help"
var releaseNotes = "https://kivara.app/release-notes"
