#pragma once

class QWebEngineProfile;

// Qt WebEngine runs Chromium inside the program, and Chromium ends the whole
// process when its helper program or its resources are missing. Everything
// that starts it goes through here first.
namespace WebEngineStart {

// UI thread only. Makes the OpenGL context the pages draw through,
// registers the URL schemes the notifier's pages use and, for root only,
// turns Chromium's sandbox off (Chromium refuses to run as root with it). The engine's messages stay off the terminal
// unless the category skinrecorder.webengine logs debug messages. Must run before the first web view is made; later
// calls only repeat the answer. Returns whether the web engine can start in this process; when it cannot, no web view
// may be made.
bool Prepare();

// The profile every pane's page uses: kept in memory only, with the
// program's own page scheme installed. Made on the first call, after a
// Prepare() that returned true; lives as long as the application.
QWebEngineProfile* Profile();

} // namespace WebEngineStart
