// lerva-tcp-player PORT NAME: a TCP player for the mixed-table browser test.
// It plays a whole game the way the Windows client's rules allow (the
// server tests' scripted client), and says how it went: exit 0 when the
// game ended and every server message made sense.
#include <cstdio>
#include <string>

#include "scripted_client.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lerva-tcp-player PORT NAME\n");
        return 2;
    }
    lerva::test::ScriptedClient player(static_cast<unsigned short>(std::stoi(argv[1])), argv[2]);
    player.join();
    // The person in the browser thinks; the table waits for them.
    const bool ended = player.playGame(std::chrono::seconds(120));
    for (const auto& problem : player.problems()) std::fprintf(stderr, "%s: %s\n", argv[2], problem.c_str());
    std::printf("%s: %zu deals, names seen:", argv[2], player.deals().size());
    for (const auto& name : player.deals().front().names) std::printf(" %s", name.c_str());
    std::printf("\n");
    return ended && player.problems().empty() ? 0 : 1;
}
