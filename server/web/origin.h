// Which pages may open a player's WebSocket. A browser sends the page's
// origin with the upgrade; without this check any site a person visits
// could sit them at a table in their name. Programs other than browsers
// send no origin and are let in: they can open a TCP connection anyway.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lerva {

// True when `origin` (the Origin header, empty if absent) is the page's own
// (its host and port are `host`, the Host header) or one of `allowed`
// (each "scheme://host[:port]", compared without case).
bool originAllowed(std::string_view origin, std::string_view host, const std::vector<std::string>& allowed);

}  // namespace lerva
