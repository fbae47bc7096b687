#pragma once
// The browser plugin's one profile of the process.

class QWebEngineProfile;

namespace platform {

// Off the record (nothing is kept on disk), and every download is refused.
QWebEngineProfile& WebProfile();

}  // namespace platform
