#include "web_server.h"

#include "game_server.h"
#include "http_session.h"
#include "listener.h"
#include "log.h"
#include "review_routes.h"

namespace lerva {

std::string pageSettingsJson(const ServerConfig& config) {
    return "{\"trickPauseMs\": " + std::to_string(config.trickPause.count()) +
           ", \"trumpPauseMs\": " + std::to_string(config.trumpPause.count()) + "}";
}

WebServer::WebServer(asio::io_context& loop, const ServerConfig& config, Lobby& lobby, Connections& connections)
    : connections_(connections), context_{config, lobby, routes_}, acceptor_(loop),
      incoming_(acceptor_, [this](asio::ip::tcp::socket socket) { take(std::move(socket)); }) {
    routes_.add("/settings.json", [settings = pageSettingsJson(config)](std::string_view) {
        return std::optional<Reply>(Reply{200, "application/json", settings});
    });
    addReviewRoutes(routes_, config);   // before the files, which hold the review's pages too
    addEmbeddedFiles(routes_);

    const std::string where = config.bindAddress + ":" + std::to_string(*config.webPort);
    error_code error;
    const auto address = asio::ip::make_address(config.bindAddress, error);
    if (error) throw ListenError("'" + config.bindAddress + "' is not an IP address (--bind)");
    error = listenOn(acceptor_, {address, *config.webPort});
    if (error == asio::error::address_in_use)
        throw ListenError("web port " + std::to_string(*config.webPort) +
                          " is in use; stop what holds it or choose another with --web-port");
    if (error) throw ListenError("cannot listen on " + where + " (--web-port): " + error.message());
    port_ = acceptor_.local_endpoint().port();
    incoming_.start();
}

void WebServer::stop() {
    error_code ignored;
    acceptor_.close(ignored);
    incoming_.stop();
}

void WebServer::take(asio::ip::tcp::socket socket) {
    auto ticket = connections_.admit(socket);
    if (!ticket) return;
    std::make_shared<HttpSession>(std::move(socket), context_, std::move(ticket))->start();
}

}  // namespace lerva
