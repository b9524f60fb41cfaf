.pragma library
// The maker's web pages that the interface opens in the system browser.
var support = "https://kivara.app/support"
var help = "https://kivara.app/help"
var releaseNotes = "https://kivara.app/release-notes"
// The store's pages for a forgotten login and for signing up.
var storePasswordReset = "https://kivara.app/my-account/lost-password"
var storePricing = "https://kivara.app/pricing"
