// The WebSocket driver of lerva-load: the same players as over TCP, each
// block one binary message on the server's /play, with Boost.Beast's client
// on an Asio loop of its own.
#pragma once

#include "load_run.h"

namespace lerva::load {

// Plays options.players() to ws://127.0.0.1:options.port/play and prints
// the report; returns the run's exit status.
int runWebSocketLoad(const Options& options);

}  // namespace lerva::load
