#include "core/Hosts.h"

#include <optional>

#ifndef BREEZELING_PROXY_HOST
#error "BREEZELING_PROXY_HOST must be defined by the build"
#endif
#ifndef BREEZELING_WEB_HOST
#error "BREEZELING_WEB_HOST must be defined by the build"
#endif
#ifndef BREEZELING_AUTHOR_URL
#error "BREEZELING_AUTHOR_URL must be defined by the build"
#endif

namespace Hosts {

namespace {

std::optional<std::string> proxyOverride;
std::optional<std::string> webOverride;

// "host" or "host:port", without scheme or path.
std::string ProxyHost() { return proxyOverride ? *proxyOverride : std::string(BREEZELING_PROXY_HOST); }
std::string WebHost() { return webOverride ? *webOverride : std::string(BREEZELING_WEB_HOST); }

// The maker serves plain HTTP only.
std::string Address(const std::string& host, const std::string& path) { return "http://" + host + path; }

}  // namespace

std::string WeatherURL(const std::string& location) {
  return Address(ProxyHost(), "/breezeling/weather?location=" + location);
}

std::string ProxyBaseURL() { return Address(ProxyHost(), "/breezeling/"); }

std::string UpdateFileURL() { return Address(WebHost(), "/updates/breezeling-remote.txt"); }

std::string MakersSiteURL() { return Address(WebHost(), ""); }

std::string ProductURL(const std::string& name) { return Address(WebHost(), "/" + name); }

std::string AuthorURL() { return BREEZELING_AUTHOR_URL; }

void SetForTesting(const std::string& proxyHost, const std::string& webHost) {
  proxyOverride = proxyHost;
  webOverride = webHost;
}

void ResetForTesting() {
  proxyOverride.reset();
  webOverride.reset();
}

}  // namespace Hosts
