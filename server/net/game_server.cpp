#include "game_server.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "file_limit.h"
#include "listener.h"
#include "log.h"
#include "record_file.h"
#include "session.h"
#include "web_server.h"

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

std::string listenProblem(const ServerConfig& config, const error_code& error) {
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
    : config_(std::move(config)),
      admission_({.total = 1, .perAddress = config_.maxPerAddress, .silentAfter = config_.silentAfter}),
      bots_(loop_, config_.botThreads), lobby_(loop_, config_, bots_, admission_), acceptor_(loop_),
      incoming_(acceptor_, [this](asio::ip::tcp::socket socket) { takeConnection(std::move(socket)); }),
      signals_(loop_), shutdownGrace_(loop_) {
    if (!config_.logDir.empty())
        if (const auto problem = recordFolderProblem(config_.logDir)) throw StartError(*problem);
    sizeConnectionBound();
    error_code error;
    const auto address = asio::ip::make_address(config_.bindAddress, error);
    if (error) throw ListenError("'" + config_.bindAddress + "' is not an IP address (--bind)");
    error = listenOn(acceptor_, {address, config_.port});
    if (error) throw ListenError(listenProblem(config_, error));
    port_ = acceptor_.local_endpoint().port();
    if (config_.webPort) web_ = std::make_unique<WebServer>(loop_, config_, lobby_, connections_);
    incoming_.start();
}

GameServer::~GameServer() {
    connections_.forgetWhenAllGone();   // sessions still held end with the loop itself
    bots_.stop();
}

unsigned short GameServer::webPort() const { return web_ ? web_->port() : 0; }

void GameServer::sizeConnectionBound() {
    const auto files = raiseFileLimit();
    if (files && files->now != files->before)
        logInfo("open-file limit raised from ", files->before, " to ", files->now);
    else if (files)
        logInfo("open-file limit ", files->now);
    const bool recording = !config_.logDir.empty();
    if (config_.maxConnections > 0) {
        if (files && config_.maxConnections > connectionBoundFor(files->now, recording))
            logWarn("--max-connections ", config_.maxConnections, " is more than ", files->now,
                    " open files hold; connections beyond that fail to be accepted");
    } else {
        config_.maxConnections =
            files ? connectionBoundFor(files->now, recording) : kConnectionBoundWithoutFileLimit;
    }
    admission_.setTotal(config_.maxConnections);
    logInfo("up to ", config_.maxConnections, " connections at once",
            config_.maxPerAddress > 0 ? ", " + std::to_string(config_.maxPerAddress) + " from one address" : "");
}

void GameServer::takeConnection(asio::ip::tcp::socket socket) {
    auto ticket = connections_.admit(socket);
    if (!ticket) return;
    auto session = std::make_shared<Session>(std::move(socket), lobby_, config_);
    std::weak_ptr<Session> weak = session;
    ticket->onShutdown([weak] {
        if (auto live = weak.lock()) live->close();
    });
    ticket->onLetGo([weak] {
        if (auto silent = weak.lock()) silent->letGo("silent too long; its slot went to a newcomer");
    });
    session->start(std::move(ticket));
}

void GameServer::run() {
    logInfo("listening on ", config_.bindAddress, ":", port_);
    if (web_) logInfo("web table at http://", config_.bindAddress, ":", web_->port(), "/");
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
    signals_.async_wait([this](error_code error, int signal) {
        if (error) return;
        logInfo("signal ", signal, ": stopping");
        stop();
    });
}

void GameServer::stop() {
    asio::post(loop_, [this] { shutDown(); });
}

namespace {
// Long enough to send a table's last blocks, short enough for a service
// manager's stop.
constexpr Millis kShutdownGrace{2000};
}  // namespace

void GameServer::shutDown() {
    if (!acceptor_.is_open()) return;
    error_code ignored;
    acceptor_.close(ignored);
    incoming_.stop();
    if (web_) web_->stop();
    signals_.cancel();
    // The clients are told nothing that did not happen: no result for an
    // unfinished game. They get the whole blocks already queued, then the
    // connection closes.
    lobby_.closeAll();
    connections_.closeAll([this] { loop_.stop(); });
    if (connections_.open() == 0) return;
    shutdownGrace_.expires_after(kShutdownGrace);
    shutdownGrace_.async_wait([this](error_code error) {
        if (error) return;
        logWarn(connections_.open(), " connections still open at shutdown; closing them");
        loop_.stop();
    });
}

}  // namespace lerva
