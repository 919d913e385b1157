#include "origin.h"

#include <algorithm>
#include <cctype>

namespace lerva {

namespace {

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// "http://host:port" -> "host:port"; nothing for another scheme. Behind a
// TLS proxy the page is https and the Host header the proxy's.
std::string_view hostOfOrigin(std::string_view origin) {
    for (std::string_view scheme : {"http://", "https://"})
        if (origin.size() > scheme.size() && sameText(origin.substr(0, scheme.size()), scheme))
            return origin.substr(scheme.size());
    return {};
}

}  // namespace

bool originAllowed(std::string_view origin, std::string_view host, const std::vector<std::string>& allowed) {
    if (origin.empty()) return true;
    const std::string_view originHost = hostOfOrigin(origin);
    if (!originHost.empty() && !host.empty() && sameText(originHost, host)) return true;
    return std::any_of(allowed.begin(), allowed.end(), [&](const std::string& page) { return sameText(page, origin); });
}

}  // namespace lerva
