#include "game_server.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "file_limit.h"
#include "log.h"
#include "record_file.h"
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
    : config_(std::move(config)),
      admission_({.total = 1, .perAddress = config_.maxPerAddress, .silentAfter = config_.silentAfter}),
      bots_(loop_, config_.botThreads), lobby_(loop_, config_, bots_, admission_), acceptor_(loop_),
      incoming_(acceptor_, [this](asio::ip::tcp::socket socket) { takeConnection(std::move(socket)); }),
      signals_(loop_), shutdownGrace_(loop_) {
    if (!config_.logDir.empty())
        if (const auto problem = recordFolderProblem(config_.logDir)) throw StartError(*problem);
    sizeConnectionBound();
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
    incoming_.start();
}

GameServer::~GameServer() {
    counts_->onLastGone = nullptr;   // sessions still held end with the loop itself
    bots_.stop();
}

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
    auto session = std::make_shared<Session>(std::move(socket), lobby_, config_);
    std::weak_ptr<Session> weak = session;
    auto slot = admission_.admit(session->address(), [weak] {
        if (auto silent = weak.lock()) silent->letGo("silent too long; its slot went to a newcomer");
    });
    if (!slot) {
        refuse(session->address());
        return;   // the session, never started, closes its socket
    }
    counts_->live.insert(session.get());
    session->onEnded([counts = counts_, ended = session.get()] {
        counts->live.erase(ended);
        if (counts->refusedInBurst > 0) {
            logInfo("a slot is free again; ", counts->refusedInBurst, " connections were refused");
            counts->refusedInBurst = 0;
        }
        if (counts->live.empty() && counts->onLastGone) counts->onLastGone();
    });
    session->start(std::move(slot));
}

void GameServer::refuse(const std::string& address) {
    // Once per burst: a crowd at the door must not flood the log.
    if (counts_->refusedInBurst++ > 0) return;
    if (config_.maxPerAddress > 0 && admission_.takenBy(address) >= config_.maxPerAddress)
        logWarn(address, " holds ", config_.maxPerAddress, " connections, the most one address may; refusing more");
    else
        logWarn("connection limit of ", config_.maxConnections, " reached; refusing new connections");
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
    asio::post(loop_, [this] { shutDown(); });
}

namespace {
// Long enough to send a table's last blocks, short enough for a service
// manager's stop.
constexpr Millis kShutdownGrace{2000};
}  // namespace

void GameServer::shutDown() {
    if (!acceptor_.is_open()) return;
    std::error_code ignored;
    acceptor_.close(ignored);
    incoming_.stop();
    signals_.cancel();
    // The clients are told nothing that did not happen: no result for an
    // unfinished game. They get the whole blocks already queued, then the
    // connection closes.
    lobby_.closeAll();
    const auto live = counts_->live;   // closing may end a session at once
    for (Session* session : live) session->close();
    counts_->onLastGone = [this] { loop_.stop(); };
    if (counts_->live.empty()) {
        loop_.stop();
        return;
    }
    shutdownGrace_.expires_after(kShutdownGrace);
    shutdownGrace_.async_wait([this](std::error_code error) {
        if (error) return;
        logWarn(counts_->live.size(), " connections still open at shutdown; closing them");
        loop_.stop();
    });
}

}  // namespace lerva
