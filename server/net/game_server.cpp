#include "game_server.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "log.h"
#include "session.h"

namespace lerva {

namespace {

#ifdef _WIN32
// Windows needs no privilege for low ports; a refusal there means the port
// is reserved by the system or held exclusively by another program.
std::string noPermissionProblem(const std::string& where) {
    return "no permission to listen on " + where + ": the port is reserved or held by " +
           "another program; choose another port with --port";
}
#else
// The path of this program, for a command a person can paste.
std::string ownPath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("<path of lerva-server>") : path.string();
}

std::string noPermissionProblem(const std::string& where) {
    return "no permission to listen on " + where + ": ports below 1024 need root or the " +
           "capability (sudo setcap cap_net_bind_service=+ep " + ownPath() + "), " +
           "or choose a port of 1024 or more with --port";
}
#endif

std::string listenProblem(const ServerConfig& config, const std::error_code& error) {
    const std::string where = config.bindAddress + ":" + std::to_string(config.port);
    if (error == asio::error::address_in_use)
        return "port " + std::to_string(config.port) + " is in use (another server running?); " +
               "stop it or choose another port with --port";
    if (error == asio::error::access_denied) return noPermissionProblem(where);
    if (error == std::errc::address_not_available)
        return "cannot listen on " + where + ": no such address on this machine (--bind)";
    return "cannot listen on " + where + ": " + error.message();
}

}  // namespace

GameServer::GameServer(ServerConfig config)
    : config_(std::move(config)), bots_(loop_, config_.botThreads),
      lobby_(loop_, config_, bots_), acceptor_(loop_), signals_(loop_) {
    std::error_code error;
    const auto address = asio::ip::make_address(config_.bindAddress, error);
    if (error) throw ListenError("'" + config_.bindAddress + "' is not an IP address (--bind)");
    const asio::ip::tcp::endpoint endpoint(address, config_.port);
    acceptor_.open(endpoint.protocol(), error);
#ifndef _WIN32
    // Lets a restarted server listen while old connections linger. Windows
    // has no such wait, and there the option would let two servers share a port.
    if (!error) acceptor_.set_option(asio::socket_base::reuse_address(true), error);
#endif
    if (!error) acceptor_.bind(endpoint, error);
    if (!error) acceptor_.listen(asio::socket_base::max_listen_connections, error);
    if (error) throw ListenError(listenProblem(config_, error));
    port_ = acceptor_.local_endpoint().port();
    accept();
}

GameServer::~GameServer() {
    bots_.stop();
}

void GameServer::accept() {
    acceptor_.async_accept([this](std::error_code error, asio::ip::tcp::socket socket) {
        if (error == asio::error::operation_aborted || !acceptor_.is_open()) return;
        if (!error) {
            if (*connections_ >= config_.maxConnections) {
                logWarn("connection limit of ", config_.maxConnections, " reached; refused one");
                std::error_code ignored;
                socket.close(ignored);
            } else {
                ++*connections_;
                auto counter = connections_;
                std::make_shared<Session>(std::move(socket), lobby_, config_.nameTimeout,
                                          [counter] { --*counter; })
                    ->start();
            }
        } else {
            logWarn("accept failed: ", error.message());
        }
        accept();
    });
}

void GameServer::run() {
    logInfo("listening on ", config_.bindAddress, ":", port_);
    // A fault in one handler must not take every table down with it.
    for (;;) {
        try {
            loop_.run();
            return;
        } catch (const std::exception& error) {
            logError("unexpected error, carrying on: ", error.what());
        }
    }
}

void GameServer::stopOnSignals() {
    signals_.add(SIGINT);
    signals_.add(SIGTERM);
    signals_.async_wait([this](std::error_code error, int signal) {
        if (error) return;
        logInfo("signal ", signal, ": stopping");
        stop();
    });
}

void GameServer::stop() {
    asio::post(loop_, [this] {
        std::error_code ignored;
        acceptor_.close(ignored);
        signals_.cancel();
        lobby_.closeAll();
        loop_.stop();
    });
}

}  // namespace lerva
