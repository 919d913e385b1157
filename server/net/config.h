// How a game server runs: what the command line sets, with the defaults a
// LAN game wants. Tests set the delays and time limits to zero or small.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bot.h"

namespace lerva {

using Millis = std::chrono::milliseconds;

struct ServerConfig {
    std::string bindAddress = "0.0.0.0";
    unsigned short port = 113;
    int botsPerTable = 0;                      // bots seated at each new table at once
    std::optional<Millis> fillAfter;           // then free seats get bots
    BotLevel botLevel = BotLevel::Strong;
    std::optional<std::uint64_t> seed;         // deterministic deals
    std::string logDir;                        // one JSON-lines file per game; empty = none
    int maxConnections = 0;                    // 0: as many as the open-file limit allows
    // Connections (and tables waiting for a player who left) from one
    // address; 0 = no cap. Enough for a household or a classroom behind one
    // router, far too few to fill the server.
    int maxPerAddress = 24;
    // When the server is full, a newcomer takes the slot of the joined
    // connection that has sent nothing for this long.
    Millis silentAfter{120'000};
    std::optional<Millis> turnTimeout = Millis(60'000);   // then a bot plays a human's turn
    Millis finalWriteDeadline{10'000};         // a closing connection's last blocks
    Millis nameTimeout{30'000};                // to send the name and "join"
    Millis botDelay{700};                      // a bot's move is shown no sooner
    // The client holds a full trick on the table this long, and waits this
    // long after the trump is named, before it reads on. Bots wait for it
    // too (unless botDelay is 0), so that their cards do not arrive in a heap.
    Millis trickPause{3000};
    Millis trumpPause{1500};
    Millis gameOverLinger{60'000};             // a finished table waits for its clients to leave
    Millis abandonAfter{60'000};               // a table whose players all left waits for them
    int botThreads = 2;                        // worker threads for bot thinking
    int maxRefusals = 3;                       // refused blocks in a row before a bot plays
    // The web table: the page over HTTP and its players over a WebSocket.
    std::optional<unsigned short> webPort;     // none: no web port; 0 picks a free one
    std::vector<std::string> webOrigins;       // pages of other origins allowed to play
};

}  // namespace lerva
