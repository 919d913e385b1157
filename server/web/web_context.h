// What every web connection needs from the server it belongs to.
#pragma once

#include "config.h"
#include "routes.h"

namespace lerva {

class Lobby;

struct WebContext {
    const ServerConfig& config;
    Lobby& lobby;
    const Routes& routes;
};

}  // namespace lerva
