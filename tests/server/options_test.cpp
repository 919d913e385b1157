#include <gtest/gtest.h>

#include "options.h"

namespace lerva {
namespace {

std::optional<Options> parse(std::vector<const char*> args, std::string& error) {
    args.insert(args.begin(), "lerva-server");
    return parseOptions(static_cast<int>(args.size()), args.data(), error);
}

TEST(Options, DefaultsAndValues) {
    std::string error;
    const auto defaults = parse({}, error);
    ASSERT_TRUE(defaults) << error;
    EXPECT_EQ(defaults->server.port, 113);
    EXPECT_EQ(defaults->server.bindAddress, "0.0.0.0");
    EXPECT_EQ(defaults->server.botsPerTable, 0);
    EXPECT_FALSE(defaults->server.fillAfter);
    EXPECT_EQ(defaults->server.turnTimeout, Millis(60'000)) << "a silent player must not stall a table";
    EXPECT_GT(defaults->server.maxPerAddress, 0);
    EXPECT_FALSE(defaults->server.seed);

    const auto set = parse({"--port", "4000", "--bots", "3", "--fill-after", "2.5", "--bot-level", "random",
                            "--seed=9", "--turn-timeout", "90", "--bind", "127.0.0.1", "--log-dir", "/tmp/x",
                            "--max-connections", "8", "--bot-delay", "0", "--rejoin-wait", "1.5", "--simulate", "100", "--versus",
                            "heuristic", "--duplicate"},
                           error);
    ASSERT_TRUE(set) << error;
    EXPECT_EQ(set->server.port, 4000);
    EXPECT_EQ(set->server.botsPerTable, 3);
    EXPECT_EQ(set->server.fillAfter, Millis(2500));
    EXPECT_EQ(set->server.botLevel, BotLevel::Random);
    EXPECT_EQ(set->server.seed, 9u);
    EXPECT_EQ(set->server.turnTimeout, Millis(90'000));
    EXPECT_EQ(set->server.bindAddress, "127.0.0.1");
    EXPECT_EQ(set->server.logDir, "/tmp/x");
    EXPECT_EQ(set->server.maxConnections, 8);
    EXPECT_EQ(set->server.botDelay, Millis(0));
    EXPECT_EQ(set->server.abandonAfter, Millis(1500));
    EXPECT_EQ(set->simulate, 100);
    EXPECT_EQ(set->versus, BotLevel::Heuristic);
    EXPECT_TRUE(set->duplicate);

    const auto noTimeout = parse({"--turn-timeout", "0"}, error);
    ASSERT_TRUE(noTimeout);
    EXPECT_FALSE(noTimeout->server.turnTimeout) << "0 means never";

    const auto oracle = parse({"--simulate", "10", "--bot-level", "oracle"}, error);
    ASSERT_TRUE(oracle) << "the simulator may seat the oracle: " << error;
    EXPECT_EQ(oracle->server.botLevel, BotLevel::Oracle);
}

TEST(Options, MistakesAreNamed) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--port", "70000"}, "--port"},
        {{"--port"}, "needs a value"},
        {{"--bots", "4"}, "--bots"},
        {{"--bot-level", "clever"}, "--bot-level"},
        {{"--fill-after", "-1"}, "--fill-after"},
        {{"--max-connections", "0"}, "--max-connections"},
        {{"--bot-delay", "9000000000000"}, "0-60000 ms"},
        {{"--bot-delay", "10000000000000"}, "0-60000 ms"},
        {{"--name-timeout", "0"}, "--name-timeout"},
        {{"--turn-timeout", "0.05"}, "--turn-timeout"},
        {{"--max-per-address", "-1"}, "--max-per-address"},
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"--bot-level", "oracle"}, "--simulate only"},
    };
    for (const auto& [args, mention] : cases) {
        std::string error;
        EXPECT_FALSE(parse(args, error)) << mention;
        EXPECT_NE(error.find(mention), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace lerva
