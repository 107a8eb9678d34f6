#pragma once

#include <QString>

// Where the maker's server, search page and home page are: keys of section main of settings.ini,
// so that an installation or a test can point them elsewhere. The defaults lie on the reserved
// .example domain.
namespace ModServer {

// The web server without a trailing "/", such as "http://www.quordane.example"; the upload and
// the version pages append their paths to it.
QString WebServer();
// The search page; the query "?q=..." is appended to it.
QString SearchPage();
// The home page.
QString HomePage();
// The maker's pages on the two social networks the logo links open.
QString FacebookPage();
QString TwitterPage();
// The address the user may send new_hardware.txt to when its upload fails.
QString SupportEmail();

}
