#pragma once
// The maker's hosts. They are fixed when the program is built (the CMake
// cache variables BREEZELING_PROXY_HOST, BREEZELING_WEB_HOST and
// BREEZELING_AUTHOR_URL); nothing reads them from a file or the
// environment at run time. This is the one place in the code that knows
// them: every URL towards the maker is built from these functions.
#include <string>

namespace Hosts {

// "host" or "host:port" of the weather proxy, without scheme or path.
std::string ProxyHost();
// "host" or "host:port" of the maker's web site (the update file lives here).
std::string WebHost();
// The full address of the author's web page.
std::string AuthorURL();

// Points the proxy and web hosts somewhere else until ResetForTesting, so
// that tests can talk to a server of their own on a free port.
void SetForTesting(const std::string& proxyHost, const std::string& webHost);
// Back to the hosts the program was built with.
void ResetForTesting();

}  // namespace Hosts
