#pragma once
// The maker's hosts and every address on them. The hosts are fixed when the
// program is built (the CMake cache variables BREEZELING_PROXY_HOST,
// BREEZELING_WEB_HOST and BREEZELING_AUTHOR_URL); nothing reads them from a
// file or the environment at run time. This is the one place in the code
// that knows them and the one place that puts an address together: code
// that needs an address towards the maker asks for it here by name.
#include <string>

namespace Hosts {

// The weather request for a place, which goes into the query as given:
// the caller has already written it the way the proxy expects it.
std::string WeatherURL(const std::string& location);
// The proxy's own base address. No request of the program asks for it; a
// reply from it has a failure text of its own.
std::string ProxyBaseURL();
// The update-information file on the maker's web site.
std::string UpdateFileURL();
// The root of the maker's web site.
std::string MakersSiteURL();
// The page of one of the maker's other products, by its path name
// ("funcrate", "sagewick").
std::string ProductURL(const std::string& name);
// The author's web page.
std::string AuthorURL();

// Points the proxy and web hosts ("host" or "host:port") somewhere else
// until ResetForTesting, so that tests can talk to a server of their own
// on a free port.
void SetForTesting(const std::string& proxyHost, const std::string& webHost);
// Back to the hosts the program was built with.
void ResetForTesting();

}  // namespace Hosts
