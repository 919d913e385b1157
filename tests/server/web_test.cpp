// The web port as a hostile or careless peer meets it: what HTTP answers,
// which pages may open a player's WebSocket, and how a message that is not
// one block ends the connection. A whole game over it is the browser test's.
#include <gtest/gtest.h>

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include "origin.h"
#include "protocol.h"
#include "test_server.h"

namespace lerva::test {
namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

// One request to the web port; the error says how the server ended it.
beast::error_code exchange(asio::io_context& io, unsigned short port, const http::request<http::empty_body>& request,
                           http::response<http::string_body>& response) {
    beast::tcp_stream stream(io);
    stream.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), port));
    beast::error_code error;
    http::write(stream, request, error);
    beast::flat_buffer buffer;
    if (!error) http::read(stream, buffer, response, error);
    return error;
}

TEST(WebOrigin, SameOriginOrListedOrNoneMayPlay) {
    const std::vector<std::string> listed = {"https://cards.example"};
    const struct { const char* origin; const char* host; bool allowed; } cases[] = {
        {"", "127.0.0.1:8113", true},                        // not a browser
        {"http://127.0.0.1:8113", "127.0.0.1:8113", true},
        {"https://Lerva.Example", "lerva.example", true},     // behind a TLS proxy
        {"http://127.0.0.1:8114", "127.0.0.1:8113", false},   // another port is another origin
        {"http://evil.example", "127.0.0.1:8113", false},
        {"null", "127.0.0.1:8113", false},                    // a sandboxed or file page
        {"https://cards.example", "127.0.0.1:8113", true},
        {"https://cards.example.evil", "127.0.0.1:8113", false},
    };
    for (const auto& c : cases) EXPECT_EQ(originAllowed(c.origin, c.host, listed), c.allowed) << c.origin;
}

class WebPort : public ::testing::Test {
protected:
    static ServerConfig webConfig() {
        ServerConfig config = testConfig();
        config.webPort = 0;
        config.botsPerTable = 3;
        return config;
    }
    TestServer server{webConfig()};
    asio::io_context io;

    http::response<http::string_body> get(const std::string& target, http::verb verb = http::verb::get) {
        http::request<http::empty_body> request{verb, target, 11};
        request.set(http::field::host, "127.0.0.1");
        http::response<http::string_body> response;
        const auto error = exchange(io, server.webPort(), request, response);
        EXPECT_FALSE(error) << target << ": " << error.message();
        return response;
    }

    // A player's WebSocket, upgraded from a page of `origin`.
    std::unique_ptr<websocket::stream<tcp::socket>> play(const std::string& origin, beast::error_code& error) {
        auto ws = std::make_unique<websocket::stream<tcp::socket>>(io);
        ws->next_layer().connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), server.webPort()));
        ws->set_option(websocket::stream_base::decorator(
            [origin](websocket::request_type& request) { request.set(http::field::origin, origin); }));
        const std::string host = "127.0.0.1:" + std::to_string(server.webPort());
        ws->handshake(host, "/play", error);
        return ws;
    }
};

TEST_F(WebPort, ServesThePageWithItsTypesAndPolicy) {
    const struct { const char* target; int status; const char* type; } cases[] = {
        {"/", 200, "text/html; charset=utf-8"},
        {"/js/main.js?pause=0", 200, "text/javascript; charset=utf-8"},
        {"/img/94.png", 200, "image/png"},
        {"/settings.json", 200, "application/json"},
        {"/img/95.png", 404, "text/plain; charset=utf-8"},
        {"/../CMakeLists.txt", 400, "text/plain; charset=utf-8"},
    };
    for (const auto& c : cases) {
        const auto response = get(c.target);
        EXPECT_EQ(response.result_int(), c.status) << c.target;
        EXPECT_EQ(response[http::field::content_type], c.type) << c.target;
        EXPECT_NE(response["Content-Security-Policy"].find("default-src 'none'"), std::string::npos) << c.target;
    }
    EXPECT_EQ(get("/img/94.png").body().substr(1, 3), "PNG");
    EXPECT_EQ(get("/", http::verb::post).result_int(), 405);
}

TEST_F(WebPort, ReviewWithoutRecordsSaysSoRatherThanNotFound) {
    for (const char* target : {"/review", "/review/api/games", "/review/files/game.js"}) {
        const auto response = get(target);
        EXPECT_EQ(response.result_int(), 404) << target;
        EXPECT_NE(response.body().find("keeps no game records"), std::string::npos) << target << ": " << response.body();
    }
}

TEST_F(WebPort, EndsARequestWithOversizedHeaders) {
    http::request<http::empty_body> request{http::verb::get, "/", 11};
    request.set(http::field::host, "127.0.0.1");
    request.set("X-Padding", std::string(9000, 'x'));
    http::response<http::string_body> response;
    EXPECT_TRUE(exchange(io, server.webPort(), request, response)) << "answered with " << response.result_int();
}

TEST_F(WebPort, RefusesAPageOfAnotherOrigin) {
    beast::error_code error;
    play("http://evil.example", error);
    EXPECT_EQ(error, websocket::error::upgrade_declined);
    play("http://127.0.0.1:" + std::to_string(server.webPort()), error);
    EXPECT_FALSE(error) << error.message();
}

TEST_F(WebPort, EndsAConnectionWhoseMessageIsNotOneBlock) {
    const struct { const char* what; std::size_t size; bool text; websocket::close_code code; } cases[] = {
        {"text", kBlockSize, true, websocket::close_code::unknown_data},
        {"short", kBlockSize - 1, false, websocket::close_code::policy_error},
        {"long", kBlockSize + 1, false, websocket::close_code::too_big},
    };
    for (const auto& c : cases) {
        beast::error_code error;
        auto ws = play("", error);
        ASSERT_FALSE(error) << error.message();
        ws->binary(true);
        ws->write(asio::buffer(userNameBlock("Mari")));
        ws->text(c.text);
        ws->binary(!c.text);
        ws->write(asio::buffer(std::string(c.size, 'j')));
        beast::flat_buffer buffer;
        ws->read(buffer, error);
        EXPECT_EQ(error, websocket::error::closed) << c.what << ": " << error.message();
        EXPECT_EQ(ws->reason().code, c.code) << c.what;
    }
}

TEST_F(WebPort, SeatsABrowserPlayerAtATable) {
    beast::error_code error;
    auto ws = play("", error);
    ASSERT_FALSE(error) << error.message();
    ws->binary(true);
    ws->write(asio::buffer(userNameBlock("Mari")));
    ws->write(asio::buffer(joinBlock()));
    // Three names, then the deal: each one message of exactly one block.
    int names = 0;
    for (;;) {
        beast::flat_buffer buffer;
        ws->read(buffer);
        ASSERT_EQ(buffer.size(), kBlockSize);
        Block block;
        std::memcpy(block.data(), buffer.cdata().data(), kBlockSize);
        if (classify(0, block) == ServerMessage::Deal) break;
        ++names;
    }
    EXPECT_EQ(names, 3);
}

TEST(WebPortBound, CountsAgainstTheSameConnectionBoundAsTcp) {
    ServerConfig config = testConfig();
    config.webPort = 0;
    config.maxConnections = 1;
    TestServer server(config);
    asio::io_context io;
    tcp::socket game(io);
    game.connect({asio::ip::make_address("127.0.0.1"), server.port()});
    // The game port's connection holds the only place: the web port turns the next away.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    http::response<http::string_body> response;
    EXPECT_TRUE(exchange(io, server.webPort(), {http::verb::get, "/", 11}, response))
        << "answered with " << response.result_int();
}

}  // namespace
}  // namespace lerva::test
