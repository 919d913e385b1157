// The review of recorded games on the web port: every path under /review
// goes to one ReviewService over the server's --log-dir, with its pages from
// the files built into the server (so an installed server needs no source
// tree). A server without --log-dir answers there that it keeps no records.
#pragma once

#include "config.h"
#include "routes.h"

namespace lerva {

void addReviewRoutes(Routes& routes, const ServerConfig& config);

}  // namespace lerva
